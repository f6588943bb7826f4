#include "files/Memory.h"

#include <algorithm>
#include <cstddef>

namespace {

std::uint64_t Room(std::uint64_t limit, std::uint64_t used) {
    return used < limit ? limit - used : 0;
}

}  // namespace

std::uint64_t AvailableMemory(const MemoryFacts& facts) {
    return std::min({facts.available, Room(facts.dataLimit, facts.dataUsed),
                     Room(facts.addressLimit, facts.addressUsed)});
}

std::uint64_t AvailableMemory() {
    return AvailableMemory(TheOs().Memory());
}

std::optional<std::uint64_t> StatusValue(const std::string& text, const std::string& key) {
    // Line by line: the lines before the one wanted may hold anything ("Name:  velk").
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.compare(0, key.size(), key) != 0 || line.size() <= key.size() ||
            line[key.size()] != ':') {
            continue;
        }
        std::size_t at = key.size() + 1;
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
            ++at;
        }
        if (at == line.size() || line[at] < '0' || line[at] > '9') {
            return std::nullopt;
        }
        std::uint64_t kilobytes = 0;
        for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at) {
            if (kilobytes > (UINT64_MAX / 1024 - 9) / 10) {
                return UINT64_MAX;
            }
            kilobytes = kilobytes * 10 + static_cast<std::uint64_t>(line[at] - '0');
        }
        return kilobytes * 1024;
    }
    return std::nullopt;
}
