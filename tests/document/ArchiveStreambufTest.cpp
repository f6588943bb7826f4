#include "document/ArchiveStreambuf.h"

#include <gtest/gtest.h>

#include <istream>
#include <ostream>
#include <string>

#include "WorldFileTesting.h"
#include "framework/CArchive.h"

namespace {

using velk_test::ReadFileBytes;
using velk_test::TempFolder;

/// Text of distinct lines of varying length, so that a moved byte changes lines and columns.
std::string Lines(std::size_t size) {
    std::string text;
    for (int line = 0; text.size() < size; ++line) {
        text +=
            std::string(static_cast<std::size_t>(line % 37), static_cast<char>('a' + line % 26));
        text += '\n';
    }
    text.resize(size);
    return text;
}

TEST(ArchiveStreambufStore, AByteBeyondAFullBufferGoesOutBehindItWithoutBuffering) {
    std::string sink;
    CArchive archive = CArchive::ToMemory(sink);
    const std::string text = Lines(2049);
    {
        ArchiveStreambuf buffer(archive);
        EXPECT_EQ(buffer.sputn(text.data(), 1024), 1024);
        EXPECT_EQ(archive.GetPosition(), 0u);  // the 1024 bytes fill the buffer
        buffer.sputc(text[1024]);
        EXPECT_EQ(archive.GetPosition(), 1025u);  // both handed over, the buffer is empty
        EXPECT_EQ(buffer.sputn(text.data() + 1025, 1024), 1024);
        EXPECT_EQ(archive.GetPosition(), 1025u);
        EXPECT_EQ(buffer.pubsync(), 0);
        EXPECT_EQ(archive.GetPosition(), 2049u);
        EXPECT_EQ(buffer.pubsync(), 0);  // nothing pending: nothing written
        EXPECT_EQ(archive.GetPosition(), 2049u);
    }
    EXPECT_EQ(archive.GetPosition(), 2049u);  // destroying it after a flush writes nothing more
    archive.Close();
    EXPECT_EQ(sink, text);
}

TEST(ArchiveStreambufStore, DestructionWritesWhatIsPendingAndInputAnswersEndOfFile) {
    std::string sink;
    CArchive archive = CArchive::ToMemory(sink);
    {
        ArchiveStreambuf buffer(archive);
        EXPECT_EQ(buffer.sgetc(), std::char_traits<char>::eof());
        std::ostream out(&buffer);
        out << "no line end";
        EXPECT_EQ(archive.GetPosition(), 0u);
    }
    EXPECT_EQ(archive.GetPosition(), 11u);
    archive.Close();
    EXPECT_EQ(sink, "no line end");
}

/// A load of size bytes: the archive's position after the first look, after reading all of
/// it, and after the look that finds the end.
struct LoadSize {
    std::size_t size;
    std::uint64_t afterFirstRefill, afterLastByte;
};

class ArchiveStreambufLoad : public ::testing::TestWithParam<LoadSize> {};

TEST_P(ArchiveStreambufLoad, RefillsInChunksOf1024AndEndsWithEndOfFile) {
    const LoadSize& c = GetParam();
    const std::string text = Lines(c.size);
    CArchive archive = CArchive::FromMemory(text);
    ArchiveStreambuf buffer(archive);
    std::string back;
    if (c.size > 0) {
        EXPECT_EQ(buffer.sgetc(), static_cast<unsigned char>(text[0]));
        EXPECT_EQ(archive.GetPosition(), c.afterFirstRefill);
    }
    for (int c = buffer.sbumpc(); c != std::char_traits<char>::eof(); c = buffer.sbumpc()) {
        back += static_cast<char>(c);
    }
    EXPECT_EQ(back, text);
    EXPECT_EQ(archive.GetPosition(), c.afterLastByte);
    EXPECT_EQ(buffer.sgetc(), std::char_traits<char>::eof());
    std::ostream out(&buffer);
    out << std::string(1025, 'x');  // output answers end of file on a loading archive
    EXPECT_TRUE(out.bad());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ArchiveStreambufLoad,
                         ::testing::Values(LoadSize{0, 0, 0}, LoadSize{1, 1, 1},
                                           LoadSize{1023, 1023, 1023}, LoadSize{1024, 1024, 1024},
                                           LoadSize{1025, 1024, 1025}, LoadSize{5000, 1024, 5000}));

TEST(ArchiveStreambufLoad, SyncDropsUnreadInputAndTheNextReadGoesOnFromTheArchive) {
    const std::string text = Lines(3000);
    CArchive archive = CArchive::FromMemory(text);
    ArchiveStreambuf buffer(archive);
    for (int i = 0; i < 10; ++i) {
        buffer.sbumpc();
    }
    EXPECT_EQ(buffer.pubsync(), 0);
    EXPECT_EQ(buffer.sgetc(), static_cast<unsigned char>(text[1024]));
    EXPECT_EQ(archive.GetPosition(), 2048u);
    // The dropped bytes were taken from the archive, so they count for the position.
    const ArchiveStreambuf::Position at = buffer.GetReadPosition();
    const std::string before = text.substr(0, 1024);
    const auto lines = std::count(before.begin(), before.end(), '\n');
    EXPECT_EQ(at.line, lines + 1);
    EXPECT_EQ(at.column, static_cast<std::int64_t>(1024 - before.rfind('\n')));
}

class ArchiveStreambufPosition : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ArchiveStreambufPosition, CountsLinesAndColumnsOfTheNextUnreadByte) {
    const std::size_t consumed = GetParam();
    const std::string text = Lines(3000) + "tail";
    CArchive archive = CArchive::FromMemory(text);
    ArchiveStreambuf buffer(archive);
    for (std::size_t i = 0; i < consumed; ++i) {
        buffer.sbumpc();
    }
    const std::string before = text.substr(0, consumed);
    const std::size_t lastBreak = before.rfind('\n');
    const ArchiveStreambuf::Position at = buffer.GetReadPosition();
    EXPECT_EQ(at.line, std::count(before.begin(), before.end(), '\n') + 1);
    EXPECT_EQ(at.column, static_cast<std::int64_t>(
                             lastBreak == std::string::npos ? consumed + 1 : consumed - lastBreak));
}

INSTANTIATE_TEST_SUITE_P(Consumed, ArchiveStreambufPosition,
                         ::testing::Values(0, 1, 5, 1023, 1024, 1025, 2047, 2048, 2049, 3000,
                                           3004));

TEST(ArchiveStreambufFile, WritesAndReadsAWholeFileInLinesAcrossBufferBoundaries) {
    TempFolder folder;
    const std::string path = (folder / "lines.world").string();
    const std::string text = Lines(5000) + "\n";
    {
        CArchive archive(path, CArchive::store);
        ArchiveStreambuf buffer(archive);
        std::ostream out(&buffer);
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1) {
            out << text.substr(start, end - start) << std::endl;
        }
        EXPECT_TRUE(out.good());
        archive.Close();
    }
    EXPECT_EQ(ReadFileBytes(path), text);

    CArchive archive(path, CArchive::load);
    ArchiveStreambuf buffer(archive);
    std::istream in(&buffer);
    std::string back, line;
    while (std::getline(in, line)) {
        back += line + "\n";
    }
    EXPECT_EQ(back, text);
}

}  // namespace
