#pragma once

#include "gdi/CGdiObject.h"
#include "gdi/GdiTypes.h"

/// A pen: style (PS_SOLID or PS_NULL), width in logical units and colour. A width of 1 or less
/// draws one-pixel lines; wider pens draw round-capped strokes.
class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour);

    /// Makes the pen; false when it holds one already or the style is unknown.
    bool CreatePen(int style, int width, COLORREF colour);

    int GetStyle() const { return style_; }
    int GetWidth() const { return width_; }
    COLORREF GetColor() const { return colour_; }

private:
    int style_ = PS_SOLID;
    int width_ = 1;
    COLORREF colour_ = 0;
};
