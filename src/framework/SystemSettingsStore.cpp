#include "framework/SystemSettingsStore.h"

#include <optional>

#include "files/SystemSettings.h"

SystemSettingsStore::SystemSettingsStore(const std::string& organisation,
                                         const std::string& application)
    : key_("Software\\" + organisation + "\\" + application) {}

std::string SystemSettingsStore::GetString(const std::string& section, const std::string& entry,
                                           const std::string& fallback) const {
    return ReadSystemSetting(key_, section, entry).value_or(fallback);
}

void SystemSettingsStore::WriteString(const std::string& section, const std::string& entry,
                                      const std::string& value) {
    // A setting that cannot be kept costs the person a convenience, never work: no error.
    WriteSystemSetting(key_, section, entry, value);
}

void SystemSettingsStore::RemoveEntry(const std::string& section, const std::string& entry) {
    RemoveSystemSetting(key_, section, entry);
}
