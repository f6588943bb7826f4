#include "objects/DraggableObject.h"

#include <istream>
#include <ostream>

#include "gdi/GdiTypes.h"
#include "objects/WorldContext.h"

DraggableObject::DraggableObject() : dragging(false), grabOffset(0, 0, 0) {}

DraggableObject::~DraggableObject() = default;

// The "draggable" element arrives with the world file format; until then both directions fail.
std::ostream& DraggableObject::Write(std::ostream& out) const {
    out.setstate(std::ios::failbit);
    return out;
}

void DraggableObject::Read(std::istream& in) {
    in.setstate(std::ios::failbit);
}

bool DraggableObject::Update(WorldContext& /*world*/) {
    return false;
}

bool DraggableObject::OnLButtonDown(WorldContext& world) {
    DrawPoint mouse(0, 0, 0);
    world.GetMousePosition(mouse);
    if (!HitTest(mouse)) {
        return false;
    }
    dragging = true;
    grabOffset.Set(SubtractWrapping(mouse.GetX(), position.GetX()),
                   SubtractWrapping(mouse.GetY(), position.GetY()), 0);
    return true;
}

bool DraggableObject::OnLButtonUp(WorldContext& /*world*/) {
    if (!dragging) {
        return false;
    }
    dragging = false;
    return true;
}

bool DraggableObject::OnMouseMove(WorldContext& world) {
    if (!dragging) {
        return false;
    }
    DrawPoint mouse(0, 0, 0);
    world.GetMousePosition(mouse);
    position.Set(SubtractWrapping(mouse.GetX(), grabOffset.GetX()),
                 SubtractWrapping(mouse.GetY(), grabOffset.GetY()), 0);
    world.MarkChanged();
    return true;
}
