#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "gdi/CBitmap.h"
#include "gdi/PngFile.h"

namespace {

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("velk_png_" + name)).string();
}

TEST(PngFile, RoundTripKeepsEveryPixel) {
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(7, 3));
    for (int i = 0; i < 21; ++i) {
        bitmap.GetBits()[i] = CBitmap::PixelFromColor(RGB(i * 12, 255 - i, i * 5));
    }
    const std::string path = TempPath("roundtrip.png");
    std::string error;
    ASSERT_TRUE(WritePng(bitmap, path, &error)) << error;
    CBitmap read;
    ASSERT_TRUE(ReadPng(path, &read, &error)) << error;
    ASSERT_EQ(read.GetWidth(), 7);
    ASSERT_EQ(read.GetHeight(), 3);
    for (int i = 0; i < 21; ++i) {
        EXPECT_EQ(read.GetBits()[i], bitmap.GetBits()[i]) << i;
    }
    std::remove(path.c_str());
}

TEST(PngFile, FailuresNameTheFileAndLeaveTheBitmapEmpty) {
    CBitmap bitmap;
    std::string error;
    EXPECT_FALSE(ReadPng("/nonexistent/velk.png", &bitmap, &error));
    EXPECT_NE(error.find("/nonexistent/velk.png"), std::string::npos);

    const std::string garbage = TempPath("garbage.png");
    std::ofstream(garbage) << "\x89PNG\r\n\x1a\n but then nothing that libpng can read";
    EXPECT_FALSE(ReadPng(garbage, &bitmap, &error));
    EXPECT_NE(error.find(garbage), std::string::npos);
    EXPECT_GT(error.size(), ("cannot read " + garbage + ": ").size());  // libpng's reason
    EXPECT_FALSE(bitmap.IsCreated());
    std::remove(garbage.c_str());

    CBitmap empty;
    EXPECT_FALSE(WritePng(empty, TempPath("empty.png"), &error));
    CBitmap small;
    small.CreateBitmap(1, 1);
    EXPECT_FALSE(WritePng(small, "/nonexistent/dir/out.png", &error));
    EXPECT_NE(error.find("/nonexistent/dir/out.png"), std::string::npos);
}

}  // namespace
