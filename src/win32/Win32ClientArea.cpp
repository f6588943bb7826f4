#include "win32/Win32ClientArea.h"

#include <algorithm>

#include "framework/CWnd.h"
#include "win32/NativeFrame.h"

Win32ClientArea::Win32ClientArea(win32::NativeFrame& frame)
    : frame_(frame),
      native_(std::make_unique<win32::NativeClient>(frame.Handle(),
                                                    static_cast<win32::ClientEvents&>(*this))) {}

Win32ClientArea::~Win32ClientArea() {
    if (window_ != nullptr) {
        window_->DestroyWindow();
    }
}

bool Win32ClientArea::AttachWindow(CWnd* window) {
    if (window != nullptr && window_ != nullptr && window_ != window) {
        return false;
    }
    window_ = window;
    if (window == nullptr) {
        // Timers die with the window's messages: WM_TIMER now finds no window.
        hasPending_ = false;
        return true;
    }
    RemakePixels();
    Invalidate(nullptr);
    return true;
}

SIZE Win32ClientArea::GetClientSize() const {
    int width = 0;
    int height = 0;
    native_->GetSize(width, height);
    return SIZE{width, height};
}

void Win32ClientArea::Invalidate(const RECT* box) {
    const SIZE size = GetClientSize();
    RECT area{0, 0, size.cx, size.cy};
    if (box != nullptr) {
        area = RECT{std::max(box->left, 0), std::max(box->top, 0), std::min(box->right, size.cx),
                    std::min(box->bottom, size.cy)};
    }
    if (area.right <= area.left || area.bottom <= area.top) {
        return;
    }
    if (!hasPending_) {
        pending_ = area;
        hasPending_ = true;
    } else {
        pending_ =
            RECT{std::min(pending_.left, area.left), std::min(pending_.top, area.top),
                 std::max(pending_.right, area.right), std::max(pending_.bottom, area.bottom)};
    }
    native_->Invalidate(area.left, area.top, area.right, area.bottom);
}

void Win32ClientArea::UpdateNow() {
    // Directly, not through UpdateWindow: a hidden window gets no WM_PAINT, yet the view's
    // pixels must be ready when it shows.
    PaintPending();
}

RECT Win32ClientArea::BeginPaint() {
    const RECT box = hasPending_ ? pending_ : RECT{};
    hasPending_ = false;
    return box;
}

void Win32ClientArea::EndPaint(const RECT& box) {
    // Inside WM_PAINT the pixels go to the screen right after; otherwise Windows is asked.
    if (!inSystemPaint_ && box.right > box.left && box.bottom > box.top) {
        native_->Invalidate(box.left, box.top, box.right, box.bottom);
    }
}

void Win32ClientArea::PaintPending() {
    // A paint that invalidates again is delivered on the next round, not re-entered.
    if (window_ == nullptr || !hasPending_ || painting_) {
        return;
    }
    painting_ = true;
    window_->OnPaint();
    painting_ = false;
}

bool Win32ClientArea::SetTimer(std::uintptr_t id, std::uint32_t periodMs) {
    return native_->SetTimer(id, periodMs);
}

bool Win32ClientArea::KillTimer(std::uintptr_t id) {
    return native_->KillTimer(id);
}

void Win32ClientArea::SetScrollSizes(int bar, std::int32_t total, std::int32_t page,
                                     std::int32_t line) {
    native_->SetScrollSizes(bar == SB_VERT ? 1 : 0, total, page, line);
}

std::int32_t Win32ClientArea::GetScrollPos(int bar) const {
    return native_->GetScrollPos(bar == SB_VERT ? 1 : 0);
}

std::int32_t Win32ClientArea::SetScrollPos(int bar, std::int32_t position) {
    return native_->SetScrollPos(bar == SB_VERT ? 1 : 0, position);
}

namespace {

/// What the frame adds around the client area, in screen pixels.
SIZE FrameBorder(const win32::NativeFrame& frame, const win32::NativeClient& client) {
    int outerWidth = 0, outerHeight = 0, clientWidth = 0, clientHeight = 0;
    frame.GetOuterSize(outerWidth, outerHeight);
    client.GetScreenSize(clientWidth, clientHeight);
    return SIZE{outerWidth - clientWidth, outerHeight - clientHeight};
}

/// Screen pixels as client pixels, rounded up: a border never counts for less than it covers.
int CoveringLogical(const win32::ScreenScale& scale, int screen) {
    const int logical = scale.ToLogical(screen);
    return scale.ToScreen(logical) < screen ? logical + 1 : logical;
}

}  // namespace

// The frame's size is the client area's plus the border, each converted on its own: at a scale
// that is no whole number, the client size the view asks for then comes out exactly, where
// converting the frame's size as a whole could round the client a pixel short.
SIZE Win32ClientArea::GetParentFrameSize() const {
    const win32::ScreenScale scale = native_->Scale();
    const SIZE border = FrameBorder(frame_, *native_);
    int width = 0, height = 0;
    native_->GetSize(width, height);
    return SIZE{width + CoveringLogical(scale, border.cx),
                height + CoveringLogical(scale, border.cy)};
}

void Win32ClientArea::SetParentFrameSize(SIZE size) {
    const win32::ScreenScale scale = native_->Scale();
    const SIZE border = FrameBorder(frame_, *native_);
    const int clientWidth = std::max(size.cx - CoveringLogical(scale, border.cx), 0);
    const int clientHeight = std::max(size.cy - CoveringLogical(scale, border.cy), 0);
    // Windows sends the sizes before this returns.
    frame_.SetOuterSize(border.cx + scale.ToScreen(clientWidth),
                        border.cy + scale.ToScreen(clientHeight));
}

void Win32ClientArea::RemakePixels() {
    const SIZE size = GetClientSize();
    pixels_.DeleteObject();
    if (size.cx > 0 && size.cy > 0) {
        pixels_.CreateBitmap(size.cx, size.cy);
    }
}

void Win32ClientArea::OnPaint() {
    inSystemPaint_ = true;
    PaintPending();
    inSystemPaint_ = false;
}

const std::uint32_t* Win32ClientArea::Pixels(int& width, int& height, int& stride) {
    if (!pixels_.IsCreated()) {
        return nullptr;
    }
    width = pixels_.GetWidth();
    height = pixels_.GetHeight();
    stride = static_cast<int>(pixels_.GetStride());
    return pixels_.GetBits();
}

void Win32ClientArea::OnSize(int width, int height) {
    if (pixels_.IsCreated() && pixels_.GetWidth() == width && pixels_.GetHeight() == height) {
        return;  // a scroll bar came or went without changing what the window shows
    }
    RemakePixels();
    if (window_ == nullptr) {
        return;
    }
    Invalidate(nullptr);
    window_->OnSize(SIZE_RESTORED, width, height);
}

void Win32ClientArea::OnTimer(std::uintptr_t id) {
    if (window_ != nullptr) {
        window_->OnTimer(id);
    }
}

void Win32ClientArea::OnScrolled(int bar, std::int32_t position) {
    if (window_ != nullptr) {
        window_->OnScrolled(bar == 1 ? SB_VERT : SB_HORZ, position);
    }
}

void Win32ClientArea::OnMouse(Mouse what, unsigned keys, int x, int y) {
    if (window_ == nullptr) {
        return;
    }
    const POINT point{x, y};
    switch (what) {
        case Mouse::Move:
            window_->OnMouseMove(keys, point);
            break;
        case Mouse::LeftDown:
            window_->OnLButtonDown(keys, point);
            break;
        case Mouse::LeftUp:
            window_->OnLButtonUp(keys, point);
            break;
        case Mouse::RightDown:
            window_->OnRButtonDown(keys, point);
            break;
        case Mouse::RightUp:
            window_->OnRButtonUp(keys, point);
            break;
    }
}
