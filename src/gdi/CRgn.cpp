#include "gdi/CRgn.h"

#include "gdi/EllipseGeometry.h"

bool CRgn::CreateEllipticRgnIndirect(const RECT* box) {
    if (IsCreated() || box == nullptr) {
        return false;
    }
    box_ = NormalizedRect(*box);
    MarkCreated();
    return true;
}

bool CRgn::PtInRegion(std::int32_t x, std::int32_t y) const {
    if (!IsCreated()) {
        return false;
    }
    std::int64_t first = 0;
    std::int64_t last = 0;
    return EllipseRows(box_).Span(y, &first, &last) && first <= x && x < last;
}
