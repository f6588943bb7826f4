#include "app/CMainFrame.h"

#include "framework/AfxIds.h"

IMPLEMENT_DYNCREATE(CMainFrame)

namespace {

constexpr unsigned kIndicators[] = {
    afx::ID_SEPARATOR,  // the message pane
    afx::ID_INDICATOR_CAPS,
    afx::ID_INDICATOR_NUM,
    afx::ID_INDICATOR_SCRL,
};

}  // namespace

bool CMainFrame::PreCreateWindow() {
    return CFrameWnd::PreCreateWindow();
}

int CMainFrame::OnCreate() {
    if (CFrameWnd::OnCreate() == -1) {
        return -1;
    }
    if (!statusBar.Create(this, afx::WS_CHILD | afx::WS_VISIBLE | afx::CBRS_BOTTOM,
                          afx::AFX_IDW_STATUS_BAR)) {
        return -1;
    }
    if (!statusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators)))) {
        return -1;
    }
    return 0;
}
