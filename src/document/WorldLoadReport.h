#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// How the last load of a world went. The reader stays lenient (it keeps whatever it could
/// read); this tells the program whether that was the whole file, so that it can refuse a file
/// that is no world at all and warn before a save drops what was not read.
struct WorldLoadReport {
    enum Status {
        /// The whole file was read.
        Complete,
        /// Reading stopped early: the world holds what came before the fault, and a save would
        /// drop the rest of the file.
        Partial,
        /// Not even the size line could be read (an empty file, or not a world file at all):
        /// the world is empty, and the file should not be taken as this world's file.
        NotAWorldFile,
    };

    Status status = Complete;
    /// The file held no byte at all; it loads as a new world of the default size.
    bool emptyFile = false;
    /// Where reading stopped, counted from 1 (columns in bytes); 0 when the whole file was read.
    std::int64_t line = 0;
    std::int64_t column = 0;
    /// What the reader expected there, for example "the radius of a point".
    std::string expected;
    /// What stood there: up to a few characters of the text, or "the end of the file".
    std::string found;

    /// Words the reader skipped because they meant nothing where they stood (a brace glued
    /// to its keyword, an unknown shape); a save leaves them out. Counted in every status.
    std::int64_t skippedWords = 0;
    /// The first skipped word and where it began.
    std::string firstSkippedWord;
    std::int64_t firstSkippedLine = 0;
    std::int64_t firstSkippedColumn = 0;
};

/// Text of a file in double quotes, fit to show anywhere: bytes that are not printable ASCII,
/// the quote and the backslash appear as \xHH, so that no file can send a terminal or a dialog
/// control sequences.
std::string QuoteFileText(std::string_view text);

/// One sentence for the user, for example: `line 12, column 40: expected the radius of a point,
/// found "x"`; "read completely" for a complete load.
std::string Describe(const WorldLoadReport& report);

/// One sentence on the skipped words, for example: `2 words were not understood and were
/// skipped, the first "point{" at line 4, column 5`; empty when none was skipped.
std::string DescribeSkippedWords(const WorldLoadReport& report);
