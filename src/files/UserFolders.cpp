#include "files/UserFolders.h"

#include <optional>

#include "files/FileTools.h"
#include "files/Os.h"

namespace {

bool IsAbsolute(const std::optional<std::string>& path) {
    return path && !path->empty() && IsPathSeparator((*path)[0]);
}

}  // namespace

std::string UserFolder(const char* variable, const std::string& homeDefault,
                       const std::string& below) {
    const std::optional<std::string> base = TheOs().Variable(variable);
    if (IsAbsolute(base)) {
        return *base + below;
    }
    std::optional<std::string> home = TheOs().Variable("HOME");
    if (!IsAbsolute(home)) {
        home = TheOs().UserDatabaseHome();
    }
    return (IsAbsolute(home) ? *home : std::string("/tmp")) + homeDefault + below;
}
