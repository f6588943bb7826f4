#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/CCmdTarget.h"
#include "framework/CRecentFileList.h"
#include "framework/Resources.h"

class AppPlatform;
class CCommandLineInfo;
class CDocTemplate;
class CDocument;
class CFrameWnd;
class DocumentRecovery;
class DocumentWatch;
class SettingsStore;
class UserDialogs;

/// The application: its resources, settings, document templates, recent files and main window,
/// and the commands File New, File Open, the recent files and Exit.
///
/// Run carries the application through its life on a platform: InitInstance, the message loop,
/// ExitInstance, and then the closing of every document and window while the platform still
/// stands. One application at a time is the current one (AfxGetApp).
class CWinApp : public CCmdTarget {
public:
    /// An application with the program's resources. Without a name it takes its name from the
    /// string AFX_IDS_APP_TITLE.
    explicit CWinApp(const ResourceSet& resources, const char* appName = nullptr);
    ~CWinApp() override;

    /// Dialog controls get the three-dimensional look. They always have it here.
    void Enable3dControls() {}

    /// The application's start, run once by Run; false ends the program at once. The base
    /// answers true.
    [[nodiscard]] virtual bool InitInstance();
    /// The application's end, after the message loop: stores the settings. Answers the exit
    /// code.
    virtual int ExitInstance(int exitCode);
    /// Runs the application on the platform with the command-line arguments (without the
    /// program name): Start, the platform's message loop, Finish. Answers the exit code: 1
    /// when InitInstance failed.
    int Run(AppPlatform& platform, std::vector<std::string> arguments);
    /// The first half of Run: binds the platform and runs InitInstance, then tells of saves
    /// that were interrupted in an earlier run. When InitInstance fails, every window is gone
    /// again and false is answered.
    [[nodiscard]] bool Start(AppPlatform& platform, std::vector<std::string> arguments);
    /// The second half of Run, after the message loop answered exitCode: ExitInstance, then
    /// every document and window is closed while the platform still stands.
    int Finish(int exitCode);

    const std::string& GetAppName() const { return appName_; }
    const ResourceSet& GetResources() const { return resources_; }
    std::string LoadString(unsigned id) const { return resources_.LoadString(id); }
    AppPlatform* GetPlatform() const { return platform_; }
    /// The dialogs of the platform; null while not running on one.
    UserDialogs* GetDialogs() const;
    /// The settings; null until LoadStdProfileSettings or SetRegistryKey opened them.
    SettingsStore* GetSettings() const { return settings_.get(); }
    CFrameWnd* GetMainWnd() const { return mainWnd_; }
    void SetMainWnd(CFrameWnd* frame) { mainWnd_ = frame; }

    /// Keeps the settings under key, below it under the application's name.
    void SetRegistryKey(const std::string& key);
    const std::string& GetRegistryKey() const { return registryKey_; }
    /// Makes a recent-file list of maxFiles entries and reads it from the settings.
    void LoadStdProfileSettings(unsigned maxFiles = 4);
    /// Writes the recent-file list to the settings.
    void SaveStdProfileSettings();
    CRecentFileList* GetRecentFileList() const { return recentFiles_.get(); }
    /// Puts the path first in the recent-file list, when there is one, and stores the list.
    virtual void AddToRecentFileList(const std::string& path);

    /// Registers a template; the application owns it from now on.
    void AddDocTemplate(CDocTemplate* docTemplate);
    /// Tells info of each command-line argument in turn.
    void ParseCommandLine(CCommandLineInfo& info);
    /// Carries out the command line: a new document, or the named file opened. False when
    /// that failed; the reason has been told.
    [[nodiscard]] bool ProcessShellCommand(CCommandLineInfo& info);

    /// Opens the file in the first template; null when that failed or was cancelled.
    virtual CDocument* OpenDocumentFile(const std::string& path);
    /// Asks every template's documents to save their changes; false when the person cancels.
    [[nodiscard]] bool SaveAllModified();
    /// Closes every document and its windows.
    void CloseAllDocuments();

    // Commands.
    void OnFileNew();
    void OnFileOpen();
    /// Opens entry id - ID_FILE_MRU_FILE1 of the recent files; an entry that cannot be opened
    /// leaves the list.
    void OnOpenRecentFile(unsigned id);
    /// Closes the main window as its close box would, which ends the message loop.
    void OnAppExit();

    /// Keeps recovery copies of the open document under folder and offers the copies of killed
    /// runs. Start calls it with the default folder on platforms with a clock; the copies are
    /// then written every period by the platform's timer, otherwise by calling Tick.
    void StartRecovery(const std::string& folder);
    /// Null until StartRecovery.
    DocumentRecovery* GetRecovery() const { return recovery_.get(); }
    /// Follows the open document's file on disk; null where the platform watches no files.
    DocumentWatch* GetWatch() const { return watch_.get(); }

private:
    /// The document of the first template, when it is a single-document one.
    CDocument* CurrentDocument() const;
    void StartWatch(AppPlatform& platform);
    /// Tells the person of saves that a kill interrupted in a previous run, and where the old
    /// content of each file is.
    void TellInterruptedSaves();
    void OpenSettingsOnce();

    const ResourceSet& resources_;
    std::string appName_;
    std::string registryKey_;
    AppPlatform* platform_ = nullptr;
    std::vector<std::string> arguments_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<CRecentFileList> recentFiles_;
    std::vector<std::unique_ptr<CDocTemplate>> templates_;
    CFrameWnd* mainWnd_ = nullptr;
    std::unique_ptr<DocumentRecovery> recovery_;
    std::unique_ptr<DocumentWatch> watch_;
};

/// The current application, one of the program's few process-wide pieces: the latest made or
/// started; null when there is none. Frames and dialogs keep the one they were made for
/// (CFrameWnd::GetApp, CDialog::GetApp).
CWinApp* AfxGetApp();

/// Lets windows and dialogs hold embedded controls. Every window can hold them here.
inline void AfxEnableControlContainer() {}
