#pragma once
// Elements laid out exactly as a save writes them are read straight from the characters that the
// stream's buffer already holds, without a call per item: a large world is such text from end to
// end. Anything else, and an element of which the buffer holds only a part, is left untouched
// for the extractions of WorldText.h, which read it from the same place. The shortcut takes only
// text on which those extractions would make the same values and stop at the same character, so
// it cannot change what a read makes, how far it goes, or what it reports.
#include <cstdint>
#include <iosfwd>
#include <string_view>

#include "shapes/Color.h"
#include "shapes/StoredPoint.h"

/// A rectangle's element as read, before a shape takes it.
struct SavedBox {
    Color colour;
    bool filled = false;
    StoredPoint first;
    StoredPoint second;
};

/// A cursor over the characters a stream's buffer holds unread. Each item skips white space and
/// takes what a save writes there; the first thing that is not, or that runs past the held
/// characters, fails the cursor for good, and every later item fails too.
class SavedText {
public:
    /// Nothing to read when the stream is not good: its extractions would fail at once.
    explicit SavedText(std::istream& in);

    bool Failed() const { return failed; }
    /// "{", or the keyword, white space and "{": the two openings the extractions take unnoted.
    void Opening(std::string_view keyword);
    void Closing();
    /// An optional minus and at most ten digits, within 32 bits, followed by a held character.
    std::int32_t Int();
    /// "t" or "f": true for "t".
    bool Flag();
    Color Colour();
    StoredPoint Point();
    SavedBox Box();
    /// When nothing failed, takes what was read from the stream's buffer and answers true; else
    /// leaves the stream as it was.
    bool Commit(std::istream& in);

private:
    void SkipSpace();
    void Fail();

    const char* start;
    const char* next;
    const char* end;
    bool failed = false;
};
