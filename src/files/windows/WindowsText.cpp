// UTF-8 and UTF-16, and Windows errors as the C library's numbers.

#include "files/windows/WindowsText.h"

#include <windows.h>

#include <cerrno>
#include <utility>

namespace velk_windows {

bool ToWide(const std::string& text, std::wstring& wide) {
    wide.clear();
    if (text.empty()) {
        return true;
    }
    const int size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) {
        return false;
    }
    wide.resize(static_cast<std::size_t>(size));
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                          wide.data(), size);
    return true;
}

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool StartsWith(const std::wstring& text, const wchar_t* start) {
    return text.rfind(start, 0) == 0;
}

/// Where the name after the separator at or after from ends; the text's end when none follows.
std::size_t AfterNextName(const std::wstring& path, std::size_t from) {
    const std::size_t cut = path.find_first_of(L"\\/", from);
    return cut == std::wstring::npos ? path.size() : cut + 1;
}

}  // namespace

bool ToSystemPath(const std::string& path, std::wstring& wide) {
    if (!ToWide(path, wide)) {
        return false;
    }
    const bool drive = wide.size() >= 3 && wide[1] == L':' && IsSeparator(wide[2]);
    const bool share = wide.size() >= 3 && IsSeparator(wide[0]) && IsSeparator(wide[1]) &&
                       wide[2] != L'?' && wide[2] != L'.';
    if (!drive && !share) {
        return true;
    }
    // The prefix turns off every change Windows makes to a name, so the path is made whole
    // first, as Windows would have made it.
    const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return true;
    }
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        return true;
    }
    full.resize(length);
    if (StartsWith(full, L"\\\\?\\") || StartsWith(full, L"\\\\.\\")) {
        wide = std::move(full);  // a device, such as C:\folder\NUL
    } else if (StartsWith(full, L"\\\\")) {
        wide = L"\\\\?\\UNC\\" + full.substr(2);
    } else {
        wide = L"\\\\?\\" + full;
    }
    return true;
}

std::size_t RootLength(const std::wstring& path) {
    if (StartsWith(path, L"\\\\?\\UNC\\")) {
        return AfterNextName(path, AfterNextName(path, 8));
    }
    const std::size_t prefix = StartsWith(path, L"\\\\?\\") ? 4 : 0;
    if (path.size() >= prefix + 3 && path[prefix + 1] == L':' && IsSeparator(path[prefix + 2])) {
        return prefix + 3;
    }
    if (prefix == 0 && path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        return AfterNextName(path, AfterNextName(path, 2));
    }
    return 0;
}

std::string FromWide(const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                              size, nullptr, nullptr);
    }
    return text;
}

std::string FromWide(const wchar_t* wide) {
    return wide != nullptr ? FromWide(std::wstring(wide)) : std::string();
}

OsError ErrorFromWindows(unsigned long code) {
    switch (code) {
        case ERROR_SUCCESS:
            return 0;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_DELETE_PENDING:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_PRIVILEGE_NOT_HELD:
            return EACCES;
        // Another program holds the file open without letting others write or replace it.
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
            return EBUSY;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_DIR_NOT_EMPTY:
            return ENOTEMPTY;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_PARAMETER:
        case ERROR_NO_UNICODE_TRANSLATION:
            return EINVAL;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
            return ENOSYS;
        case ERROR_TOO_MANY_LINKS:
            return EMLINK;
        case ERROR_CANT_RESOLVE_FILENAME:
            return ELOOP;
        default:
            return EIO;
    }
}

OsError LastError() {
    return ErrorFromWindows(::GetLastError());
}

}  // namespace velk_windows
