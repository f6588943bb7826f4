// One frame of a drag in the real program: the 10,000-object example world in the main window
// on Qt's offscreen platform, an object grabbed with the left button, then per step one mouse
// move delivered to the client area's viewport and the paint it causes, until that paint has
// reached the window's backing store. Qt delivers the move, the view moves the object and
// invalidates, and Qt's update request paints the viewport: all of it is timed.
//
// And, side by side in the same run, a full paint of the benchmarks' crowded world by our view
// and by Qt's own scene graph (a QGraphicsScene of ellipse, line and rectangle items in the same
// colours, antialiasing off, rendered through a QGraphicsView). And the same at a million
// objects seen through a 1024 by 768 window scrolled to the middle of the world: our view's
// paint, and Qt's scene with its BSP index rendering the same part of the same world.
#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "BenchWorld.h"
#include "BenchWorldFiles.h"
#include "SilentDialogs.h"
#include "app/CVelkApp.h"
#include "document/World.h"
#include "framework/CFrameWnd.h"
#include "qt/ClientArea.h"
#include "qt/MainWindow.h"
#include "qt/QtPlatform.h"
#include "shapes/DrawPoint.h"

namespace {

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
    velk_bench::SilentDialogs dialogs;
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

void BM_VelkFullPaint(benchmark::State& state) {
    velk_bench::Scene scene;
    for (auto _ : state) {
        scene.view.Invalidate(false);
        scene.host.PumpPaint();
    }
}
BENCHMARK(BM_VelkFullPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

QColor ToQColor(const Color& colour) {
    const COLORREF value = colour.GetValue();
    return QColor(GetRValue(value), GetGValue(value), GetBValue(value));
}

/// Qt's items for one shape at the owner's place, in the shape's colours.
void AddItems(QGraphicsScene& scene, const DrawPrimitive& shape, QPointF at) {
    const QColor colour = ToQColor(shape.GetColor());
    const QPen outline(colour, 0);  // cosmetic: one pixel wide
    if (const auto* disc = dynamic_cast<const DrawPoint*>(&shape)) {
        const double r = disc->GetRadius();
        scene.addEllipse(at.x() + disc->GetX() - r, at.y() + disc->GetY() - r, 2 * r, 2 * r,
                         outline, QBrush(colour));
    } else if (const auto* line = dynamic_cast<const DrawLine*>(&shape)) {
        scene.addLine(QLineF(at + QPointF(line->GetStart().GetX(), line->GetStart().GetY()),
                             at + QPointF(line->GetEnd().GetX(), line->GetEnd().GetY())),
                      QPen(colour, line->GetWidth()));
    } else if (const auto* box = dynamic_cast<const DrawRectangle*>(&shape)) {
        const RECT r = box->GetRect();
        scene.addRect(at.x() + r.left, at.y() + r.top, r.right - r.left, r.bottom - r.top, outline,
                      box->IsFilled() ? QBrush(colour) : QBrush());
    } else if (const auto* ellipse = dynamic_cast<const DrawEllipse*>(&shape)) {
        DrawRectangle bounds;
        ellipse->GetBounds(bounds);
        const RECT r = bounds.GetRect();
        scene.addEllipse(at.x() + r.left, at.y() + r.top, r.right - r.left, r.bottom - r.top,
                         outline, ellipse->IsFilled() ? QBrush(colour) : QBrush());
    }
}

void BM_QtSceneFullPaint(benchmark::State& state) {
    World world;
    velk_bench::Populate(world, velk_bench::kObjects, velk_bench::kWorldSize);
    const int side = velk_bench::kWorldSize;
    QGraphicsScene scene(0, 0, side, side);
    scene.setItemIndexMethod(QGraphicsScene::NoIndex);  // every item is painted anyway
    // Our view draws the last object first, so the first ends on top: Qt puts later items on
    // top, so they go in from the last object to the first.
    for (auto* node = world.GetDrawables().tail; node != nullptr; node = node->prev) {
        DrawPoint position(0, 0, 0);
        node->value->GetPosition(position);
        const QPointF at(position.GetX(), position.GetY());
        for (auto* shape = velk_bench::ShapesOf(*node->value).head; shape != nullptr;
             shape = shape->next) {
            AddItems(scene, *shape->value, at);
        }
    }
    QGraphicsView view(&scene);
    view.setRenderHint(QPainter::Antialiasing, false);
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.resize(side, side);
    view.setBackgroundBrush(Qt::white);
    QImage image(side, side, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        view.render(&painter, QRectF(0, 0, side, side), QRect(0, 0, side, side));
    }
    state.counters["items"] = static_cast<double>(scene.items().size());
}
BENCHMARK(BM_QtSceneFullPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_VelkWindowPaint1M(benchmark::State& state) {
    velk_bench::FileScene scene(velk_bench::k1M);
    if (!scene.ok) {
        state.SkipWithError("cannot read the world");
        return;
    }
    for (auto _ : state) {
        scene.view.Invalidate(false);
        scene.host.PumpPaint();
    }
}
BENCHMARK(BM_VelkWindowPaint1M)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QtSceneWindowPaint1M(benchmark::State& state) {
    World world;
    if (!velk_bench::ReadWorldFile(world, velk_bench::k1M)) {
        state.SkipWithError("cannot read the world");
        return;
    }
    const int side = velk_bench::k1M.side;
    QGraphicsScene scene(0, 0, side, side);
    scene.setItemIndexMethod(QGraphicsScene::BspTreeIndex);
    for (auto* node = world.GetDrawables().tail; node != nullptr; node = node->prev) {
        DrawPoint position(0, 0, 0);
        node->value->GetPosition(position);
        const QPointF at(position.GetX(), position.GetY());
        for (auto* shape = node->value->GetShapes().head; shape != nullptr; shape = shape->next) {
            AddItems(scene, *shape->value, at);
        }
    }
    const QSize window(velk_bench::kWindow.cx, velk_bench::kWindow.cy);
    const QRectF source((side - window.width()) / 2, (side - window.height()) / 2, window.width(),
                        window.height());
    QImage image(window, QImage::Format_RGB32);
    scene.setBackgroundBrush(Qt::white);
    {
        // The first render lets the scene build its index, outside the timing.
        QPainter painter(&image);
        scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(window)), source);
    }
    for (auto _ : state) {
        QPainter painter(&image);
        scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(window)), source);
    }
    state.counters["items"] = static_cast<double>(scene.items().size());
}
BENCHMARK(BM_QtSceneWindowPaint1M)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
