#include "document/WorldFile.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string_view>

#include "document/World.h"
#include "objects/DraggableObject.h"
#include "shapes/WorldText.h"

bool WriteWorld(std::ostream& out, const World& world) {
    std::int32_t width = 0, height = 0;
    world.GetWorldSize(width, height);
    InsertInt(out, width);
    InsertText(out, " ");
    InsertInt(out, height);
    EndLine(out);
    EndLine(out);
    for (const auto* node = world.GetAllObjects().head; node != nullptr; node = node->next) {
        if (node->value != nullptr) {
            node->value->Write(out);
            EndLine(out);
        }
    }
    return !out.fail();
}

bool ReadWorld(std::istream& in, World& world) {
    std::int32_t width = 0, height = 0;
    ExtractInt(in, width, "the width of the world");
    ExtractInt(in, height, "the height of the world");
    if (in.fail()) {
        return false;
    }
    world.SetWorldSize(width, height);
    for (;;) {
        char word[30];
        // The end of the text between objects is the normal end, not a fault.
        const std::string_view keyword = ExtractWord(in, word, nullptr);
        if (keyword.empty()) {
            return true;
        }
        if (keyword == "draggable") {
            // Added whether or not its element was whole: a broken object keeps what was read.
            auto object = std::make_unique<DraggableObject>();
            object->Read(in);
            // Handed over before AddObject, which may fail after taking ownership.
            world.AddObject(object.release());
        } else {
            NoteSkippedWord(in, keyword);
        }
    }
}
