#include "framework/CView.h"

#include "framework/CDocument.h"

CView::~CView() {
    if (document_ != nullptr) {
        document_->RemoveView(this);
    }
}

void CView::OnUpdate(CView* /*sender*/, long /*hint*/, CObject* /*hintObject*/) {}
