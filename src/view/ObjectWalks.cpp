#include "view/ObjectWalks.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "document/World.h"
#include "gdi/CDC.h"
#include "gdi/GdiTypes.h"
#include "objects/DraggableObject.h"
#include "objects/ObjectIndex.h"
#include "objects/PointerList.h"
#include "shapes/DrawPoint.h"

namespace {

/// Every drawable object, last to first: the walk whose result DrawObjects gives.
void DrawEveryObject(World& world, CDC& surface) {
    for (auto* node = world.GetDrawables().tail; node != nullptr; node = node->prev) {
        node->value->Draw(surface, world);
    }
}

bool SameBox(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

/// The plain objects of the index that may draw into the clip and were added before `before`,
/// last added first.
void FindDrawn(const ObjectIndex& index, const RECT& clip, std::uint32_t before,
               std::vector<std::uint32_t>& ordinals) {
    index.FindMeetingLastFirst(WorldBox{clip.left, clip.top, clip.right, clip.bottom}, before,
                               ordinals);
}

}  // namespace

void DrawObjects(World& world, CDC& surface) {
    if (surface.KeepsCallLog()) {
        DrawEveryObject(world, surface);
        return;
    }
    const ObjectIndex& index = world.GetIndex();
    RECT clip{};
    surface.GetClipBox(&clip);
    std::uint64_t version = index.Version();
    std::vector<std::uint32_t> plain;
    FindDrawn(index, clip, index.Count(), plain);
    const auto& others = index.OtherDrawables();
    std::size_t other = others.size();  // the others are walked from the back
    std::size_t next = 0;
    // The objects lie all over the heap, and the pixels just drawn push them out of the cache;
    // each reaches its shapes through pointers, one miss after another. Cursors run ahead of
    // the drawing, each a step further along that chain: object, its list's nodes, its shapes.
    constexpr std::size_t kObjectAhead = 8;
    constexpr std::size_t kNodesAhead = 4;
    constexpr std::size_t kShapesAhead = 2;
    for (;;) {
        other = std::min(other, others.size());
        const bool plainLeft = next < plain.size();
        if (!plainLeft && other == 0) {
            return;
        }
        if (plainLeft && (other == 0 || plain[next] > others[other - 1].ordinal)) {
            if (next + kObjectAhead < plain.size()) {
                __builtin_prefetch(index.Plain(plain[next + kObjectAhead]));
            }
            if (next + kNodesAhead < plain.size()) {
                __builtin_prefetch(index.Plain(plain[next + kNodesAhead])->GetShapes().head);
            }
            if (next + kShapesAhead < plain.size()) {
                const auto& shapes = index.Plain(plain[next + kShapesAhead])->GetShapes();
                for (const auto* shape = shapes.head; shape != nullptr; shape = shape->next) {
                    __builtin_prefetch(shape->value);
                }
            }
            index.Plain(plain[next++])->Draw(surface, world);
            continue;
        }
        const ObjectIndex::Ordered<DrawableObject> entry = others[--other];
        entry.object->Draw(surface, world);
        // An object of another class may have moved objects or changed the clip while it drew;
        // the rest of the walk then goes by what is true now.
        RECT now{};
        surface.GetClipBox(&now);
        if (index.Version() != version || !SameBox(now, clip)) {
            version = index.Version();
            clip = now;
            FindDrawn(index, clip, entry.ordinal, plain);
            next = 0;
        }
    }
}

namespace {

using Handler = bool (InteractableObject::*)(WorldContext&);

Handler HandlerOf(MouseEvent event) {
    switch (event) {
        case MouseEvent::LeftDown:
            return &InteractableObject::OnLButtonDown;
        case MouseEvent::LeftUp:
            return &InteractableObject::OnLButtonUp;
        case MouseEvent::RightDown:
            return &InteractableObject::OnRButtonDown;
        case MouseEvent::RightUp:
            return &InteractableObject::OnRButtonUp;
        case MouseEvent::Move:
            break;
    }
    return &InteractableObject::OnMouseMove;
}

/// The plain objects that may take the event and were added after `after` (all when it is
/// negative), first added first. A plain object takes a left press only where its shapes are,
/// a left release or a move only while dragging, and a right button never.
void FindTakers(const World& world, MouseEvent event, std::int64_t after,
                std::vector<std::uint32_t>& ordinals) {
    const ObjectIndex& index = world.GetIndex();
    ordinals.clear();
    if (event == MouseEvent::LeftDown) {
        DrawPoint mouse(0, 0, 0);
        world.GetMousePosition(mouse);
        const std::int64_t x = mouse.GetX(), y = mouse.GetY();
        index.FindMeeting(WorldBox{x, y, x + 1, y + 1}, ordinals);
    } else if (event == MouseEvent::LeftUp || event == MouseEvent::Move) {
        ordinals = index.Dragging();
    }
    std::erase_if(ordinals, [after](std::uint32_t ordinal) { return ordinal <= after; });
    std::sort(ordinals.begin(), ordinals.end());
}

}  // namespace

bool OfferMouseEvent(World& world, MouseEvent event) {
    const Handler handler = HandlerOf(event);
    const ObjectIndex& index = world.GetIndex();
    std::vector<std::uint32_t> plain;
    FindTakers(world, event, -1, plain);
    std::uint64_t version = index.Version();
    DrawPoint mouse(0, 0, 0);
    world.GetMousePosition(mouse);
    const auto& others = index.OtherInteractables();
    std::size_t other = 0;
    std::size_t next = 0;
    for (;;) {
        const bool plainLeft = next < plain.size();
        const bool otherLeft = other < others.size();
        if (!plainLeft && !otherLeft) {
            return false;
        }
        if (plainLeft && (!otherLeft || plain[next] < others[other].ordinal)) {
            InteractableObject* object = index.Plain(plain[next++]);
            if ((object->*handler)(world)) {
                return true;
            }
            continue;
        }
        const ObjectIndex::Ordered<InteractableObject> entry = others[other++];
        if ((entry.object->*handler)(world)) {
            return true;
        }
        // An object of another class may have moved, grabbed or dropped objects; the rest of
        // the walk then goes by what is true now.
        DrawPoint now(0, 0, 0);
        world.GetMousePosition(now);
        if (index.Version() != version || now.GetX() != mouse.GetX() ||
            now.GetY() != mouse.GetY()) {
            version = index.Version();
            mouse = now;
            FindTakers(world, event, entry.ordinal, plain);
            next = 0;
        }
    }
}

bool TickObjects(World& world) {
    const auto& others = world.GetIndex().OtherUpdateables();
    bool changed = false;
    // By position, not by iterator: a tick may add objects, which are then ticked too, as a
    // walk along the list would reach them.
    for (std::size_t i = 0; i < others.size(); ++i) {
        changed = others[i].object->Update(world) || changed;
    }
    return changed;
}
