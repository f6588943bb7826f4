#include "win32/NativeLoop.h"

#include <windows.h>

#include <map>
#include <memory>

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

constexpr UINT kRunJob = WM_APP + 7;

// A window for messages only: posted jobs reach it in every loop, a modal dialog's included,
// where a message to the thread itself would be lost.
HWND jobWindow = nullptr;

LRESULT CALLBACK JobProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunJob) {
        std::unique_ptr<std::function<void()>> job(
            reinterpret_cast<std::function<void()>*>(lParam));
        (*job)();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
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

void MessageLoop::BindToThisThread() {
    if (jobWindow != nullptr) {
        return;
    }
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = JobProcedure;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"VelkJobs";
    RegisterClassExW(&type);
    jobWindow = CreateWindowExW(0, L"VelkJobs", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
}

bool MessageLoop::Post(std::function<void()> job) {
    auto* parcel = new std::function<void()>(std::move(job));
    if (jobWindow == nullptr ||
        !PostMessageW(jobWindow, kRunJob, 0, reinterpret_cast<LPARAM>(parcel))) {
        delete parcel;
        return false;
    }
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
