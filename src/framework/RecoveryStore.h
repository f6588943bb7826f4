#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/FileDescriptor.h"

/// Copies of unsaved work, kept outside the person's files so that a kill loses at most the
/// last few seconds. Each process keeps one copy, PID.copy, with a note PID.note naming the
/// file it belongs to and when it was taken, both replaced atomically. The process holds an
/// exclusive lock (flock) on PID.lock for its whole life: a copy whose lock can be taken
/// belongs to a process that is gone, whatever has become of its process id since, and a
/// process that takes it keeps others from taking it too.
class RecoveryStore {
public:
    /// A copy left by a process that no longer runs, locked by this store while it is held.
    struct Orphan {
        std::string copy;          ///< the copy's path
        std::string file;          ///< the file the work belongs to; empty for a new document
        std::int64_t seconds = 0;  ///< when the copy was taken, since the epoch
        std::string base;          ///< folder + PID, the stem of its files
    };

    /// Makes the folder when needed and takes this process's lock there. A folder that cannot
    /// be made leaves the store without copies (Works() is false).
    explicit RecoveryStore(std::string folder = DefaultFolder());
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;
    /// A clean end: waits for a write, removes this process's copy and lock, and lets go of
    /// the orphans still held.
    ~RecoveryStore();

    /// ${XDG_STATE_HOME:-$HOME/.local/state}/velk/recovery
    static std::string DefaultFolder();
    bool Works() const { return lock_.Get() >= 0; }
    const std::string& Folder() const { return folder_; }

    /// Writes the text that produce answers as the copy of the work on file. A write still
    /// running is finished first. produce runs in a child process forked for the purpose, on a
    /// copy-on-write image of this one: the caller waits only for the fork, neither for the
    /// text nor for the disk, and the text is that of the moment of the call however the
    /// work changes meanwhile. Where no child can be made, produce runs here.
    void Keep(const std::function<std::string()>& produce, const std::string& file);
    /// Removes this process's copy; a write still running is stopped first.
    void Remove();
    /// Waits until a write has finished; false when the last write failed.
    bool Wait();
    /// Whether a write is still running.
    bool Busy();

    /// The copies of processes that are gone, oldest first, each locked by this store until
    /// Release or Discard, so that no other process offers them meanwhile.
    std::vector<Orphan> TakeOrphans();
    /// Deletes the orphan's files.
    void Discard(const Orphan& orphan);
    /// Lets go of the orphan's lock and leaves its files for a later start.
    void Release(const Orphan& orphan);

private:
    bool Write(const std::string& text, const std::string& file);

    /// A writer that has not finished after this long is taken to be stuck and ends itself.
    static constexpr unsigned kWriterSeconds = 120;

    std::string folder_;
    std::string base_;  ///< folder + this process's id
    FileDescriptor lock_;
    pid_t writer_ = -1;
    bool lastWriteFailed_ = false;
    std::vector<std::pair<std::string, FileDescriptor>> held_;
};
