#include "document/MemoryBudget.h"

#include <limits>
#include <string>

#include "files/Memory.h"

namespace {

std::string Megabytes(std::uint64_t bytes) {
    return std::to_string(bytes / (1024 * 1024)) + " MB";
}

}  // namespace

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
