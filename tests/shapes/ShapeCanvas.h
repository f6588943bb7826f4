#pragma once

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <vector>

#include "gdi/CDC.h"

inline void PrintTo(const RECT& box, std::ostream* out) {
    *out << "(" << box.left << ", " << box.top << ", " << box.right << ", " << box.bottom << ")";
}

inline void PrintTo(const POINT& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}

/// A memory surface over a small bitmap, cleared to a background that no shape in the tests
/// uses, with a log of what the surface was asked.
struct ShapeCanvas {
    static constexpr COLORREF kBackground = RGB(1, 2, 3);

    ShapeCanvas(std::int32_t width, std::int32_t height) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(width, height);
        dc.SelectObject(&bitmap);
        Clear();
    }

    void Clear(COLORREF colour = kBackground) {
        std::fill_n(bitmap.GetBits(),
                    std::int64_t{bitmap.GetWidth()} * std::int64_t{bitmap.GetHeight()},
                    CBitmap::PixelFromColor(colour));
    }
    std::int32_t Width() const { return bitmap.GetWidth(); }
    std::int32_t Height() const { return bitmap.GetHeight(); }
    COLORREF At(std::int32_t x, std::int32_t y) const { return bitmap.GetPixelColor(x, y); }
    bool Painted(std::int32_t x, std::int32_t y) const { return At(x, y) != kBackground; }

    /// Starts recording; earlier calls are forgotten.
    SurfaceCallLog& Record() {
        log.clear();
        dc.SetCallLog(&log);
        return log;
    }

    CBitmap bitmap;
    CDC dc;
    SurfaceCallLog log;
};
