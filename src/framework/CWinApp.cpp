#include "framework/CWinApp.h"

#include <algorithm>
#include <utility>

#include "files/FileSaver.h"
#include "files/Os.h"
#include "files/RecoveryStore.h"
#include "framework/AfxIds.h"
#include "framework/Backend.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CDocTemplate.h"
#include "framework/CFrameWnd.h"
#include "framework/CSingleDocTemplate.h"
#include "framework/DocumentRecovery.h"
#include "framework/DocumentWatch.h"
#include "framework/PrintableName.h"

namespace {

// The application whose Run is current, or the latest one made; the framework's dialogs and
// windows find their resources and platform through it.
CWinApp* currentApp = nullptr;

constexpr const char* kRecentFileSection = "Recent File List";
constexpr const char* kRecentFileEntry = "File%d";

}  // namespace

CWinApp* AfxGetApp() {
    return currentApp;
}

CWinApp::CWinApp(const ResourceSet& resources, const char* appName)
    : resources_(resources),
      appName_(appName != nullptr ? appName : resources.LoadString(afx::AFX_IDS_APP_TITLE)) {
    currentApp = this;
    OnCommand(afx::ID_FILE_NEW, [this] { OnFileNew(); });
    OnCommand(afx::ID_FILE_OPEN, [this] { OnFileOpen(); });
    OnCommand(afx::ID_APP_EXIT, [this] { OnAppExit(); });
    OnCommandRange(afx::ID_FILE_MRU_FILE1, afx::ID_FILE_MRU_FILE16,
                   [this](unsigned id) { OnOpenRecentFile(id); });
    OnUpdateCommandUIRange(afx::ID_FILE_MRU_FILE1, afx::ID_FILE_MRU_FILE16, [this](CCmdUI& ui) {
        std::size_t index = ui.GetId() - afx::ID_FILE_MRU_FILE1;
        ui.Enable(recentFiles_ != nullptr && index < recentFiles_->GetSize());
    });
}

CWinApp::~CWinApp() {
    CloseAllDocuments();
    templates_.clear();
    if (currentApp == this) {
        currentApp = nullptr;
    }
}

bool CWinApp::InitInstance() {
    return true;
}

int CWinApp::ExitInstance(int exitCode) {
    SaveStdProfileSettings();
    return exitCode;
}

int CWinApp::Run(AppPlatform& platform, std::vector<std::string> arguments) {
    if (!Start(platform, std::move(arguments))) {
        return 1;
    }
    return Finish(platform.RunMessageLoop());
}

bool CWinApp::Start(AppPlatform& platform, std::vector<std::string> arguments) {
    currentApp = this;
    platform_ = &platform;
    arguments_ = std::move(arguments);
    if (InitInstance()) {
        TellInterruptedSaves();
        // Copies are kept only where a clock drives them, not by headless runs.
        if (recovery_ == nullptr &&
            platform.StartRepeatingTimer(DocumentRecovery::kPeriodMs, [this] {
                if (recovery_ != nullptr) {
                    recovery_->Tick();
                }
            })) {
            StartRecovery(RecoveryStore::DefaultFolder());
        }
        StartWatch(platform);
        return true;
    }
    CloseAllDocuments();
    platform_ = nullptr;
    return false;
}

int CWinApp::Finish(int exitCode) {
    exitCode = ExitInstance(exitCode);
    if (platform_ != nullptr) {
        platform_->StopRepeatingTimers();
    }
    recovery_.reset();  // a clean end keeps no copy
    watch_.reset();
    // Windows go while the platform that shows them still stands.
    CloseAllDocuments();
    settings_.reset();
    platform_ = nullptr;
    return exitCode;
}

void CWinApp::TellInterruptedSaves() {
    UserDialogs* dialogs = GetDialogs();
    if (dialogs == nullptr) {
        return;
    }
    for (const FileSaver::Interrupted& save : FileSaver::TakeInterruptedSaves()) {
        dialogs->ShowMessage("A save of " + PrintableName(save.file) +
                                 " was interrupted; the file may hold part of the new content. "
                                 "Its old content is whole in " +
                                 PrintableName(save.copy) + ".",
                             MessageKind::warning);
    }
}

UserDialogs* CWinApp::GetDialogs() const {
    return platform_ != nullptr ? &platform_->GetDialogs() : nullptr;
}

void CWinApp::SetRegistryKey(const std::string& key) {
    registryKey_ = key;
    settings_.reset();
    OpenSettingsOnce();
}

void CWinApp::OpenSettingsOnce() {
    if (settings_ == nullptr && platform_ != nullptr) {
        settings_ = platform_->OpenSettings(registryKey_, appName_);
    }
}

void CWinApp::LoadStdProfileSettings(unsigned maxFiles) {
    OpenSettingsOnce();
    recentFiles_ = std::make_unique<CRecentFileList>(kRecentFileSection, kRecentFileEntry,
                                                     std::min(maxFiles, 16u));
    if (settings_ != nullptr) {
        recentFiles_->ReadList(*settings_);
    }
}

void CWinApp::SaveStdProfileSettings() {
    if (recentFiles_ != nullptr && settings_ != nullptr) {
        recentFiles_->WriteList(*settings_);
    }
}

void CWinApp::AddToRecentFileList(const std::string& path) {
    if (recentFiles_ != nullptr) {
        recentFiles_->Add(path);
        SaveStdProfileSettings();
    }
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) {
    docTemplate->SetApp(this);
    templates_.emplace_back(docTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    for (std::size_t i = 0; i < arguments_.size(); ++i) {
        const std::string& argument = arguments_[i];
        bool last = i + 1 == arguments_.size();
        bool flag = argument.size() > 1 && argument[0] == '-';
        info.ParseParam(flag ? argument.substr(argument[1] == '-' ? 2 : 1) : argument, flag, last);
    }
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    switch (info.shellCommand) {
        case CCommandLineInfo::ShellCommand::FileNew:
            OnFileNew();
            return mainWnd_ != nullptr;
        case CCommandLineInfo::ShellCommand::FileOpen:
            return OpenDocumentFile(info.fileName) != nullptr;
        case CCommandLineInfo::ShellCommand::FileNothing:
            return true;
    }
    return false;
}

CDocument* CWinApp::CurrentDocument() const {
    auto* single =
        templates_.empty() ? nullptr : dynamic_cast<CSingleDocTemplate*>(templates_.front().get());
    return single != nullptr ? single->GetDocument() : nullptr;
}

void CWinApp::StartWatch(AppPlatform& platform) {
    watch_ =
        std::make_unique<DocumentWatch>([this] { return CurrentDocument(); }, platform.GetDialogs(),
                                        [this](const std::string& text) {
                                            if (mainWnd_ != nullptr) {
                                                mainWnd_->SetMessageText(text);
                                            }
                                        },
                                        [&platform](std::function<void()> changed) {
                                            return platform.CreateFileWatcher(std::move(changed));
                                        });
    if (!watch_->Works()) {
        watch_.reset();
        return;
    }
    watch_->Follow();
    // The document takes a new file through many commands; following it costs a comparison.
    platform.StartRepeatingTimer(250, [this] {
        if (watch_ != nullptr) {
            watch_->Follow();
        }
    });
}

void CWinApp::StartRecovery(const std::string& folder) {
    recovery_ = std::make_unique<DocumentRecovery>(
        [this] { return CurrentDocument(); }, std::make_unique<RecoveryStore>(folder),
        [this](const std::string& text) {
            if (UserDialogs* dialogs = GetDialogs()) {
                dialogs->ShowMessage(text, MessageKind::warning);
            }
        });
    if (UserDialogs* dialogs = GetDialogs()) {
        recovery_->OfferOrphans(*dialogs, [this](const std::string& copy) {
            CDocument* document = OpenDocumentFile(copy);
            // The copy is no file of the person's: it does not belong among the recent files.
            for (std::size_t i = 0; recentFiles_ != nullptr && i < recentFiles_->GetSize(); ++i) {
                if ((*recentFiles_)[i] == copy) {
                    recentFiles_->Remove(i);
                    SaveStdProfileSettings();
                    break;
                }
            }
            return document;
        });
    }
}

CDocument* CWinApp::OpenDocumentFile(const std::string& path) {
    if (templates_.empty()) {
        return nullptr;
    }
    return templates_.front()->OpenDocumentFile(path);
}

bool CWinApp::SaveAllModified() {
    for (auto& docTemplate : templates_) {
        if (!docTemplate->SaveAllModified()) {
            return false;
        }
    }
    return true;
}

void CWinApp::CloseAllDocuments() {
    for (auto& docTemplate : templates_) {
        docTemplate->CloseAllDocuments();
    }
    mainWnd_ = nullptr;
}

void CWinApp::OnFileNew() {
    if (!templates_.empty()) {
        templates_.front()->OpenDocumentFile("");
    }
}

void CWinApp::OnFileOpen() {
    UserDialogs* dialogs = GetDialogs();
    if (dialogs == nullptr) {
        return;
    }
    std::optional<std::string> path = dialogs->AskOpenPath("Open");
    if (path && !path->empty()) {
        OpenDocumentFile(*path);
    }
}

void CWinApp::OnOpenRecentFile(unsigned id) {
    std::size_t index = id - afx::ID_FILE_MRU_FILE1;
    if (recentFiles_ == nullptr || index >= recentFiles_->GetSize()) {
        return;
    }
    // A copy: a successful open moves the entry. A file that is gone leaves the list; one
    // that is there stays, even when its open was cancelled or refused.
    std::string path = (*recentFiles_)[index];
    if (OpenDocumentFile(path) == nullptr && !TheOs().InfoOf(path, true).ok()) {
        recentFiles_->Remove(index);
        SaveStdProfileSettings();
    }
}

void CWinApp::OnAppExit() {
    if (mainWnd_ != nullptr) {
        mainWnd_->OnClose();
    } else if (platform_ != nullptr) {
        platform_->Quit(0);
    }
}
