#include "objects/DraggableObject.h"

#include <istream>
#include <ostream>

#include "gdi/GdiTypes.h"
#include "objects/WorldContext.h"
#include "shapes/WorldText.h"

DraggableObject::DraggableObject() : dragging(false), grabOffset(0, 0, 0) {}

DraggableObject::~DraggableObject() = default;

std::ostream& DraggableObject::Write(std::ostream& out) const {
    InsertText(out, "draggable");
    InsertText(out, " { ");
    DrawableObject::Write(out);
    InsertText(out, " } ");
    EndLine(out);
    return out;
}

void DraggableObject::Read(std::istream& in) {
    static constexpr ElementWords kWords{"a draggable object",
                                         "the opening brace of a draggable object",
                                         "the closing brace of a draggable object", "draggable"};
    if (!ExtractBraceOpening(in, 30, kWords)) {
        return;
    }
    DrawableObject::Read(in);
    ExtractClosingBrace(in, kWords);
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
    if (!dragging) {
        dragging = true;
        DraggingChanged(true);
    }
    grabOffset.Set(SubtractWrapping(mouse.GetX(), position.GetX()),
                   SubtractWrapping(mouse.GetY(), position.GetY()), 0);
    return true;
}

bool DraggableObject::OnLButtonUp(WorldContext& /*world*/) {
    if (!dragging) {
        return false;
    }
    dragging = false;
    DraggingChanged(false);
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
    Placed();
    world.MarkChanged();
    return true;
}
