#include "win32/NativeFileDialog.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "win32/WideText.h"

namespace win32 {
namespace {

// Room for a long path.
constexpr DWORD kPathRoom = 32768;

std::optional<std::string> Ask(void* owner, const std::string& caption,
                               const std::string& initialName, bool save) {
    std::vector<wchar_t> path(kPathRoom, L'\0');
    const std::wstring initial = Widen(initialName);
    if (initial.size() < kPathRoom) {
        std::copy(initial.begin(), initial.end(), path.begin());
    }
    const std::wstring title = Widen(caption);
    // No filter and no default extension, as on Linux: every file is offered, and the name
    // typed is the name used.
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = static_cast<HWND>(owner);
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathRoom;
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) {
        return std::nullopt;
    }
    return Narrow(path.data());
}

}  // namespace

std::optional<std::string> AskFileToOpen(void* owner, const std::string& caption) {
    return Ask(owner, caption, {}, false);
}

std::optional<std::string> AskFileToSave(void* owner, const std::string& caption,
                                         const std::string& initialName) {
    return Ask(owner, caption, initialName, true);
}

}  // namespace win32
