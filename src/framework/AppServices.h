#pragma once

#include <memory>
#include <optional>
#include <string>

class CDialog;
struct ProgressReport;

/// Where the program keeps its settings: named values in sections, below the application's
/// key. The real program keeps them in the desktop's settings; tests keep them in memory.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    /// The value, or fallback when the entry does not exist.
    virtual std::string GetString(const std::string& section, const std::string& entry,
                                  const std::string& fallback) const = 0;
    virtual void WriteString(const std::string& section, const std::string& entry,
                             const std::string& value) = 0;
    virtual void RemoveEntry(const std::string& section, const std::string& entry) = 0;
};

/// The answer to "save changes?".
enum class SaveChoice { save, discard, cancel };

/// The answer when the file a save would write over was changed by someone else.
enum class ChangedFileChoice { overwrite, saveAs, cancel };

/// The answer to a recovery copy found at start.
enum class RecoveryChoice { restore, discard, later };

/// How a message to the user looks.
enum class MessageKind { information, warning, error };

/// A window that shows how far one long piece of work has come; it closes when destroyed.
class ProgressDialog {
public:
    virtual ~ProgressDialog() = default;
    /// Shows the report and lets the rest of the interface repaint meanwhile, though not take
    /// input. A report that is not cancellable takes the Cancel button away. Answers false once
    /// the person has asked to cancel.
    virtual bool Update(const ProgressReport& report) = 0;
};

/// Everything the framework asks of the person at the screen. The real program shows
/// dialogs; tests answer without any.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    /// The file to open; nothing when the person cancels.
    virtual std::optional<std::string> AskOpenPath(const std::string& caption) = 0;
    /// The file to save to, offering initialName (a document's full path, or the title of one
    /// that has no file yet); nothing when the person cancels.
    virtual std::optional<std::string> AskSavePath(const std::string& caption,
                                                   const std::string& initialName) = 0;
    /// Whether to save the document of that title before it is closed or replaced.
    virtual SaveChoice AskSaveChanges(const std::string& documentTitle) = 0;
    /// Shows a message and waits until it is acknowledged.
    virtual void ShowMessage(const std::string& text, MessageKind kind) = 0;
    /// Runs the dialog until it is closed; answers the button that closed it (IDOK, IDCANCEL).
    virtual int RunModal(CDialog& dialog) = 0;
    /// The file a save would write over was changed since it was read or saved; text names
    /// the file and the change. Cancel is the default, so that nothing is lost unasked.
    /// Every platform asks for itself: a silent answer would leave a save failing unexplained.
    virtual ChangedFileChoice AskChangedFile(const std::string& text) = 0;
    /// The document's file was changed by someone else while the document has changes of its
    /// own; true to read the file again and lose them. Keeping them is the default.
    virtual bool AskReloadChanged(const std::string& /*text*/) { return false; }
    /// A recovery copy of unsaved work was found; text names the file and the time of the copy.
    virtual RecoveryChoice AskRecovery(const std::string& /*text*/) {
        return RecoveryChoice::later;
    }
    /// A modal progress window with the caption, about the work described by text (which names
    /// the file); null where progress is not shown, as it is not by default.
    virtual std::unique_ptr<ProgressDialog> BeginProgress(const std::string& /*caption*/,
                                                          const std::string& /*text*/) {
        return nullptr;
    }
};
