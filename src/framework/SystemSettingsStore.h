#pragma once

#include <string>

#include "framework/Backend.h"

/// Settings kept in the system's own store (the registry on Windows), below
/// "Software\ORGANISATION\APPLICATION" of the current user, as the classic design keeps them:
/// the recent files are "Recent File List" File1 to File4 there. Only where HasSystemSettings().
class SystemSettingsStore : public SettingsStore {
public:
    SystemSettingsStore(const std::string& organisation, const std::string& application);

    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& fallback) const override;
    void WriteString(const std::string& section, const std::string& entry,
                     const std::string& value) override;
    void RemoveEntry(const std::string& section, const std::string& entry) override;

    /// The key below the current user's root, "Software\ORGANISATION\APPLICATION".
    const std::string& Key() const { return key_; }

private:
    std::string key_;
};
