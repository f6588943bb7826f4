#include "objects/DrawableObject.h"

#include <istream>
#include <memory>
#include <ostream>
#include <string_view>

#include "gdi/GdiTypes.h"
#include "objects/ObjectIndex.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawLine.h"
#include "shapes/DrawRectangle.h"
#include "shapes/WorldText.h"

DrawableObject::DrawableObject() : position(0, 0, 0) {}

DrawableObject::~DrawableObject() {
    DeleteItemsAndClear(shapes);
}

std::ostream& DrawableObject::Write(std::ostream& out) const {
    InsertText(out, "geometry");
    InsertText(out, " { ");
    EndLine(out);
    // The indentation is a field of width 4 holding one blank.
    out.width(4);
    InsertChar(out, ' ');
    position.Write(out);
    EndLine(out);
    for (const auto* node = shapes.head; node != nullptr; node = node->next) {
        if (node->value != nullptr) {
            out.width(4);
            InsertChar(out, ' ');
            node->value->Write(out);
            EndLine(out);
        }
    }
    InsertText(out, "}");
    EndLine(out);
    return out;
}

namespace {

/// A new shape of the kind that keyword names, or null for any other word.
std::unique_ptr<DrawPrimitive> MakeShape(std::string_view keyword) {
    if (keyword == "ellipse") {
        return std::make_unique<DrawEllipse>();
    }
    if (keyword == "line") {
        return std::make_unique<DrawLine>();
    }
    if (keyword == "point") {
        return std::make_unique<DrawPoint>(0, 0, 0);
    }
    if (keyword == "rectangle") {
        return std::make_unique<DrawRectangle>();
    }
    return nullptr;
}

}  // namespace

void DrawableObject::Read(std::istream& in) {
    ReadElement(in);
    Placed();
}

void DrawableObject::ReadElement(std::istream& in) {
    DeleteItemsAndClear(shapes);
    static constexpr ElementWords kWords{"a geometry block",
                                         "the opening brace of a geometry block",
                                         "the closing brace of a geometry block", "geometry"};
    if (!ExtractBraceOpening(in, 10, kWords)) {
        return;
    }
    position.Read(in);
    if (in.fail()) {
        return;
    }
    for (;;) {
        char word[11];
        const std::string_view keyword =
            ExtractWord(in, word, "a shape or the closing brace of a geometry block");
        if (keyword.empty()) {
            return;
        }
        if (keyword.front() == '}') {
            // Text glued to the brace is not written back by a save.
            if (keyword.size() > 1) {
                NoteSkippedWord(in, keyword.substr(1));
            }
            return;
        }
        // Any other word is skipped; a shape is kept whether or not its element was whole.
        if (std::unique_ptr<DrawPrimitive> shape = MakeShape(keyword)) {
            shape->Read(in);
            shapes.Append(shape.get());
            shape.release();
        } else {
            NoteSkippedWord(in, keyword);
        }
    }
}

void DrawableObject::SetPosition(const DrawPoint& point) {
    position = point;
    Placed();
}

void DrawableObject::AddShape(DrawPrimitive* shape) {
    shapes.Append(shape);
    Placed();
}

void DrawableObject::Placed() {
    if (index_ != nullptr) {
        index_->Moved(ordinal_);
    }
}

void DrawableObject::DraggingChanged(bool dragging) {
    if (index_ != nullptr) {
        index_->DraggingChanged(ordinal_, dragging);
    }
}

DrawPoint& DrawableObject::GetPosition(DrawPoint& point) const {
    point = position;
    return point;
}

bool DrawableObject::HitTest(const DrawPoint& point) const {
    const POINT world = point.GetPoint();
    const POINT origin = position.GetPoint();
    DrawPoint relative(0, 0, 0);
    relative.SetPoint(
        POINT{SubtractWrapping(world.x, origin.x), SubtractWrapping(world.y, origin.y)});
    for (const auto* node = shapes.head; node != nullptr; node = node->next) {
        if (node->value != nullptr && node->value->Contains(relative)) {
            return true;
        }
    }
    return false;
}

void DrawableObject::Draw(CDC& surface, WorldContext& /*world*/) const {
    const POINT origin = position.GetPoint();
    for (const auto* node = shapes.head; node != nullptr; node = node->next) {
        if (node->value != nullptr) {
            node->value->Draw(surface, origin.x, origin.y);
        }
    }
}
