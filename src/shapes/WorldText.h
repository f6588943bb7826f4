#pragma once

// The three extractions and the insertions that world file elements are read and written
// with. They behave as the stream library's formatted extraction and insertion of a character,
// a character array of a given width and an int do, but work straight on the stream's buffer:
// the library's versions consult the locale for every character and number, which made loading
// and saving a large world several times slower.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

/// Remembers what the first failed extraction on a stream expected, for telling where and why
/// a load stopped. Attach one to a stream with AttachReadTrace.
struct TextReadTrace {
    /// A description such as "the radius of a point", or null while nothing failed.
    const char* expected = nullptr;
    /// What stood there, when the extraction knows better than the text that follows it (a
    /// number too large, whose digits were consumed); otherwise null.
    const char* found = nullptr;

    /// How many words the readers skipped because they meant nothing there. The reader stays
    /// lenient, but a save drops those words, so the program should say so.
    std::int64_t skippedWords = 0;
    /// The first of them, as extracted (cut at the reader's word limit), and where it began.
    std::string firstSkippedWord;
    std::int64_t firstSkippedLine = 0;
    std::int64_t firstSkippedColumn = 0;
    /// A sign that failed as a number but could not be put back, because the buffer refilled
    /// just after it: the stream then stands one column past the sign, where reading stopped.
    char unreadSign = 0;
    /// Where the stream stands now, as line and column counted from 1; set by whoever owns the
    /// stream's buffer. Without it the first skipped word's place stays 0.
    std::function<std::pair<std::int64_t, std::int64_t>()> locate;
};

/// From now on the first extraction on in that fails records what it expected in trace, which
/// must outlive the attachment. A null trace detaches.
void AttachReadTrace(std::istream& in, TextReadTrace* trace);

// Every extraction first skips white space (blank, tab, line feed, carriage return, vertical
// tab, form feed). One that finds nothing to read puts the stream into its failed state, and
// on a failed stream every extraction fails at once: failure is sticky. An end of file met
// just after a complete item only marks the stream at end of file, so the next extraction
// fails. expected describes the item for the trace; null means an end here is no fault.

/// The characters the stream's buffer holds unread, for reading in place; none when the stream
/// is not good.
std::string_view HeldText(std::istream& in);
/// Takes count of those characters, as if extracted.
void TakeHeld(std::istream& in, std::size_t count);

/// Tells the attached trace, if any, that the word just extracted was skipped: a save will not
/// write it back.
void NoteSkippedWord(std::istream& in, std::string_view word);

/// One character that is not white space.
bool ExtractChar(std::istream& in, char& c, const char* expected);

/// The following run of characters that are not white space, cut after size - 1 characters
/// (the rest is left for the next extraction), stored with a terminating zero. Empty when the
/// extraction failed.
std::string_view ExtractWord(std::istream& in, char* word, std::size_t size, const char* expected);
template <std::size_t Size>
std::string_view ExtractWord(std::istream& in, char (&word)[Size], const char* expected) {
    static_assert(Size >= 2);
    return ExtractWord(in, word, Size, expected);
}

/// An optional sign and decimal digits. A value beyond 32 bits fails; so does a sign without
/// digits. value is only written on success.
bool ExtractInt(std::istream& in, std::int32_t& value, const char* expected);

/// How the extractions that open and close an element describe what they expect.
struct ElementWords {
    const char* element;       ///< "a colour"
    const char* openingBrace;  ///< "the opening brace of a colour"
    const char* closingBrace;  ///< "the closing brace of a colour"
    const char* keyword;       ///< "color": text that differs from it is noted as skipped
};

/// Opens a colour or shape element by its first letter: a character; when it is firstLetter,
/// the rest of the keyword (a word of at most 10 characters) and one more character, which
/// stands for the opening brace; any other character is itself taken as the brace. Nothing
/// beyond the first letter decides what is read, but a keyword or brace that a save would not
/// write back is noted as skipped. False when the first character could not be read.
bool ExtractOpening(std::istream& in, char firstLetter, const ElementWords& words);

/// Opens an object or a geometry block: a character; unless it is "{", it is taken as the
/// keyword's first letter, and a word of at most wordLimit characters and one more character
/// (the brace) follow, unchecked but noted as skipped when they are not the keyword and "{".
/// False when the first character could not be read.
bool ExtractBraceOpening(std::istream& in, std::size_t wordLimit, const ElementWords& words);

/// The closing brace of an element: any one character, noted as skipped unless it is "}".
bool ExtractClosingBrace(std::istream& in, const ElementWords& words);

/// A filled flag: any one character, "t" meaning filled; one that is neither "t" nor "f" is
/// noted as skipped, since a save writes "f" for it.
bool ExtractFlag(std::istream& in, char& flag, const char* expected);

// Insertions do nothing on a stream that is not good. A field width set on the stream pads
// the next insertion with the fill character (on the right when the stream is set to adjust
// left, else on the left) and is then reset, as the stream library does.

void InsertText(std::ostream& out, std::string_view text);
void InsertChar(std::ostream& out, char c);
void InsertInt(std::ostream& out, std::int32_t value);
/// A line feed, then a flush of the stream's buffer.
void EndLine(std::ostream& out);
