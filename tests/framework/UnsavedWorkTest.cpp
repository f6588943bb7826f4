// Work that others change on disk, and work that a kill would take: real files in a temporary
// folder, and a real process killed with SIGKILL.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "AppTestKit.h"
#include "files/RecoveryStore.h"
#include "framework/DocumentRecovery.h"
#include "framework/DocumentWatch.h"
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
    bool HasCopyOf(pid_t process) const {
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
}

INSTANTIATE_TEST_SUITE_P(Choices, RecoveryAfterKillTest,
                         ::testing::Values(RecoveryChoice::restore, RecoveryChoice::discard,
                                           RecoveryChoice::later));

}  // namespace
