// Each step that keeps a save whole, proven by watching the calls a save makes and by making
// chosen calls fail: take a step away and its test fails.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cerrno>
#include <filesystem>
#include <string>

#include "files/FileSaver.h"
#include "files/FileTools.h"
#include "support/FaultyOs.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using velk_test::FaultyOs;
using velk_test::ReadFileBytes;
using velk_test::TempFolder;
using velk_test::WriteFileBytes;

/// A world file in a fresh folder, with the cache of in-place saves beside it and the calls of
/// the system logged; linked twice when inPlace, so that the save goes in place.
class Durability : public ::testing::TestWithParam<bool> {
protected:
    Durability() {
        velk_test::SetVariable("XDG_CACHE_HOME", velk_test::PathText((folder / "cache")).c_str());
        WriteFileBytes(path, old);
        if (GetParam()) {
            fs::create_hard_link(path, folder / "link.world");
        }
    }
    ~Durability() override { velk_test::SetVariable("XDG_CACHE_HOME", nullptr); }

    FileError Save(const std::string& content, const std::function<void()>& replacing = {}) {
        FileSaver saver(velk_test::PathText(path));
        saver.Write(content.data(), content.size());
        return saver.Commit(replacing);
    }
    bool IsTarget(const FaultyOs::Call& call) const {
        return call.path == velk_test::PathText(path);
    }
    /// The log index of the n-th file a save put bytes in before naming them: an unnamed file,
    /// or where the system has none (Windows), a save's named temporary; -1 when none.
    int Staged(int n) const {
        for (std::size_t i = 0; i < os.log.size(); ++i) {
            const FaultyOs::Call& call = os.log[i];
            const bool staged =
                call.file != kNoFile &&
                (call.name == "OpenUnnamed" ||
                 (call.name == "Open" && call.path.find(".saving-") != std::string::npos));
            if (staged && --n == 0) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    /// The log index of the call that gave the bytes of the staged call their name.
    int Named(int staged) const {
        const FaultyOs::Call& made = os.log[static_cast<std::size_t>(staged)];
        return made.name == "OpenUnnamed"
                   ? os.Find("NameUnnamed",
                             [&](const auto& call) { return call.file == made.file; })
                   : os.Find("Link", [&](const auto& call) { return call.path == made.path; });
    }

    TempFolder folder;
    fs::path path = folder / "w.world";
    const std::string old = std::string(3'000'000, 'o');
    FaultyOs os;
    ScopedOs inPlace{os};
};

TEST_P(Durability, TheNewContentIsOnDiskBeforeTheOldStartsToGo) {
    ASSERT_FALSE(Save("new").failed());
    // The staging file is the first one opened for the save and is synced before the file's
    // name moves to it (a rename) or before its bytes go into the file (in place).
    ASSERT_GE(Staged(1), 0);
    const FileId staging = os.log[static_cast<std::size_t>(Staged(1))].file;
    const int synced = os.Find("Sync", [&](const auto& call) { return call.file == staging; });
    const int replaced = GetParam()
                             ? os.Find("WriteAt", [&](const auto& call) { return IsTarget(call); })
                             : os.Find("Rename", [&](const auto& call) {
                                   return call.other == velk_test::PathText(path);
                               });
    ASSERT_GE(replaced, 0);
    EXPECT_GE(synced, 0);
    EXPECT_LT(synced, replaced);
    EXPECT_EQ(ReadFileBytes(path), "new");
}

INSTANTIATE_TEST_SUITE_P(Strategies, Durability, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "InPlace" : "ByRename"; });

class InPlace : public Durability {};

TEST_P(InPlace, TheCopyOfTheOldContentIsOnDiskBeforeTheFileIsTouched) {
    ASSERT_FALSE(Save("new").failed());
    // The first staged file holds the new content, the second the copy of the old.
    const int copy = Staged(2);
    ASSERT_GE(copy, 0);
    const FileId copyFile = os.log[static_cast<std::size_t>(copy)].file;
    const int synced = os.Find("Sync", [&](const auto& call) { return call.file == copyFile; });
    const int named = Named(copy);
    const int touched = os.Find("WriteAt", [&](const auto& call) { return IsTarget(call); });
    EXPECT_GE(synced, 0);
    EXPECT_LT(synced, named);
    EXPECT_LT(named, touched);
}

// A failure part-way through the file puts the old content back, and nothing of the save stays.
TEST_P(InPlace, AFailedWriteIntoTheFileIsRolledBack) {
    int writes = 0;
    os.fail = [&](const FaultyOs::Call& call) {
        return call.name == "WriteAt" && IsTarget(call) && ++writes == 2 ? ENOSPC : 0;
    };
    const FileError error = Save(std::string(2'500'000, 'n'));
    EXPECT_EQ(error.code, ENOSPC);
    EXPECT_TRUE(error.keptCopy.empty());
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"cache", "link.world", "w.world"}));
}

// When even the old content cannot go back, the copy stays and the error names it.
TEST_P(InPlace, WhenTheRollbackFailsTooTheCopyStaysAndIsNamed) {
    int writes = 0;
    os.fail = [&](const FaultyOs::Call& call) {
        return call.name == "WriteAt" && IsTarget(call) && ++writes >= 2 ? EIO : 0;
    };
    const FileError error = Save(std::string(2'500'000, 'n'));
    ASSERT_FALSE(error.keptCopy.empty());
    EXPECT_EQ(ReadFileBytes(error.keptCopy), old);
    os.fail = nullptr;
    const auto told = FileSaver::TakeInterruptedSaves();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].copy, error.keptCopy);
}

// Whatever happens before the file is touched, an exception included, leaves no copy and no
// record behind.
TEST_P(InPlace, AnExceptionBeforeTheFileIsTouchedLeavesNothing) {
    EXPECT_THROW(Save("new", [] { throw std::runtime_error("cancelled late"); }),
                 std::runtime_error);
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"cache", "link.world", "w.world"}));
    EXPECT_TRUE(fs::is_empty(folder / "cache/velk/interrupted-saves"));
}

INSTANTIATE_TEST_SUITE_P(Linked, InPlace, ::testing::Values(true));

// While a save runs, every file it made is at most as readable as the file, whatever the
// process's mask, and whether or not the file system has unnamed files.
TEST_P(Durability, NothingTheSaveMakesIsMoreReadableThanTheFile) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps who may read a file in its security, not in mode bits: the "
                    "staging file takes its folder's, and the replacement the file's own";
#else
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed staging files" : "named staging files");
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
        os.fail = [&](const FaultyOs::Call& call) {
            return !unnamed && call.name == "OpenUnnamed" ? EOPNOTSUPP : 0;
        };
        const mode_t mask = ::umask(0);
        int seen = 0;
        const FileError error = Save("new", [&] {
            for (const auto& entry : fs::recursive_directory_iterator(folder.path)) {
                struct stat status {};
                ASSERT_EQ(::lstat(entry.path().c_str(), &status), 0);
                if (S_ISREG(status.st_mode)) {
                    EXPECT_EQ(status.st_mode & 077, 0u) << entry.path();
                    ++seen;
                }
            }
        });
        ::umask(mask);
        EXPECT_FALSE(error.failed());
        EXPECT_GE(seen, GetParam() ? 3 : 1);
    }
#endif
}

// Leftovers are removed only when they are a save's temporary of this very file and their
// process is gone.
TEST(Leftovers, OnlyTheFilesOwnTemporariesOfDeadSavesGo) {
    TempFolder folder;
    FaultyOs os;
    ScopedOs inPlace(os);
    os.processRuns = [](ProcessId process) { return std::optional<bool>(process == 77); };
    const std::vector<std::string> kept = {".x.saving-5.saving-6-0", ".x.saving-77-0",
                                           ".x.saving-6", ".x.saving-6-0.bak"};
    for (const std::string& name : kept) {
        WriteFileBytes(folder / name, "theirs");
    }
    WriteFileBytes(folder / ".x.saving-6-0", "dead");
    ASSERT_FALSE(SaveWholeFile(velk_test::PathText(folder / "x"), "new").failed());
    std::vector<std::string> expected = kept;
    expected.push_back("x");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder.Names(), expected);
}

}  // namespace

// The record of a save that still runs is left alone; a dead save's is told once and goes.
TEST(InterruptedSaves, OnlyThoseOfSavesThatNoLongerRunAreTaken) {
    TempFolder folder;
    velk_test::SetVariable("XDG_CACHE_HOME", velk_test::PathText(folder.path).c_str());
    FaultyOs os;
    ScopedOs inPlace(os);
    os.processRuns = [](ProcessId process) { return std::optional<bool>(process == 77); };
    const fs::path records = folder / "velk/interrupted-saves";
    fs::create_directories(records);
    WriteFileBytes(folder / "copy", "old");
    const std::string entry =
        std::string("/w/a.world\0", 11) + velk_test::PathText(folder / "copy") + '\0';
    WriteFileBytes(records / "77-0", entry);
    WriteFileBytes(records / "78-0", entry);
    const auto told = FileSaver::TakeInterruptedSaves();
    velk_test::SetVariable("XDG_CACHE_HOME", nullptr);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].file, "/w/a.world");
    EXPECT_TRUE(fs::exists(records / "77-0"));
    EXPECT_FALSE(fs::exists(records / "78-0"));
}
