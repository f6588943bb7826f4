#include "framework/CDocument.h"

#include <algorithm>

#include "framework/CView.h"

CDocument::~CDocument() {
    for (CView* view : views_) {
        view->document_ = nullptr;
    }
}

bool CDocument::OnNewDocument() {
    if (!CanStartNewDocument()) {
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDocument::Serialize(CArchive& /*archive*/) {}

bool CDocument::CanStartNewDocument() {
    return true;
}

void CDocument::AddView(CView* view) {
    if (view->document_ == this) {
        return;
    }
    if (view->document_ != nullptr) {
        view->document_->RemoveView(view);
    }
    views_.push_back(view);
    view->document_ = this;
}

void CDocument::RemoveView(CView* view) {
    auto found = std::find(views_.begin(), views_.end(), view);
    if (found == views_.end()) {
        return;
    }
    views_.erase(found);
    view->document_ = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, long hint, CObject* hintObject) {
    // Indexed, so a view that detaches a view while it updates cannot invalidate the walk.
    for (std::size_t i = 0; i < views_.size(); ++i) {
        CView* view = views_[i];
        if (view != sender) {
            view->OnUpdate(sender, hint, hintObject);
        }
    }
}
