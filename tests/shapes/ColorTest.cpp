#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <tuple>

#include "shapes/Color.h"

namespace {

TEST(Color, SetFromPaletteStoresTheEntryOfItsBitRule) {
    // Entries 0 to 7: bit 0 of the index is blue, bit 1 green, bit 2 red, at 255; entries 8 to
    // 14 repeat 1 to 7 at 128; entry 15 is light grey.
    for (std::int32_t index = 0; index < 16; ++index) {
        const std::int32_t bits = index < 8 ? index : index == 15 ? 7 : index - 7;
        const std::int32_t level = index == 15 ? 192 : index < 8 ? 255 : 128;
        Color expected;
        expected.SetRGB(bits & 4 ? level : 0, bits & 2 ? level : 0, bits & 1 ? level : 0);
        Color colour;
        colour.SetFromPalette(index);
        EXPECT_EQ(colour, expected) << "entry " << index;
    }
}

class PaletteIndexOutOfRange : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(PaletteIndexOutOfRange, StoresBlack) {
    Color colour;
    colour.SetFromPalette(7);
    colour.SetFromPalette(GetParam());
    EXPECT_EQ(colour.GetValue(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Indices, PaletteIndexOutOfRange,
                         ::testing::Values(-1, 16, 17, 255, INT_MIN, INT_MAX));

struct RgbCase {
    std::int32_t red, green, blue;
    std::uint32_t value;
};

class ColorRgb : public ::testing::TestWithParam<RgbCase> {};

TEST_P(ColorRgb, KeepsAndGivesBackTheLowByteOfEachComponent) {
    const RgbCase& c = GetParam();
    Color colour;
    colour.SetRGB(c.red, c.green, c.blue);
    EXPECT_EQ(colour.GetValue(), c.value);
    std::int32_t red = -1, green = -1, blue = -1;
    colour.GetRGB(red, green, blue);
    EXPECT_EQ(std::tuple(red, green, blue),
              std::tuple(c.red & 0xFF, c.green & 0xFF, c.blue & 0xFF));
}

INSTANTIATE_TEST_SUITE_P(
    Components, ColorRgb,
    ::testing::Values(RgbCase{255, 0, 0, 0x000000FF}, RgbCase{0, 0, 255, 0x00FF0000},
                      RgbCase{0, 255, 0, 0x0000FF00}, RgbCase{1, 2, 3, 0x00030201},
                      RgbCase{256, -1, 511, 0x00FFFF00}, RgbCase{-256, -255, -128, 0x00800100},
                      RgbCase{-1, 0x1234, 0x80, 0x008034FF},
                      RgbCase{INT_MIN, INT_MAX, 0x12345678, 0x0078FF00}));

}  // namespace
