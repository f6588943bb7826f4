#include "framework/CSingleDocTemplate.h"

#include "framework/CView.h"
#include "framework/CWinApp.h"

CSingleDocTemplate::~CSingleDocTemplate() {
    CloseAllDocuments();
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const std::string& path, bool makeVisible) {
    bool documentMadeHere = false;
    if (document_ != nullptr) {
        if (!document_->SaveModified()) {
            return nullptr;
        }
    } else {
        document_ = CreateNewDocument();
        if (document_ == nullptr) {
            return nullptr;
        }
        documentMadeHere = true;
        document_->SetTitleObserver([this] {
            if (frame_ != nullptr) {
                frame_->OnUpdateFrameTitle();
            }
        });
    }

    bool frameMadeHere = false;
    if (frame_ == nullptr) {
        frame_ = CreateNewFrame(document_.get());
        if (frame_ == nullptr) {
            DiscardNewFrame(documentMadeHere);
            return nullptr;
        }
        frameMadeHere = true;
        if (GetApp() != nullptr && GetApp()->GetMainWnd() == nullptr) {
            GetApp()->SetMainWnd(frame_.get());
        }
    }

    if (path.empty()) {
        SetDefaultTitle(document_.get());
        document_->ClearPathName();
        if (!document_->OnNewDocument()) {
            if (frameMadeHere) {
                DiscardNewFrame(documentMadeHere);
            }
            return nullptr;
        }
    } else {
        if (!document_->OnOpenDocument(path)) {
            if (frameMadeHere) {
                DiscardNewFrame(documentMadeHere);
            } else if (document_->LastOpenTouchedContent()) {
                FallBackToNewDocument();
            }
            return nullptr;
        }
        document_->SetPathName(path);
    }
    frame_->InitialUpdateFrame(document_.get(), makeVisible);
    return document_.get();
}

void CSingleDocTemplate::DiscardNewFrame(bool documentMadeHere) {
    if (GetApp() != nullptr && GetApp()->GetMainWnd() == frame_.get()) {
        GetApp()->SetMainWnd(nullptr);
    }
    frame_.reset();
    if (documentMadeHere) {
        document_.reset();
    }
}

void CSingleDocTemplate::FallBackToNewDocument() {
    SetDefaultTitle(document_.get());
    document_->ClearPathName();
    // A document that cannot even start afresh is at least not tied to the failed file, and
    // stays modified, so closing asks before its content goes.
    if (document_->OnNewDocument()) {
        document_->UpdateAllViews(nullptr);
    }
    frame_->InitialUpdateFrame(document_.get(), true);
}

bool CSingleDocTemplate::SaveAllModified() {
    return document_ == nullptr || document_->SaveModified();
}

void CSingleDocTemplate::CloseAllDocuments() {
    if (frame_ != nullptr && GetApp() != nullptr && GetApp()->GetMainWnd() == frame_.get()) {
        GetApp()->SetMainWnd(nullptr);
    }
    frame_.reset();
    document_.reset();
}
