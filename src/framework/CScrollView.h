#pragma once

#include <cstdint>

#include "framework/CView.h"
#include "gdi/GdiTypes.h"

/// A view whose document is larger than its window: the host's scroll bars move the client
/// area over a scrollable area of a total size, one logical unit per pixel (MM_TEXT).
class CScrollView : public CView {
public:
    /// Asks SetScrollSizes for the default steps (so does a step of 0 or less): a page is a
    /// tenth of the total, a line a tenth of a page, each at least 1 while the total is
    /// positive.
    static constexpr SIZE sizeDefault{0, 0};

    /// Sets the scrollable area and the steps of a page and a line. Only MM_TEXT is known;
    /// other modes are taken as MM_TEXT. A total of 0 or below in a dimension is kept as given
    /// but scrolls as an empty area (0). The host's scroll bars follow at once.
    void SetScrollSizes(int mapMode, SIZE total, const SIZE& page = sizeDefault,
                        const SIZE& line = sizeDefault);
    /// The total as given to SetScrollSizes; 0 by 0 before.
    SIZE GetTotalSize() const { return total_; }
    /// What the scroll bars were given: the mapping mode and the total (0 or more), page and
    /// line steps in device pixels.
    void GetDeviceScrollSizes(int& mapMode, SIZE& total, SIZE& page, SIZE& line) const;

    /// The logical point shown at the client area's top-left corner.
    POINT GetScrollPosition() const;
    /// Scrolls so that the point (clamped to the scroll range) is at the top-left corner and
    /// repaints the client area.
    void ScrollToPosition(POINT position);

    /// Resizes the parent frame so that the client area is the size of the scrollable area;
    /// with shrinkOnly only the dimensions in which the client area is larger change.
    void ResizeParentToFit(bool shrinkOnly = true);

    /// One-to-one mapping with the viewport origin at minus the scroll position, so that the
    /// surface takes logical (document) coordinates.
    void OnPrepareDC(CDC* surface) override;

    /// Brings the scroll bars up to date for the new client size.
    void OnSize(unsigned type, std::int32_t cx, std::int32_t cy) override;
    /// Repaints the whole client area at the new scroll position.
    void OnScrolled(int bar, std::int32_t position) override;

private:
    /// Hands the sizes to the host's scroll bars.
    void UpdateBars();

    int mapMode_ = MM_TEXT;
    SIZE total_{};        ///< as given
    SIZE totalDevice_{};  ///< at least 0
    SIZE page_{};
    SIZE line_{};
};
