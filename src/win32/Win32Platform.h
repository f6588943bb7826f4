#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/Backend.h"

class Win32Dialogs;

/// The framework's platform on the Windows API: main frames, the registry's settings, the
/// message loop and its timers, and dialogs (Windows' own, or others that tests give).
class Win32Platform : public AppPlatform {
public:
    /// With null dialogs, Windows' dialogs are used; otherwise the given ones, which must
    /// outlive the platform.
    explicit Win32Platform(UserDialogs* dialogs = nullptr);
    ~Win32Platform() override;

    UserDialogs& GetDialogs() override;
    std::unique_ptr<SettingsStore> OpenSettings(const std::string& registryKey,
                                                const std::string& appName) override;
    std::unique_ptr<FrameHost> CreateFrameHost(CFrameWnd& frame) override;
    int RunMessageLoop() override;
    bool StartRepeatingTimer(std::uint32_t periodMs, std::function<void()> tick) override;
    void StopRepeatingTimers() override;
    std::unique_ptr<FileWatcher> CreateFileWatcher(std::function<void()> changed) override;
    void Quit(int exitCode) override;

    /// Whether Quit was called since the platform was made.
    bool HasQuit() const { return quit_; }
    /// Where a watcher of files comes from; until one is given, files are not watched. The
    /// watcher may call what it is given from any thread: the platform passes the call on to
    /// the interface thread.
    using WatcherFactory = std::function<std::unique_ptr<FileWatcher>(std::function<void()>)>;
    void SetWatcherFactory(WatcherFactory factory) { watcherFactory_ = std::move(factory); }

private:
    std::unique_ptr<Win32Dialogs> ownDialogs_;
    UserDialogs* dialogs_;
    WatcherFactory watcherFactory_;
    bool quit_ = false;
};
