#pragma once

#include <cstdint>

#include "win32/NativeScale.h"

namespace win32 {

/// What the client area reports to its owner. Coordinates and sizes are the area's own pixels:
/// screen pixels scaled back by the screen's scale (NativeScale.h).
class ClientEvents {
public:
    enum class Mouse { Move, LeftDown, LeftUp, RightDown, RightUp };

    /// Windows asks for a paint: the owner delivers its pending paint, if any, to its window.
    virtual void OnPaint() = 0;
    /// The pixels to show, 0xFFRRGGBB words in rows of stride words; null when there are none.
    virtual const std::uint32_t* Pixels(int& width, int& height, int& stride) = 0;
    virtual void OnSize(int width, int height) = 0;
    virtual void OnTimer(std::uintptr_t id) = 0;
    /// A scroll bar moved to the position (bar 0 across, 1 down).
    virtual void OnScrolled(int bar, std::int32_t position) = 0;
    /// keys holds the buttons down (1 left, 2 right).
    virtual void OnMouse(Mouse what, unsigned keys, int x, int y) = 0;

protected:
    ~ClientEvents() = default;
};

/// The client area: a child window with two scroll bars that shows its owner's pixels, each as
/// a block of whole screen pixels (ScreenScale), and passes paints, sizes, timers, scrolling and
/// the mouse on. The mouse is never captured: moves and releases outside reach nobody here.
class NativeClient {
public:
    NativeClient(void* parent, ClientEvents& events);
    ~NativeClient();
    NativeClient(const NativeClient&) = delete;
    NativeClient& operator=(const NativeClient&) = delete;

    void* Handle() const { return window_; }
    ScreenScale Scale() const { return scale_; }
    void GetSize(int& width, int& height) const;
    /// The size in screen pixels.
    void GetScreenSize(int& width, int& height) const;
    void Invalidate(int left, int top, int right, int bottom);
    void InvalidateAll();
    /// Paints now what awaits painting.
    void UpdateNow();
    bool SetTimer(std::uintptr_t id, std::uint32_t periodMs);
    bool KillTimer(std::uintptr_t id);
    /// total is the content's extent; page and line are the steps of a page and a line.
    void SetScrollSizes(int bar, std::int32_t total, std::int32_t page, std::int32_t line);
    std::int32_t GetScrollPos(int bar) const;
    /// Moves the bar, clamped, without telling the owner; answers the position taken.
    std::int32_t SetScrollPos(int bar, std::int32_t position);

    /// The window procedure's work, for the procedure alone.
    std::intptr_t Dispatch(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

private:
    struct Bar {
        std::int32_t total = 0;
        std::int32_t page = 1;
        std::int32_t line = 1;
        int wheel = 0;  ///< wheel turn not yet scrolled, in 120ths of a notch
    };
    void ApplyBar(int bar);
    /// Scrolls by delta (clamped) and tells the owner when the position moved.
    void ScrollBy(int bar, std::int64_t delta);
    void ScrollTo(int bar, std::int64_t position);
    void Wheel(int bar, int delta);
    void Paint();
    /// Brings the bars up to the client size and tells the owner of it.
    void TellSize();

    ClientEvents& events_;
    void* window_ = nullptr;
    ScreenScale scale_;
    Bar bars_[2];
    bool applying_ = false;      ///< the owner is changing the scroll sizes
    bool sizeDeferred_ = false;  ///< a size change waits to be told
};

}  // namespace win32
