#include "win32/NativeConsole.h"

#include <windows.h>

#include <cstdio>

namespace win32 {
namespace {

bool Redirected(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void UseParentConsole() {
    // A pipe or a file given by the caller stays: scripts read the output there.
    const bool output = Redirected(STD_OUTPUT_HANDLE);
    const bool error = Redirected(STD_ERROR_HANDLE);
    if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    if (!output) {
        std::FILE* reopened = std::freopen("CONOUT$", "w", stdout);
        (void)reopened;
    }
    if (!error) {
        std::FILE* reopened = std::freopen("CONOUT$", "w", stderr);
        (void)reopened;
    }
}

}  // namespace win32
