#pragma once

#include <cstdint>
#include <string>

#include "gdi/CDC.h"

/// A memory surface with a bitmap of the given size selected, cleared to white.
struct TestSurface {
    TestSurface(std::int32_t width, std::int32_t height) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(width, height);
        dc.SelectObject(&bitmap);
        Clear(RGB(255, 255, 255));
    }

    void Clear(COLORREF colour) {
        const std::uint32_t pixel = CBitmap::PixelFromColor(colour);
        for (std::int64_t i = 0; i < std::int64_t{bitmap.GetWidth()} * bitmap.GetHeight(); ++i) {
            bitmap.GetBits()[i] = pixel;
        }
    }
    COLORREF At(std::int32_t x, std::int32_t y) const { return bitmap.GetPixelColor(x, y); }

    /// The bitmap as rows of characters: '#' for `ink`, '.' for white, '?' for anything else.
    std::string Picture(COLORREF ink = RGB(0, 0, 0)) const {
        std::string text;
        for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y) {
            for (std::int32_t x = 0; x < bitmap.GetWidth(); ++x) {
                const COLORREF c = At(x, y);
                text += c == ink ? '#' : c == RGB(255, 255, 255) ? '.' : '?';
            }
            text += '\n';
        }
        return text;
    }

    CBitmap bitmap;
    CDC dc;
};
