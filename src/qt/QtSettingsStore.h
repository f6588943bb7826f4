#pragma once

#include <QSettings>

#include "framework/Backend.h"

/// Settings kept by QSettings for organisation (the registry key) and application: under
/// Linux, ~/.config/ORGANISATION/APPLICATION.ini, or below $XDG_CONFIG_HOME.
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore(const std::string& organisation, const std::string& application);

    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& fallback) const override;
    void WriteString(const std::string& section, const std::string& entry,
                     const std::string& value) override;
    void RemoveEntry(const std::string& section, const std::string& entry) override;

private:
    mutable QSettings settings_;
};
