#include "shapes/Color.h"

#include <istream>
#include <ostream>

#include "shapes/SavedText.h"
#include "shapes/WorldText.h"

/// Makes palette entries from their packed values; the only code that builds a Color directly.
struct PaletteEntry {
    static constexpr Color Of(std::uint32_t packed) { return Color(packed); }
};

// Constant-initialised, so a colour made during static initialisation anywhere already finds
// the table filled.
constinit const std::array<Color, 16> Palette = {
    PaletteEntry::Of(0x00000000),  // black
    PaletteEntry::Of(0x00FF0000),  // blue
    PaletteEntry::Of(0x0000FF00),  // green
    PaletteEntry::Of(0x00FFFF00),  // cyan
    PaletteEntry::Of(0x000000FF),  // red
    PaletteEntry::Of(0x00FF00FF),  // magenta
    PaletteEntry::Of(0x0000FFFF),  // yellow
    PaletteEntry::Of(0x00FFFFFF),  // white
    PaletteEntry::Of(0x00800000),  // dark blue
    PaletteEntry::Of(0x00008000),  // dark green
    PaletteEntry::Of(0x00808000),  // dark cyan
    PaletteEntry::Of(0x00000080),  // dark red
    PaletteEntry::Of(0x00800080),  // dark magenta
    PaletteEntry::Of(0x00008080),  // dark yellow
    PaletteEntry::Of(0x00808080),  // grey
    PaletteEntry::Of(0x00C0C0C0),  // light grey
};

Color::Color() {
    SetFromPalette(0);
}

void Color::SetFromPalette(std::int32_t index) {
    if (index < 0 || index >= static_cast<std::int32_t>(Palette.size())) {
        index = 0;
    }
    value = Palette[static_cast<std::size_t>(index)].value;
}

void Color::SetRGB(std::int32_t red, std::int32_t green, std::int32_t blue) {
    // Converting to unsigned first keeps the masks and shifts defined for negative arguments.
    value = (static_cast<std::uint32_t>(red) & 0xFFu) |
            ((static_cast<std::uint32_t>(green) & 0xFFu) << 8) |
            ((static_cast<std::uint32_t>(blue) & 0xFFu) << 16);
}

void Color::GetRGB(std::int32_t& red, std::int32_t& green, std::int32_t& blue) const {
    red = static_cast<std::int32_t>(value & 0xFFu);
    green = static_cast<std::int32_t>((value >> 8) & 0xFFu);
    blue = static_cast<std::int32_t>((value >> 16) & 0xFFu);
}

std::ostream& operator<<(std::ostream& out, const Color& colour) {
    std::int32_t red = 0, green = 0, blue = 0;
    colour.GetRGB(red, green, blue);
    InsertText(out, "color");
    InsertText(out, " { ");
    InsertInt(out, red);
    InsertText(out, " ");
    InsertInt(out, green);
    InsertText(out, " ");
    InsertInt(out, blue);
    InsertText(out, " }");
    return out;
}

std::istream& operator>>(std::istream& in, Color& colour) {
    // Text as a save writes it is taken at once; any other, item by item below.
    SavedText saved(in);
    const Color savedColour = saved.Colour();
    if (saved.Commit(in)) {
        colour = savedColour;
        return in;
    }
    static constexpr ElementWords kWords{"a colour", "the opening brace of a colour",
                                         "the closing brace of a colour", "color"};
    if (!ExtractOpening(in, 'c', kWords)) {
        return in;
    }
    std::int32_t red = 0, green = 0, blue = 0;
    ExtractInt(in, red, "the red of a colour");
    ExtractInt(in, green, "the green of a colour");
    ExtractInt(in, blue, "the blue of a colour");
    ExtractClosingBrace(in, kWords);
    if (!in.fail()) {
        colour.SetRGB(red, green, blue);
    }
    return in;
}
