// Text laid out as a save writes it is read straight from the stream's buffer, and everything
// else by the extractions alone. A buffer without a get area gives the shortcut nothing to read,
// so reading through one is the reference: through get areas of any size, every text, saved or
// damaged, must make the same world, stop at the same character and report the same things.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <istream>
#include <random>
#include <string>

#include "WorldFileTesting.h"
#include "document/WorldFile.h"
#include "objects/DraggableObject.h"
#include "shapes/WorldText.h"
#include "support/ChunkedBuffer.h"

namespace {

using namespace velk_test;

std::int32_t RandomNumber(std::mt19937& random) {
    static constexpr std::int32_t kEdges[] = {0, 1, -1, 9, -10, 255, 256, INT_MAX, INT_MIN};
    if (random() % 3 == 0) {
        return kEdges[random() % std::size(kEdges)];
    }
    return static_cast<std::int32_t>(random() % 2001) - 1000;
}

DrawPoint RandomPoint(std::mt19937& random) {
    return Coloured(RandomNumber(random), RandomNumber(random), RandomNumber(random),
                    RandomNumber(random), RandomNumber(random), RandomNumber(random));
}

DrawPrimitive* RandomShape(std::mt19937& random) {
    const int red = RandomNumber(random);
    switch (random() % 4) {
        case 0:
            return new DrawPoint(RandomPoint(random));
        case 1: {
            auto* line = InColour(new DrawLine, red, 2, 3);
            line->SetWidth(RandomNumber(random));
            line->SetStart(RandomPoint(random));
            line->SetEnd(RandomPoint(random));
            return line;
        }
        case 2: {
            auto* rectangle = InColour(new DrawRectangle, red, 5, 6);
            rectangle->SetFilled(random() % 2 == 0);
            rectangle->SetCorners(RandomPoint(random), RandomPoint(random));
            return rectangle;
        }
        default: {
            auto* ellipse = InColour(new DrawEllipse, red, 8, 9);
            ellipse->SetFilled(random() % 2 == 0);
            DrawRectangle bounds;
            bounds.SetCorners(RandomPoint(random), RandomPoint(random));
            ellipse->SetBounds(bounds);
            return ellipse;
        }
    }
}

std::string RandomSavedWorld(std::mt19937& random) {
    World world;
    world.SetWorldSize(RandomNumber(random), RandomNumber(random));
    for (int objects = static_cast<int>(random() % 5); objects > 0; --objects) {
        auto* object = new DraggableObject;
        object->SetPosition(RandomPoint(random));
        for (int shapes = static_cast<int>(random() % 5); shapes > 0; --shapes) {
            object->AddShape(RandomShape(random));
        }
        world.AddObject(object);
    }
    return SaveToText(world);
}

/// A few slips of the kind that make a text no longer one a save writes: characters lost,
/// added, changed or repeated, zeros put before a number, or the text cut short.
void Damage(std::string& text, std::mt19937& random) {
    static const std::string kAlphabet = " \n\t{}-+0123456789tfxcolrpinegy";
    for (int slips = static_cast<int>(random() % 4); slips > 0 && !text.empty(); --slips) {
        const std::size_t at = random() % text.size();
        switch (random() % 6) {
            case 0:
                text.erase(at, 1 + random() % 3);
                break;
            case 1:
                text.insert(at, 1, kAlphabet[random() % kAlphabet.size()]);
                break;
            case 2:
                text[at] = kAlphabet[random() % kAlphabet.size()];
                break;
            case 3:
                text.insert(at, text.substr(at, random() % 40));
                break;
            case 4:
                text.insert(at, 11, '0');  // a number that fits, but only without its zeros
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
    std::mt19937 random(11);
    for (int round = 0; round < 1500; ++round) {
        std::string text = RandomSavedWorld(random);
        if (round % 4 != 0) {
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
