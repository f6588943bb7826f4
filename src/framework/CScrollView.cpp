#include "framework/CScrollView.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "framework/Backend.h"
#include "gdi/CDC.h"

namespace {

/// A default step: a tenth of the larger step, at least 1 while that is positive, so that the
/// arrows of a small area still move it.
std::int32_t DefaultStep(std::int32_t larger) {
    return larger > 0 ? std::max(larger / 10, 1) : 0;
}

std::int32_t ClampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void CScrollView::SetScrollSizes(int mapMode, SIZE total, const SIZE& page, const SIZE& line) {
    mapMode_ = mapMode == MM_TEXT ? mapMode : MM_TEXT;
    total_ = total;
    totalDevice_ = SIZE{std::max(total.cx, 0), std::max(total.cy, 0)};
    page_ = SIZE{page.cx > 0 ? page.cx : DefaultStep(totalDevice_.cx),
                 page.cy > 0 ? page.cy : DefaultStep(totalDevice_.cy)};
    line_ = SIZE{line.cx > 0 ? line.cx : DefaultStep(page_.cx),
                 line.cy > 0 ? line.cy : DefaultStep(page_.cy)};
    UpdateBars();
}

void CScrollView::GetDeviceScrollSizes(int& mapMode, SIZE& total, SIZE& page, SIZE& line) const {
    mapMode = mapMode_;
    total = totalDevice_;
    page = page_;
    line = line_;
}

void CScrollView::UpdateBars() {
    if (WindowHost* host = GetHost()) {
        host->SetScrollSizes(SB_HORZ, totalDevice_.cx, page_.cx, line_.cx);
        host->SetScrollSizes(SB_VERT, totalDevice_.cy, page_.cy, line_.cy);
    }
}

POINT CScrollView::GetScrollPosition() const {
    const WindowHost* host = GetHost();
    return host != nullptr ? POINT{host->GetScrollPos(SB_HORZ), host->GetScrollPos(SB_VERT)}
                           : POINT{};
}

void CScrollView::ScrollToPosition(POINT position) {
    if (WindowHost* host = GetHost()) {
        host->SetScrollPos(SB_HORZ, position.x);
        host->SetScrollPos(SB_VERT, position.y);
        Invalidate(false);
    }
}

void CScrollView::ResizeParentToFit(bool shrinkOnly) {
    WindowHost* host = GetHost();
    if (host == nullptr) {
        return;
    }
    const SIZE client = host->GetClientSize();
    const SIZE frame = host->GetParentFrameSize();
    // How much larger the client area is than the scrollable area; 64 bits, as the sizes may
    // lie anywhere in the 32-bit range.
    std::int64_t excessX = std::int64_t{client.cx} - totalDevice_.cx;
    std::int64_t excessY = std::int64_t{client.cy} - totalDevice_.cy;
    if (shrinkOnly) {
        excessX = std::max<std::int64_t>(excessX, 0);
        excessY = std::max<std::int64_t>(excessY, 0);
    }
    const SIZE fitted{ClampToInt32(std::max<std::int64_t>(frame.cx - excessX, 0)),
                      ClampToInt32(std::max<std::int64_t>(frame.cy - excessY, 0))};
    if (!(fitted == frame)) {
        host->SetParentFrameSize(fitted);
    }
}

void CScrollView::OnPrepareDC(CDC* surface) {
    CView::OnPrepareDC(surface);
    const POINT position = GetScrollPosition();
    surface->SetMapMode(MM_TEXT);
    surface->SetViewportOrg(SubtractWrapping(0, position.x), SubtractWrapping(0, position.y));
}

void CScrollView::OnSize(unsigned type, std::int32_t cx, std::int32_t cy) {
    CView::OnSize(type, cx, cy);
    UpdateBars();
}

void CScrollView::OnScrolled(int bar, std::int32_t position) {
    CView::OnScrolled(bar, position);
    Invalidate(false);
}
