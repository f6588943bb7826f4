#include "win32/Win32Dialogs.h"

#include <iostream>
#include <string>
#include <vector>

#include "framework/AfxIds.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/Questions.h"
#include "win32/NativeDialogTemplate.h"
#include "win32/NativeFileDialog.h"
#include "win32/NativeFrame.h"
#include "win32/NativeMessageBox.h"
#include "win32/Win32ProgressDialog.h"

namespace {

// Messages and questions carry the current application's name as their title; the platform,
// and so these dialogs, are made before the application runs on them.
std::string AppName() {
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->GetAppName() : std::string("Velk");
}

void* Owner() {
    return win32::NativeFrame::MainHandle();
}

// The first id of icon controls, which a template may leave without an id of their own.
constexpr int kFirstIconId = 0x7000;

win32::NativeDialogLayout LayoutOf(const DialogTemplate& layout, const ResourceSet& resources) {
    win32::NativeDialogLayout made;
    made.caption = layout.caption;
    if (!layout.fontName.empty()) {
        made.fontName = layout.fontName;
        made.fontPoints = layout.fontPoints;
    }
    made.width = layout.width;
    made.height = layout.height;
    int icons = 0;
    for (const DialogControl& control : layout.controls) {
        win32::NativeDialogLayout::Control item;
        item.id = control.id;
        item.x = control.x;
        item.y = control.y;
        item.width = control.width;
        item.height = control.height;
        item.text = control.text;
        switch (control.kind) {
            case DialogControl::Kind::Static:
                item.kind = win32::NativeDialogLayout::Kind::text;
                break;
            case DialogControl::Kind::Button:
                item.kind = win32::NativeDialogLayout::Kind::button;
                item.isDefault = (control.style & afx::BS_DEFPUSHBUTTON) != 0;
                break;
            case DialogControl::Kind::Icon: {
                item.kind = win32::NativeDialogLayout::Kind::icon;
                item.id = kFirstIconId + icons++;
                // The text names the icon resource by its number.
                unsigned number = 0;
                try {
                    number = static_cast<unsigned>(std::stoul(control.text));
                } catch (const std::exception&) {
                }
                if (auto found = resources.icons.find(number); found != resources.icons.end()) {
                    item.icon = found->second;
                }
                break;
            }
        }
        made.controls.push_back(std::move(item));
    }
    return made;
}

}  // namespace

std::optional<std::string> Win32Dialogs::AskOpenPath(const std::string& caption) {
    return win32::AskFileToOpen(Owner(), caption);
}

std::optional<std::string> Win32Dialogs::AskSavePath(const std::string& caption,
                                                     const std::string& initialName) {
    return win32::AskFileToSave(Owner(), caption, initialName);
}

SaveChoice Win32Dialogs::AskSaveChanges(const std::string& documentTitle) {
    switch (win32::AskYesNoCancel(Owner(), AppName(), "Save changes to " + documentTitle + "?")) {
        case 0:
            return SaveChoice::save;
        case 1:
            return SaveChoice::discard;
        default:
            return SaveChoice::cancel;
    }
}

void Win32Dialogs::ShowMessage(const std::string& text, MessageKind kind) {
    // The console the program was started from hears of warnings and errors too, as on Linux.
    switch (kind) {
        case MessageKind::information:
            win32::ShowMessageBox(Owner(), AppName(), text, win32::BoxIcon::information);
            break;
        case MessageKind::warning:
            std::cerr << "velk: warning: " << text << '\n';
            win32::ShowMessageBox(Owner(), AppName(), text, win32::BoxIcon::warning);
            break;
        case MessageKind::error:
            std::cerr << "velk: " << text << '\n';
            win32::ShowMessageBox(Owner(), AppName(), text, win32::BoxIcon::error);
            break;
    }
}

int Win32Dialogs::RunModal(CDialog& dialog) {
    const DialogTemplate* layout = dialog.GetTemplate();
    CWinApp* app = dialog.GetApp();
    if (layout == nullptr || app == nullptr) {
        return -1;
    }
    const win32::NativeDialogLayout made = LayoutOf(*layout, app->GetResources());
    if (!dialog.OnInitDialog()) {
        return afx::IDCANCEL;
    }
    return win32::RunDialog(Owner(), made);
}

namespace {

int AskWithButtons(void* owner, const std::string& text, const ButtonQuestion& question) {
    std::vector<std::string> labels;
    for (std::size_t i = 0; i < question.count; ++i) {
        labels.emplace_back(question.buttons[i].label);
    }
    return win32::AskWithButtons(owner, AppName(), text, labels, question.defaultButton,
                                 question.escapeButton);
}

}  // namespace

ChangedFileChoice Win32Dialogs::AskChangedFile(const std::string& text) {
    return ChangedFileAnswer(AskWithButtons(Owner(), text, kChangedFileQuestion));
}

bool Win32Dialogs::AskReloadChanged(const std::string& text) {
    return ReloadAnswer(AskWithButtons(Owner(), text, kReloadQuestion));
}

RecoveryChoice Win32Dialogs::AskRecovery(const std::string& text) {
    return RecoveryAnswer(AskWithButtons(Owner(), text, kRecoveryQuestion));
}

std::unique_ptr<ProgressDialog> Win32Dialogs::BeginProgress(const std::string& caption,
                                                            const std::string& text) {
    return std::make_unique<Win32ProgressDialog>(caption, text, Owner());
}
