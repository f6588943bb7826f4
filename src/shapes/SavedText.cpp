#include "shapes/SavedText.h"

#include <cstddef>
#include <istream>

#include "shapes/WorldText.h"

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

SavedText::SavedText(std::istream& in) {
    const std::string_view held = HeldText(in);
    start = held.data();
    next = start;
    end = start + held.size();
}

void SavedText::Fail() {
    failed = true;
    next = end;  // so that every later item finds nothing and fails as well
}

void SavedText::SkipSpace() {
    // In locals: a character read might be a byte of the members themselves, as far as the
    // compiler knows, so it would store and reload them at every character.
    const char* at = next;
    const char* const stop = end;
    while (at != stop && IsSpace(*at)) {
        ++at;
    }
    next = at;
}

void SavedText::Opening(std::string_view keyword) {
    SkipSpace();
    if (next != end && *next == '{') {
        ++next;
        return;
    }
    // The extractions take a keyword as a word, so white space must end it, and a held one.
    const auto length = static_cast<std::ptrdiff_t>(keyword.size());
    if (end - next <= length || !IsSpace(next[length])) {
        Fail();
        return;
    }
    // Keywords are a few letters: a loop beats a call to compare them.
    for (const char letter : keyword) {
        if (*next++ != letter) {
            Fail();
            return;
        }
    }
    SkipSpace();
    if (next == end || *next != '{') {
        Fail();
        return;
    }
    ++next;
}

void SavedText::Closing() {
    SkipSpace();
    if (next == end || *next != '}') {
        Fail();
        return;
    }
    ++next;
}

std::int32_t SavedText::Int() {
    SkipSpace();
    const char* digits = next != end && *next == '-' ? next + 1 : next;
    const bool negative = digits != next;
    // Eleven digits cannot overflow 64 bits, and no number of them fits 32 bits.
    const char* stop = digits;
    std::uint64_t magnitude = 0;
    while (stop != end && stop - digits < 11 && IsDigit(*stop)) {
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(*stop++ - '0');
    }
    // The extraction stops at the first character that is not a digit; it must be held, or the
    // number might go on in the text that follows.
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 31;
    if (stop == digits || stop == end || IsDigit(*stop) ||
        magnitude > (negative ? kLimit : kLimit - 1)) {
        Fail();
        return 0;
    }
    next = stop;
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                    : static_cast<std::int32_t>(magnitude);
}

bool SavedText::Flag() {
    SkipSpace();
    if (next == end || (*next != 't' && *next != 'f')) {
        Fail();
        return false;
    }
    return *next++ == 't';
}

Color SavedText::Colour() {
    Opening("color");
    const std::int32_t red = Int();
    const std::int32_t green = Int();
    const std::int32_t blue = Int();
    Closing();
    Color colour;
    colour.SetRGB(red, green, blue);
    return colour;
}

StoredPoint SavedText::Point() {
    Opening("point");
    StoredPoint point;
    point.colour = Colour();
    point.x = Int();
    point.y = Int();
    point.radius = Int();
    Closing();
    return point;
}

SavedBox SavedText::Box() {
    Opening("rectangle");
    SavedBox box;
    box.colour = Colour();
    box.filled = Flag();
    box.first = Point();
    box.second = Point();
    Closing();
    return box;
}

bool SavedText::Commit(std::istream& in) {
    if (failed) {
        return false;
    }
    TakeHeld(in, static_cast<std::size_t>(next - start));
    return true;
}
