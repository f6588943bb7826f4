#pragma once

// Text at the border of Windows: Velk keeps text in UTF-8, the wide Windows calls take UTF-16.
// No Windows header is needed to use these.

#include <string>

namespace win32 {

/// The UTF-16 form of UTF-8 text; bytes that are not UTF-8 become U+FFFD.
std::wstring Widen(const std::string& text);
/// The UTF-8 form of UTF-16 text; unpaired surrogates become U+FFFD.
std::string Narrow(const std::wstring& text);

}  // namespace win32
