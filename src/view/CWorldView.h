#pragma once

#include <cstdint>
#include <memory>

#include "framework/CScrollView.h"
#include "gdi/CBitmap.h"
#include "gdi/CBrush.h"
#include "gdi/CDC.h"
#include "gdi/GdiTypes.h"
#include "view/ObjectWalks.h"

class World;

/// The view of a World: a scrolling window over the world at one unit per pixel.
///
/// Painting goes through a back buffer whose pixel (x, y) is world point (x, y): each paint
/// fills the box to repaint with the window colour, draws every drawable object into it, last
/// added first, so the earliest added ends on top, and copies the box to the window in one
/// transfer. The view keeps the back buffer the size of the world, and the world grows with the
/// window, never shrinking with it.
///
/// A timer (id 1, every 100 ms) ticks every updateable object; mouse messages are offered to
/// the interactable objects, first added first, until one takes them. A mouse move is stored as
/// the world's mouse position after it was offered, so objects see the previous move's place.
///
/// The back buffer covers at most kMaxBackBufferSide pixels in each dimension and
/// kMaxBackBufferPixels in all (see BackBufferSizeFor). A world within those limits has a back
/// buffer of its own size, never scrolled; a larger world has one of the client area's size,
/// scrolled with the window, so every part of the world shows when scrolled to and the pixels
/// are those a world-sized buffer would give. A world with a side of 0 or less has no back
/// buffer and paints all window colour.
class CWorldView : public CScrollView {
    DECLARE_DYNCREATE(CWorldView)

public:
    /// The widest and tallest back buffer: wider than three 4K screens side by side.
    static constexpr std::int32_t kMaxBackBufferSide = 16384;
    /// The largest back buffer in pixels (128 MiB): a window filling an 8K screen.
    static constexpr std::int64_t kMaxBackBufferPixels = std::int64_t{1} << 25;
    /// The timer that ticks the world, and its period.
    static constexpr std::uintptr_t kTimerId = 1;
    static constexpr std::uint32_t kTimerPeriodMs = 100;

    /// Cached world size 1024 by 1024, no back buffer yet.
    CWorldView();
    ~CWorldView() override;

    /// The world shown; null when the view has no document or it is not a World.
    World* GetDocument() const;

    /// The back buffer for a world of the size: the width capped at kMaxBackBufferSide, the
    /// height at kMaxBackBufferSide and at what kMaxBackBufferPixels leaves for that width;
    /// (0, 0) when either side of the world is 0 or less.
    static SIZE BackBufferSizeFor(std::int32_t width, std::int32_t height);
    /// The back buffer's pixels; null while the view has none (before the first update, or for
    /// a world without area). For a world beyond the limits it holds the client area.
    const CBitmap* GetBackBuffer() const;
    /// The world size the scroll sizes and the back buffer were last made for.
    SIZE GetCachedWorldSize() const { return SIZE{cachedWidth, cachedHeight}; }

    /// Takes the world's size, sets the scroll sizes, shrinks the frame to the world, makes the
    /// back buffer when it has not the world's size, starts the timer, then OnUpdate.
    void OnInitialUpdate() override;
    /// Follows a changed world size (scroll sizes, frame, a new back buffer); in every case
    /// invalidates the whole client area.
    void OnUpdate(CView* sender, long hint, CObject* hintObject) override;
    /// Draws every drawable object, last added first.
    void OnDraw(CDC* surface) override;

    void OnPaint() override;
    /// Grows the world to a client area larger than the cached size, dimension by dimension.
    void OnSize(unsigned type, std::int32_t cx, std::int32_t cy) override;
    /// Ticks every updateable object; when any changed, marks the world changed.
    void OnTimer(std::uintptr_t id) override;
    void OnLButtonDown(unsigned flags, POINT point) override;
    /// Also tells every other view of the world to update.
    void OnLButtonUp(unsigned flags, POINT point) override;
    void OnRButtonDown(unsigned flags, POINT point) override;
    void OnRButtonUp(unsigned flags, POINT point) override;
    void OnMouseMove(unsigned flags, POINT point) override;

private:
    /// True when the cached world exceeds the back buffer's limits, so the back buffer covers
    /// the client area instead of the world.
    bool BackBufferFollowsClient() const;
    /// The world's size, or for a world beyond the limits the client area's, within the limits.
    SIZE WantedBackBufferSize() const;
    /// Replaces the back buffer's bitmap by a new one of the wanted size.
    void MakeBackBitmap();
    /// Offers a mouse event to the interactables, first to last, until one takes it.
    void Offer(MouseEvent event);

    std::int32_t cachedWidth;
    std::int32_t cachedHeight;
    std::unique_ptr<CDC> backBuffer;
    std::unique_ptr<CBitmap> backBitmap;
};
