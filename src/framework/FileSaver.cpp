#include "framework/FileSaver.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "framework/CFileException.h"
#include "framework/FileDescriptor.h"
#include "framework/UserFolders.h"

namespace {

[[noreturn]] void Fail(const std::string& path, int error) {
    throw CFileException(CFileException::save, path, error);
}

/// The prefix of the names that saves of the file base give their temporary files; the PID
/// that follows tells whether the save that made one still runs.
std::string TemporaryPrefix(const std::string& base) {
    return "." + base.substr(0, 100) + ".saving-";
}

bool MayAccess(const std::string& path, int mode) {
    return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

/// Follows symbolic links to the file they name, which need not exist yet.
std::string ResolveTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return current;
        }
        std::vector<char> link(static_cast<std::size_t>(std::max<off_t>(status.st_size, 255)) + 1);
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<std::size_t>(length) >= link.size()) {
            return current;
        }
        const std::string next(link.data(), static_cast<std::size_t>(length));
        const std::string::size_type slash = current.rfind('/');
        current = next[0] == '/' || slash == std::string::npos
                      ? next
                      : current.substr(0, slash + 1) + next;
    }
    return current;  // a loop: opening it reports ELOOP
}

void WriteAll(int fd, const char* source, std::size_t count, off_t offset,
              const std::string& path) {
    while (count > 0) {
        const ssize_t n = ::pwrite(fd, source, std::min<std::size_t>(count, INT_MAX), offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            Fail(path, n == 0 ? ENOSPC : errno);
        }
        source += n;
        offset += n;
        count -= static_cast<std::size_t>(n);
    }
}

/// Makes to's content that of from and syncs it.
void CopyContent(int from, int to, const std::string& path) {
    std::vector<char> piece(1 << 20);
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(from, piece.data(), piece.size(), offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            Fail(path, errno);
        }
        if (n == 0) {
            break;
        }
        WriteAll(to, piece.data(), static_cast<std::size_t>(n), offset, path);
        offset += n;
    }
    if (::ftruncate(to, offset) != 0 || ::fsync(to) != 0) {
        Fail(path, errno);
    }
}

void SyncFolder(const std::string& folder) {
    // A file system that cannot sync a folder still has the name in place.
    FileDescriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.Get() >= 0) {
        ::fsync(handle.Get());
    }
}

/// Removes temporary files of saves of base that were killed: those whose process is gone.
void RemoveLeftovers(const std::string& folder, const std::string& base) {
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    const std::string prefix = TemporaryPrefix(base);
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            ::unlinkat(::dirfd(listing), name.c_str(), 0);
        }
    }
    ::closedir(listing);
}

void MakeFolder(const std::string& folder) {
    for (std::string::size_type slash = 1; slash != std::string::npos;) {
        slash = folder.find('/', slash + 1);
        const std::string step = folder.substr(0, slash);
        if (::mkdir(step.c_str(), 0700) != 0 && errno != EEXIST) {
            Fail(folder, errno);
        }
    }
}

/// Gives the file open as to the extended attributes of path; false when one cannot be set.
bool CopyAttributes(const std::string& path, int to) {
    const ssize_t size = ::listxattr(path.c_str(), nullptr, 0);
    if (size <= 0) {
        return size == 0 || errno == ENOTSUP;
    }
    std::vector<char> names(static_cast<std::size_t>(size));
    const ssize_t listed = ::listxattr(path.c_str(), names.data(), names.size());
    if (listed < 0) {
        return false;
    }
    for (const char* name = names.data(); name < names.data() + listed;
         name += std::char_traits<char>::length(name) + 1) {
        const ssize_t length = ::getxattr(path.c_str(), name, nullptr, 0);
        std::vector<char> value(static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
        if (length < 0 || ::getxattr(path.c_str(), name, value.data(), value.size()) != length ||
            ::fsetxattr(to, name, value.data(), value.size(), 0) != 0) {
            return false;
        }
    }
    return true;
}

/// The path from the root, so that a record names the file wherever it is read.
std::string Absolute(const std::string& path) {
    if (!path.empty() && path[0] == '/') {
        return path;
    }
    std::vector<char> here(PATH_MAX);
    return ::getcwd(here.data(), here.size()) != nullptr ? std::string(here.data()) + "/" + path
                                                         : path;
}

std::string RecordFolder() {
    return FileSaver::CacheFolder() + "/interrupted-saves";
}

}  // namespace

/// A file in a folder that holds bytes until they are given a name or dropped: unnamed where
/// the file system offers that, so a killed save leaves nothing; otherwise named with
/// TemporaryPrefix, so the next save of the same file removes it.
class FileSaver::Staging {
public:
    Staging(const std::string& folder, const std::string& base, const std::string& path)
        : folder(folder), base(base), path(path) {
        file = FileDescriptor(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666));
        if (file.Get() >= 0) {
            return;
        }
        for (int attempt = 0;; ++attempt) {
            name = NameFor(attempt);
            file =
                FileDescriptor(::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (file.Get() >= 0) {
                return;
            }
            if (errno != EEXIST || attempt == 99) {
                name.clear();
                Fail(path, errno);
            }
        }
    }
    Staging(const Staging&) = delete;
    Staging& operator=(const Staging&) = delete;
    ~Staging() {
        file.Close();
        if (!name.empty()) {
            ::unlink(name.c_str());
        }
    }

    int Get() const { return file.Get(); }

    /// Gives the bytes the name wanted, which must not exist yet; EEXIST when it does.
    void Link(const std::string& wanted) {
        if (name.empty()) {
            const std::string self = "/proc/self/fd/" + std::to_string(file.Get());
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, wanted.c_str(), AT_SYMLINK_FOLLOW) !=
                    0 &&
                ::linkat(file.Get(), "", AT_FDCWD, wanted.c_str(), AT_EMPTY_PATH) != 0) {
                Fail(path, errno);
            }
        } else {
            if (::link(name.c_str(), wanted.c_str()) != 0) {
                Fail(path, errno);
            }
            ::unlink(name.c_str());
            name.clear();
        }
    }

    /// Renames the bytes over target, replacing it at once.
    void Replace(const std::string& target) {
        if (name.empty()) {
            // Linked under a temporary name first: a name can be replaced only by a rename.
            for (int attempt = 0; name.empty(); ++attempt) {
                try {
                    const std::string candidate = NameFor(attempt);
                    Link(candidate);
                    name = candidate;
                } catch (const CFileException& error) {
                    if (error.GetError() != EEXIST || attempt == 99) {
                        throw;
                    }
                }
            }
        }
        if (::rename(name.c_str(), target.c_str()) != 0) {
            Fail(path, errno);
        }
        name.clear();
    }

private:
    std::string NameFor(int attempt) const {
        return folder + TemporaryPrefix(base) + std::to_string(::getpid()) + "-" +
               std::to_string(attempt);
    }

    std::string folder;  ///< ends in '/'
    std::string base;
    std::string path;
    std::string name;  ///< empty while unnamed
    FileDescriptor file;
};

std::string FileSaver::CacheFolder() {
    return UserFolder("XDG_CACHE_HOME", "/.cache", "/velk");
}

FileSaver::FileSaver(const std::string& path) : path(path), target(ResolveTarget(path)) {
    const std::string::size_type slash = target.rfind('/');
    folder = slash == std::string::npos ? "./" : target.substr(0, slash + 1);
    baseName = slash == std::string::npos ? target : target.substr(slash + 1);
    struct stat existing {};
    exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        Fail(path, errno);
    }
    if (exists && S_ISDIR(existing.st_mode)) {
        Fail(path, EISDIR);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        throw CFileException(CFileException::save, path, "not a regular file");
    }
    // A read-only file stays as it is, even where its folder would allow a rename over it.
    if (exists && !MayAccess(target, W_OK)) {
        Fail(path, errno);
    }
    const bool folderWritable = MayAccess(folder, W_OK | X_OK);
    if (!folderWritable && !exists) {
        Fail(path, errno);
    }
    if (folderWritable) {
        RemoveLeftovers(folder, baseName);
    }
    inPlace = exists && (!folderWritable || existing.st_nlink > 1);
    std::string stagingFolder = folder;
    if (!folderWritable) {
        stagingFolder = CacheFolder() + "/";
        MakeFolder(CacheFolder());
        RemoveLeftovers(stagingFolder, baseName);
    }
    staging = std::make_unique<Staging>(stagingFolder, baseName, path);
    if (!exists || inPlace) {
        return;
    }
    // The new file takes the old one's place only if it can take all of its identity.
    struct stat made {};
    if (::fstat(staging->Get(), &made) != 0) {
        Fail(path, errno);
    }
    if ((made.st_uid != existing.st_uid || made.st_gid != existing.st_gid) &&
        ::fchown(staging->Get(), existing.st_uid, existing.st_gid) != 0) {
        inPlace = true;
    } else if (!CopyAttributes(target, staging->Get())) {
        inPlace = true;
    } else if (::fchmod(staging->Get(), existing.st_mode & 07777) != 0) {
        inPlace = true;
    }
}

FileSaver::~FileSaver() = default;

void FileSaver::Write(const char* source, std::size_t count) {
    while (count > 0) {
        const ssize_t n = ::write(staging->Get(), source, std::min<std::size_t>(count, INT_MAX));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            Fail(path, n == 0 ? ENOSPC : errno);
        }
        source += n;
        count -= static_cast<std::size_t>(n);
    }
}

void FileSaver::Commit(const std::function<void()>& replacing) {
    if (::fsync(staging->Get()) != 0) {
        Fail(path, errno);
    }
    if (inPlace) {
        CommitInPlace(replacing);
    } else {
        CommitByRename(replacing);
    }
}

void FileSaver::CommitByRename(const std::function<void()>& replacing) {
    if (replacing) {
        replacing();
    }
    staging->Replace(target);
    SyncFolder(folder);
}

void FileSaver::CommitInPlace(const std::function<void()>& replacing) {
    FileDescriptor file(::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0) {
        Fail(path, errno);
    }
    const bool besideTheFile = MayAccess(folder, W_OK | X_OK);
    const std::string copyFolder = besideTheFile ? folder : CacheFolder() + "/";
    MakeFolder(RecordFolder());

    // 1. The name of the copy, and the record that names it, before anything is touched: a
    //    record whose copy is missing tells the next start that the file was never touched.
    std::string copyName;
    for (int attempt = 0; copyName.empty(); ++attempt) {
        const std::string candidate = copyFolder + baseName + ".velk-backup" +
                                      (attempt > 0 ? "-" + std::to_string(attempt) : "");
        struct stat status {};
        if (::lstat(candidate.c_str(), &status) != 0 && errno == ENOENT) {
            copyName = candidate;
        } else if (attempt == 99) {
            Fail(path, EEXIST);
        }
    }
    std::string recordName;
    FileDescriptor record;
    for (int attempt = 0; record.Get() < 0; ++attempt) {
        recordName =
            RecordFolder() + "/" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        record = FileDescriptor(
            ::open(recordName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (record.Get() < 0 && (errno != EEXIST || attempt == 99)) {
            Fail(path, errno);
        }
    }
    const std::string entry = Absolute(target) + '\0' + Absolute(copyName) + '\0';
    try {
        WriteAll(record.Get(), entry.data(), entry.size(), 0, path);
        if (::fsync(record.Get()) != 0) {
            Fail(path, errno);
        }
        SyncFolder(RecordFolder());

        // 2. A whole copy of the old content, synced, then given its name at once.
        Staging copy(copyFolder, baseName, path);
        CopyContent(file.Get(), copy.Get(), path);
        copy.Link(copyName);
        SyncFolder(copyFolder);
    } catch (...) {
        ::unlink(recordName.c_str());
        throw;
    }

    // 3. The new content into the file itself. On failure the old content goes back; if even
    //    that fails, the copy and its record stay and the message says where the copy is.
    if (replacing) {
        replacing();
    }
    try {
        CopyContent(staging->Get(), file.Get(), path);
    } catch (const CFileException& error) {
        try {
            FileDescriptor old(::open(copyName.c_str(), O_RDONLY | O_CLOEXEC));
            if (old.Get() < 0) {
                Fail(path, errno);
            }
            CopyContent(old.Get(), file.Get(), path);
        } catch (const CFileException&) {
            const std::string reason = error.GetError() != 0
                                           ? std::generic_category().message(error.GetError())
                                           : std::string("the new content could not be written");
            throw CFileException(CFileException::save, path,
                                 reason + "; the old content is kept in \"" + copyName + "\"");
        }
        ::unlink(copyName.c_str());
        ::unlink(recordName.c_str());
        throw;
    }

    // 4. The new content is on disk: the copy and its record go.
    ::unlink(copyName.c_str());
    SyncFolder(copyFolder);
    ::unlink(recordName.c_str());
}

std::vector<FileSaver::Interrupted> FileSaver::TakeInterruptedSaves() {
    std::vector<Interrupted> found;
    const std::string folder = RecordFolder();
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        return found;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        const long pid = std::strtol(name.c_str(), nullptr, 10);
        if (pid <= 0 || (pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) == 0)) {
            continue;  // not a record, or a save that still runs
        }
        const std::string recordPath = folder + "/" + name;
        FileDescriptor record(::open(recordPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        std::string text;
        char piece[4096];
        for (ssize_t n; record.Get() >= 0 && (n = ::read(record.Get(), piece, sizeof piece)) > 0;) {
            text.append(piece, static_cast<std::size_t>(n));
        }
        const std::string::size_type end = text.find('\0');
        if (end != std::string::npos) {
            Interrupted save{text.substr(0, end), text.substr(end + 1)};
            save.copy = save.copy.substr(0, save.copy.find('\0'));
            struct stat status {};
            if (!save.copy.empty() && ::lstat(save.copy.c_str(), &status) == 0) {
                found.push_back(std::move(save));
            }
        }
        ::unlink(recordPath.c_str());
    }
    ::closedir(listing);
    return found;
}
