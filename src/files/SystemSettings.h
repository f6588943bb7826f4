#pragma once

#include <optional>
#include <string>

/// The system's own store of the user's settings, where it has one: the registry on Windows,
/// where a key "Software\ORGANISATION\APPLICATION" below HKEY_CURRENT_USER holds one subkey per
/// section and one text value per entry. Linux has none (the Qt backend keeps settings there).
/// Keys and values are UTF-8.

/// Whether this system has such a store.
bool HasSystemSettings();

/// The entry's text, or nothing when it, its section or the store does not exist.
std::optional<std::string> ReadSystemSetting(const std::string& key, const std::string& section,
                                             const std::string& entry);

/// Writes the entry, making its key and section when missing; false when it cannot.
bool WriteSystemSetting(const std::string& key, const std::string& section,
                        const std::string& entry, const std::string& value);

/// Removes the entry; true when it is gone (or never was).
bool RemoveSystemSetting(const std::string& key, const std::string& section,
                         const std::string& entry);

/// Removes the key with every section and entry below it; true when it is gone.
bool RemoveSystemSettings(const std::string& key);
