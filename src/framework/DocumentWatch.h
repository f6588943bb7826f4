#pragma once

#include <functional>
#include <memory>
#include <string>

#include "files/FileWatcher.h"

class CDocument;
class UserDialogs;

/// Follows the open document's file on disk. When somebody else changes it, an unmodified
/// document is read again and the status bar says so; a modified one asks first. A file that
/// would not read completely is not taken: a message says why and the content stays. The
/// program's own saves leave the file as the document remembers it, so they are not changes.
/// A reload that could not take the file (caught half written, say) is tried again at the next
/// signal, or at the next Follow once the file looks different, for as long as the document
/// has no changes of its own; it then goes without asking.
class DocumentWatch {
public:
    using Status = std::function<void(const std::string&)>;
    using MakeWatcher = std::function<std::unique_ptr<FileWatcher>(std::function<void()> changed)>;

    /// document answers the open document, or null; status shows a line in the status bar.
    DocumentWatch(std::function<CDocument*()> document, UserDialogs& dialogs, Status status,
                  const MakeWatcher& makeWatcher);
    ~DocumentWatch();

    /// Watches the document's present file; cheap when it is the one watched already. Tries
    /// a pending reload again when the file looks changed since it failed.
    void Follow();
    /// The watched file changed, or may have. An exception from the document or the dialogs
    /// passes through and leaves the watch ready for the next signal.
    void OnChanged();
    bool Works() const { return watcher_ != nullptr; }

private:
    std::function<CDocument*()> document_;
    UserDialogs& dialogs_;
    Status status_;
    std::unique_ptr<FileWatcher> watcher_;
    std::string watched_;
    bool handling_ = false;
};
