#pragma once

#include <cstdint>

#include "gdi/CBitmap.h"
#include "gdi/CBrush.h"
#include "gdi/CPen.h"
#include "gdi/CRgn.h"
#include "gdi/GdiTypes.h"
#include "gdi/Raster.h"
#include "gdi/SurfaceCall.h"

/// A drawing surface over a 32-bit bitmap. Coordinates are logical units; with MM_TEXT a
/// logical point is the device pixel at (x + viewport origin x, y + viewport origin y).
///
/// Every primitive is bounded by the clip box and the bitmap: a shape costs no more than the
/// pixels it can touch, whatever its coordinates, and no coordinate arithmetic overflows.
///
/// A new surface holds a solid black pen of width 1 and a solid white brush and no bitmap;
/// drawing without a bitmap does nothing.
class CDC {
public:
    CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    /// Makes this an in-memory surface. The other surface only tells the pixel format.
    bool CreateCompatibleDC(CDC* other);
    /// Releases the surface; its selections are forgotten, none of them is deleted.
    bool DeleteDC();
    /// True once CreateCompatibleDC (or a window host) has made the surface.
    bool IsCreated() const { return created_; }

    // Selection. Each returns the object selected before, which the caller selects back.
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    /// Selecting a bitmap makes it the pixels drawn into. The clip stays as it was; drawing
    /// always keeps within the bitmap as well.
    CBitmap* SelectObject(CBitmap* bitmap);
    CPen* GetCurrentPen() const { return state_.pen; }
    CBrush* GetCurrentBrush() const { return state_.brush; }
    CBitmap* GetCurrentBitmap() const { return state_.bitmap; }

    // Drawing, in logical units.
    /// The ellipse inscribed in the box, covering the pixels whose centres lie inside it;
    /// outlined by the pen and filled by the brush.
    bool Ellipse(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
        return Ellipse(RECT{left, top, right, bottom}, 0, 0);
    }
    bool Ellipse(const RECT& box) { return Ellipse(box, 0, 0); }
    /// The half-open box; the pen draws its edge pixels and the brush the inside.
    bool Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
        return Rectangle(RECT{left, top, right, bottom}, 0, 0);
    }
    bool Rectangle(const RECT& box) { return Rectangle(box, 0, 0); }
    /// Sets one pixel; returns the colour set, or COLORREF(-1) when the pixel is clipped.
    COLORREF SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) {
        return SetPixel(POINT{x, y}, 0, 0, colour);
    }
    /// The colour of a pixel, or COLORREF(-1) outside the bitmap.
    COLORREF GetPixel(std::int32_t x, std::int32_t y) const;
    /// Moves the current position; returns the previous one.
    POINT MoveTo(std::int32_t x, std::int32_t y);
    /// Strokes from the current position to (x, y) with the pen and makes (x, y) current.
    /// A pen of width 1 or less draws a Bresenham line without its last pixel; a wider pen
    /// covers the pixels whose centres lie within width / 2 of the segment.
    bool LineTo(std::int32_t x, std::int32_t y);
    POINT GetCurrentPosition() const { return state_.position; }

    // Drawing at an offset, for shapes whose coordinates are relative to an owner's position.
    // The offset is added in 64 bits, so a shape near the 32-bit limits is drawn where it lies
    // instead of wrapping around; the call log records the moved coordinates as 32-bit values.
    bool Ellipse(const RECT& box, std::int64_t dx, std::int64_t dy);
    bool Rectangle(const RECT& box, std::int64_t dx, std::int64_t dy);
    COLORREF SetPixel(POINT at, std::int64_t dx, std::int64_t dy, COLORREF colour);
    /// MoveTo(from) then LineTo(to), both moved by the offset.
    bool Line(POINT from, POINT to, std::int64_t dx, std::int64_t dy);
    /// True when no pixel of the half-open box (logical units, 64-bit) can reach the clip and
    /// no call log is kept: a shape wholly inside such a box may leave out its drawing, since
    /// neither the pixels nor the log could show it.
    bool Misses(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) const;

    // Block transfers.
    /// Fills the box with the brush (PATCOPY only).
    bool PatBlt(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                std::uint32_t rop);
    /// Copies pixels from the source surface (SRCCOPY only); both sides are clipped.
    bool BitBlt(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                const CDC* source, std::int32_t sourceX, std::int32_t sourceY, std::uint32_t rop);

    // Clipping. The clip is a box; without one it is the whole bitmap.
    /// The clip box in logical units; NULLREGION when it is empty.
    int GetClipBox(RECT* box) const;
    /// Only nullptr is accepted: it removes the clip.
    int SelectClipRgn(const CRgn* region);
    int IntersectClipRect(std::int32_t left, std::int32_t top, std::int32_t right,
                          std::int32_t bottom);
    int IntersectClipRect(const RECT* box);

    // Mapping.
    int SetMapMode(int mode);
    int GetMapMode() const { return state_.mapMode; }
    POINT SetViewportOrg(std::int32_t x, std::int32_t y);
    POINT GetViewportOrg() const { return state_.viewportOrigin; }
    /// Logical to device units, in place; coordinates wrap at the 32-bit limits.
    bool LPtoDP(POINT* points, int count = 1) const;
    bool DPtoLP(POINT* points, int count = 1) const;

    /// While set, every selection and primitive is appended to the log. Tests use it to see
    /// what a shape asked of the surface; nullptr stops the recording.
    void SetCallLog(SurfaceCallLog* log) { log_ = log; }
    /// Whether a call log is being kept.
    bool KeepsCallLog() const { return log_ != nullptr; }

private:
    /// Everything a surface remembers between calls.
    struct State {
        CPen* pen = nullptr;
        CBrush* brush = nullptr;
        CBitmap* bitmap = nullptr;
        POINT viewportOrigin{};
        POINT position{};
        int mapMode = MM_TEXT;
        bool hasClip = false;
        RECT clip{};  ///< device units; cut to the bitmap when drawing
    };

    /// The box that drawing may touch, in device units: the clip within the bitmap.
    RECT DeviceClip() const;
    /// Strokes the segment between two logical points with the pen.
    void Stroke(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    /// Where drawing goes; false when nothing can be drawn (no bitmap, empty clip).
    bool MakeTarget(raster::Target* target) const;
    void Record(SurfaceOp op, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d,
                const void* object = nullptr, COLORREF colour = 0) {
        if (log_ != nullptr) {
            Append(op, a, b, c, d, object, colour);
        }
    }
    void Append(SurfaceOp op, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d,
                const void* object, COLORREF colour);

    CPen defaultPen_;
    CBrush defaultBrush_;
    State state_;
    bool created_ = false;
    SurfaceCallLog* log_ = nullptr;
};
