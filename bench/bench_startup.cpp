// Start-up to first paint of the 10,000-object example world, of a world of 100,000 objects
// written for the run, and of the 1,000,000-object world of make-world.py: the application's start
// (settings, template, frame, view, status bar), reading the file, showing the main window, and the
// view's first paint of its client area. The QApplication itself is made once, outside the timing,
// on the offscreen platform, so the number does not depend on a display.
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>

#include "BenchWorld.h"
#include "BenchWorldFiles.h"
#include "SilentDialogs.h"
#include "app/CVelkApp.h"
#include "document/World.h"
#include "framework/CArchive.h"
#include "framework/CFrameWnd.h"
#include "qt/ClientArea.h"
#include "qt/MainWindow.h"
#include "qt/QtPlatform.h"

namespace {

/// Starts the program on the world file and paints its client area once, per iteration.
void StartupToFirstPaint(benchmark::State& state, const std::string& world) {
    velk_bench::SilentDialogs dialogs;
    QtPlatform platform(&dialogs);
    std::int64_t objects = 0;
    for (auto _ : state) {
        CVelkApp app;
        if (!app.Start(platform, {world})) {
            state.SkipWithError(("cannot open " + world + ": " + dialogs.last).c_str());
            return;
        }
        auto* window = dynamic_cast<MainWindow*>(app.GetMainWnd()->GetFrameHost());
        // The first paint, done now rather than when the event loop would get to it.
        window->GetClientArea()->viewport()->repaint();
        state.PauseTiming();
        objects =
            dynamic_cast<World*>(app.GetMainWnd()->GetActiveDocument())->GetAllObjects().count;
        app.Finish(0);
        state.ResumeTiming();
    }
    state.counters["objects"] = static_cast<double>(objects);
}

void BM_StartupToFirstPaint(benchmark::State& state) {
    StartupToFirstPaint(state, VELK_WORLD_10000);
}
BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StartupToFirstPaint100k(benchmark::State& state) {
    QTemporaryDir folder(QDir::tempPath() + "/velk-bench-XXXXXX");
    const std::string path = folder.filePath("world-100000.world").toStdString();
    {
        World world;
        velk_bench::Populate(world, 100'000, 4000);
        world.SetWorldSize(4000, 4000);
        CArchive archive(path, CArchive::store);
        world.Serialize(archive);
        archive.Close();
    }
    StartupToFirstPaint(state, path);
}
BENCHMARK(BM_StartupToFirstPaint100k)->Unit(benchmark::kMillisecond)->Iterations(5);

/// The 1,000,000-object world of make-world.py (377 MB, 12000 by 12000).
void BM_StartupToFirstPaint1M(benchmark::State& state) {
    const std::string path = velk_bench::WorldFile(velk_bench::k1M);
    if (path.empty()) {
        state.SkipWithError("cannot write the world");
        return;
    }
    StartupToFirstPaint(state, path);
}
BENCHMARK(BM_StartupToFirstPaint1M)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
