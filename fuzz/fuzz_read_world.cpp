// Loads arbitrary bytes as a world file, from memory through Serialize and from a real file
// through OpenWorldFile, the way the program opens a file, and checks what every load must
// give: no crash, leak or undefined behaviour, the same world and report on both ways, a
// report that agrees with what was loaded, and a save (into a real file too) that reads back
// completely into the same text.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <stdlib.h>
#include <unistd.h>

#include "document/OpenWorldFile.h"
#include "document/World.h"
#include "framework/CArchive.h"

namespace {

[[noreturn]] void Fault(const char* what) {
    std::fprintf(stderr, "fuzz_read_world: %s\n", what);
    std::abort();
}

void Load(World& world, std::string bytes) {
    CArchive archive = CArchive::FromMemory(std::move(bytes));
    world.Serialize(archive);
    archive.Close();
}

/// One folder for the whole run, removed at exit.
const std::string& Folder() {
    static const std::string folder = [] {
        // In memory where there is such a file system: a sync there costs nothing.
        std::string pattern =
            ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/velk-fuzz-XXXXXX" : "/tmp/velk-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            Fault("cannot make a temporary folder");
        }
        static std::string made = pattern;
        std::atexit([] {
            ::unlink((made + "/w.world").c_str());
            ::rmdir(made.c_str());
        });
        return pattern;
    }();
    return folder;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    CArchive archive(path, CArchive::store);
    archive.Write(bytes.data(), static_cast<unsigned>(bytes.size()));
    archive.Close();
}

std::string Save(World& world) {
    std::string text;
    CArchive archive = CArchive::ToMemory(text);
    world.Serialize(archive);
    archive.Close();
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    World world;
    Load(world, std::string(reinterpret_cast<const char*>(data), size));
    const WorldLoadReport& report = world.GetLoadReport();
    if (report.status == WorldLoadReport::Complete) {
        if (report.line != 0 || !report.expected.empty()) {
            Fault("a complete load reports a place where reading stopped");
        }
    } else if (report.line < 1 || report.column < 1 || report.expected.empty() ||
               report.found.empty()) {
        Fault("an incomplete load does not say where and why it stopped");
    }
    if (report.status == WorldLoadReport::NotAWorldFile) {
        std::int32_t width = 0, height = 0;
        world.GetWorldSize(width, height);
        if (world.GetAllObjects().count != 0 || width != 1024 || height != 1024) {
            Fault("a file without a size line left more than an empty world");
        }
    }

    const std::string path = Folder() + "/w.world";
    WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));
    const OpenedWorldFile opened = OpenWorldFile(path);
    if (opened.verdict == WorldFileVerdict::unreadable || opened.bytes != size) {
        Fault("a world file that was just written cannot be read whole");
    }
    if (opened.report.status != report.status || opened.report.line != report.line ||
        opened.report.column != report.column || opened.report.found != report.found ||
        opened.report.skippedWords != report.skippedWords ||
        opened.verdict != JudgeWorldLoad(report)) {
        Fault("a file and the same bytes in memory load with different reports");
    }
    if ((opened.verdict == WorldFileVerdict::complete) !=
        (report.status == WorldLoadReport::Complete && report.skippedWords == 0)) {
        Fault("the verdict disagrees with the report");
    }

    const std::string saved = Save(world);
    if (Save(*opened.world) != saved) {
        Fault("a file and the same bytes in memory load into different worlds");
    }
    World* fromFile = opened.world.get();
    {
        CArchive archive(path, CArchive::store);
        fromFile->Serialize(archive);
        archive.Close();
    }
    const OpenedWorldFile reopened = OpenWorldFile(path);
    if (!reopened.IsComplete() || Save(*reopened.world) != saved) {
        Fault("a world saved into a file does not read back completely into the same world");
    }
    World again;
    Load(again, saved);
    if (again.GetLoadReport().status != WorldLoadReport::Complete) {
        Fault("a saved world does not read back completely");
    }
    if (Save(again) != saved) {
        Fault("a saved world reads back into a different world");
    }
    return 0;
}
