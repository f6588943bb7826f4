#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Backend.h"
#include "framework/CCmdTarget.h"
#include "framework/CWnd.h"
#include "framework/Resources.h"

struct CCreateContext;
class CDocument;
class CStatusBar;
class CView;
class CWinApp;

/// The main window: caption, menu bar, accelerators, icon, status bar and the one view that
/// fills its client area. It routes commands to its view, the view's document, itself and the
/// application, in that order; a command that none of them handles is disabled. It handles
/// View Status Bar itself.
///
/// A frame belongs to one application, bound when it is loaded: its resources, platform,
/// recent files and commands come from there (GetApp), never from whichever application is
/// current later.
class CFrameWnd : public CWnd, public CCmdTarget {
public:
    CFrameWnd();
    /// Destroys the view, then the window.
    ~CFrameWnd() override;

    /// Binds the frame to the application of the context's template (the current application,
    /// AfxGetApp, when there is no template) and makes the outer window through its platform
    /// with the menu, accelerators, icon and caption of resource id, then sends OnCreate with
    /// the context. False, with nothing left made, when there is no application, the window
    /// cannot be made or OnCreate returns -1.
    virtual bool LoadFrame(unsigned resourceId, CCreateContext* context);
    /// Lets the frame adjust how it is made; the base accepts.
    virtual bool PreCreateWindow();
    /// Makes the view of the context in the client area. -1 when that fails.
    int OnCreate() override;

    /// The application the frame was loaded for; null before LoadFrame.
    CWinApp* GetApp() const { return app_; }
    FrameHost* GetFrameHost() const { return frameHost_.get(); }
    CView* GetActiveView() const { return view_.get(); }
    CDocument* GetActiveDocument() const;
    /// The status bar made on this frame; null when there is none.
    CStatusBar* GetStatusBar() const { return statusBar_; }
    void SetStatusBar(CStatusBar* bar) { statusBar_ = bar; }

    /// The view's first look at its document (OnInitialUpdate), then the caption, then the
    /// frame is shown when makeVisible is true.
    void InitialUpdateFrame(CDocument* document, bool makeVisible);
    /// Sets the caption: "document title - application title", marked while modified.
    void OnUpdateFrameTitle();
    void ShowWindow(int command);

    // Calls from the window system.
    /// Runs the command if it is enabled; false when it is not, or when no one handles it.
    bool ExecuteCommand(unsigned id);
    /// The state of the command's menu item or key, as routed.
    CCmdUI QueryCommand(unsigned id);
    bool OnCmdMsg(unsigned id, CCmdUI* ui) override;
    /// The items of top-level menu index as they are now: the recent-file placeholder is
    /// replaced by the recent files when there are any.
    std::vector<MenuItem> GetMenuItems(std::size_t index) const;
    const std::vector<MenuItem>& GetMenu() const { return menu_; }
    const std::vector<Accelerator>& GetAccelerators() const { return accelerators_; }
    /// A menu item is highlighted: the message pane shows the command's prompt. id 0 (a
    /// pop-up, a separator or no item) shows the idle message.
    void OnMenuSelect(unsigned id);
    /// The message pane shows text.
    void SetMessageText(const std::string& text);
    /// The close box or Exit: asks to save modified documents, and when allowed ends the
    /// application's message loop. False when the person cancelled.
    virtual bool OnClose();

private:
    void OnViewStatusBar();

    CWinApp* app_ = nullptr;
    CCreateContext* createContext_ = nullptr;  ///< during LoadFrame only
    std::unique_ptr<FrameHost> frameHost_;
    std::vector<MenuItem> menu_;
    std::vector<Accelerator> accelerators_;
    std::string appTitle_;
    CStatusBar* statusBar_ = nullptr;
    std::unique_ptr<CView> view_;
};
