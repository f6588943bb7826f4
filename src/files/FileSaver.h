#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "files/FileError.h"

/// Saves new content into a file so that the file keeps its identity and the old content
/// survives any failure or kill. The new bytes are first written into a staging file; only
/// Commit touches the file itself, in one of two ways:
///
/// - Replace: the staging file, given the old file's owner, group, mode and extended
///   attributes, is renamed over it. The staging file lies beside the file for that.
/// - In place, when a rename would lose something: the file has more than one hard link, its
///   owner or an attribute cannot be given to a new file, or its folder may not be written.
///   A whole copy of the old content is put on disk first (beside the file, or in the cache
///   folder when the folder may not be written) and recorded, then the new bytes are copied
///   into the file itself; the copy and its record go once the new content is synced. A save
///   killed in between leaves the record, and TakeInterruptedSaves names the copy on the next
///   start.
///
/// Staging files and copies are never more readable than the file. A file the process may
/// not write is refused, whatever its folder allows. Leftovers of killed saves of the same
/// file are removed by the next save. Every failure is a FileError, and the first one sticks.
class FileSaver {
public:
    /// What a symbolic link at the path means.
    enum class Links {
        follow,   ///< save through it to the file it names, which is created when missing
        replace,  ///< put a file in its place: a link planted there is never written through
    };

    /// Prepares the save: refuses folders, pipes, devices and files the process may not write,
    /// and makes the staging file. A file that does not exist yet is made with newFileMode
    /// (less the process's mask). A failure shows in Error().
    explicit FileSaver(const std::string& path, Links links = Links::follow,
                       std::uint32_t newFileMode = 0666);
    FileSaver(const FileSaver&) = delete;
    FileSaver& operator=(const FileSaver&) = delete;
    /// Without Commit, removes the staging file; the file is untouched.
    ~FileSaver();

    /// The first failure so far.
    const FileError& Error() const { return error_; }
    FileError Write(const char* source, std::size_t count);
    /// Makes the bytes written the file's content and syncs them to disk. replacing, when set,
    /// is called just before the file's old content starts to go (the rename, or the first
    /// byte written into the file); a failure before it leaves the file untouched.
    FileError Commit(const std::function<void()>& replacing = {});

    /// A save that was killed after the copy of the old content was whole.
    struct Interrupted {
        std::string file;  ///< the file being saved: old, new or mixed content
        std::string copy;  ///< the whole old content
    };
    /// The saves that were interrupted since the last call, each told once: their records are
    /// removed, the copies stay for the person to use. Records whose copy is gone (the save
    /// was killed before the copy was whole, or after it was no longer needed) go silently,
    /// and records of saves still running stay.
    static std::vector<Interrupted> TakeInterruptedSaves();
    /// ${XDG_CACHE_HOME:-~/.cache}/velk: copies of files in folders that may not be written,
    /// and the records of in-place saves.
    static std::string CacheFolder();

    class Staging;  // public for the helpers of the implementation

private:
    void Prepare(Links links, std::uint32_t newFileMode);
    void CommitByRename(const std::function<void()>& replacing);
    void CommitInPlace(const std::function<void()>& replacing);

    std::string path_;      ///< as named
    std::string target_;    ///< with symbolic links followed
    std::string folder_;    ///< the target's folder, ending in a separator
    std::string baseName_;  ///< the target's name in its folder
    bool exists_ = false;
    bool inPlace_ = false;
    std::uint32_t mode_ = 0;  ///< the existing file's permission bits
    std::uint32_t owner_ = 0;
    std::uint32_t group_ = 0;
    FileError error_;
    std::unique_ptr<Staging> staging_;
};

/// Makes bytes the whole content of the file at path through a FileSaver.
FileError SaveWholeFile(const std::string& path, const std::string& bytes,
                        FileSaver::Links links = FileSaver::Links::follow,
                        std::uint32_t newFileMode = 0666);
