#include "framework/CView.h"

#include "framework/CDocument.h"
#include "framework/CPaintDC.h"

CView::~CView() {
    if (document_ != nullptr) {
        document_->RemoveView(this);
    }
}

void CView::OnUpdate(CView* /*sender*/, long /*hint*/, CObject* /*hintObject*/) {
    Invalidate();
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnDraw(CDC* /*surface*/) {}

void CView::OnPrepareDC(CDC* /*surface*/) {}

void CView::OnPaint() {
    CPaintDC surface(this);
    OnPrepareDC(&surface);
    OnDraw(&surface);
}
