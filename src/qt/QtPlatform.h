#pragma once

#include <QTimer>

#include <memory>
#include <vector>

#include "framework/Backend.h"

class QtDialogs;

/// The framework's platform on Qt Widgets: main windows, QSettings, the message loop of the
/// running QApplication, and dialogs (Qt's own, or others that tests give).
class QtPlatform : public AppPlatform {
public:
    /// With null dialogs, Qt's real dialogs are used; otherwise the given ones, which must
    /// outlive the platform.
    explicit QtPlatform(UserDialogs* dialogs = nullptr);
    ~QtPlatform() override;

    UserDialogs& GetDialogs() override;
    std::unique_ptr<SettingsStore> OpenSettings(const std::string& registryKey,
                                                const std::string& appName) override;
    std::unique_ptr<FrameHost> CreateFrameHost(CFrameWnd& frame) override;
    int RunMessageLoop() override;
    void Quit(int exitCode) override;
    bool StartRepeatingTimer(std::uint32_t periodMs, std::function<void()> tick) override;
    void StopRepeatingTimers() override { timers_.clear(); }
    std::unique_ptr<FileWatcher> CreateFileWatcher(std::function<void()> changed) override;

    /// Whether Quit was called since the platform was made.
    bool HasQuit() const { return quit_; }

private:
    std::vector<std::unique_ptr<QTimer>> timers_;
    std::unique_ptr<QtDialogs> ownDialogs_;
    UserDialogs* dialogs_;
    bool quit_ = false;
    bool running_ = false;
    int exitCode_ = 0;
};
