#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ObjectTestKit.h"
#include "gdi/CDC.h"

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

}  // namespace
