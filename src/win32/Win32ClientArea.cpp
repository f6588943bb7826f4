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

SIZE Win32ClientArea::GetParentFrameSize() const {
    int width = 0;
    int height = 0;
    frame_.GetOuterSize(width, height);
    const int scale = native_->Scale();
    return SIZE{width / scale, height / scale};
}

void Win32ClientArea::SetParentFrameSize(SIZE size) {
    // Windows sends the sizes before this returns.
    const int scale = native_->Scale();
    frame_.SetOuterSize(size.cx * scale, size.cy * scale);
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
