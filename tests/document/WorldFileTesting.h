#pragma once

// Worlds to and from text through Serialize and memory archives, temporary folders and files.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ObjectTestKit.h"
#include "document/World.h"
#include "framework/CArchive.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawLine.h"
#include "shapes/DrawRectangle.h"
#include "support/TestFiles.h"

namespace velk_test {

inline std::string SaveToText(World& world) {
    std::string text;
    CArchive archive = CArchive::ToMemory(text);
    world.Serialize(archive);
    archive.Close();
    return text;
}

inline void LoadFromText(World& world, std::string text) {
    CArchive archive = CArchive::FromMemory(std::move(text));
    world.Serialize(archive);
    archive.Close();
}

inline std::string DataFile(const std::string& name) {
    return ReadFileBytes(std::filesystem::path(VELK_TEST_DATA_DIR) / name);
}

inline DrawPoint Coloured(std::int32_t x, std::int32_t y, std::int32_t radius, int r, int g,
                          int b) {
    DrawPoint point(x, y, radius);
    Color colour;
    colour.SetRGB(r, g, b);
    point.SetColor(colour);
    return point;
}

template <typename Shape>
Shape* InColour(Shape* shape, int r, int g, int b) {
    Color colour;
    colour.SetRGB(r, g, b);
    shape->SetColor(colour);
    return shape;
}

/// The 800 by 600 world of tests/data/worlds/example.world, made in code.
inline void BuildExampleWorld(World& world) {
    world.SetWorldSize(800, 600);

    auto* first = new TestDraggable;
    first->SetPosition(DrawPoint(120, 80, 0));
    first->AddShape(InColour(new DrawPoint(0, 0, 15), 255, 0, 0));
    auto* line = InColour(new DrawLine, 0, 0, 255);
    line->SetWidth(3);
    line->SetStart(DrawPoint(-20, 0, 0));
    line->SetEnd(DrawPoint(20, 0, 0));
    first->AddShape(line);
    world.AddObject(first);

    auto* second = new TestDraggable;
    second->SetPosition(DrawPoint(300, 200, 0));
    auto* rectangle = InColour(new DrawRectangle, 0, 128, 0);
    rectangle->SetFilled(true);
    rectangle->SetCorners(DrawPoint(-30, -20, 0), DrawPoint(30, 20, 0));
    second->AddShape(rectangle);
    auto* ellipse = InColour(new DrawEllipse, 0, 0, 255);
    DrawRectangle bounds;
    bounds.SetCorners(DrawPoint(40, 25, 0), DrawPoint(-40, -25, 0));
    ellipse->SetBounds(bounds);
    second->AddShape(ellipse);
    world.AddObject(second);
}

/// A world of count objects with a point, a line, a rectangle and an ellipse each.
inline void BuildLargeWorld(World& world, int count) {
    for (int i = 0; i < count; ++i) {
        auto* object = new TestDraggable;
        object->SetPosition(Coloured(i * 7 % 1000, i * 13 % 1000, 0, i % 256, 3, 200));
        object->AddShape(InColour(new DrawPoint(i % 40 - 20, -5, 12), 255, i % 7, 0));
        auto* line = new DrawLine;
        line->SetWidth(i % 5 + 1);
        line->SetStart(DrawPoint(-i % 30, 4, 0));
        line->SetEnd(Coloured(25, -i % 17, 2, 1, 2, 3));
        object->AddShape(line);
        auto* rectangle = InColour(new DrawRectangle, 10, 20, i % 256);
        rectangle->SetFilled(i % 2 == 0);
        rectangle->SetCorners(DrawPoint(30, 20, 0), DrawPoint(-30 - i % 9, -20, 0));
        object->AddShape(rectangle);
        auto* ellipse = new DrawEllipse;
        ellipse->SetBounds(*rectangle);
        ellipse->SetFilled(i % 3 == 0);
        object->AddShape(ellipse);
        world.AddObject(object);
    }
}

}  // namespace velk_test
