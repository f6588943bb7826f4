#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QShortcut>
#include <QTimer>

#include <memory>
#include <vector>

#include "framework/Backend.h"

class CFrameWnd;
class ClientArea;
class StatusBarPanes;

/// The main window of a framework frame (CFrameWnd): menu bar from the frame's menu resource,
/// one shortcut per accelerator, the status bar's panes, and the client area that hosts the
/// frame's view. Menu items and shortcuts run their commands through the frame, which routes
/// them; items whose command is disabled show grey. Closing the window asks the frame first.
class MainWindow : public QMainWindow, public FrameHost {
public:
    /// Starting size, before the view shrinks it to a smaller world; never more than the
    /// screen's available area.
    static constexpr int kInitialWidth = 900;
    static constexpr int kInitialHeight = 720;

    explicit MainWindow(CFrameWnd& frame);
    ~MainWindow() override;

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

    ClientArea* GetClientArea() const { return client_; }
    StatusBarPanes* GetStatusPanes() const { return statusPanes_.get(); }
    /// The top-level menus, in menu-bar order.
    const std::vector<QMenu*>& GetMenus() const { return menus_; }
    /// The shortcut made of each accelerator, in table order.
    const std::vector<QShortcut*>& GetShortcuts() const { return shortcuts_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    /// Shows the prompt of a grey menu item under the pointer, as of an enabled one.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Fills top-level menu index with its items as they are now, each enabled and checked as
    /// the frame's routing says.
    void RebuildMenu(std::size_t index);
    void PollLockKeys();
    /// Shrinks the window until its frame fits the screen's available area.
    void FitFrameToScreen();

    CFrameWnd& frame_;
    ClientArea* client_;  ///< owned by the window
    std::unique_ptr<StatusBarPanes> statusPanes_;
    std::vector<QMenu*> menus_;  ///< owned by the menu bar
    std::vector<QShortcut*> shortcuts_;
    std::vector<unsigned> shortcutCommands_;
    QTimer lockKeyTimer_;
};
