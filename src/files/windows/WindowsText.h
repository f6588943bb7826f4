#pragma once

// Text and errors at the border of Windows: Velk keeps paths and names in UTF-8, Windows takes
// and gives UTF-16, and answers errors of its own that Velk knows by their C library numbers.
// Only the Windows implementation files include this.

#include <string>

#include "files/Os.h"

namespace velk_windows {

/// The UTF-16 form of UTF-8 text; false when the text is not UTF-8.
bool ToWide(const std::string& text, std::wstring& wide);
/// The UTF-16 form of a path as Windows calls take it. An absolute path (C:\dir\name,
/// \\server\share\name) is made whole (either separator, "." and "..") and gets the prefix
/// \\?\ (\\?\UNC\ for a share) that lifts the limit of MAX_PATH characters; a relative path,
/// a device and a path that has a prefix already are left as they are. False when the path is
/// not UTF-8.
bool ToSystemPath(const std::string& path, std::wstring& wide);
/// How many characters name the root of a path as ToSystemPath makes it (C:\ or \\?\C:\, or
/// \\?\UNC\server\share\ with its last separator); 0 for a relative path.
std::size_t RootLength(const std::wstring& path);
/// The UTF-8 form of UTF-16 text; unpaired surrogates become U+FFFD.
std::string FromWide(const std::wstring& wide);
std::string FromWide(const wchar_t* wide);
/// The C library's number for a Windows error code (GetLastError), EIO when none fits.
OsError ErrorFromWindows(unsigned long code);
/// The C library's number for the calling thread's last Windows error.
OsError LastError();

}  // namespace velk_windows
