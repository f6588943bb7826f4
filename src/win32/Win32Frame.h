#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Backend.h"
#include "win32/NativeFrame.h"

class CFrameWnd;
class Win32ClientArea;
class Win32StatusBar;

/// The main window of a framework frame (CFrameWnd) on Windows: the menu bar from the frame's
/// menu resource, the accelerator table, the icon, the status bar and the client area that
/// hosts the frame's view. Menu items and accelerators run their commands through the frame;
/// items whose command is disabled show grey, and the item under the pointer, grey or not,
/// puts its prompt in the status bar. Closing the window asks the frame first.
class Win32Frame : public FrameHost, private win32::FrameEvents {
public:
    /// Starting size at 96 dots per inch, the same as on Linux.
    static constexpr int kInitialWidth = 900;
    static constexpr int kInitialHeight = 720;

    explicit Win32Frame(CFrameWnd& frame);
    ~Win32Frame() override;

    // FrameHost.
    WindowHost* GetClientHost() override;
    void SetTitle(const std::string& documentTitle, const std::string& appTitle,
                  bool modified) override;
    void SetMenu(const std::vector<MenuItem>& menu) override;
    void SetAccelerators(const std::vector<Accelerator>& accelerators) override;
    void SetIcon(const std::vector<IconImage>& images) override;
    StatusBarHost* CreateStatusBar() override;
    void Show(int command) override;
    void RefreshCommands() override;

    Win32ClientArea* GetClientArea() const { return client_.get(); }
    Win32StatusBar* GetStatusBar() const { return statusBar_.get(); }
    /// The Windows window (HWND), for tests that send it messages as Windows would.
    void* Handle() const { return native_.Handle(); }
    std::string GetTitle() const { return native_.GetTitle(); }

private:
    // win32::FrameEvents.
    void OnCommand(unsigned command) override;
    void QueryCommand(unsigned command, bool& enabled, bool& checked) override;
    std::vector<MenuItem> MenuItems(std::size_t index) override;
    void OnMenuSelect(unsigned command) override;
    bool OnClose() override;
    void OnTick() override;
    void OnResized() override;

    CFrameWnd& frame_;
    win32::NativeFrame native_;
    std::unique_ptr<Win32ClientArea> client_;
    std::unique_ptr<Win32StatusBar> statusBar_;
};
