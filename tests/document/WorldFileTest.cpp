// World files through Serialize: the exact bytes of a save, what a load keeps of a hand-made or
// broken file, and what the load report says about it.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "WorldFileTesting.h"
#include "framework/CView.h"
#include "objects/DraggableObject.h"

namespace {

using velk_test::BuildExampleWorld;
using velk_test::BuildLargeWorld;
using velk_test::DataFile;
using velk_test::LoadFromText;
using velk_test::ReadFileBytes;
using velk_test::SaveToText;
using velk_test::TempFolder;
using velk_test::TestDraggable;
using velk_test::WriteFileBytes;

/// "point { color { rgb } numbers } "
std::string Pt(const std::string& numbers, const std::string& rgb = "0 0 0") {
    return "point { color { " + rgb + " } " + numbers + " } ";
}

/// An object element as the writer puts it out; the first line is the position.
std::string Obj(const std::vector<std::string>& lines) {
    std::string text = "draggable { geometry { \n";
    for (const std::string& line : lines) {
        text += "    " + line + "\n";
    }
    return text + "}\n } \n\n";
}

TEST(WorldFile, ExampleIsWrittenByteForByteAndReadBackIntoTheSameWorld) {
    const std::string example = DataFile("worlds/example.world");
    ASSERT_FALSE(example.empty());
    World made;
    BuildExampleWorld(made);
    EXPECT_EQ(SaveToText(made), example);

    World loaded;
    LoadFromText(loaded, example);
    EXPECT_EQ(loaded.GetLoadReport().status, WorldLoadReport::Complete);
    ASSERT_EQ(loaded.GetAllObjects().count, 2);
    ASSERT_EQ(loaded.GetDrawables().count, 2);
    const DrawableObject* second = loaded.GetDrawables().tail->value;
    ASSERT_NE(dynamic_cast<const DraggableObject*>(second), nullptr);
    DrawPoint position(0, 0, 0);
    EXPECT_EQ(second->GetPosition(position).GetPoint(), (POINT{300, 200}));
    ASSERT_EQ(second->GetShapes().count, 2);
    const auto* ellipse = dynamic_cast<const DrawEllipse*>(second->GetShapes().tail->value);
    ASSERT_NE(ellipse, nullptr);
    DrawRectangle bounds;
    ellipse->GetBounds(bounds);
    EXPECT_EQ(bounds.GetRect(), (RECT{-40, -25, 40, 25}));
    EXPECT_EQ(ellipse->GetColor().GetValue(), 0x00FF0000u);
    EXPECT_EQ(SaveToText(loaded), example);
}

TEST(WorldFile, EveryFileTheWriterMadeLoadsCompletelyAndSavesToTheSameBytes) {
    World empty;
    EXPECT_EQ(SaveToText(empty), "1024 1024\n\n");
    World large;
    BuildLargeWorld(large, 300);
    large.SetWorldSize(-7, 0);
    const auto unusual = new TestDraggable;  // extreme values and an object without shapes
    unusual->SetPosition(velk_test::Coloured(INT32_MIN, INT32_MAX, -1, 1, 2, 3));
    large.AddObject(unusual);
    for (World* world : {&empty, &large}) {
        const std::string text = SaveToText(*world);
        World again;
        LoadFromText(again, text);
        EXPECT_EQ(again.GetLoadReport().status, WorldLoadReport::Complete);
        EXPECT_EQ(SaveToText(again), text);
    }
}

struct LoadCase {
    std::string name;
    std::string input;
    std::string output;  ///< what a save of the loaded world writes
    WorldLoadReport::Status status;
    std::int64_t line, column;
    std::string expected, found;
};

class WorldFileLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(WorldFileLoad, KeepsWhatCanBeReadAndReportsWhereReadingStopped) {
    const LoadCase& c = GetParam();
    World world;
    LoadFromText(world, c.input);
    const WorldLoadReport& report = world.GetLoadReport();
    EXPECT_EQ(report.status, c.status);
    EXPECT_EQ(report.line, c.line);
    EXPECT_EQ(report.column, c.column);
    EXPECT_EQ(report.expected, c.expected);
    EXPECT_EQ(report.found, c.found);
    const std::string saved = SaveToText(world);
    EXPECT_EQ(saved, c.output);

    World again;  // the normalised text is a complete file of the same world
    LoadFromText(again, saved);
    EXPECT_EQ(again.GetLoadReport().status, WorldLoadReport::Complete);
    EXPECT_EQ(SaveToText(again), saved);
}

constexpr auto Complete = WorldLoadReport::Complete;
constexpr auto Partial = WorldLoadReport::Partial;
constexpr auto NotAWorld = WorldLoadReport::NotAWorldFile;
const std::string kEnd = "the end of the file";

std::vector<LoadCase> LoadCases() {
    std::string crlf;
    for (char c : DataFile("worlds/example.world")) {
        crlf += c == '\n' ? "\r\n" : std::string(1, c);
    }
    const std::string origin = "point { color { 0 0 0 } 0 0 0 }\n";
    // A lone sign as the last byte of the reader's first 1024-byte chunk.
    const std::string head = "0 0\ndraggable { geometry {\npoint { color { 0 0 0 } ";
    const std::string signAtRefill =
        head + std::string(1023 - head.size(), ' ') + "- 1 0 }\n}\n}\n";
    const auto signColumn = static_cast<std::int64_t>(1024 - head.find("point"));
    return {
        {"SizeOnly", "640 480", "640 480\n\n", Complete, 0, 0, "", ""},
        {"EmptyFileIsANewWorld", "", "1024 1024\n\n", Complete, 0, 0, "", ""},
        {"WhiteSpaceIsNoWorld", "\n", "1024 1024\n\n", NotAWorld, 2, 1, "the width of the world",
         kEnd},
        {"TextThatIsNoWorld", "hello world\n", "1024 1024\n\n", NotAWorld, 1, 1,
         "the width of the world", "\"hello\""},
        {"HalfASizeLine", "800\n", "1024 1024\n\n", NotAWorld, 2, 1, "the height of the world",
         kEnd},
        {"SizeBeyond32Bits", "4294967296 5\n", "1024 1024\n\n", NotAWorld, 1, 11,
         "the width of the world", "a number beyond 32 bits"},
        {"ExtremeSizesAreStoredAsRead", "2147483647 -2147483648", "2147483647 -2147483648\n\n",
         Complete, 0, 0, "", ""},
        {"NumberFormsAndWhiteSpace", "\t+5\v\f007\r\n", "5 7\n\n", Complete, 0, 0, "", ""},
        {"CarriageReturns", crlf, DataFile("worlds/example.world"), Complete, 0, 0, "", ""},
        {"ColoursKeepTheirLowByte",
         "1 2\ndraggable { geometry {\npoint { color { 256 -1 300 } 1 2 3 }\n}\n}\n",
         "1 2\n\n" + Obj({Pt("1 2 3", "0 255 44")}), Complete, 0, 0, "", ""},
        {"LongShapeKeywordIsCut",
         "1 2 draggable { geometry { " + origin + " xxxxxxxxxxpoint { color { 1 2 3 } 4 5 6 } } }",
         "1 2\n\n" + Obj({Pt("0 0 0"), Pt("4 5 6", "1 2 3")}), Complete, 0, 0, "", ""},
        {"OnlyFirstLettersAreChecked",
         "1 2 draggable { geometry { pt { cx { 1 2 3 } 10 20 0 } rectangle { cq { 4 5 6 } t "
         "pq { cq { 0 0 0 } 1 1 0 } pnt { cz { 0 0 0 } 2 2 0 } } } }",
         "1 2\n\n" + Obj({Pt("10 20 0", "1 2 3"),
                          "rectangle { color { 4 5 6 } t " + Pt("1 1 0") + Pt("2 2 0") + " } "}),
         Complete, 0, 0, "", ""},
        {"BracesAreTakenUnchecked",
         "1 2 geometry draggable { geometry ( point ( color ( 7 8 9 ) 1 2 3 ) } )",
         "1 2\n\n" + Obj({Pt("1 2 3", "7 8 9")}), Complete, 0, 0, "", ""},
        {"KeywordsAreCaseSensitive", "1 2 Draggable { geometry { " + origin + "} }", "1 2\n\n",
         Complete, 0, 0, "", ""},
        {"GluedBraceIsSkippedAndItsColourEndsTheBlock",
         "1 2 draggable { geometry { " + origin +
             " point{ color { 0 0 0 } 1 2 3 } point { color { 0 0 0 } 4 4 4 } } }",
         "1 2\n\n" + Obj({Pt("0 0 0")}), Complete, 0, 0, "", ""},
        {"UnknownShapeEndsTheBlockAtItsFirstBrace",
         "1 2 draggable { geometry { " + origin +
             " circle { color { 1 2 3 } 4 5 } point { color { 0 0 0 } 6 6 6 } } }",
         "1 2\n\n" + Obj({Pt("0 0 0")}), Complete, 0, 0, "", ""},
        {"UnknownElementBetweenObjectsIsSkipped",
         "1 1\n" + Obj({Pt("1 1 0")}) + "circle { color { 1 2 3 } 4 5 } drag\n" +
             Obj({Pt("2 2 0")}),
         "1 1\n\n" + Obj({Pt("1 1 0")}) + Obj({Pt("2 2 0")}), Complete, 0, 0, "", ""},
        {"RectangleCornersKeepTheirOrder",
         "0 0 draggable { geometry { " + origin + "rectangle { color { 0 0 0 } f " + Pt("30 20 0") +
             Pt("-30 -20 0") + " } } }",
         "0 0\n\n" + Obj({Pt("0 0 0"), "rectangle { color { 0 0 0 } f " + Pt("30 20 0") +
                                           Pt("-30 -20 0") + " } "}),
         Complete, 0, 0, "", ""},
        {"EllipseBoxIsRewrittenNormalised",
         "0 0 draggable { geometry { " + origin +
             "ellipse { color { 1 2 3 } t rectangle { color { 9 9 9 } t " + Pt("40 25 7", "5 5 5") +
             Pt("-40 -25 8", "6 6 6") + " } } } }",
         "0 0\n\n" + Obj({Pt("0 0 0"),
                          "ellipse { color { 1 2 3 } t rectangle { color { 0 0 0 } "
                          "f " +
                              Pt("-40 -25 0") + Pt("40 25 0") + " }  } "}),
         Complete, 0, 0, "", ""},
        {"FlagOtherThanTMeansNotFilled",
         "0 0 draggable { geometry { " + origin + "rectangle { color { 0 0 0 } T " + Pt("1 1 0") +
             Pt("2 2 0") + " } } }",
         "0 0\n\n" + Obj({Pt("0 0 0"),
                          "rectangle { color { 0 0 0 } f " + Pt("1 1 0") + Pt("2 2 0") + " } "}),
         Complete, 0, 0, "", ""},
        {"MissingOpeningBraceStopsTheLoad",
         "1 2\ndraggable { geometry {\npoint color { 0 0 0 } 1 2 3 }\n}\n }\n",
         "1 2\n\n" + Obj({Pt("0 0 0")}), Partial, 3, 9, "the red of a colour", "\"lor\""},
        {"FailingSecondShapeKeepsItsDefaultsAndEndsTheLoad",
         "5 5\ndraggable { geometry {\npoint { color { 0 0 0 } 1 1 0 }\n"
         "point { color { 9 9 9 } 4 4 4 }\npoint { color { 9 9 9 } 4 4 x }\n}\n}\n" +
             Obj({Pt("2 2 0")}),
         "5 5\n\n" + Obj({Pt("1 1 0"), Pt("4 4 4", "9 9 9"), Pt("0 0 0")}), Partial, 5, 29,
         "the radius of a point", "\"x\""},
        {"MissingLineWidth",
         "0 0\ndraggable { geometry {\n" + origin + "line { color { 1 1 1 } " + Pt("1 1 0") +
             Pt("2 2 0") + "}\n}\n}\n",
         "0 0\n\n" + Obj({Pt("0 0 0"),
                          "line { color { 0 0 0 } 1 " + Pt("0 0 0") + " " + Pt("0 0 0") + " } "}),
         Partial, 4, 24, "the width of a line", "\"point\""},
        {"LoneSignEndingABufferIsReportedWhereItStands", signAtRefill,
         "0 0\n\n" + Obj({Pt("0 0 0")}), Partial, 3, signColumn, "the x of a point", "\"-\""},
        {"LoneSignIsReportedWhereItStands",
         "0 0\ndraggable { geometry {\npoint { color { 0 0 0 } - 1 0 }\n}\n}\n",
         "0 0\n\n" + Obj({Pt("0 0 0")}), Partial, 3, 25, "the x of a point", "\"-\""},
        {"FileEndsInsideAShape",
         "1 1\ndraggable { geometry {\npoint { color { 0 0 0 } 3 3 0 }\npoint { color { 0 0",
         "1 1\n\n" + Obj({Pt("3 3 0"), Pt("0 0 0")}), Partial, 4, 20, "the blue of a colour", kEnd},
        {"FileEndsBeforeTheObjectsBrace",
         "1 1\ndraggable { geometry {\npoint { color { 0 0 0 } 3 3 0 }\n}\n",
         "1 1\n\n" + Obj({Pt("3 3 0")}), Partial, 5, 1, "the closing brace of a draggable object",
         kEnd},
        {"FileEndsAfterTheKeyword", "1 1\n\ndraggable\n", "1 1\n\n" + Obj({Pt("0 0 0")}), Partial,
         4, 1, "a draggable object", kEnd},
    };
}

INSTANTIATE_TEST_SUITE_P(Files, WorldFileLoad, ::testing::ValuesIn(LoadCases()),
                         [](const auto& info) { return info.param.name; });

// The reader skips what means nothing where it stands, and a save then drops it: the report
// counts those words and says where the first began, so the program can warn before the save.
struct SkipCase {
    std::string name;
    std::string input;
    WorldLoadReport::Status status;
    std::int64_t skipped;
    std::string first;
    std::int64_t line, column;
};

class WorldFileSkips : public ::testing::TestWithParam<SkipCase> {};

TEST_P(WorldFileSkips, CountsTheWordsASaveWouldDropAndWhereTheFirstBegan) {
    const SkipCase& c = GetParam();
    World world;
    LoadFromText(world, c.input);
    const WorldLoadReport& report = world.GetLoadReport();
    EXPECT_EQ(report.status, c.status);
    EXPECT_EQ(report.skippedWords, c.skipped);
    EXPECT_EQ(report.firstSkippedWord, c.first);
    EXPECT_EQ(report.firstSkippedLine, c.line);
    EXPECT_EQ(report.firstSkippedColumn, c.column);
}

std::vector<SkipCase> SkipCases() {
    std::string crlf;
    for (char c : DataFile("worlds/example.world")) {
        crlf += c == '\n' ? "\r\n" : std::string(1, c);
    }
    // Skipped within the block: point{ color { 0 0 0, then "}" ends it; the object's brace
    // takes "1", which is not a brace, and the top level skips 2 3 } } }.
    const std::string glued = "1 2\n" + Obj({Pt("0 0 0"), "point{ color { 0 0 0 } 1 2 3 } "});
    return {
        {"WrittenFileSkipsNothing", DataFile("worlds/example.world"), Complete, 0, "", 0, 0},
        {"CarriageReturnsAreWhiteSpace", crlf, Complete, 0, "", 0, 0},
        {"GluedBrace", glued, Complete, 12, "point{", 4, 5},
        {"TextGluedAfterAClosingBrace",
         "1 2\ndraggable { geometry { " + Pt("1 2 3") + "}garbage } " + Obj({Pt("1 1 0")}),
         Complete, 1, "garbage", 2, 57},
        {"KeywordsBracesAndFlagsASaveWouldRewrite",
         "1 2 draggable { geometry { " + Pt("0 0 0") +
             "rectangle ( colour { 0 0 0 } T pt { color { 0 0 0 } 1 1 0 ] " + Pt("2 2 0") + "} } }",
         Complete, 5, "(", 1, 70},
        {"UnknownElementBetweenObjects",
         "1 1\n" + Obj({Pt("1 1 0")}) + "  circle { 4 5 } drag\n" + Obj({Pt("2 2 0")}), Complete, 6,
         "circle", 7, 3},
        {"CutKeywordLeavesItsHead",
         "1 1 draggable { geometry { " + Pt("0 0 0") +
             "xxxxxxxxxxpoint { color { 0 0 0 } 1 1 1 } } }",
         Complete, 1, "xxxxxxxxxx", 1, 60},
        {"CountedInAPartialLoadToo", "1 1 hello draggable { geometry { x", Partial, 2, "hello", 1,
         5},
    };
}

INSTANTIATE_TEST_SUITE_P(Files, WorldFileSkips, ::testing::ValuesIn(SkipCases()),
                         [](const auto& info) { return info.param.name; });

class CountingView : public CView {
public:
    void OnUpdate(CView* /*sender*/, long /*hint*/, CObject* /*hintObject*/) override { ++updates; }
    int updates = 0;
};

// A good file updates the views through SetWorldSize and once more at the end; a file without
// a size line only at the end. Objects already held are gone before the first byte is read.
TEST(WorldFile, LoadEmptiesTheWorldFirstUpdatesTheViewsAndKeepsTheMouse) {
    for (const bool good : {true, false}) {
        World world;
        CountingView view;
        world.AddView(&view);
        world.SetMousePosition(DrawPoint(5, 6, 0));
        CArchive archive = CArchive::FromMemory(good ? "3 4\n" + Obj({Pt("1 1 0")}) : "?");
        std::uint64_t readWhenDestroyed = 99;
        auto* held = new TestDraggable;
        held->onDestroy = [&] { readWhenDestroyed = archive.GetPosition(); };
        world.AddObject(held);
        world.Serialize(archive);
        EXPECT_EQ(readWhenDestroyed, 0u);
        EXPECT_EQ(view.updates, good ? 2 : 1);
        EXPECT_EQ(world.GetAllObjects().count, good ? 1 : 0);
        DrawPoint mouse(0, 0, 0);
        EXPECT_EQ(world.GetMousePosition(mouse).GetPoint(), (POINT{5, 6}));
        world.RemoveView(&view);
    }
}

TEST(WorldFile, DescribesTheReportInOneSentence) {
    World world;
    LoadFromText(world, "1 1 draggable { geometry { point { color { 0 0 x");
    EXPECT_EQ(Describe(world.GetLoadReport()),
              "line 1, column 48: expected the blue of a colour, found \"x\"");
    LoadFromText(world, "\x89PNG\r\n");
    EXPECT_EQ(Describe(world.GetLoadReport()),
              "line 1, column 1: expected the width of the world, found \"\\x89PNG\"");
    LoadFromText(world, "1 1");
    EXPECT_EQ(Describe(world.GetLoadReport()), "read completely");
}

// An error of the archive in the middle of a save leaves Serialize as it was raised; the
// abandoned archive leaves the target as it was.
TEST(WorldFileSave, ArchiveErrorsPassThroughSerializeAndTheSinkKeepsItsContent) {
    World world;
    BuildLargeWorld(world, 1000);  // more than the archive buffers
    std::string sink = "old";
    {
        CArchive archive = CArchive::ToMemory(sink, 100'000);
        try {
            world.Serialize(archive);
            ADD_FAILURE() << "no exception";
        } catch (const CFileException& error) {
            EXPECT_STREQ(error.what(), "Cannot save \"memory\": No space left on device");
        }
    }
    EXPECT_EQ(sink, "old");

    // A small save fails only when Close hands the bytes over.
    World small;
    BuildExampleWorld(small);
    CArchive archive = CArchive::ToMemory(sink, 100);
    small.Serialize(archive);
    EXPECT_THROW(archive.Close(), CFileException);
    EXPECT_EQ(sink, "old");
}

TEST(WorldFileSave, AFileSaveThatFailsPartWayLeavesThePreviousFileByteForByte) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no limit on the size of the files a process writes; a disk "
                    "that fills part-way is proven with the recording Os (DurabilityTest)";
#else
    TempFolder folder;
    const std::string path = (folder / "w.world").string();
    const std::string previous = DataFile("worlds/example.world");
    WriteFileBytes(path, previous);
    World world;
    BuildLargeWorld(world, 3000);
    std::string message;
    {
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        const sighandler_t handler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved;
        lowered.rlim_cur = 200'000;  // as if the disk were full after 200 kB
        ::setrlimit(RLIMIT_FSIZE, &lowered);
        try {
            CArchive archive(path, CArchive::store);
            world.Serialize(archive);
            archive.Close();
        } catch (const CFileException& error) {
            message = error.what();
        }
        ::setrlimit(RLIMIT_FSIZE, &saved);
        ::signal(SIGXFSZ, handler);
    }
    EXPECT_EQ(message, "Cannot save \"" + path + "\": File too large");
    EXPECT_EQ(ReadFileBytes(path), previous);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"w.world"});

    CArchive archive(path, CArchive::store);  // and a save that can complete replaces it
    world.Serialize(archive);
    archive.Close();
    EXPECT_EQ(ReadFileBytes(path), SaveToText(world));
#endif
}

// A recovery copy's writer thread makes the text from a snapshot while the person goes on
// working: the text must be that of the moment the snapshot was taken, whether the objects
// were copied (plain draggables) or the text made at once (an object of another class).
class WorldSnapshot : public ::testing::TestWithParam<bool> {};

TEST_P(WorldSnapshot, MakesTheTextOfItsMomentOnAnotherThread) {
    World world;
    LoadFromText(world, DataFile("worlds/example.world"));
    if (GetParam()) {
        world.AddObject(TestDraggable::Square(5, 6, 7));
    }
    const std::string before = SaveToText(world);
    std::function<std::string()> make = world.TextSnapshot();

    DrawPoint moved(1, 2, 3);
    auto* first = dynamic_cast<DrawableObject*>(world.GetAllObjects().head->value);
    ASSERT_NE(first, nullptr);
    first->SetPosition(moved);
    first->AddShape(new DrawPoint(4, 4, 4));
    world.AddObject(TestDraggable::Square(9, 9, 9));
    world.SetWorldSize(77, 88);
    ASSERT_NE(SaveToText(world), before);

    std::string made;
    std::thread([&] { made = make(); }).join();
    EXPECT_EQ(made, before);
}

INSTANTIATE_TEST_SUITE_P(Objects, WorldSnapshot, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "WithAnObjectOfAnotherClass" : "Plain");
});

}  // namespace
