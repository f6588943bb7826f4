#include "files/FileSaver.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "files/FileHandle.h"
#include "files/FileTools.h"
#include "files/UserFolders.h"

namespace {

/// Unwinds a step of a save to the public operation that reports it.
struct Stop {
    FileError error;
};

[[noreturn]] void Fail(OsError code) {
    throw Stop{FileError{code != 0 ? code : EIO, false, {}}};
}

void Check(OsError code) {
    if (code != 0) {
        Fail(code);
    }
}

constexpr std::uint32_t kPrivate = 0600;
constexpr std::uint32_t kLeaveAlone = UINT32_MAX;

/// The prefix of the names that saves of the file base give their temporary files:
/// ".BASE.saving-PID-N". The PID tells whether the save that made one still runs.
std::string TemporaryPrefix(const std::string& base) {
    return "." + base.substr(0, 100) + ".saving-";
}

/// The process that made a temporary named prefix + "PID-N"; 0 when the name is not one of
/// those (such as the temporary of another file whose name starts alike).
ProcessId TemporaryOwner(const std::string& name, const std::string& prefix) {
    if (name.compare(0, prefix.size(), prefix) != 0) {
        return 0;
    }
    const std::string rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    const auto digits = [](const std::string& text) {
        return !text.empty() && text.size() <= 18 &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (dash == std::string::npos || !digits(rest.substr(0, dash)) ||
        !digits(rest.substr(dash + 1))) {
        return 0;
    }
    return std::stoll(rest.substr(0, dash));
}

/// Follows symbolic links to the file they name, which need not exist yet.
std::string ResolveTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        const OsResult<FileInfo> info = TheOs().InfoOf(current, false);
        if (!info.ok() || info.value.kind != FileKind::link) {
            return current;
        }
        const OsResult<std::string> next = TheOs().ReadLink(current);
        if (!next.ok() || next.value.empty()) {
            return current;
        }
        current = IsAbsolutePath(next.value) ? next.value : SplitPath(current).folder + next.value;
    }
    return current;  // a loop: opening it reports ELOOP
}

/// Makes to's content that of from and syncs it; piece is the buffer to copy through.
OsError CopyContent(FileId from, FileId to, std::vector<char>& piece) {
    std::uint64_t offset = 0;
    for (;;) {
        const OsResult<std::size_t> read = TheOs().ReadAt(from, piece.data(), piece.size(), offset);
        if (!read.ok()) {
            return read.error;
        }
        if (read.value == 0) {
            break;
        }
        if (const OsError error = WriteAllAt(to, piece.data(), read.value, offset)) {
            return error;
        }
        offset += read.value;
    }
    if (const OsError error = TheOs().Truncate(to, offset)) {
        return error;
    }
    return TheOs().Sync(to);
}

/// Removes temporary files of saves of base that were killed: those whose process is gone.
void RemoveLeftovers(const std::string& folder, const std::string& base) {
    const OsResult<std::vector<std::string>> names = TheOs().ListFolder(folder);
    const std::string prefix = TemporaryPrefix(base);
    for (const std::string& name : names.value) {
        const ProcessId owner = TemporaryOwner(name, prefix);
        if (owner > 0 && !TheOs().ProcessRuns(owner)) {
            TheOs().Remove(folder + name);
        }
    }
}

std::string RecordFolder() {
    return FileSaver::CacheFolder() + kPathSeparator + "interrupted-saves";
}

bool Exists(const std::string& path) {
    return TheOs().InfoOf(path, false).error != ENOENT;
}

}  // namespace

/// A file in a folder that holds bytes until they are given a name or dropped: unnamed where
/// the file system offers that, so a killed save leaves nothing; otherwise named with
/// TemporaryPrefix, so the next save of the same file removes it. It is made with mode (less
/// the process's mask), and made private wherever it holds bytes others may not read.
class FileSaver::Staging {
public:
    Staging(const std::string& folder, const std::string& base, std::uint32_t mode)
        : folder_(folder), base_(base) {
        const OsResult<FileId> unnamed = TheOs().OpenUnnamed(folder, mode);
        if (unnamed.ok()) {
            file_ = FileHandle(unnamed.value);
            return;
        }
        for (int attempt = 0;; ++attempt) {
            const std::string name = NameFor(attempt);
            const OsResult<FileId> named =
                TheOs().Open(name, kReadWrite | kCreate | kExclusive | kNoFollow, mode);
            if (named.ok()) {
                file_ = FileHandle(named.value);
                name_ = name;
                return;
            }
            if (named.error != EEXIST || attempt == 99) {
                Fail(named.error);
            }
        }
    }
    Staging(const Staging&) = delete;
    Staging& operator=(const Staging&) = delete;
    ~Staging() {
        file_.Close();
        if (!name_.empty()) {
            TheOs().Remove(name_);
        }
    }

    FileId Get() const { return file_.Get(); }

    /// Gives the bytes the name wanted, which must not exist yet; EEXIST when it does.
    void Link(const std::string& wanted) {
        if (name_.empty()) {
            Check(TheOs().NameUnnamed(file_.Get(), wanted));
        } else {
            Check(TheOs().Link(name_, wanted));
            TheOs().Remove(name_);
            name_.clear();
        }
    }

    /// Renames the bytes over target, replacing it at once.
    void Replace(const std::string& target) {
        // An unnamed file is linked under a temporary name first: a name can be replaced only
        // by a rename.
        for (int attempt = 0; name_.empty(); ++attempt) {
            const std::string candidate = NameFor(attempt);
            const OsError error = TheOs().NameUnnamed(file_.Get(), candidate);
            if (error == 0) {
                name_ = candidate;
            } else if (error != EEXIST || attempt == 99) {
                Fail(error);
            }
        }
        // The bytes are synced; closed first, since Windows replaces a file only with one that
        // nobody holds open.
        Check(file_.Close());
        Check(TheOs().Rename(name_, target));
        name_.clear();
    }

private:
    std::string NameFor(int attempt) const {
        return folder_ + TemporaryPrefix(base_) + std::to_string(TheOs().CurrentProcess()) + "-" +
               std::to_string(attempt);
    }

    std::string folder_;  ///< ends in a separator
    std::string base_;
    std::string name_;  ///< empty while unnamed
    FileHandle file_;
};

std::string FileSaver::CacheFolder() {
    return UserFolder("XDG_CACHE_HOME", "/.cache", "/velk");
}

FileSaver::FileSaver(const std::string& path, Links links, std::uint32_t newFileMode)
    : path_(path) {
    try {
        Prepare(links, newFileMode);
    } catch (const Stop& stop) {
        error_ = stop.error;
        staging_.reset();
    }
}

void FileSaver::Prepare(Links links, std::uint32_t newFileMode) {
    target_ = links == Links::follow ? ResolveTarget(path_) : path_;
    const PathParts parts = SplitPath(target_);
    folder_ = parts.folder.empty() ? "./" : parts.folder;
    baseName_ = parts.name;
    const OsResult<FileInfo> existing = TheOs().InfoOf(target_, links == Links::follow);
    exists_ = existing.ok();
    if (!exists_ && existing.error != ENOENT) {
        Fail(existing.error);
    }
    if (exists_ && existing.value.kind == FileKind::link) {
        exists_ = false;  // Links::replace: the link itself goes, nothing of it is kept
    } else if (exists_ && existing.value.kind == FileKind::folder) {
        Fail(EISDIR);
    } else if (exists_ && existing.value.kind != FileKind::regular) {
        throw Stop{FileError{0, true, {}}};
    }
    // A read-only file stays as it is, even where its folder would allow a rename over it.
    if (exists_) {
        Check(TheOs().Access(target_, kMayWrite));
        mode_ = existing.value.mode;
        owner_ = existing.value.owner;
        group_ = existing.value.group;
    }
    const OsError folderError = TheOs().Access(folder_, kMayWrite | kMayEnter);
    const bool folderWritable = folderError == 0;
    if (!folderWritable && !exists_) {
        Fail(folderError);
    }
    if (folderWritable) {
        RemoveLeftovers(folder_, baseName_);
    }
    inPlace_ = exists_ && (!folderWritable || existing.value.links > 1);
    std::string stagingFolder = folder_;
    if (!folderWritable) {
        stagingFolder = CacheFolder() + kPathSeparator;
        Check(MakeFolderTree(CacheFolder(), 0700));
        RemoveLeftovers(stagingFolder, baseName_);
    }
    // A new file is made as any new file is; the new content of an existing one is kept
    // private until it can take the file's own mode.
    staging_ =
        std::make_unique<Staging>(stagingFolder, baseName_, exists_ ? kPrivate : newFileMode);
    if (!exists_ || inPlace_) {
        return;
    }
    // The new file takes the old one's place only if it can take all of its identity.
    const OsResult<FileInfo> made = TheOs().Info(staging_->Get());
    Check(made.error);
    if ((made.value.owner != owner_ || made.value.group != group_) &&
        TheOs().SetOwner(staging_->Get(), owner_, group_) != 0) {
        inPlace_ = true;
    } else if (TheOs().CopyAttributes(target_, staging_->Get()) != 0) {
        inPlace_ = true;
    } else if (TheOs().SetMode(staging_->Get(), mode_) != 0) {
        inPlace_ = true;
    }
}

FileSaver::~FileSaver() = default;

FileError FileSaver::Write(const char* source, std::size_t count) {
    if (!error_.failed()) {
        error_.code = WriteAll(staging_->Get(), source, count);
    }
    return error_;
}

FileError FileSaver::Commit(const std::function<void()>& replacing) {
    if (error_.failed()) {
        return error_;
    }
    try {
        Check(TheOs().Sync(staging_->Get()));
        if (inPlace_) {
            CommitInPlace(replacing);
        } else {
            CommitByRename(replacing);
        }
    } catch (const Stop& stop) {
        error_ = stop.error;
    }
    return error_;
}

void FileSaver::CommitByRename(const std::function<void()>& replacing) {
    if (replacing) {
        replacing();
    }
    staging_->Replace(target_);
    TheOs().SyncFolder(folder_);
}

namespace {

/// The copy of an in-place save and the record that names it: both go on every way out
/// unless kept, so a save that fails before the file is touched leaves nothing behind.
class InPlaceLeftovers {
public:
    ~InPlaceLeftovers() {
        if (!keep) {
            if (!copy.empty()) {
                TheOs().Remove(copy);
            }
            if (!record.empty()) {
                TheOs().Remove(record);
            }
        }
    }

    std::string copy;    ///< once it exists
    std::string record;  ///< once it exists
    bool keep = false;
};

}  // namespace

void FileSaver::CommitInPlace(const std::function<void()>& replacing) {
    const OsResult<FileId> opened = TheOs().Open(target_, kReadWrite | kNoWait, 0);
    Check(opened.error);
    FileHandle file(opened.value);
    const bool besideTheFile = TheOs().Access(folder_, kMayWrite | kMayEnter) == 0;
    const std::string copyFolder = besideTheFile ? folder_ : CacheFolder() + kPathSeparator;
    Check(MakeFolderTree(RecordFolder(), 0700));
    std::vector<char> piece(1 << 20);
    InPlaceLeftovers leftovers;

    // 1. The name of the copy, and the record that names it, before anything is touched: a
    //    record whose copy is missing tells the next start that the file was never touched.
    std::string copyName;
    for (int attempt = 0; copyName.empty(); ++attempt) {
        const std::string candidate = copyFolder + baseName_ + ".velk-backup" +
                                      (attempt > 0 ? "-" + std::to_string(attempt) : "");
        if (!Exists(candidate)) {
            copyName = candidate;
        } else if (attempt == 99) {
            Fail(EEXIST);
        }
    }
    FileHandle record;
    for (int attempt = 0; !record.IsOpen(); ++attempt) {
        const std::string name = RecordFolder() + kPathSeparator +
                                 std::to_string(TheOs().CurrentProcess()) + "-" +
                                 std::to_string(attempt);
        const OsResult<FileId> made =
            TheOs().Open(name, kWriteOnly | kCreate | kExclusive | kNoFollow, kPrivate);
        if (made.ok()) {
            record = FileHandle(made.value);
            leftovers.record = name;
        } else if (made.error != EEXIST || attempt == 99) {
            Fail(made.error);
        }
    }
    const std::string entry = AbsolutePath(target_) + '\0' + AbsolutePath(copyName) + '\0';
    Check(WriteAll(record.Get(), entry.data(), entry.size()));
    Check(TheOs().Sync(record.Get()));
    TheOs().SyncFolder(RecordFolder());

    // 2. A whole copy of the old content, synced, then given its name at once. It is made
    //    private and then given no more than the file's own access: the group only where it
    //    is the file's group, never a bit the file lacks.
    {
        Staging copy(copyFolder, baseName_, kPrivate);
        Check(CopyContent(file.Get(), copy.Get(), piece));
        const bool sameGroup = TheOs().SetOwner(copy.Get(), kLeaveAlone, group_) == 0;
        TheOs().SetMode(copy.Get(), mode_ & (sameGroup ? 0777u : 0707u) & 0777u);
        copy.Link(copyName);
        leftovers.copy = copyName;
        TheOs().SyncFolder(copyFolder);
    }

    // 3. The new content into the file itself. On failure the old content goes back; if even
    //    that fails, the copy and its record stay and the error says where the copy is.
    if (replacing) {
        replacing();
    }
    if (const OsError error = CopyContent(staging_->Get(), file.Get(), piece)) {
        const OsResult<FileId> old = TheOs().Open(copyName, kReadOnly, 0);
        FileHandle oldFile(old.ok() ? old.value : kNoFile);
        if (!old.ok() || CopyContent(oldFile.Get(), file.Get(), piece) != 0) {
            leftovers.keep = true;
            throw Stop{FileError{error, false, copyName}};
        }
        Fail(error);
    }

    // 4. The new content is on disk: the copy and then its record go.
    TheOs().Remove(copyName);
    TheOs().SyncFolder(copyFolder);
    leftovers.copy.clear();
}

std::vector<FileSaver::Interrupted> FileSaver::TakeInterruptedSaves() {
    std::vector<Interrupted> found;
    const std::string folder = RecordFolder();
    for (const std::string& name : TheOs().ListFolder(folder).value) {
        const std::size_t dash = name.find('-');
        const std::string digits = name.substr(0, dash);
        if (dash == std::string::npos || digits.empty() || digits.size() > 18 ||
            !std::all_of(digits.begin(), digits.end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
            continue;  // not a record
        }
        const ProcessId process = std::stoll(digits);
        if (process != TheOs().CurrentProcess() && TheOs().ProcessRuns(process)) {
            continue;  // a save that still runs
        }
        const std::string recordPath = folder + kPathSeparator + name;
        const std::string text = ReadSmallFile(recordPath, 1 << 16).value;
        const std::size_t end = text.find('\0');
        if (end != std::string::npos) {
            Interrupted save{text.substr(0, end), text.substr(end + 1)};
            save.copy = save.copy.substr(0, save.copy.find('\0'));
            if (!save.copy.empty() && Exists(save.copy)) {
                found.push_back(std::move(save));
            }
        }
        TheOs().Remove(recordPath);
    }
    return found;
}

FileError SaveWholeFile(const std::string& path, const std::string& bytes, FileSaver::Links links,
                        std::uint32_t newFileMode) {
    FileSaver saver(path, links, newFileMode);
    saver.Write(bytes.data(), bytes.size());
    return saver.Commit();
}
