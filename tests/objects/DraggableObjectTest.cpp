#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "ObjectTestKit.h"
#include "objects/DraggableObject.h"

namespace {

using velk_test::FakeWorld;
using velk_test::ProbeShape;
using velk_test::TestDraggable;

enum class Event { LeftPress, LeftRelease, RightPress, RightRelease, Move, Tick };

bool Send(DraggableObject& object, Event event, WorldContext& world) {
    switch (event) {
        case Event::LeftPress:
            return object.OnLButtonDown(world);
        case Event::LeftRelease:
            return object.OnLButtonUp(world);
        case Event::RightPress:
            return object.OnRButtonDown(world);
        case Event::RightRelease:
            return object.OnRButtonUp(world);
        case Event::Move:
            return object.OnMouseMove(world);
        case Event::Tick:
            return object.Update(world);
    }
    return false;
}

/// One row of the state table. The object sits at (100, 100) with one shape covering
/// [0, 20) x [0, 20) relative to it. A dragging object was grabbed at (105, 105), so its grab
/// offset is (5, 5). The event then arrives with the world's mouse position on the shape at
/// (110, 112) or off it at (300, 300).
struct StateCase {
    std::string name;
    bool dragging;
    Event event;
    bool onShape;
    bool result;
    bool draggingAfter;
    POINT grabOffsetAfter;
    POINT positionAfter;
    int changes;  ///< MarkChanged calls
    friend void PrintTo(const StateCase& row, std::ostream* out) { *out << row.name; }
};

class DraggableStateTable : public ::testing::TestWithParam<StateCase> {};

TEST_P(DraggableStateTable, EventGivesResultNextStateAndAction) {
    const StateCase& param = GetParam();
    std::unique_ptr<TestDraggable> object(TestDraggable::Square(100, 100, 20));
    FakeWorld world;
    if (param.dragging) {
        world.SetMouse(105, 105);
        ASSERT_TRUE(object->OnLButtonDown(world));
    }
    world.changes = 0;
    param.onShape ? world.SetMouse(110, 112) : world.SetMouse(300, 300);

    EXPECT_EQ(Send(*object, param.event, world), param.result);

    EXPECT_EQ(object->IsDragging(), param.draggingAfter);
    EXPECT_EQ(object->GrabOffset(), param.grabOffsetAfter);
    EXPECT_EQ(object->Position(), param.positionAfter);
    EXPECT_EQ(world.changes, param.changes);
}

constexpr POINT kNone{0, 0};
constexpr POINT kFirstGrab{5, 5};
constexpr POINT kSecondGrab{10, 12};
constexpr POINT kHome{100, 100};

INSTANTIATE_TEST_SUITE_P(
    EveryRow, DraggableStateTable,
    ::testing::Values(
        // Resting: only a left press on a shape is taken.
        StateCase{"RestingPressOnShapeGrabs", false, Event::LeftPress, true, true, true,
                  kSecondGrab, kHome, 0},
        StateCase{"RestingPressOffShapeDeclined", false, Event::LeftPress, false, false, false,
                  kNone, kHome, 0},
        StateCase{"RestingReleaseDeclined", false, Event::LeftRelease, true, false, false, kNone,
                  kHome, 0},
        StateCase{"RestingMoveDeclined", false, Event::Move, true, false, false, kNone, kHome, 0},
        StateCase{"RestingRightPressDeclined", false, Event::RightPress, true, false, false, kNone,
                  kHome, 0},
        StateCase{"RestingRightReleaseDeclined", false, Event::RightRelease, true, false, false,
                  kNone, kHome, 0},
        StateCase{"RestingTickChangesNothing", false, Event::Tick, true, false, false, kNone, kHome,
                  0},
        // Dragging: moves are taken wherever the mouse is; a left release drops.
        StateCase{"DraggingMoveOnShapeMoves", true, Event::Move, true, true, true, kFirstGrab,
                  POINT{105, 107}, 1},
        StateCase{"DraggingMoveOffShapeMoves", true, Event::Move, false, true, true, kFirstGrab,
                  POINT{295, 295}, 1},
        StateCase{"DraggingPressOnShapeRegrabs", true, Event::LeftPress, true, true, true,
                  kSecondGrab, kHome, 0},
        StateCase{"DraggingPressOffShapeDeclinedStillDragging", true, Event::LeftPress, false,
                  false, true, kFirstGrab, kHome, 0},
        StateCase{"DraggingReleaseDrops", true, Event::LeftRelease, false, true, false, kFirstGrab,
                  kHome, 0},
        StateCase{"DraggingRightPressDeclined", true, Event::RightPress, true, false, true,
                  kFirstGrab, kHome, 0},
        StateCase{"DraggingRightReleaseDeclined", true, Event::RightRelease, true, false, true,
                  kFirstGrab, kHome, 0},
        StateCase{"DraggingTickChangesNothing", true, Event::Tick, true, false, true, kFirstGrab,
                  kHome, 0}),
    [](const ::testing::TestParamInfo<StateCase>& info) { return info.param.name; });

TEST(DraggableObjectTest, NewObjectRestsAtOriginWithZeroGrabOffset) {
    TestDraggable object;
    EXPECT_FALSE(object.IsDragging());
    EXPECT_EQ(object.GrabOffset(), kNone);
    EXPECT_EQ(object.Position(), kNone);
}

TEST(DraggableObjectTest, GrabOffsetIsMouseLessPositionAndMovesKeepIt) {
    TestDraggable object;
    object.SetPosition(DrawPoint(100, 100, 0));
    object.AddShape(ProbeShape::Everywhere());
    FakeWorld world;

    world.SetMouse(110, 95);  // right of and above the position
    ASSERT_TRUE(object.OnLButtonDown(world));
    EXPECT_EQ(object.GrabOffset(), (POINT{10, -5}));

    world.SetMouse(200, 200);
    EXPECT_TRUE(object.OnMouseMove(world));
    EXPECT_EQ(object.Position(), (POINT{190, 205}));

    world.SetMouse(90, 105);  // a new grab left of and above the new position
    ASSERT_TRUE(object.OnLButtonDown(world));
    EXPECT_EQ(object.GrabOffset(), (POINT{-100, -100}));
}

TEST(DraggableObjectTest, MoveSetsRadiusZeroAndKeepsColour) {
    std::unique_ptr<TestDraggable> object(TestDraggable::Square(0, 0, 10));
    DrawPoint start(0, 0, 7);
    start.SetColor(Palette[5]);
    object->SetPosition(start);
    FakeWorld world;
    world.SetMouse(1, 1);
    ASSERT_TRUE(object->OnLButtonDown(world));

    ASSERT_TRUE(object->OnMouseMove(world));  // the mouse has not moved since the grab

    DrawPoint position(0, 0, 0);
    object->GetPosition(position);
    EXPECT_EQ(position.GetPoint(), (POINT{0, 0}));
    EXPECT_EQ(position.GetRadius(), 0);
    EXPECT_EQ(position.GetColor(), Palette[5]);
}

TEST(DraggableObjectTest, GrabAndReleaseWithoutMoveLeavePositionWhole) {
    std::unique_ptr<TestDraggable> object(TestDraggable::Square(0, 0, 10));
    object->SetPosition(DrawPoint(2, 3, 7));
    FakeWorld world;
    world.SetMouse(5, 5);
    ASSERT_TRUE(object->OnLButtonDown(world));
    ASSERT_TRUE(object->OnLButtonUp(world));

    DrawPoint position(0, 0, 0);
    object->GetPosition(position);
    EXPECT_EQ(position.GetPoint(), (POINT{2, 3}));
    EXPECT_EQ(position.GetRadius(), 7);
    EXPECT_EQ(world.changes, 0);
}

TEST(DraggableObjectTest, EveryMoveWhileDraggingMarksTheWorldChanged) {
    std::unique_ptr<TestDraggable> object(TestDraggable::Square(0, 0, 10));
    FakeWorld world;
    world.SetMouse(5, 5);
    ASSERT_TRUE(object->OnLButtonDown(world));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(object->OnMouseMove(world));
    }
    EXPECT_EQ(world.changes, 3);
    EXPECT_EQ(object->Position(), kNone);
}

TEST(DraggableObjectTest, MoveWhileRestingDoesNotConsultTheWorld) {
    std::unique_ptr<TestDraggable> object(TestDraggable::Square(0, 0, 10));
    FakeWorld world;
    world.SetMouse(5, 5);
    EXPECT_FALSE(object->OnMouseMove(world));
    EXPECT_EQ(world.mouseReads, 0);
    EXPECT_EQ(world.changes, 0);
}

TEST(DraggableObjectTest, OnlyALeftReleaseEndsTheDrag) {
    std::unique_ptr<TestDraggable> object(TestDraggable::Square(0, 0, 10));
    FakeWorld world;
    world.SetMouse(5, 5);
    ASSERT_TRUE(object->OnLButtonDown(world));
    world.SetMouse(500, 500);
    EXPECT_TRUE(object->OnMouseMove(world));
    EXPECT_FALSE(object->OnRButtonDown(world));
    EXPECT_FALSE(object->OnRButtonUp(world));
    EXPECT_TRUE(object->OnMouseMove(world));  // no button is held, the drag goes on
    EXPECT_TRUE(object->OnLButtonUp(world));
    EXPECT_FALSE(object->OnLButtonUp(world));
    EXPECT_FALSE(object->OnMouseMove(world));
    EXPECT_EQ(object->Position(), (POINT{495, 495}));
}

/// A grab and a move near the 32-bit limits: offsets and positions wrap around instead of
/// overflowing (the sanitizer build stops on signed overflow).
struct DragWrapCase {
    std::string name;
    POINT position;
    POINT grabAt;
    POINT moveTo;
    POINT grabOffset;
    POINT positionAfter;
    friend void PrintTo(const DragWrapCase& row, std::ostream* out) { *out << row.name; }
};

class DraggableWrapTest : public ::testing::TestWithParam<DragWrapCase> {};

TEST_P(DraggableWrapTest, OffsetAndPositionWrapAround) {
    const DragWrapCase& param = GetParam();
    TestDraggable object;
    object.SetPosition(DrawPoint(param.position.x, param.position.y, 0));
    object.AddShape(ProbeShape::Everywhere());
    FakeWorld world;

    world.SetMouse(param.grabAt.x, param.grabAt.y);
    ASSERT_TRUE(object.OnLButtonDown(world));
    EXPECT_EQ(object.GrabOffset(), param.grabOffset);
    world.SetMouse(param.moveTo.x, param.moveTo.y);
    ASSERT_TRUE(object.OnMouseMove(world));
    EXPECT_EQ(object.Position(), param.positionAfter);
}

INSTANTIATE_TEST_SUITE_P(NearTheLimits, DraggableWrapTest,
                         ::testing::Values(DragWrapCase{"GrabPastMax",
                                                        {INT32_MAX, INT32_MAX},
                                                        {INT32_MIN, INT32_MIN},
                                                        {INT32_MIN + 10, 0},
                                                        {1, 1},
                                                        {INT32_MIN + 9, -1}},
                                           DragWrapCase{"GrabBeforeMin",
                                                        {INT32_MIN, 0},
                                                        {INT32_MAX, 0},
                                                        {INT32_MAX, 5},
                                                        {-1, 0},
                                                        {INT32_MIN, 5}},
                                           DragWrapCase{"OffsetAtTheLimits",
                                                        {0, 0},
                                                        {INT32_MIN, INT32_MAX},
                                                        {0, 0},
                                                        {INT32_MIN, INT32_MAX},
                                                        {INT32_MIN, INT32_MIN + 1}}),
                         [](const ::testing::TestParamInfo<DragWrapCase>& info) {
                             return info.param.name;
                         });

}  // namespace
