#pragma once

#include <cstdint>

#include "gdi/GdiTypes.h"

/// The one rule that decides which pixels an ellipse covers, shared by CDC::Ellipse and
/// CRgn::PtInRegion so that what is drawn and what is hit always agree.
///
/// Pixel (x, y) is covered when its centre (x + 0.5, y + 0.5) lies inside or on the ellipse
/// inscribed in the half-open box. In doubled coordinates u = 2x + 1 - (left + right) and
/// v = 2y + 1 - (top + bottom), with W and H the box's width and height, that is
///     u² H² <= W² (H² - v²).
/// Every term is computed exactly, for any 32-bit box.
///
/// Rows top + h and bottom - 1 - h mirror each other and share the *half index* h, which runs
/// from 0 at the box's top and bottom rows to (H - 1) / 2 in the middle. A row's covered pixels
/// are those whose |u| is at most the *limit* of its half index, and the limit never shrinks as
/// h grows towards the middle.
class EllipseRows {
public:
    /// The box must be normalised (left <= right, top <= bottom).
    explicit EllipseRows(const RECT& box);

    /// The covered pixels of row y as the half-open span [first, last); false when the row
    /// holds none (first and last are then left alone).
    bool Span(std::int64_t y, std::int64_t* first, std::int64_t* last) const;

    /// The largest |u| that half index h (0 <= h <= (H - 1) / 2) allows.
    std::int64_t HalfLimit(std::int64_t h) const;
    /// The limits of the `count` half indices from h on, into `out`. In a small box each is
    /// reached from the one before in steps of one, so all of them cost a single square root
    /// and about one multiplication for each unit the limit grows.
    void HalfLimits(std::int64_t h, std::int64_t count, std::int64_t* out) const;

    bool IsEmpty() const { return width_ == 0 || height_ == 0; }
    /// Whether every product of the rule fits in 64 bits: both sides below 2^16.
    bool IsSmall() const { return width_ < (1u << 16) && height_ < (1u << 16); }
    std::int64_t Height() const { return static_cast<std::int64_t>(height_); }
    /// left + right: a row's span follows from its limit and this sum alone.
    std::int64_t DoubledCentreX() const { return left_ + right_; }

private:
    std::int64_t left_;
    std::int64_t top_;
    std::int64_t right_;
    std::int64_t bottom_;
    std::uint64_t width_;
    std::uint64_t height_;
};

/// The pixels x whose |2x + 1 - doubledCentreX| is at most limit, as a half-open span in the
/// same units as doubledCentreX / 2; empty (first >= last) when there are none.
inline std::int64_t SpanFirst(std::int64_t doubledCentreX, std::int64_t limit) {
    return (doubledCentreX - limit) >> 1;  // the ceiling of (doubledCentreX - 1 - limit) / 2
}
inline std::int64_t SpanLast(std::int64_t doubledCentreX, std::int64_t limit) {
    return ((doubledCentreX - 1 + limit) >> 1) + 1;
}

/// The box with its edges put in order.
RECT NormalizedRect(const RECT& box);
