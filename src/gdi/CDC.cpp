#include "gdi/CDC.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "gdi/EllipseGeometry.h"
#include "gdi/RectFunctions.h"

namespace {

using i64 = std::int64_t;

std::int32_t ClampToInt32(i64 value) {
    return static_cast<std::int32_t>(std::clamp<i64>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

PenDescription Describe(const CPen* pen) {
    return pen == nullptr ? PenDescription{}
                          : PenDescription{pen->GetStyle(), pen->GetWidth(), pen->GetColor()};
}

BrushDescription Describe(const CBrush* brush) {
    return brush == nullptr ? BrushDescription{}
                            : BrushDescription{brush->GetStyle(), brush->GetColor()};
}

/// The pixels that outline and fill a box shape: the pen's for the rim and the brush's for
/// the inside; null where nothing is painted. Without a pen the brush covers the rim too, so
/// a shape keeps its size.
class OutlineAndFill {
public:
    OutlineAndFill(const CPen& pen, const CBrush& brush)
        : edge_(CBitmap::PixelFromColor(pen.GetColor())),
          inside_(CBitmap::PixelFromColor(brush.GetColor())),
          hasEdge_(pen.IsCreated() && pen.GetStyle() != PS_NULL),
          hasInside_(brush.IsCreated() && brush.GetStyle() == BS_SOLID) {}

    const std::uint32_t* Edge() const { return hasEdge_ ? &edge_ : Inside(); }
    const std::uint32_t* Inside() const { return hasInside_ ? &inside_ : nullptr; }

private:
    std::uint32_t edge_;
    std::uint32_t inside_;
    bool hasEdge_;
    bool hasInside_;
};

}  // namespace

CDC::CDC() : defaultPen_(PS_SOLID, 1, RGB(0, 0, 0)), defaultBrush_(RGB(255, 255, 255)) {
    state_.pen = &defaultPen_;
    state_.brush = &defaultBrush_;
}

bool CDC::CreateCompatibleDC(CDC* /*other*/) {
    if (created_) {
        return false;
    }
    created_ = true;
    return true;
}

bool CDC::DeleteDC() {
    if (!created_) {
        return false;
    }
    state_ = State{};
    state_.pen = &defaultPen_;
    state_.brush = &defaultBrush_;
    created_ = false;
    return true;
}

CPen* CDC::SelectObject(CPen* pen) {
    if (pen == nullptr) {
        return nullptr;
    }
    Record(SurfaceOp::SelectPen, 0, 0, 0, 0, pen);
    return std::exchange(state_.pen, pen);
}

CBrush* CDC::SelectObject(CBrush* brush) {
    if (brush == nullptr) {
        return nullptr;
    }
    Record(SurfaceOp::SelectBrush, 0, 0, 0, 0, brush);
    return std::exchange(state_.brush, brush);
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    Record(SurfaceOp::SelectBitmap, 0, 0, 0, 0, bitmap);
    return std::exchange(state_.bitmap, bitmap);
}

RECT CDC::DeviceClip() const {
    const CBitmap* bitmap = state_.bitmap;
    if (bitmap == nullptr || !bitmap->IsCreated()) {
        return RECT{};
    }
    RECT bounds{0, 0, bitmap->GetWidth(), bitmap->GetHeight()};
    if (!state_.hasClip) {
        return bounds;
    }
    RECT clipped{};
    IntersectRect(&clipped, &bounds, &state_.clip);
    return clipped;
}

bool CDC::MakeTarget(raster::Target* target) const {
    target->clip = DeviceClip();
    if (IsRectEmpty(&target->clip)) {
        return false;
    }
    target->pixels = state_.bitmap->GetBits();
    target->stride = state_.bitmap->GetStride();
    return true;
}

namespace {

/// The 32-bit coordinate that a moved coordinate is recorded as.
std::int32_t Wrapped(i64 value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

}  // namespace

bool CDC::Ellipse(const RECT& box, i64 dx, i64 dy) {
    Record(SurfaceOp::Ellipse, Wrapped(box.left + dx), Wrapped(box.top + dy),
           Wrapped(box.right + dx), Wrapped(box.bottom + dy));
    raster::Target target;
    const RECT normal = NormalizedRect(box);
    dx += state_.viewportOrigin.x;
    dy += state_.viewportOrigin.y;
    if (!MakeTarget(&target) || normal.right + dx <= target.clip.left ||
        normal.left + dx >= target.clip.right || normal.bottom + dy <= target.clip.top ||
        normal.top + dy >= target.clip.bottom) {
        return true;
    }
    const OutlineAndFill paints(*state_.pen, *state_.brush);
    raster::Ellipse(target, normal, dx, dy, paints.Edge(), paints.Inside());
    return true;
}

bool CDC::Rectangle(const RECT& box, i64 dx, i64 dy) {
    Record(SurfaceOp::Rectangle, Wrapped(box.left + dx), Wrapped(box.top + dy),
           Wrapped(box.right + dx), Wrapped(box.bottom + dy));
    raster::Target target;
    if (!MakeTarget(&target)) {
        return true;
    }
    const RECT normal = NormalizedRect(box);
    dx += state_.viewportOrigin.x;
    dy += state_.viewportOrigin.y;
    const OutlineAndFill paints(*state_.pen, *state_.brush);
    raster::Rectangle(
        target,
        raster::Box{normal.left + dx, normal.top + dy, normal.right + dx, normal.bottom + dy},
        paints.Edge(), paints.Inside());
    return true;
}

COLORREF CDC::SetPixel(POINT at, i64 dx, i64 dy, COLORREF colour) {
    Record(SurfaceOp::SetPixel, Wrapped(at.x + dx), Wrapped(at.y + dy), 0, 0, nullptr, colour);
    raster::Target target;
    if (!MakeTarget(&target)) {
        return static_cast<COLORREF>(-1);
    }
    const i64 deviceX = at.x + dx + state_.viewportOrigin.x;
    const i64 deviceY = at.y + dy + state_.viewportOrigin.y;
    if (deviceX < target.clip.left || deviceX >= target.clip.right || deviceY < target.clip.top ||
        deviceY >= target.clip.bottom) {
        return static_cast<COLORREF>(-1);
    }
    target.pixels[deviceY * target.stride + deviceX] = CBitmap::PixelFromColor(colour);
    return colour & 0x00FFFFFF;
}

COLORREF CDC::GetPixel(std::int32_t x, std::int32_t y) const {
    const CBitmap* bitmap = state_.bitmap;
    const i64 deviceX = i64{x} + state_.viewportOrigin.x;
    const i64 deviceY = i64{y} + state_.viewportOrigin.y;
    if (bitmap == nullptr || deviceX < 0 || deviceY < 0 || deviceX >= bitmap->GetWidth() ||
        deviceY >= bitmap->GetHeight()) {
        return static_cast<COLORREF>(-1);
    }
    return bitmap->GetPixelColor(static_cast<std::int32_t>(deviceX),
                                 static_cast<std::int32_t>(deviceY));
}

POINT CDC::MoveTo(std::int32_t x, std::int32_t y) {
    Record(SurfaceOp::MoveTo, x, y, 0, 0);
    return std::exchange(state_.position, POINT{x, y});
}

bool CDC::LineTo(std::int32_t x, std::int32_t y) {
    Record(SurfaceOp::LineTo, x, y, 0, 0);
    const POINT from = std::exchange(state_.position, POINT{x, y});
    Stroke(from.x, from.y, x, y);
    return true;
}

bool CDC::Line(POINT from, POINT to, i64 dx, i64 dy) {
    MoveTo(Wrapped(from.x + dx), Wrapped(from.y + dy));
    const POINT end{Wrapped(to.x + dx), Wrapped(to.y + dy)};
    Record(SurfaceOp::LineTo, end.x, end.y, 0, 0);
    state_.position = end;
    Stroke(from.x + dx, from.y + dy, to.x + dx, to.y + dy);
    return true;
}

bool CDC::Misses(i64 left, i64 top, i64 right, i64 bottom) const {
    // Asked of every shape on every paint, so the clip is settled here without a rectangle
    // intersection: the box misses the bitmap or the clip box, whichever it misses.
    const CBitmap* bitmap = state_.bitmap;
    if (log_ != nullptr) {
        return false;
    }
    if (bitmap == nullptr || !bitmap->IsCreated()) {
        return true;
    }
    const i64 dx = state_.viewportOrigin.x;
    const i64 dy = state_.viewportOrigin.y;
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
    if (right <= 0 || bottom <= 0 || left >= bitmap->GetWidth() || top >= bitmap->GetHeight()) {
        return true;
    }
    const RECT& clip = state_.clip;
    return state_.hasClip &&
           (right <= clip.left || left >= clip.right || bottom <= clip.top || top >= clip.bottom ||
            clip.left >= clip.right || clip.top >= clip.bottom);
}

void CDC::Stroke(i64 x0, i64 y0, i64 x1, i64 y1) {
    raster::Target target;
    const CPen* pen = state_.pen;
    if (!MakeTarget(&target) || !pen->IsCreated() || pen->GetStyle() == PS_NULL) {
        return;
    }
    const i64 dx = state_.viewportOrigin.x;
    const i64 dy = state_.viewportOrigin.y;
    const std::uint32_t pixel = CBitmap::PixelFromColor(pen->GetColor());
    if (pen->GetWidth() <= 1) {
        raster::ThinLine(target, x0 + dx, y0 + dy, x1 + dx, y1 + dy, pixel);
    } else {
        raster::WideLine(target, x0 + dx, y0 + dy, x1 + dx, y1 + dy, pen->GetWidth(), pixel);
    }
}

bool CDC::PatBlt(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                 std::uint32_t rop) {
    Record(SurfaceOp::PatBlt, x, y, width, height);
    if (rop != PATCOPY) {
        return false;
    }
    raster::Target target;
    const CBrush* brush = state_.brush;
    if (!MakeTarget(&target) || !brush->IsCreated() || brush->GetStyle() != BS_SOLID) {
        return true;
    }
    i64 left = i64{x} + state_.viewportOrigin.x;
    i64 top = i64{y} + state_.viewportOrigin.y;
    i64 right = left + width;
    i64 bottom = top + height;
    raster::FillBox(target,
                    raster::Box{std::min(left, right), std::min(top, bottom), std::max(left, right),
                                std::max(top, bottom)},
                    CBitmap::PixelFromColor(brush->GetColor()));
    return true;
}

bool CDC::BitBlt(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                 const CDC* source, std::int32_t sourceX, std::int32_t sourceY, std::uint32_t rop) {
    Record(SurfaceOp::BitBlt, x, y, width, height, source);
    if (rop != SRCCOPY || source == nullptr) {
        return false;
    }
    raster::Target target;
    const CBitmap* sourceBitmap = source->state_.bitmap;
    if (!MakeTarget(&target) || sourceBitmap == nullptr || !sourceBitmap->IsCreated() ||
        width <= 0 || height <= 0) {
        return true;
    }
    // Work in destination device pixels; `shift` takes a destination pixel to its source.
    const i64 left = i64{x} + state_.viewportOrigin.x;
    const i64 top = i64{y} + state_.viewportOrigin.y;
    const i64 shiftX = i64{sourceX} + source->state_.viewportOrigin.x - left;
    const i64 shiftY = i64{sourceY} + source->state_.viewportOrigin.y - top;
    const i64 firstX = std::max({left, i64{target.clip.left}, -shiftX});
    const i64 firstY = std::max({top, i64{target.clip.top}, -shiftY});
    const i64 lastX =
        std::min({left + width, i64{target.clip.right}, i64{sourceBitmap->GetWidth()} - shiftX});
    const i64 lastY =
        std::min({top + height, i64{target.clip.bottom}, i64{sourceBitmap->GetHeight()} - shiftY});
    if (firstX >= lastX || firstY >= lastY) {
        return true;
    }
    raster::CopyBlock(
        target.pixels + firstY * target.stride + firstX, target.stride,
        sourceBitmap->GetBits() + (firstY + shiftY) * sourceBitmap->GetStride() + (firstX + shiftX),
        sourceBitmap->GetStride(), lastX - firstX, lastY - firstY);
    return true;
}

int CDC::GetClipBox(RECT* box) const {
    if (box == nullptr) {
        return RGN_ERROR;
    }
    const RECT device = DeviceClip();
    if (IsRectEmpty(&device)) {
        *box = RECT{};
        return NULLREGION;
    }
    const i64 dx = state_.viewportOrigin.x;
    const i64 dy = state_.viewportOrigin.y;
    *box = RECT{ClampToInt32(device.left - dx), ClampToInt32(device.top - dy),
                ClampToInt32(device.right - dx), ClampToInt32(device.bottom - dy)};
    return SIMPLEREGION;
}

int CDC::SelectClipRgn(const CRgn* region) {
    if (region != nullptr) {
        return RGN_ERROR;  // only removing the clip is supported
    }
    state_.hasClip = false;
    state_.clip = RECT{};
    return SIMPLEREGION;
}

int CDC::IntersectClipRect(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom) {
    const i64 dx = state_.viewportOrigin.x;
    const i64 dy = state_.viewportOrigin.y;
    const RECT box = NormalizedRect(RECT{ClampToInt32(left + dx), ClampToInt32(top + dy),
                                         ClampToInt32(right + dx), ClampToInt32(bottom + dy)});
    if (state_.hasClip) {
        RECT narrowed{};
        IntersectRect(&narrowed, &state_.clip, &box);
        state_.clip = narrowed;
    } else {
        state_.clip = box;
        state_.hasClip = true;
    }
    return IsRectEmpty(&state_.clip) ? NULLREGION : SIMPLEREGION;
}

int CDC::IntersectClipRect(const RECT* box) {
    return box == nullptr ? RGN_ERROR
                          : IntersectClipRect(box->left, box->top, box->right, box->bottom);
}

int CDC::SetMapMode(int mode) {
    if (mode != MM_TEXT) {
        return 0;  // one logical unit is always one pixel here
    }
    return std::exchange(state_.mapMode, mode);
}

POINT CDC::SetViewportOrg(std::int32_t x, std::int32_t y) {
    return std::exchange(state_.viewportOrigin, POINT{x, y});
}

bool CDC::LPtoDP(POINT* points, int count) const {
    if (points == nullptr || count < 0) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        points[i].x = AddWrapping(points[i].x, state_.viewportOrigin.x);
        points[i].y = AddWrapping(points[i].y, state_.viewportOrigin.y);
    }
    return true;
}

bool CDC::DPtoLP(POINT* points, int count) const {
    if (points == nullptr || count < 0) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        points[i].x = SubtractWrapping(points[i].x, state_.viewportOrigin.x);
        points[i].y = SubtractWrapping(points[i].y, state_.viewportOrigin.y);
    }
    return true;
}

void CDC::Append(SurfaceOp op, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d,
                 const void* object, COLORREF colour) {
    SurfaceCall call;
    call.op = op;
    call.args[0] = a;
    call.args[1] = b;
    call.args[2] = c;
    call.args[3] = d;
    call.colour = colour;
    call.object = object;
    call.pen = Describe(state_.pen);
    call.brush = Describe(state_.brush);
    log_->push_back(call);
}
