#pragma once

#include <cstdint>

namespace win32 {

/// How the client area's pixels lie on the screen: dpi screen pixels for every 96 of its own,
/// as Qt scales by the device pixel ratio on Linux. Each of its pixels becomes a block of whole
/// screen pixels, taken from the nearest, never blended with its neighbours, so the copy stays
/// crisp at any scale; at 150% the blocks are one and two pixels wide by turns.
struct ScreenScale {
    int dpi = 96;

    bool IsOne() const { return dpi == 96; }
    /// The first screen pixel of the client's pixel at logical (from 0 on): logical * dpi / 96,
    /// rounded to the nearest.
    int ToScreen(int logical) const {
        return static_cast<int>((std::int64_t{logical} * dpi * 2 + 96) / 192);
    }
    /// The client's pixel that covers the screen pixel.
    int ToLogical(int screen) const { return static_cast<int>(std::int64_t{screen} * 96 / dpi); }
};

/// The scale of the screen window (an HWND) is on.
ScreenScale ScaleOf(void* window);
/// The screen's dots per inch for window, 96 when unscaled.
int DotsPerInch(void* window);

}  // namespace win32
