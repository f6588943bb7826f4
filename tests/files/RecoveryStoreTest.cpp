// Recovery copies between runs: whose they are, what is cleaned up, and what a note carries.

#include "files/RecoveryStore.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "support/ChildProcess.h"
#include "support/FaultyOs.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using velk_test::FaultyOs;
using velk_test::PathOf;
using velk_test::PathText;
using velk_test::ReadFileBytes;
using velk_test::TempFolder;
using velk_test::WriteFileBytes;

class RecoveryStoreTest : public ::testing::Test {
protected:
    RecoveryStoreTest() { os.noWriters = true; }

    TempFolder temp;
    std::string folder = PathText(temp / "state");
    FaultyOs os;
    ScopedOs inPlace{os};
};

// In a container every run may be process 1: a later run must neither take the killed run's
// lock nor remove its copy, and must offer it.
TEST_F(RecoveryStoreTest, ARunWithTheSameProcessIdLeavesTheKilledRunsCopyAlone) {
    os.processId = 1;
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = 12;
    stamp.hash = 0xfeedULL;
    // The child keeps a copy, says so by a file, and waits to be killed.
    const auto keepAndWait = [&](const std::string& where) {
        RecoveryStore store(where);
        const bool kept =
            store.Keep([] { return std::string("unsaved"); }, "/w/a.world", stamp) && store.Wait();
        WriteFileBytes(PathOf(where + ".ready"), kept ? "k" : "f");
        for (;;) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
    };
    velk_test::RunIfChild("keeper", keepAndWait);
    velk_test::ChildProcess child("keeper", folder, keepAndWait);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(PathOf(folder + ".ready")) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(ReadFileBytes(PathOf(folder + ".ready")), "k");
    child.Kill();

    RecoveryStore later(folder);
    ASSERT_TRUE(later.Works());
    later.Remove();
    const std::vector<RecoveryStore::Orphan> orphans = later.TakeOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(ReadFileBytes(orphans[0].copy), "unsaved");
    EXPECT_EQ(orphans[0].file, "/w/a.world");
    EXPECT_TRUE(orphans[0].stamp.exists);
    EXPECT_EQ(orphans[0].stamp.size, 12u);
    EXPECT_EQ(orphans[0].stamp.hash, 0xfeedULL);
}

// What dead runs left without a copy goes; a copy of an older version's run is still offered.
TEST_F(RecoveryStoreTest, LeftoversOfDeadRunsWithoutACopyAreRemoved) {
    fs::create_directories(PathOf(folder));
    WriteFileBytes(PathOf(folder + "/7-aa.lock"), "");
    WriteFileBytes(PathOf(folder + "/8-bb.lock"), "");
    WriteFileBytes(PathOf(folder + "/8-bb.note"), std::string("/w/b.world\0"
                                                              "5\0",
                                                              13));
    WriteFileBytes(PathOf(folder + "/9.lock"), "");
    WriteFileBytes(PathOf(folder + "/9.note"), "/w/old.world\n100\n");
    WriteFileBytes(PathOf(folder + "/9.copy"), "old format");
    RecoveryStore store(folder);
    const std::vector<RecoveryStore::Orphan> orphans = store.TakeOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].file, "/w/old.world");
    EXPECT_EQ(orphans[0].seconds, 100);
    EXPECT_FALSE(orphans[0].stamp.exists);
    EXPECT_FALSE(fs::exists(PathOf(folder + "/7-aa.lock")));
    EXPECT_FALSE(fs::exists(PathOf(folder + "/8-bb.lock")));
    EXPECT_FALSE(fs::exists(PathOf(folder + "/8-bb.note")));
}

// The folder is closed to others, and a link planted where the copy goes is replaced, never
// written through.
TEST_F(RecoveryStoreTest, CopiesStayPrivateAndAreNeverWrittenThroughALink) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps who may read the copies in the security that the user's "
                    "local data folder passes on, and symbolic links need a privilege there";
#else
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::all);
    RecoveryStore store(folder);
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    const fs::path victim = temp / "victim";
    WriteFileBytes(victim, "mine");
    fs::create_symlink(victim, store.CopyPath());
    ASSERT_TRUE(store.Keep([] { return std::string("copy"); }, "/w/a.world"));
    ASSERT_TRUE(store.Wait());
    EXPECT_EQ(ReadFileBytes(victim), "mine");
    EXPECT_FALSE(fs::is_symlink(store.CopyPath()));
    EXPECT_EQ(ReadFileBytes(store.CopyPath()), "copy");
    struct stat status {};
    ASSERT_EQ(::stat(store.CopyPath().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 077, 0u);
#endif
}

// A store that cannot write says so, and its writes fail instead of passing for kept.
TEST_F(RecoveryStoreTest, AFailedWriteIsReportedWithItsReason) {
    RecoveryStore store(folder);
    os.fail = [](const FaultyOs::Call& call) { return call.name == "Write" ? ENOSPC : 0; };
    EXPECT_TRUE(store.Keep([] { return std::string("copy"); }, "/w/a.world"));
    EXPECT_FALSE(store.Wait());
    EXPECT_EQ(store.Problem(), ENOSPC);
    WriteFileBytes(temp / "blocker", "");
    RecoveryStore blocked(PathText(temp / "blocker/state"));
    EXPECT_FALSE(blocked.Works());
    EXPECT_EQ(blocked.Problem(), ENOTDIR);
    EXPECT_FALSE(blocked.Keep([] { return std::string("copy"); }, "/w/a.world"));
}

}  // namespace
