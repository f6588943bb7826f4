#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ObjectTestKit.h"
#include "gdi/CBitmap.h"
#include "gdi/CDC.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawLine.h"
#include "shapes/DrawRectangle.h"

namespace {

using velk_test::Event;
using velk_test::FakeWorld;
using velk_test::kMax;
using velk_test::kMin;
using velk_test::ProbeShape;
using velk_test::TestDrawable;
using velk_test::Trace;

/// One hit test of an object at `position` with three shapes: 1 covering [50, 60)^2, 2 and 3
/// both covering [0, 10)^2. Each shape asked, first to last, must see the point less position
/// with radius 0, though the world point has radius 10.
struct HitCase {
    const char* name;
    POINT position, world, relative;
    int asked;
    bool hit;
};

class DrawableHitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(DrawableHitTest, AsksTheShapesInOrderWithThePointLessPositionUntilOneHits) {
    const HitCase& param = GetParam();
    Trace trace, expected;
    TestDrawable object;
    object.SetPosition(DrawPoint(param.position.x, param.position.y, 8));
    object.AddShape(new ProbeShape(1, RECT{50, 50, 60, 60}, &trace));
    object.AddShape(new ProbeShape(2, RECT{0, 0, 10, 10}, &trace));
    object.AddShape(new ProbeShape(3, RECT{0, 0, 10, 10}, &trace));
    for (int shape = 1; shape <= param.asked; ++shape) {
        expected.push_back(Event("probe", shape, param.relative.x, param.relative.y) + " r0");
    }
    EXPECT_EQ(object.HitTest(DrawPoint(param.world.x, param.world.y, 10)), param.hit);
    EXPECT_EQ(trace, expected);
}

// Near the 32-bit limits the relative point wraps around (the sanitizer build stops on
// signed overflow).
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, DrawableHitTest, ::testing::Values(
    //      name                   position      world         relative              asked hit
    HitCase{"FirstHitEndsTheWalk", {100, 50},    {105, 57},    {5, 7},               2,    true},
    HitCase{"MissAsksEveryShape",  {100, 50},    {100, 49},    {0, -1},              3,    false},
    HitCase{"WorldPastMax",        {kMax, 0},    {kMin, 0},    {1, 0},               2,    true},
    HitCase{"MaxLessMin",          {kMin, kMin}, {kMax, kMax}, {-1, -1},             3,    false},
    HitCase{"MixedSigns",          {-5, kMax},   {kMax, -5},   {kMin + 4, kMax - 3}, 3,    false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Shapes go first to last; a node without a shape is skipped.
TEST(DrawableObjectTest, DrawReadAndDestructionTakeTheShapesFirstToLast) {
    Trace trace;
    {
        TestDrawable object;
        object.AddShape(new ProbeShape(1, RECT{}, &trace));
        object.AddShape(nullptr);
        object.AddShape(new ProbeShape(2, RECT{}, &trace));
        object.SetPosition(DrawPoint(30, -40, 99));
        CDC surface;
        FakeWorld world;
        object.Draw(surface, world);
        std::istringstream in("");
        object.Read(in);  // deletes the shapes it held
        EXPECT_EQ(object.ShapeCount(), 0);
        object.AddShape(new ProbeShape(3, RECT{}, &trace));
        object.AddShape(new ProbeShape(4, RECT{}, &trace));
    }
    EXPECT_EQ(trace, (Trace{Event("draw", 1, 30, -40), Event("draw", 2, 30, -40), "~shape1",
                            "~shape2", "~shape3", "~shape4"}));
}

/// An object near the 32-bit limits with one filled shape, drawn on a 64 by 48 surface: the
/// owner's position is added in 64 bits, so the pixels drawn are the points hit, and a shape
/// reaching past the limits does not wrap around into view.
struct LimitCase {
    const char* name;
    POINT position;
    char kind;  // 'd'isc (x1, y1, radius x2), 'l'ine, 'r'ectangle, 'e'llipse
    RECT shape;
    bool drawsSomething;
};

class DrawableNearTheLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(DrawableNearTheLimits, DrawsExactlyWhatItHits) {
    const LimitCase& c = GetParam();
    TestDrawable object;
    object.SetPosition(DrawPoint(c.position.x, c.position.y, 0));
    const DrawPoint first(c.shape.left, c.shape.top, 0), second(c.shape.right, c.shape.bottom, 0);
    if (c.kind == 'd') {
        object.AddShape(new DrawPoint(c.shape.left, c.shape.top, c.shape.right));
    } else if (c.kind == 'l') {
        auto* line = new DrawLine;
        line->SetStart(first);
        line->SetEnd(second);
        object.AddShape(line);
    } else {
        DrawRectangle box;
        box.SetCorners(first, second);
        box.SetFilled(true);
        if (c.kind == 'r') {
            object.AddShape(new DrawRectangle(box));
        } else {
            auto* ellipse = new DrawEllipse;
            ellipse->SetBounds(box);
            ellipse->SetFilled(true);
            object.AddShape(ellipse);
        }
    }
    CBitmap bitmap;
    bitmap.CreateBitmap(64, 48);  // black; the shapes are black too, so white marks the pixels
    CDC surface;
    surface.CreateCompatibleDC(nullptr);
    surface.SelectObject(&bitmap);
    CBrush white(RGB(255, 255, 255));
    surface.SelectObject(&white);
    surface.PatBlt(0, 0, 64, 48, PATCOPY);
    FakeWorld world;
    object.Draw(surface, world);
    int drawn = 0;
    for (std::int32_t y = 0; y < 48; ++y) {
        for (std::int32_t x = 0; x < 64; ++x) {
            const bool painted = bitmap.GetPixelColor(x, y) != RGB(255, 255, 255);
            drawn += painted ? 1 : 0;
            ASSERT_EQ(painted, object.HitTest(DrawPoint(x, y, 0))) << x << ", " << y;
        }
    }
    EXPECT_EQ(drawn > 0, c.drawsSomething);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Shapes, DrawableNearTheLimits, ::testing::Values(
    //        name                 position          kind shape                                       draws
    LimitCase{"DiscPastMax",       {2147483000, 20}, 'd', {0, 0, 1000, 0},                            false},
    LimitCase{"LinePastMax",       {kMax - 10, 10},  'l', {0, 0, 40, 0},                              false},
    LimitCase{"RectanglePastMax",  {kMax - 10, 10},  'r', {0, 0, 40, 20},                             false},
    LimitCase{"EllipseBeforeMin",  {kMin + 5, 5},    'e', {-20, 0, 30, 30},                           false},
    LimitCase{"FarOwnerNearShape", {kMax - 10, 10},  'e', {12 - kMax, -7, 40 - kMax + 10, 30},        true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
