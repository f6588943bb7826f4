#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "AppTestKit.h"
#include "files/FileTools.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CRecentFileList.h"
#include "framework/Resources.h"

namespace {

using app_test::MemorySettings;

/// A path from the root written the POSIX way, as this system writes it: "/a" is "C:\\a" on
/// Windows.
std::string Rooted(const std::string& path) {
#ifdef _WIN32
    std::string native = "C:" + path;
    std::replace(native.begin(), native.end(), '/', '\\');
    return native;
#else
    return path;
#endif
}

std::vector<std::string> Rooted(const std::vector<std::string>& paths) {
    std::vector<std::string> rooted;
    for (const std::string& path : paths) {
        rooted.push_back(path.empty() ? path : Rooted(path));
    }
    return rooted;
}

std::vector<std::string> Entries(const CRecentFileList& list) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < list.GetSize(); ++i) {
        entries.push_back(list[i]);
    }
    return entries;
}

// Paths added in turn, and the list they leave (latest first, each once, four at most).
struct AddRow {
    const char* name;
    std::vector<std::string> added;
    std::vector<std::string> expected;
};

class RecentFileAddTest : public ::testing::TestWithParam<AddRow> {};

TEST_P(RecentFileAddTest, KeepsTheLatestFourOnceEach) {
    CRecentFileList list("Recent File List", "File%d", 4);
    for (const std::string& path : Rooted(GetParam().added)) {
        list.Add(path);
    }
    EXPECT_EQ(Entries(list), Rooted(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, RecentFileAddTest,
    ::testing::Values(
        AddRow{"LatestFirst", {"/a", "/b"}, {"/b", "/a"}},
        AddRow{"ReopenedMovesUp", {"/a", "/b", "/c", "/a"}, {"/a", "/c", "/b"}},
        AddRow{"OldestFallsOff", {"/a", "/b", "/c", "/d", "/e"}, {"/e", "/d", "/c", "/b"}},
        AddRow{"SameFileBySpelling", {"/x/a", "/x/./y/../a"}, {"/x/a"}},
        AddRow{"EmptyIgnored", {"/a", ""}, {"/a"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecentFileListTest, RelativePathsAreMadeAbsolute) {
    CRecentFileList list("Recent File List", "File%d", 4);
    list.Add("some.world");
    ASSERT_EQ(list.GetSize(), 1u);
    EXPECT_TRUE(IsAbsolutePath(list[0])) << list[0];
    EXPECT_EQ(list[0].substr(list[0].size() - 11), kPathSeparator + std::string("some.world"));
}

// Menu texts: numbered mnemonics, ampersands doubled so they show, long paths shortened in the
// middle with the file name whole.
TEST(RecentFileListTest, MenuTextsNumberEscapeAndShorten) {
    CRecentFileList list("Recent File List", "File%d", 4);
    std::string longPath = Rooted("/" + std::string(80, 'd') + "/final name.world");
    list.Add(longPath);
    list.Add(Rooted("/tom & jerry.world"));
    EXPECT_EQ(list.GetMenuText(0), "&1 " + Rooted("/tom && jerry.world"));
    std::string shortened = list.GetMenuText(1);
    EXPECT_EQ(shortened.rfind("&2 " + Rooted("/ddd"), 0), 0u) << shortened;
    EXPECT_NE(shortened.find(std::string("...") + kPathSeparator + "final name.world"),
              std::string::npos)
        << shortened;
    EXPECT_LE(shortened.size(), 3u + 60u);
}

TEST(RecentFileListTest, SettingsRoundTripDropsStaleAndEmptyEntries) {
    std::map<std::string, std::string> values{{"Recent File List/File1", "/one"},
                                              {"Recent File List/File2", ""},
                                              {"Recent File List/File3", "/three"},
                                              {"Recent File List/File4", "/one"}};
    MemorySettings settings(values);
    CRecentFileList list("Recent File List", "File%d", 4);
    list.ReadList(settings);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"/one", "/three"}));
    list.WriteList(settings);
    EXPECT_EQ(values, (std::map<std::string, std::string>{{"Recent File List/File1", "/one"},
                                                          {"Recent File List/File2", "/three"}}));

#ifndef _WIN32
    // Settings hold text: a name that is not UTF-8 must still come back byte for byte. (Names
    // on Windows are UTF-16, and every one of them is UTF-8 inside Velk.)
    list.Add("/caf\xe9 100%.world");
    list.WriteList(settings);
    EXPECT_EQ(values["Recent File List/File1"], "file:///caf%E9%20100%25.world");
    list.ReadList(settings);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"/caf\xe9 100%.world", "/one", "/three"}));
#endif
}

// Arguments and what the framework makes of them.
struct CommandLineRow {
    const char* name;
    std::vector<std::pair<std::string, bool>> params;  ///< (param, flag)
    CCommandLineInfo::ShellCommand command;
    const char* fileName;
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineRow> {};

TEST_P(CommandLineTest, TheFirstNonFlagNamesTheFileToOpen) {
    CCommandLineInfo info;
    const auto& params = GetParam().params;
    for (std::size_t i = 0; i < params.size(); ++i) {
        info.ParseParam(params[i].first, params[i].second, i + 1 == params.size());
    }
    EXPECT_EQ(info.shellCommand, GetParam().command);
    EXPECT_EQ(info.fileName, GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(CommandLineRow{"None", {}, CCommandLineInfo::ShellCommand::FileNew, ""},
                      CommandLineRow{"File",
                                     {{"a.world", false}},
                                     CCommandLineInfo::ShellCommand::FileOpen,
                                     "a.world"},
                      CommandLineRow{"FlagsIgnored",
                                     {{"x", true}, {"a.world", false}, {"y", true}},
                                     CCommandLineInfo::ShellCommand::FileOpen,
                                     "a.world"},
                      CommandLineRow{"SecondFileIgnored",
                                     {{"a.world", false}, {"b.world", false}},
                                     CCommandLineInfo::ShellCommand::FileOpen,
                                     "a.world"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DocStringTest, FieldsAreSplitAtLineBreaks) {
    const std::string docString = "Velk\n\nVelk\n\n\nVelk.Document\nVelk Document";
    EXPECT_EQ(GetDocStringField(docString, DocStringIndex::windowTitle), "Velk");
    EXPECT_EQ(GetDocStringField(docString, DocStringIndex::docName), "");
    EXPECT_EQ(GetDocStringField(docString, DocStringIndex::filterExt), "");
    EXPECT_EQ(GetDocStringField(docString, DocStringIndex::regFileTypeName), "Velk Document");
    EXPECT_EQ(GetDocStringField("Short", DocStringIndex::fileNewName), "");
    EXPECT_EQ(PromptOfCommandString("Save the active document\nSave"), "Save the active document");
}

}  // namespace
