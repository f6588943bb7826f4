#pragma once

#include <QLabel>
#include <QStatusBar>

#include <functional>
#include <string>
#include <vector>

#include "framework/Backend.h"
#include "qt/LockKeys.h"

/// The status bar's panes as plain widgets of a QStatusBar: the message pane stretches, the
/// indicator panes are sunken boxes whose text is dark while their lock key is on and grey
/// otherwise. Being ordinary widgets, the panes stay shown whatever else uses the bar.
class StatusBarPanes : public StatusBarHost {
public:
    /// Panes on bar; relayout is called when the panes change the bar's height.
    StatusBarPanes(QStatusBar* bar, std::function<void()> relayout)
        : bar_(bar), relayout_(std::move(relayout)) {}

    void SetPanes(const std::vector<unsigned>& ids, const std::vector<std::string>& texts) override;
    void SetPaneText(std::size_t index, const std::string& text) override;
    void SetVisible(bool visible) override;
    bool IsVisible() const override { return !bar_->isHidden(); }

    /// Lights the CAP, NUM and SCRL panes by the lock keys' state.
    void ShowLockKeys(const LockKeyState& state);

    QStatusBar* GetBar() const { return bar_; }
    /// The pane's label; null past the last pane.
    QLabel* GetPane(std::size_t index) const {
        return index < panes_.size() ? panes_[index] : nullptr;
    }

private:
    QStatusBar* bar_;
    std::function<void()> relayout_;
    std::vector<unsigned> ids_;
    std::vector<QLabel*> panes_;  ///< owned by the bar
};
