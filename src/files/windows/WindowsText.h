#pragma once

// Text and errors at the border of Windows: Velk keeps paths and names in UTF-8, Windows takes
// and gives UTF-16, and answers errors of its own that Velk knows by their C library numbers.
// Only the Windows implementation files include this.

#include <string>

#include "files/Os.h"

namespace velk_windows {

/// The UTF-16 form of UTF-8 text; false when the text is not UTF-8.
bool ToWide(const std::string& text, std::wstring& wide);
/// The UTF-8 form of UTF-16 text; unpaired surrogates become U+FFFD.
std::string FromWide(const std::wstring& wide);
std::string FromWide(const wchar_t* wide);
/// The C library's number for a Windows error code (GetLastError), EIO when none fits.
OsError ErrorFromWindows(unsigned long code);
/// The C library's number for the calling thread's last Windows error.
OsError LastError();

}  // namespace velk_windows
