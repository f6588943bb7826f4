#include "win32/NativeStatusBar.h"

#include <windows.h>

#include <commctrl.h>

#include "win32/WideText.h"

namespace win32 {

NativeStatusBar::NativeStatusBar(void* frame) {
    static const bool ready = [] {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)ready;
    window_ =
        CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | SBARS_SIZEGRIP, 0, 0, 0, 0,
                        static_cast<HWND>(frame), nullptr, GetModuleHandleW(nullptr), nullptr);
}

NativeStatusBar::~NativeStatusBar() {
    if (window_ != nullptr) {
        DestroyWindow(static_cast<HWND>(window_));
    }
}

void NativeStatusBar::SetPanes(const std::vector<std::string>& texts) {
    HWND bar = static_cast<HWND>(window_);
    widths_.clear();
    HDC dc = GetDC(bar);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(bar, WM_GETFONT, 0, 0)));
    for (std::size_t i = 1; i < texts.size(); ++i) {
        const std::wstring text = Widen(texts[i]);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        widths_.push_back(extent.cx + 2 * GetSystemMetrics(SM_CXEDGE) + 12);
    }
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
    Layout();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SetText(i, texts[i]);
    }
}

void NativeStatusBar::Layout() {
    HWND bar = static_cast<HWND>(window_);
    SendMessageW(bar, WM_SIZE, 0, 0);
    RECT area{};
    GetClientRect(bar, &area);
    // Right edges, from the right: the last pane leaves room for the size grip.
    std::vector<int> edges(widths_.size() + 1);
    int right = area.right - GetSystemMetrics(SM_CXVSCROLL);
    for (std::size_t i = widths_.size(); i > 0; --i) {
        edges[i] = right;
        right -= widths_[i - 1];
    }
    edges[0] = right;
    if (!widths_.empty()) {
        edges.back() = -1;  // the last pane runs to the end
    } else {
        edges[0] = -1;
    }
    SendMessageW(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void NativeStatusBar::SetText(std::size_t index, const std::string& text) {
    SendMessageW(static_cast<HWND>(window_), SB_SETTEXTW, index,
                 reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

std::string NativeStatusBar::GetText(std::size_t index) const {
    HWND bar = static_cast<HWND>(window_);
    const auto length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, index, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return Narrow(text);
}

void NativeStatusBar::SetVisible(bool visible) {
    ShowWindow(static_cast<HWND>(window_), visible ? SW_SHOW : SW_HIDE);
}

bool NativeStatusBar::IsVisible() const {
    return (GetWindowLongW(static_cast<HWND>(window_), GWL_STYLE) & WS_VISIBLE) != 0;
}

}  // namespace win32
