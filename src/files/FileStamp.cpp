#include "files/FileStamp.h"

#include <ctime>
#include <vector>

#include "files/FileHandle.h"
#include "files/Os.h"

namespace {

constexpr std::uint64_t kOffset = 14695981039346656037ULL;
constexpr std::uint64_t kPrime = 1099511628211ULL;

/// FNV-1a over 8-byte words; the tail byte by byte. Blocks other than the last must be
/// multiples of 8 for the hash not to depend on how the file was read.
std::uint64_t Mix(std::uint64_t hash, const unsigned char* bytes, std::size_t count) {
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t word = 0;
        for (int b = 0; b < 8; ++b) {
            word |= static_cast<std::uint64_t>(bytes[i + b]) << (8 * b);
        }
        hash = (hash ^ word) * kPrime;
        hash ^= hash >> 29;
    }
    for (; i < count; ++i) {
        hash = (hash ^ bytes[i]) * kPrime;
    }
    return hash;
}

}  // namespace

FileStamp FileStamp::Of(const std::string& path) {
    FileStamp stamp;
    const OsResult<FileId> opened = TheOs().Open(path, kReadOnly | kNoWait, 0);
    if (!opened.ok()) {
        return stamp;
    }
    FileHandle file(opened.value);
    const OsResult<FileInfo> info = TheOs().Info(file.Get());
    if (!info.ok() || info.value.kind != FileKind::regular) {
        return stamp;
    }
    stamp.device = info.value.device;
    stamp.inode = info.value.inode;
    stamp.modifiedNs = info.value.modifiedNs;
    std::vector<unsigned char> block(1 << 16);
    std::uint64_t hash = kOffset;
    std::uint64_t size = 0;
    for (;;) {
        // Whole blocks, so that a short read does not change the hash.
        std::size_t filled = 0;
        while (filled < block.size()) {
            const OsResult<std::size_t> read = TheOs().Read(
                file.Get(), reinterpret_cast<char*>(block.data()) + filled, block.size() - filled);
            if (!read.ok()) {
                return FileStamp{};
            }
            if (read.value == 0) {
                break;
            }
            filled += read.value;
        }
        hash = Mix(hash, block.data(), filled);
        size += filled;
        if (filled < block.size()) {
            break;
        }
    }
    stamp.size = size;
    stamp.hash = hash;
    stamp.exists = true;
    return stamp;
}

FileStamp FileStamp::Glance(const std::string& path) {
    FileStamp stamp;
    const OsResult<FileInfo> info = TheOs().InfoOf(path, true);
    if (!info.ok() || info.value.kind != FileKind::regular) {
        return stamp;
    }
    stamp.exists = true;
    stamp.device = info.value.device;
    stamp.inode = info.value.inode;
    stamp.size = info.value.size;
    stamp.modifiedNs = info.value.modifiedNs;
    return stamp;
}

std::string FileStamp::ChangeTo(const FileStamp& now) const {
    if (!now.exists) {
        return exists ? "was deleted or can no longer be read" : "";
    }
    if (!exists) {
        return "was created by another program";
    }
    if (now.device != device || now.inode != inode) {
        if (now.size == size && now.hash == hash) {
            return "";  // replaced by the same bytes, as a copy or a checkout does
        }
        return "was replaced by another file (" + std::to_string(now.size) + " bytes, modified " +
               LocalTimeText(now.modifiedNs / 1000000000) + ")";
    }
    if (now.size != size || now.hash != hash) {
        return "was changed by another program (now " + std::to_string(now.size) +
               " bytes, modified " + LocalTimeText(now.modifiedNs / 1000000000) + ")";
    }
    return "";
}

std::string LocalTimeText(std::int64_t seconds) {
    const auto time = static_cast<std::time_t>(seconds);
    std::tm local{};
    char text[32] = "";
#ifdef _WIN32
    const bool known = ::localtime_s(&local, &time) == 0;
#else
    const bool known = ::localtime_r(&time, &local) != nullptr;
#endif
    if (known) {
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    }
    return text;
}
