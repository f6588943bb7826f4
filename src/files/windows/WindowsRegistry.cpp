// Settings in the registry, below HKEY_CURRENT_USER, as Windows programs keep them.

// windows.h comes before every other header of Windows, which rely on its names.
#include <windows.h>

#include <string>

#include "files/SystemSettings.h"
#include "files/windows/WindowsText.h"

namespace {

using velk_windows::FromWide;
using velk_windows::ToWide;

/// The registry path of a section below the key, in UTF-16; false when the text is not UTF-8.
bool SectionPath(const std::string& key, const std::string& section, std::wstring& path) {
    return ToWide(section.empty() ? key : key + "\\" + section, path);
}

}  // namespace

bool HasSystemSettings() {
    return true;
}

std::optional<std::string> ReadSystemSetting(const std::string& key, const std::string& section,
                                             const std::string& entry) {
    std::wstring path;
    std::wstring name;
    if (!SectionPath(key, section, path) || !ToWide(entry, name)) {
        return std::nullopt;
    }
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                       nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                       value.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.resize(wcsnlen(value.c_str(), value.size()));
    return FromWide(value);
}

bool WriteSystemSetting(const std::string& key, const std::string& section,
                        const std::string& entry, const std::string& value) {
    std::wstring path;
    std::wstring name;
    std::wstring text;
    if (!SectionPath(key, section, path) || !ToWide(entry, name) || !ToWide(value, text)) {
        return false;
    }
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), REG_SZ, text.c_str(),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

bool RemoveSystemSetting(const std::string& key, const std::string& section,
                         const std::string& entry) {
    std::wstring path;
    std::wstring name;
    if (!SectionPath(key, section, path) || !ToWide(entry, name)) {
        return false;
    }
    const LSTATUS status = ::RegDeleteKeyValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool RemoveSystemSettings(const std::string& key) {
    std::wstring path;
    if (!ToWide(key, path)) {
        return false;
    }
    const LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    const LSTATUS removed = ::RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
    return removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;
}
