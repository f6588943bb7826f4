#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "document/World.h"
#include "document/WorldLoadReport.h"

class ProgressObserver;

/// How completely a world file was read. Every way of opening a world (the program, velk
/// --check and velk --render) judges a file by this one verdict.
enum class WorldFileVerdict {
    /// Every byte was understood: a save writes the same world back.
    complete,
    /// Read to the end, but words were skipped that a save would drop.
    skippedText,
    /// Reading stopped early: the world holds what came before, a save would drop the rest.
    partial,
    /// Not even the size line could be read: the file is not taken for a world at all.
    notAWorldFile,
    /// The file could not be opened or read; the error says why.
    unreadable,
};

/// The verdict on a load that read its file without an error of the file itself.
[[nodiscard]] WorldFileVerdict JudgeWorldLoad(const WorldLoadReport& report);

/// A world file opened by OpenWorldFile.
struct OpenedWorldFile {
    /// Never null: what was read, at least an empty world of the default size. An empty
    /// (0-byte) file gives such a world, complete, so that a save fills the file.
    std::unique_ptr<World> world;
    WorldLoadReport report;
    WorldFileVerdict verdict = WorldFileVerdict::complete;
    /// For unreadable: a sentence naming the file and the reason.
    std::string error;
    /// The bytes read: the file's size, unless an error cut the read short.
    std::uint64_t bytes = 0;

    bool IsComplete() const { return verdict == WorldFileVerdict::complete; }
    /// One sentence on what is wrong, naming the file, for every verdict but complete; any
    /// text of the file in it is quoted with QuoteFileText. Empty for complete.
    std::string Problem(const std::string& path) const;
};

/// Opens and reads the world file at path into a new world, the way the program opens one,
/// and reads the file to its end even when the world text stopped early, so that an error of
/// the file anywhere in it shows. Never throws for a bad, missing or unreadable file, and never
/// blocks on a pipe or a device (they are refused as not regular files). The reading is told
/// to progress, when given; a cancel leaves the file unreadable with ECANCELED's message, and
/// running out of memory leaves it unreadable ("not enough memory") with an empty world.
[[nodiscard]] OpenedWorldFile OpenWorldFile(const std::string& path,
                                            ProgressObserver* progress = nullptr);
