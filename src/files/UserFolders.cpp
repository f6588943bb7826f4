#include "files/UserFolders.h"

#include <optional>

#include "files/FileTools.h"
#include "files/Os.h"

namespace {

bool IsAbsolute(const std::optional<std::string>& path) {
    return path && IsAbsolutePath(*path);
}

/// below with this system's separators, for paths shown to the person.
std::string Native(std::string below) {
    for (char& c : below) {
        if (IsPathSeparator(c)) {
            c = kPathSeparator;
        }
    }
    return below;
}

}  // namespace

std::string UserFolder(const char* variable, const std::string& homeDefault,
                       const std::string& below) {
    const std::optional<std::string> base = TheOs().Variable(variable);
    if (IsAbsolute(base)) {
        return *base + below;
    }
    // Where the system names a folder for the user's data on this machine (Windows), the
    // program's folders go there; the XDG variable above still decides when set.
    if (const std::optional<std::string> data = TheOs().UserDataFolder(); IsAbsolute(data)) {
        return *data + Native(below);
    }
    std::optional<std::string> home = TheOs().Variable("HOME");
    if (!IsAbsolute(home)) {
        home = TheOs().UserDatabaseHome();
    }
    return (IsAbsolute(home) ? *home : std::string("/tmp")) + homeDefault + below;
}
