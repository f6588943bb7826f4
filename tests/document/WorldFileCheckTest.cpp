#include "document/WorldFileCheck.h"

#include <gtest/gtest.h>
#include <filesystem>

#include <string>

#include "WorldFileTesting.h"
#include "document/MemoryBudget.h"
#include "document/OpenWorldFile.h"
#include "files/Memory.h"

namespace {

using velk_test::TempFolder;
using velk_test::WriteFileBytes;

/// A file to check (absent when null) and the report's text, with PATH for the file's path.
struct CheckCase {
    const char* name;
    const char* content;
    const char* text;
};

class WorldFileChecking : public ::testing::TestWithParam<CheckCase> {};

TEST_P(WorldFileChecking, ReportsSizeCountsAndWhereReadingStopped) {
    const CheckCase& c = GetParam();
    TempFolder folder;
    const std::string path = (folder / "checked.world").string();
    if (c.content != nullptr) {
        WriteFileBytes(path, c.content);
    }
    std::string expected = c.text;
    for (std::size_t at; (at = expected.find("PATH")) != std::string::npos;) {
        expected.replace(at, 4, path);
    }
    EXPECT_EQ(FormatWorldFileCheck(CheckWorldFile(path)), expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, WorldFileChecking, ::testing::Values(
    CheckCase{"Complete",
              "300 200\n\ndraggable { geometry { point { color { 0 0 0 } 1 2 0 } "
              "point { color { 0 0 0 } 0 0 5 } line { color { 0 0 0 } 1 point { color { 0 0 0 } 0 0 0 } "
              "point { color { 0 0 0 } 4 4 0 } } } }\ndraggable { geometry { point { color { 0 0 0 } 1 2 0 } } }\n",
              "PATH: complete\n  size: 300 x 200\n  objects: 2\n  shapes: 2\n  file size: 250 bytes\n"},
    CheckCase{"Partial",
              "300 200\ndraggable { geometry { point { color { 0 0 0 } 1 2 0 }\n"
              "point { color { 0 0 0 } 0 0 five } } }\n",
              "PATH: read in part; saving it would drop the rest\n"
              "  stopped at line 3, column 29: expected the radius of a point, found \"five\"\n"
              "  size: 300 x 200\n  objects: 1\n  shapes: 1\n  file size: 102 bytes\n"},
    CheckCase{"SkippedWords",
              "30 20\ndraggable { geometry { point { color { 0 0 0 } 1 2 0 }\n"
              "  star { color { 0 0 0 } } } }\n",
              "PATH: read to the end, but saving it would drop words it did not understand\n"
              "  9 words were not understood and were skipped, the first \"star\" at line 3, column 3\n"
              "  size: 30 x 20\n  objects: 1\n  shapes: 0\n  file size: 92 bytes\n"},
    CheckCase{"NotAWorldFile", "<html>\n",
              "PATH: not a world file\n"
              "  line 1, column 1: expected the width of the world, found \"<html>\"\n"},
    CheckCase{"Empty", "",
              "PATH: empty; it opens as a new world that a save fills\n"
              "  size: 1024 x 1024\n  objects: 0\n  shapes: 0\n  file size: 0 bytes\n"},
    CheckCase{"TextOfTheFileIsEscaped", "1 1 \x1b]52;c;aGk=\x07 \xff\n",
              "PATH: read to the end, but saving it would drop words it did not understand\n"
              "  2 words were not understood and were skipped, the first "
              "\"\\x1B]52;c;aGk=\\x07\" at line 1, column 5\n"
              "  size: 1 x 1\n  objects: 0\n  shapes: 0\n  file size: 19 bytes\n"},
    CheckCase{"Missing", nullptr,
              "PATH: unreadable\n  Cannot open \"PATH\": No such file or directory\n"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A file larger than the memory the process may take is refused before it is read, with the
// need named. The file is sparse: it takes no room on the disk.
TEST(WorldFileMemory, AFileThatCannotFitIsRefusedBeforeReading) {
    TempFolder folder;
    const std::string path = (folder / "large.world").string();
    WriteFileBytes(path, "10 10\n");
    std::filesystem::resize_file(path, AvailableMemory() / kWorldMemoryPerFileByte + (1u << 30));
    const OpenedWorldFile opened = OpenWorldFile(path);
    EXPECT_EQ(opened.verdict, WorldFileVerdict::unreadable);
    EXPECT_EQ(opened.bytes, 0u);
    EXPECT_NE(opened.error.find("\"" + path + "\": opening it may take up to "), std::string::npos)
        << opened.error;
}

}  // namespace
