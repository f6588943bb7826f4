#pragma once

#include "gdi/GdiTypes.h"

/// The window system's box helpers. Boxes are half-open (see RECT).

/// Stores the four edges as given; nothing is normalised.
bool SetRect(RECT* rect, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom);

/// Moves the box by (dx, dy); edges wrap around at the 32-bit limits.
bool OffsetRect(RECT* rect, std::int32_t dx, std::int32_t dy);

/// True when left <= x < right and top <= y < bottom.
bool PtInRect(const RECT* rect, POINT point);

/// True when the box covers no point (right <= left or bottom <= top).
bool IsRectEmpty(const RECT* rect);

/// The common part of two boxes; an empty result is stored as (0, 0, 0, 0) and returns false.
bool IntersectRect(RECT* result, const RECT* a, const RECT* b);
