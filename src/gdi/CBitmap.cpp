#include "gdi/CBitmap.h"

bool CBitmap::CreateBitmap(std::int32_t width, std::int32_t height) {
    if (IsCreated() || width <= 0 || height <= 0 ||
        std::int64_t{width} * std::int64_t{height} > kMaxPixels) {
        return false;
    }
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                   PixelFromColor(0));
    width_ = width;
    height_ = height;
    MarkCreated();
    return true;
}

bool CBitmap::CreateCompatibleBitmap(CDC* /*surface*/, std::int32_t width, std::int32_t height) {
    return CreateBitmap(width, height);
}

COLORREF CBitmap::GetPixelColor(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    return ColorFromPixel(pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                  static_cast<std::size_t>(x)]);
}

void CBitmap::ReleaseResource() {
    pixels_.clear();
    pixels_.shrink_to_fit();
    width_ = 0;
    height_ = 0;
}
