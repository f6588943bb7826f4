#include "files/FileTools.h"

#include <cerrno>
#include <filesystem>

#include "files/FileHandle.h"

OsError WriteAll(FileId file, const char* from, std::size_t count) {
    while (count > 0) {
        const OsResult<std::size_t> written = TheOs().Write(file, from, count);
        if (!written.ok()) {
            return written.error;
        }
        from += written.value;
        count -= written.value;
    }
    return 0;
}

OsError WriteAllAt(FileId file, const char* from, std::size_t count, std::uint64_t at) {
    while (count > 0) {
        const OsResult<std::size_t> written = TheOs().WriteAt(file, from, count, at);
        if (!written.ok()) {
            return written.error;
        }
        from += written.value;
        at += written.value;
        count -= written.value;
    }
    return 0;
}

OsError MakeFolderTree(const std::string& folder, std::uint32_t mode) {
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at == folder.size() || IsPathSeparator(folder[at])) {
            const OsError error = TheOs().MakeFolder(folder.substr(0, at), mode);
            if (error != 0 && error != EEXIST) {
                return error;
            }
        }
    }
    const OsResult<FileInfo> made = TheOs().InfoOf(folder, true);
    return !made.ok() ? made.error : made.value.kind == FileKind::folder ? 0 : ENOTDIR;
}

OsResult<std::string> ReadSmallFile(const std::string& path, std::size_t limit) {
    const OsResult<FileId> opened = TheOs().Open(path, kReadOnly | kNoWait, 0);
    if (!opened.ok()) {
        return {{}, opened.error};
    }
    FileHandle file(opened.value);
    std::string text;
    char piece[4096];
    for (;;) {
        const OsResult<std::size_t> read = TheOs().Read(file.Get(), piece, sizeof piece);
        if (!read.ok()) {
            return {{}, read.error};
        }
        if (read.value == 0) {
            return {std::move(text), 0};
        }
        if (text.size() + read.value > limit) {
            return {{}, EFBIG};
        }
        text.append(piece, read.value);
    }
}

namespace {

// Paths are UTF-8 inside Velk. std::filesystem would read and write a std::string in the
// system's narrow code page, which on Windows is not UTF-8, so paths cross as UTF-8 text.
std::filesystem::path PathOf(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string TextOf(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool IsDriveLetter(const std::string& path) {
#ifdef _WIN32
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
#else
    static_cast<void>(path);
    return false;
#endif
}

}  // namespace

std::string AbsolutePath(const std::string& path) {
#ifdef _WIN32
    // The standard library of GCC 12 folds the two separators of a share's root
    // ("\\\\server\\share") into one: the root is kept aside while the rest is made normal.
    if (path.size() > 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        try {
            return "\\\\" + TextOf(PathOf(path.substr(2)).lexically_normal());
        } catch (const std::exception&) {
            return path;
        }
    }
#endif
    // A name that is not UTF-8 cannot be a Windows name; it stays as it is.
    std::filesystem::path named;
    try {
        named = PathOf(path);
    } catch (const std::exception&) {
        return path;
    }
    if (!IsAbsolutePath(path)) {
        const OsResult<std::string> here = TheOs().CurrentFolder();
        if (!here.ok()) {
            return path;
        }
        // On Windows "\\x" and "C:x" keep their own root or drive, as the system reads them.
        named = PathOf(here.value) / named;
    }
    return TextOf(named.lexically_normal());
}

bool IsPathSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

bool IsAbsolutePath(const std::string& path) {
#ifdef _WIN32
    return (IsDriveLetter(path) && path.size() >= 3 && IsPathSeparator(path[2])) ||
           (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]));
#else
    return !path.empty() && path[0] == '/';
#endif
}

PathParts SplitPath(const std::string& path) {
    std::size_t cut = path.size();
    while (cut > 0 && !IsPathSeparator(path[cut - 1])) {
        --cut;
    }
    if (cut == 0 && IsDriveLetter(path)) {
        cut = 2;
    }
    return {path.substr(0, cut), path.substr(cut)};
}

std::string FileNameOf(const std::string& path) {
    return SplitPath(path).name;
}
