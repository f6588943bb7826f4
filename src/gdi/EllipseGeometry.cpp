#include "gdi/EllipseGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr EllipseRows::RowSpan kNoSpan{std::int64_t{1} << 62, -(std::int64_t{1} << 62)};

using u128 = unsigned __int128;

/// The largest r with r * r <= n.
std::uint64_t IntegerSquareRoot(std::uint64_t n) {
    auto root = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(n)));
    // The floating-point estimate may be off by one either way; settle it exactly.
    while (root > 0 && static_cast<u128>(root) * root > n) {
        --root;
    }
    while (static_cast<u128>(root + 1) * (root + 1) <= n) {
        ++root;
    }
    return root;
}

}  // namespace

RECT NormalizedRect(const RECT& box) {
    return RECT{std::min(box.left, box.right), std::min(box.top, box.bottom),
                std::max(box.left, box.right), std::max(box.top, box.bottom)};
}

EllipseRows::EllipseRows(const RECT& box)
    : left_(box.left),
      top_(box.top),
      right_(box.right),
      bottom_(box.bottom),
      width_(static_cast<std::uint64_t>(right_ - left_)),
      height_(static_cast<std::uint64_t>(bottom_ - top_)) {}

bool EllipseRows::Span(std::int64_t y, std::int64_t* first, std::int64_t* last) const {
    if (IsEmpty() || y < top_ || y >= bottom_) {
        return false;
    }
    const std::int64_t v = 2 * y + 1 - (top_ + bottom_);
    const std::uint64_t vMagnitude = static_cast<std::uint64_t>(v < 0 ? -v : v);
    if (width_ < (1u << 16) && height_ < (1u << 16)) {
        // Small boxes, the common case: every product below fits in 64 bits, and the largest u
        // with u² H² <= W² (H² - v²) is settled without an integer division.
        const std::uint64_t heightSquared = height_ * height_;
        const std::uint64_t vSquared = vMagnitude * vMagnitude;
        if (vSquared > heightSquared) {
            return false;
        }
        const std::uint64_t limit = width_ * width_ * (heightSquared - vSquared);
        auto u = static_cast<std::uint64_t>(
            std::sqrt(static_cast<double>(limit) / static_cast<double>(heightSquared)));
        // u <= W < 2^16, so (u + 1)² H² < 2^64. The estimate is off by at most one.
        while (u > 0 && u * u * heightSquared > limit) {
            --u;
        }
        while ((u + 1) * (u + 1) * heightSquared <= limit) {
            ++u;
        }
        return SpanFromLimit(static_cast<std::int64_t>(u), first, last);
    }
    // |v| <= H inside the box, so W² < 2^64 and H² - v² < 2^64 and their product fits
    // in 128 bits.
    const u128 heightSquared = static_cast<u128>(height_) * height_;
    const u128 vSquared = static_cast<u128>(vMagnitude) * vMagnitude;
    if (vSquared > heightSquared) {
        return false;
    }
    const u128 widthSquared = static_cast<u128>(width_) * width_;
    const auto bound =
        static_cast<std::uint64_t>(widthSquared * (heightSquared - vSquared) / heightSquared);
    // u² H² <= W² (H² - v²)  <=>  u² <= floor(W² (H² - v²) / H²), which is at most W².
    return SpanFromLimit(static_cast<std::int64_t>(IntegerSquareRoot(bound)), first, last);
}

bool EllipseRows::SpanFromLimit(std::int64_t uLimit, std::int64_t* first,
                                std::int64_t* last) const {
    // -uLimit <= 2x + 1 - (left + right) <= uLimit.
    const std::int64_t sum = left_ + right_;
    const std::int64_t firstX = (sum - uLimit) >> 1;  // ceiling of (sum - 1 - uLimit) / 2
    const std::int64_t lastX = (sum - 1 + uLimit) >> 1;

    if (firstX > lastX) {
        return false;
    }
    *first = firstX;
    *last = lastX + 1;
    return true;
}

void EllipseRows::Spans(std::int64_t y, std::int64_t count, RowSpan* out) const {
    count = std::clamp<std::int64_t>(count, 0, kMaxRows);
    std::fill_n(out, count, kNoSpan);
    const std::int64_t from = std::max(y, top_);
    const std::int64_t to = std::min(y + count, bottom_);
    if (IsEmpty() || from >= to) {
        return;
    }
    // Row top + h and row bottom - 1 - h share half index h; the rows asked for need the
    // half indices [low, high].
    auto halfOf = [&](std::int64_t row) { return std::min(row - top_, bottom_ - 1 - row); };
    const std::int64_t middle = (static_cast<std::int64_t>(height_) - 1) / 2;
    const std::int64_t low = std::min(halfOf(from), halfOf(to - 1));
    const std::int64_t high = (from - top_ <= middle && to - 1 - top_ >= middle)
                                  ? middle
                                  : std::max(halfOf(from), halfOf(to - 1));
    RowSpan halves[kMaxRows];
    if (width_ < (1u << 16) && height_ < (1u << 16)) {
        // The limit grows towards the middle, and so does the largest u within it: each row
        // starts from the one before.
        const std::uint64_t heightSquared = height_ * height_;
        const std::uint64_t widthSquared = width_ * width_;
        std::uint64_t u = 0;
        for (std::int64_t h = low; h <= high; ++h) {
            const auto v =
                static_cast<std::uint64_t>(static_cast<std::int64_t>(height_) - 1 - 2 * h);
            const std::uint64_t limit = widthSquared * (heightSquared - v * v);
            if (h == low) {
                u = static_cast<std::uint64_t>(
                    std::sqrt(static_cast<double>(limit) / static_cast<double>(heightSquared)));
                while (u > 0 && u * u * heightSquared > limit) {
                    --u;
                }
            }
            while ((u + 1) * (u + 1) * heightSquared <= limit) {
                ++u;
            }
            RowSpan& span = halves[h - low];
            if (!SpanFromLimit(static_cast<std::int64_t>(u), &span.first, &span.last)) {
                span = kNoSpan;
            }
        }
    } else {
        for (std::int64_t h = low; h <= high; ++h) {
            RowSpan& span = halves[h - low];
            if (!Span(top_ + h, &span.first, &span.last)) {
                span = kNoSpan;
            }
        }
    }
    for (std::int64_t row = from; row < to; ++row) {
        out[row - y] = halves[halfOf(row) - low];
    }
}
