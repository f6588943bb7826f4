// One frame of a drag in the real program: the 10,000-object example world in the main window
// on Qt's offscreen platform, an object grabbed with the left button, then per step one mouse
// move delivered to the client area's viewport and the paint it causes, until that paint has
// reached the window's backing store. Qt delivers the move, the view moves the object and
// invalidates, and Qt's update request paints the viewport: all of it is timed.
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QMouseEvent>
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
#include "shapes/DrawPoint.h"

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

/// Counts the paint events that reach a widget.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int paints = 0;
};

/// A client point over an object, found the way a press finds one.
std::optional<QPoint> PointOverAnObject(const World& world, QSize client) {
    for (int y = 20; y < client.height() - 20; y += 7) {
        for (int x = 20; x < client.width() - 20; x += 7) {
            for (auto* node = world.GetInteractables().head; node != nullptr; node = node->next) {
                if (node->value->HitTest(DrawPoint(x, y, 0))) {
                    return QPoint(x, y);
                }
            }
        }
    }
    return std::nullopt;
}

void Send(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons held) {
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void BM_WindowDragFrame(benchmark::State& state) {
    SilentDialogs dialogs;
    QtPlatform platform(&dialogs);
    CVelkApp app;
    if (!app.Start(platform, {VELK_WORLD_10000})) {
        state.SkipWithError(("cannot open the world: " + dialogs.last).c_str());
        return;
    }
    auto* window = dynamic_cast<MainWindow*>(app.GetMainWnd()->GetFrameHost());
    auto* world = dynamic_cast<World*>(app.GetMainWnd()->GetActiveDocument());
    window->show();
    QWidget* viewport = window->GetClientArea()->viewport();
    QCoreApplication::processEvents();
    const std::optional<QPoint> grab = PointOverAnObject(*world, viewport->size());
    if (!grab) {
        state.SkipWithError("no object to grab");
        app.Finish(0);
        return;
    }
    PaintCounter counter;
    viewport->installEventFilter(&counter);
    Send(viewport, QEvent::MouseMove, *grab, Qt::NoButton, Qt::NoButton);
    Send(viewport, QEvent::MouseButtonPress, *grab, Qt::LeftButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    int step = 0;
    const int paintsBefore = counter.paints;
    for (auto _ : state) {
        step = (step + 1) % 32;
        Send(viewport, QEvent::MouseMove, *grab + QPoint(step, step / 2), Qt::NoButton,
             Qt::LeftButton);
        // The update request that the move posted: Qt paints the viewport into the backing
        // store and flushes it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    }
    if (counter.paints - paintsBefore < state.iterations()) {
        state.SkipWithError("a move was not painted");
    }
    state.counters["paints"] = counter.paints - paintsBefore;
    Send(viewport, QEvent::MouseButtonRelease, *grab, Qt::LeftButton, Qt::NoButton);
    viewport->removeEventFilter(&counter);
    app.Finish(0);
}
BENCHMARK(BM_WindowDragFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

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
