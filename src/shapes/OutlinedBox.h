#pragma once

#include <algorithm>
#include <cstdint>

#include "gdi/CBrush.h"
#include "gdi/CDC.h"
#include "gdi/CPen.h"
#include "gdi/GdiTypes.h"

/// The drawing shared by the rectangle and the ellipse: the box moved by the offsets, outlined
/// by a solid pen of width 1 and filled by a solid or hollow brush, all in one colour.
/// `primitive(surface, box, xOffset, yOffset)` draws the box moved by the offsets, which the
/// surface adds in 64 bits. The surface gets its previous pen and then its
/// previous brush back; the brush is deleted before the pen.
template <typename Primitive>
void DrawOutlinedBox(CDC& surface, const RECT& box, std::int32_t xOffset, std::int32_t yOffset,
                     COLORREF colour, bool filled, Primitive primitive) {
    // Most shapes of a large world lie outside the window; they cost no pen and no brush.
    const std::int64_t left = std::int64_t{std::min(box.left, box.right)} + xOffset;
    const std::int64_t top = std::int64_t{std::min(box.top, box.bottom)} + yOffset;
    const std::int64_t right = std::int64_t{std::max(box.left, box.right)} + xOffset;
    const std::int64_t bottom = std::int64_t{std::max(box.top, box.bottom)} + yOffset;
    if (surface.Misses(left, top, right, bottom)) {
        return;
    }
    // The pen is declared first so that, on any way out, the brush is destroyed before it.
    CPen pen(PS_SOLID, 1, colour);
    CPen* previousPen = surface.SelectObject(&pen);
    LOGBRUSH description;
    description.lbStyle = filled ? BS_SOLID : BS_NULL;
    description.lbColor = colour;
    CBrush brush;
    brush.CreateBrushIndirect(&description);
    CBrush* previousBrush = surface.SelectObject(&brush);

    primitive(surface, box, xOffset, yOffset);

    surface.SelectObject(previousPen);
    surface.SelectObject(previousBrush);
    brush.DeleteObject();
    pen.DeleteObject();
}
