// The small texts and numbers the files layer works out: memory from the system's status
// texts and limits, and sizes as people read them.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "files/FileStamp.h"
#include "files/Memory.h"
#include "files/ProgressObserver.h"

namespace {

TEST(Memory, StatusValuesAreFoundOnWhicheverLineTheyStand) {
    const std::string status = "Name:\tvelk\nUmask:\t0022\nVmSize:\t  2048 kB\nVmData:\t512 kB\n";
    EXPECT_EQ(StatusValue(status, "VmData"), 512u * 1024);
    EXPECT_EQ(StatusValue(status, "VmSize"), 2048u * 1024);
    EXPECT_EQ(StatusValue(status, "VmRSS"), std::nullopt);
    EXPECT_EQ(StatusValue(status, "Name"), std::nullopt);  // not a number
    EXPECT_EQ(StatusValue("Vm:\t1 kB\n", "V"), std::nullopt);
}

struct MemoryRow {
    const char* name;
    MemoryFacts facts;
    std::uint64_t available;
};

class MemoryLimits : public ::testing::TestWithParam<MemoryRow> {};

TEST_P(MemoryLimits, TheTightestLimitDecides) {
    EXPECT_EQ(AvailableMemory(GetParam().facts), GetParam().available);
}

constexpr std::uint64_t kMax = UINT64_MAX;
INSTANTIATE_TEST_SUITE_P(Rows, MemoryLimits,
                         ::testing::Values(MemoryRow{"NoLimits", {1000, kMax, 10, kMax, 20}, 1000},
                                           MemoryRow{"DataLimit", {1000, 300, 100, kMax, 20}, 200},
                                           MemoryRow{
                                               "AddressLimit", {1000, kMax, 100, 400, 350}, 50},
                                           MemoryRow{"OverALimit", {1000, 300, 400, kMax, 0}, 0},
                                           MemoryRow{"NothingKnown", {}, kMax}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DescribeBytes, TheUnitFollowsTheNumberAsShown) {
    const std::pair<std::uint64_t, const char*> rows[] = {
        {0, "0 bytes"},          {999, "999 bytes"},    {1000, "1.0 KB"},    {9'949, "9.9 KB"},
        {9'960, "10 KB"},        {999'499, "999 KB"},   {999'600, "1.0 MB"}, {1'500'000, "1.5 MB"},
        {999'999'999, "1.0 GB"}, {kMax, "18446744 TB"},
    };
    for (const auto& [bytes, text] : rows) {
        EXPECT_EQ(DescribeBytes(bytes), text) << bytes;
    }
}

// A load stamps the file from the pieces it happened to read; a later check hashes it in
// blocks of its own. Both must agree, or every open would look changed on disk.
TEST(FileHash, TheValueDependsOnTheBytesNotOnThePieces) {
    std::mt19937 random(7);
    std::string bytes(1000, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    for (const std::size_t size : {0u, 1u, 7u, 8u, 9u, 999u, 1000u}) {
        FileHash whole;
        whole.Add(bytes.data(), size);
        for (int round = 0; round < 50; ++round) {
            FileHash pieces;
            for (std::size_t at = 0; at < size;) {
                const std::size_t piece = std::min<std::size_t>(size - at, random() % 20);
                pieces.Add(bytes.data() + at, piece);
                at += piece;
            }
            ASSERT_EQ(pieces.Value(), whole.Value()) << size << " bytes, round " << round;
        }
    }
    FileHash other;
    other.Add("a", 1);
    FileHash empty;
    EXPECT_NE(other.Value(), empty.Value());
}

}  // namespace
