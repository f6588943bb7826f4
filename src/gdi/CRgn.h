#pragma once

#include "gdi/CGdiObject.h"
#include "gdi/GdiTypes.h"

/// An elliptic region. It holds exactly the pixels that CDC::Ellipse covers for the same box,
/// so what is hit is what is drawn.
class CRgn : public CGdiObject {
public:
    /// The ellipse inscribed in the box (normalised first); false when already made.
    bool CreateEllipticRgnIndirect(const RECT* box);

    /// Whether pixel (x, y), judged by its centre, lies in the region. An empty region or a
    /// region never made holds no point.
    bool PtInRegion(std::int32_t x, std::int32_t y) const;

private:
    RECT box_{};
};
