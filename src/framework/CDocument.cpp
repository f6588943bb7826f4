#include "framework/CDocument.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <system_error>

#include "framework/AfxIds.h"
#include "framework/CArchive.h"
#include "framework/CDocTemplate.h"
#include "framework/CFileException.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"

namespace {

std::string Absolute(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

}  // namespace

CDocument::CDocument() : title_("Untitled") {
    // A command's failure has been told to the person; there is no one else to answer.
    OnCommand(afx::ID_FILE_SAVE, [this] { static_cast<void>(DoFileSave()); });
    OnCommand(afx::ID_FILE_SAVE_AS, [this] { static_cast<void>(DoSave("")); });
}

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

void CDocument::DeleteContents() {}

void CDocument::SetPathName(const std::string& path, bool addToRecentFiles) {
    pathName_ = Absolute(path);
    SetTitle(std::filesystem::path(pathName_).filename().string());
    if (addToRecentFiles && docTemplate_ != nullptr && docTemplate_->GetApp() != nullptr) {
        docTemplate_->GetApp()->AddToRecentFileList(pathName_);
    }
}

void CDocument::SetTitle(const std::string& title) {
    title_ = title;
    TitleChanged();
}

void CDocument::Tell(const std::string& text, MessageKind kind) const {
    if (dialogs_ != nullptr) {
        dialogs_->ShowMessage(text, kind);
    }
}

bool CDocument::OnOpenDocument(const std::string& path) {
    lastOpenTouched_ = false;
    try {
        CArchive archive(path, CArchive::load);
        // From here on the content no longer matches any file until the load completes; a
        // load that fails leaves the document modified, and the template replaces it.
        lastOpenTouched_ = true;
        DeleteContents();
        SetModifiedFlag(true);
        Serialize(archive);
        archive.Close();
    } catch (const std::exception& error) {
        SetModifiedFlag(lastOpenTouched_ || IsModified());
        Tell(error.what(), MessageKind::error);
        return false;
    }
    LoadVerdict verdict = docTemplate_ != nullptr ? docTemplate_->JudgeLoad(*this) : LoadVerdict{};
    if (verdict.kind == LoadVerdict::Kind::refused) {
        SetModifiedFlag(true);
        Tell("Cannot open " + Quoted(path) + ": " + verdict.detail, MessageKind::error);
        return false;
    }
    SetModifiedFlag(false);
    if (verdict.kind == LoadVerdict::Kind::partial) {
        Tell(Quoted(path) + " was read only up to " + verdict.detail +
                 ". What was read is open; saving will replace the file with it.",
             MessageKind::warning);
    } else if (verdict.kind == LoadVerdict::Kind::skippedText) {
        Tell(Quoted(path) + " was read to the end, but " + verdict.detail +
                 ". Saving will replace the file with what was understood.",
             MessageKind::warning);
    }
    return true;
}

bool CDocument::OnSaveDocument(const std::string& path) {
    lastSaveError_ = 0;
    try {
        CArchive archive(path, CArchive::store);
        Serialize(archive);
        archive.Close();
    } catch (const CFileException& error) {
        lastSaveError_ = error.GetError();
        Tell(error.what(), MessageKind::error);
        return false;
    } catch (const std::exception& error) {
        Tell(error.what(), MessageKind::error);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::DoSave(const std::string& path, bool replace) {
    std::string target = path;
    if (target.empty()) {
        if (dialogs_ == nullptr) {
            return false;
        }
        std::optional<std::string> chosen =
            dialogs_->AskSavePath(replace ? "Save As" : "Save Copy As", title_);
        if (!chosen || chosen->empty()) {
            return false;
        }
        target = *chosen;
    }
    if (!OnSaveDocument(target)) {
        return false;
    }
    if (replace) {
        SetPathName(target);
    }
    return true;
}

bool CDocument::DoFileSave() {
    if (DoSave(pathName_)) {
        return true;
    }
    // A file that may not be written is not saved over; the person may choose another name.
    const bool refused =
        lastSaveError_ == EACCES || lastSaveError_ == EPERM || lastSaveError_ == EROFS;
    return refused && !pathName_.empty() && DoSave("");
}

bool CDocument::SaveModified() {
    if (!IsModified()) {
        return true;
    }
    if (dialogs_ == nullptr) {
        return true;
    }
    switch (dialogs_->AskSaveChanges(pathName_.empty() ? title_ : pathName_)) {
        case SaveChoice::cancel:
            return false;
        case SaveChoice::discard:
            return true;
        case SaveChoice::save:
            break;
    }
    return DoFileSave();
}

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
