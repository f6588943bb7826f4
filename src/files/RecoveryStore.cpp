#include "files/RecoveryStore.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <random>
#include <sstream>
#include <utility>

#include "files/FileSaver.h"
#include "files/FileTools.h"
#include "files/UserFolders.h"

namespace {

constexpr std::uint32_t kPrivateFolder = 0700;

/// A token that tells this run from every other run with the same process id.
std::string RunToken() {
    std::random_device device;
    std::ostringstream token;
    token << std::hex << ((std::uint64_t{device()} << 32) | device());
    return token.str();
}

/// The note: the file's path, the time and the stamp, each ending in a NUL, since a path may
/// hold any other byte.
std::string NoteText(const std::string& file, const FileStamp& stamp) {
    std::ostringstream note;
    note << file << '\0' << std::time(nullptr) << '\0' << stamp.exists << ' ' << stamp.device << ' '
         << stamp.inode << ' ' << stamp.size << ' ' << stamp.modifiedNs << ' ' << stamp.hash
         << '\0';
    return note.str();
}

/// Reads a note into the orphan; false when it is not one. Notes of earlier versions end
/// their two lines in newlines and carry no stamp.
bool ReadNote(const std::string& text, RecoveryStore::Orphan& orphan) {
    const char separator = text.find('\0') != std::string::npos ? '\0' : '\n';
    const std::size_t fileEnd = text.find(separator);
    if (fileEnd == std::string::npos) {
        return false;
    }
    orphan.file = text.substr(0, fileEnd);
    const std::size_t timeEnd = text.find(separator, fileEnd + 1);
    std::istringstream time(text.substr(fileEnd + 1, timeEnd - fileEnd - 1));
    time >> orphan.seconds;
    if (separator == '\0' && timeEnd != std::string::npos) {
        std::istringstream stamp(text.substr(timeEnd + 1));
        FileStamp read;
        if (stamp >> read.exists >> read.device >> read.inode >> read.size >> read.modifiedNs >>
            read.hash) {
            orphan.stamp = read;
        }
    }
    return true;
}

bool HasSuffix(const std::string& name, const std::string& suffix) {
    return name.size() > suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool Exists(const std::string& path) {
    return TheOs().InfoOf(path, false).ok();
}

}  // namespace

RecoveryStore::RecoveryStore(std::string folder) : folder_(std::move(folder)) {
    problem_ = MakeFolderTree(folder_, kPrivateFolder);
    if (problem_ != 0) {
        return;
    }
    // Copies of unsaved work are as private as the work: a folder made readable by others
    // (by hand, or by an older version) is closed again.
    const OsResult<FileInfo> info = TheOs().InfoOf(folder_, true);
    if (info.ok() && (info.value.mode & 077) != 0) {
        TheOs().SetModeOf(folder_, info.value.mode & 0700);
    }
    for (int attempt = 0; attempt < 10 && !Works(); ++attempt) {
        base_ =
            folder_ + kPathSeparator + std::to_string(TheOs().CurrentProcess()) + "-" + RunToken();
        const std::string name = base_ + ".lock";
        const OsResult<FileId> made =
            TheOs().Open(name, kReadWrite | kCreate | kExclusive | kNoFollow, 0600);
        problem_ = made.error;
        if (!made.ok()) {
            continue;
        }
        FileHandle lock(made.value);
        problem_ = TheOs().TryLock(lock.Get());
        // A start that cleans up takes a lone lock that nobody holds yet for a dead run's; the
        // name then no longer names this file, and another stem is taken.
        const OsResult<FileInfo> held = TheOs().Info(lock.Get());
        const OsResult<FileInfo> named = TheOs().InfoOf(name, false);
        if (problem_ == 0 && held.ok() && named.ok() && held.value.inode == named.value.inode &&
            held.value.device == named.value.device) {
            lock_ = std::move(lock);
        }
    }
}

RecoveryStore::~RecoveryStore() {
    Remove();
    held_.clear();
    if (Works()) {
        TheOs().Remove(base_ + ".lock");
    }
}

std::string RecoveryStore::DefaultFolder() {
    return UserFolder("XDG_STATE_HOME", "/.local/state", "/velk/recovery");
}

bool RecoveryStore::Keep(const std::function<std::string()>& produce, const std::string& file,
                         const FileStamp& stamp, const std::function<Os::TextMaker()>& snapshot) {
    Wait();
    if (!Works()) {
        return false;
    }
    const std::string note = NoteText(file, stamp);
    // The writer may be a thread that outlives this call: it gets its own copy of the note.
    const OsResult<ProcessId> writer = TheOs().StartWriter(
        produce, snapshot, [this, note](const std::string& text) { return Write(text, note); },
        kWriterSeconds);
    if (writer.ok()) {
        writer_ = writer.value;
        return true;
    }
    try {
        Finished(Write(produce(), note));
    } catch (...) {
        Finished(EIO);
    }
    return true;
}

OsError RecoveryStore::Write(const std::string& text, const std::string& note) {
    // The note follows the copy: a note always describes a whole copy, at worst an older one
    // of the same work. A link planted under either name is replaced, never written through.
    if (const FileError error =
            SaveWholeFile(base_ + ".copy", text, FileSaver::Links::replace, 0600)) {
        return error.code != 0 ? error.code : EIO;
    }
    const FileError error = SaveWholeFile(base_ + ".note", note, FileSaver::Links::replace, 0600);
    return error.failed() ? (error.code != 0 ? error.code : EIO) : 0;
}

void RecoveryStore::Finished(OsError error) {
    problem_ = error;
    writer_ = 0;
}

bool RecoveryStore::Busy() {
    if (writer_ > 0) {
        const std::optional<OsError> done = TheOs().PollWriter(writer_, false);
        if (!done) {
            return true;
        }
        Finished(*done);
    }
    return false;
}

bool RecoveryStore::Wait() {
    if (writer_ > 0) {
        Finished(TheOs().PollWriter(writer_, true).value_or(EIO));
    }
    return problem_ == 0;
}

void RecoveryStore::Remove() {
    // The copy is no longer wanted, so a write still running is stopped rather than waited for:
    // removing never keeps the interface waiting on the disk.
    if (Busy()) {
        TheOs().StopWriter(writer_);
        writer_ = 0;
    }
    if (Works()) {
        TheOs().Remove(base_ + ".note");
        TheOs().Remove(base_ + ".copy");
    }
}

std::vector<RecoveryStore::Orphan> RecoveryStore::TakeOrphans() {
    std::vector<Orphan> found;
    std::vector<std::string> stems;
    for (const std::string& name : TheOs().ListFolder(folder_).value) {
        for (const char* suffix : {".note", ".lock"}) {
            if (HasSuffix(name, suffix)) {
                stems.push_back(folder_ + kPathSeparator + name.substr(0, name.size() - 5));
            }
        }
    }
    std::sort(stems.begin(), stems.end());
    stems.erase(std::unique(stems.begin(), stems.end()), stems.end());
    for (const std::string& stem : stems) {
        if (stem == base_ || std::any_of(held_.begin(), held_.end(),
                                         [&](const auto& held) { return held.first == stem; })) {
            continue;
        }
        // Every run makes its lock before its first copy and a discard removes it last: a
        // note without one is being discarded by another start.
        const OsResult<FileId> opened = TheOs().Open(stem + ".lock", kReadWrite | kNoFollow, 0);
        if (!opened.ok()) {
            continue;
        }
        FileHandle lock(opened.value);
        if (TheOs().TryLock(lock.Get()) != 0) {
            continue;  // its run still goes on, or another start holds it
        }
        Orphan orphan;
        orphan.copy = stem + ".copy";
        orphan.base = stem;
        const OsResult<std::string> note = ReadSmallFile(stem + ".note", 1 << 16);
        if (!Exists(orphan.copy)) {
            // A run that died before its first copy, or a discard cut short: nothing to offer.
            TheOs().Remove(stem + ".note");
            TheOs().Remove(stem + ".lock");
            continue;
        }
        if (!note.ok() || !ReadNote(note.value, orphan)) {
            continue;  // a copy whose note was never written: the work's file is not known
        }
        held_.emplace_back(stem, std::move(lock));
        found.push_back(std::move(orphan));
    }
    std::sort(found.begin(), found.end(),
              [](const Orphan& a, const Orphan& b) { return a.seconds < b.seconds; });
    return found;
}

void RecoveryStore::Discard(const Orphan& orphan) {
    TheOs().Remove(orphan.base + ".copy");
    TheOs().Remove(orphan.base + ".note");
    TheOs().Remove(orphan.base + ".lock");
    Release(orphan);
}

void RecoveryStore::Release(const Orphan& orphan) {
    held_.erase(std::remove_if(held_.begin(), held_.end(),
                               [&](const auto& held) { return held.first == orphan.base; }),
                held_.end());
}
