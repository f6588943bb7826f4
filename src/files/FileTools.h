#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/Os.h"

/// The small jobs on files that several parts of the program share, each written once on top
/// of the Os in use.

/// Writes every byte, at the file's position or, when at is given, from that offset.
OsError WriteAll(FileId file, const char* from, std::size_t count);
OsError WriteAllAt(FileId file, const char* from, std::size_t count, std::uint64_t at);

/// Makes the folder and every folder above it that is missing, each with mode.
OsError MakeFolderTree(const std::string& folder, std::uint32_t mode);

/// The whole content of a file of at most limit bytes; EFBIG when it is longer. Opened without
/// waiting, so a pipe in its place cannot hold the caller.
OsResult<std::string> ReadSmallFile(const std::string& path, std::size_t limit);

/// The path from the root, with "." and ".." steps resolved by name; the path itself when the
/// current folder is not known.
std::string AbsolutePath(const std::string& path);

/// The separator this system writes between the steps of a path. Windows reads '/' too.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

/// Whether c separates the steps of a path on this system: '/', and on Windows '\\' too.
bool IsPathSeparator(char c);

/// Whether the path names a file from a root: "/x" on POSIX; on Windows a drive's root
/// ("C:\\x", "C:/x") or a share ("\\\\server\\share\\x").
bool IsAbsolutePath(const std::string& path);

/// A path cut after its last separator: the folder with its separator ("" for none) and
/// the name. On Windows a drive without a separator ("C:x") is a folder too.
struct PathParts {
    std::string folder;
    std::string name;
};
PathParts SplitPath(const std::string& path);

/// The name of a path without its folder.
std::string FileNameOf(const std::string& path);
