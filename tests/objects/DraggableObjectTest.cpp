#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ObjectTestKit.h"

namespace {

using velk_test::FakeWorld;
using velk_test::kMax;
using velk_test::kMin;
using velk_test::TestDraggable;

enum Event { LDown, LUp, RDown, RUp, Move, Tick };  // the order of the handlers below

/// One row of the state table. The object sits at (100, 100) with radius 7 and one shape
/// covering [0, 20)^2 relative to it; a dragging object was grabbed at (105, 105). The event
/// arrives with the mouse on the shape at (110, 112) or off it at (300, 300). A move sets
/// radius 0; the colour always stays.
struct StateCase {
    const char* name;
    bool dragging;
    Event event;
    bool onShape, result, draggingAfter;
    POINT grabOffsetAfter, positionAfter;
    int changes;  ///< MarkChanged calls
};

class DraggableStateTable : public ::testing::TestWithParam<StateCase> {};

TEST_P(DraggableStateTable, EventGivesResultNextStateAndAction) {
    const StateCase& param = GetParam();
    std::unique_ptr<TestDraggable> object(TestDraggable::Square(100, 100, 20));
    DrawPoint start(100, 100, 7);
    start.SetColor(Palette[5]);
    object->SetPosition(start);
    FakeWorld world;
    if (param.dragging) {
        world.SetMouse({105, 105});
        ASSERT_TRUE(object->OnLButtonDown(world));
    }
    world.SetMouse(param.onShape ? POINT{110, 112} : POINT{300, 300});

    bool (DraggableObject::*const handlers[])(WorldContext&) = {
        &DraggableObject::OnLButtonDown, &DraggableObject::OnLButtonUp,
        &DraggableObject::OnRButtonDown, &DraggableObject::OnRButtonUp,
        &DraggableObject::OnMouseMove,   &DraggableObject::Update};
    EXPECT_EQ(((*object).*handlers[param.event])(world), param.result);

    EXPECT_EQ(object->IsDragging(), param.draggingAfter);
    EXPECT_EQ(object->GrabOffset(), param.grabOffsetAfter);
    EXPECT_EQ(object->Position(), param.positionAfter);
    EXPECT_EQ(world.changes, param.changes);
    DrawPoint position(0, 0, 0);
    object->GetPosition(position);
    EXPECT_EQ(position.GetRadius(), param.changes > 0 ? 0 : 7);
    EXPECT_EQ(position.GetColor(), Palette[5]);
}

constexpr POINT kNone{0, 0}, kGrab1{5, 5}, kGrab2{10, 12}, kHome{100, 100};

// clang-format off
INSTANTIATE_TEST_SUITE_P(EveryRow, DraggableStateTable, ::testing::Values(
    //        name                drag   event  on     result drag   grab    position    changes
    //                                   shape         after
    StateCase{"RestingLDownOn",   false, LDown, true,  true,  true,  kGrab2, kHome,      0},
    StateCase{"RestingLDownOff",  false, LDown, false, false, false, kNone,  kHome,      0},
    StateCase{"RestingLUp",       false, LUp,   true,  false, false, kNone,  kHome,      0},
    StateCase{"RestingMove",      false, Move,  true,  false, false, kNone,  kHome,      0},
    StateCase{"RestingRDown",     false, RDown, true,  false, false, kNone,  kHome,      0},
    StateCase{"RestingRUp",       false, RUp,   true,  false, false, kNone,  kHome,      0},
    StateCase{"RestingTick",      false, Tick,  true,  false, false, kNone,  kHome,      0},
    StateCase{"DraggingMoveOn",   true,  Move,  true,  true,  true,  kGrab1, {105, 107}, 1},
    StateCase{"DraggingMoveOff",  true,  Move,  false, true,  true,  kGrab1, {295, 295}, 1},
    StateCase{"DraggingLDownOn",  true,  LDown, true,  true,  true,  kGrab2, kHome,      0},
    StateCase{"DraggingLDownOff", true,  LDown, false, false, true,  kGrab1, kHome,      0},
    StateCase{"DraggingLUp",      true,  LUp,   false, true,  false, kGrab1, kHome,      0},
    StateCase{"DraggingRDown",    true,  RDown, true,  false, true,  kGrab1, kHome,      0},
    StateCase{"DraggingRUp",      true,  RUp,   true,  false, true,  kGrab1, kHome,      0},
    StateCase{"DraggingTick",     true,  Tick,  true,  false, true,  kGrab1, kHome,      0}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

/// A grab and a move near the 32-bit limits: the offset and the new position wrap around (the
/// sanitizer build stops on signed overflow). Square(0, 0, 0) has one shape covering every point.
struct WrapCase {
    const char* name;
    POINT position, grabAt, moveTo, grabOffset, positionAfter;
};

class DraggableWrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(DraggableWrap, OffsetAndPositionWrapAround) {
    const WrapCase& param = GetParam();
    std::unique_ptr<TestDraggable> object(TestDraggable::Square(0, 0, 0));
    object->SetPosition(DrawPoint(param.position.x, param.position.y, 0));
    FakeWorld world;
    world.SetMouse(param.grabAt);
    ASSERT_TRUE(object->OnLButtonDown(world));
    EXPECT_EQ(object->GrabOffset(), param.grabOffset);
    world.SetMouse(param.moveTo);
    ASSERT_TRUE(object->OnMouseMove(world));
    EXPECT_EQ(object->Position(), param.positionAfter);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(NearTheLimits, DraggableWrap, ::testing::Values(
    //       name           position   grabAt        moveTo          offset        after
    WrapCase{"PastMax",     {kMax, 0}, {kMin, 0},    {kMin + 10, 5}, {1, 0},       {kMin + 9, 5}},
    WrapCase{"BeforeMin",   {kMin, 3}, {kMax, -2},   {kMax, 5},      {-1, -5},     {kMin, 10}},
    WrapCase{"AtTheLimits", {0, 0},    {kMin, kMax}, {0, 0},         {kMin, kMax}, {kMin, kMin+1}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
