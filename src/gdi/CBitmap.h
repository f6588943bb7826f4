#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gdi/CGdiObject.h"
#include "gdi/GdiTypes.h"

class CDC;

/// A 32-bit pixel buffer. Pixels are stored as 0xFFRRGGBB, the layout of an opaque RGB32 image,
/// so a window host can show a buffer without converting it. A new bitmap is black.
class CBitmap : public CGdiObject {
public:
    /// The largest bitmap that may be made, in pixels (512 MiB of memory). Bigger requests fail
    /// rather than exhaust memory.
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 27;

    /// Makes a width by height bitmap; false when already made, when either side is not
    /// positive or when it would exceed kMaxPixels.
    bool CreateBitmap(std::int32_t width, std::int32_t height);
    /// The same; the surface only tells the pixel format, which is always 32-bit here.
    bool CreateCompatibleBitmap(CDC* surface, std::int32_t width, std::int32_t height);

    std::int32_t GetWidth() const { return width_; }
    std::int32_t GetHeight() const { return height_; }
    /// Pixels from one row to the next.
    std::ptrdiff_t GetStride() const { return width_; }
    std::uint32_t* GetBits() { return pixels_.data(); }
    const std::uint32_t* GetBits() const { return pixels_.data(); }

    /// The colour of a pixel as 0x00BBGGRR; 0 outside the bitmap.
    COLORREF GetPixelColor(std::int32_t x, std::int32_t y) const;

    static constexpr std::uint32_t PixelFromColor(COLORREF colour) {
        return 0xFF000000u | ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
    }
    static constexpr COLORREF ColorFromPixel(std::uint32_t pixel) {
        return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
    }

protected:
    void ReleaseResource() override;

private:
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<std::uint32_t> pixels_;
};
