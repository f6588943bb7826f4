// A world of 100,000 objects of three shapes each: building it, pressing the left button at
// random points the way the view dispatches a press, and destroying it. Memory is counted by
// replacing the global allocation functions of this program.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <vector>

#include "BenchObject.h"
#include "document/World.h"
#include "objects/DraggableObject.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawRectangle.h"

namespace {

// What the heap holds for this program: bytes the allocator handed out (its usable sizes,
// which include rounding but not its own chunk headers), and the number of blocks.
std::size_t liveBytes = 0;
std::size_t liveBlocks = 0;

}  // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    liveBytes += malloc_usable_size(block);
    ++liveBlocks;
    return block;
}

// This replacement pairs malloc in operator new with free here; the compiler only sees the
// free inside an operator delete and takes it for a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept {
    if (block != nullptr) {
        liveBytes -= malloc_usable_size(block);
        --liveBlocks;
        std::free(block);
    }
}
#pragma GCC diagnostic pop

void operator delete(void* block, std::size_t /*size*/) noexcept {
    operator delete(block);
}

namespace {

constexpr int kObjects = 100'000;
constexpr int kPresses = 10'000;
constexpr std::int32_t kWorldSize = 1024;

using velk_bench::BenchObject;

/// The third shape of every object: an upright ellipse, or a second disc of the same reach,
/// which shows how much of a press the ellipse's region test costs.
enum class ThirdShape { Ellipse, Disc };

/// Fills the world with objects at random places, each a disc, a bar and a third shape around
/// its position.
void Populate(World& world, std::uint32_t seed, ThirdShape third = ThirdShape::Ellipse) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::int32_t> place(0, kWorldSize - 1);
    for (int i = 0; i < kObjects; ++i) {
        auto* object = new BenchObject;
        object->SetPosition(DrawPoint(place(random), place(random), 0));

        object->AddShape(new DrawPoint(0, 0, 6));
        auto* bar = new DrawRectangle;
        bar->SetCorners(DrawPoint(-10, -4, 0), DrawPoint(10, 4, 0));
        object->AddShape(bar);
        if (third == ThirdShape::Ellipse) {
            auto* ellipse = new DrawEllipse;
            DrawRectangle bounds;
            bounds.SetCorners(DrawPoint(-4, -12, 0), DrawPoint(4, 12, 0));
            ellipse->SetBounds(bounds);
            object->AddShape(ellipse);
        } else {
            object->AddShape(new DrawPoint(0, 0, 12));
        }

        world.AddObject(object);
    }
}

std::vector<DrawPoint> RandomPoints(std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::int32_t> place(0, kWorldSize - 1);
    std::vector<DrawPoint> points;
    points.reserve(kPresses);
    for (int i = 0; i < kPresses; ++i) {
        points.emplace_back(place(random), place(random), 0);
    }
    return points;
}

/// The program's resident memory in bytes.
double ResidentBytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

/// What the machine gives one world, the allocator's headers and bookkeeping included. Run
/// first, in a fresh program: later worlds reuse memory the allocator already holds.
void BM_WorldMemory(benchmark::State& state) {
    for (auto _ : state) {
        const double before = ResidentBytes();
        auto world = std::make_unique<World>();
        Populate(*world, 1);
        state.counters["resident_per_object"] = (ResidentBytes() - before) / kObjects;
    }
}
BENCHMARK(BM_WorldMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_BuildWorld(benchmark::State& state) {
    double bytesPerObject = 0;
    double blocksPerObject = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto world = std::make_unique<World>();
        const std::size_t bytesBefore = liveBytes;
        const std::size_t blocksBefore = liveBlocks;
        state.ResumeTiming();

        Populate(*world, 1);

        state.PauseTiming();
        bytesPerObject = static_cast<double>(liveBytes - bytesBefore) / kObjects;
        blocksPerObject = static_cast<double>(liveBlocks - blocksBefore) / kObjects;

        world.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_object"] = bytesPerObject;
    state.counters["blocks_per_object"] = blocksPerObject;
    state.counters["per_object"] = benchmark::Counter(
        kObjects, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BuildWorld)->Unit(benchmark::kMillisecond);

void BM_DestroyWorld(benchmark::State& state) {
    std::size_t leaked = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::size_t bytesBefore = liveBytes;
        auto world = std::make_unique<World>();
        Populate(*world, 1);
        state.ResumeTiming();

        world.reset();

        state.PauseTiming();
        leaked = liveBytes - bytesBefore;
        state.ResumeTiming();
    }
    state.counters["bytes_left_after"] = static_cast<double>(leaked);
    state.counters["per_object"] = benchmark::Counter(
        kObjects, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DestroyWorld)->Unit(benchmark::kMillisecond);

/// Each press: the mouse position is stored, then the interactables are asked head to tail
/// until one takes the press; the taker is released again so that every press starts from
/// a resting world. Argument 0: disc, bar and ellipse; 1: disc, bar and a larger disc.
void BM_Press(benchmark::State& state) {
    World world;
    Populate(world, 1, state.range(0) == 0 ? ThirdShape::Ellipse : ThirdShape::Disc);
    const std::vector<DrawPoint> points = RandomPoints(2);
    std::int64_t asked = 0;
    std::int64_t taken = 0;
    for (auto _ : state) {
        for (const DrawPoint& point : points) {
            world.SetMousePosition(point);
            for (auto* node = world.GetInteractables().head; node != nullptr; node = node->next) {
                ++asked;
                if (node->value->OnLButtonDown(world)) {
                    ++taken;
                    node->value->OnLButtonUp(world);
                    break;
                }
            }
        }
    }
    const double presses = static_cast<double>(state.iterations()) * kPresses;
    state.counters["per_press"] = benchmark::Counter(
        kPresses, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["objects_asked_per_press"] = static_cast<double>(asked) / presses;
    state.counters["hit_fraction"] = static_cast<double>(taken) / presses;
}
BENCHMARK(BM_Press)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
