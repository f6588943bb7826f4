// What keeping unsaved work safe costs on a world of 10,000 objects: the interface thread's
// part of a recovery copy (forking the writer, or on Windows taking a snapshot), the writer's
// part (the world's text and the synced files), and the check of the file before a save.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "BenchObject.h"
#include "document/World.h"
#include "files/FileStamp.h"
#include "files/RecoveryStore.h"
#include "framework/CArchive.h"
#include "framework/DocumentRecovery.h"

namespace {

constexpr int kObjects = 10'000;

struct Fixture {
    Fixture() {
        folder = std::filesystem::temp_directory_path() /
                 ("velk-bench-recovery-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        velk_bench::PopulateDiscsBarsAndEllipses(world, kObjects);
        file = (folder / "world.world").string();
        CArchive archive(file, CArchive::store);
        world.Serialize(archive);
        archive.Close();
        recovery = std::make_unique<DocumentRecovery>(
            [this] { return &world; },
            std::make_unique<RecoveryStore>((folder / "recovery").string()));
    }
    ~Fixture() {
        recovery.reset();
        std::filesystem::remove_all(folder);
    }

    std::filesystem::path folder;
    std::string file;
    World world;
    std::unique_ptr<DocumentRecovery> recovery;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_RecoveryTickOnTheInterfaceThread(benchmark::State& state) {
    Fixture& fixture = Shared();
    for (auto _ : state) {
        fixture.world.SetModifiedFlag();
        fixture.recovery->Tick();
        state.PauseTiming();
        fixture.recovery->Store().Wait();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RecoveryTickOnTheInterfaceThread)->Unit(benchmark::kMillisecond);

void BM_RecoveryWriteInTheWriter(benchmark::State& state) {
    Fixture& fixture = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        fixture.world.SetModifiedFlag();
        fixture.recovery->Tick();
        state.ResumeTiming();
        fixture.recovery->Store().Wait();
    }
}
BENCHMARK(BM_RecoveryWriteInTheWriter)->Unit(benchmark::kMillisecond)->UseRealTime();

/// Where no writer can be forked, the interface thread takes what the text is made of: the
/// text itself, or a copy of the objects (TextSnapshot) from which the writer thread makes it.
/// The copy is destroyed on the writer thread, so outside the timing here.
void BM_TextOnTheInterfaceThread(benchmark::State& state) {
    Fixture& fixture = Shared();
    for (auto _ : state) {
        std::string text;
        CArchive archive = CArchive::ToMemory(text);
        fixture.world.Serialize(archive);
        archive.Close();
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_TextOnTheInterfaceThread)->Unit(benchmark::kMillisecond);

void BM_SnapshotOnTheInterfaceThread(benchmark::State& state) {
    Fixture& fixture = Shared();
    for (auto _ : state) {
        std::function<std::string()> make = fixture.world.TextSnapshot();
        state.PauseTiming();
        make = nullptr;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SnapshotOnTheInterfaceThread)->Unit(benchmark::kMillisecond);

void BM_CheckBeforeSave(benchmark::State& state) {
    Fixture& fixture = Shared();
    for (auto _ : state) {
        benchmark::DoNotOptimize(FileStamp::Of(fixture.file).hash);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(fixture.file)));
}
BENCHMARK(BM_CheckBeforeSave)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
