#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/DocumentWatch.h"
#include "framework/Resources.h"

class CFrameWnd;
class SettingsStore;
class UserDialogs;
class WindowHost;

/// What a status bar needs of the window system: a row of panes along the bottom of its frame,
/// the first a stretching message pane, the others sized to their texts.
class StatusBarHost {
public:
    virtual ~StatusBarHost() = default;
    /// Makes one pane per id with the text, replacing any panes there were.
    virtual void SetPanes(const std::vector<unsigned>& ids,
                          const std::vector<std::string>& texts) = 0;
    virtual void SetPaneText(std::size_t index, const std::string& text) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
};

/// What a frame window (CFrameWnd) needs of the window system: an outer window with a caption,
/// a menu bar, keyboard accelerators, an icon, an optional status bar and a client area that a
/// view fills. The host reports back by calling the frame's ExecuteCommand, QueryCommand,
/// OnMenuSelect and OnClose.
class FrameHost {
public:
    virtual ~FrameHost() = default;

    /// The host of the client area, in which the frame's view is created.
    virtual WindowHost* GetClientHost() = 0;
    /// The caption: "documentTitle - appTitle", or appTitle alone when documentTitle is empty;
    /// modified adds the window system's marker of unsaved changes to the document's title.
    virtual void SetTitle(const std::string& documentTitle, const std::string& appTitle,
                          bool modified) = 0;
    virtual void SetMenu(const std::vector<MenuItem>& menu) = 0;
    virtual void SetAccelerators(const std::vector<Accelerator>& accelerators) = 0;
    /// The images of the frame's icon, largest first; empty for the window system's default.
    virtual void SetIcon(const std::vector<IconImage>& images) = 0;
    /// Makes the frame's status bar; null when it cannot. The frame host owns it.
    virtual StatusBarHost* CreateStatusBar() = 0;
    /// SW_SHOW or SW_HIDE.
    virtual void Show(int command) = 0;
    /// Brings the shown state of menu items and accelerators up to date with QueryCommand.
    virtual void RefreshCommands() = 0;
};

/// The window system, dialogs and settings under an application: what CWinApp runs on.
class AppPlatform {
public:
    virtual ~AppPlatform() = default;

    virtual UserDialogs& GetDialogs() = 0;
    /// The settings of the application appName below registryKey (empty when no key was set).
    virtual std::unique_ptr<SettingsStore> OpenSettings(const std::string& registryKey,
                                                        const std::string& appName) = 0;
    /// A new outer window for the frame; null when none can be made.
    virtual std::unique_ptr<FrameHost> CreateFrameHost(CFrameWnd& frame) = 0;
    /// Runs until Quit; answers Quit's exit code.
    virtual int RunMessageLoop() = 0;
    /// Calls tick every periodMs milliseconds on the interface thread while the message loop
    /// runs. False on platforms without a clock of their own, which never call it.
    virtual bool StartRepeatingTimer(std::uint32_t /*periodMs*/, std::function<void()> /*tick*/) {
        return false;
    }
    /// Stops every timer StartRepeatingTimer started.
    virtual void StopRepeatingTimers() {}
    /// A watcher of files that calls changed on the interface thread; null where files are not
    /// watched. Every platform answers for itself: a forgotten watcher would lose other
    /// programs' changes without a word.
    virtual std::unique_ptr<FileWatcher> CreateFileWatcher(std::function<void()> changed) = 0;
    virtual void Quit(int exitCode) = 0;
};
