#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "files/FileHandle.h"
#include "files/FileStamp.h"
#include "files/Os.h"

/// Copies of unsaved work, kept outside the person's files so that a kill loses at most the
/// last few seconds. Each run keeps one copy, STEM.copy, with a note STEM.note naming the file
/// it belongs to, when it was taken and the file as the work last read or wrote it, both
/// replaced atomically. STEM is the process id and a random token: in containers every run may
/// have the same id, and a run must never take another's files for its own. The run holds an
/// exclusive lock on STEM.lock for its whole life: a copy whose lock can be taken belongs to a
/// run that is gone, and a run that takes it keeps others from taking it too.
class RecoveryStore {
public:
    /// A copy left by a run that no longer runs, locked by this store while it is held.
    struct Orphan {
        std::string copy;          ///< the copy's path
        std::string file;          ///< the file the work belongs to; empty for a new document
        std::int64_t seconds = 0;  ///< when the copy was taken, since the epoch
        FileStamp stamp;           ///< the file as the work knew it then; exists false if unknown
        std::string base;          ///< folder + stem, the start of its files' names
    };

    /// Makes the folder when needed (private, and made private when it was not) and takes this
    /// run's lock there. A folder that cannot be made leaves the store without copies (Works()
    /// is false, and Problem() says why).
    explicit RecoveryStore(std::string folder = DefaultFolder());
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;
    /// A clean end: waits for a write, removes this run's copy and lock, and lets go of the
    /// orphans still held.
    ~RecoveryStore();

    /// ${XDG_STATE_HOME:-$HOME/.local/state}/velk/recovery
    static std::string DefaultFolder();
    bool Works() const { return lock_.IsOpen(); }
    const std::string& Folder() const { return folder_; }
    /// Where this run's copy goes.
    std::string CopyPath() const { return base_ + ".copy"; }
    /// Why the store does not work, or why its last write failed; 0 when neither.
    OsError Problem() const { return problem_; }

    /// Writes the text that produce answers as the copy of the work on file, which was last
    /// read or written as stamp. A write still running is finished first. The text is that of
    /// the moment of the call however the work changes meanwhile, and the caller never waits
    /// for the disk (Os::StartWriter): where a process can be forked, produce runs in the
    /// writer on its image of this process; elsewhere snapshot runs here and the text maker it
    /// answers on a thread that writes (without a snapshot, produce runs here). Where no writer
    /// can be started, produce runs here and so does the write.
    /// False when nothing was started because the store does not work.
    bool Keep(const std::function<std::string()>& produce, const std::string& file,
              const FileStamp& stamp = {},
              const std::function<Os::TextMaker()>& snapshot = nullptr);
    /// Removes this run's copy; a write still running is stopped first.
    void Remove();
    /// Waits until a write has finished; false when the last write failed.
    bool Wait();
    /// Whether a write is still running.
    bool Busy();

    /// The copies of runs that are gone, oldest first, each locked by this store until
    /// Release or Discard, so that no other run offers them meanwhile. What dead runs left
    /// without a copy (a lock, a note) is removed on the way.
    std::vector<Orphan> TakeOrphans();
    /// Deletes the orphan's files.
    void Discard(const Orphan& orphan);
    /// Lets go of the orphan's lock and leaves its files for a later start.
    void Release(const Orphan& orphan);

private:
    OsError Write(const std::string& text, const std::string& note);
    void Finished(OsError error);

    /// A writer that has not finished after this long is taken to be stuck and ends itself.
    static constexpr unsigned kWriterSeconds = 120;

    std::string folder_;
    std::string base_;  ///< folder + this run's stem
    FileHandle lock_;
    ProcessId writer_ = 0;
    OsError problem_ = 0;
    std::vector<std::pair<std::string, FileHandle>> held_;
};
