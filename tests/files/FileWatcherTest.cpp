// The system's file watcher on real files: what happens to the file is heard, what happens
// beside it is not, and the watcher stops cleanly.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "files/SystemFileWatcher.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using velk_test::TempFolder;
using velk_test::WriteFileBytes;
using namespace std::chrono_literals;

/// Counts the notices, which come on the watcher's thread.
struct Notices {
    std::mutex mutex;
    std::condition_variable arrived;
    int count = 0;

    /// Whether at least n notices have come within the time.
    bool Reach(int n, std::chrono::milliseconds within = 10s) {
        std::unique_lock<std::mutex> lock(mutex);
        return arrived.wait_for(lock, within, [&] { return count >= n; });
    }
    int Count() {
        const std::lock_guard<std::mutex> hold(mutex);
        return count;
    }
};

class SystemFileWatcher : public ::testing::Test {
protected:
    void SetUp() override {
        watcher = MakeSystemFileWatcher([notices = notices] {
            const std::lock_guard<std::mutex> hold(notices->mutex);
            ++notices->count;
            notices->arrived.notify_all();
        });
        if (!watcher) {
            GTEST_SKIP() << "the files layer has no watcher here: the Qt backend watches";
        }
        WriteFileBytes(file, "size 10 10\n\n");
        watcher->Watch(file);
    }

    /// Waits long enough for a notice that is not to come.
    static void Pause() { std::this_thread::sleep_for(400ms); }

    std::shared_ptr<Notices> notices = std::make_shared<Notices>();
    TempFolder folder;
    velk_test::TestPath file = folder / "watched ü.world";
    std::unique_ptr<FileWatcher> watcher;
};

struct ChangeRow {
    const char* name;
    std::function<void(const fs::path& file, const TempFolder& folder)> change;
};

class SystemFileWatcherHears : public SystemFileWatcher,
                               public ::testing::WithParamInterface<ChangeRow> {};

TEST_P(SystemFileWatcherHears, WhatHappensToTheFile) {
    GetParam().change(file, folder);
    EXPECT_TRUE(notices->Reach(1));
}

const ChangeRow kChanges[] = {
    {"Written",
     [](const fs::path& file, const TempFolder&) { WriteFileBytes(file, "size 1 1\n"); }},
    {"Deleted", [](const fs::path& file, const TempFolder&) { fs::remove(file); }},
    // As editors save: the new content goes into another file, renamed onto the name.
    {"RenamedOnto",
     [](const fs::path& file, const TempFolder& folder) {
         WriteFileBytes(folder / "new.tmp", "size 2 2\n");
         fs::rename(folder / "new.tmp", file);
     }},
    {"RenamedAway",
     [](const fs::path& file, const TempFolder& folder) { fs::rename(file, folder / "old"); }},
};
INSTANTIATE_TEST_SUITE_P(Changes, SystemFileWatcherHears, ::testing::ValuesIn(kChanges),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SystemFileWatcher, HearsAFileDeletedAndMadeAgain) {
    fs::remove(file);
    ASSERT_TRUE(notices->Reach(1));
    Pause();
    const int afterDeletion = notices->Count();
    WriteFileBytes(file, "size 3 3\n");
    EXPECT_TRUE(notices->Reach(afterDeletion + 1));
}

TEST_F(SystemFileWatcher, IgnoresOtherFilesInTheFolder) {
    WriteFileBytes(folder / "other.world", "size 4 4\n");
    fs::rename(folder / "other.world", folder / "watched.world.bak");
    fs::remove(folder / "watched.world.bak");
    Pause();
    EXPECT_EQ(notices->Count(), 0);
    WriteFileBytes(file, "size 5 5\n");
    EXPECT_TRUE(notices->Reach(1));
}

TEST_F(SystemFileWatcher, WatchesOnlyTheLastFileItWasGiven) {
    TempFolder elsewhere;
    const velk_test::TestPath next = elsewhere / "next.world";
    watcher->Watch(next);
    WriteFileBytes(file, "size 6 6\n");
    Pause();
    EXPECT_EQ(notices->Count(), 0);
    // A file not there yet, in a folder that is, is heard when it comes.
    WriteFileBytes(next, "size 7 7\n");
    EXPECT_TRUE(notices->Reach(1));

    watcher->Watch("");
    const int before = notices->Count();
    WriteFileBytes(next, "size 8 8\n");
    Pause();
    EXPECT_EQ(notices->Count(), before);
}

TEST_F(SystemFileWatcher, HearsAFileWhoseFolderComesLater) {
    const fs::path later = folder.path / "later";
    watcher->Watch(velk_test::PathText(later / "w.world"));
    fs::create_directory(later);
    WriteFileBytes(later / "w.world", "size 9 9\n");
    EXPECT_TRUE(notices->Reach(1));
}

TEST_F(SystemFileWatcher, GivesNoNoticeOnceDestroyed) {
    // Destroyed with a change still to be told, and again while a folder is looked for.
    WriteFileBytes(file, "size 1 2\n");
    watcher.reset();
    const int atDestruction = notices->Count();
    Pause();
    EXPECT_EQ(notices->Count(), atDestruction);
    auto another = MakeSystemFileWatcher([] {});
    another->Watch(velk_test::PathText(folder.path / "missing" / "w.world"));
    another.reset();
}

}  // namespace
