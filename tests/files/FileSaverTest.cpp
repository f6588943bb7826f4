#include "files/FileSaver.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "support/ChildProcess.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using velk_test::PathText;
using velk_test::ReadFileBytes;
using velk_test::TempFolder;
using velk_test::WriteFileBytes;

constexpr unsigned kNobody = 65534;

/// Points the cache folder (copies and records of in-place saves) into the test's folder.
class CacheInFolder {
public:
    explicit CacheInFolder(const fs::path& cache) {
        fs::create_directories(cache);
#ifndef _WIN32
        ::chown(cache.c_str(), kNobody, kNobody);
#endif
        velk_test::SetVariable("XDG_CACHE_HOME", PathText(cache).c_str());
    }
    ~CacheInFolder() {
        velk_test::SetVariable("XDG_CACHE_HOME", nullptr);
    }
};

/// Saves content to path, as nobody in a child when asNobody: root passes every permission
/// check. Answers "" or the system's words for the error.
std::string Save(const std::string& path, const std::string& content, bool asNobody = false) {
    auto save = [&]() -> std::string {
        const FileError error = SaveWholeFile(path, content);
        return !error.failed()           ? ""
               : error.notRegularFile    ? "not a regular file"
               : !error.keptCopy.empty() ? "kept in " + error.keptCopy
                                         : std::generic_category().message(error.code);
    };
    if (!asNobody) {
        return save();
    }
#ifdef _WIN32
    return "no users to drop to";
#else
    int channel[2];
    if (::pipe(channel) != 0) {
        return "no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        std::string message = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 ? save() : "setuid";
        message += '\n';
        static_cast<void>(::write(channel[1], message.data(), message.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string message;
    char piece[256];
    for (ssize_t n; (n = ::read(channel[0], piece, sizeof piece)) > 0;) {
        message.append(piece, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return message.empty() ? "child died" : message.substr(0, message.size() - 1);
#endif
}

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(PathText(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

#ifndef _WIN32
// Owners, modes, extended attributes and symbolic links as POSIX has them; Windows keeps a
// file's owner and access in its security, which ReplaceFileW keeps, and its counterparts
// follow below.
struct Stat : public stat {
    explicit Stat(const fs::path& path) : stat{} { ::lstat(path.c_str(), this); }
};

/// A file set up in a folder, saved with "new", and what must hold afterwards.
struct IdentityCase {
    const char* name;
    bool asNobody;
    /// Makes the files in folder (mode 0777, owned by root) and answers the path to save.
    fs::path (*setUp)(const fs::path& folder);
    const char* error;  ///< part of the expected message, or null when the save succeeds
    void (*check)(const fs::path& folder);
};

class FileSaverIdentity : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(FileSaverIdentity, KeepsTheFileItself) {
    const IdentityCase& c = GetParam();
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to set owners and to drop to nobody";
    }
    TempFolder folder;
    fs::permissions(folder.path, fs::perms::all);
    CacheInFolder cache(folder / "cache");
    const fs::path path = c.setUp(folder.path);
    const std::string message = Save(path, "new", c.asNobody);
    if (c.error != nullptr) {
        EXPECT_NE(message.find(c.error), std::string::npos) << message;
    } else {
        EXPECT_EQ(message, "");
    }
    c.check(folder.path);
    // Nothing of the save is left in the cache: no temporary, no copy, no record.
    for (const auto& entry : fs::recursive_directory_iterator(folder / "cache")) {
        EXPECT_TRUE(entry.is_directory()) << entry.path();
    }
}

fs::path OldFile(const fs::path& folder, const char* name, mode_t mode, uid_t owner) {
    WriteFileBytes(folder / name, "old");
    ::chown((folder / name).c_str(), owner, owner);
    ::chmod((folder / name).c_str(), mode);
    return folder / name;
}

// clang-format off
const IdentityCase kIdentityCases[] = {
    {"ReadOnlyFileIsNotReplaced", true,
     [](const fs::path& f) { return OldFile(f, "w.world", 0444, kNobody); },
     "Permission denied",
     [](const fs::path& f) { EXPECT_EQ(ReadFileBytes(f / "w.world"), "old"); }},
    {"OwnerAndGroupStayWithTheFile", false,
     [](const fs::path& f) { return OldFile(f, "w.world", 0640, kNobody); }, nullptr,
     [](const fs::path& f) {
         const Stat s(f / "w.world");
         EXPECT_EQ(ReadFileBytes(f / "w.world"), "new");
         EXPECT_EQ(s.st_uid, kNobody);
         EXPECT_EQ(s.st_gid, kNobody);
         EXPECT_EQ(s.st_mode & 07777, 0640u);
     }},
    {"AnOwnerThatCannotBeGivenBackIsKeptInPlace", true,
     [](const fs::path& f) { return OldFile(f, "w.world", 0666, 0); }, nullptr,
     [](const fs::path& f) {
         EXPECT_EQ(ReadFileBytes(f / "w.world"), "new");
         EXPECT_EQ(Stat(f / "w.world").st_uid, 0u);
     }},
    {"HardLinksAllShowTheNewContent", false,
     [](const fs::path& f) {
         fs::create_hard_link(OldFile(f, "w.world", 0644, 0), f / "other.world");
         return f / "w.world";
     }, nullptr,
     [](const fs::path& f) {
         EXPECT_EQ(ReadFileBytes(f / "other.world"), "new");
         EXPECT_EQ(Stat(f / "w.world").st_ino, Stat(f / "other.world").st_ino);
         EXPECT_EQ(NamesIn(f), (std::vector<std::string>{"cache", "other.world", "w.world"}));
     }},
    {"ExtendedAttributesAndModeAreKept", false,
     [](const fs::path& f) {
         const fs::path path = OldFile(f, "w.world", 0604, 0);
         EXPECT_EQ(::setxattr(path.c_str(), "user.velk.tag", "x", 1, 0), 0);
         return path;
     }, nullptr,
     [](const fs::path& f) {
         char value[4] = {};
         EXPECT_EQ(::getxattr((f / "w.world").c_str(), "user.velk.tag", value, 4), 1);
         EXPECT_EQ(Stat(f / "w.world").st_mode & 07777, 0604u);
         EXPECT_EQ(ReadFileBytes(f / "w.world"), "new");
     }},
    {"DanglingSymlinkIsSavedThrough", false,
     [](const fs::path& f) {
         fs::create_symlink("made.world", f / "link.world");
         return f / "link.world";
     }, nullptr,
     [](const fs::path& f) {
         EXPECT_TRUE(fs::is_symlink(f / "link.world"));
         EXPECT_EQ(ReadFileBytes(f / "made.world"), "new");
     }},
    {"WritableFileInAFolderThatIsNotIsWrittenInPlace", true,
     [](const fs::path& f) {
         fs::create_directory(f / "locked");
         const fs::path path = OldFile(f / "locked", "w.world", 0644, kNobody);
         ::chmod((f / "locked").c_str(), 0555);
         return path;
     }, nullptr,
     [](const fs::path& f) {
         EXPECT_EQ(ReadFileBytes(f / "locked/w.world"), "new");
         EXPECT_EQ(Stat(f / "locked/w.world").st_uid, kNobody);
     }},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Cases, FileSaverIdentity, ::testing::ValuesIn(kIdentityCases),
                         [](const auto& info) { return std::string(info.param.name); });
#else
// A file marked read-only is refused, whatever its folder allows, and stays as it was.
TEST(FileSaverWindows, AReadOnlyFileIsNotReplaced) {
    TempFolder folder;
    CacheInFolder cache(folder / "cache");
    const fs::path path = folder / "w.world";
    WriteFileBytes(path, "old");
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_NE(Save(PathText(path), "new").find("Permission denied"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(NamesIn(folder.path), (std::vector<std::string>{"cache", "w.world"}));
}

// A file that another program holds open, letting others read and write but not replace it,
// cannot be saved: the save says so, and the file and its folder are as they were.
TEST(FileSaverWindows, AFileHeldOpenElsewhereIsLeftWhole) {
    TempFolder folder;
    CacheInFolder cache(folder / "cache");
    const fs::path path = folder / "w.world";
    WriteFileBytes(path, "old");
    {
        std::ifstream holder(path, std::ios::binary);
        ASSERT_TRUE(holder.is_open());
        EXPECT_EQ(Save(PathText(path), "new"), std::generic_category().message(EBUSY));
    }
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(NamesIn(folder.path), (std::vector<std::string>{"cache", "w.world"}));
}

// Every hard link shows the new content: such a file is written in place.
TEST(FileSaverWindows, HardLinksAllShowTheNewContent) {
    TempFolder folder;
    CacheInFolder cache(folder / "cache");
    WriteFileBytes(folder / "w.world", "old");
    fs::create_hard_link(folder / "w.world", folder / "other.world");
    EXPECT_EQ(Save(PathText(folder / "w.world"), "new"), "");
    EXPECT_EQ(ReadFileBytes(folder / "other.world"), "new");
    EXPECT_EQ(NamesIn(folder.path), (std::vector<std::string>{"cache", "other.world", "w.world"}));
}
#endif

/// A save that is killed at a random moment, again and again: the file is always whole (old or
/// new), or a whole copy of its old content is recorded for the next start; the next save
/// removes every leftover.
class FileSaverKilled : public ::testing::TestWithParam<bool> {};

// A child started on Windows needs longer to come up than a fork; the window of the kill
// follows, so that kills still fall in every step of a save.
#ifdef _WIN32
constexpr unsigned kKillWindowUs = 600'000;
#else
constexpr unsigned kKillWindowUs = 150'000;
#endif

TEST_P(FileSaverKilled, NeverLosesTheOldContent) {
    const std::vector<std::string> contents = {std::string(8'000'000, 'a'),
                                               std::string(6'000'000, 'b')};
    const auto saveForever = [&](const std::string& target) {
        for (std::size_t i = 1;; ++i) {
            static_cast<void>(Save(target, contents[i % 2], false));
        }
    };
    velk_test::RunIfChild("saver", saveForever);
    const bool hardLinked = GetParam();
    TempFolder folder;
    CacheInFolder cache(folder / "cache");
    const fs::path path = folder / "w.world";
    WriteFileBytes(path, contents[0]);
    std::vector<std::string> names = {"cache", "w.world"};
    if (hardLinked) {
        fs::create_hard_link(path, folder / "x.world");
        names.push_back("x.world");
    }
    std::mt19937 random(7);
    for (int round = 0; round < 14; ++round) {
        velk_test::ChildProcess child("saver", PathText(path), saveForever);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % kKillWindowUs));
        child.Kill();
        const std::string now = ReadFileBytes(path);
        const std::vector<FileSaver::Interrupted> told = FileSaver::TakeInterruptedSaves();
        if (now != contents[0] && now != contents[1]) {
            ASSERT_EQ(told.size(), 1u) << "round " << round;
        }
        for (const FileSaver::Interrupted& save : told) {
            EXPECT_EQ(save.file, PathText(path));
            const std::string copy = ReadFileBytes(save.copy);
            EXPECT_TRUE(copy == contents[0] || copy == contents[1]) << "round " << round;
            fs::remove(save.copy);
        }
        ASSERT_EQ(Save(PathText(path), contents[0], false), "");
        EXPECT_EQ(NamesIn(folder.path), names) << "round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(Strategies, FileSaverKilled, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "InPlace" : "ByRename"; });

/// The point after which a save can no longer be cancelled comes before the first change to
/// the file, and for a save in place only once the whole copy of the old content is on disk.
class FileSaverReplacing : public ::testing::TestWithParam<bool> {};

TEST_P(FileSaverReplacing, IsToldJustBeforeTheOldContentStartsToGo) {
    TempFolder folder;
    CacheInFolder cache(folder / "cache");
    const fs::path path = folder / "w.world";
    WriteFileBytes(path, "old");
    if (GetParam()) {
        fs::create_hard_link(path, folder / "x.world");
    }
    FileSaver saver(PathText(path));
    saver.Write("new", 3);
    int told = 0;
    saver.Commit([&] {
        ++told;
        EXPECT_EQ(ReadFileBytes(path), "old");
        EXPECT_EQ(fs::exists(folder / "w.world.velk-backup"), GetParam());
    });
    EXPECT_EQ(told, 1);
    EXPECT_EQ(ReadFileBytes(path), "new");
}

INSTANTIATE_TEST_SUITE_P(Strategies, FileSaverReplacing, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "InPlace" : "ByRename"; });

}  // namespace
