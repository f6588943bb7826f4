#include "document/World.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "ObjectTestKit.h"
#include "framework/CView.h"

namespace {

using velk_test::ProbeShape;
using velk_test::TestDraggable;
using velk_test::TestDrawable;

class CountingView : public CView {
public:
    void OnUpdate(CView* sender, long hint, CObject* hintObject) override {
        ++updates;
        EXPECT_EQ(hint, 0);
        EXPECT_EQ(hintObject, nullptr);
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

/// Logs its destruction together with what the world's lists held at that moment.
struct Destruction {
    int id;
    std::int32_t objectsLeft;
    std::int32_t typedLeft;  ///< interactables + drawables + updateables
};

class LoggingDraggable : public TestDraggable {
public:
    LoggingDraggable(int objectId, const World* owner, std::vector<Destruction>* log)
        : TestDraggable(nullptr, objectId), world(owner), destructions(log) {}
    ~LoggingDraggable() override {
        destructions->push_back(Destruction{id, world->GetAllObjects().count,
                                            world->GetInteractables().count +
                                                world->GetDrawables().count +
                                                world->GetUpdateables().count});
    }

private:
    const World* world;
    std::vector<Destruction>* destructions;
};

class PlainObject : public Object {
public:
    std::ostream& Write(std::ostream& out) const override { return out; }
    void Read(std::istream& /*in*/) override {}
};

class TestUpdateable : public UpdateableObject {
public:
    std::ostream& Write(std::ostream& out) const override { return out; }
    void Read(std::istream& /*in*/) override {}
    bool Update(WorldContext& /*world*/) override { return false; }
};

class TestInteractable : public velk_test::WithShapes<InteractableObject> {
public:
    bool Update(WorldContext& /*world*/) override { return false; }
};

template <typename T>
std::vector<const void*> Items(const PointerList<T>& list) {
    std::vector<const void*> items;
    for (const auto* node = list.head; node != nullptr; node = node->next) {
        items.push_back(static_cast<const void*>(node->value));
    }
    return items;
}

std::vector<const void*> Items(std::initializer_list<const Object*> objects) {
    return std::vector<const void*>(objects.begin(), objects.end());
}

POINT SizeOf(const World& world) {
    POINT size;
    world.GetWorldSize(size.x, size.y);
    return size;
}

TEST(WorldTest, IsCreatedByItsRuntimeClassWithDefaults) {
    const CRuntimeClass* runtimeClass = RUNTIME_CLASS(World);
    EXPECT_EQ(std::string(runtimeClass->className), "World");
    std::unique_ptr<CObject> made(runtimeClass->CreateObject());
    auto* world = dynamic_cast<World*>(made.get());
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(world->GetRuntimeClass(), runtimeClass);

    EXPECT_EQ(SizeOf(*world), (POINT{1024, 1024}));
    EXPECT_FALSE(world->IsModified());
    for (std::int32_t count : {world->GetAllObjects().count, world->GetInteractables().count,
                               world->GetDrawables().count, world->GetUpdateables().count}) {
        EXPECT_EQ(count, 0);
    }
    DrawPoint mouse(5, 5, 5);
    mouse.SetColor(Palette[3]);
    world->GetMousePosition(mouse);
    EXPECT_EQ(mouse.GetPoint(), (POINT{0, 0}));
    EXPECT_EQ(mouse.GetRadius(), 0);
    EXPECT_EQ(mouse.GetColor(), Palette[0]);
}

TEST(WorldAddObject, SortsEachObjectIntoTheListsOfItsClassesKeepingOrder) {
    World world;
    auto* plain = new PlainObject;
    auto* updateable = new TestUpdateable;
    auto* drawable = new TestDrawable;
    auto* interactable = new TestInteractable;
    auto* draggable = new TestDraggable;
    auto* secondDraggable = new TestDraggable;
    for (Object* object :
         {static_cast<Object*>(draggable), static_cast<Object*>(plain),
          static_cast<Object*>(updateable), static_cast<Object*>(drawable),
          static_cast<Object*>(interactable), static_cast<Object*>(secondDraggable)}) {
        world.AddObject(object);
    }

    EXPECT_EQ(Items(world.GetAllObjects()),
              Items({draggable, plain, updateable, drawable, interactable, secondDraggable}));
    EXPECT_EQ(Items(world.GetUpdateables()),
              Items({draggable, updateable, drawable, interactable, secondDraggable}));
    EXPECT_EQ(Items(world.GetDrawables()),
              Items({draggable, drawable, interactable, secondDraggable}));
    EXPECT_EQ(Items(world.GetInteractables()), Items({draggable, interactable, secondDraggable}));
}

TEST(WorldAddObject, AnEmptyPointerGoesOnlyIntoTheListOfAllObjects) {
    World world;
    world.AddObject(nullptr);
    EXPECT_EQ(world.GetAllObjects().count, 1);
    EXPECT_EQ(world.GetUpdateables().count, 0);
    EXPECT_TRUE(world.OnNewDocument());
    EXPECT_EQ(world.GetAllObjects().count, 0);
}

/// A world of three objects with ids 1, 2, 3, resized, mouse moved, modified and watched by a
/// view.
class WorldEmptyingTest : public ::testing::Test {
protected:
    void Fill(World& world) {
        for (int id = 1; id <= 3; ++id) {
            auto* object = new LoggingDraggable(id, &world, &destructions);
            object->AddShape(new ProbeShape(id, RECT{}, &shapesDestroyed));
            world.AddObject(object);
        }
        world.SetWorldSize(300, 200);
        DrawPoint mouse(17, -4, 0);
        mouse.SetColor(Palette[6]);
        world.SetMousePosition(mouse);
        world.MarkChanged();
        world.AddView(&view);
        view.updates = 0;
    }

    void ExpectMouseKept(const World& world) {
        DrawPoint mouse(0, 0, 0);
        world.GetMousePosition(mouse);
        EXPECT_EQ(mouse.GetPoint(), (POINT{17, -4}));
        EXPECT_EQ(mouse.GetColor(), Palette[6]);
    }

    std::vector<Destruction> destructions;
    std::vector<int> shapesDestroyed;
    CountingView view;
};

TEST_F(WorldEmptyingTest, OnNewDocumentDestroysEveryObjectOnceHeadFirstAfterEmptyingTypedLists) {
    World world;
    Fill(world);

    EXPECT_TRUE(world.OnNewDocument());

    //   objects: head -> [1] <-> [2] <-> [3]      typed lists already empty
    // each object is destroyed while its node is still the head, then the node is erased.
    ASSERT_EQ(destructions.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(destructions[i].id, i + 1);
        EXPECT_EQ(destructions[i].objectsLeft, 3 - i);
        EXPECT_EQ(destructions[i].typedLeft, 0);
    }
    EXPECT_EQ(shapesDestroyed, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(world.GetAllObjects().count, 0);
    EXPECT_EQ(world.GetAllObjects().head, nullptr);
    EXPECT_EQ(SizeOf(world), (POINT{1024, 1024}));
    EXPECT_FALSE(world.IsModified());
    EXPECT_EQ(view.updates, 0);
    ExpectMouseKept(world);

    EXPECT_TRUE(world.OnNewDocument());  // an empty world empties without trouble
    EXPECT_EQ(destructions.size(), 3u);
}

TEST_F(WorldEmptyingTest, FailingBaseLeavesTheWorldUntouched) {
    std::vector<Destruction> afterDeath;
    {
        RefusingWorld world;
        Fill(world);
        world.refuse = true;

        EXPECT_FALSE(world.OnNewDocument());

        EXPECT_TRUE(destructions.empty());
        EXPECT_EQ(world.GetAllObjects().count, 3);
        EXPECT_EQ(world.GetInteractables().count, 3);
        EXPECT_EQ(world.GetDrawables().count, 3);
        EXPECT_EQ(world.GetUpdateables().count, 3);
        EXPECT_EQ(SizeOf(world), (POINT{300, 200}));
        EXPECT_TRUE(world.IsModified());
        EXPECT_EQ(view.updates, 0);
        ExpectMouseKept(world);
    }
    // The world still destroys what it owns when it dies.
    EXPECT_EQ(destructions.size(), 3u);
    EXPECT_EQ(shapesDestroyed, (std::vector<int>{1, 2, 3}));
}

TEST_F(WorldEmptyingTest, DestructorDestroysEveryObjectOnceHeadFirst) {
    {
        World world;
        Fill(world);
    }
    ASSERT_EQ(destructions.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(destructions[i].id, i + 1);
        EXPECT_EQ(destructions[i].typedLeft, 0);
    }
    EXPECT_EQ(shapesDestroyed, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(view.GetDocument(), nullptr);
}

/// SetWorldSize takes any values and asks for one update every time.
class WorldSizeTest : public ::testing::TestWithParam<POINT> {};

TEST_P(WorldSizeTest, StoresAnyValuesAndAlwaysUpdatesTheViews) {
    World world;
    CountingView view;
    world.AddView(&view);
    const POINT size = GetParam();

    world.SetWorldSize(size.x, size.y);
    EXPECT_EQ(SizeOf(world), size);
    EXPECT_EQ(view.updates, 1);
    EXPECT_EQ(view.lastSender, nullptr);

    world.SetWorldSize(size.x, size.y);
    EXPECT_EQ(view.updates, 2);
    EXPECT_FALSE(world.IsModified());
}

INSTANTIATE_TEST_SUITE_P(AnyValues, WorldSizeTest,
                         ::testing::Values(POINT{1024, 1024}, POINT{0, 0}, POINT{-5, -7},
                                           POINT{1, 4000}, POINT{INT32_MIN, INT32_MAX}));

TEST(WorldTest, MarkChangedRaisesTheFlagAndUpdatesEveryView) {
    World world;
    CountingView first, second;
    world.AddView(&first);
    world.AddView(&second);
    world.MarkChanged();
    EXPECT_TRUE(world.IsModified());
    EXPECT_EQ(first.updates, 1);
    EXPECT_EQ(second.updates, 1);
    EXPECT_EQ(first.lastSender, nullptr);
}

TEST(WorldTest, MousePositionCarriesAllFourFields) {
    World world;
    DrawPoint given(-12, 34, 5);
    given.SetColor(Palette[9]);
    world.SetMousePosition(given);
    DrawPoint taken(0, 0, 0);
    EXPECT_EQ(&world.GetMousePosition(taken), &taken);
    EXPECT_EQ(taken.GetPoint(), (POINT{-12, 34}));
    EXPECT_EQ(taken.GetRadius(), 5);
    EXPECT_EQ(taken.GetColor(), Palette[9]);
}

/// Dispatches mouse events to a world the way its view does: each event goes to the
/// interactables head to tail until one takes it; a move is stored as the mouse position only
/// after it was offered; a left release then updates every other view.
class ViewDispatch {
public:
    ViewDispatch(World& world, CView& view) : world_(world), view_(view) {}

    const InteractableObject* Move(std::int32_t x, std::int32_t y) {
        const InteractableObject* taker = Offer(&InteractableObject::OnMouseMove);
        world_.SetMousePosition(DrawPoint(x, y, 0));
        return taker;
    }
    const InteractableObject* Press() { return Offer(&InteractableObject::OnLButtonDown); }
    const InteractableObject* Release() {
        const InteractableObject* taker = Offer(&InteractableObject::OnLButtonUp);
        world_.UpdateAllViews(&view_, 0, nullptr);
        return taker;
    }

private:
    const InteractableObject* Offer(bool (InteractableObject::*event)(WorldContext&)) {
        for (auto* node = world_.GetInteractables().head; node != nullptr; node = node->next) {
            if ((node->value->*event)(world_)) {
                return node->value;
            }
        }
        return nullptr;
    }

    World& world_;
    CView& view_;
};

// Three 50 x 50 squares overlapping at (140..150, 140..150); A was added first, so it is asked
// first and drawn on top:
//
//   (100,100) +------+
//             | A +------+  (120,120)
//             |   | B +------+  (140,140)
//             +---|   | C    |
//                 +---|      |
//                     +------+
TEST(WorldDragTest, PressOnTheTopObjectDragsItOneMoveBehindThePointer) {
    World world;
    TestDraggable* a = TestDraggable::Square(100, 100, 50);
    TestDraggable* b = TestDraggable::Square(120, 120, 50);
    TestDraggable* c = TestDraggable::Square(140, 140, 50);
    world.AddObject(a);
    world.AddObject(b);
    world.AddObject(c);
    CountingView dispatching, other;
    world.AddView(&dispatching);
    world.AddView(&other);
    ViewDispatch view(world, dispatching);

    EXPECT_EQ(view.Move(145, 145), nullptr);  // nobody drags yet
    EXPECT_EQ(view.Press(), a);
    EXPECT_TRUE(a->IsDragging());
    EXPECT_FALSE(b->IsDragging());
    EXPECT_FALSE(c->IsDragging());
    EXPECT_EQ(a->GrabOffset(), (POINT{45, 45}));
    EXPECT_FALSE(world.IsModified());
    EXPECT_EQ(other.updates, 0);

    // The first move places A by the mouse position stored before it: A stays put.
    EXPECT_EQ(view.Move(160, 170), a);
    EXPECT_EQ(a->Position(), (POINT{100, 100}));
    EXPECT_TRUE(world.IsModified());
    EXPECT_EQ(view.Move(200, 230), a);
    EXPECT_EQ(a->Position(), (POINT{115, 125}));
    EXPECT_EQ(dispatching.updates, 2);
    EXPECT_EQ(other.updates, 2);

    EXPECT_EQ(view.Release(), a);
    EXPECT_FALSE(a->IsDragging());
    // Dropped at the last mouse position but one, less the grab offset.
    EXPECT_EQ(a->Position(), (POINT{115, 125}));
    EXPECT_EQ(dispatching.updates, 2);  // the release does not update its own view
    EXPECT_EQ(other.updates, 3);
    EXPECT_EQ(other.lastSender, &dispatching);

    EXPECT_EQ(view.Move(10, 10), nullptr);
    EXPECT_EQ(b->Position(), (POINT{120, 120}));
    EXPECT_EQ(c->Position(), (POINT{140, 140}));
    EXPECT_EQ(dispatching.updates, 2);

    // A now covers (115..165, 125..175); B and C are asked only where A is not.
    view.Move(185, 185);
    EXPECT_EQ(view.Press(), c);
    EXPECT_EQ(c->GrabOffset(), (POINT{45, 45}));
    view.Move(150, 150);
    EXPECT_EQ(view.Press(), a);  // A, still first in the list, takes the press where it covers
    EXPECT_TRUE(a->IsDragging());
    EXPECT_TRUE(c->IsDragging());
    EXPECT_EQ(view.Release(), a);  // the first dragging object in the list takes the release
    EXPECT_TRUE(c->IsDragging());
}

}  // namespace
