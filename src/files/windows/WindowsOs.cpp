// The operating system as Windows offers it, beside the POSIX one behind the same Os: paths are
// UTF-8 inside and UTF-16 at every call, errors are the C library's numbers, and the promises
// are kept in Windows' own terms (a replacement that keeps the file's identity, a thread in
// place of a fork, a lock on a byte range in place of flock).

// windows.h comes before every other header of Windows, which rely on its names.
#include <windows.h>

#include <aclapi.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "files/Os.h"
#include "files/windows/WindowsText.h"

namespace {

using velk_windows::FromWide;
using velk_windows::LastError;
using velk_windows::ToSystemPath;
using velk_windows::ToWide;

HANDLE Handle(FileId file) {
    return reinterpret_cast<HANDLE>(file);
}

FileId Id(HANDLE handle) {
    return reinterpret_cast<FileId>(handle);
}

/// FILETIME counts 100 ns steps since 1601; Velk counts nanoseconds since 1970.
std::int64_t NanosecondsSince1970(const FILETIME& time) {
    const std::int64_t ticks =
        static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
    return (ticks - 116444736000000000LL) * 100;
}

/// The error for a name that was not found: "not a folder" when a step of its folder is a file,
/// as POSIX says, and "not found" otherwise.
OsError NotFound(const std::wstring& path) {
    // The root is there or not; the steps after it are the folders.
    const std::size_t root = velk_windows::RootLength(path);
    for (std::size_t cut = path.find_first_of(L"\\/", root > 0 ? root : 1);
         cut != std::wstring::npos; cut = path.find_first_of(L"\\/", cut + 1)) {
        const DWORD attributes = ::GetFileAttributesW(path.substr(0, cut).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            return ENOTDIR;
        }
    }
    return ENOENT;
}

/// The C library's number for the last Windows error of a call on path.
OsError ErrorOn(const std::wstring& path) {
    const DWORD code = ::GetLastError();
    return code == ERROR_PATH_NOT_FOUND ? NotFound(path) : velk_windows::ErrorFromWindows(code);
}

/// Opens for asking about a file, never for its content: this works while another program
/// holds the file open without sharing it, and on folders.
HANDLE OpenToAsk(const std::wstring& path, bool followLinks) {
    return ::CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
}

OsResult<FileInfo> InfoOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION facts{};
    if (!::GetFileInformationByHandle(handle, &facts)) {
        // Pipes and consoles have no such facts: they are no regular files.
        const DWORD type = ::GetFileType(handle);
        if (type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR) {
            return {FileInfo{}, 0};
        }
        return {FileInfo{}, LastError()};
    }
    FileInfo info;
    const bool folder = (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.kind = folder ? FileKind::folder : FileKind::regular;
    if (facts.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        FILE_ATTRIBUTE_TAG_INFO tag{};
        if (::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) &&
            (tag.ReparseTag == IO_REPARSE_TAG_SYMLINK ||
             tag.ReparseTag == IO_REPARSE_TAG_MOUNT_POINT)) {
            info.kind = FileKind::link;
        }
    }
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        info.kind = FileKind::other;
    }
    info.size = (std::uint64_t{facts.nFileSizeHigh} << 32) | facts.nFileSizeLow;
    info.links = facts.nNumberOfLinks;
    info.device = facts.dwVolumeSerialNumber;
    info.inode = (std::uint64_t{facts.nFileIndexHigh} << 32) | facts.nFileIndexLow;
    info.modifiedNs = NanosecondsSince1970(facts.ftLastWriteTime);
    // Who else may read a file is in its security, which a replacement keeps; the bits say
    // only whether the owner may write.
    const bool readOnly = (facts.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 && !folder;
    info.mode = folder ? 0700 : readOnly ? 0400 : 0600;
    return {info, 0};
}

/// The basic facts of an open file with the read-only attribute set or cleared.
OsError SetReadOnly(HANDLE handle, bool readOnly) {
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) {
        return LastError();
    }
    DWORD attributes = basic.FileAttributes & ~FILE_ATTRIBUTE_NORMAL;
    attributes = readOnly ? attributes | FILE_ATTRIBUTE_READONLY
                          : attributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
    basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return ::SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic) ? 0
                                                                                     : LastError();
}

/// Gives the new file at fresh the attributes and creation time of the file at old, which it is
/// about to replace; fails whole, with "busy", when another program holds old open without
/// letting it be replaced.
OsError TakeIdentity(const std::wstring& old, const std::wstring& fresh) {
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const HANDLE oldFile = ::CreateFileW(old.c_str(), DELETE | FILE_READ_ATTRIBUTES, share, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (oldFile == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    FILE_BASIC_INFO identity{};
    const bool known =
        ::GetFileInformationByHandleEx(oldFile, FileBasicInfo, &identity, sizeof identity) != 0;
    ::CloseHandle(oldFile);
    if (!known) {
        return 0;
    }
    const HANDLE freshFile =
        ::CreateFileW(fresh.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, share, nullptr,
                      OPEN_EXISTING, 0, nullptr);
    if (freshFile == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    FILE_BASIC_INFO basic{};
    if (::GetFileInformationByHandleEx(freshFile, FileBasicInfo, &basic, sizeof basic)) {
        basic.CreationTime = identity.CreationTime;
        basic.FileAttributes = identity.FileAttributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
        if (basic.FileAttributes == 0) {
            basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        }
        ::SetFileInformationByHandle(freshFile, FileBasicInfo, &basic, sizeof basic);
    }
    ::CloseHandle(freshFile);
    return 0;
}

std::optional<std::string> KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::optional<std::string> found;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)) && path != nullptr) {
        found = FromWide(path);
    }
    ::CoTaskMemFree(path);
    return found;
}

/// A background writer: a thread that writes text taken before it started.
struct Writer {
    std::thread thread;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    OsError error = 0;
};

class WindowsOs final : public Os {
public:
    ~WindowsOs() override {
        for (auto& [id, writer] : writers_) {
            if (writer->thread.joinable()) {
                writer->thread.join();
            }
        }
    }

    OsResult<FileId> Open(const std::string& path, unsigned flags, unsigned mode) override {
        std::wstring wide;
        if (!ToSystemPath(path, wide)) {
            return {kNoFile, EINVAL};
        }
        const bool write = (flags & (kWriteOnly | kReadWrite)) != 0;
        DWORD access = (flags & kReadWrite)   ? GENERIC_READ | GENERIC_WRITE
                       : (flags & kWriteOnly) ? GENERIC_WRITE
                                              : GENERIC_READ;
        DWORD disposition = OPEN_EXISTING;
        if (flags & kCreate) {
            disposition = (flags & kExclusive)  ? CREATE_NEW
                          : (flags & kTruncate) ? CREATE_ALWAYS
                                                : OPEN_ALWAYS;
        } else if (flags & kTruncate) {
            disposition = TRUNCATE_EXISTING;
        }
        // A new file the owner may not write is made read-only.
        DWORD attributes = (flags & kCreate) && (mode & 0200) == 0 ? FILE_ATTRIBUTE_READONLY
                                                                   : FILE_ATTRIBUTE_NORMAL;
        attributes |= (flags & kNoFollow) ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
        // Folders open only this way; reading one then fails as on POSIX, and Info tells it.
        attributes |= write ? 0 : FILE_FLAG_BACKUP_SEMANTICS;
        // Others may read, write, rename and delete while Velk holds a file, as on POSIX: a
        // lock file or a staging file open here never blocks a replacement or a removal.
        const HANDLE handle = ::CreateFileW(wide.c_str(), access,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, disposition, attributes, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const OsError error = ErrorOn(wide);
            // Opening a folder to write is refused as "access denied" by Windows.
            if (error == EACCES && write) {
                const DWORD found = ::GetFileAttributesW(wide.c_str());
                if (found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY)) {
                    return {kNoFile, EISDIR};
                }
            }
            return {kNoFile, error};
        }
        if (flags & kFolderOnly) {
            const OsResult<FileInfo> info = InfoOfHandle(handle);
            if (!info.ok() || info.value.kind != FileKind::folder) {
                ::CloseHandle(handle);
                return {kNoFile, info.ok() ? ENOTDIR : info.error};
            }
        }
        return {Id(handle), 0};
    }

    OsResult<FileId> OpenUnnamed(const std::string&, unsigned) override {
        // Windows files always have a name; the saver uses a named temporary.
        return {kNoFile, EOPNOTSUPP};
    }

    OsError Close(FileId file) override { return ::CloseHandle(Handle(file)) ? 0 : LastError(); }

    OsResult<std::size_t> Read(FileId file, char* into, std::size_t count) override {
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count, INT_MAX));
        if (!::ReadFile(Handle(file), into, wanted, &read, nullptr)) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) {
                return {0, 0};
            }
            return {0,
                    code == ERROR_INVALID_FUNCTION ? EISDIR : velk_windows::ErrorFromWindows(code)};
        }
        return {read, 0};
    }

    OsResult<std::size_t> ReadAt(FileId file, char* into, std::size_t count,
                                 std::uint64_t offset) override {
        // A read at an offset moves the file's position on Windows; pread does not.
        const Position kept(Handle(file));
        OVERLAPPED at = Overlapped(offset);
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count, INT_MAX));
        if (!::ReadFile(Handle(file), into, wanted, &read, &at)) {
            const DWORD code = ::GetLastError();
            return code == ERROR_HANDLE_EOF
                       ? OsResult<std::size_t>{0, 0}
                       : OsResult<std::size_t>{0, velk_windows::ErrorFromWindows(code)};
        }
        return {read, 0};
    }

    OsResult<std::size_t> Write(FileId file, const char* from, std::size_t count) override {
        DWORD written = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count, INT_MAX));
        if (!::WriteFile(Handle(file), from, wanted, &written, nullptr)) {
            return {0, LastError()};
        }
        if (written == 0 && count > 0) {
            return {0, ENOSPC};
        }
        return {written, 0};
    }

    OsResult<std::size_t> WriteAt(FileId file, const char* from, std::size_t count,
                                  std::uint64_t offset) override {
        const Position kept(Handle(file));
        OVERLAPPED at = Overlapped(offset);
        DWORD written = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count, INT_MAX));
        if (!::WriteFile(Handle(file), from, wanted, &written, &at)) {
            return {0, LastError()};
        }
        if (written == 0 && count > 0) {
            return {0, ENOSPC};
        }
        return {written, 0};
    }

    OsError Sync(FileId file) override {
        return ::FlushFileBuffers(Handle(file)) ? 0 : LastError();
    }

    OsError Truncate(FileId file, std::uint64_t size) override {
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
        return ::SetFileInformationByHandle(Handle(file), FileEndOfFileInfo, &end, sizeof end)
                   ? 0
                   : LastError();
    }

    OsResult<FileInfo> Info(FileId file) override { return InfoOfHandle(Handle(file)); }

    OsError Wait(FileId) override { return 0; }

    // Windows keeps a file's owner in its security. A new file is the saving user's; giving it
    // another owner takes a privilege that Velk does not ask for.
    OsError SetOwner(FileId, std::uint32_t, std::uint32_t) override { return 0; }

    OsError SetMode(FileId file, std::uint32_t mode) override {
        return SetReadOnly(Handle(file), (mode & 0200) == 0);
    }

    // Who may do what with a file is in its security (its DACL), which a new file takes from
    // its folder; the staging file gets the old file's before it takes its place. When that
    // cannot be done the saver writes in place, which keeps it, as on POSIX for an owner or
    // an attribute that cannot be given.
    OsError CopyAttributes(const std::string& from, FileId file) override {
        std::wstring wide;
        if (!ToSystemPath(from, wide)) {
            return EINVAL;
        }
        PACL dacl = nullptr;
        PSECURITY_DESCRIPTOR security = nullptr;
        DWORD code =
            ::GetNamedSecurityInfoW(wide.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, &dacl, nullptr, &security);
        if (code != ERROR_SUCCESS) {
            return velk_windows::ErrorFromWindows(code);
        }
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        ::GetSecurityDescriptorControl(security, &control, &revision);
        // An inheriting DACL goes on inheriting, from the same folder: its inherited entries
        // are made again from the folder's, and only its own are copied.
        const SECURITY_INFORMATION what =
            DACL_SECURITY_INFORMATION |
            ((control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                           : UNPROTECTED_DACL_SECURITY_INFORMATION);
        const HANDLE changer =
            ::ReOpenFile(Handle(file), WRITE_DAC | READ_CONTROL,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
        if (changer == INVALID_HANDLE_VALUE) {
            code = ::GetLastError();
        } else {
            code =
                ::SetSecurityInfo(changer, SE_FILE_OBJECT, what, nullptr, nullptr, dacl, nullptr);
            ::CloseHandle(changer);
        }
        ::LocalFree(security);
        return code == ERROR_SUCCESS ? 0 : velk_windows::ErrorFromWindows(code);
    }

    OsError TryLock(FileId file) override {
        OVERLAPPED whole{};
        if (::LockFileEx(Handle(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                         MAXDWORD, MAXDWORD, &whole)) {
            return 0;
        }
        const DWORD code = ::GetLastError();
        return code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING
                   ? EWOULDBLOCK
                   : velk_windows::ErrorFromWindows(code);
    }

    OsError NameUnnamed(FileId, const std::string&) override { return EOPNOTSUPP; }

    bool IsTerminal(FileId file) override {
        DWORD mode = 0;
        return ::GetConsoleMode(Handle(file), &mode) != 0;
    }

    OsResult<FileInfo> InfoOf(const std::string& path, bool followLinks) override {
        std::wstring wide;
        if (!ToSystemPath(path, wide)) {
            return {FileInfo{}, EINVAL};
        }
        const HANDLE handle = OpenToAsk(wide, followLinks);
        if (handle == INVALID_HANDLE_VALUE) {
            return {FileInfo{}, ErrorOn(wide)};
        }
        const OsResult<FileInfo> info = InfoOfHandle(handle);
        ::CloseHandle(handle);
        return info;
    }

    OsResult<std::string> ReadLink(const std::string& path) override {
        // Windows tells where a link leads in the end, which is where following it one step at
        // a time arrives too.
        std::wstring wide;
        if (!ToSystemPath(path, wide)) {
            return {{}, EINVAL};
        }
        const HANDLE handle = OpenToAsk(wide, true);
        if (handle == INVALID_HANDLE_VALUE) {
            return {{}, LastError()};
        }
        std::wstring target(32768, L'\0');
        const DWORD length =
            ::GetFinalPathNameByHandleW(handle, target.data(), static_cast<DWORD>(target.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        const OsError error = length == 0 ? LastError() : 0;
        ::CloseHandle(handle);
        if (error != 0 || length >= target.size()) {
            return {{}, error != 0 ? error : ENAMETOOLONG};
        }
        target.resize(length);
        if (target.rfind(L"\\\\?\\UNC\\", 0) == 0) {
            target = L"\\\\" + target.substr(8);
        } else if (target.rfind(L"\\\\?\\", 0) == 0) {
            target = target.substr(4);
        }
        return {FromWide(target), 0};
    }

    OsError Access(const std::string& path, unsigned flags) override {
        std::wstring wide;
        if (!ToSystemPath(path, wide)) {
            return EINVAL;
        }
        const DWORD attributes = ::GetFileAttributesW(wide.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return LastError();
        }
        // The read-only attribute means nothing on a folder; whether one may be written shows
        // when a file is made in it.
        if ((flags & kMayWrite) == 0 || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return 0;
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            return EACCES;
        }
        // Open to write, without touching a byte: refused by the file's security, or by
        // another program that holds the file open and does not let others write.
        const HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return LastError();
        }
        ::CloseHandle(handle);
        return 0;
    }

    OsError SetModeOf(const std::string& path, std::uint32_t mode) override {
        std::wstring wide;
        if (!ToSystemPath(path, wide)) {
            return EINVAL;
        }
        const DWORD attributes = ::GetFileAttributesW(wide.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return LastError();
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            return 0;
        }
        DWORD changed = (mode & 0200) == 0 ? attributes | FILE_ATTRIBUTE_READONLY
                                           : attributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
        return ::SetFileAttributesW(wide.c_str(), changed == 0 ? FILE_ATTRIBUTE_NORMAL : changed)
                   ? 0
                   : LastError();
    }

    OsError Link(const std::string& from, const std::string& to) override {
        std::wstring wideFrom;
        std::wstring wideTo;
        if (!ToSystemPath(from, wideFrom) || !ToSystemPath(to, wideTo)) {
            return EINVAL;
        }
        return ::CreateHardLinkW(wideTo.c_str(), wideFrom.c_str(), nullptr) ? 0 : LastError();
    }

    OsError Rename(const std::string& from, const std::string& to) override {
        std::wstring wideFrom;
        std::wstring wideTo;
        if (!ToSystemPath(from, wideFrom) || !ToSystemPath(to, wideTo)) {
            return EINVAL;
        }
        const DWORD existing = ::GetFileAttributesW(wideTo.c_str());
        if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            if (const OsError error = TakeIdentity(wideTo, wideFrom)) {
                return error;
            }
        }
        // One rename, atomic as on POSIX: a reader or a kill sees the old file or the new one.
        // ReplaceFileW would carry the old file's security over itself, but it is two renames
        // where Wine implements it, and a kill between them leaves no file under the name; the
        // security comes with CopyAttributes instead.
        return ::MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                             MOVEFILE_WRITE_THROUGH | MOVEFILE_REPLACE_EXISTING)
                   ? 0
                   : LastError();
    }

    OsError Remove(const std::string& path) override {
        std::wstring wide;
        if (!ToSystemPath(path, wide)) {
            return EINVAL;
        }
        if (::DeleteFileW(wide.c_str())) {
            return 0;
        }
        // Unlike unlink, DeleteFileW refuses a read-only file; its folder decides on POSIX.
        const DWORD code = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(wide.c_str());
        if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return EISDIR;
        }
        if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_READONLY) &&
            ::SetFileAttributesW(wide.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY})) {
            if (::DeleteFileW(wide.c_str())) {
                return 0;
            }
            const OsError error = LastError();
            ::SetFileAttributesW(wide.c_str(), attributes);
            return error;
        }
        return velk_windows::ErrorFromWindows(code);
    }

    OsError MakeFolder(const std::string& path, std::uint32_t) override {
        std::wstring wide;
        if (!ToSystemPath(path, wide)) {
            return EINVAL;
        }
        // A drive ("C:") or a share ("\\server\share") is there or not; it cannot be made.
        if (::CreateDirectoryW(wide.c_str(), nullptr)) {
            return 0;
        }
        const OsError error = ErrorOn(wide);
        if (error != EEXIST && ::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) {
            return EEXIST;
        }
        return error;
    }

    // Renames go in with write-through; Windows cannot flush a folder of its own.
    OsError SyncFolder(const std::string&) override { return 0; }

    OsResult<std::vector<std::string>> ListFolder(const std::string& path) override {
        std::wstring wide;
        if (!ToSystemPath(path, wide)) {
            return {{}, EINVAL};
        }
        if (!wide.empty() && wide.back() != L'\\' && wide.back() != L'/') {
            wide += L'\\';
        }
        wide += L'*';
        WIN32_FIND_DATAW found{};
        const HANDLE search = ::FindFirstFileW(wide.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            const OsError error = LastError();
            return {{}, error};
        }
        std::vector<std::string> names;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(FromWide(name));
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return {std::move(names), 0};
    }

    ProcessId CurrentProcess() override { return ::GetCurrentProcessId(); }

    bool ProcessRuns(ProcessId process) override {
        if (process <= 0 || process > UINT32_MAX) {
            return false;
        }
        const HANDLE handle =
            ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process));
        if (handle == nullptr) {
            // It runs, as somebody else.
            return ::GetLastError() == ERROR_ACCESS_DENIED;
        }
        DWORD code = 0;
        const bool runs = ::GetExitCodeProcess(handle, &code) && code == STILL_ACTIVE;
        ::CloseHandle(handle);
        return runs;
    }

    OsResult<ProcessId> StartWriter(const std::function<std::string()>& take,
                                    const std::function<TextMaker()>& snapshot,
                                    const std::function<OsError(const std::string&)>& write,
                                    unsigned) override {
        // There is no fork: what the text is made of is taken here, on the caller's thread, and
        // a thread makes the text and writes it. A thread cannot be ended safely, so the
        // timeout has nothing to end; a write that waits on the disk is waited for.
        TextMaker make;
        try {
            if (snapshot) {
                make = snapshot();
            } else {
                make = [text = take()] { return text; };
            }
        } catch (...) {
            return {0, EIO};
        }
        auto writer = std::make_shared<Writer>();
        try {
            writer->thread = std::thread([writer, write, make = std::move(make)]() mutable {
                OsError error = EIO;
                try {
                    error = write(make());
                } catch (...) {
                }
                // What the text was made of goes here too, not on the caller's thread.
                make = nullptr;
                const std::lock_guard<std::mutex> hold(writer->mutex);
                writer->error = error;
                writer->done = true;
                writer->finished.notify_all();
            });
        } catch (const std::system_error&) {
            return {0, EAGAIN};
        }
        const std::lock_guard<std::mutex> hold(writersMutex_);
        const ProcessId id = ++lastWriter_;
        writers_[id] = std::move(writer);
        return {id, 0};
    }

    std::optional<OsError> PollWriter(ProcessId id, bool wait) override {
        std::shared_ptr<Writer> writer;
        {
            const std::lock_guard<std::mutex> hold(writersMutex_);
            const auto found = writers_.find(id);
            if (found == writers_.end()) {
                return ECHILD;
            }
            writer = found->second;
        }
        std::unique_lock<std::mutex> lock(writer->mutex);
        if (wait) {
            writer->finished.wait(lock, [&] { return writer->done; });
        } else if (!writer->done) {
            return std::nullopt;
        }
        const OsError error = writer->error;
        lock.unlock();
        writer->thread.join();
        const std::lock_guard<std::mutex> hold(writersMutex_);
        writers_.erase(id);
        return error;
    }

    void StopWriter(ProcessId writer) override { PollWriter(writer, true); }

    std::optional<std::string> Variable(const std::string& name) override {
        std::wstring wide;
        if (!ToWide(name, wide)) {
            return std::nullopt;
        }
        const DWORD size = ::GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
        if (size == 0) {
            return std::nullopt;
        }
        std::wstring value(size, L'\0');
        const DWORD length = ::GetEnvironmentVariableW(wide.c_str(), value.data(), size);
        value.resize(length < size ? length : 0);
        return FromWide(value);
    }

    std::optional<std::string> UserDatabaseHome() override { return KnownFolder(FOLDERID_Profile); }

    std::optional<std::string> UserDataFolder() override {
        return KnownFolder(FOLDERID_LocalAppData);
    }

    OsResult<std::string> CurrentFolder() override {
        const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
        std::wstring here(size, L'\0');
        const DWORD length = ::GetCurrentDirectoryW(size, here.data());
        if (length == 0 || length >= size) {
            return {{}, LastError()};
        }
        here.resize(length);
        return {FromWide(here), 0};
    }

    MemoryFacts Memory() override {
        MemoryFacts facts;
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof status;
        if (::GlobalMemoryStatusEx(&status)) {
            facts.available = status.ullAvailPhys;
            // What may still be committed is the system's own limit on the process's data.
            facts.dataLimit = status.ullAvailPageFile;
            facts.addressLimit = status.ullTotalVirtual;
            facts.addressUsed = status.ullTotalVirtual - status.ullAvailVirtual;
        }
        return facts;
    }

    FileId StandardError() override { return Id(::GetStdHandle(STD_ERROR_HANDLE)); }

private:
    /// Puts a file's position back where it was when the position was taken.
    class Position {
    public:
        explicit Position(HANDLE handle) : handle_(handle) {
            LARGE_INTEGER none{};
            kept_ = ::SetFilePointerEx(handle_, none, &at_, FILE_CURRENT) != 0;
        }
        Position(const Position&) = delete;
        Position& operator=(const Position&) = delete;
        ~Position() {
            if (kept_) {
                ::SetFilePointerEx(handle_, at_, nullptr, FILE_BEGIN);
            }
        }

    private:
        HANDLE handle_;
        LARGE_INTEGER at_{};
        bool kept_ = false;
    };

    static OVERLAPPED Overlapped(std::uint64_t offset) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        return at;
    }

    std::mutex writersMutex_;
    ProcessId lastWriter_ = 0;
    std::map<ProcessId, std::shared_ptr<Writer>> writers_;
};

}  // namespace

Os& SystemOs() {
    static WindowsOs os;
    return os;
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    // The arguments as the C library gives them are in the ANSI code page, which cannot name
    // every file; the wide command line can.
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    if (wide == nullptr) {
        arguments.assign(argv + (argc > 0 ? 1 : 0), argv + argc);
    } else {
        for (int i = 1; i < count; ++i) {
            arguments.push_back(FromWide(wide[i]));
        }
        ::LocalFree(wide);
    }
    ::SetConsoleOutputCP(CP_UTF8);
    // Standard output and errors carry reports byte for byte, line ends as on Linux.
    ::_setmode(_fileno(stdout), _O_BINARY);
    ::_setmode(_fileno(stderr), _O_BINARY);
    return arguments;
}
