#include "framework/CDocument.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
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

std::function<std::string()> CDocument::TextSnapshot() {
    std::string text;
    CArchive archive = CArchive::ToMemory(text);
    Serialize(archive);
    archive.Close();
    return [text = std::move(text)] { return text; };
}

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
    const ReadOutcome outcome = ReadFile(path, false);
    if (outcome.end == ReadOutcome::End::cancelled) {
        // A cancel is the person's own choice; only content that could not be put back is news.
        if (lastOpenTouched_) {
            Tell("Opening " + Quoted(path) + " was cancelled, and what was open before could " +
                     "not be put back.",
                 MessageKind::warning);
        }
        return false;
    }
    if (outcome.end == ReadOutcome::End::failed) {
        Tell(outcome.why, MessageKind::error);
        return false;
    }
    // The title is still the previous file's until the template takes the new path.
    TellOutcome("Opened " + std::filesystem::path(path).filename().string(), outcome.seconds);
    if (outcome.verdict.kind == LoadVerdict::Kind::partial) {
        Tell(Quoted(path) + " was read only up to " + outcome.verdict.detail +
                 ". What was read is open; saving will replace the file with it.",
             MessageKind::warning);
    } else if (outcome.verdict.kind == LoadVerdict::Kind::skippedText) {
        Tell(Quoted(path) + " was read to the end, but " + outcome.verdict.detail +
                 ". Saving will replace the file with what was understood.",
             MessageKind::warning);
    }
    return true;
}

CDocument::ReadOutcome CDocument::ReadFile(const std::string& path, bool wholeOnly) {
    ReadOutcome outcome;
    lastOpenTouched_ = false;
    outcome.before = FileStamp::Glance(path);
    const bool wasModified = IsModified();
    const std::uint64_t sizeBefore = lastFileSize_;
    std::unique_ptr<ContentAside> aside;
    bool setAside = false;
    std::uint64_t size = 0;
    std::optional<FileStamp> readStamp;
    DialogProgress progress(dialogs_, "Opening", "Opening " + Quoted(path), progressDelay_);
    try {
        CArchive archive(path, CArchive::load);
        archive.SetProgressObserver(&progress);
        // Set aside only once the file could be opened: a missing file costs nothing.
        aside = SetContentAside();
        setAside = true;
        DeleteContents();
        SetModifiedFlag(true);
        Serialize(archive);
        archive.Close();
        size = archive.GetSize();
        readStamp = archive.GetReadStamp();
        outcome.verdict = docTemplate_ != nullptr ? docTemplate_->JudgeLoad(*this) : LoadVerdict{};
        const LoadVerdict::Kind kind = outcome.verdict.kind;
        if (kind == LoadVerdict::Kind::refused) {
            outcome.why = wholeOnly ? outcome.verdict.detail
                                    : "Cannot open " + Quoted(path) + ": " + outcome.verdict.detail;
        } else if (wholeOnly && kind == LoadVerdict::Kind::partial) {
            outcome.why = "it could be read only up to " + outcome.verdict.detail;
        } else if (wholeOnly && kind == LoadVerdict::Kind::skippedText) {
            outcome.why = "it was read to the end, but " + outcome.verdict.detail;
        } else if (wholeOnly && !FileStamp::Glance(path).LooksLike(outcome.before)) {
            // Rewritten in place while it was read: what was read may mix old and new text.
            outcome.why = "it was being changed while it was read";
        } else {
            outcome.end = ReadOutcome::End::taken;
        }
    } catch (const CFileException& error) {
        if (error.GetError() == ECANCELED) {
            outcome.end = ReadOutcome::End::cancelled;
        } else {
            outcome.why = wholeOnly ? "it cannot be read as a whole any more" : error.what();
        }
    } catch (const std::bad_alloc&) {
        outcome.why = wholeOnly ? "there is not enough memory to read it"
                                : "Cannot open " + Quoted(path) + ": not enough memory";
    } catch (const std::exception& error) {
        outcome.why = wholeOnly ? "it cannot be read as a whole any more" : error.what();
    }
    progress.Close();
    outcome.seconds = progress.ElapsedSeconds();
    if (outcome.end == ReadOutcome::End::taken) {
        SetModifiedFlag(false);
        lastFileSize_ = size;
        // Reading the file again to stamp it would hold the first paint of a large world
        // back by a second pass over every byte; the load saw them all already.
        diskStamp_ = readStamp.has_value() ? *readStamp : FileStamp::Of(path);
        reloadPending_ = false;
        return outcome;
    }
    if (setAside) {
        try {
            // What the failed load left goes first, which also frees its memory.
            PutContentBack(std::move(aside));
        } catch (const std::exception&) {
            lastOpenTouched_ = true;
        }
    }
    SetModifiedFlag(lastOpenTouched_ || wasModified);
    lastFileSize_ = sizeBefore;
    return outcome;
}

namespace {

/// The base's content aside: the text the document's Serialize stored.
class SavedText : public CDocument::ContentAside {
public:
    std::string text;
};

}  // namespace

std::unique_ptr<CDocument::ContentAside> CDocument::SetContentAside() {
    auto saved = std::make_unique<SavedText>();
    CArchive store = CArchive::ToMemory(saved->text);
    Serialize(store);
    store.Close();
    return saved;
}

void CDocument::PutContentBack(std::unique_ptr<ContentAside> content) {
    auto* saved = dynamic_cast<SavedText*>(content.get());
    if (saved == nullptr) {
        throw std::logic_error("the content set aside is not the document's own");
    }
    CArchive load = CArchive::FromMemory(std::move(saved->text));
    DeleteContents();
    Serialize(load);
    load.Close();
    UpdateAllViews(nullptr);
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
    reloadPending_ = false;
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
    // Quietly: no progress and no message from the read itself; the caller tells the outcome.
    UserDialogs* dialogs = std::exchange(dialogs_, nullptr);
    const ReadOutcome outcome = ReadFile(pathName_, true);
    dialogs_ = dialogs;
    if (outcome.end == ReadOutcome::End::taken) {
        UpdateAllViews(nullptr);
        return true;
    }
    why = outcome.end == ReadOutcome::End::cancelled ? "reading it was cancelled" : outcome.why;
    // The file still holds what nobody here has seen: a save asks before writing over it, and
    // the reload waits for the file to change again, perhaps to be whole then.
    SetModifiedFlag(true);
    reloadPending_ = true;
    pendingChange_ = changeCount_;
    pendingGlance_ = outcome.before;
    return false;
}

bool CDocument::MayReloadNow() const {
    return IsReloadPending() && !FileStamp::Glance(pathName_).LooksLike(pendingGlance_);
}
