#include "framework/CArchive.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/PrintableName.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

using velk_test::ReadFileBytes;
using velk_test::TempFolder;
using velk_test::WriteFileBytes;

/// Text without repeats at any short period, so that a lost, doubled or moved block shows.
std::string Pattern(std::size_t size) {
    std::string text(size, '\0');
    std::uint32_t state = 12345;
    for (char& c : text) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    return text;
}

/// Writes the text in pieces of the given sizes, taken in turn, then reads it back in pieces
/// of the read sizes: around, at and beyond the archive's own 64 KiB buffer.
struct Piecing {
    const char* name;
    std::vector<unsigned> writes;
    std::vector<unsigned> reads;
};

class CArchiveFile : public ::testing::TestWithParam<Piecing> {};

TEST_P(CArchiveFile, KeepsEveryByteInOrderWhateverThePieces) {
    const Piecing& p = GetParam();
    TempFolder folder;
    const std::string path = folder / "piece.world";
    const std::string text = Pattern(300'000);
    {
        CArchive archive(path, CArchive::store);
        EXPECT_TRUE(archive.IsStoring());
        for (std::size_t done = 0, i = 0; done < text.size(); ++i) {
            const unsigned n = std::min<unsigned>(p.writes[i % p.writes.size()],
                                                  static_cast<unsigned>(text.size() - done));
            archive.Write(text.data() + done, n);
            done += n;
        }
        archive.Close();
        EXPECT_EQ(archive.GetPosition(), text.size());
    }
    EXPECT_EQ(ReadFileBytes(path), text);

    CArchive archive(path, CArchive::load);
    EXPECT_TRUE(archive.IsLoading());
    std::string back;
    std::vector<char> piece(200'000);
    for (std::size_t i = 0;; ++i) {
        const unsigned got = archive.Read(piece.data(), p.reads[i % p.reads.size()]);
        if (got == 0) {
            break;
        }
        back.append(piece.data(), got);
    }
    EXPECT_EQ(back, text);
    EXPECT_EQ(archive.GetPosition(), text.size());
    EXPECT_EQ(archive.Read(piece.data(), 10), 0u);
    archive.Close();
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"piece.world"});
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Pieces, CArchiveFile, ::testing::Values(
    Piecing{"Bytes",           {1},                        {1}},
    Piecing{"Lines",           {37, 80, 1},                {1024}},
    Piecing{"BufferSized",     {65536},                    {65535, 65537}},
    Piecing{"AroundTheBuffer", {65535, 2, 65536, 131072},  {7, 65536, 100000}},
    Piecing{"Large",           {200000},                   {200000}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(CArchiveSave, TouchesTheTargetOnlyAtCloseAndKeepsItsPermissions) {
    TempFolder folder;
    const std::string path = folder / "w.world";
    WriteFileBytes(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::perms permissions = fs::status(path).permissions();
    {
        CArchive archive(path, CArchive::store);
        archive.Write("new", 3);
        archive.Flush();
        EXPECT_EQ(ReadFileBytes(path), "old");
#ifdef _WIN32
        // Windows files always have a name: the new content waits in a save's temporary,
        // which the next save of the file removes when this one was killed.
        ASSERT_EQ(folder.Names().size(), 2u);
        EXPECT_EQ(folder.Names()[0].rfind(".w.world.saving-", 0), 0u);
#else
        // The new content has no name until Close, so a killed save leaves nothing behind.
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"w.world"});
#endif
        archive.Close();
        archive.Close();  // a second Close does nothing
    }
    EXPECT_EQ(ReadFileBytes(path), "new");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"w.world"});
    EXPECT_EQ(fs::status(path).permissions(), permissions);
}

TEST(CArchiveSave, AbandonedWithoutCloseLeavesTheTargetAndNoTemporary) {
    TempFolder folder;
    const std::string path = folder / "w.world";
    WriteFileBytes(path, "old");
    {
        CArchive archive(path, CArchive::store);
        const std::string text = Pattern(200'000);
        archive.Write(text.data(), static_cast<unsigned>(text.size()));
        archive.Flush();
    }
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"w.world"});
}

TEST(CArchiveSave, SavesThroughASymbolicLink) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links on Windows need a privilege that a user does not have";
#endif
    TempFolder folder;
    WriteFileBytes(folder / "real.world", "old");
    fs::create_symlink("real.world", folder / "link.world");
    CArchive archive(folder / "link.world", CArchive::store);
    archive.Write("new", 3);
    archive.Close();
    EXPECT_TRUE(fs::is_symlink(folder / "link.world"));
    EXPECT_EQ(ReadFileBytes(folder / "real.world"), "new");
}

/// An archive that cannot be made: the message names the file and the reason, and nothing is
/// left behind.
struct OpenFailure {
    const char* name;
    const char* path;  ///< inside the test's folder, unless absolute
    CArchive::Mode mode;
    const char* reason;
};

class CArchiveOpen : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(CArchiveOpen, FailsWithAClearMessage) {
    const OpenFailure& c = GetParam();
    TempFolder folder;
    fs::create_directory(folder / "folder.world");
    WriteFileBytes(folder / "file", "x");
#ifdef _WIN32
    if (std::string(c.name).find("Pipe") != std::string::npos) {
        GTEST_SKIP() << "Windows has no named pipes among files";
    }
    const std::string path = std::string(c.path) == "/dev/zero" ? "NUL" : folder / c.path;
#else
    ASSERT_EQ(::mkfifo((folder / "pipe.world").c_str(), 0600), 0);
    const std::string path = c.path[0] == '/' ? c.path : folder / c.path;
#endif
    const std::vector<std::string> before = folder.Names();
    try {
        CArchive archive(path, c.mode);
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& error) {
        EXPECT_EQ(std::string(error.what()),
                  std::string(c.mode == CArchive::load ? "Cannot open \"" : "Cannot save \"") +
                      path + "\": " + c.reason);
        EXPECT_EQ(error.GetPath(), path);
    }
    EXPECT_EQ(folder.Names(), before);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, CArchiveOpen, ::testing::Values(
    OpenFailure{"LoadMissing",          "none.world",       CArchive::load,  "No such file or directory"},
    OpenFailure{"LoadFolder",           "folder.world",     CArchive::load,  "Is a directory"},
    OpenFailure{"LoadDevice",           "/dev/zero",        CArchive::load,  "not a regular file"},
    OpenFailure{"LoadPipeWithoutWaiting","pipe.world",      CArchive::load,  "not a regular file"},
    OpenFailure{"SaveOverPipe",         "pipe.world",       CArchive::store, "not a regular file"},
    OpenFailure{"SaveOverFolder",       "folder.world",     CArchive::store, "Is a directory"},
    OpenFailure{"SaveIntoMissingFolder","none/w.world",     CArchive::store, "No such file or directory"},
    OpenFailure{"SaveUnderAFile",       "file/w.world",     CArchive::store, "Not a directory"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

#ifndef _WIN32
/// Lowers the largest file this process may write, for the length of a test: writing beyond
/// it fails as a full disk does, also for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        previous = ::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        ::signal(SIGXFSZ, previous);
    }

private:
    rlimit saved{};
    sighandler_t previous;
};

TEST(CArchiveSave, FailingPartWayLeavesTheOldFileAndTheErrorSticks) {
    TempFolder folder;
    const std::string path = folder / "w.world";
    const std::string old = Pattern(1000);
    WriteFileBytes(path, old);
    {
        CArchive archive(path, CArchive::store);
        const std::string text = Pattern(400'000);
        std::string message;
        {
            FileSizeLimit limit(150'000);
            try {
                for (std::size_t done = 0; done < text.size(); done += 1000) {
                    archive.Write(text.data() + done, 1000);
                }
                ADD_FAILURE() << "no exception";
            } catch (const CFileException& error) {
                message = error.what();
            }
        }
        EXPECT_EQ(message, "Cannot save \"" + path + "\": File too large");
        EXPECT_THROW(archive.Write("x", 1), CFileException);
        try {
            archive.Close();
            ADD_FAILURE() << "Close completed a failed save";
        } catch (const CFileException& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"w.world"});
}

// Root passes permission checks, so the attempt runs in a child that has given root up.
TEST(CArchiveSave, FolderWithoutWritePermissionFailsAndKeepsTheOldFile) {
    TempFolder folder;
    fs::permissions(folder.path, fs::perms::all);
    fs::create_directory(folder / "locked");
    const std::string path = folder / "locked/w.world";
    WriteFileBytes(path, "old");
    WriteFileBytes(folder / "unreadable.world", "x");
    fs::permissions(folder / "unreadable.world", fs::perms::none);
    fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                           fs::perms::group_read | fs::perms::group_exec |
                                           fs::perms::others_read | fs::perms::others_exec);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        int failures = 0;
        try {
            CArchive archive(path, CArchive::store);
            ++failures;
        } catch (const CFileException& error) {
            failures +=
                std::string(error.what()) != "Cannot save \"" + path + "\": Permission denied";
        }
        try {
            CArchive archive(folder / "unreadable.world", CArchive::load);
            ++failures;
        } catch (const CFileException& error) {
            failures += std::string(error.what()).find("Permission denied") == std::string::npos;
        }
        ::_exit(failures);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(fs::directory_iterator(folder / "locked")->path().filename(), "w.world");
}
#endif

// A message names the file being saved, whatever step failed, and shows its name so that no
// character in it can act on a terminal or turn the text around.
TEST(CArchiveSave, MessagesNameTheFileBeingSavedAndShowItSafely) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names cannot hold the control characters this name is made of";
#endif
    TempFolder folder;
    const std::string name = "w\x1b[2J\xe2\x80\xaeoc.world";
    const std::string path = folder / name;
    WriteFileBytes(path, "old");
    fs::create_hard_link(path, folder / "link.world");  // saved in place, with a record
    WriteFileBytes(folder / "cache", "a file where the cache folder should be");
    velk_test::SetVariable("XDG_CACHE_HOME", velk_test::PathText((folder / "cache")).c_str());
    std::string message;
    try {
        CArchive archive(path, CArchive::store);
        archive.Write("new", 3);
        archive.Close();
    } catch (const CFileException& error) {
        message = error.what();
    }
    velk_test::SetVariable("XDG_CACHE_HOME", nullptr);
    const std::string shown = folder / "w\\x1B[2J\\u{202E}oc.world";
    EXPECT_EQ(message, "Cannot save \"" + shown + "\": Not a directory");
    EXPECT_EQ(ReadFileBytes(path), "old");
}

TEST(PrintableName, KeepsTextAndWritesOutWhatWouldAct) {
    const std::pair<std::string, std::string> rows[] = {
        {"plain/w.world", "\"plain/w.world\""},
        {"caf\xc3\xa9 \xe4\xb8\x96.world", "\"caf\xc3\xa9 \xe4\xb8\x96.world\""},
        {"tab\there\n", "\"tab\\x09here\\x0A\""},
        {"\x7f\xc2\x85", "\"\\x7F\\x85\""},
        {"\xe2\x80\xae\xe2\x81\xa6\xe2\x80\x8f", "\"\\u{202E}\\u{2066}\\u{200F}\""},
        {"bad\xff\xc3(\xed\xa0\x80", "\"bad\\xFF\\xC3(\\xED\\xA0\\x80\""},
        {"\xc0\xaf", "\"\\xC0\\xAF\""},  // an overlong slash
    };
    for (const auto& [path, shown] : rows) {
        EXPECT_EQ(PrintableName(path), shown);
    }
}

TEST(CArchiveMemory, ReplacesTheSinkOnlyAtCloseAndFailsWhenFull) {
    std::string sink = "old";
    {
        CArchive archive = CArchive::ToMemory(sink);
        archive.Write("new", 3);
        archive.Flush();
        EXPECT_EQ(sink, "old");
        archive.Close();
    }
    EXPECT_EQ(sink, "new");

    CArchive full = CArchive::ToMemory(sink, 100);
    full.Write(Pattern(101).data(), 101);  // still in the archive's buffer
    try {
        full.Flush();
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& error) {
        EXPECT_STREQ(error.what(), "Cannot save \"memory\": No space left on device");
    }
    EXPECT_THROW(full.Close(), CFileException);
    EXPECT_EQ(sink, "new");

    CArchive loading = CArchive::FromMemory("abc");
    char bytes[8] = {};
    EXPECT_EQ(loading.Read(bytes, 8), 3u);
    EXPECT_EQ(std::string(bytes), "abc");
    EXPECT_THROW(loading.Write("x", 1), CFileException);
    loading.Close();
    try {
        static_cast<void>(loading.Read(bytes, 1));
        ADD_FAILURE() << "read after Close";
    } catch (const CFileException& error) {
        EXPECT_STREQ(error.what(), "Cannot read \"memory\": the archive is closed");
    }
}

}  // namespace
