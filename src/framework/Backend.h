#pragma once

// Everything a backend answers for Velk: the window system, the dialogs, the settings, the
// timers and the watching of files. A backend (qt/ on Linux, win32/ on Windows, the headless
// host in tests) implements each class here; every hook is pure, so a backend that forgets one
// does not compile.
//
//   AppPlatform      the message loop, timers, and the factory of everything below
//   FrameHost        an outer window: caption, menu bar, accelerators, icon, status bar
//   StatusBarHost    the panes along the bottom of a frame
//   WindowHost       a client area that shows one framework window (CWnd)
//   UserDialogs      file dialogs, questions, messages, modal dialogs, progress
//   ProgressDialog   one progress window
//   SettingsStore    named values in sections
//   FileWatcher      changes to one file (files/FileWatcher.h; the files layer has its own)

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/FileWatcher.h"
#include "framework/Resources.h"
#include "gdi/GdiTypes.h"

class CBitmap;
class CDialog;
class CFrameWnd;
class CWnd;
struct ProgressReport;

/// Where the program keeps its settings: named values in sections, below the application's
/// key. The real program keeps them in the desktop's settings; tests keep them in memory.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    /// The value, or fallback when the entry does not exist.
    virtual std::string GetString(const std::string& section, const std::string& entry,
                                  const std::string& fallback) const = 0;
    virtual void WriteString(const std::string& section, const std::string& entry,
                             const std::string& value) = 0;
    virtual void RemoveEntry(const std::string& section, const std::string& entry) = 0;
};

/// The answer to "save changes?".
enum class SaveChoice { save, discard, cancel };

/// The answer when the file a save would write over was changed by someone else.
enum class ChangedFileChoice { overwrite, saveAs, cancel };

/// The answer to a recovery copy found at start.
enum class RecoveryChoice { restore, discard, later };

/// How a message to the user looks.
enum class MessageKind { information, warning, error };

/// A window that shows how far one long piece of work has come; it closes when destroyed.
class ProgressDialog {
public:
    virtual ~ProgressDialog() = default;
    /// Shows the report and lets the rest of the interface repaint meanwhile, though not take
    /// input. A report that is not cancellable takes the Cancel button away. Answers false once
    /// the person has asked to cancel.
    virtual bool Update(const ProgressReport& report) = 0;
};

/// Everything the framework asks of the person at the screen. The real program shows
/// dialogs; tests answer without any.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    /// The file to open; nothing when the person cancels.
    virtual std::optional<std::string> AskOpenPath(const std::string& caption) = 0;
    /// The file to save to, offering initialName (a document's full path, or the title of one
    /// that has no file yet); nothing when the person cancels.
    virtual std::optional<std::string> AskSavePath(const std::string& caption,
                                                   const std::string& initialName) = 0;
    /// Whether to save the document of that title before it is closed or replaced.
    virtual SaveChoice AskSaveChanges(const std::string& documentTitle) = 0;
    /// Shows a message and waits until it is acknowledged.
    virtual void ShowMessage(const std::string& text, MessageKind kind) = 0;
    /// Runs the dialog until it is closed; answers the button that closed it (IDOK, IDCANCEL).
    virtual int RunModal(CDialog& dialog) = 0;
    /// The file a save would write over was changed since it was read or saved; text names
    /// the file and the change. Cancel is the default, so that nothing is lost unasked.
    /// Every platform asks for itself: a silent answer would leave a save failing unexplained.
    virtual ChangedFileChoice AskChangedFile(const std::string& text) = 0;
    /// The document's file was changed by someone else while the document has changes of its
    /// own; true to read the file again and lose them. Keeping them is the default.
    virtual bool AskReloadChanged(const std::string& text) = 0;
    /// A recovery copy of unsaved work was found; text names the file and the time of the copy.
    virtual RecoveryChoice AskRecovery(const std::string& text) = 0;
    /// A modal progress window with the caption, about the work described by text (which names
    /// the file); null where progress is not shown.
    virtual std::unique_ptr<ProgressDialog> BeginProgress(const std::string& caption,
                                                          const std::string& text) = 0;
};

// Scroll bars of a window.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;

// What a size message says happened to the window.
constexpr unsigned SIZE_RESTORED = 0;
constexpr unsigned SIZE_MINIMIZED = 1;
constexpr unsigned SIZE_MAXIMIZED = 2;

// Key flags of mouse messages: the buttons held while the message was made.
constexpr unsigned MK_LBUTTON = 0x0001;
constexpr unsigned MK_RBUTTON = 0x0002;

/// What a framework window (CWnd) needs of the window system that shows it. One host stands for
/// one window; CWnd::Create binds the two and the window reaches its host through
/// CWnd::GetHost().
///
/// Messages flow the other way, as plain calls of the window's message functions, one at a
/// time on the one user-interface thread: OnPaint when part of the client area awaits painting,
/// OnSize, OnTimer, the four button messages and OnMouseMove with client coordinates, and
/// OnScrolled when a scroll bar moved. No call of this interface delivers a message re-entrantly
/// unless it says so (UpdateNow, SetParentFrameSize, SetScrollSizes).
///
/// Coordinates are client pixels: (0, 0) is the top-left pixel of the client area.
class WindowHost {
public:
    WindowHost() = default;
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;
    virtual ~WindowHost() = default;

    /// Starts showing the window (non-null) or stops (null). CWnd::Create and the window's
    /// destruction call it; after a stop the host sends the window nothing more and its timers
    /// are gone. False when the host already shows another window.
    virtual bool AttachWindow(CWnd* window) = 0;

    // Client area.
    /// The client area's width and height in pixels, 0 or more.
    virtual SIZE GetClientSize() const = 0;
    /// The client area's pixels: a bitmap of the client size that keeps what was painted into
    /// it until the window paints there again, and that the host shows unchanged. Not created
    /// while the client area is empty. The object stays the same for the host's life; a change
    /// of the client size remakes its pixels, so no surface may hold it across a size change.
    virtual CBitmap& GetClientPixels() = 0;

    // Painting.
    /// Adds the box, or the whole client area for null, to the region that awaits painting.
    /// Nothing is erased. The window gets one OnPaint later for everything invalidated by then.
    virtual void Invalidate(const RECT* box) = 0;
    /// When part of the client area awaits painting, calls the window's OnPaint before
    /// returning; otherwise does nothing.
    virtual void UpdateNow() = 0;
    /// Begins a paint: returns the box that awaits painting, within the client area (empty
    /// when nothing does), and takes it as painted.
    virtual RECT BeginPaint() = 0;
    /// Ends the paint that BeginPaint began; box is what it returned.
    virtual void EndPaint(const RECT& box) = 0;

    // Timers.
    /// Starts a timer that calls the window's OnTimer(id) every period milliseconds; a running
    /// timer with the same id is replaced. False when no timer could be made.
    virtual bool SetTimer(std::uintptr_t id, std::uint32_t periodMs) = 0;
    /// Stops the timer; false when none with that id runs.
    virtual bool KillTimer(std::uintptr_t id) = 0;

    // Scroll bars (bar is SB_HORZ or SB_VERT).
    /// The extent of the scrollable content (0 or more), the step of a page and the step of a
    /// line. A position runs from 0 to the larger of 0 and total less the client extent; when
    /// a new total or client size leaves the position outside, the host clamps it and calls
    /// OnScrolled.
    virtual void SetScrollSizes(int bar, std::int32_t total, std::int32_t page,
                                std::int32_t line) = 0;
    /// The scroll position of the bar.
    virtual std::int32_t GetScrollPos(int bar) const = 0;
    /// Moves the bar to the position, clamped to its range, without calling OnScrolled;
    /// returns the position taken.
    virtual std::int32_t SetScrollPos(int bar, std::int32_t position) = 0;

    // The frame window that holds this window.
    /// The outer size of the frame, in pixels.
    virtual SIZE GetParentFrameSize() const = 0;
    /// Resizes the frame; the client area changes by the same amounts and the window gets
    /// OnSize before this returns (a window system that resizes later sends it then). A host
    /// without a frame does nothing.
    virtual void SetParentFrameSize(SIZE size) = 0;
};

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
    virtual bool StartRepeatingTimer(std::uint32_t periodMs, std::function<void()> tick) = 0;
    /// Stops every timer StartRepeatingTimer started.
    virtual void StopRepeatingTimers() = 0;
    /// A watcher of files that calls changed on the interface thread; null where files are not
    /// watched. Every platform answers for itself: a forgotten watcher would lose other
    /// programs' changes without a word.
    virtual std::unique_ptr<FileWatcher> CreateFileWatcher(std::function<void()> changed) = 0;
    virtual void Quit(int exitCode) = 0;
};
