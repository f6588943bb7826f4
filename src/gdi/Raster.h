#pragma once

#include <cstddef>
#include <cstdint>

#include "gdi/GdiTypes.h"

/// The pixel loops behind CDC. Everything here works in device pixels (64-bit, so translated
/// coordinates never overflow) and is bounded by `clip`, which the caller has already
/// intersected with the bitmap: a shape costs no more than the pixels of the clip it touches.
namespace raster {

/// Pixels to draw into and the box that may be touched.
struct Target {
    std::uint32_t* pixels = nullptr;
    std::ptrdiff_t stride = 0;  ///< pixels from one row to the next
    RECT clip{};                ///< device pixels, within the bitmap, half-open
};

/// A box in device pixels, half-open, in 64 bits.
struct Box {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};

/// Fills the part of the box inside the clip with one pixel value.
void FillBox(const Target& target, const Box& box, std::uint32_t pixel);

/// Draws the box's edge pixels with `edge` and its inside with `inside`; a null pointer leaves
/// that part untouched.
void Rectangle(const Target& target, const Box& box, const std::uint32_t* edge,
               const std::uint32_t* inside);

/// The ellipse inscribed in the (normalised) box: covered pixels that touch an uncovered one
/// (left, right, above or below) take `edge`, the others `inside`; null leaves them untouched.
void Ellipse(const Target& target, const RECT& box, std::int64_t dx, std::int64_t dy,
             const std::uint32_t* edge, const std::uint32_t* inside);

/// A Bresenham line from (x0, y0) towards (x1, y1) without its last pixel.
void ThinLine(const Target& target, std::int64_t x0, std::int64_t y0, std::int64_t x1,
              std::int64_t y1, std::uint32_t pixel);

/// The pixels whose centres lie within width / 2 of the segment (round caps).
void WideLine(const Target& target, std::int64_t x0, std::int64_t y0, std::int64_t x1,
              std::int64_t y1, std::int64_t width, std::uint32_t pixel);

/// Copies a width by height block; both sides must already be clipped.
void CopyBlock(std::uint32_t* destination, std::ptrdiff_t destinationStride,
               const std::uint32_t* source, std::ptrdiff_t sourceStride, std::int64_t width,
               std::int64_t height);

}  // namespace raster
