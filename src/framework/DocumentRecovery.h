#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "files/RecoveryStore.h"

class CDocument;
class UserDialogs;

/// Keeps a recovery copy of the open document while it has unsaved changes, and offers the
/// copies of killed runs at start. The copy is the text a save would write, made
/// from the document as it is at a tick, in a forked writer or, where there is no fork, on a
/// writer thread from the document's snapshot (see RecoveryStore::Keep), so the interface does
/// not wait for the text of a large document nor for the disk.
class DocumentRecovery {
public:
    /// At most one copy per period while changes continue.
    static constexpr std::uint32_t kPeriodMs = 30000;

    /// A sentence for the person when copies cannot be kept.
    using Warn = std::function<void(const std::string&)>;

    /// document answers the open document, or null; the store keeps the copies; warn tells
    /// the person, once, that copies cannot be kept (and once more after they could again).
    DocumentRecovery(std::function<CDocument*()> document, std::unique_ptr<RecoveryStore> store,
                     Warn warn = {});
    /// A clean end: the copy goes.
    ~DocumentRecovery();

    /// Run every period: a copy when the document changed since the last one.
    void Tick();
    /// Offers each copy of a run that is gone: restore opens it through open (which answers
    /// the document holding it, or null), bound to its file and modified; discard deletes
    /// it; later keeps it. The text of each question names the file and the copy's time.
    void OfferOrphans(UserDialogs& dialogs,
                      const std::function<CDocument*(const std::string& copy)>& open);

    RecoveryStore& Store() { return *store_; }

private:
    void Follow(CDocument* document);
    /// Starts a copy of the document as it is now; false when the store cannot keep one.
    bool KeepNow(CDocument* document);
    /// Tells the person why copies are not kept, unless told already.
    void WarnOnce();

    Warn warn_;
    bool warned_ = false;

    std::function<CDocument*()> document_;
    std::unique_ptr<RecoveryStore> store_;
    CDocument* followed_ = nullptr;
    std::uint64_t keptChange_ = 0;
};
