#include "framework/CPaintDC.h"

#include "framework/Backend.h"
#include "framework/CWnd.h"

CPaintDC::CPaintDC(CWnd* window) : host_(window != nullptr ? window->GetHost() : nullptr) {
    CreateCompatibleDC(nullptr);
    if (host_ != nullptr) {
        paintBox_ = host_->BeginPaint();
        SelectObject(&host_->GetClientPixels());
    }
    // The clip is set before any viewport origin, so it is in client pixels. An empty box
    // clips everything away.
    IntersectClipRect(&paintBox_);
}

CPaintDC::~CPaintDC() {
    SelectObject(static_cast<CBitmap*>(nullptr));
    DeleteDC();
    if (host_ != nullptr) {
        host_->EndPaint(paintBox_);
    }
}
