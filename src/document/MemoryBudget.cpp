#include "document/MemoryBudget.h"

#include <sys/resource.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

namespace {

/// A "Name: N kB" line of a /proc file, in bytes, or the largest value when there is none.
std::uint64_t ProcValue(const char* file, const std::string& name) {
    std::ifstream in(file);
    std::string key;
    std::uint64_t kilobytes = 0;
    std::string unit;
    while (in >> key >> kilobytes >> unit) {
        if (key == name + ":") {
            return kilobytes * 1024;
        }
    }
    return std::numeric_limits<std::uint64_t>::max();
}

std::string Megabytes(std::uint64_t bytes) {
    return std::to_string(bytes / (1024 * 1024)) + " MB";
}

}  // namespace

std::uint64_t AvailableMemory() {
    std::uint64_t available = ProcValue("/proc/meminfo", "MemAvailable");
    rlimit limit{};
    if (::getrlimit(RLIMIT_DATA, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        const std::uint64_t used = ProcValue("/proc/self/status", "VmData");
        const std::uint64_t room = used < limit.rlim_cur ? limit.rlim_cur - used : 0;
        available = std::min<std::uint64_t>(available, room);
    }
    return available;
}

std::string MemoryShortfall(std::uint64_t fileSize) {
    const std::uint64_t available = AvailableMemory();
    const std::uint64_t need =
        fileSize > std::numeric_limits<std::uint64_t>::max() / kWorldMemoryPerFileByte
            ? std::numeric_limits<std::uint64_t>::max()
            : fileSize * kWorldMemoryPerFileByte;
    if (need <= available) {
        return "";
    }
    return "opening it may take up to " + Megabytes(need) + " of memory (" +
           std::to_string(kWorldMemoryPerFileByte) + " bytes for each byte of the file), and " +
           Megabytes(available) + " are available";
}
