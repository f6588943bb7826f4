#include "objects/ObjectIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ObjectTestKit.h"
#include "objects/DraggableObject.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawRectangle.h"
#include "support/RowName.h"

namespace {

using velk_test::kMax;
using velk_test::kMin;

/// A plain object at (x, y) with a filled box of [0, w) x [0, h) around it, or no shape.
DraggableObject* Plain(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    auto* object = new DraggableObject;
    object->SetPosition(DrawPoint(x, y, 0));
    if (w > 0) {
        auto* box = new DrawRectangle;
        box->SetCorners(DrawPoint(0, 0, 0), DrawPoint(w, h, 0));
        object->AddShape(box);
    }
    return object;
}

// Where one object lies, and a box searched: whether the index must name it.
struct PlaceCase {
    const char* name;
    std::int32_t x, y, w, h;
    WorldBox searched;
    bool found;
};

class ObjectIndexPlaces : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(ObjectIndexPlaces, NameEveryObjectThatMeetsTheBoxAmongFarOnes) {
    const PlaceCase& row = GetParam();
    ObjectIndex index;
    // Objects far apart at the corners of 32 bits spread the grid as widely as it goes.
    std::vector<DraggableObject*> owned{Plain(kMin, kMin, 10, 10),
                                        Plain(kMax - 20, kMax - 20, 10, 10),
                                        Plain(row.x, row.y, row.w, row.h)};
    for (DraggableObject* object : owned) {
        index.Add(object);
    }
    std::vector<std::uint32_t> found;
    index.FindMeeting(row.searched, found);
    EXPECT_EQ(std::count(found.begin(), found.end(), 2u), row.found ? 1 : 0);
    // Moved far away, the object is found there and no longer here.
    owned[2]->SetPosition(DrawPoint(-5000, 7000, 0));
    found.clear();
    index.FindMeeting(row.searched, found);
    const bool there = row.searched.left <= -5000 && row.searched.right > -5000;
    EXPECT_EQ(std::count(found.begin(), found.end(), 2u), there && row.found ? 1 : 0);
    index.Clear();
    for (DraggableObject* object : owned) {
        delete object;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Places, ObjectIndexPlaces,
    ::testing::Values(
        PlaceCase{"inside", 100, 100, 20, 20, WorldBox{105, 105, 106, 106}, true},
        PlaceCase{"just_left", 100, 100, 20, 20, WorldBox{90, 100, 99, 120}, false},
        PlaceCase{"touching_edge", 100, 100, 20, 20, WorldBox{119, 119, 200, 200}, true},
        PlaceCase{"large_box", 0, 0, 5000, 30, WorldBox{4000, 10, 4001, 11}, true},
        PlaceCase{"no_shapes", 100, 100, 0, 0, WorldBox{0, 0, 1000, 1000}, false},
        PlaceCase{"beyond_32_bits", kMax - 5, 0, 30, 30, WorldBox{0, 5000, 1, 5001}, true}),
    velk_test::RowName());

// Only objects of exactly the program's own class are plain; the others are listed in order.
TEST(ObjectIndexTest, ListsObjectsOfOtherClassesApartInOrder) {
    ObjectIndex index;
    auto* plain = Plain(0, 0, 5, 5);
    auto* other = velk_test::TestDraggable::Square(0, 0, 5);
    index.Add(plain);
    index.Add(other);
    EXPECT_EQ(index.Plain(0), plain);
    EXPECT_EQ(index.Plain(1), nullptr);
    ASSERT_EQ(index.OtherInteractables().size(), 1u);
    EXPECT_EQ(index.OtherInteractables()[0].ordinal, 1u);
    EXPECT_EQ(index.OtherDrawables().size(), 1u);
    EXPECT_EQ(index.OtherUpdateables().size(), 1u);
    index.Clear();
    delete plain;
    delete other;
}

}  // namespace
