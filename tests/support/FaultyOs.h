#pragma once

// An Os for tests: every call goes to the system's own, is written into a log by name and
// path, and may be made to fail instead. Put in place with ScopedOs for the length of a test.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "files/Os.h"

namespace velk_test {

class FaultyOs : public Os {
public:
    /// One call as logged: "Sync", "Rename" ... with the path it concerns (for calls on an open
    /// file, the path it was opened by; "(unnamed in FOLDER)" for unnamed files) and, for
    /// Rename and Link, the second path.
    struct Call {
        std::string name;
        std::string path;
        std::string other;
        FileId file = kNoFile;
    };

    /// Answers an error to make the call fail with, or 0 to let it through.
    std::function<OsError(const Call&)> fail;
    /// Overrides the system's answer to ProcessRuns.
    std::function<std::optional<bool>(ProcessId)> processRuns;
    /// When set, the process id every caller sees.
    std::optional<ProcessId> processId;
    /// When true, no background writer can start: jobs run in the caller.
    bool noWriters = false;
    std::vector<Call> log;

    /// The index of the first logged call that matches, or -1.
    int Find(const std::string& name, const std::function<bool(const Call&)>& match = {}) const {
        for (std::size_t i = 0; i < log.size(); ++i) {
            if (log[i].name == name && (!match || match(log[i]))) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    OsResult<FileId> Open(const std::string& path, unsigned flags, unsigned mode) override {
        if (const OsError error = Note("Open", path)) {
            return {kNoFile, error};
        }
        return Named(system.Open(path, flags, mode), path);
    }
    OsResult<FileId> OpenUnnamed(const std::string& folder, unsigned mode) override {
        if (const OsError error = Note("OpenUnnamed", folder)) {
            return {kNoFile, error};
        }
        return Named(system.OpenUnnamed(folder, mode), "(unnamed in " + folder + ")");
    }
    OsError Close(FileId file) override {
        const OsError error = system.Close(file);
        paths.erase(file);
        return error;
    }
    OsResult<std::size_t> Read(FileId file, char* into, std::size_t count) override {
        return Guard(On("Read", file), [&] { return system.Read(file, into, count); });
    }
    OsResult<std::size_t> ReadAt(FileId file, char* into, std::size_t count,
                                 std::uint64_t offset) override {
        return Guard(On("ReadAt", file), [&] { return system.ReadAt(file, into, count, offset); });
    }
    OsResult<std::size_t> Write(FileId file, const char* from, std::size_t count) override {
        return Guard(On("Write", file), [&] { return system.Write(file, from, count); });
    }
    OsResult<std::size_t> WriteAt(FileId file, const char* from, std::size_t count,
                                  std::uint64_t offset) override {
        return Guard(On("WriteAt", file),
                     [&] { return system.WriteAt(file, from, count, offset); });
    }
    OsError Sync(FileId file) override {
        return Or(On("Sync", file), [&] { return system.Sync(file); });
    }
    OsError Truncate(FileId file, std::uint64_t size) override {
        return Or(On("Truncate", file), [&] { return system.Truncate(file, size); });
    }
    OsResult<FileInfo> Info(FileId file) override { return system.Info(file); }
    OsError Wait(FileId file) override { return system.Wait(file); }
    OsError SetOwner(FileId file, std::uint32_t owner, std::uint32_t group) override {
        return Or(On("SetOwner", file), [&] { return system.SetOwner(file, owner, group); });
    }
    OsError SetMode(FileId file, std::uint32_t mode) override {
        return Or(On("SetMode", file), [&] { return system.SetMode(file, mode); });
    }
    OsError CopyAttributes(const std::string& from, FileId file) override {
        return system.CopyAttributes(from, file);
    }
    OsError TryLock(FileId file) override {
        return Or(On("TryLock", file), [&] { return system.TryLock(file); });
    }
    OsError NameUnnamed(FileId file, const std::string& path) override {
        return Or(On("NameUnnamed", file, path), [&] { return system.NameUnnamed(file, path); });
    }
    bool IsTerminal(FileId file) override { return system.IsTerminal(file); }
    OsResult<FileInfo> InfoOf(const std::string& path, bool followLinks) override {
        return system.InfoOf(path, followLinks);
    }
    OsResult<std::string> ReadLink(const std::string& path) override {
        return system.ReadLink(path);
    }
    OsError Access(const std::string& path, unsigned flags) override {
        return system.Access(path, flags);
    }
    OsError SetModeOf(const std::string& path, std::uint32_t mode) override {
        return system.SetModeOf(path, mode);
    }
    OsError Link(const std::string& from, const std::string& to) override {
        return Or(Note("Link", from, to), [&] { return system.Link(from, to); });
    }
    OsError Rename(const std::string& from, const std::string& to) override {
        return Or(Note("Rename", from, to), [&] { return system.Rename(from, to); });
    }
    OsError Remove(const std::string& path) override {
        return Or(Note("Remove", path), [&] { return system.Remove(path); });
    }
    OsError MakeFolder(const std::string& path, std::uint32_t mode) override {
        return Or(Note("MakeFolder", path), [&] { return system.MakeFolder(path, mode); });
    }
    OsError SyncFolder(const std::string& path) override {
        return Or(Note("SyncFolder", path), [&] { return system.SyncFolder(path); });
    }
    OsResult<std::vector<std::string>> ListFolder(const std::string& path) override {
        return system.ListFolder(path);
    }
    ProcessId CurrentProcess() override { return processId.value_or(system.CurrentProcess()); }
    bool ProcessRuns(ProcessId process) override {
        if (processRuns) {
            if (const std::optional<bool> answer = processRuns(process)) {
                return *answer;
            }
        }
        return system.ProcessRuns(process);
    }
    OsResult<ProcessId> StartWriter(const std::function<std::string()>& take,
                                    const std::function<TextMaker()>& snapshot,
                                    const std::function<OsError(const std::string&)>& write,
                                    unsigned timeoutSeconds) override {
        if (noWriters) {
            return {0, EAGAIN};
        }
        return system.StartWriter(take, snapshot, write, timeoutSeconds);
    }
    std::optional<OsError> PollWriter(ProcessId writer, bool wait) override {
        return system.PollWriter(writer, wait);
    }
    void StopWriter(ProcessId writer) override { system.StopWriter(writer); }
    std::optional<std::string> Variable(const std::string& name) override {
        return system.Variable(name);
    }
    std::optional<std::string> UserDatabaseHome() override { return system.UserDatabaseHome(); }
    std::optional<std::string> UserDataFolder() override { return system.UserDataFolder(); }
    OsResult<std::string> CurrentFolder() override { return system.CurrentFolder(); }
    MemoryFacts Memory() override { return system.Memory(); }
    FileId StandardError() override { return system.StandardError(); }

private:
    OsError Note(const std::string& name, const std::string& path, const std::string& other = {},
                 FileId file = kNoFile) {
        log.push_back(Call{name, path, other, file});
        return fail ? fail(log.back()) : 0;
    }
    OsError On(const std::string& name, FileId file, const std::string& other = {}) {
        const auto found = paths.find(file);
        return Note(name, found != paths.end() ? found->second : "?", other, file);
    }
    OsResult<FileId> Named(OsResult<FileId> opened, const std::string& path) {
        if (opened.ok()) {
            paths[opened.value] = path;
            log.back().file = opened.value;
        }
        return opened;
    }
    template <typename Call>
    static auto Guard(OsError error, Call call) -> decltype(call()) {
        if (error != 0) {
            return {{}, error};
        }
        return call();
    }
    template <typename Call>
    static OsError Or(OsError error, Call call) {
        return error != 0 ? error : call();
    }

    Os& system = SystemOs();
    std::map<FileId, std::string> paths;
};

}  // namespace velk_test
