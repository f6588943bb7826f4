#include "gdi/CPen.h"

CPen::CPen(int style, int width, COLORREF colour) {
    CreatePen(style, width, colour);
}

bool CPen::CreatePen(int style, int width, COLORREF colour) {
    if (IsCreated() || (style != PS_SOLID && style != PS_NULL)) {
        return false;
    }
    style_ = style;
    width_ = width;
    colour_ = colour & 0x00FFFFFF;
    MarkCreated();
    return true;
}
