#pragma once

#include "gdi/CGdiObject.h"
#include "gdi/GdiTypes.h"

/// A brush: solid in one colour, or hollow (BS_NULL), which leaves interiors untouched.
class CBrush : public CGdiObject {
public:
    CBrush() = default;
    /// A solid brush of the colour.
    explicit CBrush(COLORREF colour);

    bool CreateSolidBrush(COLORREF colour);
    /// Makes a BS_SOLID or BS_NULL brush; false for other styles or when already made.
    bool CreateBrushIndirect(const LOGBRUSH* description);

    unsigned GetStyle() const { return style_; }
    COLORREF GetColor() const { return colour_; }

private:
    unsigned style_ = BS_SOLID;
    COLORREF colour_ = 0;
};
