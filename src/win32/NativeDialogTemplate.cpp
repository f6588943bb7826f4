#include "win32/NativeDialogTemplate.h"

#include <windows.h>

#include <commctrl.h>

#include "win32/NativeIcon.h"
#include "win32/WideText.h"

namespace win32 {
namespace {

class TemplateWriter {
public:
    void Word(std::uint16_t value) { words_.push_back(value); }
    void Double(DWORD value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Text(const std::string& text) {
        for (wchar_t unit : Widen(text)) {
            Word(static_cast<std::uint16_t>(unit));
        }
        Word(0);
    }
    /// Items start on a 32-bit boundary.
    void Align() {
        if (words_.size() % 2 != 0) {
            Word(0);
        }
    }
    std::vector<std::uint16_t> Take() { return std::move(words_); }

private:
    std::vector<std::uint16_t> words_;
};

struct RunContext {
    const NativeDialogLayout* layout;
    std::vector<void*> icons;
};

INT_PTR CALLBACK ModalProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* context = reinterpret_cast<RunContext*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            context->icons = SetDialogIcons(dialog, *context->layout);
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

std::vector<std::uint16_t> BuildDialogTemplate(const NativeDialogLayout& layout, bool modeless) {
    TemplateWriter out;
    DWORD style = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    if (modeless) {
        style |= WS_VISIBLE;
    }
    out.Double(style);
    out.Double(0);  // extended style
    out.Word(static_cast<std::uint16_t>(layout.controls.size()));
    for (int value : {0, 0, layout.width, layout.height}) {
        out.Word(static_cast<std::uint16_t>(value));
    }
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(layout.caption);
    out.Word(static_cast<std::uint16_t>(layout.fontPoints));
    out.Text(layout.fontName);
    for (const NativeDialogLayout::Control& control : layout.controls) {
        out.Align();
        DWORD controlStyle = WS_CHILD | WS_VISIBLE;
        std::uint16_t atom = 0;
        const char* className = nullptr;
        switch (control.kind) {
            case NativeDialogLayout::Kind::text:
                controlStyle |= SS_LEFT | SS_NOPREFIX;
                atom = 0x0082;
                break;
            case NativeDialogLayout::Kind::icon:
                controlStyle |= SS_ICON;
                atom = 0x0082;
                break;
            case NativeDialogLayout::Kind::button:
                controlStyle |= WS_TABSTOP | (control.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
                atom = 0x0080;
                break;
            case NativeDialogLayout::Kind::progress:
                className = "msctls_progress32";
                break;
        }
        out.Double(controlStyle);
        out.Double(0);
        for (int value : {control.x, control.y, control.width, control.height}) {
            out.Word(static_cast<std::uint16_t>(value));
        }
        out.Word(static_cast<std::uint16_t>(control.id));
        if (className != nullptr) {
            out.Text(className);
        } else {
            out.Word(0xFFFF);
            out.Word(atom);
        }
        out.Text(control.kind == NativeDialogLayout::Kind::icon ? std::string() : control.text);
        out.Word(0);  // no creation data
    }
    return out.Take();
}

std::vector<void*> SetDialogIcons(void* dialog, const NativeDialogLayout& layout) {
    std::vector<void*> icons;
    for (const NativeDialogLayout::Control& control : layout.controls) {
        if (control.kind != NativeDialogLayout::Kind::icon) {
            continue;
        }
        void* icon = MakeIcon(control.icon, GetSystemMetrics(SM_CXICON));
        if (icon != nullptr) {
            SendDlgItemMessageW(static_cast<HWND>(dialog), control.id, STM_SETICON,
                                reinterpret_cast<WPARAM>(icon), 0);
            icons.push_back(icon);
        }
    }
    return icons;
}

void DestroyIcons(const std::vector<void*>& icons) {
    for (void* icon : icons) {
        DestroyIcon(static_cast<HICON>(icon));
    }
}

int RunDialog(void* owner, const NativeDialogLayout& layout) {
    const std::vector<std::uint16_t> words = BuildDialogTemplate(layout, false);
    RunContext context{&layout, {}};
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(words.data()),
        static_cast<HWND>(owner), ModalProcedure, reinterpret_cast<LPARAM>(&context));
    DestroyIcons(context.icons);
    return static_cast<int>(result);
}

}  // namespace win32
