// Each shape's text element: what Write puts out, and that Read takes a whole element back
// and leaves the shape exactly as it was when the element breaks off anywhere.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ShapeTesting.h"

namespace {

std::string Text(const DrawPrimitive& shape) {
    std::ostringstream out;
    out << shape;
    return out.str();
}

struct TextCase {
    const char* name;
    ShapeRow shape;
    ShapeRow other;  ///< of the same kind, read into
    const char* text;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.name;
}

class ShapeText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ShapeText, IsWrittenExactlyAndReadBackWholeOrNotAtAll) {
    const TextCase& c = GetParam();
    const std::string text = Text(*Make(c.shape));
    ASSERT_EQ(text, c.text);
    const std::string untouched = Text(*Make(c.other));
    ASSERT_NE(untouched, text);
    // The element is whole once its last closing brace is in.
    const std::size_t whole = text.rfind('}') + 1;
    for (std::size_t length = 0; length <= text.size(); ++length) {
        const auto shape = Make(c.other);
        std::istringstream in(text.substr(0, length));
        in >> *shape;
        EXPECT_EQ(in.fail(), length < whole) << "first " << length << " bytes";
        EXPECT_EQ(Text(*shape), length < whole ? untouched : text)
            << "first " << length << " bytes";
    }
}

// Palette 4 is red (255 0 0), 9 dark green (0 128 0), 15 light grey (192 192 192).
// clang-format off
INSTANTIATE_TEST_SUITE_P(Shapes, ShapeText, ::testing::Values(
    TextCase{"Point", Disc(-5, 7, 3, 4), Disc(1, 1, 1),
             "point { color { 255 0 0 } -5 7 3 } "},
    TextCase{"PointAtTheLimits", Disc(kMin, kMax, kMin), Disc(0, 0, 0, 15),
             "point { color { 0 0 0 } -2147483648 2147483647 -2147483648 } "},
    TextCase{"Line", Line(-20, 0, 20, 1, 3, 9), Line(0, 0, 1, 1, 1),
             "line { color { 0 128 0 } 3 point { color { 0 0 0 } -20 0 0 }  "
             "point { color { 0 0 0 } 20 1 0 }  } "},
    TextCase{"RectangleKeepsItsCornerOrder", Box(30, 20, -30, -20, true, 15), Box(0, 0, 1, 1, false),
             "rectangle { color { 192 192 192 } t point { color { 0 0 0 } 30 20 0 } "
             "point { color { 0 0 0 } -30 -20 0 }  } "},
    TextCase{"EllipseWritesItsNormalisedBox", Oval(40, 25, -40, -25, false, 4), Oval(0, 0, 2, 2, true),
             "ellipse { color { 255 0 0 } f rectangle { color { 0 0 0 } f "
             "point { color { 0 0 0 } -40 -25 0 } point { color { 0 0 0 } 40 25 0 }  }  } "}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(ColorText, IsWrittenExactlyAndReadBackWholeOrNotAtAll) {
    Color colour;
    colour.SetRGB(1, 128, 255);
    std::ostringstream out;
    out << colour;
    const std::string text = out.str();
    EXPECT_EQ(text, "color { 1 128 255 }");
    for (std::size_t length = 0; length <= text.size(); ++length) {
        Color read;
        read.SetRGB(9, 9, 9);
        std::istringstream in(text.substr(0, length));
        in >> read;
        EXPECT_EQ(read.GetValue(), length == text.size() ? colour.GetValue() : 0x090909u)
            << "first " << length << " bytes";
    }
}

}  // namespace
