#pragma once

#include <cstdint>
#include <memory>

#include "framework/Backend.h"
#include "gdi/CBitmap.h"
#include "win32/NativeClient.h"

namespace win32 {
class NativeFrame;
}

/// The client area of the main frame on Windows: hosts one framework window (the view), keeps
/// its pixels in a CBitmap of the area's size and shows them unchanged; paints, sizes, timers
/// (WM_TIMER), scroll bars and the mouse reach the window as its message functions. The window
/// does not capture the mouse.
class Win32ClientArea : public WindowHost, private win32::ClientEvents {
public:
    explicit Win32ClientArea(win32::NativeFrame& frame);
    ~Win32ClientArea() override;

    // WindowHost.
    bool AttachWindow(CWnd* window) override;
    SIZE GetClientSize() const override;
    CBitmap& GetClientPixels() override { return pixels_; }
    void Invalidate(const RECT* box) override;
    void UpdateNow() override;
    RECT BeginPaint() override;
    void EndPaint(const RECT& box) override;
    bool SetTimer(std::uintptr_t id, std::uint32_t periodMs) override;
    bool KillTimer(std::uintptr_t id) override;
    void SetScrollSizes(int bar, std::int32_t total, std::int32_t page, std::int32_t line) override;
    std::int32_t GetScrollPos(int bar) const override;
    std::int32_t SetScrollPos(int bar, std::int32_t position) override;
    SIZE GetParentFrameSize() const override;
    void SetParentFrameSize(SIZE size) override;

    CWnd* GetWindow() const { return window_; }
    /// The Windows window (HWND), for tests that send it messages as Windows would.
    void* Handle() const { return native_->Handle(); }
    /// How the client's pixels lie on the screen.
    win32::ScreenScale Scale() const { return native_->Scale(); }

private:
    // win32::ClientEvents.
    void OnPaint() override;
    const std::uint32_t* Pixels(int& width, int& height, int& stride) override;
    void OnSize(int width, int height) override;
    void OnTimer(std::uintptr_t id) override;
    void OnScrolled(int bar, std::int32_t position) override;
    void OnMouse(Mouse what, unsigned keys, int x, int y) override;

    void RemakePixels();
    /// Delivers the pending paint to the window, when there is one.
    void PaintPending();

    win32::NativeFrame& frame_;
    std::unique_ptr<win32::NativeClient> native_;
    CWnd* window_ = nullptr;
    CBitmap pixels_;
    RECT pending_{};
    bool hasPending_ = false;
    bool painting_ = false;
    bool inSystemPaint_ = false;  ///< Windows' WM_PAINT is being handled
};
