#include "gdi/RectFunctions.h"

#include <algorithm>

bool SetRect(RECT* rect, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom) {
    if (rect == nullptr) {
        return false;
    }
    *rect = RECT{left, top, right, bottom};
    return true;
}

bool OffsetRect(RECT* rect, std::int32_t dx, std::int32_t dy) {
    if (rect == nullptr) {
        return false;
    }
    rect->left = AddWrapping(rect->left, dx);
    rect->right = AddWrapping(rect->right, dx);
    rect->top = AddWrapping(rect->top, dy);
    rect->bottom = AddWrapping(rect->bottom, dy);
    return true;
}

bool PtInRect(const RECT* rect, POINT point) {
    return rect != nullptr && rect->left <= point.x && point.x < rect->right &&
           rect->top <= point.y && point.y < rect->bottom;
}

bool IsRectEmpty(const RECT* rect) {
    return rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top;
}

bool IntersectRect(RECT* result, const RECT* a, const RECT* b) {
    if (result == nullptr || a == nullptr || b == nullptr) {
        return false;
    }
    RECT common{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&common)) {
        *result = RECT{};
        return false;
    }
    *result = common;
    return true;
}
