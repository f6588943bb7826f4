#pragma once

// A headless platform for the framework's application classes: scripted dialogs, settings in
// memory, frames without windows whose client area is a HeadlessHost, and a small document that
// saves and loads one line of text.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/AfxIds.h"
#include "framework/Backend.h"
#include "framework/CArchive.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CDocument.h"
#include "framework/CFrameWnd.h"
#include "framework/CSingleDocTemplate.h"
#include "framework/CStatusBar.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/HeadlessHost.h"

namespace app_test {

/// Answers the framework's questions from queues and records everything it was asked or told.
class ScriptedDialogs : public UserDialogs {
public:
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<SaveChoice> saveChangesAnswers;
    std::vector<std::string> saveChangesAsked;  ///< document titles
    std::vector<std::pair<MessageKind, std::string>> messages;
    std::deque<ChangedFileChoice> changedFileAnswers;
    std::vector<std::string> changedFileAsked;
    std::deque<bool> reloadAnswers;
    std::vector<std::string> reloadAsked;
    std::deque<RecoveryChoice> recoveryAnswers;
    std::vector<std::string> recoveryAsked;
    int modalRuns = 0;

    std::optional<std::string> AskOpenPath(const std::string&) override {
        return Pop(openAnswers, std::optional<std::string>());
    }
    std::optional<std::string> AskSavePath(const std::string&, const std::string&) override {
        return Pop(saveAnswers, std::optional<std::string>());
    }
    SaveChoice AskSaveChanges(const std::string& title) override {
        saveChangesAsked.push_back(title);
        return Pop(saveChangesAnswers, SaveChoice::cancel);
    }
    void ShowMessage(const std::string& text, MessageKind kind) override {
        messages.emplace_back(kind, text);
    }
    ChangedFileChoice AskChangedFile(const std::string& text) override {
        changedFileAsked.push_back(text);
        return Pop(changedFileAnswers, ChangedFileChoice::cancel);
    }
    bool AskReloadChanged(const std::string& text) override {
        reloadAsked.push_back(text);
        return Pop(reloadAnswers, false);
    }
    RecoveryChoice AskRecovery(const std::string& text) override {
        recoveryAsked.push_back(text);
        return Pop(recoveryAnswers, RecoveryChoice::later);
    }
    int RunModal(CDialog&) override {
        ++modalRuns;
        return afx::IDOK;
    }
    std::unique_ptr<ProgressDialog> BeginProgress(const std::string&, const std::string&) override {
        return nullptr;
    }

private:
    // An unscripted question is answered "cancel": a test never hangs on one.
    template <typename T>
    static T Pop(std::deque<T>& queue, T fallback) {
        if (queue.empty()) {
            return fallback;
        }
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

/// Settings as a map from "section/entry" to value; it outlives the applications that use it,
/// as the settings on disk outlive a program.
class MemorySettings : public SettingsStore {
public:
    explicit MemorySettings(std::map<std::string, std::string>& values) : values_(values) {}
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& fallback) const override {
        auto found = values_.find(section + "/" + entry);
        return found == values_.end() ? fallback : found->second;
    }
    void WriteString(const std::string& section, const std::string& entry,
                     const std::string& value) override {
        values_[section + "/" + entry] = value;
    }
    void RemoveEntry(const std::string& section, const std::string& entry) override {
        values_.erase(section + "/" + entry);
    }

private:
    std::map<std::string, std::string>& values_;
};

class FakeStatusBar : public StatusBarHost {
public:
    void SetPanes(const std::vector<unsigned>& newIds,
                  const std::vector<std::string>& newTexts) override {
        ids = newIds;
        texts = newTexts;
    }
    void SetPaneText(std::size_t index, const std::string& text) override {
        texts.at(index) = text;
    }
    void SetVisible(bool on) override { visible = on; }
    bool IsVisible() const override { return visible; }

    std::vector<unsigned> ids;
    std::vector<std::string> texts;
    bool visible = false;
};

class FakeFrameHost : public FrameHost {
public:
    WindowHost* GetClientHost() override { return &client; }
    void SetTitle(const std::string& documentTitle, const std::string& appTitle,
                  bool modified) override {
        title = documentTitle.empty() ? appTitle : documentTitle + " - " + appTitle;
        titleModified = modified;
    }
    void SetMenu(const std::vector<MenuItem>& items) override { menu = items; }
    void SetAccelerators(const std::vector<Accelerator>& table) override { accelerators = table; }
    void SetIcon(const std::vector<IconImage>&) override {}
    StatusBarHost* CreateStatusBar() override { return &statusBar; }
    void Show(int command) override { shown = command == afx::SW_SHOW; }
    void RefreshCommands() override {}

    HeadlessHost client{SIZE{640, 480}, SIZE{16, 60}};
    FakeStatusBar statusBar;
    std::string title;
    bool titleModified = false;
    std::vector<MenuItem> menu;
    std::vector<Accelerator> accelerators;
    bool shown = false;
};

class FakeWatcher : public FileWatcher {
public:
    explicit FakeWatcher(std::string& watched) : watched(watched) {}
    void Watch(const std::string& path) override { watched = path; }
    std::string& watched;
};

class FakePlatform : public AppPlatform {
public:
    FakePlatform(ScriptedDialogs& dialogs, std::map<std::string, std::string>& settings)
        : dialogs_(dialogs), settings_(settings) {}

    UserDialogs& GetDialogs() override { return dialogs_; }
    std::unique_ptr<SettingsStore> OpenSettings(const std::string& key,
                                                const std::string& app) override {
        settingsOpenedAs = key + "/" + app;
        return std::make_unique<MemorySettings>(settings_);
    }
    std::unique_ptr<FrameHost> CreateFrameHost(CFrameWnd&) override {
        if (refuseFrames) {
            return nullptr;
        }
        auto host = std::make_unique<FakeFrameHost>();
        lastFrameHost = host.get();
        return host;
    }
    std::unique_ptr<FileWatcher> CreateFileWatcher(std::function<void()> changed) override {
        fileChanged = std::move(changed);
        return std::make_unique<FakeWatcher>(watchedFile);
    }
    int RunMessageLoop() override { return 0; }
    // Time stands still here: a test calls what a timer would.
    bool StartRepeatingTimer(std::uint32_t, std::function<void()>) override { return false; }
    void StopRepeatingTimers() override {}
    void Quit(int code) override {
        quit = true;
        exitCode = code;
    }

    std::string settingsOpenedAs;
    std::function<void()> fileChanged;  ///< what the watcher calls
    std::string watchedFile;
    FakeFrameHost* lastFrameHost = nullptr;
    bool refuseFrames = false;
    bool quit = false;
    int exitCode = -1;

private:
    ScriptedDialogs& dialogs_;
    std::map<std::string, std::string>& settings_;
};

/// A document of one line of text. A file that does not start with "note " is refused by the
/// template's judge; one that does not end in a line feed reads in part.
class NoteDocument : public CDocument {
    DECLARE_DYNCREATE(NoteDocument)
    struct TextAside : ContentAside {
        std::string text;
    };

public:
    bool OnNewDocument() override {
        if (!CDocument::OnNewDocument()) {
            return false;
        }
        text.clear();
        return true;
    }
    void Serialize(CArchive& archive) override {
        if (archive.IsStoring()) {
            std::string line = text + "\n";
            archive.Write(line.data(), static_cast<unsigned>(line.size()));
            return;
        }
        text.clear();
        char buffer[256];
        while (unsigned count = archive.Read(buffer, sizeof buffer)) {
            text.append(buffer, count);
        }
        if (whileLoading) {
            whileLoading();
        }
    }

    std::unique_ptr<ContentAside> SetContentAside() override {
        auto aside = std::make_unique<TextAside>();
        aside->text = std::move(text);
        text.clear();
        return aside;
    }
    void PutContentBack(std::unique_ptr<ContentAside> content) override {
        text = std::move(static_cast<TextAside&>(*content).text);
        UpdateAllViews(nullptr);
    }

    std::string text;
    /// Called at the end of every load, the text read: a test may fail the load or change the
    /// file meanwhile.
    std::function<void()> whileLoading;
};

inline LoadVerdict JudgeNote(const CDocument& document) {
    const std::string& text = static_cast<const NoteDocument&>(document).text;
    if (text.rfind("note ", 0) != 0) {
        return {LoadVerdict::Kind::refused, "it is not a note"};
    }
    if (text.empty() || text.back() != '\n') {
        return {LoadVerdict::Kind::partial, "line 1, column " + std::to_string(text.size() + 1)};
    }
    return {};
}

/// A view that handles one command of its own, to show routing reaching views first.
class NoteView : public CView {
    DECLARE_DYNCREATE(NoteView)
};

/// The frame of the tests: a status bar with the message pane and the three lock-key panes.
class NoteFrame : public CFrameWnd {
    DECLARE_DYNCREATE(NoteFrame)

public:
    int OnCreate() override {
        if (CFrameWnd::OnCreate() == -1) {
            return -1;
        }
        static constexpr unsigned kPanes[] = {afx::ID_SEPARATOR, afx::ID_INDICATOR_CAPS,
                                              afx::ID_INDICATOR_NUM, afx::ID_INDICATOR_SCRL};
        if (!statusBar.Create(this, afx::WS_CHILD | afx::WS_VISIBLE | afx::CBRS_BOTTOM,
                              afx::AFX_IDW_STATUS_BAR) ||
            !statusBar.SetIndicators(kPanes, 4)) {
            return -1;
        }
        return 0;
    }
    CStatusBar statusBar;
};

constexpr unsigned kResource = 128;

/// Resources for the notes: a menu with the file commands and the recent-file placeholder, an
/// Edit menu that nobody handles, the document string and the strings the panes need.
const ResourceSet& NoteResources();

/// The application of the tests, set up as a program's InitInstance does.
class NoteApp : public CWinApp {
public:
    NoteApp() : CWinApp(NoteResources()) {}
    bool InitInstance() override {
        SetRegistryKey("Test Key");
        LoadStdProfileSettings(4);
        auto* docTemplate =
            new CSingleDocTemplate(kResource, RUNTIME_CLASS(NoteDocument), RUNTIME_CLASS(NoteFrame),
                                   RUNTIME_CLASS(NoteView));
        docTemplate->SetLoadJudge(JudgeNote);
        AddDocTemplate(docTemplate);
        CCommandLineInfo info;
        ParseCommandLine(info);
        return ProcessShellCommand(info);
    }
    NoteDocument* Document() const {
        return GetMainWnd() != nullptr
                   ? dynamic_cast<NoteDocument*>(GetMainWnd()->GetActiveDocument())
                   : nullptr;
    }
};

}  // namespace app_test
