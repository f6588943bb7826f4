#include "win32/Win32StatusBar.h"

#include "framework/AfxIds.h"
#include "win32/NativeKeys.h"

Win32StatusBar::Win32StatusBar(void* frame, std::function<void()> relayout)
    : native_(frame), relayout_(std::move(relayout)) {}

void Win32StatusBar::SetPanes(const std::vector<unsigned>& ids,
                              const std::vector<std::string>& texts) {
    ids_ = ids;
    texts_ = texts;
    lit_.assign(ids.size(), true);
    native_.SetPanes(texts);
    ShowLockKeys();
}

void Win32StatusBar::SetPaneText(std::size_t index, const std::string& text) {
    if (index >= texts_.size()) {
        return;
    }
    texts_[index] = text;
    if (lit_[index]) {
        native_.SetText(index, text);
    }
}

void Win32StatusBar::SetVisible(bool visible) {
    native_.SetVisible(visible);
    relayout_();
}

void Win32StatusBar::ShowLockKeys() {
    const win32::LockKeys keys = win32::QueryLockKeys();
    for (std::size_t i = 0; i < ids_.size(); ++i) {
        bool on = true;
        switch (ids_[i]) {
            case afx::ID_INDICATOR_CAPS:
                on = keys.caps;
                break;
            case afx::ID_INDICATOR_NUM:
                on = keys.num;
                break;
            case afx::ID_INDICATOR_SCRL:
                on = keys.scroll;
                break;
            default:
                continue;
        }
        if (on != lit_[i]) {
            lit_[i] = on;
            native_.SetText(i, on ? texts_[i] : std::string());
        }
    }
}
