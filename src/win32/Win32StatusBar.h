#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/Backend.h"
#include "win32/NativeStatusBar.h"

/// The frame's status bar on Windows: the message pane, then the indicator panes, of which
/// CAP, NUM and SCRL show their text while their lock key is on and stay blank while it is off.
class Win32StatusBar : public StatusBarHost {
public:
    /// relayout lays the frame out again after the bar was shown or hidden.
    Win32StatusBar(void* frame, std::function<void()> relayout);

    // StatusBarHost.
    void SetPanes(const std::vector<unsigned>& ids, const std::vector<std::string>& texts) override;
    void SetPaneText(std::size_t index, const std::string& text) override;
    void SetVisible(bool visible) override;
    bool IsVisible() const override { return native_.IsVisible(); }

    /// Lights the lock keys' panes as the keyboard is now.
    void ShowLockKeys();
    void Layout() { native_.Layout(); }
    void* Handle() const { return native_.Handle(); }
    /// What a pane shows now.
    std::string GetShownText(std::size_t index) const { return native_.GetText(index); }

private:
    win32::NativeStatusBar native_;
    std::function<void()> relayout_;
    std::vector<unsigned> ids_;
    std::vector<std::string> texts_;
    std::vector<bool> lit_;
};
