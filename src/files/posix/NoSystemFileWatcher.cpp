// On POSIX systems the files layer watches nothing itself: the Qt backend's watcher does.

#include "files/SystemFileWatcher.h"

std::unique_ptr<FileWatcher> MakeSystemFileWatcher(FileNotice) {
    return nullptr;
}
