#include "NativeDriver.h"

#include <windows.h>

#include <commctrl.h>

#include "win32/NativeFrame.h"
#include "win32/WideText.h"

namespace win32_test {
namespace {

HWND Hwnd(void* window) {
    return static_cast<HWND>(window);
}

HMENU Popup(void* frame, int index) {
    return GetSubMenu(GetMenu(Hwnd(frame)), index);
}

std::string ItemText(HMENU menu, int position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return win32::Narrow(text);
}

std::function<void(void*)> pendingInspection;

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(found) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    if (found == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    auto inspect = std::move(pendingInspection);
    pendingInspection = nullptr;
    if (inspect) {
        inspect(found);
    }
}

}  // namespace

std::vector<std::string> MenuBarTitles(void* frame) {
    HMENU bar = GetMenu(Hwnd(frame));
    std::vector<std::string> titles;
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        titles.push_back(ItemText(bar, i));
    }
    return titles;
}

std::vector<MenuEntry> OpenMenu(void* frame, int index) {
    HMENU popup = Popup(frame, index);
    SendMessageW(Hwnd(frame), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                 MAKELPARAM(index, FALSE));
    std::vector<MenuEntry> entries;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        const UINT state = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
        MenuEntry entry;
        if ((state & MF_SEPARATOR) != 0) {
            entry.text = "-";
        } else {
            entry.text = ItemText(popup, i);
            entry.enabled = (state & (MF_GRAYED | MF_DISABLED)) == 0;
            entry.checked = (state & MF_CHECKED) != 0;
            entry.command = GetMenuItemID(popup, i);
        }
        entries.push_back(entry);
    }
    return entries;
}

void HoverMenuItem(void* frame, int index, int position) {
    HMENU popup = Popup(frame, index);
    const UINT state = GetMenuState(popup, static_cast<UINT>(position), MF_BYPOSITION);
    const UINT flags = (state & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR)) | MF_HILITE;
    SendMessageW(Hwnd(frame), WM_MENUSELECT, MAKEWPARAM(GetMenuItemID(popup, position), flags),
                 reinterpret_cast<LPARAM>(popup));
}

void CloseMenu(void* frame) {
    SendMessageW(Hwnd(frame), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    SendMessageW(Hwnd(frame), WM_EXITMENULOOP, FALSE, 0);
}

void ChooseMenuItem(void* frame, int index, int position) {
    const UINT id = GetMenuItemID(Popup(frame, index), position);
    SendMessageW(Hwnd(frame), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool PressKey(void* window, unsigned virtualKey, bool control, bool shift, bool alt) {
    BYTE before[256] = {};
    GetKeyboardState(before);
    BYTE keys[256];
    std::copy(std::begin(before), std::end(before), keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG message{};
    message.hwnd = Hwnd(window);
    message.message = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    message.wParam = virtualKey;
    message.lParam = 1 | (alt ? (1 << 29) : 0);
    const bool translated = win32::NativeFrame::TranslateKeys(&message);
    if (!translated) {
        DispatchMessageW(&message);
    }
    SetKeyboardState(before);
    return translated;
}

void SetLockKeys(bool caps, bool num, bool scroll) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CAPITAL] = caps ? 1 : 0;
    keys[VK_NUMLOCK] = num ? 1 : 0;
    keys[VK_SCROLL] = scroll ? 1 : 0;
    SetKeyboardState(keys);
}

void SendMouse(void* client, Mouse what, int x, int y, bool leftHeld) {
    UINT message = WM_MOUSEMOVE;
    if (what == Mouse::LeftDown) {
        message = WM_LBUTTONDOWN;
    } else if (what == Mouse::LeftUp) {
        message = WM_LBUTTONUP;
    }
    SendMessageW(Hwnd(client), message, leftHeld ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

void SendWheel(void* window, int delta, bool shift) {
    SendMessageW(Hwnd(window), WM_MOUSEWHEEL,
                 MAKEWPARAM(shift ? MK_SHIFT : 0, static_cast<WORD>(static_cast<short>(delta))),
                 MAKELPARAM(100, 100));
}

void ScrollPageOn(void* client, bool vertical) {
    SendMessageW(Hwnd(client), vertical ? WM_VSCROLL : WM_HSCROLL, SB_PAGEDOWN, 0);
}

BarState GetBar(void* client, bool vertical) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(Hwnd(client), vertical ? SB_VERT : SB_HORZ, &info);
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    GetScrollBarInfo(Hwnd(client), vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &bar);
    return BarState{info.nMax - static_cast<int>(info.nPage) + 1, static_cast<int>(info.nPage),
                    info.nPos, (bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) == 0};
}

void GetClientSize(void* window, int& width, int& height) {
    RECT area{};
    GetClientRect(Hwnd(window), &area);
    width = area.right;
    height = area.bottom;
}

bool IsShown(void* window) {
    return IsWindowVisible(Hwnd(window)) != FALSE;
}

std::string WindowText(void* window) {
    wchar_t text[512] = {};
    GetWindowTextW(Hwnd(window), text, 512);
    return win32::Narrow(text);
}

void CloseWindow(void* window) {
    SendMessageW(Hwnd(window), WM_CLOSE, 0, 0);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!done()) {
        if (GetTickCount64() >= end) {
            return false;
        }
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void OnNextDialog(std::function<void(void* dialog)> inspect) {
    pendingInspection = std::move(inspect);
    SetTimer(nullptr, 0, 50, LookForDialog);
}

DialogContents ReadDialog(void* dialog) {
    DialogContents contents;
    contents.caption = WindowText(dialog);
    for (HWND child = GetWindow(Hwnd(dialog), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        const std::wstring type = name;
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(type.c_str(), L"Button") == 0) {
            contents.buttons.push_back(WindowText(child));
            // The style, not DM_GETDEFID: Wine's message boxes answer IDOK to that.
            if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                contents.defaultButton = GetDlgCtrlID(child);
            }
        } else if (_wcsicmp(type.c_str(), L"Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                contents.iconShown =
                    contents.iconShown || SendMessageW(child, STM_GETICON, 0, 0) != 0;
            } else {
                contents.texts.push_back(WindowText(child));
            }
        }
    }
    return contents;
}

void ClickButton(void* dialog, int id) {
    SendMessageW(Hwnd(dialog), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Hwnd(dialog), id)));
}

bool MouseCaptured() {
    return GetCapture() != nullptr;
}

FileVersion ReadFileVersion(const std::string& path, const std::vector<std::string>& keys) {
    FileVersion version;
    const std::wstring file = win32::Widen(path);
    std::vector<char> block(GetFileVersionInfoSizeW(file.c_str(), nullptr));
    if (block.empty() ||
        !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
        return version;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size)) {
        version.numbers[0] = HIWORD(fixed->dwFileVersionMS);
        version.numbers[1] = LOWORD(fixed->dwFileVersionMS);
        version.numbers[2] = HIWORD(fixed->dwFileVersionLS);
        version.numbers[3] = LOWORD(fixed->dwFileVersionLS);
    }
    for (const std::string& key : keys) {
        wchar_t* value = nullptr;
        const std::wstring name = L"\\StringFileInfo\\040904B0\\" + win32::Widen(key);
        std::string text;
        if (VerQueryValueW(block.data(), name.c_str(), reinterpret_cast<void**>(&value), &size) &&
            value != nullptr) {
            text = win32::Narrow(value);
        }
        version.strings.emplace_back(key, text);
    }
    return version;
}

}  // namespace win32_test
