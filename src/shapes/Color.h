#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>

/// A colour packed as 0x00BBGGRR, red in the low byte: the value that pens, brushes and pixels
/// take. A new colour is black, entry 0 of the Palette.
class Color {
public:
    Color();

    /// Stores Palette[index]. An index outside 0 to 15 stores black (entry 0) instead of
    /// reading outside the table.
    void SetFromPalette(std::int32_t index);
    /// Stores the low byte of each component; nothing is clamped or rejected.
    void SetRGB(std::int32_t red, std::int32_t green, std::int32_t blue);
    /// Each component in 0 to 255.
    void GetRGB(std::int32_t& red, std::int32_t& green, std::int32_t& blue) const;
    std::uint32_t GetValue() const { return value; }

    friend bool operator==(const Color&, const Color&) = default;

private:
    // Lets the Palette be built from packed values at compile time, so that it is filled
    // before any static object takes a colour from it.
    friend struct PaletteEntry;
    constexpr explicit Color(std::uint32_t packed) : value(packed) {}

    std::uint32_t value;
};

/// Inserts the colour element: "color { red green blue }" with single blanks and no blank
/// after the closing brace.
std::ostream& operator<<(std::ostream& out, const Color& colour);
/// Extracts a colour element, checking only the first letter of its keyword. The colour is
/// changed only when the whole element was read; each component keeps its low 8 bits.
std::istream& operator>>(std::istream& in, Color& colour);

/// The sixteen colours from which a new colour takes its first value.
extern const std::array<Color, 16> Palette;
