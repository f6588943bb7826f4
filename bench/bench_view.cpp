// The world view on a headless window, 1024 by 1024, over a world of 10,000 objects of three
// shapes each (discs, lines, rectangles and ellipses, 4 to 40 pixels across, filled and hollow):
// a full paint, and one step of a drag from the move message to the finished paint. Both must
// stay under a 60 Hz frame, 16 ms. And a full paint of 100,000 such objects in a 4000 by 4000
// world seen through a 1024 by 768 window scrolled to the middle: every object is still asked
// to draw, though most lie outside the window.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "document/World.h"
#include "framework/HeadlessHost.h"
#include "objects/DraggableObject.h"
#include "shapes/Color.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawLine.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawRectangle.h"
#include "view/CWorldView.h"

namespace {

constexpr int kObjects = 10'000;
constexpr int kShapesPerObject = 3;
constexpr std::int32_t kWorldSize = 1024;

/// A draggable object that receives its shapes directly instead of from a file.
class BenchObject : public DraggableObject {
public:
    void AddShape(DrawPrimitive* shape) { shapes.Append(shape); }
};

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
void Populate(World& world, int objects, std::int32_t side) {
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
    Scene(int objects = kObjects, std::int32_t side = kWorldSize,
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

void BM_FullPaint(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.view.Invalidate(false);
        scene.host.PumpPaint();
    }
    state.counters["shapes"] = kObjects * kShapesPerObject;
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullPaint100k(benchmark::State& state) {
    constexpr int kManyObjects = 100'000;
    Scene scene(kManyObjects, 4000, SIZE{1024, 768});
    for (auto _ : state) {
        scene.view.Invalidate(false);
        scene.host.PumpPaint();
    }
    state.counters["shapes"] = kManyObjects * kShapesPerObject;
}
BENCHMARK(BM_FullPaint100k)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The first object is grabbed, then every step is one move message and the paint it causes;
/// the pointer swings to and fro so that every move moves the object.
void BM_DragStep(benchmark::State& state) {
    Scene scene;
    const POINT grab{kWorldSize / 2, kWorldSize / 2};
    scene.host.MouseMove(grab);
    scene.host.ButtonDown(HeadlessHost::Button::Left, grab);
    std::int32_t step = 0;
    int paints = 0;
    for (auto _ : state) {
        step = (step + 1) % 64;
        scene.host.MouseMove(POINT{grab.x + step, grab.y + step / 2});
        paints += scene.host.PumpPaint() ? 1 : 0;
    }
    if (paints < state.iterations() - 1) {  // the first move only stores the grab's place
        state.SkipWithError("the object did not follow the pointer");
    }
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
