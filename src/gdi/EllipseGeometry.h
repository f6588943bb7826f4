#pragma once

#include <cstdint>

#include "gdi/GdiTypes.h"

/// The one rule that decides which pixels an ellipse covers, shared by CDC::Ellipse and
/// CRgn::PtInRegion so that what is drawn and what is hit always agree.
///
/// Pixel (x, y) is covered when its centre (x + 0.5, y + 0.5) lies inside or on the ellipse
/// inscribed in the half-open box. In doubled coordinates u = 2x + 1 - (left + right) and
/// v = 2y + 1 - (top + bottom), with W and H the box's width and height, that is
///     u² H² + v² W² <= W² H².
/// Every term is computed exactly, for any 32-bit box.
class EllipseRows {
public:
    /// The box must be normalised (left <= right, top <= bottom).
    explicit EllipseRows(const RECT& box);

    /// The covered pixels of a row: the half-open span [first, last), empty (first >= last)
    /// when the row holds none. An empty span's first is above and its last below every
    /// coordinate, so an intersection with it is empty too.
    struct RowSpan {
        std::int64_t first;
        std::int64_t last;
    };
    /// The most rows that Spans settles in one call.
    static constexpr std::int64_t kMaxRows = 512;

    /// The covered pixels of row y as the half-open span [first, last); false when the row
    /// holds none (first and last are then left alone).
    bool Span(std::int64_t y, std::int64_t* first, std::int64_t* last) const;
    /// The spans of the `count` rows from y on (at most kMaxRows), rows outside the box
    /// included. Rows mirrored about the box's middle share one computation, and a small box
    /// walks its rows from one limit to the next without a square root.
    void Spans(std::int64_t y, std::int64_t count, RowSpan* out) const;

    bool IsEmpty() const { return width_ == 0 || height_ == 0; }

private:
    /// The span of the pixels whose |u| is at most uLimit.
    bool SpanFromLimit(std::int64_t uLimit, std::int64_t* first, std::int64_t* last) const;

    std::int64_t left_;
    std::int64_t top_;
    std::int64_t right_;
    std::int64_t bottom_;
    std::uint64_t width_;
    std::uint64_t height_;
};

/// The box with its edges put in order.
RECT NormalizedRect(const RECT& box);
