#include "view/RenderWorld.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ViewTestKit.h"
#include "document/World.h"
#include "files/Os.h"
#include "gdi/CBitmap.h"
#include "gdi/PngFile.h"
#include "support/GoldenImage.h"
#include "support/TestFiles.h"

namespace {

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "velk_render_" + name;
}

std::string WriteFile(const std::string& name, const std::string& text) {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(RenderWorldGolden, TheExampleWorldFile) {
    const std::string png = TempPath("example.png");
    std::string error;
    ASSERT_TRUE(RenderWorldFileToPng(std::string(VELK_WORLDS_DIR) + "/example.world", png, error))
        << error;
    CBitmap picture;
    ASSERT_TRUE(ReadPng(png, &picture, &error)) << error;
    EXPECT_EQ(picture.GetWidth(), 800);
    EXPECT_EQ(picture.GetHeight(), 600);
    EXPECT_TRUE(MatchesGolden(picture, "view_example_world"));
    std::remove(png.c_str());
}

TEST(RenderWorldTest, PaintsTheWholeWorldAtItsSizeAndLeavesItAsItWas) {
    World world;
    world.SetWorldSize(300, 200);  // smaller than the view's first cached size
    world.AddObject(new velk_test::Block(280, 190, 30, 30, RGB(0, 0, 255)));  // over the corner
    world.AddObject(new velk_test::Block(0, 0, 10, 10, RGB(255, 0, 0)));
    world.SetMousePosition(DrawPoint(-3, 4, 0));
    const std::string png = TempPath("small.png");
    std::string error;
    ASSERT_TRUE(RenderWorldToPng(world, png, error)) << error;

    CBitmap picture;
    ASSERT_TRUE(ReadPng(png, &picture, &error)) << error;
    ASSERT_EQ((SIZE{picture.GetWidth(), picture.GetHeight()}), (SIZE{300, 200}));
    EXPECT_EQ(picture.GetPixelColor(299, 199), RGB(0, 0, 255));
    EXPECT_EQ(picture.GetPixelColor(279, 199), velk_test::kWhite);
    EXPECT_EQ(picture.GetPixelColor(9, 9), RGB(255, 0, 0));
    std::int32_t width = 0, height = 0;
    world.GetWorldSize(width, height);
    EXPECT_EQ((SIZE{width, height}), (SIZE{300, 200}));
    DrawPoint mouse(0, 0, 0);
    EXPECT_EQ(world.GetMousePosition(mouse).GetPoint(), (POINT{-3, 4}));
    EXPECT_FALSE(world.IsModified());
    std::remove(png.c_str());
}

// A picture written over an old one keeps the old one's mode, and links planted beside it
// under the names an earlier writer used are never written through.
TEST(RenderWorldTest, WritesLikeASaveWithoutPredictableTemporaries) {
    namespace fs = std::filesystem;
    velk_test::TempFolder folder;
    World world;
    world.SetWorldSize(20, 10);
    const fs::path png = folder / "out.png";
    velk_test::WriteFileBytes(png, "old picture");
    fs::permissions(png, fs::perms::owner_read | fs::perms::owner_write);
    const fs::perms permissions = fs::status(png).permissions();
    velk_test::WriteFileBytes(folder / "victim", "mine");
#ifndef _WIN32
    // Windows lets no user plant a symbolic link without a privilege.
    fs::create_symlink(folder / "victim",
                       folder / (".out.png.rendering-" + std::to_string(TheOs().CurrentProcess())));
#endif
    std::string error;
    ASSERT_TRUE(RenderWorldToPng(world, velk_test::PathText(png), error)) << error;
    EXPECT_EQ(velk_test::ReadFileBytes(folder / "victim"), "mine");
    EXPECT_EQ(fs::status(png).permissions(), permissions);
    CBitmap picture;
    EXPECT_TRUE(ReadPng(velk_test::PathText(png), &picture, &error)) << error;
}

// Every refusal names its reason, and no picture is left behind.
struct Refusal {
    const char* name;
    const char* worldText;  // null: a world made in memory, sized below
    SIZE size;
    const char* pngPath;  // null: a temporary file
    const char* says;
};

class RenderRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(RenderRefusal, FailsWithAClearMessage) {
    const Refusal& row = GetParam();
    const std::string png = row.pngPath != nullptr ? row.pngPath : TempPath("refused.png");
    std::remove(png.c_str());
    std::string error;
    bool rendered = false;
    if (row.worldText != nullptr) {
        const std::string path = *row.worldText == '\0'
                                     ? TempPath("missing.world")
                                     : WriteFile(std::string(row.name) + ".world", row.worldText);
        rendered = RenderWorldFileToPng(path, png, error);
    } else {
        World world;
        world.SetWorldSize(row.size.cx, row.size.cy);
        rendered = RenderWorldToPng(world, png, error);
    }
    EXPECT_FALSE(rendered);
    EXPECT_NE(error.find(row.says), std::string::npos) << error;
    EXPECT_FALSE(std::ifstream(png).good());
}

const Refusal kRefusals[] = {
    {"no area", nullptr, {0, 600}, nullptr, "0 by 600 pixels and has nothing to show"},
    {"beyond the back buffer", nullptr, {20000, 100}, nullptr, "larger than the view can paint"},
    {"huge", nullptr, {2000000000, 2000000000}, nullptr, "larger than the view can paint"},
    {"unwritable", nullptr, {10, 10}, "/nonexistent-dir/x.png", "/nonexistent-dir/x.png"},
    {"missing file", "", {}, nullptr, "missing.world"},
    {"not a world", "hello\n", {}, nullptr, "is not a world file: line 1"},
    {"cut short",
     "800 600\n\ndraggable { geometry { \n    point { color { 0 0",
     {},
     nullptr,
     "could be read only up to line 4"},
};
INSTANTIATE_TEST_SUITE_P(RenderWorld, RenderRefusal, ::testing::ValuesIn(kRefusals),
                         velk_test::RowName());

}  // namespace
