#pragma once

#include "framework/CFrameWnd.h"
#include "framework/CStatusBar.h"

/// Velk's main window: the framework's frame with a status bar of a message pane and the CAP,
/// NUM and SCRL indicators.
class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

public:
    CMainFrame() = default;

    bool PreCreateWindow() override;
    /// Makes the view, then the status bar and its panes; -1 when any of them fails.
    int OnCreate() override;

    CStatusBar& GetStatusBarControl() { return statusBar; }

private:
    CStatusBar statusBar;
};
