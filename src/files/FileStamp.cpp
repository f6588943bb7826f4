#include "files/FileStamp.h"

#include <ctime>
#include <vector>

#include "files/FileHandle.h"
#include "files/Os.h"

namespace {

constexpr std::uint64_t kPrime = 1099511628211ULL;

/// FNV-1a over little-endian 8-byte words, folded so that high bits reach the low ones.
std::uint64_t MixWord(std::uint64_t hash, const unsigned char* bytes) {
    std::uint64_t word = 0;
    for (int b = 0; b < 8; ++b) {
        word |= static_cast<std::uint64_t>(bytes[b]) << (8 * b);
    }
    hash = (hash ^ word) * kPrime;
    return hash ^ (hash >> 29);
}

}  // namespace

void FileHash::Add(const void* bytes, std::size_t count) {
    const auto* in = static_cast<const unsigned char*>(bytes);
    while (pendingCount > 0 && pendingCount < 8 && count > 0) {
        pending[pendingCount++] = *in++;
        --count;
    }
    if (pendingCount == 8) {
        hash = MixWord(hash, pending);
        pendingCount = 0;
    }
    for (; count >= 8; in += 8, count -= 8) {
        hash = MixWord(hash, in);
    }
    for (; count > 0; --count) {
        pending[pendingCount++] = *in++;
    }
}

std::uint64_t FileHash::Value() const {
    // The tail that makes no whole word goes in byte by byte.
    std::uint64_t value = hash;
    for (std::size_t i = 0; i < pendingCount; ++i) {
        value = (value ^ pending[i]) * kPrime;
    }
    return value;
}

FileStamp FileStamp::AsRead(const FileInfo& opened, std::uint64_t bytesRead, const FileHash& hash) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = opened.device;
    stamp.inode = opened.inode;
    stamp.modifiedNs = opened.modifiedNs;
    stamp.size = bytesRead;
    stamp.hash = hash.Value();
    return stamp;
}

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
    FileHash hash;
    std::uint64_t size = 0;
    for (;;) {
        const OsResult<std::size_t> read =
            TheOs().Read(file.Get(), reinterpret_cast<char*>(block.data()), block.size());
        if (!read.ok()) {
            return FileStamp{};
        }
        if (read.value == 0) {
            break;
        }
        hash.Add(block.data(), read.value);
        size += read.value;
    }
    stamp.size = size;
    stamp.hash = hash.Value();
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
