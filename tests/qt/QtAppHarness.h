#pragma once

// Velk's application on the real Qt backend, with the person at the screen played by a script.

#include <QApplication>
#include <QDialog>
#include <QProgressDialog>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/CVelkApp.h"
#include "document/World.h"
#include "framework/Backend.h"
#include "framework/CFrameWnd.h"
#include "qt/ClientArea.h"
#include "qt/MainWindow.h"
#include "qt/QtDialogs.h"
#include "qt/QtPlatform.h"
#include "qt/QtProgressDialog.h"
#include "support/AppRun.h"

namespace qt_test {

/// Answers file dialogs and questions from queues and records messages; modal dialogs run for
/// real, with onModal called while they are up (it must close them).
class ScriptedDialogs : public UserDialogs {
public:
    std::deque<std::string> openAnswers;
    std::deque<std::string> saveAnswers;
    std::deque<SaveChoice> saveChangesAnswers;
    std::vector<std::string> saveChangesAsked;
    std::vector<std::pair<MessageKind, std::string>> messages;
    std::function<void()> onModal;
    int modalResult = 0;
    /// Called with the real progress dialog on screen before each of its updates.
    std::function<void(QProgressDialog&)> onProgress;

    std::optional<std::string> AskOpenPath(const std::string&) override { return Pop(openAnswers); }
    std::vector<std::string> saveProposed;  ///< the name each save dialog offered
    std::optional<std::string> AskSavePath(const std::string&, const std::string& name) override {
        saveProposed.push_back(name);
        return Pop(saveAnswers);
    }
    SaveChoice AskSaveChanges(const std::string& title) override {
        saveChangesAsked.push_back(title);
        if (saveChangesAnswers.empty()) {
            return SaveChoice::cancel;
        }
        SaveChoice answer = saveChangesAnswers.front();
        saveChangesAnswers.pop_front();
        return answer;
    }
    void ShowMessage(const std::string& text, MessageKind kind) override {
        messages.emplace_back(kind, text);
    }
    ChangedFileChoice AskChangedFile(const std::string&) override {
        return ChangedFileChoice::cancel;
    }
    bool AskReloadChanged(const std::string&) override { return false; }
    RecoveryChoice AskRecovery(const std::string&) override { return RecoveryChoice::later; }
    int RunModal(CDialog& dialog) override {
        if (onModal) {
            QTimer::singleShot(0, onModal);
        }
        modalResult = real.RunModal(dialog);
        return modalResult;
    }
    std::unique_ptr<ProgressDialog> BeginProgress(const std::string& caption,
                                                  const std::string& text) override {
        return std::make_unique<WatchedProgress>(caption, text, onProgress);
    }

private:
    class WatchedProgress : public QtProgressDialog {
    public:
        WatchedProgress(const std::string& caption, const std::string& text,
                        std::function<void(QProgressDialog&)>& watch)
            : QtProgressDialog(caption, text, nullptr), watch(watch) {}
        bool Update(const ProgressReport& report) override {
            if (watch) {
                watch(Widget());
            }
            return QtProgressDialog::Update(report);
        }
        std::function<void(QProgressDialog&)>& watch;
    };

    static std::optional<std::string> Pop(std::deque<std::string>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        std::string answer = queue.front();
        queue.pop_front();
        return answer;
    }
    QtDialogs real;
};

/// One run of the application: started with arguments, finished when the harness goes.
class VelkRun : public velk_test::AppRun<QtPlatform, MainWindow> {
public:
    explicit VelkRun(ScriptedDialogs& dialogs) : AppRun(dialogs) {}

    MainWindow& Window() const { return Frontend(); }
    QWidget& Viewport() const { return *Window().GetClientArea()->viewport(); }
};

}  // namespace qt_test
