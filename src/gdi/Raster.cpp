#include "gdi/Raster.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <functional>
#include <utility>

#include "gdi/EllipseGeometry.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace raster {
namespace {

using i64 = std::int64_t;

/// The box cut to the clip; false when nothing is left.
bool ClipBox(const Target& target, Box* box) {
    box->left = std::max<i64>(box->left, target.clip.left);
    box->top = std::max<i64>(box->top, target.clip.top);
    box->right = std::min<i64>(box->right, target.clip.right);
    box->bottom = std::min<i64>(box->bottom, target.clip.bottom);
    return box->left < box->right && box->top < box->bottom;
}

std::uint32_t* Row(const Target& target, i64 y) {
    return target.pixels + y * target.stride;
}

/// Sets `count` pixels (at least one) from `pixels` on. Most runs of a crowded paint are a few
/// pixels (a line's row, an ellipse's rim) or a few dozen, where a loop costs more in guessed
/// ends than in stores:
///
///     count 1..3   [0], [count / 2], [count - 1]
///     longer       16 bytes at a time, the last store ending at count
inline void FillRun(std::uint32_t* pixels, i64 count, std::uint32_t pixel) {
    assert(count > 0 && "a run covers at least one pixel");
#if defined(__SSE2__)
    if (count >= 4) {
        const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
        std::uint32_t* const end = pixels + count;
        for (; pixels + 4 < end; pixels += 4) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), four);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), four);
        return;
    }
    pixels[0] = pixel;
    pixels[count >> 1] = pixel;
    pixels[count - 1] = pixel;
#else
    std::fill_n(pixels, count, pixel);
#endif
}

/// Fills [first, last) of a row that is already known to lie in the clip vertically.
[[gnu::always_inline]] inline void FillSpan(const Target& target, std::uint32_t* row, i64 first,
                                            i64 last, std::uint32_t pixel) {
    first = std::max<i64>(first, target.clip.left);
    last = std::min<i64>(last, target.clip.right);
    if (first < last) {
        FillRun(row + first, last - first, pixel);
    }
}

/// Rounding by conversion, for values well within 64 bits; std::floor and std::ceil are calls
/// on processors without a rounding instruction in the baseline.
inline i64 FloorToInteger(double value) {
    const auto truncated = static_cast<i64>(value);
    return truncated - (static_cast<double>(truncated) > value ? 1 : 0);
}
inline i64 CeilToInteger(double value) {
    const auto truncated = static_cast<i64>(value);
    return truncated + (static_cast<double>(truncated) < value ? 1 : 0);
}

}  // namespace

void FillBox(const Target& target, const Box& box, std::uint32_t pixel) {
    Box clipped = box;
    if (!ClipBox(target, &clipped)) {
        return;
    }
    const i64 width = clipped.right - clipped.left;
    std::uint32_t* row = Row(target, clipped.top) + clipped.left;
    for (i64 y = clipped.top; y < clipped.bottom; ++y, row += target.stride) {
        FillRun(row, width, pixel);
    }
}

void Rectangle(const Target& target, const Box& box, const std::uint32_t* edge,
               const std::uint32_t* inside) {
    if (edge == nullptr) {
        if (inside != nullptr) {
            FillBox(target, Box{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, *inside);
        }
        return;
    }
    if (inside != nullptr && *inside == *edge) {
        FillBox(target, box, *edge);  // rim and inside in one colour: one box
        return;
    }
    Box rows = box;
    if (!ClipBox(target, &rows)) {
        return;
    }
    // One pass down the rows: each row is touched once, rim and inside together.
    for (i64 y = rows.top; y < rows.bottom; ++y) {
        std::uint32_t* row = Row(target, y);
        if (y == box.top || y == box.bottom - 1) {
            FillSpan(target, row, box.left, box.right, *edge);
            continue;
        }
        FillSpan(target, row, box.left, box.left + 1, *edge);
        if (inside != nullptr) {
            FillSpan(target, row, box.left + 1, box.right - 1, *inside);
        }
        FillSpan(target, row, box.right - 1, box.right, *edge);
    }
}

void Ellipse(const Target& target, const RECT& box, i64 dx, i64 dy, const std::uint32_t* edge,
             const std::uint32_t* inside) {
    const EllipseRows rows(box);
    if (rows.IsEmpty() || (edge == nullptr && inside == nullptr) ||
        i64{box.right} + dx <= target.clip.left || i64{box.left} + dx >= target.clip.right) {
        return;
    }
    const i64 top = box.top + dy;
    const i64 height = rows.Height();
    const i64 firstRow = std::max<i64>(top, target.clip.top);
    const i64 lastRow = std::min<i64>(box.bottom + dy, target.clip.bottom);
    const i64 centre = rows.DoubledCentreX() + 2 * dx;  // spans come out in device pixels
    // When rim and inside take one colour (or there is no rim), each row is one span.
    const std::uint32_t* whole = edge == nullptr ? inside : edge;
    const bool oneColour = edge == nullptr || (inside != nullptr && *inside == *edge);

    // A covered pixel is inside when its four neighbours are covered too. Spans are intervals
    // about one centre, and of a row's neighbours the one nearer the box's top or bottom (half
    // index h - 1) is never wider than the other, so the inside of a row is the row's span
    // less one pixel at each end, cut to that neighbour's span. Rows with h = 0 are all rim.
    //
    //      h=0   ..####..      rim only
    //      h=1   .#....#.      inside: [first + 1, last - 1) within the h=0 span
    //      h=1   .#....#.
    //      h=0   ..####..
    //
    // Rows go in windows; the limits of a window's half indices (and of the one before, for
    // the rim) are settled at once, and mirrored rows share them.
    constexpr i64 kWindowRows = 256;
    std::int64_t limits[kWindowRows + 1];
    const i64 middle = (height - 1) / 2;
    auto halfOf = [&](i64 y) { return std::min(y - top, height - 1 - (y - top)); };
    for (i64 windowTop = firstRow; windowTop < lastRow; windowTop += kWindowRows) {
        const i64 windowEnd = std::min(lastRow, windowTop + kWindowRows);
        const bool crossesMiddle = windowTop - top <= middle && windowEnd - 1 - top >= middle;
        const i64 lowest = std::min(halfOf(windowTop), halfOf(windowEnd - 1));
        const i64 highest =
            crossesMiddle ? middle : std::max(halfOf(windowTop), halfOf(windowEnd - 1));
        const i64 base = std::max<i64>(lowest - 1, 0);
        rows.HalfLimits(base, highest - base + 1, limits);

        std::uint32_t* row = Row(target, windowTop);
        for (i64 y = windowTop; y < windowEnd; ++y, row += target.stride) {
            const i64 half = halfOf(y);
            const i64 limit = limits[half - base];
            const i64 first = SpanFirst(centre, limit);
            const i64 last = SpanLast(centre, limit);
            if (first >= last) {
                continue;
            }
            if (oneColour) {
                FillSpan(target, row, first, last, *whole);
                continue;
            }
            i64 insideFirst = last;
            i64 insideLast = last;
            if (half > 0) {
                const i64 narrower = limits[half - 1 - base];
                insideFirst = std::max(first + 1, SpanFirst(centre, narrower));
                insideLast = std::min(last - 1, SpanLast(centre, narrower));
            }
            if (insideFirst >= insideLast) {
                FillSpan(target, row, first, last, *edge);
                continue;
            }
            FillSpan(target, row, first, insideFirst, *edge);
            if (inside != nullptr) {
                FillSpan(target, row, insideFirst, insideLast, *inside);
            }
            FillSpan(target, row, insideLast, last, *edge);
        }
    }
}

void ThinLine(const Target& target, i64 x0, i64 y0, i64 x1, i64 y1, std::uint32_t pixel) {
    // Walk the major axis; the minor coordinate at step i is the minor start plus
    // round-half-up(i * minorLength / majorLength).
    const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
    const i64 majorStart = xMajor ? x0 : y0;
    const i64 minorStart = xMajor ? y0 : x0;
    const i64 majorDelta = xMajor ? x1 - x0 : y1 - y0;
    const i64 minorDelta = xMajor ? y1 - y0 : x1 - x0;
    const i64 majorLength = std::abs(majorDelta);
    const i64 minorLength = std::abs(minorDelta);
    if (majorLength == 0) {
        return;  // the only pixel is the last one, which a line leaves out
    }
    const i64 majorStep = majorDelta > 0 ? 1 : -1;
    const i64 minorStep = minorDelta > 0 ? 1 : -1;
    const i64 majorClipFirst = xMajor ? target.clip.left : target.clip.top;
    const i64 majorClipLast = xMajor ? target.clip.right : target.clip.bottom;
    const i64 minorClipFirst = xMajor ? target.clip.top : target.clip.left;
    const i64 minorClipLast = xMajor ? target.clip.bottom : target.clip.right;

    // The steps whose major coordinate lies in the clip; at most the clip's extent.
    i64 firstStep = majorStep > 0 ? majorClipFirst - majorStart : majorStart - majorClipLast + 1;
    i64 lastStep = majorStep > 0 ? majorClipLast - majorStart : majorStart - majorClipFirst + 1;
    firstStep = std::max<i64>(firstStep, 0);
    lastStep = std::min(lastStep, majorLength);
    if (firstStep >= lastStep) {
        return;
    }

    // Error term at the first step, exactly: 2 * i * minorLength reaches 2^67.
    const i64 twiceMajor = 2 * majorLength;
    const __int128 numerator = static_cast<__int128>(2) * firstStep * minorLength + majorLength;
    i64 minorOffset = static_cast<i64>(numerator / twiceMajor);
    i64 error = static_cast<i64>(numerator % twiceMajor);
    const i64 twiceMinor = 2 * minorLength;

    i64 major = majorStart + majorStep * firstStep;
    for (i64 step = firstStep; step < lastStep; ++step, major += majorStep) {
        const i64 minor = minorStart + minorStep * minorOffset;
        if (minor >= minorClipFirst && minor < minorClipLast) {
            const i64 x = xMajor ? major : minor;
            const i64 y = xMajor ? minor : major;
            Row(target, y)[x] = pixel;
        }
        error += twiceMinor;
        if (error >= twiceMajor) {
            error -= twiceMajor;
            ++minorOffset;
        }
    }
}

void WideLine(const Target& target, i64 x0, i64 y0, i64 x1, i64 y1, i64 width,
              std::uint32_t pixel) {
    const double radius = static_cast<double>(width) / 2.0;
    const i64 reach = width / 2 + 1;
    const i64 firstRow = std::max<i64>(std::min(y0, y1) - reach, target.clip.top);
    const i64 lastRow = std::min<i64>(std::max(y0, y1) + reach + 1, target.clip.bottom);
    if (firstRow >= lastRow || std::max(x0, x1) + reach < target.clip.left ||
        std::min(x0, x1) - reach >= target.clip.right) {
        return;  // no covered pixel can lie in the clip
    }

    // The stroke runs between the centres of the end pixels, where a thin line runs too, so a
    // wide line of odd width is centred on the thin one.
    const double ax = static_cast<double>(x0) + 0.5;
    const double ay = static_cast<double>(y0) + 0.5;
    const double bx = static_cast<double>(x1) + 0.5;
    const double by = static_cast<double>(y1) + 0.5;
    const double length = std::hypot(bx - ax, by - ay);
    const double ux = length > 0 ? (bx - ax) / length : 0.0;
    const double uy = length > 0 ? (by - ay) / length : 0.0;
    const double radiusSquared = radius * radius;
    // A zero slope takes no division (see bound below); 1 keeps its lane harmless.
    using Pair = double __attribute__((vector_size(16)));
    const Pair divisors{ux == 0 ? 1.0 : ux, uy == 0 ? 1.0 : uy};

    for (i64 y = firstRow; y < lastRow; ++y) {
        const double centreY = static_cast<double>(y) + 0.5;
        // The stroke is convex, so its cut with this row is one interval: the union of the
        // cuts of the two end discs and of the band between them.
        double low = INFINITY;
        double high = -INFINITY;
        auto include = [&](double from, double to) {
            if (from <= to) {
                low = std::min(low, from);
                high = std::max(high, to);
            }
        };
        for (const auto& [cx, cy] : {std::pair{ax, ay}, std::pair{bx, by}}) {
            const double across = centreY - cy;
            const double remaining = radiusSquared - across * across;
            if (remaining >= 0) {
                const double half = std::sqrt(remaining);
                include(cx - half, cx + half);
            }
        }
        if (length > 0) {
            // Along the segment: 0 <= (x - ax) ux + (centreY - ay) uy <= length.
            // Across it: |(x - ax) uy - (centreY - ay) ux| <= radius.
            // The four ends are divided two at a time; each quotient is exactly the one a
            // division on its own gives.
            const double along = -ax * ux + (centreY - ay) * uy;
            const double across = -ax * uy - (centreY - ay) * ux;
            const Pair nearEnds = Pair{0.0 - along, -radius - across} / divisors;
            const Pair farEnds = Pair{length - along, radius - across} / divisors;
            double from = -INFINITY;
            double to = INFINITY;
            auto bound = [&](double slope, double offset, double minimum, double maximum, double a,
                             double b) {
                if (slope == 0) {
                    if (offset < minimum || offset > maximum) {
                        to = -INFINITY;
                    }
                    return;
                }
                if (a > b) {
                    std::swap(a, b);
                }
                from = std::max(from, a);
                to = std::min(to, b);
            };
            bound(ux, along, 0.0, length, nearEnds[0], farEnds[0]);
            bound(uy, across, -radius, radius, nearEnds[1], farEnds[1]);
            include(from, to);
        }
        if (!(low <= high)) {
            continue;
        }
        // Pixel x is covered when x + 0.5 lies in [low, high]. The bounds are cut to the clip
        // before they are rounded, which gives the same integers (the clip's edges are whole)
        // and keeps them small enough to round by conversion.
        const double clipLeft = static_cast<double>(target.clip.left);
        const double clipRight = static_cast<double>(target.clip.right);
        const i64 first = CeilToInteger(std::clamp(low - 0.5, clipLeft, clipRight));
        const i64 last =
            FloorToInteger(std::clamp(high - 0.5, clipLeft - 1.0, clipRight - 1.0)) + 1;
        if (first < last) {
            FillRun(Row(target, y) + first, last - first, pixel);
        }
    }
}

void CopyBlock(std::uint32_t* destination, std::ptrdiff_t destinationStride,
               const std::uint32_t* source, std::ptrdiff_t sourceStride, i64 width, i64 height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(std::uint32_t);
    // Within one bitmap the blocks may overlap: copy rows in the order that reads each source
    // row before it is overwritten.
    if (std::greater<const std::uint32_t*>{}(destination, source)) {
        for (i64 y = height - 1; y >= 0; --y) {
            std::memmove(destination + y * destinationStride, source + y * sourceStride, rowBytes);
        }
    } else {
        for (i64 y = 0; y < height; ++y) {
            std::memmove(destination + y * destinationStride, source + y * sourceStride, rowBytes);
        }
    }
}

}  // namespace raster
