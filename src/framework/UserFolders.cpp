#include "framework/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

std::string UserFolder(const char* variable, const std::string& homeDefault,
                       const std::string& below) {
    const char* base = std::getenv(variable);
    if (base != nullptr && base[0] == '/') {
        return std::string(base) + below;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = ::getpwuid(::geteuid());
        home = user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/tmp";
    }
    return std::string(home) + homeDefault + below;
}
