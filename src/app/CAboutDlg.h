#pragma once

#include "framework/CDialog.h"

/// The About box, dialog 100: the title line, the copyright notice, the icon and OK.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
