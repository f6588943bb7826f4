// Text laid out as a save writes it is read straight from the stream's buffer, and everything
// else by the extractions alone. A buffer without a get area gives the shortcut nothing to read,
// so reading through one is the reference: through get areas of any size, every text, saved or
// damaged, must make the same world, stop at the same character and report the same things.

#include <gtest/gtest.h>

#include <cstdint>
#include <istream>
#include <random>
#include <string>

#include "WorldFileTesting.h"
#include "document/WorldFile.h"
#include "shapes/WorldText.h"
#include "support/ChunkedBuffer.h"

namespace {

using namespace velk_test;

/// A few slips: a number changed to one at or beyond the edges of 32 bits, or with zeros before
/// it (both still as a save might write them, or nearly), characters lost, added, changed or
/// repeated, or the text cut short.
void Damage(std::string& text, std::mt19937& random) {
    static const std::string kAlphabet = " \n\t{}-+0123456789tfxcolrpinegy";
    static const char* const kNumbers[] = {"2147483647",  "-2147483648", "2147483648", "-0",
                                           "-2147483649", "99999999999", "00000000007"};
    for (int slips = static_cast<int>(1 + random() % 3); slips > 0 && !text.empty(); --slips) {
        const std::size_t at = random() % text.size();
        const std::size_t digits = text.find_first_of("0123456789", at);
        switch (random() % 7) {
            case 0:
            case 1:
                if (digits != std::string::npos) {
                    const std::size_t length =
                        text.find_first_not_of("0123456789", digits) - digits;
                    text.replace(digits, length, kNumbers[random() % std::size(kNumbers)]);
                }
                break;
            case 2:
                text.erase(at, 1 + random() % 3);
                break;
            case 3:
                text.insert(at, 1, kAlphabet[random() % kAlphabet.size()]);
                break;
            case 4:
                text[at] = kAlphabet[random() % kAlphabet.size()];
                break;
            case 5:
                text.insert(at, text.substr(at, random() % 40));
                break;
            default:
                text.resize(at);
                break;
        }
    }
}

/// All that a read leaves behind, as text: the world saved again, the stream's state, the trace
/// and the text left unread (with a sign that could not be put back, put back).
std::string ReadThrough(const std::string& text, std::size_t chunk) {
    ChunkedBuffer buffer(text, chunk);
    std::istream in(&buffer);
    TextReadTrace trace;
    AttachReadTrace(in, &trace);
    World world;
    const bool read = ReadWorld(in, world);
    std::string rest = trace.unreadSign != 0 ? std::string(1, trace.unreadSign) : "";
    for (int c = buffer.sbumpc(); c != std::char_traits<char>::eof(); c = buffer.sbumpc()) {
        rest += static_cast<char>(c);
    }
    return SaveToText(world) + "read " + std::to_string(read) + " state " +
           std::to_string(in.rdstate()) + " expected " +
           (trace.expected != nullptr ? trace.expected : "-") + " found " +
           (trace.found != nullptr ? trace.found : "-") + " skipped " +
           std::to_string(trace.skippedWords) + " first " + trace.firstSkippedWord + "\nunread " +
           rest;
}

TEST(SavedTextRead, EveryTextReadsAsTheExtractionsAloneReadIt) {
    // Both saved by the program: every kind of shape, filled and not, in many colours.
    const std::string saved[] = {DataFile("worlds/example.world"),
                                 DataFile("../../examples/shapes.world")};
    std::mt19937 random(11);
    for (int round = 0; round < 600; ++round) {
        std::string text = saved[round % 2];
        if (round >= 2) {
            Damage(text, random);
        }
        const std::string reference = ReadThrough(text, 0);
        for (const std::size_t chunk :
             {std::size_t{1}, std::size_t{1 + random() % 120}, std::size_t{1024}, text.size()}) {
            ASSERT_EQ(ReadThrough(text, chunk), reference)
                << "round " << round << ", chunks of " << chunk << ", text:\n"
                << text;
        }
    }
}

}  // namespace
