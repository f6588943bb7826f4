// The client area's own promises to the window it shows, through Windows' messages: WM_TIMER,
// one paint for what was invalidated, and the mouse without capture; and the platform's
// passing of a file watcher's calls to the interface thread.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "NativeDriver.h"
#include "framework/Backend.h"
#include "framework/CWnd.h"
#include "win32/NativeFrame.h"
#include "win32/Win32ClientArea.h"
#include "win32/Win32Platform.h"

namespace {

using namespace win32_test;

class Probe : public CWnd {
public:
    void OnTimer(std::uintptr_t id) override { timers.push_back(id); }
    void OnPaint() override {
        ++paints;
        CWnd::OnPaint();
    }
    void OnLButtonDown(unsigned flags, POINT point) override { Note("down", flags, point); }
    void OnLButtonUp(unsigned flags, POINT point) override { Note("up", flags, point); }
    void OnMouseMove(unsigned flags, POINT point) override { Note("move", flags, point); }

    std::vector<std::uintptr_t> timers;
    int paints = 0;
    std::vector<std::string> mouse;

private:
    void Note(const char* what, unsigned flags, POINT point) {
        mouse.push_back(std::string(what) + " " + std::to_string(flags) + " " +
                        std::to_string(point.x) + "," + std::to_string(point.y));
    }
};

class QuietFrame : public win32::FrameEvents {
public:
    void OnCommand(unsigned) override {}
    void QueryCommand(unsigned, bool& enabled, bool& checked) override {
        enabled = false;
        checked = false;
    }
    std::vector<MenuItem> MenuItems(std::size_t) override { return {}; }
    void OnMenuSelect(unsigned) override {}
    bool OnClose() override { return true; }
    void OnTick() override {}
    void OnResized() override {}
};

class Win32ClientAreaTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame.SetChildren(area.Handle(), nullptr);
        ASSERT_TRUE(probe.Create(&area));
    }
    void TearDown() override { probe.DestroyWindow(); }

    QuietFrame events;
    win32::NativeFrame frame{events, 640, 480};
    Win32ClientArea area{frame};
    Probe probe;
};

// The view's timer: id 1 every 100 ms arrives as WM_TIMER; setting it again replaces it, and a
// killed timer is gone.
TEST_F(Win32ClientAreaTest, TimersArriveThroughWmTimerById) {
    ASSERT_TRUE(area.SetTimer(1, 100));
    ASSERT_TRUE(area.SetTimer(1, 100));
    ASSERT_TRUE(PumpUntil([&] { return probe.timers.size() >= 2; }, 5000));
    EXPECT_EQ(probe.timers, (std::vector<std::uintptr_t>(probe.timers.size(), 1)));
    EXPECT_TRUE(area.KillTimer(1));
    EXPECT_FALSE(area.KillTimer(1));
    probe.timers.clear();
    PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(probe.timers.empty());
}

// Everything invalidated before a paint arrives as one; a paint with nothing pending is none.
TEST_F(Win32ClientAreaTest, InvalidatedBoxesArriveAsOnePaint) {
    area.UpdateNow();
    const int before = probe.paints;
    const RECT first{10, 10, 20, 20}, second{100, 50, 120, 70};
    area.Invalidate(&first);
    area.Invalidate(&second);
    area.UpdateNow();
    area.UpdateNow();
    EXPECT_EQ(probe.paints, before + 1);
}

// Mouse messages reach the window with the buttons held and client coordinates; nothing takes
// the mouse captive, so what happens outside the area is not the window's.
TEST_F(Win32ClientAreaTest, MouseReachesTheWindowWithoutCapture) {
    void* client = area.Handle();
    SendMouse(client, Mouse::Move, 5, 6, false);
    SendMouse(client, Mouse::LeftDown, 7, 8, true);
    EXPECT_FALSE(MouseCaptured());
    SendMouse(client, Mouse::Move, 9, 10, true);
    SendMouse(client, Mouse::LeftUp, 11, 12, false);
    EXPECT_EQ(probe.mouse,
              (std::vector<std::string>{"move 0 5,6", "down 1 7,8", "move 1 9,10", "up 0 11,12"}));
}

}  // namespace

namespace {

// The files layer's watcher calls from a thread of its own; the platform hands the call to the
// interface thread, also while only a modal dialog's loop runs there.
TEST(Win32PlatformTest, AWatchersCallReachesTheInterfaceThread) {
    Win32Platform platform;
    std::function<void()> heard;
    class Recorder : public FileWatcher {
    public:
        void Watch(const std::string&) override {}
    };
    platform.SetWatcherFactory([&](std::function<void()> changed) {
        heard = std::move(changed);
        return std::make_unique<Recorder>();
    });
    std::thread::id calledOn;
    std::unique_ptr<FileWatcher> watcher =
        platform.CreateFileWatcher([&] { calledOn = std::this_thread::get_id(); });
    ASSERT_NE(watcher, nullptr);
    std::thread([&] { heard(); }).join();
    EXPECT_EQ(calledOn, std::thread::id());
    ASSERT_TRUE(PumpUntil([&] { return calledOn != std::thread::id(); }, 5000));
    EXPECT_EQ(calledOn, std::this_thread::get_id());
    // A notice posted just before the watch went is dropped, not delivered to what is gone.
    calledOn = std::thread::id();
    std::thread([&] { heard(); }).join();
    watcher.reset();
    EXPECT_FALSE(PumpUntil([&] { return calledOn != std::thread::id(); }, 300));
}

}  // namespace
