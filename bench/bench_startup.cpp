// Start-up to first paint of the 10,000-object example world: the application's start (settings,
// template, frame, view, status bar), reading the file, showing the main window, and the view's
// first paint of its client area. The QApplication itself is made once, outside the timing, on
// the offscreen platform, so the number does not depend on a display.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/CVelkApp.h"
#include "document/World.h"
#include "framework/AppServices.h"
#include "framework/CFrameWnd.h"
#include "qt/ClientArea.h"
#include "qt/MainWindow.h"
#include "qt/QtPlatform.h"

namespace {

/// Any question is answered "cancel", so no dialog can stop a run.
class SilentDialogs : public UserDialogs {
public:
    std::optional<std::string> AskOpenPath(const std::string&) override { return std::nullopt; }
    std::optional<std::string> AskSavePath(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    SaveChoice AskSaveChanges(const std::string&) override { return SaveChoice::discard; }
    void ShowMessage(const std::string& text, MessageKind) override { last = text; }
    int RunModal(CDialog&) override { return 2; }
    std::string last;
};

void BM_StartupToFirstPaint(benchmark::State& state) {
    const std::string world = VELK_WORLD_10000;
    SilentDialogs dialogs;
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
BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir config(QDir::tempPath() + "/velk-bench-XXXXXX");
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
