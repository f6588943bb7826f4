#pragma once

#include <cstdint>

/// The value types of the drawing layer: colours, points, sizes and boxes in signed 32-bit
/// logical units, and the constants that pens, brushes and block transfers take.

using COLORREF = std::uint32_t;  ///< 0x00BBGGRR, red in the low byte.

struct POINT {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct SIZE {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
};

/// A half-open box: it covers left <= x < right and top <= y < bottom.
struct RECT {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

constexpr bool operator==(const POINT& a, const POINT& b) {
    return a.x == b.x && a.y == b.y;
}
constexpr bool operator==(const SIZE& a, const SIZE& b) {
    return a.cx == b.cx && a.cy == b.cy;
}
constexpr bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

constexpr COLORREF RGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return COLORREF{red} | (COLORREF{green} << 8) | (COLORREF{blue} << 16);
}
constexpr std::uint8_t GetRValue(COLORREF colour) {
    return colour & 0xFF;
}
constexpr std::uint8_t GetGValue(COLORREF colour) {
    return (colour >> 8) & 0xFF;
}
constexpr std::uint8_t GetBValue(COLORREF colour) {
    return (colour >> 16) & 0xFF;
}

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// Brush styles.
constexpr unsigned BS_SOLID = 0;
constexpr unsigned BS_NULL = 1;
constexpr unsigned BS_HOLLOW = BS_NULL;

/// How a brush is described to CBrush::CreateBrushIndirect.
struct LOGBRUSH {
    unsigned lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
    std::uintptr_t lbHatch = 0;
};

// Raster operations of PatBlt and BitBlt; only plain copies are supported.
constexpr std::uint32_t PATCOPY = 0x00F00021;
constexpr std::uint32_t SRCCOPY = 0x00CC0020;

// Mapping modes: one logical unit is one device pixel.
constexpr int MM_TEXT = 1;

// What GetClipBox, SelectClipRgn and IntersectClipRect report about the clip.
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;

/// Two's-complement addition and subtraction of 32-bit coordinates. Offsets applied to shapes
/// near the limits of the coordinate space wrap around instead of being undefined.
constexpr std::int32_t AddWrapping(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t SubtractWrapping(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
