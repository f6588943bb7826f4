#pragma once

/// The framework's standard identifiers: commands, strings, indicator panes, windows, dialog
/// buttons, accelerator flags and virtual keys. Resources and handlers refer to them by name.
namespace afx {

// Commands, which are also the numbers of their prompt strings.
inline constexpr unsigned ID_SEPARATOR = 0;
inline constexpr unsigned ID_FILE_NEW = 0xE100;
inline constexpr unsigned ID_FILE_OPEN = 0xE101;
inline constexpr unsigned ID_FILE_CLOSE = 0xE102;
inline constexpr unsigned ID_FILE_SAVE = 0xE103;
inline constexpr unsigned ID_FILE_SAVE_AS = 0xE104;
inline constexpr unsigned ID_FILE_MRU_FILE1 = 0xE110;
inline constexpr unsigned ID_FILE_MRU_FILE16 = 0xE11F;
inline constexpr unsigned ID_EDIT_CLEAR = 0xE120;
inline constexpr unsigned ID_EDIT_CLEAR_ALL = 0xE121;
inline constexpr unsigned ID_EDIT_COPY = 0xE122;
inline constexpr unsigned ID_EDIT_CUT = 0xE123;
inline constexpr unsigned ID_EDIT_FIND = 0xE124;
inline constexpr unsigned ID_EDIT_PASTE = 0xE125;
inline constexpr unsigned ID_EDIT_REPEAT = 0xE128;
inline constexpr unsigned ID_EDIT_REPLACE = 0xE129;
inline constexpr unsigned ID_EDIT_SELECT_ALL = 0xE12A;
inline constexpr unsigned ID_EDIT_UNDO = 0xE12B;
inline constexpr unsigned ID_EDIT_REDO = 0xE12C;
inline constexpr unsigned ID_WINDOW_SPLIT = 0xE135;
inline constexpr unsigned ID_APP_ABOUT = 0xE140;
inline constexpr unsigned ID_APP_EXIT = 0xE141;
inline constexpr unsigned ID_NEXT_PANE = 0xE150;
inline constexpr unsigned ID_PREV_PANE = 0xE151;
inline constexpr unsigned ID_VIEW_STATUS_BAR = 0xE801;

// Indicator panes of the status bar; their texts are the strings of the same numbers.
inline constexpr unsigned ID_INDICATOR_EXT = 0xE700;
inline constexpr unsigned ID_INDICATOR_CAPS = 0xE701;
inline constexpr unsigned ID_INDICATOR_NUM = 0xE702;
inline constexpr unsigned ID_INDICATOR_SCRL = 0xE703;
inline constexpr unsigned ID_INDICATOR_OVR = 0xE704;
inline constexpr unsigned ID_INDICATOR_REC = 0xE705;

// Strings.
inline constexpr unsigned AFX_IDS_APP_TITLE = 0xE000;
inline constexpr unsigned AFX_IDS_IDLEMESSAGE = 0xE001;
inline constexpr unsigned AFX_IDS_SCSIZE = 0xEF00;
inline constexpr unsigned AFX_IDS_SCMOVE = 0xEF01;
inline constexpr unsigned AFX_IDS_SCMINIMIZE = 0xEF02;
inline constexpr unsigned AFX_IDS_SCMAXIMIZE = 0xEF03;
inline constexpr unsigned AFX_IDS_SCNEXTWINDOW = 0xEF04;
inline constexpr unsigned AFX_IDS_SCPREVWINDOW = 0xEF05;
inline constexpr unsigned AFX_IDS_SCCLOSE = 0xEF06;
inline constexpr unsigned AFX_IDS_SCRESTORE = 0xEF12;
inline constexpr unsigned AFX_IDS_SCTASKLIST = 0xEF13;

// Child windows.
inline constexpr unsigned AFX_IDW_STATUS_BAR = 0xE801;
inline constexpr unsigned AFX_IDW_PANE_FIRST = 0xE900;

// Dialog results and buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_STATIC = -1;

// Window and control styles the resources use.
inline constexpr unsigned long WS_POPUP = 0x80000000UL;
inline constexpr unsigned long WS_CHILD = 0x40000000UL;
inline constexpr unsigned long WS_VISIBLE = 0x10000000UL;
inline constexpr unsigned long WS_CAPTION = 0x00C00000UL;
inline constexpr unsigned long WS_SYSMENU = 0x00080000UL;
inline constexpr unsigned long WS_GROUP = 0x00020000UL;
inline constexpr unsigned long WS_TABSTOP = 0x00010000UL;
inline constexpr unsigned long DS_SETFONT = 0x40UL;
inline constexpr unsigned long DS_MODALFRAME = 0x80UL;
inline constexpr unsigned long SS_LEFT = 0x0UL;
inline constexpr unsigned long SS_ICON = 0x3UL;
inline constexpr unsigned long SS_NOPREFIX = 0x80UL;
inline constexpr unsigned long BS_DEFPUSHBUTTON = 0x1UL;
inline constexpr unsigned long CBRS_BOTTOM = 0x8000UL | 0x0200UL;  // aligned bottom, bordered top

// Accelerator flags.
inline constexpr unsigned FVIRTKEY = 0x01;
inline constexpr unsigned FSHIFT = 0x04;
inline constexpr unsigned FCONTROL = 0x08;
inline constexpr unsigned FALT = 0x10;

// Virtual keys besides letters and digits, which are their upper-case characters.
inline constexpr unsigned VK_BACK = 0x08;
inline constexpr unsigned VK_INSERT = 0x2D;
inline constexpr unsigned VK_DELETE = 0x2E;
inline constexpr unsigned VK_F1 = 0x70;
inline constexpr unsigned VK_F6 = 0x75;
inline constexpr unsigned VK_F12 = 0x7B;

// ShowWindow.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOW = 5;

}  // namespace afx
