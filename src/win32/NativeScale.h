#pragma once

namespace win32 {

/// The whole number of screen pixels per pixel of the client area on the screen of window (an
/// HWND): 1 at 100% and 150%, 2 at 200% and 250%, and so on. Whole numbers keep the copy of the
/// view's pixels crisp: each becomes a square block of screen pixels, never a blur.
int WholeScale(void* window);
/// The screen's dots per inch for window, 96 when unscaled.
int DotsPerInch(void* window);

}  // namespace win32
