#include "win32/NativeScale.h"

#include <windows.h>

#include <algorithm>

namespace win32 {

int DotsPerInch(void* window) {
    // GetDpiForWindow answers the window's own screen when the program is aware of each
    // screen's scale; older systems lack it, and the system's value serves there.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (forWindow != nullptr && window != nullptr) {
        if (UINT dpi = forWindow(static_cast<HWND>(window)); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

ScreenScale ScaleOf(void* window) {
    return ScreenScale{std::max(DotsPerInch(window), 1)};
}

}  // namespace win32
