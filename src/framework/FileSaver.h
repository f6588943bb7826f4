#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
/// A symbolic link is saved through, a dangling one too (the file it names is created). A file
/// the process may not write is refused, whatever its folder allows. Leftovers of killed saves
/// of the same file are removed by the next save. Every failure throws CFileException.
class FileSaver {
public:
    /// Prepares the save: refuses folders, pipes, devices and files the process may not write,
    /// and makes the staging file.
    explicit FileSaver(const std::string& path);
    FileSaver(const FileSaver&) = delete;
    FileSaver& operator=(const FileSaver&) = delete;
    /// Without Commit, removes the staging file; the file is untouched.
    ~FileSaver();

    void Write(const char* source, std::size_t count);
    /// Makes the bytes written the file's content and syncs them to disk. replacing, when set,
    /// is called just before the file's old content starts to go (the rename, or the first
    /// byte written into the file); a failure before it leaves the file untouched.
    void Commit(const std::function<void()>& replacing = {});

    /// A save that was killed after the copy of the old content was whole.
    struct Interrupted {
        std::string file;  ///< the file being saved: old, new or mixed content
        std::string copy;  ///< the whole old content
    };
    /// The saves that were interrupted since the last call, each told once: their records are
    /// removed, the copies stay for the person to use. Records whose copy is gone (the save
    /// was killed before the copy was whole, or after it was no longer needed) go silently.
    static std::vector<Interrupted> TakeInterruptedSaves();
    /// ${XDG_CACHE_HOME:-~/.cache}/velk: copies of files in folders that may not be written,
    /// and the records of in-place saves.
    static std::string CacheFolder();

private:
    class Staging;

    void CommitByRename(const std::function<void()>& replacing);
    void CommitInPlace(const std::function<void()>& replacing);

    std::string path;      ///< as named
    std::string target;    ///< with symbolic links followed
    std::string folder;    ///< the target's folder, ending in '/'
    std::string baseName;  ///< the target's name in its folder
    bool exists = false;
    bool inPlace = false;
    std::unique_ptr<Staging> staging;
};
