#include "gdi/EllipseGeometry.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

using u64 = std::uint64_t;
using u128 = unsigned __int128;

/// The largest r with r * r <= n.
u64 IntegerSquareRoot(u64 n) {
    auto root = static_cast<u64>(std::sqrt(static_cast<double>(n)));
    // The floating-point estimate may be off by one either way; settle it exactly.
    while (root > 0 && static_cast<u128>(root) * root > n) {
        --root;
    }
    while (static_cast<u128>(root + 1) * (root + 1) <= n) {
        ++root;
    }
    return root;
}

/// For a small box (sides below 2^16): the largest u with u² H² <= limit, from the estimate
/// `u` (which may be off either way). u <= W < 2^16, so (u + 1)² H² < 2^64.
u64 SettleSmallLimit(u64 u, u64 heightSquared, u64 limit) {
    while (u > 0 && u * u * heightSquared > limit) {
        --u;
    }
    while ((u + 1) * (u + 1) * heightSquared <= limit) {
        ++u;
    }
    return u;
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
      width_(static_cast<u64>(right_ - left_)),
      height_(static_cast<u64>(bottom_ - top_)) {}

bool EllipseRows::Span(std::int64_t y, std::int64_t* first, std::int64_t* last) const {
    if (IsEmpty() || y < top_ || y >= bottom_) {
        return false;
    }
    const std::int64_t limit = HalfLimit(std::min(y - top_, bottom_ - 1 - y));
    const std::int64_t firstX = SpanFirst(DoubledCentreX(), limit);
    const std::int64_t lastX = SpanLast(DoubledCentreX(), limit);
    if (firstX >= lastX) {
        return false;
    }
    *first = firstX;
    *last = lastX;
    return true;
}

std::int64_t EllipseRows::HalfLimit(std::int64_t h) const {
    assert(h >= 0 && 2 * h <= static_cast<std::int64_t>(height_) - 1 && "not a half index");
    // |v| = H - 1 - 2h < H.
    const u64 v = height_ - 1 - 2 * static_cast<u64>(h);
    if (IsSmall()) {
        const u64 heightSquared = height_ * height_;
        const u64 limit = width_ * width_ * (heightSquared - v * v);
        const auto estimate = static_cast<u64>(
            std::sqrt(static_cast<double>(limit) / static_cast<double>(heightSquared)));
        return static_cast<std::int64_t>(SettleSmallLimit(estimate, heightSquared, limit));
    }
    // W² < 2^64 and H² - v² < 2^64, so their product fits in 128 bits.
    // u² H² <= W² (H² - v²)  <=>  u² <= floor(W² (H² - v²) / H²), which is at most W².
    const u128 heightSquared = static_cast<u128>(height_) * height_;
    const u128 widthSquared = static_cast<u128>(width_) * width_;
    const auto bound =
        static_cast<u64>(widthSquared * (heightSquared - static_cast<u128>(v) * v) / heightSquared);
    return static_cast<std::int64_t>(IntegerSquareRoot(bound));
}

void EllipseRows::HalfLimits(std::int64_t h, std::int64_t count, std::int64_t* out) const {
    if (count <= 0) {
        return;
    }
    out[0] = HalfLimit(h);
    if (!IsSmall()) {
        for (std::int64_t i = 1; i < count; ++i) {
            out[i] = HalfLimit(h + i);
        }
        return;
    }
    // Limits never shrink towards the middle, so each one starts from the one before.
    const u64 heightSquared = height_ * height_;
    const u64 widthSquared = width_ * width_;
    auto limit = static_cast<u64>(out[0]);
    for (std::int64_t i = 1; i < count; ++i) {
        const u64 v = height_ - 1 - 2 * static_cast<u64>(h + i);
        limit = SettleSmallLimit(limit, heightSquared, widthSquared * (heightSquared - v * v));
        out[i] = static_cast<std::int64_t>(limit);
    }
}
