#include "document/ArchiveStreambuf.h"

#include <algorithm>

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

}  // namespace

void ArchiveStreambuf::PassOver(const char* from, const char* to) {
    const auto length = to - from;
    const char* last = LastLineBreak(from, to);
    if (last == nullptr) {
        columnBefore += length;
        return;
    }
    linesBefore += std::count(from, to, '\n');
    columnBefore = to - (last + 1);
}

ArchiveStreambuf::Position ArchiveStreambuf::GetReadPosition() const {
    Position position{linesBefore + 1, columnBefore + 1};
    const char* from = eback();
    const auto length = gptr() - from;
    if (const char* last = LastLineBreak(from, gptr())) {
        position.line += std::count(from, static_cast<const char*>(gptr()), '\n');
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
