#include "framework/CClientDC.h"

#include "framework/Backend.h"
#include "framework/CWnd.h"

CClientDC::CClientDC(CWnd* window) : window_(window) {
    CreateCompatibleDC(nullptr);
    if (window_ != nullptr && window_->GetHost() != nullptr) {
        SelectObject(&window_->GetHost()->GetClientPixels());
    }
}

CClientDC::~CClientDC() {
    SelectObject(static_cast<CBitmap*>(nullptr));
    DeleteDC();
}
