// The main window as a person meets it: mouse, scroll bars, wheel, Save As, grey items, screen.
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "QtAppHarness.h"
#include "framework/AfxIds.h"
#include "framework/CRecentFileList.h"
#include "objects/DrawableObject.h"
#include "qt/StatusBarPanes.h"

namespace {

using namespace qt_test;

const std::string kExample = std::string(VELK_WORLDS_DIR) + "/example.world";

class MainWindowInputTest : public ::testing::TestWithParam<QPoint> {
protected:
    QScrollBar* Bar(bool vertical) const {
        ClientArea* area = run.Window().GetClientArea();
        return vertical ? area->verticalScrollBar() : area->horizontalScrollBar();
    }
    ScriptedDialogs dialogs;
    VelkRun run{dialogs};
};

// Outside the 800 by 600 client area nothing is seen: the object stays one move behind the
// last move inside, and the drag whose release was not seen goes on until a release inside.
TEST_P(MainWindowInputTest, DragPastAnEdgeStopsThere) {
    ASSERT_TRUE(run.Start({kExample}));
    QWidget& view = run.Viewport();
    const QPoint grab(120, 80), inside = GetParam(), halfway = (grab + inside) / 2;
    QTest::mouseMove(&view, grab);
    QTest::mousePress(&view, Qt::LeftButton, {}, grab);
    for (QPoint to : {halfway, inside, inside * 2 - grab}) {
        QTest::mouseMove(&view, to);
    }
    QTest::mouseRelease(&view, Qt::LeftButton, {}, inside * 2 - grab);
    DrawPoint at(0, 0, 0);
    EXPECT_EQ(run.Document().GetDrawables().head->value->GetPosition(at).GetPoint(),
              (POINT{halfway.x(), halfway.y()}));
    for (QPoint to : {QPoint(400, 300), QPoint(410, 310)}) {
        QTest::mouseMove(&view, to);
    }
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(410, 310));
    QTest::mouseMove(&view, QPoint(500, 400));
    EXPECT_EQ(run.Document().GetDrawables().head->value->GetPosition(at).GetPoint(),
              (POINT{400, 300}));
}

// The last place inside at each edge, on the way out.
INSTANTIATE_TEST_SUITE_P(EachEdge, MainWindowInputTest,
                         ::testing::Values(QPoint(0, 80), QPoint(799, 80), QPoint(120, 0),
                                           QPoint(120, 599)));

// The thumb is the visible share (Qt's page step); the trough scrolls a tenth of the world.
// Shift turns the wheel sideways; a notch is three lines of a hundredth of the world.
TEST_F(MainWindowInputTest, ScrollBarsAndWheel) {
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.Window()));
    for (bool vertical : {false, true}) {
        QScrollBar* bar = Bar(vertical);
        const int visible = vertical ? run.Viewport().height() : run.Viewport().width();
        EXPECT_EQ(bar->pageStep(), visible);
        EXPECT_EQ(bar->maximum(), 1024 - visible);
        const QPoint trough = vertical ? QPoint(bar->width() / 2, bar->height() - 30)
                                       : QPoint(bar->width() - 30, bar->height() / 2);
        QTest::mouseClick(bar, Qt::LeftButton, {}, trough);
        EXPECT_EQ(bar->value(), 102);
    }
    for (Qt::KeyboardModifier modifier : {Qt::ShiftModifier, Qt::NoModifier}) {
        QWheelEvent notch({100, 100}, {100, 100}, {}, {0, -120}, {}, modifier, {}, false);
        QApplication::sendEvent(&run.Viewport(), &notch);
    }
    EXPECT_EQ(Bar(false)->value(), 132);
    EXPECT_EQ(Bar(true)->value(), 132);
}

TEST_F(MainWindowInputTest, SaveAsProposesTheDocumentsFullPath) {
    ASSERT_TRUE(run.Start({kExample}));
    run.Frame().ExecuteCommand(afx::ID_FILE_SAVE_AS);
    run.Frame().ExecuteCommand(afx::ID_FILE_NEW);
    run.Frame().ExecuteCommand(afx::ID_FILE_SAVE_AS);
    EXPECT_EQ(dialogs.saveProposed, (std::vector<std::string>{kExample, "Untitled"}));
}

TEST_F(MainWindowInputTest, GreyMenuItemsShowTheirOwnPrompts) {
    ASSERT_TRUE(run.Start());
    while (run.app->GetRecentFileList()->GetSize() > 0) {  // other tests opened files
        run.app->GetRecentFileList()->Remove(0);
    }
    for (auto [menu, item, prompt] : {std::tuple{1, "&Undo\tCtrl+Z", "Undo the last action"},
                                      {0, "&Open...\tCtrl+O", "Open an existing document"},
                                      {0, "Recent File", "Open this document"}}) {
        QMenu* popup = run.Window().GetMenus()[menu];
        popup->popup({0, 0});
        for (QAction* action : popup->actions()) {
            if (action->text() == item) {
                QTest::mouseMove(popup, popup->actionGeometry(action).center());
            }
        }
        EXPECT_EQ(run.Window().GetStatusPanes()->GetPane(0)->text().toStdString(), prompt);
        popup->hide();
    }
}

// Also run at QT_SCALE_FACTOR=2, where the screen has 640 by 512 units.
TEST_F(MainWindowInputTest, FrameStartsWithinTheScreen) {
    ASSERT_TRUE(run.Start({kExample}));
    const QSize room = run.Window().screen()->availableGeometry().size();
    EXPECT_LE(run.Window().frameGeometry().width(), room.width());
    EXPECT_LE(run.Window().frameGeometry().height(), room.height());
}

}  // namespace
