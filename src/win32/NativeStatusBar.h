#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace win32 {

/// The common controls' status bar along the bottom of a frame: a first pane that takes the
/// room left, then panes as wide as their texts.
class NativeStatusBar {
public:
    explicit NativeStatusBar(void* frame);
    ~NativeStatusBar();
    NativeStatusBar(const NativeStatusBar&) = delete;
    NativeStatusBar& operator=(const NativeStatusBar&) = delete;

    void* Handle() const { return window_; }
    /// One pane per text; widths holds each fixed pane's text, sized once, so a pane lit or
    /// dark never changes the bar's layout.
    void SetPanes(const std::vector<std::string>& texts);
    void SetText(std::size_t index, const std::string& text);
    std::string GetText(std::size_t index) const;
    void SetVisible(bool visible);
    bool IsVisible() const;
    /// Places the panes again after the frame's width changed.
    void Layout();

private:
    void* window_ = nullptr;
    std::vector<int> widths_;  ///< of every pane but the first
};

}  // namespace win32
