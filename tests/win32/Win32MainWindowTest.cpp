// The program's main frame on the Windows backend, driven through Windows' messages: the same
// promises as the Qt main window's tests, wherever the behaviour is the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "NativeDriver.h"
#include "Win32AppHarness.h"
#include "framework/AfxIds.h"
#include "framework/CRecentFileList.h"
#include "objects/DrawableObject.h"
#include "support/TestFiles.h"
#include "win32/Win32StatusBar.h"

namespace {

using namespace win32_test;
namespace fs = std::filesystem;
using velk_test::PathText;
using velk_test::ReadFileBytes;

const fs::path kExample = velk_test::PathOf(VELK_WORLDS_DIR) / "example.world";

POINT PositionOf(World& world, int index) {
    const PointerListNode<DrawableObject>* node = world.GetDrawables().head;
    for (int i = 0; i < index && node != nullptr; ++i) {
        node = node->next;
    }
    DrawPoint position(0, 0, 0);
    return node != nullptr ? node->value->GetPosition(position).GetPoint() : POINT{-1, -1};
}

class Win32MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int made = 0;
        folder = fs::temp_directory_path() / ("velk-win32-" + std::to_string(++made));
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::copy_file(kExample, folder / "example.world");
    }
    void TearDown() override {
        run.Finish();
        fs::remove_all(folder);
    }
    std::string Path(const std::string& name) const { return PathText(folder / name); }
    std::string Prompt() const { return run.Window().GetStatusBar()->GetShownText(0); }
    void ForgetRecentFiles() const {
        while (run.app->GetRecentFileList()->GetSize() > 0) {  // other tests opened files
            run.app->GetRecentFileList()->Remove(0);
        }
    }
    /// A drag with the left button, as Windows reports it: an object follows the mouse one
    /// move behind, so the hand comes to rest a pixel past the target before letting go.
    void Drag(POINT from, POINT to) {
        void* client = run.ClientHandle();
        SendMouse(client, Mouse::Move, from.x, from.y, false);
        SendMouse(client, Mouse::LeftDown, from.x, from.y, true);
        SendMouse(client, Mouse::Move, (from.x + to.x) / 2, (from.y + to.y) / 2, true);
        SendMouse(client, Mouse::Move, to.x, to.y, true);
        SendMouse(client, Mouse::Move, to.x + 1, to.y + 1, true);
        SendMouse(client, Mouse::LeftUp, to.x + 1, to.y + 1, false);
    }

    fs::path folder;
    ScriptedDialogs dialogs;
    VelkRun run{dialogs};
};

// The menu bar as the resource has it, each item grey or not as the commands' routing says
// when the menu opens: nothing handles the Edit commands, and the recent files' placeholder
// is grey while the list is empty.
TEST_F(Win32MainWindowTest, MenusComeFromTheResourceWithTheirGreyItems) {
    ASSERT_TRUE(run.Start());
    ForgetRecentFiles();
    void* frame = run.FrameHandle();
    EXPECT_EQ(MenuBarTitles(frame), (std::vector<std::string>{"&File", "&Edit", "&View", "&Help"}));
    using Entries = std::vector<MenuEntry>;
    EXPECT_EQ(OpenMenu(frame, 0), (Entries{{"&New\tCtrl+N", true, false, afx::ID_FILE_NEW},
                                           {"&Open...\tCtrl+O", true, false, afx::ID_FILE_OPEN},
                                           {"&Save\tCtrl+S", true, false, afx::ID_FILE_SAVE},
                                           {"Save &As...", true, false, afx::ID_FILE_SAVE_AS},
                                           {"-"},
                                           {"Recent File", false, false, afx::ID_FILE_MRU_FILE1},
                                           {"-"},
                                           {"E&xit", true, false, afx::ID_APP_EXIT}}));
    EXPECT_EQ(OpenMenu(frame, 1), (Entries{{"&Undo\tCtrl+Z", false, false, afx::ID_EDIT_UNDO},
                                           {"-"},
                                           {"Cu&t\tCtrl+X", false, false, afx::ID_EDIT_CUT},
                                           {"&Copy\tCtrl+C", false, false, afx::ID_EDIT_COPY},
                                           {"&Paste\tCtrl+V", false, false, afx::ID_EDIT_PASTE}}));
    EXPECT_EQ(OpenMenu(frame, 2), (Entries{{"&Status Bar", true, true, afx::ID_VIEW_STATUS_BAR}}));
    EXPECT_EQ(OpenMenu(frame, 3), (Entries{{"&About Velk...", true, false, afx::ID_APP_ABOUT}}));
}

// "Ready", the prompt of the item under the pointer, grey or not, and "Ready" again when the
// menu closes; CAP, NUM and SCRL show while their key is on. The View item hides the bar.
TEST_F(Win32MainWindowTest, StatusBarShowsPromptsAndFollowsTheLockKeys) {
    ASSERT_TRUE(run.Start());
    ForgetRecentFiles();
    void* frame = run.FrameHandle();
    EXPECT_EQ(Prompt(), "Ready");
    for (auto [menu, position, prompt] : {std::tuple{0, 1, "Open an existing document"},
                                          {1, 0, "Undo the last action"},
                                          {0, 5, "Open this document"},
                                          {0, 4, "Ready"}}) {
        OpenMenu(frame, menu);
        HoverMenuItem(frame, menu, position);
        EXPECT_EQ(Prompt(), prompt);
    }
    CloseMenu(frame);
    EXPECT_EQ(Prompt(), "Ready");

    Win32StatusBar& bar = *run.Window().GetStatusBar();
    for (auto [caps, num, scroll] : {std::tuple{true, false, true}, {false, true, false}}) {
        SetLockKeys(caps, num, scroll);
        bar.ShowLockKeys();
        EXPECT_EQ(bar.GetShownText(1), caps ? "CAP" : "");
        EXPECT_EQ(bar.GetShownText(2), num ? "NUM" : "");
        EXPECT_EQ(bar.GetShownText(3), scroll ? "SCRL" : "");
    }
    SetLockKeys(false, false, false);

    ChooseMenuItem(frame, 2, 0);
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_FALSE(OpenMenu(frame, 2)[0].checked);
}

TEST_F(Win32MainWindowTest, StartsOnTheFileNamedOnTheCommandLine) {
    ASSERT_TRUE(run.Start({Path("example.world")}));
    EXPECT_TRUE(IsShown(run.FrameHandle()));
    EXPECT_EQ(WindowText(run.FrameHandle()), "example.world - Velk");
    EXPECT_EQ(run.Document().GetAllObjects().count, 2);
    // The frame shrank until the view is the world's size, 800 by 600.
    int width = 0, height = 0;
    GetClientSize(run.ClientHandle(), width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_TRUE(dialogs.messages.empty());
}

// The accelerator table is the resource's: Ctrl+N from the keyboard makes a new world.
TEST_F(Win32MainWindowTest, CtrlNFromTheKeyboardMakesANewWorld) {
    ASSERT_TRUE(run.Start({Path("example.world")}));
    EXPECT_TRUE(PressKey(run.ClientHandle(), 'N', true));
    EXPECT_EQ(WindowText(run.FrameHandle()), "Untitled - Velk");
    EXPECT_EQ(run.Document().GetAllObjects().count, 0);
    EXPECT_FALSE(PressKey(run.ClientHandle(), 'N', false));
}

TEST_F(Win32MainWindowTest, DragMarksModifiedAndSaveThenReopenKeepsTheMove) {
    ASSERT_TRUE(run.Start({Path("example.world")}));
    ASSERT_EQ(PositionOf(run.Document(), 0), (POINT{120, 80}));
    Drag(POINT{120, 80}, POINT{220, 180});
    EXPECT_EQ(PositionOf(run.Document(), 0), (POINT{220, 180}));
    EXPECT_TRUE(run.Document().IsModified());

    EXPECT_TRUE(PressKey(run.ClientHandle(), 'S', true));
    EXPECT_FALSE(run.Document().IsModified());
    EXPECT_NE(ReadFileBytes(folder / "example.world"), ReadFileBytes(kExample));

    ASSERT_TRUE(run.Frame().ExecuteCommand(afx::ID_FILE_NEW));
    dialogs.openAnswers.push_back(Path("example.world"));
    ASSERT_TRUE(run.Frame().ExecuteCommand(afx::ID_FILE_OPEN));
    EXPECT_EQ(PositionOf(run.Document(), 0), (POINT{220, 180}));
    EXPECT_EQ(PositionOf(run.Document(), 1), (POINT{300, 200}));
    EXPECT_TRUE(dialogs.messages.empty());
}

// The close box asks first: Cancel keeps the window, No closes it unsaved.
TEST_F(Win32MainWindowTest, ClosingAModifiedWorldAsksToSaveIt) {
    ASSERT_TRUE(run.Start({Path("example.world")}));
    Drag(POINT{300, 200}, POINT{310, 210});
    ASSERT_TRUE(run.Document().IsModified());

    dialogs.saveChangesAnswers.push_back(SaveChoice::cancel);
    CloseWindow(run.FrameHandle());
    EXPECT_TRUE(IsShown(run.FrameHandle()));
    EXPECT_FALSE(run.platform.HasQuit());

    dialogs.saveChangesAnswers.push_back(SaveChoice::discard);
    CloseWindow(run.FrameHandle());
    EXPECT_FALSE(IsShown(run.FrameHandle()));
    EXPECT_TRUE(run.platform.HasQuit());
    EXPECT_EQ(dialogs.saveChangesAsked,
              (std::vector<std::string>{Path("example.world"), Path("example.world")}));
    EXPECT_EQ(ReadFileBytes(folder / "example.world"), ReadFileBytes(kExample));
}

// The recent files live in the registry and come back in the File menu of the next run.
TEST_F(Win32MainWindowTest, RecentFilesSurviveARestart) {
    fs::copy_file(kExample, folder / "second.world");
    ASSERT_TRUE(run.Start({Path("example.world")}));
    dialogs.openAnswers.push_back(Path("second.world"));
    ASSERT_TRUE(run.Frame().ExecuteCommand(afx::ID_FILE_OPEN));
    run.Finish();

    VelkRun again(dialogs);
    ASSERT_TRUE(again.Start());
    const std::vector<MenuEntry> items = OpenMenu(again.FrameHandle(), 0);
    ASSERT_GE(items.size(), 7u);
    EXPECT_EQ(items[5].text, "&1 " + Path("second.world"));
    EXPECT_EQ(items[6].text, "&2 " + Path("example.world"));
    EXPECT_TRUE(items[6].enabled);
    ChooseMenuItem(again.FrameHandle(), 0, 6);
    EXPECT_EQ(WindowText(again.FrameHandle()), "example.world - Velk");
}

// The thumb is the visible share; the trough scrolls a tenth of the world. Shift turns the
// wheel sideways; a notch is three lines of a hundredth of the world.
TEST_F(Win32MainWindowTest, ScrollBarsAndWheel) {
    ASSERT_TRUE(run.Start());
    void* client = run.ClientHandle();
    int width = 0, height = 0;
    GetClientSize(client, width, height);
    for (bool vertical : {false, true}) {
        const BarState bar = GetBar(client, vertical);
        const int visible = vertical ? height : width;
        EXPECT_TRUE(bar.visible);
        EXPECT_EQ(bar.page, visible);
        EXPECT_EQ(bar.maximum, 1024 - visible);
        ScrollPageOn(client, vertical);
        EXPECT_EQ(GetBar(client, vertical).position, 102);
    }
    SendWheel(run.FrameHandle(), -120, true);
    SendWheel(client, -60, false);
    SendWheel(client, -60, false);
    EXPECT_EQ(GetBar(client, false).position, 132);
    EXPECT_EQ(GetBar(client, true).position, 132);
}

TEST_F(Win32MainWindowTest, SaveAsProposesTheDocumentsFullPath) {
    ASSERT_TRUE(run.Start({Path("example.world")}));
    run.Frame().ExecuteCommand(afx::ID_FILE_SAVE_AS);
    run.Frame().ExecuteCommand(afx::ID_FILE_NEW);
    run.Frame().ExecuteCommand(afx::ID_FILE_SAVE_AS);
    EXPECT_EQ(dialogs.saveProposed, (std::vector<std::string>{Path("example.world"), "Untitled"}));
}

// The About box is the dialog resource on screen: caption, version and copyright texts, the
// program's icon and a default OK button that closes it.
TEST_F(Win32MainWindowTest, AboutBoxShowsTheDialogResource) {
    ASSERT_TRUE(run.Start());
    DialogContents seen;
    OnNextDialog([&](void* dialog) {
        seen = ReadDialog(dialog);
        ClickButton(dialog, afx::IDOK);
    });
    ChooseMenuItem(run.FrameHandle(), 3, 0);
    EXPECT_EQ(dialogs.modalResult, afx::IDOK);
    EXPECT_EQ(seen.caption, "About Velk");
    EXPECT_EQ(seen.texts,
              (std::vector<std::string>{"Velk Version 1.0.0.1", "Copyright (C) 2026 Velk"}));
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"OK"}));
    EXPECT_EQ(seen.defaultButton, afx::IDOK);
    EXPECT_TRUE(seen.iconShown);
}

}  // namespace
