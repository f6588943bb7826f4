#include "win32/NativeLoop.h"

#include <windows.h>

#include <map>

#include "win32/NativeFrame.h"

namespace win32 {
namespace {

std::map<UINT_PTR, std::function<void()>>& Timers() {
    static std::map<UINT_PTR, std::function<void()>> timers;
    return timers;
}

void CALLBACK OnThreadTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Timers().find(id);
    if (found != Timers().end()) {
        // A copy: the tick may stop the timers and so destroy the function it runs.
        std::function<void()> tick = found->second;
        tick();
    }
}

bool quitAsked = false;
int quitCode = 0;
bool running = false;

}  // namespace

int MessageLoop::Run() {
    if (quitAsked) {
        return quitCode;
    }
    running = true;
    MSG message{};
    int result = 0;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (result == -1) {
            break;
        }
        if (NativeFrame::TranslateKeys(&message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    running = false;
    return result == -1 ? 1 : static_cast<int>(message.wParam);
}

void MessageLoop::Quit(int exitCode) {
    quitAsked = true;
    quitCode = exitCode;
    // Only a running loop is told: a quit message left in the queue would end the first modal
    // dialog's loop instead.
    if (running) {
        PostQuitMessage(exitCode);
    }
}

bool MessageLoop::StartTimer(std::uint32_t periodMs, std::function<void()> tick) {
    const UINT_PTR id = ::SetTimer(nullptr, 0, periodMs, OnThreadTimer);
    if (id == 0) {
        return false;
    }
    Timers()[id] = std::move(tick);
    return true;
}

void MessageLoop::Reset() {
    quitAsked = false;
    quitCode = 0;
}

void MessageLoop::StopTimers() {
    for (const auto& entry : Timers()) {
        ::KillTimer(nullptr, entry.first);
    }
    Timers().clear();
}

}  // namespace win32
