#pragma once

#include <memory>
#include <optional>
#include <string>

#include "framework/Backend.h"

/// The person's dialogs on Windows: the common file dialogs, message boxes, questions with
/// buttons of their own, the program's dialog resources and a progress window. Texts are the
/// same as on Linux.
class Win32Dialogs : public UserDialogs {
public:
    std::optional<std::string> AskOpenPath(const std::string& caption) override;
    std::optional<std::string> AskSavePath(const std::string& caption,
                                           const std::string& initialName) override;
    SaveChoice AskSaveChanges(const std::string& documentTitle) override;
    void ShowMessage(const std::string& text, MessageKind kind) override;
    int RunModal(CDialog& dialog) override;
    ChangedFileChoice AskChangedFile(const std::string& text) override;
    bool AskReloadChanged(const std::string& text) override;
    RecoveryChoice AskRecovery(const std::string& text) override;
    std::unique_ptr<ProgressDialog> BeginProgress(const std::string& caption,
                                                  const std::string& text) override;
};
