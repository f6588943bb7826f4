#include "win32/Win32Platform.h"

#include "framework/SystemSettingsStore.h"
#include "win32/NativeLoop.h"
#include "win32/Win32Dialogs.h"
#include "win32/Win32Frame.h"

Win32Platform::Win32Platform(UserDialogs* dialogs)
    : ownDialogs_(dialogs == nullptr ? std::make_unique<Win32Dialogs>() : nullptr),
      dialogs_(dialogs != nullptr ? dialogs : ownDialogs_.get()) {
    win32::MessageLoop::Reset();
    win32::MessageLoop::BindToThisThread();
}

Win32Platform::~Win32Platform() {
    win32::MessageLoop::StopTimers();
}

UserDialogs& Win32Platform::GetDialogs() {
    return *dialogs_;
}

std::unique_ptr<SettingsStore> Win32Platform::OpenSettings(const std::string& registryKey,
                                                           const std::string& appName) {
    // Without a key, the settings go under the application's name alone, as on Linux.
    return std::make_unique<SystemSettingsStore>(registryKey.empty() ? appName : registryKey,
                                                 appName);
}

std::unique_ptr<FrameHost> Win32Platform::CreateFrameHost(CFrameWnd& frame) {
    auto host = std::make_unique<Win32Frame>(frame);
    if (host->Handle() == nullptr) {
        return nullptr;
    }
    return host;
}

int Win32Platform::RunMessageLoop() {
    return win32::MessageLoop::Run();
}

bool Win32Platform::StartRepeatingTimer(std::uint32_t periodMs, std::function<void()> tick) {
    return win32::MessageLoop::StartTimer(periodMs, std::move(tick));
}

void Win32Platform::StopRepeatingTimers() {
    win32::MessageLoop::StopTimers();
}

std::unique_ptr<FileWatcher> Win32Platform::CreateFileWatcher(std::function<void()> changed) {
    if (!watcherFactory_) {
        return nullptr;
    }
    // A watcher hears of changes on a thread of its own; the document is told on the
    // interface thread, by a posted message, as the interface promises.
    auto onInterfaceThread = [changed = std::move(changed)] { win32::MessageLoop::Post(changed); };
    return watcherFactory_(std::move(onInterfaceThread));
}

void Win32Platform::Quit(int exitCode) {
    quit_ = true;
    win32::MessageLoop::Quit(exitCode);
}
