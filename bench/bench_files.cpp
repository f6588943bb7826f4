// Saving and loading a world of 100,000 objects (about 38 MB of text) through Serialize and a
// real file, next to a plain read() of the same file: how far the text format stays behind
// what the disk and the page cache give. The memory variants show the format's own cost; the
// watched variants add a progress observer that is shown from the start, as after a long wait.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BenchObject.h"
#include "document/World.h"
#include "files/ProgressObserver.h"
#include "framework/CArchive.h"

namespace {

constexpr int kObjects = 100'000;
#ifdef O_BINARY
constexpr int kBinary = O_BINARY;  // the bytes as they are, where the C library would convert
#else
constexpr int kBinary = 0;
#endif

/// The world, and its file saved once beside the files the benchmarks write.
struct Fixture {
    Fixture() {
        folder =
            std::filesystem::temp_directory_path() / ("velk-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        source = (folder / "source.world").string();
        target = (folder / "target.world").string();
        velk_bench::PopulateDiscsBarsAndEllipses(world, kObjects);
        CArchive archive(source, CArchive::store);
        world.Serialize(archive);
        archive.Close();
        bytes = static_cast<std::int64_t>(std::filesystem::file_size(source));
    }
    ~Fixture() { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
    std::string source;
    std::string target;
    World world;
    std::int64_t bytes = 0;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

/// Progress shown from the first chunk on, as a dialog would be, without drawing anything.
class WatchingProgress : public DelayedProgress {
public:
    WatchingProgress() : DelayedProgress(0) {}
    int shown = 0;

protected:
    bool Show(const ProgressReport& report) override {
        benchmark::DoNotOptimize(report.Permille());
        ++shown;
        return true;
    }
};

void BM_PlainRead(benchmark::State& state) {
    Fixture& f = Shared();
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state) {
        const int fd = ::open(f.source.c_str(), O_RDONLY | kBinary);
        std::int64_t total = 0;
        for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) {
            total += n;
        }
        ::close(fd);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The program's Open: a loading file archive, Serialize, Close. The world of the previous
/// iteration is destroyed outside the timing.
void BM_LoadFile(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        auto world = std::make_unique<World>();
        WatchingProgress progress;
        CArchive archive(f.source, CArchive::load);
        if (state.range(0) != 0) {
            archive.SetProgressObserver(&progress);
        }
        world->Serialize(archive);
        archive.Close();
        state.PauseTiming();
        if (world->GetAllObjects().count != kObjects) {
            state.SkipWithError("the world did not load completely");
        }
        world.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_LoadFile)
    ->ArgName("watched")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

/// The program's Save: a storing file archive, Serialize, Close, which syncs the temporary
/// file to disk and renames it over the target.
void BM_SaveFile(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        WatchingProgress progress;
        CArchive archive(f.target, CArchive::store);
        if (state.range(0) != 0) {
            archive.SetExpectedSize(static_cast<std::uint64_t>(f.bytes));
            archive.SetProgressObserver(&progress);
        }
        f.world.Serialize(archive);
        archive.Close();
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_SaveFile)
    ->ArgName("watched")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_LoadMemory(benchmark::State& state) {
    Fixture& f = Shared();
    std::string text;
    {
        CArchive archive = CArchive::ToMemory(text);
        f.world.Serialize(archive);
        archive.Close();
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto world = std::make_unique<World>();
        CArchive archive = CArchive::FromMemory(text);
        state.ResumeTiming();
        world->Serialize(archive);
        state.PauseTiming();
        world.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_LoadMemory)->Unit(benchmark::kMillisecond);

void BM_SaveMemory(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        std::string text;
        CArchive archive = CArchive::ToMemory(text);
        f.world.Serialize(archive);
        archive.Close();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_SaveMemory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
