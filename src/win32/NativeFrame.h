#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Resources.h"

namespace win32 {

/// What a frame window reports to its owner.
class FrameEvents {
public:
    /// A menu item or an accelerator chose the command.
    virtual void OnCommand(unsigned command) = 0;
    /// Whether the command can run now, and whether it shows a check mark.
    virtual void QueryCommand(unsigned command, bool& enabled, bool& checked) = 0;
    /// The items of top-level menu index as they are now (the recent files change).
    virtual std::vector<MenuItem> MenuItems(std::size_t index) = 0;
    /// The pointer is on the command's menu item; 0 when on none, or the menu closed.
    virtual void OnMenuSelect(unsigned command) = 0;
    /// The person asked to close the window; true when it may go.
    virtual bool OnClose() = 0;
    /// Ten times a second while the frame lives: the lock keys' lights follow.
    virtual void OnTick() = 0;
    /// The frame's size changed and its children were laid out again.
    virtual void OnResized() = 0;

protected:
    ~FrameEvents() = default;
};

/// A top-level window with a menu bar, accelerators, an icon and two children laid out inside
/// it: a bar along the bottom and the client area filling the rest. Handles are Windows'
/// HWNDs, kept as void* so that users need no Windows header.
class NativeFrame {
public:
    /// Made hidden, width by height pixels at 96 dots per inch (more on a scaled screen), never
    /// larger than the screen's work area.
    NativeFrame(FrameEvents& events, int width, int height);
    ~NativeFrame();
    NativeFrame(const NativeFrame&) = delete;
    NativeFrame& operator=(const NativeFrame&) = delete;

    void* Handle() const { return window_; }
    void SetTitle(const std::string& title);
    void SetMenu(const std::vector<MenuItem>& menu);
    void SetAccelerators(const std::vector<Accelerator>& accelerators);
    void SetIcon(const std::vector<IconImage>& images);
    void Show(bool show);
    /// The children to lay out; null for none.
    void SetChildren(void* client, void* bottomBar);
    /// Lays the children out again, after one was shown or hidden.
    void Layout();
    void GetOuterSize(int& width, int& height) const;
    void SetOuterSize(int width, int height);
    std::string GetTitle() const;

    /// The frame shown most recently that still exists; null when none. Dialogs sit on it.
    static void* MainHandle();
    /// Runs the accelerators of the frame that message (an MSG) goes to; true when one did.
    static bool TranslateKeys(void* message);

    /// The window procedure's work, for the procedure alone.
    std::intptr_t Dispatch(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

private:
    void FillPopup(void* popup, std::size_t index);

    FrameEvents& events_;
    void* window_ = nullptr;
    void* menu_ = nullptr;
    void* accelerators_ = nullptr;
    void* bigIcon_ = nullptr;
    void* smallIcon_ = nullptr;
    void* client_ = nullptr;
    void* bottomBar_ = nullptr;
    std::vector<void*> popups_;
    int dpi_ = 96;  ///< of the screen the frame is on
};

}  // namespace win32
