#include "win32/Win32Platform.h"

#include <memory>
#include <string>

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

namespace {

/// Hands a system watcher's notices to the interface thread. A notice still on its way when the
/// document's watch is gone finds its target expired and does nothing: the posted message may
/// arrive long after the watcher's thread has stopped.
class PostingWatcher : public FileWatcher {
public:
    PostingWatcher(const Win32Platform::WatcherFactory& factory, std::function<void()> changed)
        : changed_(std::make_shared<std::function<void()>>(std::move(changed))) {
        std::weak_ptr<std::function<void()>> target = changed_;
        watcher_ = factory([target] {
            win32::MessageLoop::Post([target] {
                if (const auto changed = target.lock()) {
                    (*changed)();
                }
            });
        });
    }
    void Watch(const std::string& path) override { watcher_->Watch(path); }
    bool Watching() const { return watcher_ != nullptr; }

private:
    std::shared_ptr<std::function<void()>> changed_;
    std::unique_ptr<FileWatcher> watcher_;  // stopped first, before changed_ goes
};

}  // namespace

std::unique_ptr<FileWatcher> Win32Platform::CreateFileWatcher(std::function<void()> changed) {
    if (!watcherFactory_) {
        return nullptr;
    }
    auto watcher = std::make_unique<PostingWatcher>(watcherFactory_, std::move(changed));
    if (!watcher->Watching()) {
        return nullptr;
    }
    return watcher;
}

void Win32Platform::Quit(int exitCode) {
    quit_ = true;
    win32::MessageLoop::Quit(exitCode);
}
