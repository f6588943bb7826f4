#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

/// An error number of the C library's kind (ENOENT, ENOSPC, ...); 0 is success. A system with
/// error codes of its own maps them onto these, so the words for them are made in one place.
using OsError = int;

/// A value, or the error that kept the system from giving it.
template <typename T>
struct OsResult {
    T value{};
    OsError error = 0;

    bool ok() const { return error == 0; }
};

/// An open file as the system names it; kNoFile for none.
using FileId = std::intptr_t;
inline constexpr FileId kNoFile = -1;

/// A process as the system names it.
using ProcessId = std::int64_t;

enum class FileKind { regular, folder, link, other };

/// What the system says of a file. On systems without owners or modes these are 0.
struct FileInfo {
    FileKind kind = FileKind::other;
    std::uint64_t size = 0;
    std::uint64_t links = 1;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;  ///< with device, which file it is
    std::int64_t modifiedNs = 0;
    std::uint32_t mode = 0;  ///< permission bits
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
};

/// How to open a file; read-only unless kWrite or kReadWrite.
enum OpenFlags : unsigned {
    kReadOnly = 0,
    kWriteOnly = 1u << 0,
    kReadWrite = 1u << 1,
    kCreate = 1u << 2,
    kExclusive = 1u << 3,  ///< with kCreate: fail when the name exists, links included
    kTruncate = 1u << 4,
    kNoFollow = 1u << 5,  ///< a symbolic link as the last step fails instead of being followed
    kNoWait = 1u << 6,    ///< a pipe without a writer does not keep the open waiting
    kFolderOnly = 1u << 7,
};

/// What Access asks.
enum AccessFlags : unsigned { kMayWrite = 1u << 0, kMayEnter = 1u << 1 };

/// The process's memory as the system limits it; the largest value where there is no limit.
struct MemoryFacts {
    std::uint64_t available = UINT64_MAX;  ///< what the machine can still give
    std::uint64_t dataLimit = UINT64_MAX;
    std::uint64_t dataUsed = 0;
    std::uint64_t addressLimit = UINT64_MAX;
    std::uint64_t addressUsed = 0;
};

/// Every call Velk makes of the operating system, each wrapped once. Results carry the error
/// instead of leaving it in a global; calls interrupted by a signal are repeated inside. Tests
/// put an Os of their own in place (ScopedOs) to record calls and make chosen ones fail.
class Os {
public:
    virtual ~Os() = default;

    // Open files.
    virtual OsResult<FileId> Open(const std::string& path, unsigned flags, unsigned mode) = 0;
    /// A file in folder without a name until NameUnnamed gives it one; EOPNOTSUPP (or another
    /// error) where the file system has no such files.
    virtual OsResult<FileId> OpenUnnamed(const std::string& folder, unsigned mode) = 0;
    virtual OsError Close(FileId file) = 0;
    /// Up to count bytes; 0 only at the end.
    virtual OsResult<std::size_t> Read(FileId file, char* into, std::size_t count) = 0;
    virtual OsResult<std::size_t> ReadAt(FileId file, char* into, std::size_t count,
                                         std::uint64_t offset) = 0;
    /// At least one byte unless count is 0; a file system that takes none reports ENOSPC.
    virtual OsResult<std::size_t> Write(FileId file, const char* from, std::size_t count) = 0;
    virtual OsResult<std::size_t> WriteAt(FileId file, const char* from, std::size_t count,
                                          std::uint64_t offset) = 0;
    /// Puts the file's content and size on the disk.
    virtual OsError Sync(FileId file) = 0;
    virtual OsError Truncate(FileId file, std::uint64_t size) = 0;
    virtual OsResult<FileInfo> Info(FileId file) = 0;
    /// Reads from now on wait for data (undoes kNoWait).
    virtual OsError Wait(FileId file) = 0;
    virtual OsError SetOwner(FileId file, std::uint32_t owner, std::uint32_t group) = 0;
    virtual OsError SetMode(FileId file, std::uint32_t mode) = 0;
    /// Gives file every extended attribute of the file at from; an error when one cannot be.
    virtual OsError CopyAttributes(const std::string& from, FileId file) = 0;
    /// An exclusive lock for as long as the file stays open; EWOULDBLOCK when another holds it.
    virtual OsError TryLock(FileId file) = 0;
    virtual OsError NameUnnamed(FileId file, const std::string& path) = 0;
    virtual bool IsTerminal(FileId file) = 0;

    // Names.
    virtual OsResult<FileInfo> InfoOf(const std::string& path, bool followLinks) = 0;
    virtual OsResult<std::string> ReadLink(const std::string& path) = 0;
    /// 0 when the process may do what flags ask with the file, by its effective identity.
    virtual OsError Access(const std::string& path, unsigned flags) = 0;
    virtual OsError SetModeOf(const std::string& path, std::uint32_t mode) = 0;
    /// Gives to the file at from; to must not exist.
    virtual OsError Link(const std::string& from, const std::string& to) = 0;
    /// Puts from in place of to at once: a reader sees the old file or the new one.
    virtual OsError Rename(const std::string& from, const std::string& to) = 0;
    virtual OsError Remove(const std::string& path) = 0;
    virtual OsError MakeFolder(const std::string& path, std::uint32_t mode) = 0;
    /// Puts the folder's names on the disk; a file system that cannot is no error.
    virtual OsError SyncFolder(const std::string& path) = 0;
    virtual OsResult<std::vector<std::string>> ListFolder(const std::string& path) = 0;

    // Processes.
    virtual ProcessId CurrentProcess() = 0;
    /// Whether a process of that id exists now (it may be another program by now).
    virtual bool ProcessRuns(ProcessId process) = 0;
    /// Makes, on the thread that runs it, the text of the moment it was taken.
    using TextMaker = std::function<std::string()>;
    /// Writes in the background the text of this moment, so the caller neither waits for the
    /// disk nor sees the text change with later work. Where a process can be forked, take runs
    /// in a writer process on an image of this process. Elsewhere snapshot runs here, and the
    /// text maker it answers runs on a writer thread with the write; without a snapshot, take
    /// runs here. A writer still running after timeoutSeconds fails where it can be ended
    /// safely. Where no background is possible, an error, and the caller writes itself.
    virtual OsResult<ProcessId> StartWriter(const std::function<std::string()>& take,
                                            const std::function<TextMaker()>& snapshot,
                                            const std::function<OsError(const std::string&)>& write,
                                            unsigned timeoutSeconds) = 0;
    /// The error the writer's job answered (0 for success; EINTR when it was stopped or
    /// died), or nothing while it runs and wait is false.
    virtual std::optional<OsError> PollWriter(ProcessId writer, bool wait) = 0;
    /// Stops a writer and waits for its end.
    virtual void StopWriter(ProcessId writer) = 0;

    // The process's surroundings.
    virtual std::optional<std::string> Variable(const std::string& name) = 0;
    /// The user's home folder by the user database, when it has one.
    virtual std::optional<std::string> UserDatabaseHome() = 0;
    /// The folder the system gives programs for the user's own data on this machine
    /// (%LOCALAPPDATA% on Windows); nothing where the XDG variables decide instead.
    virtual std::optional<std::string> UserDataFolder() = 0;
    virtual OsResult<std::string> CurrentFolder() = 0;
    virtual MemoryFacts Memory() = 0;
    virtual FileId StandardError() = 0;
};

/// The Os in use: the system's own, or the one a test put in place.
Os& TheOs();

/// Puts os in place of the Os in use for its lifetime; for tests.
class ScopedOs {
public:
    explicit ScopedOs(Os& os);
    ScopedOs(const ScopedOs&) = delete;
    ScopedOs& operator=(const ScopedOs&) = delete;
    ~ScopedOs();

private:
    Os* previous_;
};

/// The system's own Os, whatever is in place.
Os& SystemOs();

/// The program's arguments after its name, as UTF-8 whatever the system hands over; on a
/// Windows console it also makes UTF-8 the console's output code.
std::vector<std::string> ProgramArguments(int argc, char** argv);
