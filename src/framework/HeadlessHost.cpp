#include "framework/HeadlessHost.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "framework/CWnd.h"
#include "gdi/RectFunctions.h"

namespace {

SIZE NonNegative(SIZE size) {
    return SIZE{std::max(size.cx, 0), std::max(size.cy, 0)};
}

}  // namespace

HeadlessHost::HeadlessHost(SIZE clientSize, SIZE frameMargin, SIZE minimumFrame)
    : frameMargin_(NonNegative(frameMargin)), minimumFrame_(NonNegative(minimumFrame)) {
    RemakePixels(NonNegative(clientSize));
}

HeadlessHost::~HeadlessHost() {
    if (window_ != nullptr) {
        window_->DestroyWindow();
    }
}

bool HeadlessHost::AttachWindow(CWnd* window) {
    if (window == nullptr) {
        window_ = nullptr;
        timers_.clear();
        hasPending_ = false;
        pending_ = RECT{};
        buttons_ = 0;
        return true;
    }
    if (window_ != nullptr && window_ != window) {
        return false;
    }
    window_ = window;
    // A window that appears awaits its first paint.
    Invalidate(nullptr);
    return true;
}

void HeadlessHost::RemakePixels(SIZE clientSize) {
    // The pixels that old and new size share survive; a CBitmap cannot change size, so the old
    // ones are copied out, the bitmap remade, and they are copied back.
    const std::int32_t oldWidth = pixels_.GetWidth();
    const std::int32_t keepWidth = std::min(oldWidth, clientSize.cx);
    const std::int32_t keepHeight = std::min(pixels_.GetHeight(), clientSize.cy);
    std::vector<std::uint32_t> kept;
    if (keepWidth > 0 && keepHeight > 0) {
        kept.resize(static_cast<std::size_t>(keepWidth) * static_cast<std::size_t>(keepHeight));
        for (std::int32_t y = 0; y < keepHeight; ++y) {
            std::memcpy(&kept[static_cast<std::size_t>(y) * keepWidth],
                        pixels_.GetBits() + static_cast<std::ptrdiff_t>(y) * pixels_.GetStride(),
                        static_cast<std::size_t>(keepWidth) * sizeof(std::uint32_t));
        }
    }
    pixels_.DeleteObject();
    client_ = clientSize;
    // A client area beyond the bitmap's limit stays without pixels: it paints nothing.
    if (!pixels_.CreateBitmap(clientSize.cx, clientSize.cy)) {
        return;
    }
    for (std::int32_t y = 0; y < keepHeight; ++y) {
        std::memcpy(pixels_.GetBits() + static_cast<std::ptrdiff_t>(y) * pixels_.GetStride(),
                    &kept[static_cast<std::size_t>(y) * keepWidth],
                    static_cast<std::size_t>(keepWidth) * sizeof(std::uint32_t));
    }
}

void HeadlessHost::Invalidate(const RECT* box) {
    RECT client{0, 0, client_.cx, client_.cy};
    RECT added{};
    if (box == nullptr) {
        added = client;
    } else if (!IntersectRect(&added, box, &client)) {
        return;
    }
    if (IsRectEmpty(&added)) {
        return;
    }
    if (!hasPending_) {
        pending_ = added;
        hasPending_ = true;
        return;
    }
    pending_ = RECT{std::min(pending_.left, added.left), std::min(pending_.top, added.top),
                    std::max(pending_.right, added.right), std::max(pending_.bottom, added.bottom)};
}

RECT HeadlessHost::GetPendingBox() const {
    return hasPending_ ? pending_ : RECT{};
}

RECT HeadlessHost::BeginPaint() {
    const RECT box = GetPendingBox();
    hasPending_ = false;
    pending_ = RECT{};
    return box;
}

void HeadlessHost::EndPaint(const RECT& /*box*/) {
    ++paints_;
}

bool HeadlessHost::PumpPaint() {
    if (!hasPending_ || window_ == nullptr) {
        return false;
    }
    window_->OnPaint();
    return true;
}

bool HeadlessHost::SetTimer(std::uintptr_t id, std::uint32_t periodMs) {
    if (window_ == nullptr) {
        return false;
    }
    timers_[id] = periodMs;
    return true;
}

bool HeadlessHost::KillTimer(std::uintptr_t id) {
    return timers_.erase(id) != 0;
}

bool HeadlessHost::FireTimer(std::uintptr_t id) {
    if (window_ == nullptr || timers_.count(id) == 0) {
        return false;
    }
    window_->OnTimer(id);
    return true;
}

HeadlessHost::ScrollBar HeadlessHost::GetScrollBar(int bar) const {
    return bar == SB_VERT ? vertical_ : horizontal_;
}

std::int32_t HeadlessHost::MaxPosition(int bar) const {
    const ScrollBar& scroll = bar == SB_VERT ? vertical_ : horizontal_;
    return std::max(scroll.total - ClientExtent(bar), 0);
}

void HeadlessHost::ClampPosition(int bar) {
    ScrollBar& scroll = Bar(bar);
    const std::int32_t clamped = std::clamp(scroll.position, 0, MaxPosition(bar));
    if (clamped != scroll.position) {
        scroll.position = clamped;
        if (window_ != nullptr) {
            window_->OnScrolled(bar, clamped);
        }
    }
}

void HeadlessHost::SetScrollSizes(int bar, std::int32_t total, std::int32_t page,
                                  std::int32_t line) {
    ScrollBar& scroll = Bar(bar);
    scroll.total = std::max(total, 0);
    scroll.page = page;
    scroll.line = line;
    ClampPosition(bar);
}

std::int32_t HeadlessHost::GetScrollPos(int bar) const {
    return GetScrollBar(bar).position;
}

std::int32_t HeadlessHost::SetScrollPos(int bar, std::int32_t position) {
    ScrollBar& scroll = Bar(bar);
    scroll.position = std::clamp(position, 0, MaxPosition(bar));
    return scroll.position;
}

void HeadlessHost::Scroll(int bar, std::int32_t position) {
    const std::int32_t before = GetScrollPos(bar);
    const std::int32_t after = SetScrollPos(bar, position);
    if (after != before && window_ != nullptr) {
        window_->OnScrolled(bar, after);
    }
}

SIZE HeadlessHost::GetParentFrameSize() const {
    // Both parts are at most INT32_MAX; the sum is cut there rather than wrapping.
    auto add = [](std::int32_t a, std::int32_t b) {
        return static_cast<std::int32_t>(
            std::min<std::int64_t>(std::int64_t{a} + b, std::numeric_limits<std::int32_t>::max()));
    };
    return SIZE{add(client_.cx, frameMargin_.cx), add(client_.cy, frameMargin_.cy)};
}

void HeadlessHost::SetParentFrameSize(SIZE size) {
    const SIZE frame{std::max({size.cx, minimumFrame_.cx, frameMargin_.cx}),
                     std::max({size.cy, minimumFrame_.cy, frameMargin_.cy})};
    Resize(SIZE{frame.cx - frameMargin_.cx, frame.cy - frameMargin_.cy});
}

void HeadlessHost::Resize(SIZE clientSize, unsigned type) {
    clientSize = NonNegative(clientSize);
    if (clientSize == client_) {
        return;
    }
    RemakePixels(clientSize);
    ClampPosition(SB_HORZ);
    ClampPosition(SB_VERT);
    // Whatever awaited painting lies within the whole new client area, which now does.
    hasPending_ = false;
    Invalidate(nullptr);
    if (window_ != nullptr) {
        window_->OnSize(type, client_.cx, client_.cy);
    }
}

void HeadlessHost::MouseMove(POINT point) {
    if (window_ != nullptr) {
        window_->OnMouseMove(buttons_, point);
    }
}

void HeadlessHost::ButtonDown(Button button, POINT point) {
    buttons_ |= button == Button::Left ? MK_LBUTTON : MK_RBUTTON;
    if (window_ == nullptr) {
        return;
    }
    if (button == Button::Left) {
        window_->OnLButtonDown(buttons_, point);
    } else {
        window_->OnRButtonDown(buttons_, point);
    }
}

void HeadlessHost::ButtonUp(Button button, POINT point) {
    buttons_ &= ~(button == Button::Left ? MK_LBUTTON : MK_RBUTTON);
    if (window_ == nullptr) {
        return;
    }
    if (button == Button::Left) {
        window_->OnLButtonUp(buttons_, point);
    } else {
        window_->OnRButtonUp(buttons_, point);
    }
}
