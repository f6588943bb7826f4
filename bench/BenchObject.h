// The objects of the benchmarks, which receive their shapes directly instead of from a file, and
// the world of discs, bars and ellipses in random colours that the file and recovery benchmarks
// write and read.
#pragma once

#include <cstdint>
#include <random>

#include "document/World.h"
#include "objects/DraggableObject.h"
#include "objects/PointerList.h"
#include "shapes/Color.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawPrimitive.h"
#include "shapes/DrawRectangle.h"

namespace velk_bench {

/// The benchmarks' objects are the program's own, which take shapes through AddShape: the
/// world's index knows what they do, as it knows the objects read from a file.
using BenchObject = DraggableObject;

/// A 4096 by 4096 world of `objects` objects at random places, each a disc, a bar (every other
/// one filled) and an ellipse, in random colours; the same world for the same count.
inline void PopulateDiscsBarsAndEllipses(World& world, int objects) {
    std::mt19937 random(1);
    std::uniform_int_distribution<std::int32_t> place(0, 4095);
    std::uniform_int_distribution<std::int32_t> reach(1, 60);
    auto painted = [&random](auto* shape) {
        Color colour;
        colour.SetRGB(static_cast<std::int32_t>(random() & 0xFF),
                      static_cast<std::int32_t>(random() & 0xFF),
                      static_cast<std::int32_t>(random() & 0xFF));
        shape->SetColor(colour);
        return shape;
    };
    world.SetWorldSize(4096, 4096);
    for (int i = 0; i < objects; ++i) {
        auto* object = new BenchObject;
        object->SetPosition(DrawPoint(place(random), place(random), 0));
        object->AddShape(painted(new DrawPoint(0, 0, reach(random))));
        auto* bar = painted(new DrawRectangle);
        bar->SetCorners(DrawPoint(-reach(random), -reach(random), 0),
                        DrawPoint(reach(random), reach(random), 0));
        bar->SetFilled(i % 2 == 0);
        object->AddShape(bar);
        auto* ellipse = painted(new DrawEllipse);
        DrawRectangle bounds;
        bounds.SetCorners(DrawPoint(-reach(random), -reach(random), 0),
                          DrawPoint(reach(random), reach(random), 0));
        ellipse->SetBounds(bounds);
        object->AddShape(ellipse);
        world.AddObject(object);
    }
}

}  // namespace velk_bench
