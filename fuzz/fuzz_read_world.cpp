// Loads arbitrary bytes as a world file through Serialize, the way the program opens a file,
// and checks what every load must give: no crash, leak or undefined behaviour, a report that
// agrees with what was loaded, and a save that reads back completely into the same text.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

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

    const std::string saved = Save(world);
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
