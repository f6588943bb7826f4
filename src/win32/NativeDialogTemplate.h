#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Resources.h"

namespace win32 {

/// A dialog's layout in dialog units, as a dialog resource holds it.
struct NativeDialogLayout {
    enum class Kind { text, button, icon, progress };
    struct Control {
        Kind kind = Kind::text;
        int id = -1;
        int x = 0, y = 0, width = 0, height = 0;
        bool isDefault = false;  ///< of a button
        std::string text;        ///< of a text or a button
        std::vector<IconImage> icon;
    };
    std::string caption;
    std::string fontName = "MS Shell Dlg";
    int fontPoints = 8;
    int width = 0, height = 0;
    std::vector<Control> controls;
};

/// The layout as the words of an in-memory dialog template (DLGTEMPLATE and its items).
std::vector<std::uint16_t> BuildDialogTemplate(const NativeDialogLayout& layout, bool modeless);
/// Runs the dialog modally over owner; answers the id of the button that closed it, IDCANCEL
/// (2) for Escape or the close box, and -1 when it could not be shown.
int RunDialog(void* owner, const NativeDialogLayout& layout);
/// Puts the icons of the layout's icon controls into the dialog (an HWND) just made; answers
/// the icons, which the caller destroys with DestroyIcons once the dialog is gone.
std::vector<void*> SetDialogIcons(void* dialog, const NativeDialogLayout& layout);
void DestroyIcons(const std::vector<void*>& icons);

}  // namespace win32
