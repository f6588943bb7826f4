// The world view on a headless window, 1024 by 1024, over a world of 10,000 objects of three
// shapes each (discs, lines, rectangles and ellipses, 4 to 40 pixels across, filled and hollow):
// a full paint, and one step of a drag from the move message to the finished paint. Both must
// stay under a 60 Hz frame, 16 ms. And a full paint of 100,000 such objects in a 4000 by 4000
// world seen through a 1024 by 768 window scrolled to the middle: every object is still asked
// to draw, though most lie outside the window.
//
// Then the worlds of examples/make-world.py (10,000, 100,000 and 1,000,000 objects) seen through
// a 1024 by 768 window scrolled to their middle: a paint of that window, and at a million
// objects one step of a drag and one timer tick in which nothing changes. A frame should cost
// what is on screen, whatever the size of the world.

#include <benchmark/benchmark.h>

#include <cstdint>

#include "BenchWorld.h"
#include "BenchWorldFiles.h"

namespace {

using velk_bench::kObjects;
using velk_bench::kShapesPerObject;
using velk_bench::kWorldSize;
using velk_bench::Scene;

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

/// Grabs what lies at grab; every step is then one move message and the paint it causes. The
/// pointer swings to and fro, so that every move moves the object.
void DragSteps(benchmark::State& state, HeadlessHost& host, POINT grab) {
    host.MouseMove(grab);
    host.ButtonDown(HeadlessHost::Button::Left, grab);
    std::int32_t step = 0;
    int paints = 0;
    for (auto _ : state) {
        step = (step + 1) % 64;
        host.MouseMove(POINT{grab.x + step, grab.y + step / 2});
        paints += host.PumpPaint() ? 1 : 0;
    }
    if (paints < state.iterations() - 1) {  // the first move only stores the grab's place
        state.SkipWithError("the object did not follow the pointer");
    }
}

/// The first object is grabbed and dragged.
void BM_DragStep(benchmark::State& state) {
    Scene scene;
    const POINT grab{kWorldSize / 2, kWorldSize / 2};
    DragSteps(state, scene.host, grab);
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMillisecond)->UseRealTime();

using velk_bench::FileScene;
using velk_bench::GeneratedWorld;

void WindowPaint(benchmark::State& state, GeneratedWorld generated) {
    FileScene scene(generated);
    if (!scene.ok) {
        state.SkipWithError("cannot read the world");
        return;
    }
    for (auto _ : state) {
        scene.view.Invalidate(false);
        scene.host.PumpPaint();
    }
    state.counters["objects"] = generated.objects;
}

void BM_WindowPaint10k(benchmark::State& state) {
    WindowPaint(state, velk_bench::k10k);
}
BENCHMARK(BM_WindowPaint10k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowPaint100k(benchmark::State& state) {
    WindowPaint(state, velk_bench::k100k);
}
BENCHMARK(BM_WindowPaint100k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowPaint1M(benchmark::State& state) {
    WindowPaint(state, velk_bench::k1M);
}
BENCHMARK(BM_WindowPaint1M)->Unit(benchmark::kMillisecond)->UseRealTime();

/// An object near the middle of the window is grabbed; each step is one move delivered to the
/// view and the paint it causes.
void BM_DragStep1M(benchmark::State& state) {
    FileScene scene(velk_bench::k1M);
    const POINT grab = scene.PointOverAnObject();
    if (!scene.ok || grab.x < 0) {
        state.SkipWithError("cannot read the world or find an object to grab");
        return;
    }
    DragSteps(state, scene.host, grab);
}
BENCHMARK(BM_DragStep1M)->Unit(benchmark::kMillisecond)->UseRealTime();

/// One tick of the view's timer over the world at rest: no object changes, nothing is painted.
void BM_TimerTick1M(benchmark::State& state) {
    FileScene scene(velk_bench::k1M);
    if (!scene.ok) {
        state.SkipWithError("cannot read the world");
        return;
    }
    for (auto _ : state) {
        scene.host.FireTimer(CWorldView::kTimerId);
    }
    if (scene.host.HasPendingPaint() || scene.world.IsModified()) {
        state.SkipWithError("a tick changed the world");
    }
}
BENCHMARK(BM_TimerTick1M)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
