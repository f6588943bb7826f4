#pragma once

#include <cstdint>
#include <string>

#include "document/WorldLoadReport.h"

class ProgressObserver;

/// What CheckWorldFile found out about a world file.
struct WorldFileCheck {
    std::string path;
    /// False when the file could not be opened or read; error then says why and the rest is
    /// what was read before the error.
    bool readable = true;
    std::string error;
    /// Whether the file reads completely, as OpenWorldFile judges it: what the exit status of
    /// velk --check follows.
    bool complete = false;
    std::uint64_t bytes = 0;  ///< the file's size, or how much was read before an error
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int64_t objects = 0;
    std::int64_t shapes = 0;
    WorldLoadReport load;
};

/// Opens the world file at path with OpenWorldFile and reports what came of it. Never throws
/// for a bad or missing file; the report says what went wrong. The reading is told to
/// progress, when given.
WorldFileCheck CheckWorldFile(const std::string& path, ProgressObserver* progress = nullptr);

/// The report as a few lines of text for people, each ending in a line feed.
std::string FormatWorldFileCheck(const WorldFileCheck& check);
