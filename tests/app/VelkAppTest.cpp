#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AppTestKit.h"
#include "app/CMainFrame.h"
#include "app/CVelkApp.h"
#include "app/ProgramCommand.h"
#include "app/ResourceIds.h"
#include "app/VelkResources.h"
#include "document/World.h"
#include "files/Os.h"
#include "gdi/PngFile.h"
#include "support/TestFiles.h"

namespace {

using app_test::FakePlatform;
using app_test::ScriptedDialogs;
namespace fs = std::filesystem;

const fs::path kExample = fs::path(VELK_WORLDS_DIR) / "example.world";

using velk_test::ReadFileBytes;

class VelkAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int made = 0;
        folder = fs::temp_directory_path() /
                 ("velk-velkapp-" + std::to_string(TheOs().CurrentProcess()) + "-" +
                  std::to_string(++made));
        fs::create_directories(folder);
    }
    void TearDown() override {
        app.Finish(0);
        fs::remove_all(folder);
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    World& TheWorld() { return *dynamic_cast<World*>(app.GetMainWnd()->GetActiveDocument()); }

    fs::path folder;
    ScriptedDialogs dialogs;
    std::map<std::string, std::string> settings;
    FakePlatform platform{dialogs, settings};
    CVelkApp app;
};

TEST_F(VelkAppTest, StartsOnANewEmptyWorldWithItsStatusBar) {
    ASSERT_TRUE(app.Start(platform, {}));
    EXPECT_EQ(platform.settingsOpenedAs, "Local AppWizard-Generated Applications/Velk");
    EXPECT_EQ(platform.lastFrameHost->title, "Untitled - Velk");
    std::int32_t width = 0, height = 0;
    TheWorld().GetWorldSize(width, height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 1024);
    auto* frame = dynamic_cast<CMainFrame*>(app.GetMainWnd());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetRuntimeClass()->className, std::string("CMainFrame"));
    EXPECT_EQ(platform.lastFrameHost->statusBar.ids,
              (std::vector<unsigned>{afx::ID_SEPARATOR, afx::ID_INDICATOR_CAPS,
                                     afx::ID_INDICATOR_NUM, afx::ID_INDICATOR_SCRL}));
    EXPECT_EQ(frame->GetStatusBarControl().GetDlgCtrlID(), afx::AFX_IDW_STATUS_BAR);
    EXPECT_EQ(app.GetRecentFileList()->GetMaxSize(), 4u);
}

// A world that reads only in part opens with what was read, and a warning names the line and
// column where reading stopped and that saving will replace the file.
TEST_F(VelkAppTest, AWorldReadInPartOpensWithAWarningWhereItStopped) {
    std::string text = ReadFileBytes(kExample);
    std::ofstream(Path("cut.world"), std::ios::binary)
        << text.substr(0, text.find("rectangle")) << "rectangle { color { 0 x";
    ASSERT_TRUE(app.Start(platform, {Path("cut.world")}));
    EXPECT_EQ(TheWorld().GetAllObjects().count, 2);  // the second one breaks off in its shape
    EXPECT_EQ(platform.lastFrameHost->title, "cut.world - Velk");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string& warning = dialogs.messages[0].second;
    EXPECT_EQ(dialogs.messages[0].first, MessageKind::warning);
    EXPECT_NE(warning.find(Path("cut.world")), std::string::npos) << warning;
    EXPECT_NE(warning.find("line 12, column 27"), std::string::npos) << warning;
    EXPECT_NE(warning.find("saving will replace the file"), std::string::npos) << warning;
}

// Words the reader skips would vanish at the next save: the world opens, with a warning that
// names the first of them and where it stood.
TEST_F(VelkAppTest, AWorldWithWordsItDoesNotUnderstandOpensWithAWarning) {
    std::string text = ReadFileBytes(kExample);
    text.insert(text.find("    rectangle"), "    circle { 1 2 3 } \n");
    std::ofstream(Path("odd.world"), std::ios::binary) << text;
    ASSERT_TRUE(app.Start(platform, {Path("odd.world")}));
    EXPECT_EQ(TheWorld().GetAllObjects().count, 2);
    EXPECT_FALSE(TheWorld().IsModified());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string& warning = dialogs.messages[0].second;
    EXPECT_EQ(dialogs.messages[0].first, MessageKind::warning);
    EXPECT_NE(warning.find("\"circle\" at line 12, column 5"), std::string::npos) << warning;
    EXPECT_NE(warning.find("Saving will replace the file"), std::string::npos) << warning;
}

TEST_F(VelkAppTest, ANonWorldFileOnTheCommandLineEndsTheProgramWithTheReason) {
    std::ofstream(Path("photo.png")) << "\x89PNG\r\n";
    EXPECT_FALSE(app.Start(platform, {Path("photo.png")}));
    EXPECT_EQ(app.GetMainWnd(), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].second.find(Path("photo.png")), std::string::npos);
    EXPECT_NE(dialogs.messages[0].second.find("not a world file"), std::string::npos);
}

// A save that fails says why; the world stays modified and the file on disk unchanged.
TEST_F(VelkAppTest, AFailedSaveOfAWorldLeavesTheFileAndTheModifiedFlag) {
    fs::copy_file(kExample, Path("w.world"));
    ASSERT_TRUE(app.Start(platform, {Path("w.world")}));
    TheWorld().MarkChanged();
    dialogs.saveAnswers.push_back(Path("gone/w.world"));
    app.GetMainWnd()->ExecuteCommand(afx::ID_FILE_SAVE_AS);
    EXPECT_TRUE(TheWorld().IsModified());
    EXPECT_TRUE(platform.lastFrameHost->titleModified);
    EXPECT_EQ(TheWorld().GetPathName(), Path("w.world"));
    EXPECT_EQ(ReadFileBytes(Path("w.world")), ReadFileBytes(kExample));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].second.find(Path("gone/w.world")), std::string::npos);
}

TEST_F(VelkAppTest, HelpAboutRunsDialog100) {
    ASSERT_TRUE(app.Start(platform, {}));
    EXPECT_TRUE(app.GetMainWnd()->ExecuteCommand(afx::ID_APP_ABOUT));
    EXPECT_EQ(dialogs.modalRuns, 1);
}

TEST(VelkResourcesTest, DocumentStringAboutBoxAndVersion) {
    const ResourceSet& resources = VelkResources();
    EXPECT_EQ(resources.LoadString(velk::IDR_MAINFRAME),
              "Velk\n\nVelk\n\n\nVelk.Document\nVelk Document");
    const DialogTemplate& about = resources.dialogs.at(velk::IDD_ABOUTBOX);
    EXPECT_EQ(about.caption, "About Velk");
    EXPECT_EQ(about.width, 217);
    EXPECT_EQ(about.height, 55);
    ASSERT_EQ(about.controls.size(), 4u);
    EXPECT_EQ(about.controls[2].id, afx::IDOK);
    EXPECT_EQ(about.controls[3].text, "128");
    EXPECT_EQ(resources.version.Value("FileVersion"), "1, 0, 0, 1");
    EXPECT_EQ(resources.version.Value("LegalCopyright"), about.controls[1].text);
    for (unsigned group : {velk::IDR_MAINFRAME, velk::IDR_VELKTYPE}) {
        const std::vector<IconImage>& images = resources.icons.at(group);
        ASSERT_EQ(images.size(), 2u);
        EXPECT_EQ(images[0].width, 32);
        EXPECT_EQ(images[1].width, 16);
        // Every icon is a PNG file.
        for (const IconImage& image : images) {
            ASSERT_GT(image.png.size(), 8u);
            EXPECT_EQ(std::string(image.png.begin() + 1, image.png.begin() + 4), "PNG");
        }
    }
    // Every command of the menu has a prompt string, but the recent files have no shortcut.
    for (const MenuItem& popup : resources.menus.at(velk::IDR_MAINFRAME)) {
        for (const MenuItem& item : popup.items) {
            if (item.kind == MenuItem::Kind::Command) {
                EXPECT_FALSE(resources.LoadString(item.command).empty()) << item.text;
            }
        }
    }
}

// The program's arguments.
struct ArgumentsRow {
    const char* name;
    std::vector<std::string> arguments;
    ProgramCommand::Mode mode;
    const char* file;
    const char* output;
};

class ProgramCommandTest : public ::testing::TestWithParam<ArgumentsRow> {};

TEST_P(ProgramCommandTest, ReadsModesFilesAndOutput) {
    ProgramCommand command = ParseProgramCommand(GetParam().arguments);
    EXPECT_EQ(command.mode, GetParam().mode) << command.error;
    if (command.mode != ProgramCommand::Mode::invalid) {
        EXPECT_EQ(command.file, GetParam().file);
        EXPECT_EQ(command.output, GetParam().output);
    } else {
        EXPECT_FALSE(command.error.empty());
    }
}

using Mode = ProgramCommand::Mode;
INSTANTIATE_TEST_SUITE_P(
    Arguments, ProgramCommandTest,
    ::testing::Values(
        ArgumentsRow{"Nothing", {}, Mode::window, "", ""},
        ArgumentsRow{"File", {"a.world"}, Mode::window, "a.world", ""},
        ArgumentsRow{"DashFileAfterDashes", {"--", "-a.world"}, Mode::window, "-a.world", ""},
        ArgumentsRow{
            "Render", {"--render", "a.world", "-o", "a.png"}, Mode::render, "a.world", "a.png"},
        ArgumentsRow{"RenderOutputFirst",
                     {"-o", "a.png", "--render", "a.world"},
                     Mode::render,
                     "a.world",
                     "a.png"},
        ArgumentsRow{"RenderWithoutOutput", {"--render", "a.world"}, Mode::invalid, "", ""},
        ArgumentsRow{"OutputWithoutName", {"--render", "a.world", "-o"}, Mode::invalid, "", ""},
        ArgumentsRow{"Check", {"--check", "a.world"}, Mode::check, "a.world", ""},
        ArgumentsRow{"CheckWithoutFile", {"--check"}, Mode::invalid, "", ""},
        ArgumentsRow{"Help", {"--help"}, Mode::help, "", ""},
        ArgumentsRow{"Version", {"--version"}, Mode::version, "", ""},
        ArgumentsRow{"TwoModes", {"--check", "--render", "a.world"}, Mode::invalid, "", ""},
        ArgumentsRow{"TwoFiles", {"a.world", "b.world"}, Mode::invalid, "", ""},
        ArgumentsRow{"Unknown", {"--frobnicate"}, Mode::invalid, "", ""},
        ArgumentsRow{"OutputWithoutRender", {"a.world", "-o", "a.png"}, Mode::invalid, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramToolsTest, CheckAnswersZeroOnlyForACompleteWorld) {
    std::ostringstream out;
    EXPECT_EQ(CheckWorldFileCommand(kExample.string(), out), 0);
    EXPECT_NE(out.str().find("complete"), std::string::npos);
    std::ostringstream missing;
    EXPECT_NE(CheckWorldFileCommand("/nonexistent/x.world", missing), 0);
    EXPECT_NE(missing.str().find("/nonexistent/x.world"), std::string::npos);
}

TEST(ProgramToolsTest, RenderWritesThePictureOrSaysWhyNot) {
    fs::path png = fs::temp_directory_path() /
                   ("velk-render-" + std::to_string(TheOs().CurrentProcess()) + ".png");
    std::ostringstream errors;
    ASSERT_EQ(RenderWorldFile(kExample.string(), png.string(), errors), 0) << errors.str();
    CBitmap picture;
    std::string error;
    ASSERT_TRUE(ReadPng(png.string(), &picture, &error)) << error;
    EXPECT_EQ(picture.GetWidth(), 800);
    EXPECT_EQ(picture.GetHeight(), 600);
    fs::remove(png);

    std::ostringstream refused;
    EXPECT_EQ(RenderWorldFile("/nonexistent/x.world", png.string(), refused), 1);
    EXPECT_NE(refused.str().find("/nonexistent/x.world"), std::string::npos);
    EXPECT_FALSE(fs::exists(png));

    // Words a save would drop: painted, but with a warning and the status --check gives.
    const fs::path world = png.string() + ".world";
    std::ofstream(world, std::ios::binary) << "20 10 strange\n";
    std::ostringstream warned;
    EXPECT_EQ(RenderWorldFile(world.string(), png.string(), warned), 1);
    EXPECT_NE(warned.str().find("warning"), std::string::npos) << warned.str();
    CBitmap painted;
    EXPECT_TRUE(ReadPng(png.string(), &painted, &error)) << error;
    std::ostringstream checked;
    EXPECT_EQ(CheckWorldFileCommand(world.string(), checked), 1);
    std::ostringstream itself;
    EXPECT_EQ(RenderWorldFile(world.string(), world.string(), itself), 1);
    EXPECT_EQ(ReadFileBytes(world), "20 10 strange\n");
    fs::remove(world);
    fs::remove(png);
}

}  // namespace
