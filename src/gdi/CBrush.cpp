#include "gdi/CBrush.h"

CBrush::CBrush(COLORREF colour) {
    CreateSolidBrush(colour);
}

bool CBrush::CreateSolidBrush(COLORREF colour) {
    LOGBRUSH description;
    description.lbStyle = BS_SOLID;
    description.lbColor = colour;
    return CreateBrushIndirect(&description);
}

bool CBrush::CreateBrushIndirect(const LOGBRUSH* description) {
    if (IsCreated() || description == nullptr ||
        (description->lbStyle != BS_SOLID && description->lbStyle != BS_NULL)) {
        return false;
    }
    style_ = description->lbStyle;
    colour_ = description->lbColor & 0x00FFFFFF;
    MarkCreated();
    return true;
}
