#include "document/ArchiveStreambuf.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "framework/CArchive.h"

ArchiveStreambuf::ArchiveStreambuf(CArchive& archive) : archive(archive) {
    ResetAreas();
}

ArchiveStreambuf::~ArchiveStreambuf() {
    try {
        archive.Flush();
    } catch (...) {
        // The archive raises it again at its next operation.
    }
    try {
        ArchiveStreambuf::sync();
    } catch (...) {
    }
}

void ArchiveStreambuf::ResetAreas() {
    setp(buffer, buffer + kBufferSize);
    setg(buffer, buffer, buffer);
}

namespace {

/// The last line break in [from, to), or nullptr; lines are short, so the search from the end
/// stops early.
const char* LastLineBreak(const char* from, const char* to) {
    while (to != from) {
        if (*--to == '\n') {
            return to;
        }
    }
    return nullptr;
}

// The line breaks in [from, to), counted in blocks small enough for a byte each, so that the
// count runs on byte lanes: it is done for every chunk a load reads.
std::int64_t CountLineBreaks(const char* from, const char* to) {
    std::int64_t count = 0;
    while (from != to) {
        const auto block = std::min<std::ptrdiff_t>(to - from, 255);
        unsigned char inBlock = 0;
        for (std::ptrdiff_t i = 0; i < block; ++i) {
            inBlock = static_cast<unsigned char>(inBlock + (from[i] == '\n'));
        }
        count += inBlock;
        from += block;
    }
    return count;
}

}  // namespace

void ArchiveStreambuf::PassOver(const char* from, const char* to) {
    const auto length = to - from;
    const char* last = LastLineBreak(from, to);
    if (last == nullptr) {
        columnBefore += length;
        return;
    }
    linesBefore += CountLineBreaks(from, to);
    columnBefore = to - (last + 1);
}

ArchiveStreambuf::Position ArchiveStreambuf::GetReadPosition() const {
    Position position{linesBefore + 1, columnBefore + 1};
    const char* from = eback();
    const auto length = gptr() - from;
    if (const char* last = LastLineBreak(from, gptr())) {
        position.line += CountLineBreaks(from, gptr());
        position.column = gptr() - last;
    } else {
        position.column += length;
    }
    return position;
}

ArchiveStreambuf::int_type ArchiveStreambuf::overflow(int_type c) {
    if (!archive.IsStoring()) {
        return traits_type::eof();
    }
    if (pptr() > pbase()) {
        archive.Write(pbase(), static_cast<unsigned>(pptr() - pbase()));
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        const char single = traits_type::to_char_type(c);
        archive.Write(&single, 1);
    }
    ResetAreas();
    return 0;
}

ArchiveStreambuf::int_type ArchiveStreambuf::underflow() {
    if (!archive.IsLoading()) {
        return traits_type::eof();
    }
    if (gptr() < egptr()) {
        return traits_type::to_int_type(*gptr());
    }
    PassOver(eback(), egptr());
    const unsigned count = archive.Read(buffer, kBufferSize);
    setg(buffer, buffer, buffer + count);
    if (count == 0) {
        return traits_type::eof();
    }
    return traits_type::to_int_type(buffer[0]);
}

int ArchiveStreambuf::sync() {
    if (pptr() > pbase()) {
        overflow(traits_type::eof());
    }
    if (gptr() < egptr()) {
        // Dropped bytes were still taken from the archive, so they count for the position.
        PassOver(eback(), egptr());
        setg(buffer, buffer, buffer);
    }
    return std::streambuf::sync();
}
