#pragma once

// Runs the real program's main frame on the Windows backend, with the person's answers
// scripted; modal dialogs run for real.

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CVelkApp.h"
#include "document/World.h"
#include "framework/Backend.h"
#include "framework/CFrameWnd.h"
#include "support/AppRun.h"
#include "win32/Win32ClientArea.h"
#include "win32/Win32Dialogs.h"
#include "win32/Win32Frame.h"
#include "win32/Win32Platform.h"

namespace win32_test {

/// Answers from queues (an empty one answers "cancel"), records what was asked; modal dialogs
/// run for real.
class ScriptedDialogs : public UserDialogs {
public:
    std::deque<std::string> openAnswers;
    std::deque<SaveChoice> saveChangesAnswers;
    std::vector<std::string> saveChangesAsked;
    std::vector<std::string> saveProposed;  ///< the name each save dialog offered
    std::vector<std::pair<MessageKind, std::string>> messages;
    int modalResult = 0;

    std::optional<std::string> AskOpenPath(const std::string&) override {
        return Pop(openAnswers, std::optional<std::string>());
    }
    std::optional<std::string> AskSavePath(const std::string&, const std::string& name) override {
        saveProposed.push_back(name);
        return std::nullopt;
    }
    SaveChoice AskSaveChanges(const std::string& title) override {
        saveChangesAsked.push_back(title);
        return Pop(saveChangesAnswers, SaveChoice::cancel);
    }
    void ShowMessage(const std::string& text, MessageKind kind) override {
        messages.emplace_back(kind, text);
    }
    ChangedFileChoice AskChangedFile(const std::string&) override {
        return ChangedFileChoice::cancel;
    }
    bool AskReloadChanged(const std::string&) override { return false; }
    RecoveryChoice AskRecovery(const std::string&) override { return RecoveryChoice::later; }
    int RunModal(CDialog& dialog) override { return modalResult = real.RunModal(dialog); }
    std::unique_ptr<ProgressDialog> BeginProgress(const std::string&, const std::string&) override {
        return nullptr;
    }

private:
    template <typename Queue, typename T>
    static T Pop(Queue& queue, T fallback) {
        if (queue.empty()) {
            return fallback;
        }
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
    Win32Dialogs real;
};

/// One run of the application: started with arguments, finished when the harness goes.
class VelkRun : public velk_test::AppRun<Win32Platform, Win32Frame> {
public:
    explicit VelkRun(ScriptedDialogs& dialogs) : AppRun(dialogs) {}

    Win32Frame& Window() const { return Frontend(); }
    void* FrameHandle() const { return Window().Handle(); }
    void* ClientHandle() const { return Window().GetClientArea()->Handle(); }
};

}  // namespace win32_test
