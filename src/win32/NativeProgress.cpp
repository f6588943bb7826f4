#include "win32/NativeProgress.h"

#include <windows.h>

#include <commctrl.h>

#include "win32/NativeDialogTemplate.h"
#include "win32/WideText.h"

namespace win32 {
namespace {

constexpr int kTextId = 100;
constexpr int kBarId = 101;

INT_PTR CALLBACK ProgressProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    auto* progress = reinterpret_cast<NativeProgress*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (progress != nullptr &&
        ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE)) {
        progress->OnCancel();
        return TRUE;
    }
    return FALSE;
}

}  // namespace

NativeProgress::NativeProgress(void* owner, const std::string& caption, const std::string& text)
    : owner_(owner) {
    static const bool ready = [] {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)ready;
    NativeDialogLayout layout;
    layout.caption = caption;
    layout.width = 240;
    layout.height = 76;
    using Kind = NativeDialogLayout::Kind;
    layout.controls = {
        {Kind::text, kTextId, 7, 7, 226, 26, false, text, {}},
        {Kind::progress, kBarId, 7, 36, 226, 10, false, {}, {}},
        {Kind::button, IDCANCEL, 183, 55, 50, 14, true, "Cancel", {}},
    };
    const std::vector<std::uint16_t> words = BuildDialogTemplate(layout, true);
    window_ = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(words.data()),
        static_cast<HWND>(owner), ProgressProcedure, reinterpret_cast<LPARAM>(this));
    SendDlgItemMessageW(static_cast<HWND>(window_), kBarId, PBM_SETRANGE32, 0, 1000);
    if (owner_ != nullptr) {
        ownerWasEnabled_ = EnableWindow(static_cast<HWND>(owner_), FALSE) == FALSE;
    }
    Pump();
}

NativeProgress::~NativeProgress() {
    if (owner_ != nullptr && ownerWasEnabled_) {
        EnableWindow(static_cast<HWND>(owner_), TRUE);
    }
    if (window_ != nullptr) {
        DestroyWindow(static_cast<HWND>(window_));
    }
}

void NativeProgress::SetText(const std::string& text) {
    SetDlgItemTextW(static_cast<HWND>(window_), kTextId, Widen(text).c_str());
}

void NativeProgress::SetPermille(int permille) {
    HWND bar = GetDlgItem(static_cast<HWND>(window_), kBarId);
    if (permille < 0) {
        if (!busy_) {
            busy_ = true;
            SetWindowLongW(bar, GWL_STYLE, GetWindowLongW(bar, GWL_STYLE) | PBS_MARQUEE);
            SendMessageW(bar, PBM_SETMARQUEE, TRUE, 0);
        }
        return;
    }
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(permille), 0);
}

void NativeProgress::RemoveCancel() {
    ShowWindow(GetDlgItem(static_cast<HWND>(window_), IDCANCEL), SW_HIDE);
}

bool NativeProgress::Pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Not ours: the loop that waits for it gets it back.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!IsDialogMessageW(static_cast<HWND>(window_), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return cancelled_;
}

}  // namespace win32
