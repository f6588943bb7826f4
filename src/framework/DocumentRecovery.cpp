#include "framework/DocumentRecovery.h"

#include <utility>

#include "framework/AppServices.h"
#include "framework/CArchive.h"
#include "framework/CDocument.h"
#include "framework/FileStamp.h"

DocumentRecovery::DocumentRecovery(std::function<CDocument*()> document,
                                   std::unique_ptr<RecoveryStore> store)
    : document_(std::move(document)), store_(std::move(store)) {}

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
    keptChange_ = document->GetChangeCount();
    // The text is made in the writer, from the document as it is at this moment.
    store_->Keep(
        [document] {
            std::string text;
            CArchive archive = CArchive::ToMemory(text);
            document->Serialize(archive);
            archive.Close();
            return text;
        },
        document->GetPathName());
}

void DocumentRecovery::OfferOrphans(
    UserDialogs& dialogs, const std::function<CDocument*(const std::string& copy)>& open) {
    for (const RecoveryStore::Orphan& orphan : store_->TakeOrphans()) {
        const std::string name =
            orphan.file.empty() ? "an untitled document" : "\"" + orphan.file + "\"";
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
                    document->RememberDiskState();
                    document->SetModifiedFlag(true);
                    // The restored work is this run's to keep from now on.
                    Tick();
                    store_->Wait();
                    store_->Discard(orphan);
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
