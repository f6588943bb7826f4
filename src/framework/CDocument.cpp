#include "framework/CDocument.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

#include "files/FileTools.h"
#include "framework/AfxIds.h"
#include "framework/CArchive.h"
#include "framework/CDocTemplate.h"
#include "framework/CFileException.h"
#include "framework/CFrameWnd.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/DialogProgress.h"
#include "framework/PrintableName.h"

namespace {

std::string Quoted(const std::string& path) {
    return PrintableName(path);
}

/// A cancel is the person's own choice, not a fault to alarm them with.
MessageKind KindOf(const std::exception& error) {
    const auto* fileError = dynamic_cast<const CFileException*>(&error);
    return fileError != nullptr && fileError->GetError() == ECANCELED ? MessageKind::information
                                                                      : MessageKind::error;
}

}  // namespace

CDocument::CDocument() : title_("Untitled"), progressDelay_(DelayedProgress::kDefaultDelay) {
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
    lastFileSize_ = 0;
    return true;
}

void CDocument::Serialize(CArchive& /*archive*/) {}

void CDocument::DeleteContents() {}

std::string CDocument::DescribeContent() const {
    return {};
}

void CDocument::TellOutcome(const std::string& done, double seconds) const {
    CWinApp* app = docTemplate_ != nullptr ? docTemplate_->GetApp() : nullptr;
    CFrameWnd* frame = app != nullptr ? app->GetMainWnd() : nullptr;
    if (frame == nullptr || seconds < progressDelay_) {
        return;
    }
    const std::string content = DescribeContent();
    frame->SetMessageText(done + (content.empty() ? "" : ": " + content) + " in " +
                          DescribeSeconds(seconds));
}

void CDocument::SetPathName(const std::string& path, bool addToRecentFiles) {
    pathName_ = AbsolutePath(path);
    SetTitle(PrintableText(FileNameOf(pathName_)));
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
    DialogProgress progress(dialogs_, "Opening", "Opening " + Quoted(path), progressDelay_);
    std::uint64_t size = 0;
    try {
        CArchive archive(path, CArchive::load);
        archive.SetProgressObserver(&progress);
        // From here on the content no longer matches any file until the load completes; a
        // load that fails leaves the document modified, and the template replaces it.
        lastOpenTouched_ = true;
        DeleteContents();
        SetModifiedFlag(true);
        Serialize(archive);
        archive.Close();
        size = archive.GetSize();
    } catch (const std::exception& error) {
        progress.Close();
        SetModifiedFlag(lastOpenTouched_ || IsModified());
        Tell(error.what(), KindOf(error));
        return false;
    }
    progress.Close();
    LoadVerdict verdict = docTemplate_ != nullptr ? docTemplate_->JudgeLoad(*this) : LoadVerdict{};
    if (verdict.kind == LoadVerdict::Kind::refused) {
        SetModifiedFlag(true);
        Tell("Cannot open " + Quoted(path) + ": " + verdict.detail, MessageKind::error);
        return false;
    }
    SetModifiedFlag(false);
    lastFileSize_ = size;
    diskStamp_ = FileStamp::Of(path);
    // The title is still the previous file's until the template takes the new path.
    TellOutcome("Opened " + std::filesystem::path(path).filename().string(),
                progress.ElapsedSeconds());
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
    DialogProgress progress(dialogs_, "Saving", "Saving " + Quoted(path), progressDelay_);
    std::uint64_t size = 0;
    lastSaveError_ = 0;
    try {
        CArchive archive(path, CArchive::store);
        archive.SetExpectedSize(lastFileSize_);
        archive.SetProgressObserver(&progress);
        Serialize(archive);
        size = archive.GetPosition();
        archive.Close();
    } catch (const CFileException& error) {
        progress.Close();
        lastSaveError_ = error.GetError();
        Tell(error.what(), KindOf(error));
        return false;
    } catch (const std::exception& error) {
        progress.Close();
        Tell(error.what(), KindOf(error));
        return false;
    }
    progress.Close();
    SetModifiedFlag(false);
    lastFileSize_ = size;
    TellOutcome("Saved " + std::filesystem::path(path).filename().string(),
                progress.ElapsedSeconds());
    return true;
}

bool CDocument::DoSave(const std::string& path, bool replace) {
    lastSaveError_ = 0;
    if (replace && !path.empty() && path == pathName_) {
        switch (CheckOwnFile()) {
            case ChangedFileChoice::overwrite:
                break;
            case ChangedFileChoice::saveAs:
                return DoSave("");
            case ChangedFileChoice::cancel:
                return false;
        }
    }
    std::string target = path;
    if (target.empty()) {
        if (dialogs_ == nullptr) {
            return false;
        }
        // A document with a file proposes that file, folder and all, so that accepting the
        // dialog saves it where it came from; a new one proposes its title.
        std::optional<std::string> chosen = dialogs_->AskSavePath(
            replace ? "Save As" : "Save Copy As", pathName_.empty() ? title_ : pathName_);
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
        diskStamp_ = FileStamp::Of(target);
    }
    return true;
}

ChangedFileChoice CDocument::CheckOwnFile() const {
    if (!diskStamp_.exists) {
        return ChangedFileChoice::overwrite;  // nothing known to compare with
    }
    const std::string change = diskStamp_.ChangeTo(FileStamp::Of(pathName_));
    if (change.empty()) {
        return ChangedFileChoice::overwrite;
    }
    if (dialogs_ == nullptr) {
        return ChangedFileChoice::cancel;
    }
    return dialogs_->AskChangedFile(
        Quoted(pathName_) + " " + change +
        " since it was opened or saved here. Overwrite it, save under another name, or cancel?");
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

std::string CDocument::DiskChange() const {
    return diskStamp_.exists && !pathName_.empty() ? diskStamp_.ChangeTo(FileStamp::Of(pathName_))
                                                   : std::string();
}

bool CDocument::ReloadFromDisk(std::string& why) {
    std::string kept;
    try {
        CArchive store = CArchive::ToMemory(kept);
        Serialize(store);
        store.Close();
    } catch (const std::exception& error) {
        why = error.what();
        return false;
    }
    const FileStamp keptStamp = diskStamp_;
    UserDialogs* dialogs = std::exchange(dialogs_, nullptr);
    const bool opened = OnOpenDocument(pathName_);
    dialogs_ = dialogs;
    const LoadVerdict verdict =
        opened && docTemplate_ != nullptr ? docTemplate_->JudgeLoad(*this) : LoadVerdict{};
    if (opened && verdict.kind == LoadVerdict::Kind::complete) {
        UpdateAllViews(nullptr);
        return true;
    }
    why = !opened ? "it cannot be read as a whole any more"
          : verdict.kind == LoadVerdict::Kind::partial
              ? "it could be read only up to " + verdict.detail
              : "it was read to the end, but " + verdict.detail;
    try {
        CArchive load = CArchive::FromMemory(std::move(kept));
        DeleteContents();
        Serialize(load);
        load.Close();
    } catch (const std::exception&) {
    }
    // The file still holds what nobody here has seen: a save asks before writing over it.
    diskStamp_ = keptStamp;
    SetModifiedFlag(true);
    UpdateAllViews(nullptr);
    return false;
}
