#include "win32/NativeFrame.h"

#include <windows.h>

#include <algorithm>

#include "win32/NativeIcon.h"
#include "win32/NativeScale.h"
#include "win32/NativeWindowClass.h"
#include "win32/WideText.h"

namespace win32 {
namespace {

constexpr wchar_t kClassName[] = L"VelkFrame";
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 100;

// Frames by window, so that the loop finds the accelerators of the one a key goes to.
std::vector<NativeFrame*>& Frames() {
    static std::vector<NativeFrame*> frames;
    return frames;
}

NativeFrame* shownLast = nullptr;

HMENU MakePopup(const std::vector<MenuItem>& items) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Separator) {
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        } else if (item.kind == MenuItem::Kind::Popup) {
            AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(MakePopup(item.items)),
                        Widen(item.text).c_str());
        } else {
            AppendMenuW(popup, MF_STRING | (item.grayed ? MF_GRAYED : 0), item.command,
                        Widen(item.text).c_str());
        }
    }
    return popup;
}

}  // namespace

NativeFrame::NativeFrame(FrameEvents& events, int width, int height) : events_(events) {
    RegisterOwnedWindowClass<NativeFrame>(kClassName, 0,
                                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    HWND window = CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), this);
    window_ = window;
    if (window == nullptr) {
        return;
    }
    Frames().push_back(this);
    // The size is in pixels at 96 dots per inch; a scaled screen gets a frame as large to the
    // eye, though never larger than the room the screen leaves.
    const int dpi = DotsPerInch(window);
    dpi_ = dpi;
    int outerWidth = MulDiv(width, dpi, 96);
    int outerHeight = MulDiv(height, dpi, 96);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        outerWidth = std::min<int>(outerWidth, monitor.rcWork.right - monitor.rcWork.left);
        outerHeight = std::min<int>(outerHeight, monitor.rcWork.bottom - monitor.rcWork.top);
    }
    SetWindowPos(window, nullptr, 0, 0, outerWidth, outerHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetTimer(window, kTickTimer, kTickMs, nullptr);
}

NativeFrame::~NativeFrame() {
    auto& frames = Frames();
    frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
    if (shownLast == this) {
        shownLast = nullptr;
    }
    if (window_ != nullptr) {
        HWND window = static_cast<HWND>(window_);
        window_ = nullptr;  // the procedure sends nothing more here
        DestroyWindow(window);
    }
    if (menu_ != nullptr) {
        DestroyMenu(static_cast<HMENU>(menu_));
    }
    if (accelerators_ != nullptr) {
        DestroyAcceleratorTable(static_cast<HACCEL>(accelerators_));
    }
    for (void* icon : {bigIcon_, smallIcon_}) {
        if (icon != nullptr) {
            DestroyIcon(static_cast<HICON>(icon));
        }
    }
}

void NativeFrame::SetTitle(const std::string& title) {
    SetWindowTextW(static_cast<HWND>(window_), Widen(title).c_str());
}

std::string NativeFrame::GetTitle() const {
    wchar_t text[512] = {};
    GetWindowTextW(static_cast<HWND>(window_), text, 512);
    return Narrow(text);
}

void NativeFrame::SetMenu(const std::vector<MenuItem>& menu) {
    HMENU bar = CreateMenu();
    popups_.clear();
    for (const MenuItem& top : menu) {
        HMENU popup = MakePopup(top.items);
        popups_.push_back(popup);
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), Widen(top.text).c_str());
    }
    ::SetMenu(static_cast<HWND>(window_), bar);
    if (menu_ != nullptr) {
        DestroyMenu(static_cast<HMENU>(menu_));
    }
    menu_ = bar;
    Layout();
}

void NativeFrame::FillPopup(void* popup, std::size_t index) {
    HMENU menu = static_cast<HMENU>(popup);
    while (GetMenuItemCount(menu) > 0) {
        DeleteMenu(menu, 0, MF_BYPOSITION);
    }
    for (const MenuItem& item : events_.MenuItems(index)) {
        if (item.kind == MenuItem::Kind::Separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        // Pop-ups inside pop-ups do not occur in our menus; they show as plain items.
        bool enabled = false;
        bool checked = false;
        events_.QueryCommand(item.command, enabled, checked);
        UINT flags = MF_STRING;
        flags |= item.grayed || !enabled ? MF_GRAYED : MF_ENABLED;
        flags |= checked ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuW(menu, flags, item.command, Widen(item.text).c_str());
    }
}

void NativeFrame::SetAccelerators(const std::vector<Accelerator>& accelerators) {
    std::vector<ACCEL> table;
    for (const Accelerator& accelerator : accelerators) {
        // The framework's flags are the very bits of an ACCEL.
        table.push_back(ACCEL{static_cast<BYTE>(accelerator.flags),
                              static_cast<WORD>(accelerator.key),
                              static_cast<WORD>(accelerator.command)});
    }
    if (accelerators_ != nullptr) {
        DestroyAcceleratorTable(static_cast<HACCEL>(accelerators_));
        accelerators_ = nullptr;
    }
    if (!table.empty()) {
        accelerators_ = CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
    }
}

void NativeFrame::SetIcon(const std::vector<IconImage>& images) {
    HWND window = static_cast<HWND>(window_);
    for (void** icon : {&bigIcon_, &smallIcon_}) {
        const bool big = icon == &bigIcon_;
        void* made = MakeIcon(images, GetSystemMetrics(big ? SM_CXICON : SM_CXSMICON));
        SendMessageW(window, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                     reinterpret_cast<LPARAM>(made));
        if (*icon != nullptr) {
            DestroyIcon(static_cast<HICON>(*icon));
        }
        *icon = made;
    }
}

void NativeFrame::Show(bool show) {
    HWND window = static_cast<HWND>(window_);
    if (show) {
        shownLast = this;
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    } else {
        ShowWindow(window, SW_HIDE);
    }
}

void NativeFrame::SetChildren(void* client, void* bottomBar) {
    client_ = client;
    bottomBar_ = bottomBar;
    Layout();
}

void NativeFrame::Layout() {
    RECT area{};
    GetClientRect(static_cast<HWND>(window_), &area);
    int bottom = area.bottom;
    if (bottomBar_ != nullptr) {
        HWND bar = static_cast<HWND>(bottomBar_);
        // A status bar places itself along the bottom when told of a new size.
        SendMessageW(bar, WM_SIZE, 0, 0);
        // The bar's own flag: IsWindowVisible is false for every child of a hidden frame,
        // and the view fits the frame to its world before the frame first shows.
        if ((GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE) != 0) {
            RECT barBox{};
            GetWindowRect(bar, &barBox);
            bottom -= barBox.bottom - barBox.top;
        }
    }
    if (client_ != nullptr) {
        MoveWindow(static_cast<HWND>(client_), 0, 0, area.right, std::max<int>(bottom, 0), TRUE);
    }
}

void NativeFrame::GetOuterSize(int& width, int& height) const {
    RECT box{};
    GetWindowRect(static_cast<HWND>(window_), &box);
    width = box.right - box.left;
    height = box.bottom - box.top;
}

void NativeFrame::SetOuterSize(int width, int height) {
    SetWindowPos(static_cast<HWND>(window_), nullptr, 0, 0, std::max(width, 1), std::max(height, 1),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void* NativeFrame::MainHandle() {
    return shownLast != nullptr ? shownLast->window_ : nullptr;
}

bool NativeFrame::TranslateKeys(void* message) {
    MSG* keys = static_cast<MSG*>(message);
    for (NativeFrame* frame : Frames()) {
        HWND window = static_cast<HWND>(frame->window_);
        if (frame->accelerators_ != nullptr &&
            (keys->hwnd == window || IsChild(window, keys->hwnd)) &&
            TranslateAcceleratorW(window, static_cast<HACCEL>(frame->accelerators_), keys)) {
            return true;
        }
    }
    return false;
}

std::intptr_t NativeFrame::Dispatch(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    HWND window = static_cast<HWND>(window_);
    switch (message) {
        case WM_SIZE:
            Layout();
            events_.OnResized();
            return 0;
        case WM_COMMAND:
            // Menus and accelerators; controls of ours send no commands here.
            if (lParam == 0) {
                events_.OnCommand(LOWORD(wParam));
            }
            return 0;
        case WM_INITMENUPOPUP:
            if (HIWORD(lParam) == 0) {
                auto found =
                    std::find(popups_.begin(), popups_.end(), reinterpret_cast<void*>(wParam));
                if (found != popups_.end()) {
                    FillPopup(*found, static_cast<std::size_t>(found - popups_.begin()));
                }
            }
            return 0;
        case WM_MENUSELECT: {
            const UINT flags = HIWORD(wParam);
            const bool closed = flags == 0xFFFF && lParam == 0;
            // Grey items report their command as enabled ones do; pop-ups and separators
            // show the idle message.
            const bool command = !closed && (flags & (MF_POPUP | MF_SEPARATOR)) == 0;
            events_.OnMenuSelect(command ? LOWORD(wParam) : 0);
            return 0;
        }
        case WM_EXITMENULOOP:
            events_.OnMenuSelect(0);
            return 0;
        case WM_TIMER:
            if (wParam == kTickTimer) {
                events_.OnTick();
            }
            return 0;
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            // The wheel goes to the window with the focus; the client area scrolls.
            if (client_ != nullptr) {
                return SendMessageW(static_cast<HWND>(client_), message, wParam, lParam);
            }
            break;
        case WM_SETFOCUS:
            if (client_ != nullptr) {
                SetFocus(static_cast<HWND>(client_));
            }
            return 0;
        case WM_DPICHANGED: {
            // Only a move to a screen of another scale resizes; a report of the scale the
            // frame was made for would undo the view's fit to its world.
            if (static_cast<int>(LOWORD(wParam)) == dpi_) {
                return 0;
            }
            dpi_ = LOWORD(wParam);
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            // The frame's owner destroys the window once the program ends; until then it hides.
            if (events_.OnClose()) {
                ShowWindow(window, SW_HIDE);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
