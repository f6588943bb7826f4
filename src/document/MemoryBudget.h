#pragma once

#include <cstdint>
#include <string>

/// The most memory a loaded world takes for each byte of its file. The costliest text is a
/// file of the smallest possible objects ("draggable {{{{0 0 0}0 0 0} }", 27 bytes, each an
/// object with its position and four list entries): about 6 bytes of memory per byte of text
/// measured, 8 stated. A world of ordinary objects with a few shapes takes about 1.3.
inline constexpr std::uint64_t kWorldMemoryPerFileByte = 8;

/// Empty when a world file of fileSize bytes fits in the memory available; otherwise the
/// reason, for example "opening it may take up to 8000 MB of memory, and 3000 MB are
/// available".
std::string MemoryShortfall(std::uint64_t fileSize);
