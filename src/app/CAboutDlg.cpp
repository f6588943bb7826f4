#include "app/CAboutDlg.h"

#include "app/ResourceIds.h"

CAboutDlg::CAboutDlg() : CDialog(velk::IDD_ABOUTBOX) {}
