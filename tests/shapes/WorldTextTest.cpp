// The world file's own extraction and insertion primitives against the stream library's
// formatted extraction and insertion, which they stand in for: same results, same stream
// states, also when the stream buffer hands its text over in small chunks.

#include "shapes/WorldText.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <iomanip>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "support/ChunkedBuffer.h"

namespace {

using velk_test::ChunkedBuffer;

enum class Op { Int, Char, Word10, Word29, Word30 };

/// One extraction done the stream library's way: what was read, or "fail", and the state.
std::string LibraryStep(std::istream& in, Op op) {
    std::string result;
    if (op == Op::Int) {
        int value = 0;
        in >> value;
        result = std::to_string(value);
    } else if (op == Op::Char) {
        char c = 0;
        in >> c;
        result = std::string(1, c);
    } else {
        // The word's length from how far the buffer moved, less the white space skipped, since
        // a word may hold zero bytes.
        std::streambuf& buffer = *in.rdbuf();
        const auto before = buffer.pubseekoff(0, std::ios::cur, std::ios::in);
        while (std::isspace(buffer.sgetc()) != 0) {
            buffer.sbumpc();
        }
        const auto start = buffer.pubseekoff(0, std::ios::cur, std::ios::in);
        buffer.pubseekpos(before, std::ios::in);
        char word[31] = {};
        const int limit = op == Op::Word10 ? 10 : op == Op::Word29 ? 29 : 30;
        in >> std::setw(limit + 1) >> word;
        if (!in.fail()) {
            result.assign(word, static_cast<std::size_t>(
                                    buffer.pubseekoff(0, std::ios::cur, std::ios::in) - start));
        }
    }
    return (in.fail() ? std::string("fail") : result) + " state " + std::to_string(in.rdstate());
}

std::string OwnStep(std::istream& in, Op op) {
    std::string result;
    if (op == Op::Int) {
        std::int32_t value = 0;
        ExtractInt(in, value, "a number");
        result = std::to_string(value);
    } else if (op == Op::Char) {
        char c = 0;
        ExtractChar(in, c, "a character");
        result = std::string(1, c);
    } else {
        char word[31] = {};
        const std::size_t limit = op == Op::Word10 ? 10 : op == Op::Word29 ? 29 : 30;
        result = ExtractWord(in, word, limit + 1, "a word");
    }
    return (in.fail() ? std::string("fail") : result) + " state " + std::to_string(in.rdstate());
}

struct ExtractionCase {
    const char* name;
    std::string text;
    std::vector<Op> ops;
};

class WorldTextExtraction : public ::testing::TestWithParam<ExtractionCase> {};

TEST_P(WorldTextExtraction, MatchesTheStreamLibraryInEveryChunkingAndWithoutABuffer) {
    const ExtractionCase& c = GetParam();
    for (const std::size_t chunk : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{3},
                                    std::size_t{7}, std::size_t{1024}}) {
        std::istringstream library(c.text);
        ChunkedBuffer buffer(c.text, chunk);
        std::istream own(&buffer);
        for (std::size_t step = 0; step < c.ops.size(); ++step) {
            ASSERT_EQ(OwnStep(own, c.ops[step]), LibraryStep(library, c.ops[step]))
                << "step " << step << ", chunks of " << chunk;
        }
    }
}

using enum Op;
const std::vector<Op> kInts(8, Int);
const std::vector<Op> kMixed = {Word10, Char, Int, Word29, Int, Char, Word30, Int, Word10, Int};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, WorldTextExtraction, ::testing::Values(
    ExtractionCase{"Empty",                 "",                                      kMixed},
    ExtractionCase{"OnlyWhiteSpace",        " \t\n\r\v\f",                           kMixed},
    ExtractionCase{"NumbersAndSigns",       "1 -2 +3 007 -0 12x -",                  kInts},
    ExtractionCase{"Limits",                "2147483647 -2147483648 0",              kInts},
    ExtractionCase{"JustBeyondTheLimits",   "2147483648",                            kInts},
    ExtractionCase{"FarBeyondTheLimits",    "-99999999999999999999999 5",            kInts},
    ExtractionCase{"SignWithoutDigits",     "- 5",                                   kInts},
    ExtractionCase{"HexPrefix",             "0x1F",                                  {Int, Word10, Int}},
    ExtractionCase{"NumberAtTheEnd",        "12",                                    kInts},
    ExtractionCase{"WordsAreCut",           "xxxxxxxxxxpoint abcdefghijklmnopqrstuvwxyz0123456789ABCDEF", {Word10, Word10, Word29, Word30, Word10}},
    ExtractionCase{"WordAtTheEnd",          "  end",                                 kMixed},
    ExtractionCase{"GluedBrace",            "point{ color{1 2 3}",                   kMixed},
    ExtractionCase{"OddBytes",              std::string("\0 \x80\xff 1\x7f", 7),     kMixed},
    ExtractionCase{"CarriageReturns",       "1\r\n2\r\nline\r\n",                    kMixed}));
// clang-format on

TEST(WorldTextExtraction, MatchesTheStreamLibraryOnRandomTexts) {
    static const char kAlphabet[] = " \t\n\r-+0123456789{}ab\0\x80";
    const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        const std::size_t chunk = random() % 5;
        std::istringstream library(text);
        ChunkedBuffer buffer(text, chunk);
        std::istream own(&buffer);
        for (int step = 0; step < 12; ++step) {
            const auto op = static_cast<Op>(random() % 5);
            ASSERT_EQ(OwnStep(own, op), LibraryStep(library, op))
                << "text \"" << text << "\" step " << step << ", chunks of " << chunk;
        }
    }
}

TEST(WorldTextExtraction, TheFirstFailureIsTracedWithWhatWasExpected) {
    std::istringstream in("7 x 8");
    TextReadTrace trace;
    AttachReadTrace(in, &trace);
    std::int32_t value = 0;
    EXPECT_TRUE(ExtractInt(in, value, "first"));
    EXPECT_FALSE(ExtractInt(in, value, "second"));
    EXPECT_FALSE(ExtractInt(in, value, "third"));  // sticky, and not traced again
    EXPECT_STREQ(trace.expected, "second");
    EXPECT_EQ(trace.found, nullptr);
    EXPECT_EQ(value, 7);

    std::istringstream end("1 ");
    TextReadTrace quiet;
    AttachReadTrace(end, &quiet);
    char word[30];
    ExtractInt(end, value, "a number");
    EXPECT_TRUE(ExtractWord(end, word, nullptr).empty());  // an end where one is no fault
    EXPECT_EQ(quiet.expected, nullptr);

    std::istringstream large("3000000000");
    AttachReadTrace(large, &trace);
    trace = {};
    ExtractInt(large, value, "a size");
    EXPECT_STREQ(trace.found, "a number beyond 32 bits");
}

/// Every insertion with a field width in both adjustments, against the stream library.
TEST(WorldTextInsertion, MatchesTheStreamLibraryWithFieldWidthsAndFill) {
    for (const std::ios::fmtflags adjust : {std::ios::right, std::ios::left}) {
        for (int width = -1; width <= 13; ++width) {
            std::ostringstream library, own;
            for (std::ostringstream* out : {&library, &own}) {
                out->setf(adjust, std::ios::adjustfield);
                out->fill('*');
            }
            for (const std::int32_t value : {INT32_MIN, -1, 0, 7, 42, INT32_MAX}) {
                library << std::setw(width) << value << std::setw(width) << "text"
                        << std::setw(width) << 'c' << "|";
                own.width(width);
                InsertInt(own, value);
                own.width(width);
                InsertText(own, "text");
                own.width(width);
                InsertChar(own, 'c');
                InsertText(own, "|");
            }
            EXPECT_EQ(own.str(), library.str()) << "width " << width;
            EXPECT_EQ(own.width(), 0);
        }
    }
}

/// Counts the flushes that reach it.
class SyncCounter : public std::stringbuf {
public:
    int syncs = 0;

protected:
    int sync() override {
        ++syncs;
        return 0;
    }
};

TEST(WorldTextInsertion, EndLineFlushesAndAFailedStreamTakesNothing) {
    SyncCounter buffer;
    std::ostream out(&buffer);
    InsertText(out, "a");
    EndLine(out);
    EXPECT_EQ(buffer.str(), "a\n");
    EXPECT_EQ(buffer.syncs, 1);

    out.setstate(std::ios::failbit);
    InsertInt(out, 5);
    InsertText(out, "b");
    InsertChar(out, 'c');
    EndLine(out);
    EXPECT_EQ(buffer.str(), "a\n");
    EXPECT_EQ(buffer.syncs, 1);
}

}  // namespace
