#pragma once

#include <windows.h>

namespace win32 {

/// The window procedure of a class whose every window belongs to one object of Owner, handed
/// over as CreateWindowExW's creation parameter: messages reach the owner's Dispatch once it
/// holds its handle, and the system's default handling before.
template <typename Owner>
LRESULT CALLBACK OwnedWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner == nullptr || owner->Handle() == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return owner->Dispatch(message, wParam, lParam);
}

/// Registers the class of Owner's windows the first time it is asked, and again after a
/// failure. background is null for windows that paint every pixel themselves.
template <typename Owner>
void RegisterOwnedWindowClass(const wchar_t* name, UINT style, HBRUSH background) {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.style = style;
    type.lpfnWndProc = OwnedWindowProcedure<Owner>;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    type.hbrBackground = background;
    type.lpszClassName = name;
    registered = RegisterClassExW(&type) != 0;
}

}  // namespace win32
