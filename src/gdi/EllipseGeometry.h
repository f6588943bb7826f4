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

    bool IsEmpty() const { return width_ == 0 || height_ == 0; }
    /// Whether every product of the rule fits in 64 bits (both sides below 2^16), so that a
    /// LimitWalk can step from one limit to the next instead of taking a square root.
    bool IsSmall() const { return width_ < (1u << 16) && height_ < (1u << 16); }
    std::int64_t Height() const { return static_cast<std::int64_t>(height_); }
    /// left + right: a row's span follows from its limit and this sum alone.
    std::int64_t DoubledCentreX() const { return left_ + right_; }

private:
    friend class LimitWalk;

    std::int64_t left_;
    std::int64_t top_;
    std::int64_t right_;
    std::int64_t bottom_;
    std::uint64_t width_;
    std::uint64_t height_;
};

/// The limits of half indices asked for one after another, as a painter walking down the rows
/// asks for them. In a small box each limit is reached from the one before in steps of one,
/// so a whole ellipse costs about its width in multiplications and a single square root;
/// other boxes take each limit directly.
class LimitWalk {
public:
    explicit LimitWalk(const EllipseRows& rows);

    /// The same value as rows.HalfLimit(h).
    std::int64_t At(std::int64_t h) {
        if (h == half_) {
            return static_cast<std::int64_t>(limit_);
        }
        if (!small_ || half_ < 0) {
            return Restart(h);
        }
        // The limit only moves in the direction of h, so one of the loops runs, a step for each
        // unit the limit moves. u <= W < 2^16, so (u + 1)² H² < 2^64.
        const std::uint64_t v = heightLessOne_ - 2 * static_cast<std::uint64_t>(h);
        const std::uint64_t bound = widthSquared_ * (heightSquared_ - v * v);
        while (limit_ > 0 && limit_ * limit_ * heightSquared_ > bound) {
            --limit_;
        }
        while ((limit_ + 1) * (limit_ + 1) * heightSquared_ <= bound) {
            ++limit_;
        }
        half_ = h;
        return static_cast<std::int64_t>(limit_);
    }

private:
    std::int64_t Restart(std::int64_t h);

    const EllipseRows& rows_;
    bool small_;
    std::uint64_t heightLessOne_;
    std::uint64_t heightSquared_;
    std::uint64_t widthSquared_;
    std::int64_t half_ = -1;  ///< the half index of limit_; -1 before the first call
    std::uint64_t limit_ = 0;
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
