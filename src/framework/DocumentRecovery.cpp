#include "framework/DocumentRecovery.h"

#include <system_error>
#include <utility>

#include "files/FileStamp.h"
#include "framework/Backend.h"
#include "framework/CArchive.h"
#include "framework/CDocument.h"
#include "framework/PrintableName.h"

DocumentRecovery::DocumentRecovery(std::function<CDocument*()> document,
                                   std::unique_ptr<RecoveryStore> store, Warn warn)
    : warn_(std::move(warn)), document_(std::move(document)), store_(std::move(store)) {}

DocumentRecovery::~DocumentRecovery() {
    Follow(nullptr);
    store_->Remove();
}

void DocumentRecovery::Follow(CDocument* document) {
    if (document == followed_) {
        return;
    }
    if (followed_ != nullptr) {
        followed_->SetModifiedObserver(nullptr);
    }
    followed_ = document;
    if (document != nullptr) {
        // A save, or a world discarded for a new or opened one, clears the flag: the copy
        // then holds nothing worth keeping.
        document->SetModifiedObserver([this](bool modified) {
            if (!modified) {
                keptChange_ = followed_->GetChangeCount();
                store_->Remove();
            }
        });
    }
}

void DocumentRecovery::WarnOnce() {
    if (warned_ || !warn_) {
        return;
    }
    warned_ = true;
    const OsError problem = store_->Problem();
    warn_("Unsaved changes cannot be kept in recovery copies in " +
          PrintableName(store_->Folder()) +
          (problem != 0 ? ": " + std::generic_category().message(problem) : std::string()) +
          ". If the program ends unexpectedly, changes since the last save are lost; save "
          "often.");
}

bool DocumentRecovery::KeepNow(CDocument* document) {
    keptChange_ = document->GetChangeCount();
    // The text is made in the writer, from the document as it is at this moment: a forked
    // writer has its own image of it; a writer thread gets a copy, made here (TextSnapshot).
    return store_->Keep(
        [document] {
            std::string text;
            CArchive archive = CArchive::ToMemory(text);
            document->Serialize(archive);
            archive.Close();
            return text;
        },
        document->GetPathName(), document->GetDiskStamp(),
        [document] { return document->TextSnapshot(); });
}

void DocumentRecovery::Tick() {
    CDocument* document = document_();
    Follow(document);
    if (document == nullptr || !document->IsModified() ||
        document->GetChangeCount() == keptChange_) {
        return;
    }
    if (store_->Busy()) {
        return;  // the disk is slow: the next period takes the changes
    }
    if (store_->Problem() != 0) {
        WarnOnce();  // the last copy failed; this one may work, and is tried all the same
    } else {
        warned_ = false;
    }
    if (!KeepNow(document)) {
        WarnOnce();
    }
}

void DocumentRecovery::OfferOrphans(
    UserDialogs& dialogs, const std::function<CDocument*(const std::string& copy)>& open) {
    for (const RecoveryStore::Orphan& orphan : store_->TakeOrphans()) {
        const std::string name =
            orphan.file.empty() ? "an untitled document" : PrintableName(orphan.file);
        switch (dialogs.AskRecovery("Unsaved changes to " + name +
                                    " were kept in a recovery copy at " +
                                    LocalTimeText(orphan.seconds) +
                                    " before the program ended unexpectedly. Restore them?")) {
            case RecoveryChoice::restore:
                if (CDocument* document = open(orphan.copy)) {
                    if (orphan.file.empty()) {
                        document->ClearPathName();
                    } else {
                        document->SetPathName(orphan.file, false);
                    }
                    // The file as it was when the copy was taken: a change made by somebody
                    // else between the crash and now is then asked about before a save.
                    if (orphan.stamp.exists || orphan.file.empty()) {
                        document->RememberDiskState(orphan.stamp);
                    } else {
                        document->RememberDiskState();
                    }
                    document->SetModifiedFlag(true);
                    // The restored work is this run's to keep from now on; the old copy goes
                    // only once the new one is whole on disk.
                    Follow(document);
                    store_->Wait();
                    if (KeepNow(document) && store_->Wait()) {
                        store_->Discard(orphan);
                    } else {
                        store_->Release(orphan);
                        WarnOnce();
                    }
                } else {
                    store_->Release(orphan);
                }
                break;
            case RecoveryChoice::discard:
                store_->Discard(orphan);
                break;
            case RecoveryChoice::later:
                store_->Release(orphan);
                break;
        }
    }
}
