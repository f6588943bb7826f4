#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "files/FileStamp.h"
#include "framework/Backend.h"
#include "framework/CCmdTarget.h"
#include "framework/CObject.h"

class CArchive;
class CDocTemplate;
class CView;

/// How completely a load read its file, as the document's template judges it.
struct LoadVerdict {
    enum class Kind { complete, partial, skippedText, refused };
    Kind kind = Kind::complete;
    /// For partial: where reading stopped ("line 3, column 7"); for skippedText: what was
    /// read to the end but not understood; for refused: why.
    std::string detail;
};

/// The data of one document and the views that show it. The document keeps a modified flag,
/// tells its views of changes and detaches them when it is destroyed; it owns none of them.
///
/// It also has the standard file behaviour: a path and a title, opening and saving through an
/// archive over the file, File Save and Save As, and asking whether to save a modified
/// document. It speaks to the person through the UserDialogs its template hands it; without
/// them nothing is asked and failures are only answered as false.
class CDocument : public CObject, public CCmdTarget {
public:
    CDocument();
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;
    ~CDocument() override;

    /// Prepares the document to hold a new, empty content and clears the modified flag. False
    /// when the document could not be prepared; then nothing has changed.
    [[nodiscard]] virtual bool OnNewDocument();
    /// Saves or loads the content through the archive. The base moves nothing.
    virtual void Serialize(CArchive& archive);
    /// The content as it is now, for a writer on another thread: the function answers the text
    /// Serialize stores at this moment, however the document changes meanwhile, and may run
    /// on any one thread once. The base stores the text at once; a document that copies its
    /// content faster than it writes it copies it instead and writes it in the function.
    virtual std::function<std::string()> TextSnapshot();

    /// Sets the modified flag; a change of the flag is a change of the title's marker.
    void SetModifiedFlag(bool modified = true) {
        if (modified) {
            ++changeCount_;
        }
        if (modified_ != modified) {
            modified_ = modified;
            TitleChanged();
            if (modifiedObserver_) {
                modifiedObserver_(modified);
            }
        }
    }
    /// How many times the document was marked modified: a change since some moment shows as
    /// a different count.
    std::uint64_t GetChangeCount() const { return changeCount_; }
    /// Called whenever the modified flag changes, with its new value; null for none.
    void SetModifiedObserver(std::function<void(bool)> observer) {
        modifiedObserver_ = std::move(observer);
    }
    bool IsModified() const { return modified_; }

    /// The file the document was last opened from or saved to; empty for a new document.
    const std::string& GetPathName() const { return pathName_; }
    /// Takes the path, made absolute, and the file name as the title; adds the path to the
    /// application's recent files when addToRecentFiles is true and there is an application.
    virtual void SetPathName(const std::string& path, bool addToRecentFiles = true);
    /// Takes the file at the document's path as it is now for what the document last read
    /// or wrote: a later save asks only if somebody changes it after this.
    void RememberDiskState() { diskStamp_ = FileStamp::Of(pathName_); }
    /// Takes stamp for the file as the document last read or wrote it, such as the stamp a
    /// recovery copy kept from before a crash.
    void RememberDiskState(const FileStamp& stamp) { diskStamp_ = stamp; }
    /// The file as the document last read or wrote it; exists is false when not known.
    const FileStamp& GetDiskStamp() const { return diskStamp_; }
    /// How the document's file differs from what the document last read or wrote, as the end
    /// of a sentence ("was deleted ..."); empty when it does not, or nothing is known.
    std::string DiskChange() const;
    /// Reads the document's file again, quietly. A file that does not read completely, or that
    /// changed while it was read, is not taken: the content is put back as it was, marked
    /// modified, why says what is wrong, and the reload stays pending (IsReloadPending).
    [[nodiscard]] bool ReloadFromDisk(std::string& why);
    /// Whether the last ReloadFromDisk could not take the file and the document has not been
    /// changed here since: it is marked modified only by that failed reload, so reading the
    /// file again loses nothing. A save or an open ends it.
    bool IsReloadPending() const { return reloadPending_ && changeCount_ == pendingChange_; }
    /// While a reload is pending: whether the file looks different (a glance, nothing read)
    /// from when the failed reload began to read it, so that trying again may succeed.
    bool MayReloadNow() const;
    /// Forgets the path; the title is left alone.
    void ClearPathName() { pathName_.clear(); }
    /// The name shown in the frame's caption: the file name, or "Untitled" for a new document.
    const std::string& GetTitle() const { return title_; }
    virtual void SetTitle(const std::string& title);

    CDocTemplate* GetDocTemplate() const { return docTemplate_; }
    /// Called when the title or the modified flag changes; the template keeps the frame's
    /// caption up to date through it.
    void SetTitleObserver(std::function<void()> observer) { titleObserver_ = std::move(observer); }
    /// The dialogs through which the document asks and tells; null for none.
    void SetDialogs(UserDialogs* dialogs) { dialogs_ = dialogs; }
    /// How long a load or save runs before its progress shows (half a second by default); a
    /// long one also tells its outcome in the frame's status bar.
    void SetProgressDelay(double seconds) { progressDelay_ = seconds; }

    /// A few words on the content for the status bar, such as "12 objects"; the base has none.
    virtual std::string DescribeContent() const;

    /// Empties the document before a load. The base does nothing.
    virtual void DeleteContents();
    /// Loads the file through Serialize, the content held so far set aside meanwhile. The
    /// template's verdict on the new content decides: refused fails the open, partial warns.
    /// An open that fails or is cancelled puts the old content back, with its modified flag;
    /// every failure but a cancel is told to the person with the file and the reason (running
    /// out of memory as "not enough memory"). Answers whether the document holds the file.
    [[nodiscard]] virtual bool OnOpenDocument(const std::string& path);
    /// Whether the last OnOpenDocument failed with the content changed and not put back: it
    /// then matches no file any more, and is left marked modified.
    bool LastOpenTouchedContent() const { return lastOpenTouched_; }
    /// Saves through Serialize into a new file that replaces path only when complete, then
    /// clears the modified flag. On failure the person is told why, the flag stays as it was
    /// and the file on disk is untouched.
    [[nodiscard]] virtual bool OnSaveDocument(const std::string& path);
    /// Saves to path, or to a path asked for when path is empty; with replace, the document
    /// takes the new path and title. False when cancelled or failed. Before writing over the
    /// document's own file, checks that nobody changed it since it was read or saved; if
    /// somebody did, asks whether to overwrite, save under another name or cancel.
    [[nodiscard]] virtual bool DoSave(const std::string& path, bool replace = true);
    /// File Save: saves to the document's path, or asks for one when it has none. When the
    /// file may not be written (read-only, or on a read-only file system) the refusal is told
    /// and Save As is offered.
    [[nodiscard]] virtual bool DoFileSave();
    /// Before the document is closed or replaced: a modified document asks whether to save.
    /// False when the person cancels or the save fails: then nothing may be closed.
    [[nodiscard]] virtual bool SaveModified();

    /// Attaches the view, first detaching it from any other document. Attaching a view twice
    /// keeps one attachment.
    void AddView(CView* view);
    /// Detaches the view; a view that is not attached here is left alone.
    void RemoveView(CView* view);
    /// Calls OnUpdate(sender, hint, hintObject) on every attached view except sender, in the
    /// order of attachment.
    void UpdateAllViews(CView* sender, long hint = 0, CObject* hintObject = nullptr);

    /// The content of a document held outside it while a load may replace it.
    class ContentAside {
    public:
        virtual ~ContentAside() = default;
    };

protected:
    friend class CDocTemplate;  // binds itself and its dialogs to the documents it makes

    /// Before a load: takes the content out of the document, or a copy of it, so that
    /// PutContentBack can restore it unchanged if the load fails. The base knows nothing of the
    /// content, so it keeps the text Serialize stores, in memory; a document that can move its
    /// content aside without writing it out overrides both.
    virtual std::unique_ptr<ContentAside> SetContentAside();
    /// After a failed load: drops whatever the load left and restores content, then updates the
    /// views. Throws when that fails; the base does when the kept text cannot be read back.
    virtual void PutContentBack(std::unique_ptr<ContentAside> content);

    /// Tells the person something through the dialogs, when there are any.
    void Tell(const std::string& text, MessageKind kind) const;

    /// After a long load or save, "done: content in 4.1 s" in the main frame's status bar, done
    /// being such as "Opened name".
    void TellOutcome(const std::string& done, double seconds) const;

    /// The first step of the base OnNewDocument: false stops it before anything changes.
    /// The base answers true; a document whose preparation can fail overrides it.
    [[nodiscard]] virtual bool CanStartNewDocument();

private:
    /// How a read of a file into the document ended.
    struct ReadOutcome {
        enum class End { taken, cancelled, failed };
        End end = End::failed;
        LoadVerdict verdict;  ///< for taken
        std::string why;  ///< for failed: an open's sentence naming the file, or a reload's reason
        double seconds = 0;
        FileStamp before;  ///< a glance at the file just before it was read
    };
    /// Reads path in place of the content. Unless the read is taken, the content, the modified
    /// flag and the size of the last file are put back as they were. With wholeOnly only a
    /// complete read of a file that did not change meanwhile is taken.
    ReadOutcome ReadFile(const std::string& path, bool wholeOnly);

    /// Whether a save may write over the document's own file: it may when the file is as last
    /// read or written; otherwise the person is asked.
    ChangedFileChoice CheckOwnFile() const;

    void TitleChanged() const {
        if (titleObserver_) {
            titleObserver_();
        }
    }

    std::vector<CView*> views_;
    bool modified_ = false;
    bool lastOpenTouched_ = false;
    int lastSaveError_ = 0;  ///< the system's error number of the last failed save, or 0
    std::string pathName_;
    std::string title_;
    CDocTemplate* docTemplate_ = nullptr;
    UserDialogs* dialogs_ = nullptr;
    double progressDelay_;
    /// The size of the file last loaded or saved: what a save expects to write.
    std::uint64_t lastFileSize_ = 0;
    std::function<void()> titleObserver_;
    std::function<void(bool)> modifiedObserver_;
    std::uint64_t changeCount_ = 0;
    /// The document's file as last read or written; exists is false when not known.
    FileStamp diskStamp_;
    /// A failed reload waits for the file to read whole: the change count it left, and a
    /// glance at the file when it began to read.
    bool reloadPending_ = false;
    std::uint64_t pendingChange_ = 0;
    FileStamp pendingGlance_;
};
