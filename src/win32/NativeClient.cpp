#include "win32/NativeClient.h"

#include <windows.h>

#include <algorithm>

#include "win32/NativeScale.h"
#include "win32/NativeWindowClass.h"

namespace win32 {
namespace {

constexpr wchar_t kClassName[] = L"VelkClient";
// A size change that showing or hiding a scroll bar caused, told once the change of scroll
// sizes that caused it is over.
constexpr UINT kDeferredSize = WM_APP + 1;

int BarOf(int bar) {
    return bar == 1 ? SB_VERT : SB_HORZ;
}

}  // namespace

NativeClient::NativeClient(void* parent, ClientEvents& events) : events_(events) {
    // No background brush: every pixel comes from the owner's, nothing is erased first.
    RegisterOwnedWindowClass<NativeClient>(kClassName, CS_DBLCLKS, nullptr);
    window_ = CreateWindowExW(
        0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS, 0, 0,
        0, 0, static_cast<HWND>(parent), nullptr, GetModuleHandleW(nullptr), this);
    scale_ = ScaleOf(window_);
    for (int bar : {0, 1}) {
        ApplyBar(bar);
    }
}

NativeClient::~NativeClient() {
    if (window_ != nullptr) {
        HWND window = static_cast<HWND>(window_);
        window_ = nullptr;
        DestroyWindow(window);
    }
}

void NativeClient::GetSize(int& width, int& height) const {
    GetScreenSize(width, height);
    width = scale_.ToLogical(width);
    height = scale_.ToLogical(height);
}

void NativeClient::GetScreenSize(int& width, int& height) const {
    RECT area{};
    GetClientRect(static_cast<HWND>(window_), &area);
    width = std::max<int>(area.right, 0);
    height = std::max<int>(area.bottom, 0);
}

void NativeClient::Invalidate(int left, int top, int right, int bottom) {
    // The system's stretch may round a block's edge a pixel apart from ToScreen; one pixel
    // more on each side leaves no edge of a changed pixel behind.
    const int margin = scale_.IsOne() ? 0 : 1;
    const RECT box{scale_.ToScreen(left) - margin, scale_.ToScreen(top) - margin,
                   scale_.ToScreen(right) + margin, scale_.ToScreen(bottom) + margin};
    InvalidateRect(static_cast<HWND>(window_), &box, FALSE);
}

void NativeClient::InvalidateAll() {
    InvalidateRect(static_cast<HWND>(window_), nullptr, FALSE);
}

void NativeClient::UpdateNow() {
    UpdateWindow(static_cast<HWND>(window_));
}

bool NativeClient::SetTimer(std::uintptr_t id, std::uint32_t periodMs) {
    // The same id on the same window replaces the running timer, as the framework expects.
    return ::SetTimer(static_cast<HWND>(window_), id, periodMs, nullptr) != 0;
}

bool NativeClient::KillTimer(std::uintptr_t id) {
    return ::KillTimer(static_cast<HWND>(window_), id) != 0;
}

void NativeClient::SetScrollSizes(int bar, std::int32_t total, std::int32_t page,
                                  std::int32_t line) {
    Bar& sizes = bars_[bar == 1 ? 1 : 0];
    sizes.total = std::max(total, 0);
    sizes.page = std::max(page, 1);
    sizes.line = std::max(line, 1);
    // A bar that comes or goes changes the client size at once, inside SetScrollInfo. The view
    // is in the middle of changing its sizes then (and may be about to fit the frame to its
    // world); it hears of the new size afterwards, as on Linux, where Qt lays out later.
    const bool outer = !applying_;
    applying_ = true;
    ApplyBar(bar);
    if (outer) {
        // The bars themselves follow the new client size at once.
        if (sizeDeferred_) {
            ApplyBar(0);
            ApplyBar(1);
        }
        applying_ = false;
    }
}

void NativeClient::ApplyBar(int bar) {
    const Bar& sizes = bars_[bar == 1 ? 1 : 0];
    int width = 0;
    int height = 0;
    GetSize(width, height);
    const std::int32_t extent = bar == 1 ? height : width;
    const std::int32_t before = GetScrollPos(bar);
    // The thumb shows the visible share of the total; Windows hides a bar with nothing to
    // scroll, as Qt's scroll area does.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = std::max(sizes.total - 1, 0);
    info.nPage = static_cast<UINT>(std::max(extent, 1));
    if (sizes.total <= extent) {
        info.nMax = 0;
        info.nPage = 1;
        info.fMask |= SIF_POS;
        info.nPos = 0;
    }
    SetScrollInfo(static_cast<HWND>(window_), BarOf(bar), &info, TRUE);
    const std::int32_t after = GetScrollPos(bar);
    if (after != before) {
        events_.OnScrolled(bar, after);
    }
}

std::int32_t NativeClient::GetScrollPos(int bar) const {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    GetScrollInfo(static_cast<HWND>(window_), BarOf(bar), &info);
    return info.nPos;
}

std::int32_t NativeClient::SetScrollPos(int bar, std::int32_t position) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(static_cast<HWND>(window_), BarOf(bar), &info, TRUE);
    return GetScrollPos(bar);
}

void NativeClient::ScrollTo(int bar, std::int64_t position) {
    const std::int32_t before = GetScrollPos(bar);
    const std::int32_t clamped =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(position, INT32_MIN, INT32_MAX));
    if (SetScrollPos(bar, clamped) != before) {
        events_.OnScrolled(bar, GetScrollPos(bar));
    }
}

void NativeClient::ScrollBy(int bar, std::int64_t delta) {
    ScrollTo(bar, std::int64_t{GetScrollPos(bar)} + delta);
}

void NativeClient::Wheel(int bar, int delta) {
    // Three lines a notch, as the desktop sets it; a turn in smaller steps gathers until it
    // makes a notch.
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    Bar& sizes = bars_[bar];
    sizes.wheel += delta;
    const int notches = sizes.wheel / WHEEL_DELTA;
    sizes.wheel -= notches * WHEEL_DELTA;
    if (notches != 0) {
        ScrollBy(bar, -std::int64_t{notches} * static_cast<std::int64_t>(lines) * sizes.line);
    }
}

void NativeClient::TellSize() {
    ApplyBar(0);
    ApplyBar(1);
    int width = 0;
    int height = 0;
    GetSize(width, height);
    InvalidateAll();
    events_.OnSize(width, height);
}

void NativeClient::Paint() {
    HWND window = static_cast<HWND>(window_);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    events_.OnPaint();
    int width = 0;
    int height = 0;
    int stride = 0;
    const std::uint32_t* pixels = events_.Pixels(width, height, stride);
    RECT area{};
    GetClientRect(window, &area);
    if (pixels != nullptr) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = stride;
        info.bmiHeader.biHeight = -height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        // The words 0xFFRRGGBB are a DIB's blue, green, red, unused bytes as they stand.
        if (scale_.IsOne()) {
            SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0,
                              0, static_cast<UINT>(height), pixels, &info, DIB_RGB_COLORS);
        } else {
            // Each pixel a block of the nearest screen pixels, never blended with its neighbours.
            SetStretchBltMode(dc, COLORONCOLOR);
            StretchDIBits(dc, 0, 0, scale_.ToScreen(width), scale_.ToScreen(height), 0, 0, width,
                          height, pixels, &info, DIB_RGB_COLORS, SRCCOPY);
        }
    } else {
        width = 0;
        height = 0;
    }
    // What the pixels do not cover (less than a scale's block at the right and bottom edges).
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    const RECT right{scale_.ToScreen(width), 0, area.right, area.bottom};
    const RECT below{0, scale_.ToScreen(height), scale_.ToScreen(width), area.bottom};
    FillRect(dc, &right, white);
    FillRect(dc, &below, white);
    EndPaint(window, &paint);
}

std::intptr_t NativeClient::Dispatch(unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
    HWND window = static_cast<HWND>(window_);
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            scale_ = ScaleOf(window);
            if (applying_) {
                if (!sizeDeferred_) {
                    sizeDeferred_ = PostMessageW(window, kDeferredSize, 0, 0) != FALSE;
                }
                return 0;
            }
            TellSize();
            return 0;
        case kDeferredSize:
            sizeDeferred_ = false;
            TellSize();
            return 0;
        case WM_DPICHANGED_AFTERPARENT:
            scale_ = ScaleOf(window);
            InvalidateAll();
            return 0;
        case WM_TIMER:
            events_.OnTimer(wParam);
            return 0;
        case WM_HSCROLL:
        case WM_VSCROLL: {
            const int bar = message == WM_VSCROLL ? 1 : 0;
            const Bar& sizes = bars_[bar];
            switch (LOWORD(wParam)) {
                case SB_LINEUP:
                    ScrollBy(bar, -sizes.line);
                    break;
                case SB_LINEDOWN:
                    ScrollBy(bar, sizes.line);
                    break;
                case SB_PAGEUP:
                    ScrollBy(bar, -sizes.page);
                    break;
                case SB_PAGEDOWN:
                    ScrollBy(bar, sizes.page);
                    break;
                case SB_TOP:
                    ScrollTo(bar, 0);
                    break;
                case SB_BOTTOM:
                    ScrollTo(bar, sizes.total);
                    break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION: {
                    // The 32-bit position, not the 16 bits of the message.
                    SCROLLINFO info{};
                    info.cbSize = sizeof info;
                    info.fMask = SIF_TRACKPOS;
                    GetScrollInfo(window, BarOf(bar), &info);
                    ScrollTo(bar, info.nTrackPos);
                    break;
                }
                default:
                    break;
            }
            return 0;
        }
        case WM_MOUSEWHEEL: {
            const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
            // Shift turns the wheel sideways, as on the Linux desktop, with a plain turn's steps.
            const bool sideways = (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) != 0;
            Wheel(sideways ? 0 : 1, delta);
            return 0;
        }
        case WM_MOUSEHWHEEL:
            // A tilt to the right is positive and scrolls right.
            Wheel(0, -GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_RBUTTONUP: {
            using Mouse = ClientEvents::Mouse;
            Mouse what = Mouse::Move;
            if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
                what = Mouse::LeftDown;
                SetFocus(window);
            } else if (message == WM_LBUTTONUP) {
                what = Mouse::LeftUp;
            } else if (message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK) {
                what = Mouse::RightDown;
            } else if (message == WM_RBUTTONUP) {
                what = Mouse::RightUp;
            }
            const int x = static_cast<short>(LOWORD(lParam));
            const int y = static_cast<short>(HIWORD(lParam));
            events_.OnMouse(what, static_cast<unsigned>(wParam & (MK_LBUTTON | MK_RBUTTON)),
                            scale_.ToLogical(x), scale_.ToLogical(y));
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
