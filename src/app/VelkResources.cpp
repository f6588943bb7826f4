#include "app/VelkResources.h"

#include "app/IconFiles.h"
#include "app/ResourceIds.h"
#include "framework/AfxIds.h"

namespace {

using namespace afx;
using velk::IDD_ABOUTBOX;
using velk::IDR_MAINFRAME;
using velk::IDR_VELKTYPE;

std::vector<MenuItem> MainMenu() {
    return {
        MenuItem::Popup("&File",
                        {
                            MenuItem::Item("&New\tCtrl+N", ID_FILE_NEW),
                            MenuItem::Item("&Open...\tCtrl+O", ID_FILE_OPEN),
                            MenuItem::Item("&Save\tCtrl+S", ID_FILE_SAVE),
                            MenuItem::Item("Save &As...", ID_FILE_SAVE_AS),
                            MenuItem::Separator(),
                            MenuItem::Item("Recent File", ID_FILE_MRU_FILE1, true),
                            MenuItem::Separator(),
                            MenuItem::Item("E&xit", ID_APP_EXIT),
                        }),
        MenuItem::Popup("&Edit",
                        {
                            MenuItem::Item("&Undo\tCtrl+Z", ID_EDIT_UNDO),
                            MenuItem::Separator(),
                            MenuItem::Item("Cu&t\tCtrl+X", ID_EDIT_CUT),
                            MenuItem::Item("&Copy\tCtrl+C", ID_EDIT_COPY),
                            MenuItem::Item("&Paste\tCtrl+V", ID_EDIT_PASTE),
                        }),
        MenuItem::Popup("&View", {MenuItem::Item("&Status Bar", ID_VIEW_STATUS_BAR)}),
        MenuItem::Popup("&Help", {MenuItem::Item("&About Velk...", ID_APP_ABOUT)}),
    };
}

std::vector<Accelerator> MainAccelerators() {
    constexpr unsigned ctrl = FVIRTKEY | FCONTROL;
    constexpr unsigned shift = FVIRTKEY | FSHIFT;
    return {
        {ctrl, 'N', ID_FILE_NEW},          {ctrl, 'O', ID_FILE_OPEN},
        {ctrl, 'S', ID_FILE_SAVE},         {ctrl, 'Z', ID_EDIT_UNDO},
        {ctrl, 'X', ID_EDIT_CUT},          {ctrl, 'C', ID_EDIT_COPY},
        {ctrl, 'V', ID_EDIT_PASTE},        {FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO},
        {shift, VK_DELETE, ID_EDIT_CUT},   {ctrl, VK_INSERT, ID_EDIT_COPY},
        {shift, VK_INSERT, ID_EDIT_PASTE}, {FVIRTKEY, VK_F6, ID_NEXT_PANE},
        {shift, VK_F6, ID_PREV_PANE},
    };
}

std::map<unsigned, std::string> StringTable() {
    std::map<unsigned, std::string> strings{
        {IDR_MAINFRAME, "Velk\n\nVelk\n\n\nVelk.Document\nVelk Document"},
        {AFX_IDS_APP_TITLE, "Velk"},
        {AFX_IDS_IDLEMESSAGE, "Ready"},
        {ID_FILE_NEW, "Create a new document\nNew"},
        {ID_FILE_OPEN, "Open an existing document\nOpen"},
        {ID_FILE_CLOSE, "Close the active document\nClose"},
        {ID_FILE_SAVE, "Save the active document\nSave"},
        {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
        {ID_EDIT_CLEAR, "Erase the selection\nErase"},
        {ID_EDIT_CLEAR_ALL, "Erase everything\nErase All"},
        {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
        {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
        {ID_EDIT_FIND, "Find the specified text\nFind"},
        {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
        {ID_EDIT_REPEAT, "Repeat the last action\nRepeat"},
        {ID_EDIT_REPLACE, "Replace specific text with different text\nReplace"},
        {ID_EDIT_SELECT_ALL, "Select the entire document\nSelect All"},
        {ID_EDIT_UNDO, "Undo the last action\nUndo"},
        {ID_EDIT_REDO, "Redo the previously undone action\nRedo"},
        {ID_WINDOW_SPLIT, "Split the active window into panes\nSplit"},
        {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
        {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
        {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
        {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
        {ID_INDICATOR_EXT, "EXT"},
        {ID_INDICATOR_CAPS, "CAP"},
        {ID_INDICATOR_NUM, "NUM"},
        {ID_INDICATOR_SCRL, "SCRL"},
        {ID_INDICATOR_OVR, "OVR"},
        {ID_INDICATOR_REC, "REC"},
        {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
        {AFX_IDS_SCSIZE, "Change the window size"},
        {AFX_IDS_SCMOVE, "Change the window position"},
        {AFX_IDS_SCMINIMIZE, "Reduce the window to an icon"},
        {AFX_IDS_SCMAXIMIZE, "Enlarge the window to full size"},
        {AFX_IDS_SCNEXTWINDOW, "Switch to the next document window"},
        {AFX_IDS_SCPREVWINDOW, "Switch to the previous document window"},
        {AFX_IDS_SCCLOSE, "Close the active window and prompts to save the documents"},
        {AFX_IDS_SCRESTORE, "Restore the window to normal size"},
        {AFX_IDS_SCTASKLIST, "Activate Task List"},
    };
    for (unsigned id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE16; ++id) {
        strings[id] = "Open this document";
    }
    return strings;
}

DialogTemplate AboutDialog() {
    using Kind = DialogControl::Kind;
    return {
        217,
        55,
        DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        "About Velk",
        "MS Sans Serif",
        8,
        {
            {Kind::Static, IDC_STATIC, 40, 10, 119, 8, SS_LEFT | SS_NOPREFIX | WS_GROUP,
             velk::kTitleLine},
            {Kind::Static, IDC_STATIC, 40, 25, 119, 8, SS_LEFT | WS_GROUP, velk::kCopyright},
            {Kind::Button, IDOK, 178, 7, 32, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, "OK"},
            {Kind::Icon, IDC_STATIC, 13, 18, 21, 20, SS_ICON, std::to_string(IDR_MAINFRAME)},
        },
    };
}

VersionRecord Version() {
    VersionRecord version;
    std::uint16_t numbers[4] = {1, 0, 0, 1};
    std::copy(std::begin(numbers), std::end(numbers), version.fileVersion);
    std::copy(std::begin(numbers), std::end(numbers), version.productVersion);
    version.fileFlagsMask = 0x3F;
    version.fileFlags = 0;
    version.language = 0x0409;
    version.codePage = 1200;
    version.strings = {
        {"Comments", ""},
        {"CompanyName", ""},
        {"FileDescription", "Velk MFC Application"},
        {"FileVersion", "1, 0, 0, 1"},
        {"InternalName", "Velk"},
        {"LegalCopyright", velk::kCopyright},
        {"LegalTrademarks", ""},
        {"OriginalFilename", "Velk.EXE"},
        {"PrivateBuild", ""},
        {"ProductName", "Velk Application"},
        {"ProductVersion", "1, 0, 0, 1"},
        {"SpecialBuild", ""},
    };
    return version;
}

ResourceSet MakeResources() {
    ResourceSet resources;
    resources.menus[IDR_MAINFRAME] = MainMenu();
    resources.accelerators[IDR_MAINFRAME] = MainAccelerators();
    resources.strings = StringTable();
    resources.dialogs[IDD_ABOUTBOX] = AboutDialog();
    resources.icons[IDR_MAINFRAME] = {{32, 32, icon_files::Velk32()},
                                      {16, 16, icon_files::Velk16()}};
    resources.icons[IDR_VELKTYPE] = {{32, 32, icon_files::VelkDocument32()},
                                     {16, 16, icon_files::VelkDocument16()}};
    resources.version = Version();
    return resources;
}

}  // namespace

const ResourceSet& VelkResources() {
    // Made on first use, so the application object may ask for it during static initialisation.
    static const ResourceSet resources = MakeResources();
    return resources;
}
