// Framework windows on the headless host: binding, painting, timers, scroll bars and the frame.

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/CClientDC.h"
#include "framework/CPaintDC.h"
#include "framework/CScrollView.h"
#include "framework/HeadlessHost.h"
#include "gdi/CBitmap.h"
#include "gdi/CBrush.h"
#include "support/RowName.h"

namespace {

using Log = std::vector<std::string>;

using velk_test::RowName;

std::string Text(const RECT& box) {
    return std::to_string(box.left) + "," + std::to_string(box.top) + "," +
           std::to_string(box.right) + "," + std::to_string(box.bottom);
}

/// A scroll view that logs its messages and paints its paint box, in logical coordinates, in
/// one colour.
class LoggingView : public CScrollView {
public:
    int OnCreate() override {
        log.push_back("create");
        return refuseCreate ? -1 : CScrollView::OnCreate();
    }
    void OnDestroy() override { log.push_back("destroy"); }
    void OnSize(unsigned type, std::int32_t cx, std::int32_t cy) override {
        log.push_back("size " + std::to_string(type) + " " + std::to_string(cx) + "x" +
                      std::to_string(cy));
        CScrollView::OnSize(type, cx, cy);
    }
    void OnScrolled(int bar, std::int32_t position) override {
        log.push_back("scrolled " + std::to_string(bar) + " " + std::to_string(position));
        CScrollView::OnScrolled(bar, position);
    }
    void OnTimer(std::uintptr_t id) override { log.push_back("timer " + std::to_string(id)); }
    void OnLButtonDown(unsigned flags, POINT p) override { Mouse("ldown", flags, p); }
    void OnLButtonUp(unsigned flags, POINT p) override { Mouse("lup", flags, p); }
    void OnRButtonDown(unsigned flags, POINT p) override { Mouse("rdown", flags, p); }
    void OnRButtonUp(unsigned flags, POINT p) override { Mouse("rup", flags, p); }
    void OnMouseMove(unsigned flags, POINT p) override { Mouse("move", flags, p); }
    void OnDraw(CDC* surface) override {
        RECT box{};
        surface->GetClipBox(&box);
        log.push_back("draw " + Text(box));
        CBrush brush(colour);
        CBrush* before = surface->SelectObject(&brush);
        // Far larger than the window: only the paint box may change.
        surface->PatBlt(-10000, -10000, 20000, 20000, PATCOPY);
        surface->SelectObject(before);
    }

    void Mouse(const char* what, unsigned flags, POINT p) {
        log.push_back(std::string(what) + " " + std::to_string(flags) + " " + std::to_string(p.x) +
                      "," + std::to_string(p.y));
    }

    Log log;
    bool refuseCreate = false;
    COLORREF colour = RGB(200, 0, 0);
};

TEST(CWndTest, CreateBindsSendsCreateAndSizeAndDestroyUnbindsAndStopsTimers) {
    HeadlessHost host(SIZE{40, 30});
    LoggingView view, other;
    EXPECT_FALSE(view.Create(nullptr));
    EXPECT_TRUE(view.Create(&host));
    EXPECT_EQ(view.GetHost(), &host);
    EXPECT_FALSE(view.Create(&host));   // bound already
    EXPECT_FALSE(other.Create(&host));  // the host shows another window
    EXPECT_EQ(other.GetHost(), nullptr);
    EXPECT_EQ(view.log, (Log{"create", "size 0 40x30"}));

    view.log.clear();
    EXPECT_EQ(view.SetTimer(7, 1), 7u);  // no busier than every 10 ms
    view.SetTimer(2, 250);
    view.SetTimer(2, 40);  // replaces
    EXPECT_EQ(host.GetTimers(), (std::map<std::uintptr_t, std::uint32_t>{{2, 40}, {7, 10}}));
    EXPECT_TRUE(host.FireTimer(2));
    EXPECT_TRUE(view.KillTimer(2));
    EXPECT_FALSE(view.KillTimer(2));
    EXPECT_FALSE(host.FireTimer(2));
    EXPECT_EQ(view.log, (Log{"timer 2"}));
    EXPECT_TRUE(view.DestroyWindow());
    EXPECT_FALSE(view.DestroyWindow());
    EXPECT_EQ(view.GetHost(), nullptr);
    EXPECT_TRUE(host.GetTimers().empty());
    EXPECT_FALSE(host.FireTimer(7));
    EXPECT_EQ(view.SetTimer(7, 100), 0u);  // no host, no timer
    EXPECT_TRUE(other.Create(&host));      // free again

    LoggingView refusing;
    refusing.refuseCreate = true;
    HeadlessHost second(SIZE{10, 10});
    EXPECT_FALSE(refusing.Create(&second));
    EXPECT_EQ(refusing.GetHost(), nullptr);
    EXPECT_EQ(second.GetWindow(), nullptr);
}

// Either side may go first; the sanitizer build catches a host or window left dangling.
TEST(CWndTest, HostAndWindowOutliveEachOther) {
    auto view = std::make_unique<LoggingView>();
    {
        HeadlessHost host(SIZE{5, 5});
        view->Create(&host);
    }
    EXPECT_EQ(view->GetHost(), nullptr);
    EXPECT_EQ(view->log.back(), "destroy");

    HeadlessHost host(SIZE{5, 5});
    view->Create(&host);
    view.reset();
    EXPECT_EQ(host.GetWindow(), nullptr);
    EXPECT_FALSE(host.PumpPaint());
    host.Resize(SIZE{9, 9});
}

// Every pending box gathers into one paint of their bounding box, within the client area.
struct PaintCase {
    const char* name;
    std::vector<RECT> invalidated;  // {0,0,0,0} stands for the whole client area (null)
    bool painted;
    RECT box;
};

class PendingPaint : public ::testing::TestWithParam<PaintCase> {};

TEST_P(PendingPaint, GathersIntoOnePaintOfTheBoundingBox) {
    HeadlessHost host(SIZE{100, 80});
    LoggingView view;
    view.Create(&host);
    host.PumpPaint();
    for (const RECT& box : GetParam().invalidated) {
        view.InvalidateRect(box == RECT{} ? nullptr : &box, false);
    }
    view.log.clear();
    EXPECT_EQ(host.PumpPaint(), GetParam().painted);
    EXPECT_EQ(view.log, GetParam().painted ? Log{"draw " + Text(GetParam().box)} : Log{});
    EXPECT_FALSE(host.HasPendingPaint());
    EXPECT_FALSE(host.PumpPaint());
}

const PaintCase kPaints[] = {
    {"nothing", {}, false, {}},
    {"whole", {RECT{}}, true, {0, 0, 100, 80}},
    {"one box", {{10, 20, 30, 40}}, true, {10, 20, 30, 40}},
    {"two boxes", {{10, 20, 30, 40}, {50, 5, 60, 25}}, true, {10, 5, 60, 40}},
    {"cut to the client", {{-5, 70, 500, 500}}, true, {0, 70, 100, 80}},
    {"outside only", {{100, 0, 120, 10}, {5, 5, 5, 50}}, false, {}},
};
INSTANTIATE_TEST_SUITE_P(Window, PendingPaint, ::testing::ValuesIn(kPaints), RowName());

TEST(CWndTest, ABaseWindowValidatesItsPaintAndAResizeKeepsTheSharedPixels) {
    HeadlessHost host(SIZE{4, 4});
    CWnd window;
    window.Create(&host);
    EXPECT_TRUE(host.PumpPaint());
    {
        CClientDC client(&window);
        client.SetPixel(3, 3, RGB(1, 2, 3));
        client.SetPixel(0, 1, RGB(4, 5, 6));
    }
    window.Invalidate();
    EXPECT_TRUE(host.PumpPaint());
    EXPECT_FALSE(host.PumpPaint());  // the default processing took it as painted
    host.Resize(SIZE{3, 6});
    EXPECT_EQ(host.GetPendingBox(), (RECT{0, 0, 3, 6}));
    EXPECT_EQ(host.GetClientPixels().GetPixelColor(0, 1), RGB(4, 5, 6));
    EXPECT_EQ(host.GetClientPixels().GetPixelColor(2, 5), RGB(0, 0, 0));
    host.Resize(SIZE{0, 0}, SIZE_MINIMIZED);  // no pixels at all; painting does nothing
    EXPECT_FALSE(host.GetClientPixels().IsCreated());
    window.Invalidate();
    EXPECT_FALSE(host.PumpPaint());
    CClientDC client(&window);
    EXPECT_EQ(client.SetPixel(0, 0, RGB(1, 1, 1)), static_cast<COLORREF>(-1));
}

TEST(CWndTest, MouseMessagesCarryTheButtonsHeld) {
    HeadlessHost host(SIZE{50, 50});
    LoggingView view;
    view.Create(&host);
    view.log.clear();
    host.MouseMove(POINT{1, 2});
    host.ButtonDown(HeadlessHost::Button::Left, POINT{3, 4});
    host.ButtonDown(HeadlessHost::Button::Right, POINT{3, 4});
    host.MouseMove(POINT{-7, 60});  // outside the client area, as while a button is held
    host.ButtonUp(HeadlessHost::Button::Left, POINT{5, 6});
    host.ButtonUp(HeadlessHost::Button::Right, POINT{5, 6});
    EXPECT_EQ(view.log, (Log{"move 0 1,2", "ldown 1 3,4", "rdown 3 3,4", "move 3 -7,60",
                             "lup 2 5,6", "rup 0 5,6"}));
}

// The default steps: a page is a tenth of the total, a line a tenth of a page, at least 1 while
// the total is positive; an area of 0 or less scrolls as an empty one.
struct ScrollSizeCase {
    SIZE total, page, line;  // as given
    SIZE deviceTotal, devicePage, deviceLine;
};

class ScrollSizes : public ::testing::TestWithParam<ScrollSizeCase> {};

TEST_P(ScrollSizes, SetTheStepsAndTheHostsBars) {
    const ScrollSizeCase& row = GetParam();
    HeadlessHost host(SIZE{100, 100});
    LoggingView view;
    view.Create(&host);
    view.SetScrollSizes(MM_TEXT, row.total, row.page, row.line);
    int mode = 0;
    SIZE total, page, line;
    view.GetDeviceScrollSizes(mode, total, page, line);
    EXPECT_EQ(view.GetTotalSize(), row.total);
    EXPECT_EQ(mode, MM_TEXT);
    EXPECT_EQ(total, row.deviceTotal);
    EXPECT_EQ(page, row.devicePage);
    EXPECT_EQ(line, row.deviceLine);
    const HeadlessHost::ScrollBar horizontal = host.GetScrollBar(SB_HORZ);
    const HeadlessHost::ScrollBar vertical = host.GetScrollBar(SB_VERT);
    EXPECT_EQ((SIZE{horizontal.total, vertical.total}), row.deviceTotal);
    EXPECT_EQ((SIZE{horizontal.page, vertical.page}), row.devicePage);
    EXPECT_EQ((SIZE{horizontal.line, vertical.line}), row.deviceLine);
}

constexpr SIZE kDefault = CScrollView::sizeDefault;
const ScrollSizeCase kScrollSizes[] = {
    {{1024, 1024}, kDefault, kDefault, {1024, 1024}, {102, 102}, {10, 10}},
    {{800, 600}, kDefault, kDefault, {800, 600}, {80, 60}, {8, 6}},
    {{55, 9}, kDefault, kDefault, {55, 9}, {5, 1}, {1, 1}},
    {{0, -7}, kDefault, kDefault, {0, 0}, {0, 0}, {0, 0}},
    {{INT32_MIN, INT32_MAX}, kDefault, kDefault, {0, INT32_MAX}, {0, 214748364}, {0, 21474836}},
    {{500, 400}, {30, 0}, {0, 7}, {500, 400}, {30, 40}, {3, 7}},
    {{500, 400}, {-30, 0}, {-1, 0}, {500, 400}, {50, 40}, {5, 4}},
};
INSTANTIATE_TEST_SUITE_P(CScrollView, ScrollSizes, ::testing::ValuesIn(kScrollSizes));

TEST(CScrollViewTest, ScrollPositionsStayInRangeAndMoveTheViewportOrigin) {
    HeadlessHost host(SIZE{100, 50});
    LoggingView view;
    view.Create(&host);
    view.SetScrollSizes(MM_TEXT, SIZE{300, 200});
    view.log.clear();
    host.Scroll(SB_HORZ, 150);
    host.Scroll(SB_VERT, 999);  // clamped to 200 - 50
    host.Scroll(SB_VERT, 150);  // no move, no message
    EXPECT_EQ(view.GetScrollPosition(), (POINT{150, 150}));
    EXPECT_EQ(view.log, (Log{"scrolled 0 150", "scrolled 1 150"}));
    EXPECT_EQ(host.GetPendingBox(), (RECT{0, 0, 100, 50}));

    CClientDC client(&view);
    view.OnPrepareDC(&client);
    EXPECT_EQ(client.GetViewportOrg(), (POINT{-150, -150}));

    view.log.clear();
    host.Resize(SIZE{250, 50});                    // the horizontal range shrinks to 50
    view.SetScrollSizes(MM_TEXT, SIZE{300, 100});  // and the vertical one to 50
    EXPECT_EQ(view.GetScrollPosition(), (POINT{50, 50}));
    EXPECT_EQ(view.log, (Log{"scrolled 0 50", "size 0 250x50", "scrolled 1 50"}));

    view.ScrollToPosition(POINT{-5, 20});
    EXPECT_EQ(view.GetScrollPosition(), (POINT{0, 20}));
    view.SetScrollSizes(MM_TEXT, SIZE{-1, -1});
    EXPECT_EQ(view.GetScrollPosition(), (POINT{0, 0}));
}

// ResizeParentToFit: the frame changes by what the client area is larger (or, when not shrink
// only, smaller) than the scrollable area, never below nothing.
struct FitCase {
    const char* name;
    SIZE client, total;
    bool shrinkOnly;
    SIZE fittedClient;
};

class ResizeParentToFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(ResizeParentToFit, FitsTheFrameAroundTheScrollArea) {
    const FitCase& row = GetParam();
    const SIZE margin{8, 60};
    HeadlessHost host(row.client, margin);
    LoggingView view;
    view.Create(&host);
    view.SetScrollSizes(MM_TEXT, row.total);
    view.log.clear();
    view.ResizeParentToFit(row.shrinkOnly);
    EXPECT_EQ(host.GetClientSize(), row.fittedClient);
    EXPECT_EQ(host.GetParentFrameSize(),
              (SIZE{row.fittedClient.cx + margin.cx, row.fittedClient.cy + margin.cy}));
    if (!(row.fittedClient == row.client)) {
        EXPECT_EQ(view.log.back(), "size 0 " + std::to_string(row.fittedClient.cx) + "x" +
                                       std::to_string(row.fittedClient.cy));
    } else {
        EXPECT_TRUE(view.log.empty());
    }
}

const FitCase kFits[] = {
    {"larger both ways", {900, 700}, {800, 600}, true, {800, 600}},
    {"larger one way", {900, 500}, {800, 600}, true, {800, 500}},
    {"smaller, shrink only", {300, 200}, {800, 600}, true, {300, 200}},
    {"smaller, grow", {300, 200}, {800, 600}, false, {800, 600}},
    {"empty world", {300, 200}, {0, -50}, true, {0, 0}},
    {"most negative world", {300, 200}, {INT32_MIN, INT32_MIN}, true, {0, 0}},
    {"huge world, grow", {300, 200}, {INT32_MAX, 10}, false, {INT32_MAX - 8, 10}},
};
INSTANTIATE_TEST_SUITE_P(CScrollView, ResizeParentToFit, ::testing::ValuesIn(kFits), RowName());

}  // namespace
