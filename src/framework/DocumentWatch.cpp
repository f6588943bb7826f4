#include "framework/DocumentWatch.h"

#include <filesystem>
#include <utility>

#include "framework/Backend.h"
#include "framework/CDocument.h"

DocumentWatch::DocumentWatch(std::function<CDocument*()> document, UserDialogs& dialogs,
                             Status status, const MakeWatcher& makeWatcher)
    : document_(std::move(document)), dialogs_(dialogs), status_(std::move(status)) {
    watcher_ = makeWatcher([this] { OnChanged(); });
}

DocumentWatch::~DocumentWatch() = default;

void DocumentWatch::Follow() {
    CDocument* document = document_();
    const std::string path = document != nullptr ? document->GetPathName() : std::string();
    if (watcher_ != nullptr && path != watched_) {
        watched_ = path;
        watcher_->Watch(path);
    }
    // A file rewritten in place may send its last signal while the reload still reads it, so
    // the watch looks again by itself until the file reads whole.
    if (document != nullptr && !handling_ && !path.empty() && document->MayReloadNow()) {
        OnChanged();
    }
}

void DocumentWatch::OnChanged() {
    CDocument* document = document_();
    // A question still open when the file changes again answers for both.
    if (document == nullptr || handling_ || document->GetPathName().empty()) {
        return;
    }
    struct Handling {
        explicit Handling(bool& flag) : flag(flag) { flag = true; }
        ~Handling() { flag = false; }
        Handling(const Handling&) = delete;
        Handling& operator=(const Handling&) = delete;
        bool& flag;
    } handling(handling_);
    const std::string name = std::filesystem::path(document->GetPathName()).filename().string();
    // After a reload that could not take the file, the content is marked modified only by
    // that: reading the file again, whatever it now holds, loses nothing of the person's.
    const bool retry = document->IsReloadPending();
    if (!retry) {
        const std::string change = document->DiskChange();
        if (change.empty() ||
            (document->IsModified() &&
             !dialogs_.AskReloadChanged("\"" + document->GetPathName() + "\" " + change +
                                        ". Reload it and lose the changes made here, or keep "
                                        "this version (a save will ask before writing over the "
                                        "file)?"))) {
            return;
        }
    }
    std::string why;
    if (document->ReloadFromDisk(why)) {
        status_(name + " was changed on disk and has been reloaded");
    } else if (!retry) {
        // Said once: the tries that follow are the watch's own business.
        dialogs_.ShowMessage("\"" + document->GetPathName() + "\" was changed on disk but " +
                                 "was not reloaded: " + why +
                                 ". What was open is kept, marked as changed, until the file " +
                                 "reads whole.",
                             MessageKind::warning);
    }
}
