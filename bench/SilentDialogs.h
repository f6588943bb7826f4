// Dialogs for benchmarks that run the whole program: no question can stop a run.
#pragma once

#include <optional>
#include <string>

#include "framework/Backend.h"
#include "framework/CDialog.h"

namespace velk_bench {

/// Every question is answered "cancel" (or "discard"); the last message is kept for errors.
class SilentDialogs : public UserDialogs {
public:
    std::optional<std::string> AskOpenPath(const std::string&) override { return std::nullopt; }
    std::optional<std::string> AskSavePath(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    SaveChoice AskSaveChanges(const std::string&) override { return SaveChoice::discard; }
    void ShowMessage(const std::string& text, MessageKind) override { last = text; }
    int RunModal(CDialog&) override { return 2; }
    ChangedFileChoice AskChangedFile(const std::string&) override {
        return ChangedFileChoice::cancel;
    }
    bool AskReloadChanged(const std::string&) override { return false; }
    RecoveryChoice AskRecovery(const std::string&) override { return RecoveryChoice::later; }
    std::unique_ptr<ProgressDialog> BeginProgress(const std::string&, const std::string&) override {
        return nullptr;
    }
    std::string last;
};

}  // namespace velk_bench
