#include "app/CVelkApp.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/ResourceIds.h"
#include "app/VelkResources.h"
#include "document/OpenWorldFile.h"
#include "document/World.h"
#include "framework/AfxIds.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CFrameWnd.h"
#include "framework/CSingleDocTemplate.h"
#include "view/CWorldView.h"

namespace {

// A world file that reads only in part still opens, with a warning; one that is no world at
// all is refused, so that the world shown is never taken for that file's content. The verdict
// is the one velk --check and --render give.
LoadVerdict JudgeWorldDocument(const CDocument& document) {
    const auto* world = dynamic_cast<const World*>(&document);
    if (world == nullptr) {
        return {};
    }
    const WorldLoadReport& report = world->GetLoadReport();
    switch (JudgeWorldLoad(report)) {
        case WorldFileVerdict::complete:
        case WorldFileVerdict::unreadable:
            return {};
        case WorldFileVerdict::skippedText:
            return {LoadVerdict::Kind::skippedText, DescribeSkippedWords(report)};
        case WorldFileVerdict::partial:
            return {LoadVerdict::Kind::partial, Describe(report)};
        case WorldFileVerdict::notAWorldFile:
            return {LoadVerdict::Kind::refused,
                    "it is not a world file (" + Describe(report) + ")"};
    }
    return {};
}

}  // namespace

CVelkApp::CVelkApp() : CWinApp(VelkResources()) {
    OnCommand(afx::ID_APP_ABOUT, [this] { OnAppAbout(); });
}

bool CVelkApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();
    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(4);

    auto* docTemplate =
        new CSingleDocTemplate(velk::IDR_MAINFRAME, RUNTIME_CLASS(World), RUNTIME_CLASS(CMainFrame),
                               RUNTIME_CLASS(CWorldView));
    docTemplate->SetLoadJudge(JudgeWorldDocument);
    AddDocTemplate(docTemplate);

    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine)) {
        return false;
    }
    GetMainWnd()->ShowWindow(afx::SW_SHOW);
    GetMainWnd()->UpdateWindow();
    return true;
}

void CVelkApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}
