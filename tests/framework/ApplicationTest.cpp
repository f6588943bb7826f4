#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "AppTestKit.h"
#include "files/FileStamp.h"
#include "framework/CFileException.h"
#include "framework/CRecentFileList.h"
#include "support/TestFiles.h"

namespace {

using namespace app_test;
namespace fs = std::filesystem;

using velk_test::ReadFileBytes;

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

/// A running note application over a fresh folder of files.
class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Short, so that the recent-file menu shows the paths whole.
        static int made = 0;
        folder = fs::temp_directory_path() /
                 ("velk-app-" + std::to_string(::getpid()) + "-" + std::to_string(++made));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        if (app != nullptr) {
            app->Finish(0);
        }
        app.reset();
        // Windows removes no read-only file; tests leave some.
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ignored)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(folder);
    }

    bool Start(std::vector<std::string> arguments = {}) {
        if (app != nullptr) {
            app->Finish(0);
        }
        app = std::make_unique<NoteApp>();
        return app->Start(platform, std::move(arguments));
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    FakeFrameHost& Host() const { return *platform.lastFrameHost; }
    NoteDocument& Document() const { return *app->Document(); }
    CFrameWnd& Frame() const { return *app->GetMainWnd(); }

    fs::path folder;
    ScriptedDialogs dialogs;
    std::map<std::string, std::string> settings;
    FakePlatform platform{dialogs, settings};
    std::unique_ptr<NoteApp> app;
};

TEST_F(ApplicationTest, StartsWithAnUntitledDocumentInAShownFrame) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(Host().title, "Untitled - Notes");
    EXPECT_TRUE(Host().shown);
    EXPECT_EQ(platform.settingsOpenedAs, "Test Key/Notes");
    EXPECT_EQ(Host().statusBar.texts, (std::vector<std::string>{"Ready", "CAP", "NUM", "SCRL"}));
    EXPECT_TRUE(Host().statusBar.visible);
    ASSERT_NE(Frame().GetActiveView(), nullptr);
    EXPECT_EQ(Frame().GetActiveView()->GetHost(), &Host().client);
}

TEST_F(ApplicationTest, OpensTheFileNamedOnTheCommandLine) {
    WriteFile(Path("a.note"), "note a\n");
    ASSERT_TRUE(Start({Path("a.note")}));
    EXPECT_EQ(Document().text, "note a\n");
    EXPECT_EQ(Document().GetPathName(), Path("a.note"));
    EXPECT_EQ(Host().title, "a.note - Notes");
    EXPECT_FALSE(Host().titleModified);
}

// At start-up a file that cannot be opened ends the program: no window is left, and the person
// was told which file and why.
TEST_F(ApplicationTest, AFileThatCannotBeOpenedAtStartEndsTheProgram) {
    EXPECT_FALSE(Start({Path("missing.note")}));
    EXPECT_EQ(app->GetMainWnd(), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].first, MessageKind::error);
    EXPECT_NE(dialogs.messages[0].second.find(Path("missing.note")), std::string::npos);
    EXPECT_NE(dialogs.messages[0].second.find("No such file"), std::string::npos);
}

TEST_F(ApplicationTest, TheTitleFollowsTheModifiedFlag) {
    ASSERT_TRUE(Start());
    Document().SetModifiedFlag();
    EXPECT_TRUE(Host().titleModified);
    Document().SetModifiedFlag(false);
    EXPECT_FALSE(Host().titleModified);
}

// Commands reach the view, the document, the frame and the application in that order; one
// that nobody handles is disabled and does not run.
struct RoutingRow {
    const char* name;
    unsigned id;
    bool enabled;
};

class CommandRoutingTest : public ApplicationTest,
                           public ::testing::WithParamInterface<RoutingRow> {};

TEST_P(CommandRoutingTest, EnablesExactlyTheCommandsSomeoneHandles) {
    ASSERT_TRUE(Start());
    CCmdUI ui = Frame().QueryCommand(GetParam().id);
    EXPECT_EQ(ui.IsHandled() && ui.IsEnabled(), GetParam().enabled);
    if (!GetParam().enabled) {
        EXPECT_FALSE(Frame().ExecuteCommand(GetParam().id));
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandRoutingTest,
                         ::testing::Values(RoutingRow{"New", afx::ID_FILE_NEW, true},
                                           RoutingRow{"Open", afx::ID_FILE_OPEN, true},
                                           RoutingRow{"Save", afx::ID_FILE_SAVE, true},
                                           RoutingRow{"SaveAs", afx::ID_FILE_SAVE_AS, true},
                                           RoutingRow{"Exit", afx::ID_APP_EXIT, true},
                                           RoutingRow{"StatusBar", afx::ID_VIEW_STATUS_BAR, true},
                                           RoutingRow{"EmptyRecentFiles", afx::ID_FILE_MRU_FILE1,
                                                      false},
                                           RoutingRow{"Undo", afx::ID_EDIT_UNDO, false},
                                           RoutingRow{"Cut", afx::ID_EDIT_CUT, false},
                                           RoutingRow{"Copy", afx::ID_EDIT_COPY, false},
                                           RoutingRow{"Paste", afx::ID_EDIT_PASTE, false},
                                           RoutingRow{"NextPane", afx::ID_NEXT_PANE, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ApplicationTest, ViewStatusBarTogglesTheBarAndItsCheck) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame().QueryCommand(afx::ID_VIEW_STATUS_BAR).IsChecked());
    EXPECT_TRUE(Frame().ExecuteCommand(afx::ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(Host().statusBar.visible);
    EXPECT_FALSE(Frame().QueryCommand(afx::ID_VIEW_STATUS_BAR).IsChecked());
    EXPECT_TRUE(Frame().ExecuteCommand(afx::ID_VIEW_STATUS_BAR));
    EXPECT_TRUE(Host().statusBar.visible);
}

TEST_F(ApplicationTest, TheMessagePaneShowsTheHighlightedItemsPromptThenReady) {
    ASSERT_TRUE(Start());
    Frame().OnMenuSelect(afx::ID_FILE_NEW);
    EXPECT_EQ(Host().statusBar.texts[0], "Create a new document");
    Frame().OnMenuSelect(afx::ID_EDIT_UNDO);  // no string: the idle message
    EXPECT_EQ(Host().statusBar.texts[0], "Ready");
    Frame().OnMenuSelect(afx::ID_FILE_SAVE);
    Frame().OnMenuSelect(0);
    EXPECT_EQ(Host().statusBar.texts[0], "Ready");
}

TEST_F(ApplicationTest, SaveAsWritesTheFileAndRenamesTheDocument) {
    ASSERT_TRUE(Start());
    Document().text = "note written";
    Document().SetModifiedFlag();
    dialogs.saveAnswers.push_back(Path("b.note"));
    EXPECT_TRUE(Frame().ExecuteCommand(afx::ID_FILE_SAVE));  // untitled: Save asks for a name
    EXPECT_EQ(ReadFileBytes(Path("b.note")), "note written\n");
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(Host().title, "b.note - Notes");
    ASSERT_EQ(app->GetRecentFileList()->GetSize(), 1u);
    EXPECT_EQ((*app->GetRecentFileList())[0], Path("b.note"));
}

// A save that fails tells why, keeps the document modified and its name, and leaves the file
// on disk as it was.
TEST_F(ApplicationTest, AFailedSaveKeepsTheDocumentModifiedAndTheFileWhole) {
    WriteFile(Path("c.note"), "note old\n");
    ASSERT_TRUE(Start({Path("c.note")}));
    Document().text = "note new";
    Document().SetModifiedFlag();
    fs::permissions(Path("c.note"), fs::perms::owner_read);
    bool canWrite = std::ofstream(Path("c.note"), std::ios::app).good();  // root writes anything
    if (canWrite) {
        // Saving to a folder that does not exist fails the same way for every user.
        dialogs.saveAnswers.push_back(Path("no-such-folder/c.note"));
        EXPECT_FALSE(Document().DoSave(""));
    } else {
        EXPECT_FALSE(Document().DoFileSave());  // refused; Save As is offered and cancelled
    }
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(Document().GetPathName(), Path("c.note"));
    EXPECT_EQ(ReadFileBytes(Path("c.note")), "note old\n");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].first, MessageKind::error);
    EXPECT_NE(dialogs.messages[0].second.find("c.note"), std::string::npos)
        << dialogs.messages[0].second;
}

// Save does not replace a file that may not be written: it says so and offers Save As. Root
// writes anything, so the person is nobody, in a child.
TEST_F(ApplicationTest, SaveOfAReadOnlyFileOffersSaveAs) {
    fs::permissions(folder, fs::perms::all);
    WriteFile(Path("r.note"), "note old\n");
    fs::permissions(Path("r.note"), fs::perms::owner_read | fs::perms::others_read);
    const auto saveAsNobody = [&] {
        bool ok = Start({Path("r.note")});
        Document().text = "note new";
        Document().SetModifiedFlag();
        dialogs.saveAnswers.push_back(Path("s.note"));
        ok = ok && Frame().ExecuteCommand(afx::ID_FILE_SAVE) && dialogs.messages.size() == 1 &&
             dialogs.messages[0].second.find("Permission denied") != std::string::npos &&
             ReadFileBytes(Path("s.note")) == "note new\n" &&
             Document().GetPathName() == Path("s.note");
        return ok;
    };
#ifdef _WIN32
    // The read-only attribute holds for every user, so no one else needs to be the person.
    EXPECT_TRUE(saveAsNobody());
#else
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        ::_exit(saveAsNobody() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
#endif
    EXPECT_EQ(ReadFileBytes(Path("r.note")), "note old\n");
}

// What an open leaves behind, by how it went.
struct OpenRow {
    const char* name;
    const char* content;  ///< null: the file does not exist
    void (*whileLoading)();
    bool modifiedBefore;
    bool opens;
    const char* textAfter;
    const char* titleAfter;
    std::optional<MessageKind> told;
};

class OpenOutcomeTest : public ApplicationTest, public ::testing::WithParamInterface<OpenRow> {};

TEST_P(OpenOutcomeTest, LeavesADocumentThatCannotOverwriteTheWrongFile) {
    const OpenRow& row = GetParam();
    WriteFile(Path("first.note"), "note first\n");
    ASSERT_TRUE(Start({Path("first.note")}));
    const FileStamp stamp = Document().GetDiskStamp();
    Document().whileLoading = row.whileLoading;
    Document().SetModifiedFlag(row.modifiedBefore);
    dialogs.saveChangesAnswers.push_back(SaveChoice::discard);
    if (row.content != nullptr) {
        WriteFile(Path("second.note"), row.content);
    }
    dialogs.openAnswers.push_back(Path("second.note"));
    Frame().ExecuteCommand(afx::ID_FILE_OPEN);

    EXPECT_EQ(Document().text, row.textAfter);
    EXPECT_EQ(Host().title, row.titleAfter);
    EXPECT_EQ(Document().GetPathName(), Path(row.opens ? "second.note" : "first.note"));
    EXPECT_EQ(Document().IsModified(), row.modifiedBefore && !row.opens);
    EXPECT_EQ(Host().titleModified, Document().IsModified());
    if (!row.opens) {
        EXPECT_TRUE(stamp.LooksLike(Document().GetDiskStamp()));
        EXPECT_EQ(stamp.hash, Document().GetDiskStamp().hash);
    }
    ASSERT_EQ(dialogs.messages.size(), row.told ? 1u : 0u);
    if (row.told) {
        EXPECT_EQ(dialogs.messages[0].first, *row.told);
        EXPECT_NE(dialogs.messages[0].second.find(Path("second.note")), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenOutcomeTest,
    ::testing::Values(
        // Nothing was read: the document is untouched and keeps its file.
        OpenRow{"Missing", nullptr, nullptr, false, false, "note first\n", "first.note - Notes",
                MessageKind::error},
        // Read, then refused, or read in part and then out of memory: what was open comes back,
        // modified flag, stamp and all, so Save writes only to the file it came from.
        OpenRow{"NotANote", "hello\n", nullptr, false, false, "note first\n", "first.note - Notes",
                MessageKind::error},
        OpenRow{"OutOfMemory", "note second\n", [] { throw std::bad_alloc(); }, true, false,
                "note first\n", "first.note - Notes", MessageKind::error},
        // Cancelled in the progress dialog: the same, and nothing to say.
        OpenRow{"Cancelled", "note second\n",
                [] { throw CFileException(CFileException::open, "x", "cancelled", ECANCELED); },
                false, false, "note first\n", "first.note - Notes", std::nullopt},
        // Read in part: open, with a warning that saving replaces the file.
        OpenRow{"Partial", "note cut", nullptr, false, true, "note cut", "second.note - Notes",
                MessageKind::warning}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ApplicationTest, APartialReadWarnsWhereItStoppedAndThatSavingReplacesTheFile) {
    WriteFile(Path("cut.note"), "note cut");
    ASSERT_TRUE(Start({Path("cut.note")}));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string& warning = dialogs.messages[0].second;
    EXPECT_NE(warning.find("line 1, column 9"), std::string::npos) << warning;
    EXPECT_NE(warning.find("saving will replace the file"), std::string::npos) << warning;
}

// Closing or replacing a modified document asks first; the answer decides.
struct PromptRow {
    const char* name;
    bool modified;
    SaveChoice answer;
    bool proceeds;
    bool saved;
};

class SavePromptTest : public ApplicationTest, public ::testing::WithParamInterface<PromptRow> {};

TEST_P(SavePromptTest, AsksOnlyForModifiedDocumentsAndObeysTheAnswer) {
    const PromptRow& row = GetParam();
    WriteFile(Path("d.note"), "note d\n");
    ASSERT_TRUE(Start({Path("d.note")}));
    Document().text = "note changed";
    Document().SetModifiedFlag(row.modified);
    dialogs.saveChangesAnswers.push_back(row.answer);

    EXPECT_EQ(Frame().OnClose(), row.proceeds);
    EXPECT_EQ(platform.quit, row.proceeds);
    EXPECT_EQ(dialogs.saveChangesAsked,
              row.modified ? std::vector<std::string>{Path("d.note")} : std::vector<std::string>{});
    EXPECT_EQ(ReadFileBytes(Path("d.note")), row.saved ? "note changed\n" : "note d\n");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SavePromptTest,
    ::testing::Values(PromptRow{"Unmodified", false, SaveChoice::cancel, true, false},
                      PromptRow{"Save", true, SaveChoice::save, true, true},
                      PromptRow{"Discard", true, SaveChoice::discard, true, false},
                      PromptRow{"Cancel", true, SaveChoice::cancel, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ApplicationTest, CancellingThePromptKeepsTheModifiedDocumentOnNew) {
    ASSERT_TRUE(Start());
    Document().text = "note kept";
    Document().SetModifiedFlag();
    dialogs.saveChangesAnswers.push_back(SaveChoice::cancel);
    Frame().ExecuteCommand(afx::ID_FILE_NEW);
    EXPECT_EQ(Document().text, "note kept");
    EXPECT_TRUE(Document().IsModified());
}

// The recent files survive a restart through the settings, and fill the File menu in place of
// its placeholder; a file that has gone leaves the list when it is chosen.
TEST_F(ApplicationTest, RecentFilesSurviveARestartAndFillTheFileMenu) {
    for (const char* name : {"1.note", "2.note", "3.note", "4.note", "5.note"}) {
        WriteFile(Path(name), std::string("note ") + name + "\n");
    }
    ASSERT_TRUE(Start());
    for (const char* name : {"1.note", "2.note", "3.note", "4.note", "5.note", "3.note"}) {
        ASSERT_NE(app->OpenDocumentFile(Path(name)), nullptr);
    }
    ASSERT_TRUE(Start());  // finishes the first run, then starts again
    std::vector<std::string> texts;
    for (const MenuItem& item : Frame().GetMenuItems(0)) {
        if (item.command >= afx::ID_FILE_MRU_FILE1 && item.command <= afx::ID_FILE_MRU_FILE16) {
            texts.push_back(item.text);
            EXPECT_TRUE(Frame().QueryCommand(item.command).IsEnabled());
        }
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"&1 " + Path("3.note"), "&2 " + Path("5.note"),
                                               "&3 " + Path("4.note"), "&4 " + Path("2.note")}));

    fs::remove(Path("5.note"));
    Frame().ExecuteCommand(afx::ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(app->GetRecentFileList()->GetSize(), 3u);
    ASSERT_TRUE(Frame().ExecuteCommand(afx::ID_FILE_MRU_FILE1 + 2));  // 2.note
    EXPECT_EQ(Document().GetPathName(), Path("2.note"));
    EXPECT_EQ((*app->GetRecentFileList())[0], Path("2.note"));
}

TEST_F(ApplicationTest, ExitAsksTheFrameToCloseWhichEndsTheLoop) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame().ExecuteCommand(afx::ID_APP_EXIT));
    EXPECT_TRUE(platform.quit);
    EXPECT_EQ(platform.exitCode, 0);
}

// A frame keeps to its own application when another one is current.
TEST_F(ApplicationTest, AFrameKeepsToItsOwnApplication) {
    WriteFile(Path("a.note"), "note a\n");
    ASSERT_TRUE(Start({Path("a.note")}));
    NoteApp other;
    EXPECT_EQ(Frame().GetMenuItems(0)[3].text, "&1 " + Path("a.note"));
    EXPECT_TRUE(Frame().ExecuteCommand(afx::ID_APP_EXIT));
    EXPECT_TRUE(platform.quit);
}

TEST_F(ApplicationTest, AFrameThatCannotBeMadeFailsTheStart) {
    platform.refuseFrames = true;
    EXPECT_FALSE(Start());
    EXPECT_EQ(app->GetMainWnd(), nullptr);
}

}  // namespace
