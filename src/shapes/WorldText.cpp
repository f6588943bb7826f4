#include "shapes/WorldText.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <istream>
#include <iterator>
#include <ostream>
#include <streambuf>
#include <string_view>

namespace {

using Traits = std::char_traits<char>;
constexpr int kEnd = Traits::eof();
/// Longer items go through the buffer's own sputn.
constexpr std::size_t kLongestItem = 64;

bool IsSpace(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

int TraceIndex() {
    static const int index = std::ios_base::xalloc();
    return index;
}

/// Fails the stream, recording what was expected when this is the stream's first failure.
void Fail(std::istream& in, const char* expected, std::ios::iostate more = {},
          const char* found = nullptr) {
    if (!in.fail() && expected != nullptr) {
        if (auto* trace = static_cast<TextReadTrace*>(in.pword(TraceIndex()))) {
            trace->expected = expected;
            trace->found = found;
        }
    }
    in.setstate(std::ios::failbit | more);
}

/// Reads the get area of any stream buffer in place, so that a run of characters costs one
/// pointer walk instead of a call per character. A pointer to a protected member, formed in a
/// class derived from the buffer class, may be applied to any buffer.
class GetArea : public std::streambuf {
public:
    /// The characters the buffer holds unread, at most INT_MAX of them (what Consume takes).
    static std::string_view Unread(std::streambuf& buffer) {
        const char* next = (buffer.*&GetArea::gptr)();
        const auto count = (buffer.*&GetArea::egptr)() - next;
        return {next, static_cast<std::size_t>(std::min<std::ptrdiff_t>(count, INT_MAX))};
    }
    static void Consume(std::streambuf& buffer, std::size_t count) {
        (buffer.*&GetArea::gbump)(static_cast<int>(count));
    }
};

/// The first character that is not white space, left unread; end of file when there is none,
/// or when the stream is not good (then already failed).
int SkipSpace(std::istream& in, const char* expected) {
    std::streambuf* buffer = in.rdbuf();
    if (!in.good() || buffer == nullptr) {
        Fail(in, expected);
        return kEnd;
    }
    for (;;) {
        const std::string_view unread = GetArea::Unread(*buffer);
        std::size_t skipped = 0;
        while (skipped < unread.size() && IsSpace(static_cast<unsigned char>(unread[skipped]))) {
            ++skipped;
        }
        GetArea::Consume(*buffer, skipped);
        if (skipped < unread.size()) {
            return static_cast<unsigned char>(unread[skipped]);
        }
        // Refills; a buffer without a get area hands characters over one at a time.
        const int c = buffer->sgetc();
        if (c == kEnd) {
            Fail(in, expected, std::ios::eofbit);
            return kEnd;
        }
        if (!IsSpace(c)) {
            return c;
        }
        buffer->sbumpc();
    }
}

/// Writes into the put area of any stream buffer in place, as GetArea reads.
class PutArea : public std::streambuf {
public:
    /// Copies the text when the put area has room for all of it; false, copying nothing, when
    /// it has not.
    static bool Copy(std::streambuf& buffer, const char* text, std::size_t length) {
        char* next = (buffer.*&PutArea::pptr)();
        if (static_cast<std::size_t>((buffer.*&PutArea::epptr)() - next) < length) {
            return false;
        }
        // A loop the compiler sees through beats a library call for items of a few bytes.
        for (std::size_t i = 0; i < length; ++i) {
            next[i] = text[i];
        }
        (buffer.*&PutArea::pbump)(static_cast<int>(length));
        return true;
    }
};

/// Hands text to the buffer, marking the stream bad when the buffer refuses it.
void Send(std::ostream& out, const char* text, std::size_t length) {
    const auto count = static_cast<std::streamsize>(length);
    if (out.rdbuf()->sputn(text, count) != count) {
        out.setstate(std::ios::badbit);
    }
}

/// The fill characters that widen an item of length characters to the field width, in pieces,
/// so that no width makes it allocate.
void Pad(std::ostream& out, std::size_t length) {
    char fill[64];
    std::fill(std::begin(fill), std::end(fill), out.fill());
    for (auto missing = static_cast<std::size_t>(out.width()) - length;
         missing > 0 && out.good();) {
        const std::size_t piece = std::min(missing, sizeof fill);
        Send(out, fill, piece);
        missing -= piece;
    }
}

void Put(std::ostream& out, const char* text, std::size_t length) {
    std::streambuf* buffer = out.rdbuf();
    if (!out.good() || buffer == nullptr) {
        return;
    }
    if (out.width() <= 0 || static_cast<std::size_t>(out.width()) <= length) {
        out.width(0);
        // Items are short: almost always they fit the put area and need no call at all.
        if (length > kLongestItem || !PutArea::Copy(*buffer, text, length)) {
            Send(out, text, length);
        }
        return;
    }
    const bool left = (out.flags() & std::ios::adjustfield) == std::ios::left;
    if (!left) {
        Pad(out, length);
    }
    if (out.good()) {
        Send(out, text, length);
    }
    if (out.good() && left) {
        Pad(out, length);
    }
    out.width(0);
}

}  // namespace

std::string_view HeldText(std::istream& in) {
    std::streambuf* buffer = in.rdbuf();
    if (!in.good() || buffer == nullptr) {
        return {};
    }
    return GetArea::Unread(*buffer);
}

void TakeHeld(std::istream& in, std::size_t count) {
    GetArea::Consume(*in.rdbuf(), count);
}

void AttachReadTrace(std::istream& in, TextReadTrace* trace) {
    in.pword(TraceIndex()) = trace;
}

void NoteSkippedWord(std::istream& in, std::string_view word) {
    auto* trace = static_cast<TextReadTrace*>(in.pword(TraceIndex()));
    if (trace == nullptr || trace->skippedWords++ > 0) {
        return;
    }
    trace->firstSkippedWord = word;
    if (trace->locate) {
        // Words never span lines, so the word began its length before where the stream stands.
        const auto [line, column] = trace->locate();
        trace->firstSkippedLine = line;
        trace->firstSkippedColumn = column - static_cast<std::int64_t>(word.size());
    }
}

bool ExtractChar(std::istream& in, char& c, const char* expected) {
    const int next = SkipSpace(in, expected);
    if (next == kEnd) {
        return false;
    }
    c = Traits::to_char_type(next);
    in.rdbuf()->sbumpc();
    return true;
}

std::string_view ExtractWord(std::istream& in, char* word, std::size_t size, const char* expected) {
    word[0] = '\0';
    if (SkipSpace(in, expected) == kEnd) {
        return {};
    }
    std::streambuf* buffer = in.rdbuf();
    const std::size_t limit = size - 1;
    std::size_t length = 0;
    // A word cut at its limit leaves the next character unseen: no end of file is noticed.
    while (length < limit) {
        const std::string_view unread = GetArea::Unread(*buffer);
        std::size_t taken = 0;
        while (taken < unread.size() && length < limit &&
               !IsSpace(static_cast<unsigned char>(unread[taken]))) {
            word[length++] = unread[taken++];
        }
        GetArea::Consume(*buffer, taken);
        if (taken < unread.size() || length == limit) {
            break;
        }
        const int c = buffer->sgetc();  // refills, as in SkipSpace
        if (c == kEnd) {
            in.setstate(std::ios::eofbit);
            break;
        }
        if (IsSpace(c)) {
            break;
        }
        word[length++] = Traits::to_char_type(c);
        buffer->sbumpc();
    }
    word[length] = '\0';
    return {word, length};
}

bool ExtractInt(std::istream& in, std::int32_t& value, const char* expected) {
    int c = SkipSpace(in, expected);
    if (c == kEnd) {
        return false;
    }
    std::streambuf* buffer = in.rdbuf();
    const int sign = c;
    if (c == '-' || c == '+') {
        c = buffer->snextc();
    }
    if (!IsDigit(c)) {
        if (c != kEnd && (sign == '-' || sign == '+') &&
            buffer->sputbackc(Traits::to_char_type(sign)) == kEnd && !in.fail()) {
            // The buffer refilled after the sign and no longer holds it: the trace says so, so
            // that a report of where reading stopped can still point at the sign.
            if (auto* trace = static_cast<TextReadTrace*>(in.pword(TraceIndex()))) {
                trace->unreadSign = static_cast<char>(sign);
            }
        }
        Fail(in, expected, c == kEnd ? std::ios::eofbit : std::ios::goodbit);
        return false;
    }
    // Digits beyond the range are still consumed, as one number that does not fit.
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 31;
    std::uint64_t magnitude = 0;
    bool atEnd = false;
    for (;;) {
        const std::string_view unread = GetArea::Unread(*buffer);
        std::size_t taken = 0;
        while (taken < unread.size() && IsDigit(unread[taken])) {
            if (magnitude <= kLimit) {
                magnitude = magnitude * 10 + static_cast<std::uint64_t>(unread[taken] - '0');
            }
            ++taken;
        }
        GetArea::Consume(*buffer, taken);
        if (taken < unread.size()) {
            break;
        }
        c = buffer->sgetc();  // refills, as in SkipSpace
        if (c == kEnd) {
            atEnd = true;
            break;
        }
        if (!IsDigit(c)) {
            break;
        }
        if (magnitude <= kLimit) {
            magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        }
        buffer->sbumpc();
    }
    if (magnitude > (sign == '-' ? kLimit : kLimit - 1)) {
        Fail(in, expected, atEnd ? std::ios::eofbit : std::ios::goodbit, "a number beyond 32 bits");
        return false;
    }
    if (atEnd) {
        in.setstate(std::ios::eofbit);
    }
    value = sign == '-' ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                        : static_cast<std::int32_t>(magnitude);
    return true;
}

void InsertText(std::ostream& out, std::string_view text) {
    Put(out, text.data(), text.size());
}

void InsertChar(std::ostream& out, char c) {
    Put(out, &c, 1);
}

void InsertInt(std::ostream& out, std::int32_t value) {
    char digits[12];
    char* first = digits + sizeof digits;
    // Through the magnitude as unsigned, so the most negative value needs no special case.
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    do {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        *--first = '-';
    }
    Put(out, first, static_cast<std::size_t>(digits + sizeof digits - first));
}

void EndLine(std::ostream& out) {
    InsertChar(out, '\n');
    if (out.good() && out.rdbuf()->pubsync() == -1) {
        out.setstate(std::ios::badbit);
    }
}

namespace {

/// Notes a keyword read as its first letter and the rest when it is not the one a save writes.
void CheckKeyword(std::istream& in, char first, std::string_view rest, const char* keyword) {
    if (in.fail() || keyword == nullptr) {
        return;
    }
    if (first != keyword[0] || rest != std::string_view(keyword + 1)) {
        std::string word(1, first);
        word += rest;
        NoteSkippedWord(in, word);
    }
}

/// Reads the brace that follows a keyword and notes it when it is not "{".
void ExtractOpeningBrace(std::istream& in, const char* expected) {
    char c = 0;
    if (ExtractChar(in, c, expected) && c != '{') {
        NoteSkippedWord(in, std::string_view(&c, 1));
    }
}

}  // namespace

bool ExtractOpening(std::istream& in, char firstLetter, const ElementWords& words) {
    char c = 0;
    if (!ExtractChar(in, c, words.element)) {
        return false;
    }
    if (c == firstLetter) {
        char keyword[11];
        const std::string_view rest = ExtractWord(in, keyword, words.element);
        CheckKeyword(in, c, rest, words.keyword);
        ExtractOpeningBrace(in, words.openingBrace);
    } else if (c != '{') {
        NoteSkippedWord(in, std::string_view(&c, 1));
    }
    return true;
}

bool ExtractBraceOpening(std::istream& in, std::size_t wordLimit, const ElementWords& words) {
    char c = 0;
    if (!ExtractChar(in, c, words.element)) {
        return false;
    }
    if (c != '{') {
        char keyword[32];
        const std::string_view rest =
            ExtractWord(in, keyword, std::min(wordLimit + 1, sizeof keyword), words.element);
        CheckKeyword(in, c, rest, words.keyword);
        ExtractOpeningBrace(in, words.openingBrace);
    }
    return true;
}

bool ExtractClosingBrace(std::istream& in, const ElementWords& words) {
    char c = 0;
    if (!ExtractChar(in, c, words.closingBrace)) {
        return false;
    }
    if (c != '}') {
        NoteSkippedWord(in, std::string_view(&c, 1));
    }
    return true;
}

bool ExtractFlag(std::istream& in, char& flag, const char* expected) {
    if (!ExtractChar(in, flag, expected)) {
        return false;
    }
    if (flag != 't' && flag != 'f') {
        NoteSkippedWord(in, std::string_view(&flag, 1));
    }
    return true;
}
