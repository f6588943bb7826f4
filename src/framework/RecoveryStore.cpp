#include "framework/RecoveryStore.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "framework/UserFolders.h"

namespace {

bool WriteWhole(int fd, const std::string& bytes) {
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, next, std::min<std::size_t>(left, INT_MAX));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        next += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

/// Writes bytes under a temporary name, syncs them and renames them over path: a reader, or
/// the next start after a kill, sees the old or the new bytes, never a mix.
bool ReplaceAtomically(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".new";
    FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (file.Get() < 0) {
        return false;
    }
    if (!WriteWhole(file.Get(), bytes) || ::fsync(file.Get()) != 0 || file.Close() != 0 ||
        ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

std::string ReadSmall(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    std::string text;
    char piece[4096];
    for (ssize_t n; file.Get() >= 0 && text.size() < 65536 &&
                    (n = ::read(file.Get(), piece, sizeof piece)) > 0;) {
        text.append(piece, static_cast<std::size_t>(n));
    }
    return text;
}

bool MakeFolders(const std::string& folder) {
    for (std::string::size_type slash = 1; slash != std::string::npos;) {
        slash = folder.find('/', slash + 1);
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
}

}  // namespace

RecoveryStore::RecoveryStore(std::string folder)
    : folder_(std::move(folder)), base_(folder_ + "/" + std::to_string(::getpid())) {
    if (!MakeFolders(folder_)) {
        return;
    }
    FileDescriptor lock(
        ::open((base_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (lock.Get() >= 0 && ::flock(lock.Get(), LOCK_EX | LOCK_NB) == 0) {
        lock_ = std::move(lock);
    }
}

RecoveryStore::~RecoveryStore() {
    Remove();
    for (auto& [base, lock] : held_) {
        lock.Close();
    }
    if (Works()) {
        ::unlink((base_ + ".lock").c_str());
    }
}

std::string RecoveryStore::DefaultFolder() {
    return UserFolder("XDG_STATE_HOME", "/.local/state", "/velk/recovery");
}

void RecoveryStore::Keep(const std::function<std::string()>& produce, const std::string& file) {
    Wait();
    if (!Works()) {
        return;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // Only the text and the two files, then out without running anything of the parent's
        // (no destructors, no atexit handlers, no buffered streams flushed twice). A child of a
        // threaded process may find a lock held by a thread that did not come along; the alarm
        // ends such a writer instead of leaving it, and the parent that waits for it, stuck.
        ::alarm(kWriterSeconds);
        bool written = false;
        try {
            written = Write(produce(), file);
        } catch (...) {
        }
        ::_exit(written ? 0 : 1);
    }
    if (child < 0) {
        try {
            lastWriteFailed_ = !Write(produce(), file);
        } catch (...) {
            lastWriteFailed_ = true;
        }
        return;
    }
    writer_ = child;
}

bool RecoveryStore::Write(const std::string& text, const std::string& file) {
    // The note follows the copy: a note always describes a whole copy, at worst an older one
    // of the same work.
    const std::string note = file + '\n' + std::to_string(std::time(nullptr)) + '\n';
    return ReplaceAtomically(base_ + ".copy", text) && ReplaceAtomically(base_ + ".note", note);
}

bool RecoveryStore::Busy() {
    if (writer_ > 0) {
        int status = 0;
        const pid_t done = ::waitpid(writer_, &status, WNOHANG);
        if (done == 0) {
            return true;
        }
        lastWriteFailed_ = done != writer_ || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
        writer_ = -1;
    }
    return false;
}

bool RecoveryStore::Wait() {
    if (writer_ > 0) {
        int status = 0;
        pid_t done = 0;
        while ((done = ::waitpid(writer_, &status, 0)) < 0 && errno == EINTR) {
        }
        lastWriteFailed_ = done != writer_ || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
        writer_ = -1;
    }
    return !lastWriteFailed_;
}

void RecoveryStore::Remove() {
    // The copy is no longer wanted, so a write still running is stopped rather than waited for:
    // removing never keeps the interface waiting on the disk.
    if (Busy()) {
        ::kill(writer_, SIGKILL);
        Wait();
    }
    if (Works()) {
        for (const char* suffix : {".note", ".copy", ".note.new", ".copy.new"}) {
            ::unlink((base_ + suffix).c_str());
        }
    }
}

std::vector<RecoveryStore::Orphan> RecoveryStore::TakeOrphans() {
    std::vector<Orphan> found;
    DIR* listing = ::opendir(folder_.c_str());
    if (listing == nullptr) {
        return found;
    }
    std::vector<std::string> stems;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        const std::string::size_type dot = name.find('.');
        if (dot != std::string::npos && name.substr(dot) == ".note") {
            stems.push_back(folder_ + "/" + name.substr(0, dot));
        }
    }
    ::closedir(listing);
    for (const std::string& stem : stems) {
        if (stem == base_ || std::any_of(held_.begin(), held_.end(),
                                         [&](const auto& held) { return held.first == stem; })) {
            continue;
        }
        // Every process makes its lock before its first copy: a note without one is being
        // discarded by another start.
        FileDescriptor lock(::open((stem + ".lock").c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW));
        if (lock.Get() < 0 || ::flock(lock.Get(), LOCK_EX | LOCK_NB) != 0) {
            continue;  // its process still runs, or another start holds it
        }
        const std::string note = ReadSmall(stem + ".note");
        struct stat copy {};
        const std::string::size_type end = note.find('\n');
        if (end == std::string::npos || ::stat((stem + ".copy").c_str(), &copy) != 0) {
            continue;  // taken and discarded by another start meanwhile
        }
        Orphan orphan{stem + ".copy", note.substr(0, end),
                      std::strtoll(note.c_str() + end + 1, nullptr, 10), stem};
        held_.emplace_back(stem, std::move(lock));
        found.push_back(std::move(orphan));
    }
    std::sort(found.begin(), found.end(),
              [](const Orphan& a, const Orphan& b) { return a.seconds < b.seconds; });
    return found;
}

void RecoveryStore::Discard(const Orphan& orphan) {
    ::unlink((orphan.base + ".copy").c_str());
    ::unlink((orphan.base + ".note").c_str());
    ::unlink((orphan.base + ".lock").c_str());
    Release(orphan);
}

void RecoveryStore::Release(const Orphan& orphan) {
    held_.erase(std::remove_if(held_.begin(), held_.end(),
                               [&](const auto& held) { return held.first == orphan.base; }),
                held_.end());
}
