#pragma once

#include <string>
#include <vector>

class CFrameWnd;
class StatusBarHost;

/// The bar along the bottom of a frame: a message pane and indicator panes, each pane named
/// by an id whose string is its text.
class CStatusBar {
public:
    CStatusBar() = default;
    CStatusBar(const CStatusBar&) = delete;
    CStatusBar& operator=(const CStatusBar&) = delete;
    /// Leaves its frame, which then has no status bar.
    ~CStatusBar();

    /// Makes the bar on the frame, with style (WS_VISIBLE shows it) and child id. False when
    /// the frame has no window or the window system cannot make one.
    bool Create(CFrameWnd* parent, unsigned long style, unsigned id);
    /// One pane per id: ID_SEPARATOR is the message pane, the others show the string of their
    /// id. False before Create or when an id other than ID_SEPARATOR has no string.
    bool SetIndicators(const unsigned* ids, int count);

    std::size_t GetCount() const { return ids_.size(); }
    unsigned GetItemId(std::size_t index) const { return ids_.at(index); }
    const std::string& GetPaneText(std::size_t index) const { return texts_.at(index); }
    bool SetPaneText(std::size_t index, const std::string& text);

    bool IsVisible() const;
    void SetVisible(bool visible);
    unsigned GetDlgCtrlID() const { return id_; }

private:
    CFrameWnd* frame_ = nullptr;
    StatusBarHost* host_ = nullptr;
    unsigned id_ = 0;
    std::vector<unsigned> ids_;
    std::vector<std::string> texts_;
};
