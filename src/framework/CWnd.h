#pragma once

#include <cstdint>

#include "framework/CObject.h"
#include "gdi/GdiTypes.h"

class WindowHost;

/// A window: the framework's side of what the window system shows. The window system is
/// reached through a WindowHost (see Backend.h), bound by Create; the host delivers the
/// messages by calling the virtual On... functions below. Without a host a window has an empty
/// client area, and its requests to the window system do nothing.
///
/// The base handlers give each message its default processing: OnPaint validates the update
/// region, OnCreate accepts, everything else does nothing. A class that handles a message
/// overrides the handler and calls its base class's handler for the default processing.
class CWnd : public CObject {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    /// Unbinds the window from its host without sending OnDestroy (a destructor cannot reach
    /// the overrides any more).
    ~CWnd() override;

    /// Binds the window to the host, then sends OnCreate and, when the window accepts, OnSize
    /// with the client size. False, with the window unbound, when the window already has a
    /// host, host is null, the host shows another window, or OnCreate returns -1.
    bool Create(WindowHost* host);
    /// Sends OnDestroy, then unbinds the window: its timers stop and no message arrives any
    /// more. False when the window has no host.
    bool DestroyWindow();
    /// The host that shows the window; null before Create and after DestroyWindow.
    WindowHost* GetHost() const { return host_; }

    // Requests to the window system.
    /// (0, 0, client width, client height).
    void GetClientRect(RECT* rect) const;
    /// Schedules a paint of the box (client coordinates), or of the whole client area for null.
    /// erase is accepted for familiarity only: nothing is ever erased here, the window's pixels
    /// keep what was painted until the next paint covers them.
    void InvalidateRect(const RECT* rect, bool erase = true);
    void Invalidate(bool erase = true) { InvalidateRect(nullptr, erase); }
    /// Delivers a pending paint now, if there is one.
    void UpdateWindow();
    /// Starts a timer that sends OnTimer(id) every elapse milliseconds (at least 10); a timer
    /// with the same id is replaced. Returns id, or 0 when no timer could be started.
    std::uintptr_t SetTimer(std::uintptr_t id, std::uint32_t elapse);
    bool KillTimer(std::uintptr_t id);

    // Messages, called by the host.
    /// The window has just been bound; -1 refuses it, 0 accepts.
    virtual int OnCreate();
    /// The window is about to be unbound from its host.
    virtual void OnDestroy();
    /// Part of the client area awaits painting; a CPaintDC on the window paints it.
    virtual void OnPaint();
    /// The client area is now cx by cy pixels; type is SIZE_RESTORED, SIZE_MINIMIZED or
    /// SIZE_MAXIMIZED.
    virtual void OnSize(unsigned type, std::int32_t cx, std::int32_t cy);
    virtual void OnTimer(std::uintptr_t id);
    /// Mouse messages: flags are MK_ values of the buttons held, point is in client pixels.
    virtual void OnLButtonDown(unsigned flags, POINT point);
    virtual void OnLButtonUp(unsigned flags, POINT point);
    virtual void OnRButtonDown(unsigned flags, POINT point);
    virtual void OnRButtonUp(unsigned flags, POINT point);
    virtual void OnMouseMove(unsigned flags, POINT point);
    /// The scroll bar (SB_HORZ or SB_VERT) now stands at position; the host has stored it.
    virtual void OnScrolled(int bar, std::int32_t position);

private:
    void Unbind();

    WindowHost* host_ = nullptr;
};
