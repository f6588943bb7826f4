#include "qt/QtPlatform.h"

#include <QApplication>

#include "qt/MainWindow.h"
#include "qt/QtDialogs.h"
#include "qt/QtFileWatcher.h"
#include "qt/QtSettingsStore.h"

QtPlatform::QtPlatform(UserDialogs* dialogs)
    : ownDialogs_(dialogs == nullptr ? std::make_unique<QtDialogs>() : nullptr),
      dialogs_(dialogs != nullptr ? dialogs : ownDialogs_.get()) {}

QtPlatform::~QtPlatform() = default;

UserDialogs& QtPlatform::GetDialogs() {
    return *dialogs_;
}

std::unique_ptr<SettingsStore> QtPlatform::OpenSettings(const std::string& registryKey,
                                                        const std::string& appName) {
    // Without a key, as without a registry key elsewhere, the settings go under the name alone.
    return std::make_unique<QtSettingsStore>(registryKey.empty() ? appName : registryKey, appName);
}

std::unique_ptr<FrameHost> QtPlatform::CreateFrameHost(CFrameWnd& frame) {
    return std::make_unique<MainWindow>(frame);
}

int QtPlatform::RunMessageLoop() {
    if (quit_) {
        return exitCode_;
    }
    running_ = true;
    int exitCode = QApplication::exec();
    running_ = false;
    return exitCode;
}

bool QtPlatform::StartRepeatingTimer(std::uint32_t periodMs, std::function<void()> tick) {
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, std::move(tick));
    timer->start(static_cast<int>(periodMs));
    timers_.push_back(std::move(timer));
    return true;
}

std::unique_ptr<FileWatcher> QtPlatform::CreateFileWatcher(std::function<void()> changed) {
    return std::make_unique<QtFileWatcher>(std::move(changed));
}

void QtPlatform::Quit(int exitCode) {
    quit_ = true;
    exitCode_ = exitCode;
    // Only a running loop is told: QApplication::exit without one would make every later
    // event loop, a modal dialog's included, return at once.
    if (running_) {
        QApplication::exit(exitCode);
    }
}
