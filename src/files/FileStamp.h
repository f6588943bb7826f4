#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct FileInfo;

/// The hash a FileStamp keeps of a file's bytes, fed in pieces of any size: the value depends
/// only on the bytes, so a reader that sees every byte anyway can stamp the file without a
/// second pass over it.
class FileHash {
public:
    void Add(const void* bytes, std::size_t count);
    std::uint64_t Value() const;

private:
    std::uint64_t hash = 14695981039346656037ULL;
    unsigned char pending[8] = {};  ///< the bytes of a word not yet whole
    std::size_t pendingCount = 0;
};

/// What a file was when the program last read or wrote it, so that a change by another program
/// since then can be told: which file it was, its size, modification time and a hash of every
/// byte (a modification time alone misses changes within its granularity).
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;  ///< since the epoch
    std::uint64_t hash = 0;

    /// The file at path as it is now; exists is false when it cannot be read.
    static FileStamp Of(const std::string& path);
    /// The file a reader opened, as its handle told then, with the hash of every byte the
    /// reader then read to the end.
    static FileStamp AsRead(const FileInfo& opened, std::uint64_t bytesRead, const FileHash& hash);
    /// The file at path as its directory entry tells, without reading it: the hash is 0. Cheap
    /// enough to ask often, for whether a file may have changed since an earlier glance.
    static FileStamp Glance(const std::string& path);
    /// Whether two glances see the same file with the same size and modification time.
    bool LooksLike(const FileStamp& other) const {
        return exists == other.exists && device == other.device && inode == other.inode &&
               size == other.size && modifiedNs == other.modifiedNs;
    }

    /// Why now differs from this stamp, as the end of a sentence ("was deleted", "was changed
    /// by another program ..."); empty when it is the same file with the same bytes. A file
    /// only touched, bytes unchanged, has not changed.
    std::string ChangeTo(const FileStamp& now) const;
};

/// A moment (seconds since 1970) as local time, "2026-12-07 15:32:58"; empty when the C
/// library cannot say.
std::string LocalTimeText(std::int64_t seconds);
