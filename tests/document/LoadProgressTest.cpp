// Progress of loads and saves through the dialog interface: when the dialog opens, what it is
// told, and what a Cancel in it does to the world and the file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <string>
#include <vector>

#include "WorldFileTesting.h"
#include "framework/Backend.h"
#include "framework/DialogProgress.h"
#include "support/RowName.h"

namespace {

using namespace velk_test;

/// Records every progress window and update; the person presses Cancel at update cancelAt
/// (counted from 1; 0 never), and memory runs out at update failAt.
class ProgressDialogs : public UserDialogs {
public:
    int cancelAt = 0;
    int failAt = 0;
    std::vector<std::string> opened;
    std::vector<ProgressReport> updates;
    std::vector<std::string> messages;
    bool dialogUp = false;
    bool messageOverDialog = false;

    std::optional<std::string> AskOpenPath(const std::string&) override { return {}; }
    std::optional<std::string> AskSavePath(const std::string&, const std::string&) override {
        return {};
    }
    SaveChoice AskSaveChanges(const std::string&) override { return SaveChoice::cancel; }
    void ShowMessage(const std::string& text, MessageKind) override {
        messages.push_back(text);
        messageOverDialog = messageOverDialog || dialogUp;
    }
    int RunModal(CDialog&) override { return 0; }
    ChangedFileChoice AskChangedFile(const std::string&) override {
        return ChangedFileChoice::cancel;
    }
    bool AskReloadChanged(const std::string&) override { return false; }
    RecoveryChoice AskRecovery(const std::string&) override { return RecoveryChoice::later; }
    std::unique_ptr<ProgressDialog> BeginProgress(const std::string& caption,
                                                  const std::string& text) override {
        opened.push_back(caption + ": " + text);
        return std::make_unique<Window>(*this);
    }

private:
    struct Window : ProgressDialog {
        explicit Window(ProgressDialogs& owner) : owner(owner) { owner.dialogUp = true; }
        ~Window() override { owner.dialogUp = false; }
        bool Update(const ProgressReport& report) override {
            owner.updates.push_back(report);
            if (static_cast<int>(owner.updates.size()) == owner.failAt) {
                throw std::bad_alloc();
            }
            return static_cast<int>(owner.updates.size()) != owner.cancelAt;
        }
        ProgressDialogs& owner;
    };
};

struct ChunkedLoad {
    const char* name;
    int cancelAt;
};

class ChunkedLoadTest : public ::testing::TestWithParam<ChunkedLoad> {};

// 300 objects read 4096 bytes at a time while a clock ticks a quarter second per chunk: the
// dialog opens at the first chunk past one second and then follows every chunk to the end.
TEST_P(ChunkedLoadTest, DialogOpensAfterTheDelayAndCancelStopsAtThatChunk) {
    World source;
    BuildLargeWorld(source, 300);
    const std::string text = SaveToText(source);
    ProgressDialogs dialogs;
    dialogs.cancelAt = GetParam().cancelAt;
    double now = 0;
    DialogProgress progress(&dialogs, "Opening", "w.world", 1.0, [&now] { return now += 0.25; });
    CArchive archive = CArchive::FromMemory(text, 4096);
    archive.SetProgressObserver(&progress);
    World world;
    try {
        world.Serialize(archive);
        EXPECT_EQ(GetParam().cancelAt, 0);
        EXPECT_EQ(world.GetAllObjects().count, 300);
    } catch (const CFileException& error) {
        EXPECT_EQ(error.GetError(), ECANCELED);
        EXPECT_STREQ(error.what(), "Cannot open \"memory\": cancelled");
    }
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"Opening: w.world"});
    const std::size_t chunks = (text.size() + 4095) / 4096;
    const std::size_t shown = GetParam().cancelAt ? GetParam().cancelAt : chunks + 1 - 3;
    ASSERT_EQ(dialogs.updates.size(), shown);
    for (std::size_t i = 0; i < shown; ++i) {
        EXPECT_EQ(dialogs.updates[i].done, std::min((i + 3) * 4096, text.size()));
        EXPECT_EQ(dialogs.updates[i].total, text.size());
    }
    EXPECT_EQ(dialogs.updates.back().Permille() == 1000, GetParam().cancelAt == 0);
}

INSTANTIATE_TEST_SUITE_P(Load, ChunkedLoadTest,
                         ::testing::Values(ChunkedLoad{"ToTheEnd", 0},
                                           ChunkedLoad{"CancelFirst", 1},
                                           ChunkedLoad{"CancelLater", 5}),
                         RowName());

// Cancel through the document: an open says nothing and keeps the world; a save keeps the
// old file and the modified world, tells after the dialog has gone, and leaves no temporary
// file behind.
TEST(DocumentProgressTest, CancelledOpenAndSaveChangeNothingOnDisk) {
    TempFolder folder;
    const std::string path = (folder / "w.world").string();
    World world;
    BuildLargeWorld(world, 300);
    world.SetModifiedFlag();
    ProgressDialogs dialogs;
    world.SetDialogs(&dialogs);
    world.SetProgressDelay(0);
    ASSERT_TRUE(world.OnSaveDocument(path));
    const std::string saved = ReadFileBytes(path);
    EXPECT_FALSE(dialogs.updates.back().cancellable);

    dialogs.cancelAt = static_cast<int>(dialogs.updates.size()) + 1;
    EXPECT_FALSE(world.OnOpenDocument(path));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(world.GetAllObjects().count, 300);

    BuildLargeWorld(world, 1);
    world.SetModifiedFlag();
    dialogs.cancelAt = static_cast<int>(dialogs.updates.size()) + 1;
    EXPECT_FALSE(world.OnSaveDocument(path));
    EXPECT_EQ(dialogs.messages.back(), "Cannot save \"" + path + "\": cancelled");
    EXPECT_TRUE(world.IsModified());
    EXPECT_EQ(ReadFileBytes(path), saved);
    EXPECT_FALSE(dialogs.messageOverDialog);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"w.world"});
}

// A cancel, or memory running out, part-way through opening another file puts back the world
// that was open: its objects, size, file, title, stamp and modified flag.
TEST(DocumentProgressTest, AnOpenCutShortPutsBackTheWorldThatWasOpen) {
    TempFolder folder;
    const std::string mine = (folder / "mine.world").string();
    const std::string big = (folder / "big.world").string();
    {
        World other;
        BuildLargeWorld(other, 1000);
        ASSERT_TRUE(other.OnSaveDocument(big));
    }
    for (const bool outOfMemory : {false, true}) {
        World world;
        BuildLargeWorld(world, 3);
        world.SetWorldSize(300, 200);
        ASSERT_TRUE(world.OnSaveDocument(mine));
        world.SetPathName(mine, false);
        world.RememberDiskState();
        world.SetModifiedFlag(outOfMemory);
        const std::string before = SaveToText(world);
        const FileStamp stamp = world.GetDiskStamp();
        ProgressDialogs dialogs;
        world.SetDialogs(&dialogs);
        world.SetProgressDelay(0);
        (outOfMemory ? dialogs.failAt : dialogs.cancelAt) = 1;
        EXPECT_FALSE(world.OnOpenDocument(big));
        EXPECT_TRUE(SaveToText(world) == before);
        // The index the view paints through holds the objects put back, and only those.
        EXPECT_EQ(world.GetIndex().Count(), world.GetAllObjects().count);
        EXPECT_EQ(world.GetLoadReport().status, WorldLoadReport::Complete);
        EXPECT_EQ(world.GetPathName(), mine);
        EXPECT_EQ(world.GetTitle(), "mine.world");
        EXPECT_EQ(world.IsModified(), outOfMemory);
        EXPECT_TRUE(stamp.LooksLike(world.GetDiskStamp()));
        EXPECT_EQ(stamp.hash, world.GetDiskStamp().hash);
        EXPECT_EQ(dialogs.messages, outOfMemory ? std::vector<std::string>{"Cannot open \"" + big +
                                                                           "\": not enough memory"}
                                                : std::vector<std::string>{});
        EXPECT_FALSE(dialogs.messageOverDialog);
    }
}

}  // namespace
