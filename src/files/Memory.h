#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "files/Os.h"

/// The memory this process may still take: what the machine has available, or less where a
/// limit on the process's data or address space says so. The largest value when unknown.
std::uint64_t AvailableMemory(const MemoryFacts& facts);
std::uint64_t AvailableMemory();

/// The value of a "Key:   N kB" line of a system status text, in bytes; nothing when no line
/// has that key or its value is not a number.
std::optional<std::uint64_t> StatusValue(const std::string& text, const std::string& key);
