#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "ObjectTestKit.h"
#include "gdi/CBitmap.h"
#include "gdi/CDC.h"
#include "gdi/SurfaceCall.h"
#include "shapes/DrawPoint.h"

namespace {

using velk_test::FakeWorld;
using velk_test::ProbeShape;
using velk_test::TestDrawable;

DrawPoint At(std::int32_t x, std::int32_t y, std::int32_t radius = 0) {
    return DrawPoint(x, y, radius);
}

TEST(DrawableObjectTest, NewObjectIsAtOriginWithoutShapesAndNeverHit) {
    TestDrawable object;
    DrawPoint position(9, 9, 9);
    position.SetColor(Palette[4]);
    object.GetPosition(position);
    EXPECT_EQ(position.GetPoint(), (POINT{0, 0}));
    EXPECT_EQ(position.GetRadius(), 0);
    EXPECT_EQ(position.GetColor(), Palette[0]);
    EXPECT_EQ(object.ShapeCount(), 0);
    EXPECT_FALSE(object.HitTest(At(0, 0)));
}

TEST(DrawableObjectTest, SetPositionAndGetPositionCarryAllFourFields) {
    TestDrawable object;
    DrawPoint given(-3, 7, 12);
    Color colour;
    colour.SetRGB(10, 20, 30);
    given.SetColor(colour);
    object.SetPosition(given);

    DrawPoint taken(0, 0, 0);
    DrawPoint& returned = object.GetPosition(taken);
    EXPECT_EQ(&returned, &taken);
    EXPECT_EQ(taken.GetPoint(), (POINT{-3, 7}));
    EXPECT_EQ(taken.GetRadius(), 12);
    EXPECT_EQ(taken.GetColor(), colour);
}

TEST(DrawableObjectHitTest, AsksWithThePointRelativeToPositionRadiusZeroAndBlack) {
    TestDrawable object;
    object.SetPosition(At(100, 50, 8));
    auto* shape = new ProbeShape(1, RECT{-5, -5, 5, 5});
    object.AddShape(shape);

    DrawPoint world(100, 50, 10);
    world.SetColor(Palette[7]);
    EXPECT_TRUE(object.HitTest(world));

    ASSERT_EQ(shape->probes.size(), 1u);
    EXPECT_EQ(shape->probes[0].GetPoint(), (POINT{0, 0}));
    EXPECT_EQ(shape->probes[0].GetRadius(), 0);
    EXPECT_EQ(shape->probes[0].GetColor(), Palette[0]);

    EXPECT_FALSE(object.HitTest(At(105, 50, 10)));  // the world point's radius is not used
    EXPECT_EQ(shape->probes[1].GetPoint(), (POINT{5, 0}));
}

TEST(DrawableObjectHitTest, StopsAtTheFirstShapeThatContainsThePoint) {
    TestDrawable object;
    auto* miss = new ProbeShape(1, RECT{50, 50, 60, 60});
    auto* first = new ProbeShape(2, RECT{0, 0, 10, 10});
    auto* second = new ProbeShape(3, RECT{0, 0, 10, 10});
    object.AddShape(miss);
    object.AddShape(first);
    object.AddShape(second);

    EXPECT_TRUE(object.HitTest(At(5, 5)));
    EXPECT_EQ(miss->probes.size(), 1u);
    EXPECT_EQ(first->probes.size(), 1u);
    EXPECT_TRUE(second->probes.empty());

    EXPECT_FALSE(object.HitTest(At(20, 20)));  // a miss asks every shape
    EXPECT_EQ(second->probes.size(), 1u);
}

/// A hit test near the 32-bit limits: the relative point wraps around instead of overflowing
/// (the sanitizer build stops on signed overflow).
struct WrapCase {
    std::string name;
    POINT position;
    POINT world;
    POINT relative;
    friend void PrintTo(const WrapCase& row, std::ostream* out) { *out << row.name; }
};

class DrawableObjectWrapTest : public ::testing::TestWithParam<WrapCase> {};

TEST_P(DrawableObjectWrapTest, RelativePointWrapsAround) {
    const WrapCase& param = GetParam();
    TestDrawable object;
    object.SetPosition(At(param.position.x, param.position.y));
    ProbeShape* shape = ProbeShape::Everywhere();
    object.AddShape(shape);

    EXPECT_TRUE(object.HitTest(At(param.world.x, param.world.y)));
    ASSERT_EQ(shape->probes.size(), 1u);
    EXPECT_EQ(shape->probes[0].GetPoint(), param.relative);
}

INSTANTIATE_TEST_SUITE_P(
    NearTheLimits, DrawableObjectWrapTest,
    ::testing::Values(
        WrapCase{"Plain", {100, 100}, {90, 95}, {-10, -5}},
        WrapCase{"WorldPastMaxWrapsToMin", {INT32_MAX, 0}, {INT32_MIN, 0}, {1, 0}},
        WrapCase{"MaxLessMin", {INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, {-1, -1}},
        WrapCase{"MixedSigns", {-5, INT32_MAX}, {INT32_MAX, -5}, {INT32_MIN + 4, INT32_MAX - 3}}),
    [](const ::testing::TestParamInfo<WrapCase>& info) { return info.param.name; });

TEST(DrawableObjectDraw, HandsPositionToEveryShapeInListOrder) {
    TestDrawable object;
    auto* first = new ProbeShape(1, RECT{});
    auto* second = new ProbeShape(2, RECT{});
    object.AddShape(first);
    object.AddShape(second);
    FakeWorld world;
    CDC surface;

    object.SetPosition(At(30, -40, 99));
    object.Draw(surface, world);
    object.SetPosition(At(35, -38));
    object.Draw(surface, world);

    const std::vector<POINT> expected{{30, -40}, {35, -38}};
    EXPECT_EQ(first->drawOffsets, expected);
    EXPECT_EQ(second->drawOffsets, expected);
    EXPECT_EQ(world.mouseReads + world.changes, 0);  // the world is not used
}

TEST(DrawableObjectDraw, ShapesLandOnTheSurfaceAtPositionAndLaterShapesCoverEarlier) {
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(64, 64));
    CDC surface;
    ASSERT_TRUE(surface.CreateCompatibleDC(nullptr));
    surface.SelectObject(&bitmap);
    SurfaceCallLog log;
    surface.SetCallLog(&log);

    TestDrawable object;
    object.SetPosition(At(20, 30));
    auto* disc = new DrawPoint(5, 5, 3);
    disc->SetColor(Palette[4]);
    auto* dot = new DrawPoint(5, 5, 0);  // drawn over the disc's centre
    dot->SetColor(Palette[2]);
    auto* corner = new DrawPoint(-20, -30, 0);
    corner->SetColor(Palette[7]);
    object.AddShape(disc);
    object.AddShape(dot);
    object.AddShape(corner);
    FakeWorld world;
    object.Draw(surface, world);

    std::vector<SurfaceCall> primitives;
    for (const SurfaceCall& call : log) {
        if (call.op == SurfaceOp::Ellipse || call.op == SurfaceOp::SetPixel) {
            primitives.push_back(call);
        }
    }
    ASSERT_EQ(primitives.size(), 3u);
    EXPECT_EQ(primitives[0].op, SurfaceOp::Ellipse);
    EXPECT_EQ(std::vector<std::int32_t>(primitives[0].args, primitives[0].args + 4),
              (std::vector<std::int32_t>{22, 32, 28, 38}));
    EXPECT_EQ(primitives[1].op, SurfaceOp::SetPixel);
    EXPECT_EQ(std::vector<std::int32_t>(primitives[1].args, primitives[1].args + 2),
              (std::vector<std::int32_t>{25, 35}));

    EXPECT_EQ(bitmap.GetPixelColor(25, 35), Palette[2].GetValue());
    EXPECT_EQ(bitmap.GetPixelColor(24, 35), Palette[4].GetValue());
    EXPECT_EQ(bitmap.GetPixelColor(0, 0), Palette[7].GetValue());
    EXPECT_EQ(bitmap.GetPixelColor(40, 40), 0u);
}

TEST(DrawableObjectDraw, ObjectWithoutShapesDrawsNothing) {
    CDC surface;
    SurfaceCallLog log;
    surface.SetCallLog(&log);
    TestDrawable object;
    FakeWorld world;
    object.Draw(surface, world);
    EXPECT_TRUE(log.empty());
}

TEST(DrawableObjectLifetime, DestructionDeletesEachShapeOnceFirstToLast) {
    std::vector<int> destroyed;
    {
        TestDrawable object;
        object.AddShape(new ProbeShape(1, RECT{}, &destroyed));
        object.AddShape(nullptr);  // a node without a shape is skipped
        object.AddShape(new ProbeShape(2, RECT{}, &destroyed));
        object.AddShape(new ProbeShape(3, RECT{}, &destroyed));
        EXPECT_TRUE(destroyed.empty());
    }
    EXPECT_EQ(destroyed, (std::vector<int>{1, 2, 3}));
}

TEST(DrawableObjectLifetime, ReadDeletesTheShapesItHeldBeforeReading) {
    std::vector<int> destroyed;
    TestDrawable object;
    object.AddShape(new ProbeShape(1, RECT{}, &destroyed));
    object.AddShape(new ProbeShape(2, RECT{}, &destroyed));

    std::istringstream in("");
    object.Read(in);

    EXPECT_EQ(destroyed, (std::vector<int>{1, 2}));
    EXPECT_EQ(object.ShapeCount(), 0);
    EXPECT_FALSE(object.HitTest(At(0, 0)));
}

}  // namespace
