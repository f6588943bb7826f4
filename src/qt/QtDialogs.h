#pragma once

#include "framework/Backend.h"

class QWidget;

/// The real dialogs: Qt's file dialogs without a file-type filter and without a default
/// extension, message boxes, the save-changes question, and modal dialogs built from their
/// templates. Errors and warnings also go to standard error, so that a failure at start-up,
/// before any window shows, is seen in a terminal too.
class QtDialogs : public UserDialogs {
public:
    std::optional<std::string> AskOpenPath(const std::string& caption) override;
    std::optional<std::string> AskSavePath(const std::string& caption,
                                           const std::string& initialName) override;
    SaveChoice AskSaveChanges(const std::string& documentTitle) override;
    ChangedFileChoice AskChangedFile(const std::string& text) override;
    RecoveryChoice AskRecovery(const std::string& text) override;
    bool AskReloadChanged(const std::string& text) override;
    void ShowMessage(const std::string& text, MessageKind kind) override;
    int RunModal(CDialog& dialog) override;
    std::unique_ptr<ProgressDialog> BeginProgress(const std::string& caption,
                                                  const std::string& text) override;

private:
    /// The window that owns a dialog: the application's main window, when it is shown.
    static QWidget* Owner();
};
