// Work that others change on disk, and work that a kill would take: real files in a temporary
// folder, and a real process killed with SIGKILL.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "AppTestKit.h"
#include "files/FileStamp.h"
#include "files/RecoveryStore.h"
#include "framework/DocumentRecovery.h"
#include "framework/DocumentWatch.h"
#include "support/FaultyOs.h"
#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace app_test;
using velk_test::ReadFileBytes;
using velk_test::TempFolder;
using velk_test::WriteFileBytes;

class UnsavedWorkTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (app != nullptr) {
            app->Finish(0);
        }
    }
    /// An application with a.note open and changed to "note mine", keeping its recovery
    /// copies in the folder's "state".
    void StartChanged() {
        WriteFileBytes(Path("a.note"), "note disk\n");
        app = std::make_unique<NoteApp>();
        ASSERT_TRUE(app->Start(platform, {Path("a.note")}));
        app->StartRecovery(Path("state"));
        app->Document()->text = "note mine";
        app->Document()->SetModifiedFlag();
    }
    std::string Path(const std::string& name) const { return (temp.path / name).string(); }
    std::string OwnCopy() const { return app->GetRecovery()->Store().CopyPath(); }
    /// Whether a copy of the run with that process id lies in the state folder.
    bool HasCopyOf(ProcessId process) const {
        for (const auto& entry : fs::directory_iterator(Path("state"))) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(std::to_string(process) + "-", 0) == 0 &&
                entry.path().extension() == ".copy") {
                return true;
            }
        }
        return false;
    }

    TempFolder temp;
    ScriptedDialogs dialogs;
    std::map<std::string, std::string> settings;
    FakePlatform platform{dialogs, settings};
    std::unique_ptr<NoteApp> app;
};

struct DiskChangeRow {
    const char* name;
    std::function<void(const std::string& file)> change;
    bool asked;
    ChangedFileChoice answer;
    const char* fileAfter;  ///< a.note's bytes after the save
    bool modifiedAfter;
};

class DiskChangeTest : public UnsavedWorkTest,
                       public ::testing::WithParamInterface<DiskChangeRow> {};

TEST_P(DiskChangeTest, SaveAsksBeforeWritingOverAnotherProgramsChange) {
    const DiskChangeRow& row = GetParam();
    StartChanged();
    row.change(Path("a.note"));
    dialogs.changedFileAnswers.push_back(row.answer);
    dialogs.saveAnswers.push_back(Path("b.note"));
    const bool saved = app->Document()->DoFileSave();
    ASSERT_EQ(dialogs.changedFileAsked.size(), row.asked ? 1u : 0u);
    if (row.asked) {
        EXPECT_NE(dialogs.changedFileAsked[0].find(Path("a.note")), std::string::npos);
    }
    EXPECT_EQ(saved, !row.modifiedAfter);
    EXPECT_EQ(app->Document()->IsModified(), row.modifiedAfter);
    EXPECT_EQ(fs::exists(Path("a.note")) ? ReadFileBytes(Path("a.note")) : "gone", row.fileAfter);
    if (row.answer == ChangedFileChoice::saveAs && row.asked) {
        EXPECT_EQ(ReadFileBytes(Path("b.note")), "note mine\n");
        EXPECT_EQ(app->Document()->GetPathName(), Path("b.note"));
    }
}

const auto kKeep = [](const std::string&) {};
INSTANTIATE_TEST_SUITE_P(
    Changes, DiskChangeTest,
    ::testing::Values(DiskChangeRow{"unchanged", kKeep, false, ChangedFileChoice::cancel,
                                    "note mine\n", false},
                      DiskChangeRow{"touched",
                                    [](const std::string& f) {
                                        fs::last_write_time(f, fs::file_time_type::clock::now() +
                                                                   std::chrono::hours(1));
                                    },
                                    false, ChangedFileChoice::cancel, "note mine\n", false},
                      // Same size, within the same second: only the bytes tell.
                      DiskChangeRow{"sameSizeCancelled",
                                    [](const std::string& f) { WriteFileBytes(f, "note dusk\n"); },
                                    true, ChangedFileChoice::cancel, "note dusk\n", true},
                      DiskChangeRow{"replacedOverwritten",
                                    [](const std::string& f) {
                                        WriteFileBytes(f + ".x", "note other\n");
                                        fs::rename(f + ".x", f);
                                    },
                                    true, ChangedFileChoice::overwrite, "note mine\n", false},
                      DiskChangeRow{"deletedSavedAs", [](const std::string& f) { fs::remove(f); },
                                    true, ChangedFileChoice::saveAs, "gone", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnsavedWorkTest, OwnSavesAreNotTakenForChanges) {
    StartChanged();
    ASSERT_TRUE(app->Document()->DoFileSave());
    app->Document()->text = "note again";
    app->Document()->SetModifiedFlag();
    ASSERT_TRUE(app->Document()->DoFileSave());
    EXPECT_TRUE(dialogs.changedFileAsked.empty());
    EXPECT_EQ(ReadFileBytes(Path("a.note")), "note again\n");
}

// A second pass over the file to stamp it would hold back the first paint of a large world.
TEST_F(UnsavedWorkTest, AnOpenReadsTheFileOnceAndStampsWhatItRead) {
    WriteFileBytes(Path("a.note"), "note " + std::string(200001, 'x') + "\n");
    velk_test::FaultyOs os;
    ScopedOs inPlace(os);
    app = std::make_unique<NoteApp>();
    ASSERT_TRUE(app->Start(platform, {Path("a.note")}));
    EXPECT_EQ(std::count_if(os.log.begin(), os.log.end(),
                            [&](const auto& call) {
                                return call.name == "Open" && call.path == Path("a.note");
                            }),
              1);
    const FileStamp read = app->Document()->GetDiskStamp();
    const FileStamp now = FileStamp::Of(Path("a.note"));
    EXPECT_TRUE(read.LooksLike(now));
    EXPECT_EQ(read.hash, now.hash);
}

TEST_F(UnsavedWorkTest, TheCopyHoldsWhatSaveWouldWriteAndGoesOnSaveAndCleanExit) {
    StartChanged();
    app->GetRecovery()->Tick();
    ASSERT_TRUE(app->GetRecovery()->Store().Wait());
    EXPECT_EQ(ReadFileBytes(OwnCopy()), "note mine\n");
    ASSERT_TRUE(app->Document()->DoFileSave());
    EXPECT_FALSE(fs::exists(OwnCopy()));
    app->Document()->SetModifiedFlag();
    app->GetRecovery()->Tick();
    app->GetRecovery()->Store().Wait();
    EXPECT_TRUE(fs::exists(OwnCopy()));
    app->Finish(0);
    app.reset();
    EXPECT_TRUE(fs::is_empty(Path("state")));
}

struct WatchRow {
    const char* name;
    bool modified;
    const char* theirs;  ///< what the other program writes
    bool reload;         ///< the answer, when asked
    const char* textAfter;
    bool modifiedAfter;
    bool toldInStatus;
};

class WatchTest : public UnsavedWorkTest, public ::testing::WithParamInterface<WatchRow> {};

TEST_P(WatchTest, AChangeByAnotherProgramIsReloadedOnlyWhenNothingIsLost) {
    const WatchRow& row = GetParam();
    StartChanged();
    ASSERT_EQ(platform.watchedFile, Path("a.note"));
    app->Document()->SetModifiedFlag(row.modified);
    dialogs.reloadAnswers.push_back(row.reload);
    WriteFileBytes(Path("a.note"), row.theirs);
    platform.fileChanged();
    EXPECT_EQ(dialogs.reloadAsked.size(), row.modified ? 1u : 0u);
    EXPECT_EQ(app->Document()->text, row.textAfter);
    EXPECT_EQ(app->Document()->IsModified(), row.modifiedAfter);
    EXPECT_EQ(platform.lastFrameHost->statusBar.texts[0] ==
                  "a.note was changed on disk and has been reloaded",
              row.toldInStatus);
    // What is kept was not saved over the other program's file unasked.
    EXPECT_EQ(dialogs.messages.size(), !row.toldInStatus && row.reload ? 1u : 0u);
    static_cast<void>(app->Document()->DoFileSave());
    EXPECT_EQ(dialogs.changedFileAsked.size(), row.toldInStatus ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, WatchTest,
    ::testing::Values(
        WatchRow{"unmodifiedReloads", false, "note theirs\n", true, "note theirs\n", false, true},
        WatchRow{"partialIsNotTaken", false, "note cut", true, "note mine", true, false},
        WatchRow{"modifiedReloadChosen", true, "note theirs\n", true, "note theirs\n", false, true},
        WatchRow{"modifiedKept", true, "note theirs\n", false, "note mine", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnsavedWorkTest, OwnSavesDoNotLookLikeChanges) {
    StartChanged();
    ASSERT_TRUE(app->Document()->DoFileSave());
    platform.fileChanged();
    EXPECT_TRUE(dialogs.reloadAsked.empty());
    EXPECT_EQ(app->Document()->text, "note mine");
}

class ReloadRetryTest : public UnsavedWorkTest, public ::testing::WithParamInterface<bool> {};

// A reload that catches the file half written, or being rewritten, is not taken; the watch
// reads the file again once it looks changed, even with no signal, and takes it when whole,
// unless the world was changed here meanwhile: then the next signal asks as usual.
TEST_P(ReloadRetryTest, AReloadThatCouldNotTakeTheFileIsTriedAgainOnceItChanges) {
    const bool editedMeanwhile = GetParam();
    StartChanged();
    NoteDocument& document = *app->Document();
    document.SetModifiedFlag(false);
    int loads = 0;
    int rewrites = 0;
    document.whileLoading = [&] {
        ++loads;
        if (rewrites-- > 0) {
            WriteFileBytes(Path("a.note"), "note theirs, later\n");
        }
    };
    WriteFileBytes(Path("a.note"), "note cut");
    platform.fileChanged();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(document.IsModified());
    app->GetWatch()->Follow();  // the file is as the failed reload saw it
    EXPECT_EQ(loads, 1);
    if (editedMeanwhile) {
        document.text = "note edited";
        document.SetModifiedFlag();
    }
    WriteFileBytes(Path("a.note"), "note theirs\n");
    rewrites = 1;
    app->GetWatch()->Follow();  // rewritten while it is read
    EXPECT_EQ(loads, editedMeanwhile ? 1 : 2);
    app->GetWatch()->Follow();
    if (editedMeanwhile) {
        EXPECT_EQ(document.text, "note edited");
        platform.fileChanged();
        EXPECT_EQ(dialogs.reloadAsked.size(), 1u);
    } else {
        EXPECT_EQ(document.text, "note theirs, later\n");
        EXPECT_FALSE(document.IsModified());
        EXPECT_EQ(platform.lastFrameHost->statusBar.texts[0],
                  "a.note was changed on disk and has been reloaded");
    }
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Edits, ReloadRetryTest, ::testing::Bool());

// An exception out of a question leaves the watch ready for the next change.
TEST_F(UnsavedWorkTest, TheWatchAnswersTheNextChangeAfterAnException) {
    struct ThrowingDialogs : ScriptedDialogs {
        bool AskReloadChanged(const std::string& text) override {
            const bool answer = ScriptedDialogs::AskReloadChanged(text);
            if (reloadAsked.size() == 1) {
                throw std::runtime_error("no answer");
            }
            return answer;
        }
    } throwing;
    StartChanged();
    std::string watched;
    DocumentWatch watch(
        [this] { return app->Document(); }, throwing, [](const std::string&) {},
        [&](std::function<void()>) { return std::make_unique<FakeWatcher>(watched); });
    WriteFileBytes(Path("a.note"), "note theirs\n");
    EXPECT_THROW(watch.OnChanged(), std::runtime_error);
    watch.OnChanged();
    EXPECT_EQ(throwing.reloadAsked.size(), 2u);
}

class RecoveryAfterKillTest : public UnsavedWorkTest,
                              public ::testing::WithParamInterface<RecoveryChoice> {};

// A child changes a.note, keeps a copy and is killed; a live child's copy is nobody else's.
TEST_P(RecoveryAfterKillTest, TheNextStartOffersTheKilledRunsCopy) {
#ifdef _WIN32
    GTEST_SKIP() << "a run has no fork to copy it on Windows; the same promise is proven there "
                    "by RecoveryStoreTest, whose child is ended with TerminateProcess";
#else
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        StartChanged();
        app->GetRecovery()->Tick();
        const bool kept = app->GetRecovery()->Store().Wait();
        static_cast<void>(::write(ready[1], kept ? "k" : "f", 1));
        for (;;) {
            ::pause();
        }
    }
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'k');
    EXPECT_TRUE(RecoveryStore(Path("state")).TakeOrphans().empty());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    WriteFileBytes(Path("b.note"), "note b\n");
    dialogs.recoveryAnswers.push_back(GetParam());
    app = std::make_unique<NoteApp>();
    ASSERT_TRUE(app->Start(platform, {Path("b.note")}));
    app->StartRecovery(Path("state"));
    ASSERT_EQ(dialogs.recoveryAsked.size(), 1u);
    EXPECT_NE(dialogs.recoveryAsked[0].find(Path("a.note")), std::string::npos);
    const bool restored = GetParam() == RecoveryChoice::restore;
    EXPECT_EQ(app->Document()->text, restored ? "note mine\n" : "note b\n");
    EXPECT_EQ(app->Document()->GetPathName(), Path(restored ? "a.note" : "b.note"));
    EXPECT_EQ(app->Document()->IsModified(), restored);
    EXPECT_EQ(HasCopyOf(child), GetParam() == RecoveryChoice::later);
#endif
}

INSTANTIATE_TEST_SUITE_P(Choices, RecoveryAfterKillTest,
                         ::testing::Values(RecoveryChoice::restore, RecoveryChoice::discard,
                                           RecoveryChoice::later));

/// A copy left by a dead run of an earlier moment: a.note as it was then, and work on it.
void LeaveOrphan(const std::string& state, const std::string& file) {
    fs::create_directories(state);
    const FileStamp stamp = FileStamp::Of(file);
    const std::string note = file + '\0' + "100" + '\0' + "1 " + std::to_string(stamp.device) +
                             " " + std::to_string(stamp.inode) + " " + std::to_string(stamp.size) +
                             " " + std::to_string(stamp.modifiedNs) + " " +
                             std::to_string(stamp.hash) + '\0';
    WriteFileBytes(state + "/5-ab.lock", "");
    WriteFileBytes(state + "/5-ab.note", note);
    WriteFileBytes(state + "/5-ab.copy", "note restored\n");
}

class RestoreTest : public UnsavedWorkTest, public ::testing::WithParamInterface<bool> {};

// The old copy goes only once this run's copy of the restored work is whole; when the new copy
// cannot be written the person is told, and the old one stays for a later start.
TEST_P(RestoreTest, TheOldCopyGoesOnlyOnceTheNewOneIsWhole) {
    const bool writeFails = GetParam();
    WriteFileBytes(Path("a.note"), "note disk\n");
    LeaveOrphan(Path("state"), Path("a.note"));
    velk_test::FaultyOs os;
    ScopedOs inPlace(os);
    os.noWriters = true;
    os.fail = [&](const velk_test::FaultyOs::Call& call) {
        return writeFails && call.name == "Write" &&
                       call.path.find(Path("state")) != std::string::npos
                   ? ENOSPC
                   : 0;
    };
    dialogs.recoveryAnswers.push_back(RecoveryChoice::restore);
    app = std::make_unique<NoteApp>();
    ASSERT_TRUE(app->Start(platform, {}));
    app->StartRecovery(Path("state"));
    EXPECT_EQ(app->Document()->text, "note restored\n");
    EXPECT_TRUE(app->Document()->IsModified());
    EXPECT_EQ(fs::exists(Path("state/5-ab.copy")), writeFails);
    EXPECT_EQ(dialogs.messages.size(), writeFails ? 1u : 0u);
    if (!writeFails) {
        EXPECT_EQ(ReadFileBytes(OwnCopy()).rfind("note restored", 0), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(NewCopy, RestoreTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Fails" : "Written"; });

// The restored work knows the file as it was at the crash: a change made since by somebody else
// is asked about before a save writes over it.
TEST_F(UnsavedWorkTest, AChangeBetweenTheCrashAndTheRestartIsAskedAbout) {
    WriteFileBytes(Path("a.note"), "note disk\n");
    LeaveOrphan(Path("state"), Path("a.note"));
    WriteFileBytes(Path("a.note"), "note theirs, after the crash\n");
    dialogs.recoveryAnswers.push_back(RecoveryChoice::restore);
    app = std::make_unique<NoteApp>();
    ASSERT_TRUE(app->Start(platform, {}));
    app->StartRecovery(Path("state"));
    EXPECT_FALSE(app->Document()->DoFileSave());
    EXPECT_EQ(dialogs.changedFileAsked.size(), 1u);
    EXPECT_EQ(ReadFileBytes(Path("a.note")), "note theirs, after the crash\n");
}

// Copies that cannot be kept are told once, not at every period.
TEST_F(UnsavedWorkTest, CopiesThatCannotBeKeptAreToldOnce) {
    WriteFileBytes(Path("a.note"), "note disk\n");
    WriteFileBytes(Path("blocker"), "");
    app = std::make_unique<NoteApp>();
    ASSERT_TRUE(app->Start(platform, {Path("a.note")}));
    app->StartRecovery(Path("blocker/state"));
    for (int tick = 0; tick < 3; ++tick) {
        app->Document()->SetModifiedFlag();
        app->GetRecovery()->Tick();
    }
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].second.find("cannot be kept in recovery copies"),
              std::string::npos);
}

}  // namespace
