// The crowded world that the paint benchmarks share: objects at random places, each with three
// random shapes (discs, lines, rectangles and ellipses, 4 to 40 pixels across, filled and
// hollow), and the view over it on a headless window.
#pragma once

#include <cstdint>
#include <random>

#include "BenchObject.h"
#include "document/World.h"
#include "framework/HeadlessHost.h"
#include "objects/DraggableObject.h"
#include "shapes/Color.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawLine.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawRectangle.h"
#include "view/CWorldView.h"

namespace velk_bench {

constexpr int kObjects = 10'000;
constexpr int kShapesPerObject = 3;
constexpr std::int32_t kWorldSize = 1024;

/// The shapes of an object that Populate made.
inline const PointerList<DrawPrimitive>& ShapesOf(const DrawableObject& object) {
    return object.GetShapes();
}

/// Makes random shapes 4 to 40 pixels across around an object's position.
class ShapeMaker {
public:
    explicit ShapeMaker(std::uint32_t seed) : random_(seed) {}

    DrawPrimitive* Make() {
        const std::int32_t across = Between(4, 40);
        const std::int32_t x = Between(-20, 20);
        const std::int32_t y = Between(-20, 20);
        const bool filled = Between(0, 1) == 1;
        DrawPrimitive* shape = nullptr;
        switch (Between(0, 3)) {
            case 0:
                shape = new DrawPoint(x, y, across / 2);
                break;
            case 1: {
                auto* line = new DrawLine;
                line->SetStart(DrawPoint(x, y, 0));
                line->SetEnd(DrawPoint(x + Between(-across, across), y + across, 0));
                line->SetWidth(Between(1, 3));
                shape = line;
                break;
            }
            case 2: {
                auto* rectangle = new DrawRectangle;
                rectangle->SetCorners(DrawPoint(x, y, 0),
                                      DrawPoint(x + across, y + Between(4, 40), 0));
                rectangle->SetFilled(filled);
                shape = rectangle;
                break;
            }
            default: {
                DrawRectangle bounds;
                bounds.SetCorners(DrawPoint(x, y, 0), DrawPoint(x + across, y + Between(4, 40), 0));
                auto* ellipse = new DrawEllipse;
                ellipse->SetBounds(bounds);
                ellipse->SetFilled(filled);
                shape = ellipse;
                break;
            }
        }
        Color colour;
        colour.SetFromPalette(Between(1, 15));
        shape->SetColor(colour);
        return shape;
    }

    std::int32_t Between(std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random_);
    }

private:
    std::mt19937 random_;
};

/// The world, with a filled disc of radius 12 at the position of the first object (on top of
/// every other), so that a press there always grabs it.
inline void Populate(World& world, int objects, std::int32_t side) {
    ShapeMaker maker(20240601);
    for (int i = 0; i < objects; ++i) {
        auto* object = new BenchObject;
        object->SetPosition(DrawPoint(maker.Between(0, side - 1), maker.Between(0, side - 1), 0));
        if (i == 0) {
            object->SetPosition(DrawPoint(side / 2, side / 2, 0));
            object->AddShape(new DrawPoint(0, 0, 12));
        }
        for (int shape = i == 0 ? 1 : 0; shape < kShapesPerObject; ++shape) {
            object->AddShape(maker.Make());
        }
        world.AddObject(object);
    }
}

/// The world shown in a view on a headless window, scrolled to the middle, painted once.
struct Scene {
    explicit Scene(int objects = kObjects, std::int32_t side = kWorldSize,
                   SIZE client = SIZE{kWorldSize, kWorldSize})
        : host(client) {
        Populate(world, objects, side);
        world.SetWorldSize(side, side);
        world.AddView(&view);
        view.Create(&host);
        view.OnInitialUpdate();
        host.Scroll(SB_HORZ, (side - client.cx) / 2);
        host.Scroll(SB_VERT, (side - client.cy) / 2);
        host.PumpPaint();
    }
    ~Scene() { view.DestroyWindow(); }

    World world;
    HeadlessHost host;
    CWorldView view;
};

}  // namespace velk_bench
