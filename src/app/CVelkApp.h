#pragma once

#include "framework/CWinApp.h"

/// Velk's application: one single-document template of World, CMainFrame and CWorldView,
/// settings under "Local AppWizard-Generated Applications", four recent files, and the About
/// box. Its name comes from the string table ("Velk").
class CVelkApp : public CWinApp {
public:
    CVelkApp();

    /// Sets up settings, the recent files and the template, then carries out the command line
    /// and shows the main window. False, which ends the program, when the command line could
    /// not be carried out.
    bool InitInstance() override;

    /// Help, About: runs the About box.
    void OnAppAbout();
};
