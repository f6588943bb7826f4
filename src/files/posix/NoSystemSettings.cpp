// POSIX systems have no store of settings of their own: the Qt backend keeps them in a file.

#include "files/SystemSettings.h"

bool HasSystemSettings() {
    return false;
}

std::optional<std::string> ReadSystemSetting(const std::string&, const std::string&,
                                             const std::string&) {
    return std::nullopt;
}

bool WriteSystemSetting(const std::string&, const std::string&, const std::string&,
                        const std::string&) {
    return false;
}

bool RemoveSystemSetting(const std::string&, const std::string&, const std::string&) {
    return true;
}

bool RemoveSystemSettings(const std::string&) {
    return true;
}
