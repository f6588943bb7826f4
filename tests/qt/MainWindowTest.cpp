#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "QtAppHarness.h"
#include "framework/AfxIds.h"
#include "objects/DrawableObject.h"
#include "qt/StatusBarPanes.h"
#include "support/TestFiles.h"

namespace {

using namespace qt_test;
namespace fs = std::filesystem;

const fs::path kExample = fs::path(VELK_WORLDS_DIR) / "example.world";

using velk_test::ReadFileBytes;

std::vector<std::string> ActionTexts(QMenu* menu) {
    std::vector<std::string> texts;
    for (QAction* action : menu->actions()) {
        texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    }
    return texts;
}

/// The menu's items as they show when it opens: text and whether enabled.
std::vector<std::pair<std::string, bool>> OpenedMenu(QMenu* menu) {
    emit menu->aboutToShow();
    std::vector<std::pair<std::string, bool>> items;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            items.emplace_back(action->text().toStdString(), action->isEnabled());
        }
    }
    emit menu->aboutToHide();
    return items;
}

QAction* FindAction(QMenu* menu, const std::string& text) {
    emit menu->aboutToShow();
    for (QAction* action : menu->actions()) {
        if (action->text().toStdString() == text) {
            return action;
        }
    }
    return nullptr;
}

POINT PositionOf(World& world, int index) {
    const PointerListNode<DrawableObject>* node = world.GetDrawables().head;
    for (int i = 0; i < index && node != nullptr; ++i) {
        node = node->next;
    }
    DrawPoint position(0, 0, 0);
    return node != nullptr ? node->value->GetPosition(position).GetPoint() : POINT{-1, -1};
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int made = 0;
        folder = fs::temp_directory_path() /
                 ("velk-qt-" + std::to_string(::getpid()) + "-" + std::to_string(++made));
        fs::create_directories(folder);
        fs::copy_file(kExample, folder / "example.world");
    }
    void TearDown() override {
        run.Finish();
        fs::remove_all(folder);
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }

    /// Drags with the left button from one client point to another, as a person would. An
    /// object follows the mouse one move behind (it sees the previous move's place), so the
    /// hand comes to rest a pixel past the target before letting go.
    void Drag(QPoint from, QPoint to) {
        QWidget& viewport = run.Viewport();
        QTest::mouseMove(&viewport, from);
        QTest::mousePress(&viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(&viewport, (from + to) / 2);
        QTest::mouseMove(&viewport, to);
        QTest::mouseMove(&viewport, to + QPoint(1, 1));
        QTest::mouseRelease(&viewport, Qt::LeftButton, {}, to + QPoint(1, 1));
    }

    fs::path folder;
    ScriptedDialogs dialogs;
    VelkRun run{dialogs};
};

TEST_F(MainWindowTest, MenuBarIsBuiltFromTheMenuResource) {
    ASSERT_TRUE(run.Start());
    const std::vector<QMenu*>& menus = run.Window().GetMenus();
    std::vector<std::string> titles;
    for (QMenu* menu : menus) {
        titles.push_back(menu->title().toStdString());
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Edit", "&View", "&Help"}));
    emit menus[0]->aboutToShow();
    EXPECT_EQ(ActionTexts(menus[0]),
              (std::vector<std::string>{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S",
                                        "Save &As...", "-", "Recent File", "-", "E&xit"}));
    EXPECT_EQ(ActionTexts(menus[1]), (std::vector<std::string>{"&Undo\tCtrl+Z", "-", "Cu&t\tCtrl+X",
                                                               "&Copy\tCtrl+C", "&Paste\tCtrl+V"}));
    EXPECT_EQ(ActionTexts(menus[2]), (std::vector<std::string>{"&Status Bar"}));
    EXPECT_EQ(ActionTexts(menus[3]), (std::vector<std::string>{"&About Velk..."}));
}

// Nothing handles the Edit commands, so their items are grey; the recent-file placeholder is
// grey while the list is empty; everything else is live.
TEST_F(MainWindowTest, EditEntriesAndTheEmptyRecentFileListAreDisabled) {
    ASSERT_TRUE(run.Start());
    const std::vector<QMenu*>& menus = run.Window().GetMenus();
    using Items = std::vector<std::pair<std::string, bool>>;
    EXPECT_EQ(OpenedMenu(menus[0]), (Items{{"&New\tCtrl+N", true},
                                           {"&Open...\tCtrl+O", true},
                                           {"&Save\tCtrl+S", true},
                                           {"Save &As...", true},
                                           {"Recent File", false},
                                           {"E&xit", true}}));
    EXPECT_EQ(OpenedMenu(menus[1]), (Items{{"&Undo\tCtrl+Z", false},
                                           {"Cu&t\tCtrl+X", false},
                                           {"&Copy\tCtrl+C", false},
                                           {"&Paste\tCtrl+V", false}}));
    EXPECT_EQ(OpenedMenu(menus[2]), (Items{{"&Status Bar", true}}));
    EXPECT_EQ(OpenedMenu(menus[3]), (Items{{"&About Velk...", true}}));
}

// Every accelerator of the table, its keys and whether it is live.
TEST_F(MainWindowTest, AcceleratorsBecomeShortcutsLiveOnlyForHandledCommands) {
    ASSERT_TRUE(run.Start());
    std::vector<std::pair<std::string, bool>> shortcuts;
    for (QShortcut* shortcut : run.Window().GetShortcuts()) {
        shortcuts.emplace_back(shortcut->key().toString().toStdString(), shortcut->isEnabled());
    }
    EXPECT_EQ(shortcuts, (std::vector<std::pair<std::string, bool>>{{"Ctrl+N", true},
                                                                    {"Ctrl+O", true},
                                                                    {"Ctrl+S", true},
                                                                    {"Ctrl+Z", false},
                                                                    {"Ctrl+X", false},
                                                                    {"Ctrl+C", false},
                                                                    {"Ctrl+V", false},
                                                                    {"Alt+Backspace", false},
                                                                    {"Shift+Del", false},
                                                                    {"Ctrl+Ins", false},
                                                                    {"Shift+Ins", false},
                                                                    {"F6", false},
                                                                    {"Shift+F6", false}}));
}

TEST_F(MainWindowTest, CtrlNFromTheKeyboardMakesANewWorld) {
    ASSERT_TRUE(run.Start({Path("example.world")}));
    run.Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&run.Window()));
    QTest::keyClick(&run.Window(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(run.Window().windowTitle().toStdString(), "Untitled[*] - Velk");
    EXPECT_EQ(run.Document().GetAllObjects().count, 0);
    std::int32_t width = 0, height = 0;
    run.Document().GetWorldSize(width, height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 1024);
}

TEST_F(MainWindowTest, StartsOnTheFileNamedOnTheCommandLine) {
    ASSERT_TRUE(run.Start({Path("example.world")}));
    EXPECT_TRUE(run.Window().isVisible());
    EXPECT_EQ(run.Window().windowTitle().toStdString(), "example.world[*] - Velk");
    EXPECT_FALSE(run.Window().isWindowModified());
    EXPECT_EQ(run.Document().GetAllObjects().count, 2);
    // The frame shrank until the view is the world's size, 800 by 600.
    EXPECT_EQ(run.Viewport().size(), QSize(800, 600));
    EXPECT_EQ(dialogs.messages.size(), 0u);
}

// The status bar: "Ready", the highlighted item's prompt, "Ready" again when the menu closes,
// and the three lock-key panes.
TEST_F(MainWindowTest, StatusBarShowsReadyPromptsAndLockKeyPanes) {
    ASSERT_TRUE(run.Start());
    StatusBarPanes* panes = run.Window().GetStatusPanes();
    ASSERT_NE(panes, nullptr);
    std::vector<std::string> texts;
    for (std::size_t i = 0; panes->GetPane(i) != nullptr; ++i) {
        texts.push_back(panes->GetPane(i)->text().toStdString());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Ready", "CAP", "NUM", "SCRL"}));
    QMenu* file = run.Window().GetMenus()[0];
    emit file->aboutToShow();
    emit file->hovered(file->actions()[1]);
    EXPECT_EQ(panes->GetPane(0)->text().toStdString(), "Open an existing document");
    EXPECT_TRUE(panes->GetPane(0)->isVisible());
    emit file->aboutToHide();
    EXPECT_EQ(panes->GetPane(0)->text().toStdString(), "Ready");

    QAction* toggle = FindAction(run.Window().GetMenus()[2], "&Status Bar");
    ASSERT_NE(toggle, nullptr);
    EXPECT_TRUE(toggle->isChecked());
    toggle->trigger();
    EXPECT_FALSE(run.Window().statusBar()->isVisible());
}

// A drag with the mouse moves the object under the pointer and marks the world modified; Save
// writes it, and the saved file reopens with the object where it was dropped.
TEST_F(MainWindowTest, DragMarksModifiedAndSaveThenReopenKeepsTheMove) {
    ASSERT_TRUE(run.Start({Path("example.world")}));
    ASSERT_EQ(PositionOf(run.Document(), 0), (POINT{120, 80}));
    Drag(QPoint(120, 80), QPoint(220, 180));
    EXPECT_EQ(PositionOf(run.Document(), 0), (POINT{220, 180}));
    EXPECT_TRUE(run.Window().isWindowModified());
    EXPECT_TRUE(run.Document().IsModified());

    ASSERT_TRUE(run.Frame().ExecuteCommand(afx::ID_FILE_SAVE));
    EXPECT_FALSE(run.Window().isWindowModified());
    EXPECT_NE(ReadFileBytes(Path("example.world")), ReadFileBytes(kExample));

    ASSERT_TRUE(run.Frame().ExecuteCommand(afx::ID_FILE_NEW));
    EXPECT_EQ(run.Document().GetAllObjects().count, 0);
    dialogs.openAnswers.push_back(Path("example.world"));
    ASSERT_TRUE(run.Frame().ExecuteCommand(afx::ID_FILE_OPEN));
    EXPECT_EQ(PositionOf(run.Document(), 0), (POINT{220, 180}));
    EXPECT_EQ(PositionOf(run.Document(), 1), (POINT{300, 200}));
    EXPECT_EQ(run.Window().windowTitle().toStdString(), "example.world[*] - Velk");
    EXPECT_TRUE(dialogs.messages.empty());
}

// Closing a modified world asks first: Cancel keeps the window, No closes it unsaved.
TEST_F(MainWindowTest, ClosingAModifiedWorldAsksToSaveIt) {
    ASSERT_TRUE(run.Start({Path("example.world")}));
    Drag(QPoint(300, 200), QPoint(310, 210));
    ASSERT_TRUE(run.Document().IsModified());

    dialogs.saveChangesAnswers.push_back(SaveChoice::cancel);
    EXPECT_FALSE(run.Window().close());
    EXPECT_TRUE(run.Window().isVisible());
    EXPECT_FALSE(run.platform.HasQuit());

    dialogs.saveChangesAnswers.push_back(SaveChoice::discard);
    EXPECT_TRUE(run.Window().close());
    EXPECT_TRUE(run.platform.HasQuit());
    EXPECT_EQ(dialogs.saveChangesAsked,
              (std::vector<std::string>{Path("example.world"), Path("example.world")}));
    EXPECT_EQ(ReadFileBytes(Path("example.world")), ReadFileBytes(kExample));
}

TEST_F(MainWindowTest, RecentFilesSurviveARestart) {
    fs::copy_file(kExample, folder / "second.world");
    ASSERT_TRUE(run.Start({Path("example.world")}));
    dialogs.openAnswers.push_back(Path("second.world"));
    ASSERT_TRUE(run.Frame().ExecuteCommand(afx::ID_FILE_OPEN));
    run.Finish();

    VelkRun again(dialogs);
    ASSERT_TRUE(again.Start());
    std::vector<std::pair<std::string, bool>> items = OpenedMenu(again.Window().GetMenus()[0]);
    ASSERT_GE(items.size(), 6u);
    EXPECT_EQ(items[4], std::make_pair("&1 " + Path("second.world"), true));
    EXPECT_EQ(items[5], std::make_pair("&2 " + Path("example.world"), true));

    FindAction(again.Window().GetMenus()[0], "&2 " + Path("example.world"))->trigger();
    EXPECT_EQ(again.Window().windowTitle().toStdString(), "example.world[*] - Velk");
}

TEST_F(MainWindowTest, AboutBoxIsModalWithTitleCopyrightIconAndOk) {
    ASSERT_TRUE(run.Start());
    std::string caption;
    std::vector<std::string> labels;
    bool iconShown = false;
    dialogs.onModal = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        caption = modal->windowTitle().toStdString();
        for (QLabel* label : modal->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) {
                iconShown = true;
            } else {
                labels.push_back(label->text().toStdString());
            }
        }
        auto* ok = modal->findChild<QPushButton*>();
        ASSERT_NE(ok, nullptr);
        EXPECT_TRUE(ok->isDefault());
        ok->click();
    };
    QAction* about = FindAction(run.Window().GetMenus()[3], "&About Velk...");
    ASSERT_NE(about, nullptr);
    about->trigger();
    EXPECT_EQ(dialogs.modalResult, afx::IDOK);
    EXPECT_EQ(caption, "About Velk");
    EXPECT_EQ(labels,
              (std::vector<std::string>{"Velk Version 1.0.0.1", "Copyright (C) 2026 Velk"}));
    EXPECT_TRUE(iconShown);
}

// A file that is not a world is refused with a message naming it and why; the world that was
// open stays, unchanged and bound to its own file, so Save cannot write over the refused one.
TEST_F(MainWindowTest, OpeningANonWorldFileKeepsTheWorldThatWasOpen) {
    ASSERT_TRUE(run.Start({Path("example.world")}));
    const int objects = run.Document().GetAllObjects().count;
    std::ofstream(Path("notes.txt")) << "Shopping: bread, milk\n";
    dialogs.openAnswers.push_back(Path("notes.txt"));
    run.Frame().ExecuteCommand(afx::ID_FILE_OPEN);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].first, MessageKind::error);
    EXPECT_NE(dialogs.messages[0].second.find(Path("notes.txt")), std::string::npos);
    EXPECT_NE(dialogs.messages[0].second.find("not a world file"), std::string::npos);
    EXPECT_EQ(run.Window().windowTitle().toStdString(), "example.world[*] - Velk");
    EXPECT_EQ(run.Document().GetPathName(), Path("example.world"));
    EXPECT_EQ(run.Document().GetAllObjects().count, objects);
    EXPECT_FALSE(run.Document().IsModified());
    EXPECT_EQ(ReadFileBytes(Path("notes.txt")), "Shopping: bread, milk\n");
}

}  // namespace

// A long open shows a modal progress dialog naming the file; its Cancel ends the open quietly
// and the window shows the world that was open, as it was. A completed open or save says in the
// status bar what it did, until the next menu prompt. The delay is cut to nothing, so a world of
// 3,000 objects counts as long.
TEST_F(MainWindowTest, LongOpenShowsProgressWhoseCancelStopsIt) {
    const std::string example = ReadFileBytes(kExample);
    const std::size_t first = example.find("draggable");
    std::string text = "800 600\n\n";
    for (int i = 0; i < 3000; ++i) {
        text += example.substr(first, example.find("draggable", first + 1) - first);
    }
    velk_test::WriteFileBytes(Path("big.world"), text);
    ASSERT_TRUE(run.Start({Path("example.world")}));
    const int objects = run.Document().GetAllObjects().count;
    run.Document().SetProgressDelay(0);
    int updates = 0;
    bool cancel = true;
    dialogs.onProgress = [&](QProgressDialog& dialog) {
        ++updates;
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        EXPECT_TRUE(dialog.labelText().contains("big.world"));
        if (cancel) {
            QTest::mouseClick(dialog.findChild<QPushButton*>(), Qt::LeftButton);
        }
    };
    dialogs.openAnswers.push_back(Path("big.world"));
    run.Frame().ExecuteCommand(afx::ID_FILE_OPEN);
    EXPECT_EQ(updates, 1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(run.Document().GetAllObjects().count, objects);
    EXPECT_EQ(run.Window().windowTitle().toStdString(), "example.world[*] - Velk");
    EXPECT_FALSE(run.Window().isWindowModified());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    cancel = false;
    dialogs.openAnswers.push_back(Path("big.world"));
    run.Frame().ExecuteCommand(afx::ID_FILE_OPEN);
    EXPECT_EQ(run.Document().GetAllObjects().count, 3000);
    QLabel* message = run.Window().GetStatusPanes()->GetPane(0);
    EXPECT_TRUE(message->text().startsWith("Opened big.world: 3,000 objects in "))
        << message->text().toStdString();
    run.Document().SetModifiedFlag();
    run.Frame().ExecuteCommand(afx::ID_FILE_SAVE);
    EXPECT_TRUE(message->text().startsWith("Saved big.world: 3,000 objects in "));
    const std::string saved = ReadFileBytes(Path("big.world"));  // its size follows the window
    EXPECT_TRUE(saved.substr(saved.find('\n')) == text.substr(text.find('\n')));
    emit run.Window().GetMenus()[0]->aboutToHide();
    EXPECT_EQ(message->text().toStdString(), "Ready");
    EXPECT_TRUE(dialogs.messages.empty());
}
