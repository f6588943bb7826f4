#include "document/World.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ObjectTestKit.h"
#include "framework/CView.h"

namespace {

using velk_test::ProbeShape;
using velk_test::TestDraggable;
using velk_test::TestDrawable;
using velk_test::Trace;

class CountingView : public CView {
public:
    void OnUpdate(CView* sender, long /*hint*/, CObject* /*hintObject*/) override {
        ++updates;
        lastSender = sender;
    }
    int updates = 0;
    CView* lastSender = nullptr;
};

/// A world whose base preparation for a new document can be made to fail.
class RefusingWorld : public World {
public:
    bool refuse = false;

protected:
    bool CanStartNewDocument() override { return !refuse; }
};

template <typename T>
std::vector<const void*> Items(const PointerList<T>& list) {
    std::vector<const void*> items;
    for (const auto* node = list.head; node != nullptr; node = node->next) {
        items.push_back(node->value);
    }
    return items;
}

POINT SizeOf(const World& world) {
    POINT size;
    world.GetWorldSize(size.x, size.y);
    return size;
}

POINT MouseOf(const World& world) {
    DrawPoint mouse(1, 1, 1);
    return world.GetMousePosition(mouse).GetPoint();
}

TEST(WorldTest, IsCreatedByItsRuntimeClassEmptyAndTakesAnySizeWithAViewUpdate) {
    std::unique_ptr<CObject> made(RUNTIME_CLASS(World)->CreateObject());
    auto* world = dynamic_cast<World*>(made.get());
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(std::string(world->GetRuntimeClass()->className), "World");
    EXPECT_EQ(SizeOf(*world), (POINT{1024, 1024}));
    EXPECT_EQ(MouseOf(*world), (POINT{0, 0}));
    EXPECT_EQ(world->GetAllObjects().count, 0);

    CountingView view;
    world->AddView(&view);
    world->SetWorldSize(-5, INT32_MAX);
    world->SetWorldSize(-5, INT32_MAX);  // no change, still an update
    EXPECT_EQ(SizeOf(*world), (POINT{-5, INT32_MAX}));
    EXPECT_EQ(view.updates, 2);
    EXPECT_FALSE(world->IsModified());
}

TEST(WorldTest, AddObjectPutsEachObjectIntoTheListsOfItsClassesInOrder) {
    class Plain : public Object {
        std::ostream& Write(std::ostream& out) const override { return out; }
        void Read(std::istream& /*in*/) override {}
    };
    class Ticker : public UpdateableObject {
        std::ostream& Write(std::ostream& out) const override { return out; }
        void Read(std::istream& /*in*/) override {}
        bool Update(WorldContext& /*world*/) override { return false; }
    };
    World world;
    Object* const all[] = {new TestDraggable, new Plain,        nullptr,
                           new Ticker,        new TestDrawable, new TestDraggable};
    for (Object* object : all) {
        world.AddObject(object);
    }
    using Ptrs = std::vector<const void*>;
    EXPECT_EQ(Items(world.GetAllObjects()), (Ptrs{all[0], all[1], all[2], all[3], all[4], all[5]}));
    EXPECT_EQ(Items(world.GetUpdateables()), (Ptrs{all[0], all[3], all[4], all[5]}));
    EXPECT_EQ(Items(world.GetDrawables()), (Ptrs{all[0], all[4], all[5]}));
    EXPECT_EQ(Items(world.GetInteractables()), (Ptrs{all[0], all[5]}));
}

//   objects: head -> [1] <-> [2] <-> [3] <- tail
// The typed lists are emptied first; then each object is deleted (its shape with it) while its
// node is still the head, and the node is erased.
const Trace kDestroyedHeadFirst{"~object1 3 0", "~shape1",      "~object2 2 0",
                                "~shape2",      "~object3 1 0", "~shape3"};

class WorldNewDocument : public ::testing::TestWithParam<bool> {};  // whether the base refuses

TEST_P(WorldNewDocument, EmptiesTheWorldUnlessTheBaseRefusesAndKeepsTheMouse) {
    const bool refuse = GetParam();
    Trace trace;
    CountingView view;
    {
        RefusingWorld world;
        for (int id = 1; id <= 3; ++id) {
            // Traces "~object1 3 0": how many objects and typed-list entries are left.
            auto* object = new TestDraggable;
            object->AddShape(new ProbeShape(id, RECT{}, &trace));
            object->onDestroy = [&trace, &world, id] {
                trace.push_back("~object" + std::to_string(id) + " " +
                                std::to_string(world.GetAllObjects().count) + " " +
                                std::to_string(world.GetDrawables().count +
                                               world.GetInteractables().count +
                                               world.GetUpdateables().count));
            };
            world.AddObject(object);
        }
        world.SetWorldSize(300, 200);
        world.SetMousePosition(DrawPoint(17, -4, 0));
        world.MarkChanged();
        world.AddView(&view);
        world.refuse = refuse;

        EXPECT_EQ(world.OnNewDocument(), !refuse);
        EXPECT_EQ(trace, refuse ? Trace{} : kDestroyedHeadFirst);
        for (std::int32_t count : {world.GetAllObjects().count, world.GetDrawables().count,
                                   world.GetInteractables().count, world.GetUpdateables().count}) {
            EXPECT_EQ(count, refuse ? 3 : 0);
        }
        EXPECT_EQ(SizeOf(world), (refuse ? POINT{300, 200} : POINT{1024, 1024}));
        EXPECT_EQ(world.IsModified(), refuse);
        EXPECT_EQ(MouseOf(world), (POINT{17, -4}));
        EXPECT_EQ(view.updates, 0);
    }
    EXPECT_EQ(trace, kDestroyedHeadFirst);  // whatever is left dies with the world, once
    EXPECT_EQ(view.GetDocument(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(BaseSucceedsOrRefuses, WorldNewDocument, ::testing::Bool());

/// Offers an event to the interactables head to tail, as the view does, until one takes it.
const InteractableObject* Offer(World& world, bool (InteractableObject::*event)(WorldContext&)) {
    for (auto* node = world.GetInteractables().head; node != nullptr; node = node->next) {
        if ((node->value->*event)(world)) {
            return node->value;
        }
    }
    return nullptr;
}

// Three 50 x 50 squares overlapping at (140..150, 140..150); A was added first, so it is asked
// first (and drawn on top):
//
//   (100,100) +------+
//             | A +------+  (120,120)
//             |   | B +------+  (140,140)
//             +---|   | C    |
//                 +---|      |
//                     +------+
TEST(WorldTest, PressOnTheTopObjectDragsItOneMoveBehindThePointer) {
    World world;
    TestDraggable* a = TestDraggable::Square(100, 100, 50);
    TestDraggable* b = TestDraggable::Square(120, 120, 50);
    TestDraggable* c = TestDraggable::Square(140, 140, 50);
    for (TestDraggable* object : {a, b, c}) {
        world.AddObject(object);
    }
    CountingView dispatching, other;
    world.AddView(&dispatching);
    world.AddView(&other);
    // As the view does: a move is stored as the mouse position only after it was offered; a
    // left release then updates every other view.
    auto move = [&](std::int32_t x, std::int32_t y) {
        const InteractableObject* taker = Offer(world, &InteractableObject::OnMouseMove);
        world.SetMousePosition(DrawPoint(x, y, 0));
        return taker;
    };
    auto press = [&] { return Offer(world, &InteractableObject::OnLButtonDown); };
    auto release = [&] {
        const InteractableObject* taker = Offer(world, &InteractableObject::OnLButtonUp);
        world.UpdateAllViews(&dispatching, 0, nullptr);
        return taker;
    };

    EXPECT_EQ(move(145, 145), nullptr);  // nobody drags yet
    EXPECT_EQ(press(), a);
    EXPECT_EQ(a->GrabOffset(), (POINT{45, 45}));
    EXPECT_FALSE(b->IsDragging() || c->IsDragging());
    EXPECT_FALSE(world.IsModified());

    // The first move places A by the mouse position stored before it: A stays put.
    EXPECT_EQ(move(160, 170), a);
    EXPECT_EQ(a->Position(), (POINT{100, 100}));
    EXPECT_TRUE(world.IsModified());
    EXPECT_EQ(move(200, 230), a);
    EXPECT_EQ(a->Position(), (POINT{115, 125}));
    EXPECT_EQ(dispatching.updates, 2);
    EXPECT_EQ(other.updates, 2);
    EXPECT_EQ(other.lastSender, nullptr);

    EXPECT_EQ(release(), a);
    EXPECT_FALSE(a->IsDragging());
    EXPECT_EQ(a->Position(), (POINT{115, 125}));  // the last mouse position but one, less the grab
    EXPECT_EQ(dispatching.updates, 2);            // the release skips its own view
    EXPECT_EQ(other.updates, 3);
    EXPECT_EQ(other.lastSender, &dispatching);

    EXPECT_EQ(move(10, 10), nullptr);
    EXPECT_EQ(b->Position(), (POINT{120, 120}));
    EXPECT_EQ(c->Position(), (POINT{140, 140}));
}

}  // namespace
