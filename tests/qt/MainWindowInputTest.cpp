// The main window as a person meets it: the mouse past the client area's edges, the scroll
// bars, the wheel, the Save As proposal, the prompts of grey menu items and a frame that fits
// the screen.
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "QtAppHarness.h"
#include "framework/AfxIds.h"
#include "framework/CRecentFileList.h"
#include "objects/DrawableObject.h"
#include "qt/StatusBarPanes.h"

namespace {

using namespace qt_test;
namespace fs = std::filesystem;

const fs::path kExample = fs::path(VELK_WORLDS_DIR) / "example.world";

POINT FirstObjectPosition(World& world) {
    DrawPoint position(0, 0, 0);
    return world.GetDrawables().head->value->GetPosition(position).GetPoint();
}

class MainWindowInputTest : public ::testing::Test {
protected:
    void TearDown() override { run.Finish(); }

    ScriptedDialogs dialogs;
    VelkRun run{dialogs};
};

// A point just outside each edge of the 800 by 600 client area of example.world.
struct Edge {
    const char* name;
    QPoint outside;
    QPoint inside;  ///< the last place inside, on the way there
};

class DragPastAnEdge : public MainWindowInputTest, public ::testing::WithParamInterface<Edge> {};

// The view sees nothing outside its client area: the object stays where the last move inside
// put it (one move behind the pointer), and as the release was not seen, the drag goes on when
// the pointer comes back, until a release inside.
TEST_P(DragPastAnEdge, StopsAtTheEdgeAndGoesOnWhenThePointerReturns) {
    ASSERT_TRUE(run.Start({kExample.string()}));
    QWidget& viewport = run.Viewport();
    ASSERT_EQ(viewport.size(), QSize(800, 600));
    const QPoint grab(120, 80);
    ASSERT_EQ(FirstObjectPosition(run.Document()), (POINT{grab.x(), grab.y()}));
    const QPoint halfway = (grab + GetParam().inside) / 2;
    QTest::mouseMove(&viewport, grab);
    QTest::mousePress(&viewport, Qt::LeftButton, {}, grab);
    QTest::mouseMove(&viewport, halfway);
    QTest::mouseMove(&viewport, GetParam().inside);
    QTest::mouseMove(&viewport, GetParam().outside);
    QTest::mouseRelease(&viewport, Qt::LeftButton, {}, GetParam().outside);
    EXPECT_EQ(FirstObjectPosition(run.Document()), (POINT{halfway.x(), halfway.y()}));
    DrawPoint mouse(0, 0, 0);
    run.Document().GetMousePosition(mouse);
    EXPECT_EQ(mouse.GetPoint(), (POINT{GetParam().inside.x(), GetParam().inside.y()}));

    QTest::mouseMove(&viewport, QPoint(400, 300));
    QTest::mouseMove(&viewport, QPoint(410, 310));
    QTest::mouseRelease(&viewport, Qt::LeftButton, {}, QPoint(410, 310));
    QTest::mouseMove(&viewport, QPoint(500, 400));
    EXPECT_EQ(FirstObjectPosition(run.Document()), (POINT{400, 300}));
}

INSTANTIATE_TEST_SUITE_P(EachEdge, DragPastAnEdge,
                         ::testing::Values(Edge{"left", {-40, 80}, {0, 80}},
                                           Edge{"right", {840, 80}, {799, 80}},
                                           Edge{"top", {120, -40}, {120, 0}},
                                           Edge{"bottom", {120, 640}, {120, 599}}),
                         [](const auto& info) { return std::string(info.param.name); });

// Save As offers the file the world came from, folder and all; a new world offers its title.
TEST_F(MainWindowInputTest, SaveAsProposesTheDocumentsFullPath) {
    ASSERT_TRUE(run.Start({kExample.string()}));
    run.Frame().ExecuteCommand(afx::ID_FILE_SAVE_AS);
    run.Frame().ExecuteCommand(afx::ID_FILE_NEW);
    run.Frame().ExecuteCommand(afx::ID_FILE_SAVE_AS);
    EXPECT_EQ(dialogs.saveProposed, (std::vector<std::string>{kExample.string(), "Untitled"}));
}

// The thumb is the visible share of the world; a click in the trough scrolls a tenth of it.
TEST_F(MainWindowInputTest, ScrollBarThumbShowsTheVisibleShareAndTheTroughScrollsATenth) {
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.Window()));
    for (QScrollBar* bar : {run.Window().GetClientArea()->horizontalScrollBar(),
                            run.Window().GetClientArea()->verticalScrollBar()}) {
        const bool horizontal = bar->orientation() == Qt::Horizontal;
        const int visible = horizontal ? run.Viewport().width() : run.Viewport().height();
        ASSERT_LT(visible, 1024);
        EXPECT_EQ(bar->pageStep(), visible);
        EXPECT_EQ(bar->maximum(), 1024 - visible);

        QStyleOptionSlider option;
        option.initFrom(bar);
        option.state |= horizontal ? QStyle::State_Horizontal : QStyle::State_None;
        option.orientation = bar->orientation();
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.pageStep = bar->pageStep();
        option.sliderPosition = bar->value();
        option.sliderValue = bar->value();
        const QRect groove = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                          QStyle::SC_ScrollBarGroove, bar);
        const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                         QStyle::SC_ScrollBarSlider, bar);
        const double share = horizontal ? double(thumb.width()) / groove.width()
                                        : double(thumb.height()) / groove.height();
        EXPECT_NEAR(share, visible / 1024.0, 0.01) << (horizontal ? "horizontal" : "vertical");

        const QPoint trough = horizontal ? QPoint(thumb.right() + 5, thumb.center().y())
                                         : QPoint(thumb.center().x(), thumb.bottom() + 5);
        QTest::mouseClick(bar, Qt::LeftButton, {}, trough);
        EXPECT_EQ(bar->value(), 102);
    }
}

struct Wheel {
    const char* name;
    Qt::KeyboardModifiers modifiers;
    bool sideways;
};

class WheelTurn : public MainWindowInputTest, public ::testing::WithParamInterface<Wheel> {};

// One notch scrolls three lines (a line being a hundredth of the world); Shift turns it sideways.
TEST_P(WheelTurn, ScrollsThreeLinesDownOrSideways) {
    ASSERT_TRUE(run.Start());
    QWidget& viewport = run.Viewport();
    QWheelEvent notch(QPointF(100, 100), viewport.mapToGlobal(QPointF(100, 100)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, GetParam().modifiers, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(&viewport, &notch);
    const int lines = 3 * 10;
    EXPECT_EQ(run.Window().GetClientArea()->horizontalScrollBar()->value(),
              GetParam().sideways ? lines : 0);
    EXPECT_EQ(run.Window().GetClientArea()->verticalScrollBar()->value(),
              GetParam().sideways ? 0 : lines);
}

INSTANTIATE_TEST_SUITE_P(Modifiers, WheelTurn,
                         ::testing::Values(Wheel{"plain", Qt::NoModifier, false},
                                           Wheel{"shift", Qt::ShiftModifier, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct Hover {
    int menu;
    const char* item;
    const char* prompt;
};

// The pointer over a menu item shows its prompt, grey items included.
TEST_F(MainWindowInputTest, GreyMenuItemsShowTheirOwnPrompts) {
    ASSERT_TRUE(run.Start());
    CRecentFileList& recent = *run.app->GetRecentFileList();
    while (recent.GetSize() > 0) {  // earlier tests of this process opened files
        recent.Remove(0);
    }
    const QLabel* message = run.Window().GetStatusPanes()->GetPane(0);
    for (const Hover& hover : {Hover{1, "&Undo\tCtrl+Z", "Undo the last action"},
                               Hover{1, "&Paste\tCtrl+V", "Insert Clipboard contents"},
                               Hover{0, "&Open...\tCtrl+O", "Open an existing document"},
                               Hover{0, "Recent File", "Open this document"}}) {
        QMenu* menu = run.Window().GetMenus()[hover.menu];
        menu->popup(QPoint(0, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QAction* action = nullptr;
        for (QAction* candidate : menu->actions()) {
            if (candidate->text() == hover.item) {
                action = candidate;
            }
        }
        ASSERT_NE(action, nullptr) << hover.item;
        QTest::mouseMove(menu, menu->actionGeometry(action).center());
        EXPECT_EQ(message->text().toStdString(), hover.prompt) << hover.item;
        menu->hide();
    }
}

// The frame starts within the screen's available area, whatever the scale, with the status
// bar and the scroll bars on screen; the world keeps one unit per device-independent pixel,
// each drawn as a crisp block of device pixels. (CTest also runs this at QT_SCALE_FACTOR=2.)
TEST_F(MainWindowInputTest, FrameStartsWithinTheScreenAndTheWorldStaysCrisp) {
    ASSERT_TRUE(run.Start({kExample.string()}));
    MainWindow& window = run.Window();
    const QRect room = window.screen()->availableGeometry();
    EXPECT_LE(window.frameGeometry().width(), room.width());
    EXPECT_LE(window.frameGeometry().height(), room.height());
    EXPECT_TRUE(window.statusBar()->isVisible());
    EXPECT_LE(window.statusBar()->geometry().bottom(), window.height());

    QWidget& viewport = run.Viewport();
    CBitmap& pixels = window.GetClientArea()->GetClientPixels();
    EXPECT_EQ(QSize(pixels.GetWidth(), pixels.GetHeight()), viewport.size());
    const QImage shot = viewport.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int scale = static_cast<int>(viewport.devicePixelRatioF());
    ASSERT_EQ(shot.size(), viewport.size() * scale);
    int blurred = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            blurred += shot.pixel(x, y) != shot.pixel(x - x % scale, y - y % scale);
        }
    }
    EXPECT_EQ(blurred, 0);
}

}  // namespace
