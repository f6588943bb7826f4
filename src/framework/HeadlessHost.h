#pragma once

#include <cstdint>
#include <map>

#include "framework/Backend.h"
#include "gdi/CBitmap.h"
#include "gdi/GdiTypes.h"

/// A window system that exists only in memory, for one window: a client area of pixels that
/// keep what was painted, scroll bars that are numbers, timers that fire only when told to, and
/// messages delivered by calls. Tests drive views through it, and rendering to a file paints
/// through it.
///
/// A window that starts being shown awaits a paint of its whole client area. Invalidated boxes
/// gather into one pending box (their bounding box); PumpPaint delivers it as one OnPaint. The
/// scroll bars take no room from the client area. The frame around the window is the client
/// area plus a fixed margin.
class HeadlessHost : public WindowHost {
public:
    /// Where a mouse button message comes from.
    enum class Button { Left, Right };

    /// A scroll bar as numbers.
    struct ScrollBar {
        std::int32_t total = 0;
        std::int32_t page = 0;
        std::int32_t line = 0;
        std::int32_t position = 0;
    };

    /// A client area of the size (negative sides count as 0), inside a frame that is
    /// frameMargin larger in each dimension and that SetParentFrameSize never makes smaller
    /// than minimumFrame, as window systems keep frames from vanishing.
    explicit HeadlessHost(SIZE clientSize, SIZE frameMargin = SIZE{}, SIZE minimumFrame = SIZE{});
    /// Destroys the window it still shows (DestroyWindow).
    ~HeadlessHost() override;

    // WindowHost.
    bool AttachWindow(CWnd* window) override;
    SIZE GetClientSize() const override { return client_; }
    CBitmap& GetClientPixels() override { return pixels_; }
    void Invalidate(const RECT* box) override;
    void UpdateNow() override { PumpPaint(); }
    RECT BeginPaint() override;
    void EndPaint(const RECT& box) override;
    bool SetTimer(std::uintptr_t id, std::uint32_t periodMs) override;
    bool KillTimer(std::uintptr_t id) override;
    void SetScrollSizes(int bar, std::int32_t total, std::int32_t page, std::int32_t line) override;
    std::int32_t GetScrollPos(int bar) const override;
    std::int32_t SetScrollPos(int bar, std::int32_t position) override;
    SIZE GetParentFrameSize() const override;
    void SetParentFrameSize(SIZE size) override;

    // Driving the window as a user and the window system would.
    /// Changes the client size (negative sides count as 0): the pixels keep what they share
    /// with the old size, the new ones are black, the scroll positions are clamped (with
    /// OnScrolled), the whole client area awaits painting, and the window gets OnSize(type).
    /// Nothing happens when the size stays.
    void Resize(SIZE clientSize, unsigned type = SIZE_RESTORED);
    /// Delivers the pending paint as one OnPaint; false when nothing awaited painting.
    bool PumpPaint();
    /// Fires a running timer once; false when no timer with that id runs.
    bool FireTimer(std::uintptr_t id);
    /// Moves a scroll bar as its user would: clamped, stored, then OnScrolled when it moved.
    void Scroll(int bar, std::int32_t position);
    /// Mouse messages at a client point. The key flags carry the buttons held down, as these
    /// calls pressed and released them.
    void MouseMove(POINT point);
    void ButtonDown(Button button, POINT point);
    void ButtonUp(Button button, POINT point);

    // What the window system holds.
    CWnd* GetWindow() const { return window_; }
    bool HasPendingPaint() const { return hasPending_; }
    /// The box awaiting painting, client coordinates; empty when none.
    RECT GetPendingBox() const;
    /// How many paints have ended (EndPaint) since the host was made.
    int GetPaintCount() const { return paints_; }
    /// The running timers: id to period in milliseconds.
    const std::map<std::uintptr_t, std::uint32_t>& GetTimers() const { return timers_; }
    ScrollBar GetScrollBar(int bar) const;

private:
    ScrollBar& Bar(int bar) { return bar == SB_VERT ? vertical_ : horizontal_; }
    std::int32_t ClientExtent(int bar) const { return bar == SB_VERT ? client_.cy : client_.cx; }
    std::int32_t MaxPosition(int bar) const;
    /// Clamps the bar's position to its range; OnScrolled when it moved.
    void ClampPosition(int bar);
    void RemakePixels(SIZE clientSize);

    CWnd* window_ = nullptr;
    SIZE client_{};
    SIZE frameMargin_{};
    SIZE minimumFrame_{};
    CBitmap pixels_;
    bool hasPending_ = false;
    RECT pending_{};
    int paints_ = 0;
    std::map<std::uintptr_t, std::uint32_t> timers_;
    ScrollBar horizontal_;
    ScrollBar vertical_;
    unsigned buttons_ = 0;  ///< MK_ flags held
};
