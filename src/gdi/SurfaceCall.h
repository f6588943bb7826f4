#pragma once

#include <cstdint>
#include <vector>

#include "gdi/GdiTypes.h"

/// One request that a surface received, as tests see it: the operation, its arguments in
/// logical units and the pen and brush that were selected when it ran.
enum class SurfaceOp {
    SelectPen,     ///< object = the pen selected
    SelectBrush,   ///< object = the brush selected
    SelectBitmap,  ///< object = the bitmap selected
    Ellipse,       ///< args = left, top, right, bottom
    Rectangle,     ///< args = left, top, right, bottom
    SetPixel,      ///< args = x, y; colour = the colour asked for
    MoveTo,        ///< args = x, y
    LineTo,        ///< args = x, y
    PatBlt,        ///< args = x, y, width, height
    BitBlt,        ///< args = x, y, width, height
};

struct PenDescription {
    int style = PS_SOLID;
    int width = 1;
    COLORREF colour = 0;
    friend bool operator==(const PenDescription&, const PenDescription&) = default;
};

struct BrushDescription {
    unsigned style = BS_SOLID;
    COLORREF colour = 0;
    friend bool operator==(const BrushDescription&, const BrushDescription&) = default;
};

struct SurfaceCall {
    SurfaceOp op = SurfaceOp::SetPixel;
    std::int32_t args[4] = {0, 0, 0, 0};
    COLORREF colour = 0;
    const void* object = nullptr;
    PenDescription pen;
    BrushDescription brush;
};

using SurfaceCallLog = std::vector<SurfaceCall>;
