// The questions on Windows: the same texts and buttons as on Linux, each button's answer, and
// Escape as the safe answer; the progress dialog's Cancel; velk.exe's version resource.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "NativeDriver.h"
#include "app/VelkResources.h"
#include "files/ProgressObserver.h"
#include "framework/AfxIds.h"
#include "win32/Win32Dialogs.h"
#include "win32/Win32ProgressDialog.h"

namespace {

using namespace win32_test;

struct Question {
    const char* name;
    std::function<std::string(Win32Dialogs&)> ask;  ///< the answer, as text
    std::vector<std::string> buttons;
    int defaultButton;
    int click;  ///< the id of the button pressed
    std::string answer;
};

// Message boxes number their buttons as Windows does (IDYES 6, IDNO 7); the questions with
// buttons of their own from 100 on, and Escape is IDCANCEL (2).
const std::string kText = "The file C:\\worlds\\a.world was changed.";
const Question kQuestions[] = {
    {"SaveChangesNo",
     [](Win32Dialogs& d) { return std::to_string(int(d.AskSaveChanges("a.world"))); },
     {"&Yes", "&No", "Cancel"},
     6,
     7,
     std::to_string(int(SaveChoice::discard))},
    {"RecoveryDiscard",
     [](Win32Dialogs& d) { return std::to_string(int(d.AskRecovery(kText))); },
     {"&Restore", "&Discard", "&Later"},
     100,
     101,
     std::to_string(int(RecoveryChoice::discard))},
    {"RecoveryEscapeIsLater",
     [](Win32Dialogs& d) { return std::to_string(int(d.AskRecovery(kText))); },
     {"&Restore", "&Discard", "&Later"},
     100,
     2,
     std::to_string(int(RecoveryChoice::later))},
    {"ChangedFileSaveAs",
     [](Win32Dialogs& d) { return std::to_string(int(d.AskChangedFile(kText))); },
     {"&Overwrite", "Save &As...", "Cancel"},
     102,
     101,
     std::to_string(int(ChangedFileChoice::saveAs))},
    {"ReloadKeepsMineOnEscape",
     [](Win32Dialogs& d) { return d.AskReloadChanged(kText) ? "reload" : "keep"; },
     {"&Reload", "&Keep Mine"},
     101,
     2,
     "keep"},
    {"Reload",
     [](Win32Dialogs& d) { return d.AskReloadChanged(kText) ? "reload" : "keep"; },
     {"&Reload", "&Keep Mine"},
     101,
     100,
     "reload"},
};

void PrintTo(const Question& question, std::ostream* out) {
    *out << question.name;
}

class Win32QuestionTest : public ::testing::TestWithParam<Question> {};

TEST_P(Win32QuestionTest, ShowsTheLinuxTextsAndAnswersTheButtonPressed) {
    const Question& question = GetParam();
    Win32Dialogs dialogs;
    DialogContents seen;
    OnNextDialog([&](void* dialog) {
        seen = ReadDialog(dialog);
        ClickButton(dialog, question.click);
    });
    EXPECT_EQ(question.ask(dialogs), question.answer);
    EXPECT_EQ(seen.caption, "Velk");
    EXPECT_EQ(seen.buttons, question.buttons);
    EXPECT_EQ(seen.defaultButton, question.defaultButton);
    ASSERT_FALSE(seen.texts.empty());
    const std::string& text = seen.texts.back();
    EXPECT_EQ(text, question.defaultButton == 6 ? "Save changes to a.world?" : kText);
}

INSTANTIATE_TEST_SUITE_P(Each, Win32QuestionTest, ::testing::ValuesIn(kQuestions),
                         [](const auto& row) { return std::string(row.param.name); });

// The progress dialog names the file and how far the work is; Cancel makes the next update
// answer false, and a report that can no longer be cancelled takes Cancel's effect away.
TEST(Win32ProgressDialogTest, ShowsTheWorkAndItsCancelStopsIt) {
    Win32ProgressDialog progress("Opening", "Opening big.world", nullptr);
    ProgressReport report;
    report.total = 1000;
    report.done = 250;
    report.cancellable = true;
    EXPECT_TRUE(progress.Update(report));
    const DialogContents seen = ReadDialog(progress.Handle());
    EXPECT_EQ(seen.caption, "Opening");
    ASSERT_FALSE(seen.texts.empty());
    EXPECT_EQ(seen.texts[0].rfind("Opening big.world\n25% of ", 0), 0u) << seen.texts[0];
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"Cancel"}));

    ClickButton(progress.Handle(), afx::IDCANCEL);
    EXPECT_FALSE(progress.Update(report));
    report.cancellable = false;
    EXPECT_TRUE(progress.Update(report));
    EXPECT_NE(ReadDialog(progress.Handle()).texts[0].find(", finishing"), std::string::npos);
}

// velk.exe's version resource, which Windows shows in the file's properties, is the record the
// program carries, number for number and value for value.
TEST(Win32ResourcesTest, TheProgramFilesVersionIsTheProgramsOwnRecord) {
    const VersionRecord& record = VelkResources().version;
    std::vector<std::string> keys;
    for (const auto& entry : record.strings) {
        keys.push_back(entry.first);
    }
    const FileVersion version = ReadFileVersion(VELK_EXE, keys);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(version.numbers[i], record.fileVersion[i]) << "number " << i;
    }
    EXPECT_EQ(version.strings, record.strings);
}

}  // namespace
