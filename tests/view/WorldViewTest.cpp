#include "view/CWorldView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ViewTestKit.h"
#include "gdi/RectFunctions.h"

namespace {

using velk_test::Block;
using velk_test::kWhite;
using velk_test::ViewHarness;

constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 230);
constexpr COLORREF kGreen = RGB(0, 160, 0);

/// A view that only counts the updates it is told of.
class CountingView : public CView {
public:
    void OnUpdate(CView* /*sender*/, long /*hint*/, CObject* /*hintObject*/) override { ++updates; }
    int updates = 0;
};

TEST(CWorldViewTest, IsCreatedByItsRuntimeClass) {
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CWorldView)->CreateObject());
    auto* view = dynamic_cast<CWorldView*>(made.get());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(std::string(view->GetRuntimeClass()->className), "CWorldView");
    EXPECT_EQ(view->GetCachedWorldSize(), (SIZE{1024, 1024}));
    EXPECT_EQ(view->GetBackBuffer(), nullptr);
}

TEST(CWorldViewTest, AnEmptyDefaultWorldPaintsAllWindowColourAndTicks) {
    ViewHarness harness(SIZE{160, 120});
    harness.Show();
    EXPECT_EQ(harness.BackBufferSize(), (SIZE{1024, 1024}));
    const HeadlessHost::ScrollBar bar = harness.host.GetScrollBar(SB_HORZ);
    EXPECT_EQ((std::vector{bar.total, bar.page, bar.line}), (std::vector{1024, 102, 10}));
    EXPECT_EQ(harness.host.GetTimers(), (std::map<std::uintptr_t, std::uint32_t>{{1, 100}}));
    EXPECT_TRUE(harness.ShowsTheWorld());
    EXPECT_EQ(harness.Pixel(0, 0), kWhite);
}

//   (10,10) +-------+            A, red, added first: on top
//           | A +-------+ (30,30)
//           +---| B     |        B, blue
//               +-------+
TEST(CWorldViewTest, TheObjectAddedFirstIsOnTop) {
    ViewHarness harness(SIZE{100, 80});
    harness.Add(10, 10, 40, 30, kRed);
    harness.Add(30, 30, 40, 30, kBlue);
    harness.Show();
    EXPECT_EQ(harness.Pixel(35, 35), kRed);
    EXPECT_TRUE(harness.ShowsTheWorld());
}

TEST(CWorldViewTest, APartialPaintRedrawsOnlyTheExposedBox) {
    ViewHarness harness(SIZE{100, 80});
    auto* block = const_cast<Block*>(harness.Add(10, 10, 30, 30, kRed));
    harness.Show();
    const CBitmap& pixels = harness.host.GetClientPixels();
    const std::vector<std::uint32_t> before(pixels.GetBits(), pixels.GetBits() + 100 * 80);
    block->SetPosition(DrawPoint(50, 40, 0));  // moved behind the view's back
    const RECT exposed{20, 20, 60, 50};
    harness.view.InvalidateRect(&exposed, false);
    harness.host.PumpPaint();
    for (std::int32_t y = 0; y < 80; ++y) {
        for (std::int32_t x = 0; x < 100; ++x) {
            const COLORREF want = PtInRect(&exposed, POINT{x, y})
                                      ? velk_test::Expected(harness.blocks, x, y)
                                      : CBitmap::ColorFromPixel(before[y * 100 + x]);
            ASSERT_EQ(harness.Pixel(x, y), want) << x << "," << y;
        }
    }
}

// Scrolled to (sx, sy), the client's top-left pixel shows world point (sx, sy); positions
// outside the range are clamped to it. A move to client point (px, py) is stored as the world
// point (px + sx, py + sy).
struct ScrollCase {
    POINT asked, taken;
};

class ScrolledView : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(ScrolledView, ShowsAndPointsAtTheWorldUnderTheClientArea) {
    ViewHarness harness(SIZE{120, 90});
    harness.Add(0, 0, 30, 20, kGreen);
    harness.Add(500, 400, 60, 50, kRed);
    harness.Add(990, 1000, 34, 24, kBlue);   // reaches the world's far corner
    harness.Add(530, 420, 200, 200, kBlue);  // under the red one
    harness.Show();
    harness.host.Scroll(SB_HORZ, GetParam().asked.x);
    harness.host.Scroll(SB_VERT, GetParam().asked.y);
    harness.host.PumpPaint();
    EXPECT_EQ(harness.view.GetScrollPosition(), GetParam().taken);
    EXPECT_TRUE(harness.ShowsTheWorld());

    harness.host.MouseMove(POINT{7, 11});
    DrawPoint mouse(0, 0, 5);
    harness.world.GetMousePosition(mouse);
    EXPECT_EQ(mouse.GetPoint(), (POINT{GetParam().taken.x + 7, GetParam().taken.y + 11}));
    EXPECT_EQ(mouse.GetRadius(), 0);
}

const ScrollCase kScrolls[] = {
    {{0, 0}, {0, 0}}, {{490, 395}, {490, 395}}, {{5000, 5000}, {904, 934}}, {{-3, 600}, {0, 600}}};
INSTANTIATE_TEST_SUITE_P(CWorldView, ScrolledView, ::testing::ValuesIn(kScrolls));

// The world grows to a larger client area, dimension by dimension, and never shrinks; a size
// message within the cached size changes nothing and tells no view.
struct GrowthCase {
    const char* name;
    SIZE world;                 // before the view shows it
    std::vector<SIZE> resizes;  // of the client area, starting at 200 by 100
    SIZE grown;
    int updates;  // of another view of the world
};

class Growth : public ::testing::TestWithParam<GrowthCase> {};

TEST_P(Growth, FollowsTheClientAreaUpwardOnly) {
    const GrowthCase& row = GetParam();
    ViewHarness harness(SIZE{200, 100});
    harness.world.SetWorldSize(row.world.cx, row.world.cy);
    harness.Show();
    CountingView other;
    harness.world.AddView(&other);
    for (const SIZE& client : row.resizes) {
        harness.host.Resize(client, client == SIZE{} ? SIZE_MINIMIZED : SIZE_RESTORED);
    }
    EXPECT_EQ(harness.WorldSize(), row.grown);
    EXPECT_EQ(harness.view.GetCachedWorldSize(), row.grown);
    EXPECT_EQ(harness.BackBufferSize(), row.grown);
    EXPECT_EQ(harness.host.GetScrollBar(SB_HORZ).total, row.grown.cx);
    EXPECT_EQ(harness.host.GetScrollBar(SB_VERT).total, row.grown.cy);
    EXPECT_EQ(other.updates, row.updates);
    EXPECT_FALSE(harness.world.IsModified());
    harness.host.PumpPaint();
    EXPECT_TRUE(harness.ShowsTheWorld());
}

const GrowthCase kGrowths[] = {
    {"wider", {300, 200}, {{450, 150}}, {450, 200}, 2},
    {"taller", {300, 200}, {{250, 260}}, {300, 260}, 2},
    {"both, then smaller", {300, 200}, {{320, 210}, {100, 50}}, {320, 210}, 2},
    {"twice", {300, 200}, {{320, 100}, {320, 240}}, {320, 240}, 4},
    {"within", {300, 200}, {{300, 200}, {10, 190}}, {300, 200}, 0},
    {"minimised", {300, 200}, {{0, 0}}, {300, 200}, 0},
    {"from nothing", {0, -4}, {{210, 100}}, {210, 100}, 2},
};
INSTANTIATE_TEST_SUITE_P(CWorldView, Growth, ::testing::ValuesIn(kGrowths), velk_test::RowName());

// Move, press, move, move, release, all as messages, on a scrolled view. The press goes to the
// top object where two overlap; it follows the pointer one move late, because a move is stored
// only after it was offered.
TEST(CWorldViewTest, ADragByMessagesMovesTheTopObjectOneMoveBehindAndRepaintsIt) {
    ViewHarness harness(SIZE{200, 150});
    const Block* dragged = harness.Add(100, 100, 50, 40, kRed);
    const Block* below = harness.Add(130, 120, 50, 50, kBlue);
    harness.Show();
    CountingView other;
    harness.world.AddView(&other);
    harness.host.Scroll(SB_HORZ, 50);
    harness.host.Scroll(SB_VERT, 20);
    harness.host.PumpPaint();

    harness.host.MouseMove(POINT{85, 105});                            // world (135, 125)
    harness.host.ButtonDown(HeadlessHost::Button::Left, POINT{0, 0});  // its point is not used
    EXPECT_FALSE(harness.world.IsModified());
    harness.host.MouseMove(POINT{105, 115});  // offered while the mouse is still at (135, 125)
    EXPECT_EQ(dragged->Position(), (POINT{100, 100}));
    EXPECT_TRUE(harness.world.IsModified());
    EXPECT_EQ(harness.host.GetPendingBox(), (RECT{0, 0, 200, 150}));
    harness.host.MouseMove(POINT{120, 85});  // now the object follows (155, 135)
    EXPECT_EQ(dragged->Position(), (POINT{120, 110}));
    EXPECT_EQ(below->Position(), (POINT{130, 120}));
    harness.host.PumpPaint();
    EXPECT_TRUE(harness.ShowsTheWorld());

    other.updates = 0;
    harness.host.ButtonUp(HeadlessHost::Button::Left, POINT{120, 85});
    EXPECT_EQ(other.updates, 1);
    EXPECT_FALSE(harness.host.HasPendingPaint());  // the release repaints nothing by itself
    harness.host.MouseMove(POINT{150, 140});
    EXPECT_EQ(dragged->Position(), (POINT{120, 110}));
    EXPECT_FALSE(harness.host.HasPendingPaint());
}

/// Counts its ticks and answers each with changes.
class Ticker : public UpdateableObject {
public:
    explicit Ticker(bool changes) : changes_(changes) {}
    bool Update(WorldContext& /*world*/) override {
        ++ticks;
        return changes_;
    }
    std::ostream& Write(std::ostream& out) const override { return out; }
    void Read(std::istream& /*in*/) override {}
    int ticks = 0;

private:
    bool changes_;
};

// Every updateable object is ticked, whatever the others answer; only a change marks the world
// modified and repaints the view.
class Tick : public ::testing::TestWithParam<std::vector<bool>> {};

TEST_P(Tick, TicksEveryObjectAndRepaintsOnlyForAChange) {
    ViewHarness harness(SIZE{100, 80});
    harness.Show();
    std::vector<Ticker*> tickers;
    bool anyChange = false;
    for (bool changes : GetParam()) {
        tickers.push_back(new Ticker(changes));
        harness.world.AddObject(tickers.back());
        anyChange = anyChange || changes;
    }
    EXPECT_TRUE(harness.host.FireTimer(CWorldView::kTimerId));
    for (const Ticker* ticker : tickers) {
        EXPECT_EQ(ticker->ticks, 1);
    }
    EXPECT_EQ(harness.world.IsModified(), anyChange);
    EXPECT_EQ(harness.host.HasPendingPaint(), anyChange);
}

INSTANTIATE_TEST_SUITE_P(CWorldView, Tick,
                         ::testing::Values(std::vector<bool>{}, std::vector{false, false},
                                           std::vector{true, false}, std::vector{false, true}));

// World sizes that a file may hold. The back buffer never exceeds its limits (beyond them it
// covers the client area), every world point shows what the objects paint there when scrolled
// to, and nothing breaks whether scrolled or painted.
struct SizeCase {
    const char* name;
    SIZE world;
    SIZE backBuffer;
    POINT scroll;  // asked for after the world is shown
    POINT taken;
};

class WorldSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(WorldSizes, GiveABoundedBackBufferAndPaintTheRestAsWindowColour) {
    const SizeCase& row = GetParam();
    // The frame cannot shrink below the client area, as a real frame has a least size: an
    // empty world then leaves the client area as it is.
    ViewHarness harness(SIZE{120, 90}, SIZE{}, SIZE{120, 90});
    harness.Add(5, 5, 20, 20, kRed);
    harness.Add(16380, 2040, 10, 10, kGreen);  // across the largest back buffer's far corner
    harness.world.SetWorldSize(row.world.cx, row.world.cy);
    harness.Show();
    EXPECT_EQ(harness.WorldSize(), row.world);  // kept as given
    EXPECT_EQ(harness.BackBufferSize(), row.backBuffer);
    harness.host.Scroll(SB_HORZ, row.scroll.x);
    harness.host.Scroll(SB_VERT, row.scroll.y);
    harness.host.PumpPaint();
    EXPECT_EQ(harness.view.GetScrollPosition(), row.taken);
    for (std::int32_t y = 0; y < 90; ++y) {
        for (std::int32_t x = 0; x < 120; ++x) {
            const std::int32_t worldX = x + row.taken.x;
            const std::int32_t worldY = y + row.taken.y;
            const bool inside = row.world.cx > 0 && row.world.cy > 0 && worldX < row.world.cx &&
                                worldY < row.world.cy;
            ASSERT_EQ(harness.Pixel(x, y),
                      inside ? velk_test::Expected(harness.blocks, worldX, worldY) : kWhite)
                << x << "," << y;
        }
    }
}

const SizeCase kSizes[] = {
    {"empty", {0, 0}, {0, 0}, {10, 10}, {0, 0}},
    {"no width", {-5, 300}, {0, 0}, {0, 50}, {0, 50}},
    {"most negative", {INT32_MIN, INT32_MIN}, {0, 0}, {0, 0}, {0, 0}},
    {"wide", {20000, 100}, {120, 90}, {16330, 50}, {16330, 10}},
    {"huge", {2000000000, 2000000000}, {120, 90}, {16300, 1990}, {16300, 1990}},
    {"huge, far out",
     {2000000000, 2000000000},
     {120, 90},
     {INT32_MAX, INT32_MAX},
     {2000000000 - 120, 2000000000 - 90}},
};
INSTANTIATE_TEST_SUITE_P(CWorldView, WorldSizes, ::testing::ValuesIn(kSizes), velk_test::RowName());

// Just within the back buffer's limits the view keeps a world-sized back buffer; just beyond
// them it paints through one of the client area's size. Seen at the same place, both show the
// same pixels, and the larger world shows its last row or column too.
struct CapCase {
    const char* name;
    SIZE within, beyond;
};

class BackBufferCap : public ::testing::TestWithParam<CapCase> {};

TEST_P(BackBufferCap, BeyondItTheClientSizedBufferShowsWhatAWorldSizedOneWould) {
    const CapCase& row = GetParam();
    const SIZE client{120, 90};
    const POINT corner{row.within.cx - client.cx, row.within.cy - client.cy};
    auto populate = [&](ViewHarness& harness, SIZE world) {
        for (const SIZE last : {row.within, row.beyond}) {  // on top: the last point of each
            harness.Add(last.cx - 1, last.cy - 1, 1, 1, RGB(1, 2, 3));
        }
        harness.Add(corner.x - 10, corner.y + 20, 40, 30, kRed);    // across the left edge
        harness.Add(corner.x + 60, corner.y + 70, 80, 50, kGreen);  // past the within world
        harness.Add(corner.x + 30, corner.y + 10, 50, 50, kBlue);
        harness.world.SetWorldSize(world.cx, world.cy);
        harness.Show();
        harness.host.Scroll(SB_HORZ, corner.x);
        harness.host.Scroll(SB_VERT, corner.y);
        harness.host.PumpPaint();
    };
    ViewHarness within(client, SIZE{}, client);
    populate(within, row.within);
    ASSERT_EQ(within.BackBufferSize(), row.within);
    ViewHarness beyond(client, SIZE{}, client);
    populate(beyond, row.beyond);
    ASSERT_EQ(beyond.BackBufferSize(), client);
    for (std::int32_t y = 0; y < client.cy; ++y) {
        for (std::int32_t x = 0; x < client.cx; ++x) {
            ASSERT_EQ(beyond.Pixel(x, y), within.Pixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_TRUE(within.ShowsTheWorld());
    beyond.host.Scroll(SB_HORZ, row.beyond.cx);
    beyond.host.Scroll(SB_VERT, row.beyond.cy);
    beyond.host.PumpPaint();
    EXPECT_EQ(beyond.Pixel(client.cx - 1, client.cy - 1), RGB(1, 2, 3));
    EXPECT_TRUE(beyond.ShowsTheWorld());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CWorldView, BackBufferCap, ::testing::Values(
    CapCase{"side",   {CWorldView::kMaxBackBufferSide, 300}, {CWorldView::kMaxBackBufferSide + 1, 300}},
    CapCase{"pixels", {4096, 8192},                          {4096, 8193}}),
    velk_test::RowName());
// clang-format on

// A new document takes the default size without telling its views; the next initial update
// must still give the view a back buffer that covers the whole world.
TEST(CWorldViewTest, ANewWorldAfterASmallerOneGetsABackBufferOfItsSize) {
    ViewHarness harness(SIZE{100, 80});
    harness.world.SetWorldSize(60, 40);
    harness.Show();
    EXPECT_EQ(harness.BackBufferSize(), (SIZE{60, 40}));
    ASSERT_TRUE(harness.world.OnNewDocument());
    harness.blocks.clear();
    harness.Add(980, 1000, 44, 24, kRed);
    harness.Show();
    EXPECT_EQ(harness.BackBufferSize(), (SIZE{1024, 1024}));
    harness.host.Scroll(SB_HORZ, 1024);
    harness.host.Scroll(SB_VERT, 1024);
    harness.host.PumpPaint();
    EXPECT_EQ(harness.view.GetScrollPosition(), (POINT{964, 984}));  // the client is 60 by 40
    EXPECT_TRUE(harness.ShowsTheWorld());
    EXPECT_EQ(harness.host.GetTimers().size(), 1u);  // set again, not added
}

TEST(CWorldViewTest, AnUpdateWithoutAChangeOfSizeKeepsTheBackBufferAndRepaintsAll) {
    ViewHarness harness(SIZE{100, 80}, SIZE{10, 50});
    harness.Show();
    const CBitmap* bitmap = harness.view.GetBackBuffer();
    const SIZE frame = harness.host.GetParentFrameSize();
    harness.world.UpdateAllViews(nullptr);
    EXPECT_EQ(harness.view.GetBackBuffer(), bitmap);
    EXPECT_EQ(harness.host.GetParentFrameSize(), frame);
    EXPECT_EQ(harness.host.GetPendingBox(), (RECT{0, 0, 100, 80}));
}

// Opening a world smaller than the window shrinks the frame until the view is no larger than
// the world, and makes a new back buffer of the world's size.
TEST(CWorldViewTest, ASmallerWorldShrinksTheFrameToFit) {
    ViewHarness harness(SIZE{500, 300}, SIZE{10, 50});
    harness.Show();
    harness.world.SetWorldSize(320, 400);
    EXPECT_EQ(harness.host.GetClientSize(), (SIZE{320, 300}));
    EXPECT_EQ(harness.host.GetParentFrameSize(), (SIZE{330, 350}));
    EXPECT_EQ(harness.BackBufferSize(), (SIZE{320, 400}));
    EXPECT_EQ(harness.WorldSize(), (SIZE{320, 400}));
}

TEST(CWorldViewTest, AViewWithoutAWorldOrWindowIgnoresMessages) {
    CWorldView view;
    view.OnInitialUpdate();
    view.OnPaint();
    view.OnSize(SIZE_RESTORED, 5000, 5000);
    view.OnTimer(1);
    view.OnMouseMove(0, POINT{1, 1});
    view.OnLButtonUp(0, POINT{1, 1});
    EXPECT_EQ(view.GetCachedWorldSize(), (SIZE{1024, 1024}));

    HeadlessHost host(SIZE{1500, 1100});  // larger than the cached size, but no world to grow
    CWorldView unattached;
    EXPECT_TRUE(unattached.Create(&host));
    unattached.OnInitialUpdate();
    EXPECT_EQ(host.GetClientSize(), (SIZE{1024, 1024}));
    EXPECT_TRUE(host.PumpPaint());
    EXPECT_EQ(host.GetClientPixels().GetPixelColor(1023, 1023), kWhite);
}

}  // namespace
