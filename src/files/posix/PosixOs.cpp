// The operating system as POSIX (and Linux) offers it: the one file of Velk that calls it.

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "files/Memory.h"
#include "files/Os.h"

namespace {

template <typename T>
OsResult<T> Failed() {
    return OsResult<T>{T{}, errno};
}

OsError Status(int result) {
    return result == 0 ? 0 : errno;
}

int Fd(FileId file) {
    return static_cast<int>(file);
}

FileInfo InfoFrom(const struct stat& status) {
    FileInfo info;
    info.kind = S_ISREG(status.st_mode)   ? FileKind::regular
                : S_ISDIR(status.st_mode) ? FileKind::folder
                : S_ISLNK(status.st_mode) ? FileKind::link
                                          : FileKind::other;
    info.size = static_cast<std::uint64_t>(status.st_size);
    info.links = static_cast<std::uint64_t>(status.st_nlink);
    info.device = static_cast<std::uint64_t>(status.st_dev);
    info.inode = static_cast<std::uint64_t>(status.st_ino);
    info.modifiedNs =
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    info.mode = status.st_mode & 07777;
    info.owner = status.st_uid;
    info.group = status.st_gid;
    return info;
}

/// A whole small file of the system's (/proc), empty when it cannot be read.
std::string SystemText(const char* path) {
    std::string text;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return text;
    }
    char piece[4096];
    for (ssize_t n; text.size() < (1 << 20);) {
        n = ::read(fd, piece, sizeof piece);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        text.append(piece, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return text;
}

std::uint64_t Limit(int resource) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return UINT64_MAX;
    }
    return static_cast<std::uint64_t>(limit.rlim_cur);
}

/// Moves up to count bytes (at most INT_MAX at once) with move, again when a signal cut it
/// short. A write that moves nothing although bytes were offered means a full disk.
template <typename Move>
OsResult<std::size_t> Transfer(std::size_t count, bool writing, Move move) {
    for (;;) {
        const ssize_t n = move(std::min<std::size_t>(count, INT_MAX));
        if (n > 0 || (n == 0 && (!writing || count == 0))) {
            return {static_cast<std::size_t>(n), 0};
        }
        if (n == 0) {
            return {0, ENOSPC};
        }
        if (errno != EINTR) {
            return Failed<std::size_t>();
        }
    }
}

class PosixOs final : public Os {
public:
    OsResult<FileId> Open(const std::string& path, unsigned flags, unsigned mode) override {
        int how = (flags & kReadWrite) ? O_RDWR : (flags & kWriteOnly) ? O_WRONLY : O_RDONLY;
        how |= O_CLOEXEC | O_NOCTTY;
        how |= (flags & kCreate) ? O_CREAT : 0;
        how |= (flags & kExclusive) ? O_EXCL : 0;
        how |= (flags & kTruncate) ? O_TRUNC : 0;
        how |= (flags & kNoFollow) ? O_NOFOLLOW : 0;
        how |= (flags & kNoWait) ? O_NONBLOCK : 0;
        how |= (flags & kFolderOnly) ? O_DIRECTORY : 0;
        for (;;) {
            const int fd = ::open(path.c_str(), how, static_cast<mode_t>(mode));
            if (fd >= 0) {
                return {fd, 0};
            }
            if (errno != EINTR) {
                return Failed<FileId>();
            }
        }
    }

    OsResult<FileId> OpenUnnamed(const std::string& folder, unsigned mode) override {
        const int fd =
            ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, static_cast<mode_t>(mode));
        return fd >= 0 ? OsResult<FileId>{fd, 0} : Failed<FileId>();
    }

    OsError Close(FileId file) override { return Status(::close(Fd(file))); }

    OsResult<std::size_t> Read(FileId file, char* into, std::size_t count) override {
        return Transfer(count, false, [&](std::size_t n) { return ::read(Fd(file), into, n); });
    }

    OsResult<std::size_t> ReadAt(FileId file, char* into, std::size_t count,
                                 std::uint64_t offset) override {
        return Transfer(count, false, [&](std::size_t n) {
            return ::pread(Fd(file), into, n, static_cast<off_t>(offset));
        });
    }

    OsResult<std::size_t> Write(FileId file, const char* from, std::size_t count) override {
        return Transfer(count, true, [&](std::size_t n) { return ::write(Fd(file), from, n); });
    }

    OsResult<std::size_t> WriteAt(FileId file, const char* from, std::size_t count,
                                  std::uint64_t offset) override {
        return Transfer(count, true, [&](std::size_t n) {
            return ::pwrite(Fd(file), from, n, static_cast<off_t>(offset));
        });
    }

    OsError Sync(FileId file) override { return Status(::fsync(Fd(file))); }

    OsError Truncate(FileId file, std::uint64_t size) override {
        return Status(::ftruncate(Fd(file), static_cast<off_t>(size)));
    }

    OsResult<FileInfo> Info(FileId file) override {
        struct stat status {};
        if (::fstat(Fd(file), &status) != 0) {
            return Failed<FileInfo>();
        }
        return {InfoFrom(status), 0};
    }

    OsError Wait(FileId file) override {
        const int flags = ::fcntl(Fd(file), F_GETFL);
        return flags < 0 ? errno : Status(::fcntl(Fd(file), F_SETFL, flags & ~O_NONBLOCK));
    }

    OsError SetOwner(FileId file, std::uint32_t owner, std::uint32_t group) override {
        return Status(::fchown(Fd(file), owner, group));
    }

    OsError SetMode(FileId file, std::uint32_t mode) override {
        return Status(::fchmod(Fd(file), static_cast<mode_t>(mode)));
    }

    OsError CopyAttributes(const std::string& from, FileId file) override {
        const ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
        if (size <= 0) {
            return size == 0 || errno == ENOTSUP ? 0 : errno;
        }
        std::vector<char> names(static_cast<std::size_t>(size));
        const ssize_t listed = ::listxattr(from.c_str(), names.data(), names.size());
        if (listed < 0) {
            return errno;
        }
        for (const char* name = names.data(); name < names.data() + listed;
             name += std::char_traits<char>::length(name) + 1) {
            const ssize_t length = ::getxattr(from.c_str(), name, nullptr, 0);
            if (length < 0) {
                return errno;
            }
            std::vector<char> value(static_cast<std::size_t>(length));
            if (::getxattr(from.c_str(), name, value.data(), value.size()) != length) {
                return errno != 0 ? errno : EIO;
            }
            if (::fsetxattr(Fd(file), name, value.data(), value.size(), 0) != 0) {
                return errno;
            }
        }
        return 0;
    }

    OsError TryLock(FileId file) override {
        for (;;) {
            if (::flock(Fd(file), LOCK_EX | LOCK_NB) == 0) {
                return 0;
            }
            if (errno != EINTR) {
                return errno;
            }
        }
    }

    OsError NameUnnamed(FileId file, const std::string& path) override {
        // Through /proc first: linking an unnamed file by its descriptor needs a privilege.
        const std::string self = "/proc/self/fd/" + std::to_string(Fd(file));
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return 0;
        }
        return Status(::linkat(Fd(file), "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH));
    }

    bool IsTerminal(FileId file) override { return ::isatty(Fd(file)) == 1; }

    OsResult<FileInfo> InfoOf(const std::string& path, bool followLinks) override {
        struct stat status {};
        if ((followLinks ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status)) != 0) {
            return Failed<FileInfo>();
        }
        return {InfoFrom(status), 0};
    }

    OsResult<std::string> ReadLink(const std::string& path) override {
        for (std::size_t size = 256; size <= (1u << 20); size *= 4) {
            std::vector<char> link(size);
            const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
            if (length < 0) {
                return Failed<std::string>();
            }
            if (static_cast<std::size_t>(length) < link.size()) {
                return {std::string(link.data(), static_cast<std::size_t>(length)), 0};
            }
        }
        return {{}, ENAMETOOLONG};
    }

    OsError Access(const std::string& path, unsigned flags) override {
        const int mode = ((flags & kMayWrite) ? W_OK : 0) | ((flags & kMayEnter) ? X_OK : 0);
        return Status(::faccessat(AT_FDCWD, path.c_str(), mode == 0 ? F_OK : mode, AT_EACCESS));
    }

    OsError SetModeOf(const std::string& path, std::uint32_t mode) override {
        return Status(::chmod(path.c_str(), static_cast<mode_t>(mode)));
    }

    OsError Link(const std::string& from, const std::string& to) override {
        return Status(::link(from.c_str(), to.c_str()));
    }

    OsError Rename(const std::string& from, const std::string& to) override {
        return Status(::rename(from.c_str(), to.c_str()));
    }

    OsError Remove(const std::string& path) override { return Status(::unlink(path.c_str())); }

    OsError MakeFolder(const std::string& path, std::uint32_t mode) override {
        return Status(::mkdir(path.c_str(), static_cast<mode_t>(mode)));
    }

    OsError SyncFolder(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            return errno;
        }
        const int result = ::fsync(fd);
        const OsError error = result == 0 || errno == EINVAL ? 0 : errno;
        ::close(fd);
        return error;
    }

    OsResult<std::vector<std::string>> ListFolder(const std::string& path) override {
        DIR* listing = ::opendir(path.c_str());
        if (listing == nullptr) {
            return Failed<std::vector<std::string>>();
        }
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(listing)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        ::closedir(listing);
        return {std::move(names), 0};
    }

    ProcessId CurrentProcess() override { return ::getpid(); }

    bool ProcessRuns(ProcessId process) override {
        // EPERM: it runs, as somebody else.
        return process > 0 && process <= INT_MAX &&
               (::kill(static_cast<pid_t>(process), 0) == 0 || errno != ESRCH);
    }

    OsResult<ProcessId> StartWriter(const std::function<std::string()>& take,
                                    const std::function<TextMaker()>& /*snapshot*/,
                                    const std::function<OsError(const std::string&)>& write,
                                    unsigned timeoutSeconds) override {
        const pid_t child = ::fork();
        if (child == 0) {
            // Only the job, then out without running anything of the parent's (no destructors,
            // no atexit handlers, no buffered streams flushed twice). A child of a threaded
            // process may find a lock held by a thread that did not come along; the alarm ends
            // such a writer instead of leaving it, and the parent that waits for it, stuck.
            ::alarm(timeoutSeconds);
            OsError error = EIO;
            try {
                error = write(take());
            } catch (...) {
            }
            ::_exit(error == 0 ? 0 : error > 0 && error < 126 ? error : EIO);
        }
        return child > 0 ? OsResult<ProcessId>{child, 0} : Failed<ProcessId>();
    }

    std::optional<OsError> PollWriter(ProcessId writer, bool wait) override {
        int status = 0;
        pid_t done = 0;
        while ((done = ::waitpid(static_cast<pid_t>(writer), &status, wait ? 0 : WNOHANG)) < 0 &&
               errno == EINTR) {
        }
        if (done == 0) {
            return std::nullopt;
        }
        if (done != writer) {
            return ECHILD;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : EINTR;
    }

    void StopWriter(ProcessId writer) override {
        ::kill(static_cast<pid_t>(writer), SIGKILL);
        PollWriter(writer, true);
    }

    std::optional<std::string> Variable(const std::string& name) override {
        const char* value = std::getenv(name.c_str());
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }

    std::optional<std::string> UserDatabaseHome() override {
        const passwd* user = ::getpwuid(::geteuid());
        return user != nullptr && user->pw_dir != nullptr ? std::optional<std::string>(user->pw_dir)
                                                          : std::nullopt;
    }

    std::optional<std::string> UserDataFolder() override { return std::nullopt; }

    OsResult<std::string> CurrentFolder() override {
        std::vector<char> here(PATH_MAX + 1);
        if (::getcwd(here.data(), here.size()) == nullptr) {
            return Failed<std::string>();
        }
        return {here.data(), 0};
    }

    MemoryFacts Memory() override {
        MemoryFacts facts;
        facts.available =
            StatusValue(SystemText("/proc/meminfo"), "MemAvailable").value_or(UINT64_MAX);
        const std::string status = SystemText("/proc/self/status");
        facts.dataLimit = Limit(RLIMIT_DATA);
        facts.dataUsed = StatusValue(status, "VmData").value_or(0);
        facts.addressLimit = Limit(RLIMIT_AS);
        facts.addressUsed = StatusValue(status, "VmSize").value_or(0);
        return facts;
    }

    FileId StandardError() override { return STDERR_FILENO; }
};

}  // namespace

Os& SystemOs() {
    static PosixOs os;
    return os;
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}
