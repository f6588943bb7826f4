#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <memory>

#include "shapes/Color.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawLine.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawRectangle.h"

namespace {

TEST(Color, StartsBlackAloneAndInEveryNewShape) {
    EXPECT_EQ(Color().GetValue(), 0x00000000u);
    EXPECT_EQ(Palette[0], Color());

    const std::unique_ptr<DrawPrimitive> shapes[] = {
        std::make_unique<DrawPoint>(5, 6, 7), std::make_unique<DrawLine>(),
        std::make_unique<DrawRectangle>(), std::make_unique<DrawEllipse>()};
    for (const auto& shape : shapes) {
        EXPECT_EQ(shape->GetColor().GetValue(), 0x00000000u);
    }
}

TEST(Color, PaletteFollowsItsBitRule) {
    // Entries 0 to 7: bit 0 of the index is blue, bit 1 green, bit 2 red, at 255; entries 8 to
    // 14 repeat 1 to 7 at 128; entry 15 is light grey.
    for (std::int32_t index = 0; index < 15; ++index) {
        const std::int32_t bits = index < 8 ? index : index - 7;
        const std::int32_t level = index < 8 ? 255 : 128;
        Color expected;
        expected.SetRGB(bits & 4 ? level : 0, bits & 2 ? level : 0, bits & 1 ? level : 0);
        EXPECT_EQ(Palette[static_cast<std::size_t>(index)], expected) << "entry " << index;
    }
    EXPECT_EQ(Palette[15].GetValue(), 0x00C0C0C0u);
    EXPECT_EQ(Palette[4].GetValue(), 0x000000FFu);
    EXPECT_EQ(Palette[1].GetValue(), 0x00FF0000u);
}

TEST(Color, SetFromPaletteStoresTheEntry) {
    Color colour;
    colour.SetFromPalette(4);
    EXPECT_EQ(colour.GetValue(), 0x000000FFu);
    colour.SetFromPalette(15);
    EXPECT_EQ(colour.GetValue(), 0x00C0C0C0u);
    colour.SetFromPalette(0);
    EXPECT_EQ(colour.GetValue(), 0x00000000u);
}

class PaletteIndexOutOfRange : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(PaletteIndexOutOfRange, StoresBlack) {
    Color colour;
    colour.SetFromPalette(7);
    colour.SetFromPalette(GetParam());
    EXPECT_EQ(colour.GetValue(), 0x00000000u);
}

INSTANTIATE_TEST_SUITE_P(Indices, PaletteIndexOutOfRange,
                         ::testing::Values(-1, 16, 17, 255, INT_MIN, INT_MAX));

struct RgbCase {
    std::int32_t red, green, blue;
    std::uint32_t value;
};

class ColorSetRgb : public ::testing::TestWithParam<RgbCase> {};

TEST_P(ColorSetRgb, KeepsTheLowByteOfEachComponent) {
    const RgbCase& c = GetParam();
    Color colour;
    colour.SetRGB(c.red, c.green, c.blue);
    EXPECT_EQ(colour.GetValue(), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Components, ColorSetRgb,
    ::testing::Values(RgbCase{255, 0, 0, 0x000000FF}, RgbCase{0, 0, 255, 0x00FF0000},
                      RgbCase{0, 255, 0, 0x0000FF00}, RgbCase{1, 2, 3, 0x00030201},
                      RgbCase{256, -1, 511, 0x00FFFF00}, RgbCase{-256, -255, -128, 0x00800100},
                      RgbCase{INT_MIN, INT_MAX, 0x12345678, 0x0078FF00}));

TEST(Color, GetRgbSplitsTheValue) {
    Color colour;
    colour.SetFromPalette(15);
    std::int32_t red = -1, green = -1, blue = -1;
    colour.GetRGB(red, green, blue);
    EXPECT_EQ(red, 192);
    EXPECT_EQ(green, 192);
    EXPECT_EQ(blue, 192);

    colour.SetRGB(-1, 0x1234, 0x80);
    colour.GetRGB(red, green, blue);
    EXPECT_EQ(red, 255);
    EXPECT_EQ(green, 0x34);
    EXPECT_EQ(blue, 0x80);
}

TEST(Color, ShapesStoreAndHandOutTheirColour) {
    Color red;
    red.SetFromPalette(4);
    DrawRectangle rectangle;
    DrawPrimitive& shape = rectangle;
    shape.SetColor(red);
    EXPECT_EQ(shape.GetColor(), red);
    red.SetFromPalette(2);
    EXPECT_EQ(shape.GetColor().GetValue(), 0x000000FFu) << "the shape keeps its own copy";
}

}  // namespace
