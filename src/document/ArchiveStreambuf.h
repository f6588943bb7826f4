#pragma once

#include <cstdint>
#include <streambuf>

class CArchive;

/// A stream buffer that moves the bytes of a stream to or from an archive in chunks of up to
/// 1024 bytes. The archive's mode decides the direction: a loading archive serves input and
/// answers end of file to output; a storing archive the other way round. Seeking is not
/// supported. One buffer serves one save or one load; the archive must outlive it.
class ArchiveStreambuf : public std::streambuf {
public:
    static constexpr int kBufferSize = 1024;

    /// Where the next unread byte stands in the archive's text; line and column count from 1.
    struct Position {
        std::int64_t line;
        std::int64_t column;
    };

    explicit ArchiveStreambuf(CArchive& archive);
    ArchiveStreambuf(const ArchiveStreambuf&) = delete;
    ArchiveStreambuf& operator=(const ArchiveStreambuf&) = delete;
    /// Flushes the archive, then writes what output is pending and drops unread input. An
    /// archive error raised here is swallowed: the archive keeps it and raises it again at its
    /// next operation, so a buffer destroyed while an error unwinds cannot end the program.
    ~ArchiveStreambuf() override;

    /// Loading: the line and column of the next byte the stream would read.
    Position GetReadPosition() const;

protected:
    /// Hands the pending output, then c on its own (unless c is end of file), to a storing
    /// archive; returns 0, or end of file on a loading archive.
    int_type overflow(int_type c) override;
    /// The next byte, refilling the buffer from a loading archive when all was read; end of
    /// file at the archive's end or on a storing archive.
    int_type underflow() override;
    /// Writes the pending output and drops unread input.
    int sync() override;

private:
    void ResetAreas();
    /// Counts the lines of a chunk of input that leaves the buffer.
    void PassOver(const char* from, const char* to);

    CArchive& archive;
    char buffer[kBufferSize];
    // Where the chunk now in the buffer starts: counted once per chunk, not per extraction.
    std::int64_t linesBefore = 0;
    std::int64_t columnBefore = 0;
};
