#pragma once

#include <cstdint>

#include "gdi/GdiTypes.h"

class CBitmap;
class CWnd;

// Scroll bars of a window.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;

// What a size message says happened to the window.
constexpr unsigned SIZE_RESTORED = 0;
constexpr unsigned SIZE_MINIMIZED = 1;
constexpr unsigned SIZE_MAXIMIZED = 2;

// Key flags of mouse messages: the buttons held while the message was made.
constexpr unsigned MK_LBUTTON = 0x0001;
constexpr unsigned MK_RBUTTON = 0x0002;

/// What a framework window (CWnd) needs of the window system that shows it. One host stands for
/// one window; CWnd::Create binds the two and the window reaches its host through
/// CWnd::GetHost().
///
/// Messages flow the other way, as plain calls of the window's message functions, one at a
/// time on the one user-interface thread: OnPaint when part of the client area awaits painting,
/// OnSize, OnTimer, the four button messages and OnMouseMove with client coordinates, and
/// OnScrolled when a scroll bar moved. No call of this interface delivers a message re-entrantly
/// unless it says so (UpdateNow, SetParentFrameSize, SetScrollSizes).
///
/// Coordinates are client pixels: (0, 0) is the top-left pixel of the client area.
class WindowHost {
public:
    WindowHost() = default;
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;
    virtual ~WindowHost() = default;

    /// Starts showing the window (non-null) or stops (null). CWnd::Create and the window's
    /// destruction call it; after a stop the host sends the window nothing more and its timers
    /// are gone. False when the host already shows another window.
    virtual bool AttachWindow(CWnd* window) = 0;

    // Client area.
    /// The client area's width and height in pixels, 0 or more.
    virtual SIZE GetClientSize() const = 0;
    /// The client area's pixels: a bitmap of the client size that keeps what was painted into
    /// it until the window paints there again, and that the host shows unchanged. Not created
    /// while the client area is empty. The object stays the same for the host's life; a change
    /// of the client size remakes its pixels, so no surface may hold it across a size change.
    virtual CBitmap& GetClientPixels() = 0;

    // Painting.
    /// Adds the box, or the whole client area for null, to the region that awaits painting.
    /// Nothing is erased. The window gets one OnPaint later for everything invalidated by then.
    virtual void Invalidate(const RECT* box) = 0;
    /// When part of the client area awaits painting, calls the window's OnPaint before
    /// returning; otherwise does nothing.
    virtual void UpdateNow() = 0;
    /// Begins a paint: returns the box that awaits painting, within the client area (empty
    /// when nothing does), and takes it as painted.
    virtual RECT BeginPaint() = 0;
    /// Ends the paint that BeginPaint began; box is what it returned.
    virtual void EndPaint(const RECT& box) = 0;

    // Timers.
    /// Starts a timer that calls the window's OnTimer(id) every period milliseconds; a running
    /// timer with the same id is replaced. False when no timer could be made.
    virtual bool SetTimer(std::uintptr_t id, std::uint32_t periodMs) = 0;
    /// Stops the timer; false when none with that id runs.
    virtual bool KillTimer(std::uintptr_t id) = 0;

    // Scroll bars (bar is SB_HORZ or SB_VERT).
    /// The extent of the scrollable content (0 or more), the step of a page and the step of a
    /// line. A position runs from 0 to the larger of 0 and total less the client extent; when
    /// a new total or client size leaves the position outside, the host clamps it and calls
    /// OnScrolled.
    virtual void SetScrollSizes(int bar, std::int32_t total, std::int32_t page,
                                std::int32_t line) = 0;
    /// The scroll position of the bar.
    virtual std::int32_t GetScrollPos(int bar) const = 0;
    /// Moves the bar to the position, clamped to its range, without calling OnScrolled;
    /// returns the position taken.
    virtual std::int32_t SetScrollPos(int bar, std::int32_t position) = 0;

    // The frame window that holds this window.
    /// The outer size of the frame, in pixels.
    virtual SIZE GetParentFrameSize() const = 0;
    /// Resizes the frame; the client area changes by the same amounts and the window gets
    /// OnSize before this returns (a window system that resizes later sends it then). A host
    /// without a frame does nothing.
    virtual void SetParentFrameSize(SIZE size) = 0;
};
