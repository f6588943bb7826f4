#include "framework/DocumentWatch.h"

#include <filesystem>
#include <utility>

#include "framework/AppServices.h"
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
}

void DocumentWatch::OnChanged() {
    CDocument* document = document_();
    // A question still open when the file changes again answers for both.
    if (document == nullptr || handling_ || document->GetPathName().empty()) {
        return;
    }
    handling_ = true;
    const std::string change = document->DiskChange();
    const std::string name = std::filesystem::path(document->GetPathName()).filename().string();
    if (!change.empty() &&
        (!document->IsModified() ||
         dialogs_.AskReloadChanged("\"" + document->GetPathName() + "\" " + change +
                                   ". Reload it and lose the changes made here, or keep this "
                                   "version (a save will ask before writing over the file)?"))) {
        std::string why;
        if (document->ReloadFromDisk(why)) {
            status_(name + " was changed on disk and has been reloaded");
        } else {
            dialogs_.ShowMessage("\"" + document->GetPathName() + "\" was changed on disk but " +
                                     "was not reloaded: " + why +
                                     ". What was open is kept, marked as changed.",
                                 MessageKind::warning);
        }
    }
    handling_ = false;
}
