#include "win32/NativeMessageBox.h"

#include <windows.h>

#include <algorithm>

#include "win32/NativeDialogTemplate.h"
#include "win32/WideText.h"

namespace win32 {

void ShowMessageBox(void* owner, const std::string& title, const std::string& text, BoxIcon icon) {
    UINT style = MB_OK;
    switch (icon) {
        case BoxIcon::information:
            style |= MB_ICONINFORMATION;
            break;
        case BoxIcon::warning:
            style |= MB_ICONWARNING;
            break;
        case BoxIcon::error:
            style |= MB_ICONERROR;
            break;
    }
    MessageBoxW(static_cast<HWND>(owner), Widen(text).c_str(), Widen(title).c_str(), style);
}

int AskYesNoCancel(void* owner, const std::string& title, const std::string& text) {
    switch (MessageBoxW(static_cast<HWND>(owner), Widen(text).c_str(), Widen(title).c_str(),
                        MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON1)) {
        case IDYES:
            return 0;
        case IDNO:
            return 1;
        default:
            return 2;
    }
}

int AskWithButtons(void* owner, const std::string& title, const std::string& text,
                   const std::vector<std::string>& buttons, int defaultIndex, int escapeIndex) {
    // A dialog of our own: a message box cannot name its buttons. Dialog units: the text
    // across the top, the buttons in a row below, right-aligned.
    constexpr int kFirstButton = 100;
    constexpr int kMargin = 7;
    constexpr int kButtonWidth = 60;
    constexpr int kButtonHeight = 14;
    constexpr int kCharsPerLine = 60;
    int lines = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines += static_cast<int>((end - start) / kCharsPerLine) + 1;
        start = end + 1;
    }
    const int textHeight = lines * 9;
    const int count = static_cast<int>(buttons.size());
    const int width =
        std::max(kCharsPerLine * 4 + 2 * kMargin, count * (kButtonWidth + 4) + 2 * kMargin);
    NativeDialogLayout layout;
    layout.caption = title;
    layout.width = width;
    layout.height = kMargin + textHeight + kMargin + kButtonHeight + kMargin;
    layout.controls.push_back({NativeDialogLayout::Kind::text,
                               -1,
                               kMargin,
                               kMargin,
                               width - 2 * kMargin,
                               textHeight,
                               false,
                               text,
                               {}});
    int x = width - kMargin - count * (kButtonWidth + 4) + 4;
    for (int i = 0; i < count; ++i) {
        layout.controls.push_back({NativeDialogLayout::Kind::button,
                                   kFirstButton + i,
                                   x,
                                   kMargin + textHeight + kMargin,
                                   kButtonWidth,
                                   kButtonHeight,
                                   i == defaultIndex,
                                   buttons[static_cast<std::size_t>(i)],
                                   {}});
        x += kButtonWidth + 4;
    }
    const int chosen = RunDialog(owner, layout) - kFirstButton;
    return chosen >= 0 && chosen < count ? chosen : escapeIndex;
}

}  // namespace win32
