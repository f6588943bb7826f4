// Each shape kind painted into a small bitmap and compared with its recorded picture:
// filled and hollow, thin and wide, moved by offsets and cut by the bitmap's edges.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ShapeTesting.h"
#include "support/GoldenImage.h"

namespace {

/// A shape and the offsets it is drawn at, as an owning object would pass its position.
struct Placed {
    ShapeRow shape;
    POINT offset;
};

Placed At(const ShapeRow& shape, std::int32_t x, std::int32_t y) {
    return {shape, POINT{x, y}};
}

struct Scene {
    std::string name;
    std::vector<Placed> shapes;

    friend void PrintTo(const Scene& scene, std::ostream* out) { *out << scene.name; }
};

// Radii 0 to 12; moved by its own position; cut by edges; negative; the last pixel; outside.
const Scene kDiscs{
    "points",
    {At(Disc(0, 0, 0, 4), 5, 5), At(Disc(0, 0, 1, 4), 10, 5), At(Disc(0, 0, 2, 4), 16, 5),
     At(Disc(0, 0, 3, 4), 24, 5), At(Disc(0, 0, 8, 1), 20, 24), At(Disc(10, 10, 6, 2), 30, 10),
     At(Disc(0, 0, 12, 9), 0, 47), At(Disc(0, 0, 10, 11), 60, -2), At(Disc(50, 30, -4, 12), 0, 0),
     At(Disc(0, 0, 0, 13), 63, 47), At(Disc(0, 0, 0, 13), 64, 48)}};

// Thin in each direction and backwards; wide; a wide dot; through the edges; width 0 (thin).
const Scene kLines{"lines",
                   {At(Line(0, 0, 20, 0, 1, 4), 2, 2), At(Line(0, 0, 0, 12, 1, 4), 2, 5),
                    At(Line(0, 0, 12, 12, 1, 1), 5, 5), At(Line(0, 0, 20, 7, 1, 1), 5, 20),
                    At(Line(20, 0, 0, 7, 1, 9), 5, 30), At(Line(0, 0, 25, 0, 3, 2), 30, 6),
                    At(Line(0, 0, 20, 10, 5, 11), 32, 14), At(Line(0, 0, 0, 0, 7, 12), 56, 12),
                    At(Line(-10, 40, 70, 40, 4, 10), 0, 0), At(Line(60, -5, 40, 60, 2, 13), 0, 0),
                    At(Line(0, 0, 10, 0, 0, 8), 30, 30)}};

// Filled, hollow, corners backwards, 1 to 3 pixels, empty, cut by edges, one row, one column.
const Scene kRectangles{
    "rectangles",
    {At(Box(0, 0, 12, 8, true, 4), 2, 2), At(Box(12, 8, 0, 0, false, 4), 16, 2),
     At(Box(0, 0, 1, 1, true, 1), 31, 3), At(Box(0, 0, 2, 2, false, 1), 34, 3),
     At(Box(0, 0, 3, 3, false, 1), 38, 3), At(Box(0, 0, 0, 9, true, 1), 44, 3),
     At(Box(-5, -5, 10, 10, false, 2), 50, 15), At(Box(0, 0, 20, 14, true, 9), -6, 38),
     At(Box(0, 0, 20, 14, false, 11), 54, -4), At(Box(0, 0, 22, 1, false, 12), 20, 20),
     At(Box(0, 0, 1, 16, true, 12), 20, 24), At(Box(0, 0, 18, 12, true, 15), 26, 28)}};

// Filled, hollow, corners backwards, 1 to 3 pixels, one row, one column, cut by edges.
const Scene kEllipses{
    "ellipses",
    {At(Oval(0, 0, 20, 10, true, 4), 2, 2), At(Oval(20, 10, 0, 0, false, 4), 24, 2),
     At(Oval(0, 0, 13, 13, true, 1), 46, 2), At(Oval(0, 0, 12, 12, false, 1), 2, 16),
     At(Oval(0, 0, 3, 3, true, 2), 16, 16), At(Oval(0, 0, 2, 2, false, 2), 21, 16),
     At(Oval(0, 0, 1, 1, false, 2), 25, 16), At(Oval(0, 0, 24, 1, true, 12), 30, 18),
     At(Oval(0, 0, 2, 14, false, 12), 56, 20), At(Oval(0, 0, 30, 20, true, 9), -10, 36),
     At(Oval(0, 0, 26, 18, false, 11), 48, 36), At(Oval(0, 0, 16, 10, true, 14), 24, 26)}};

// Later shapes cover earlier ones: the outlines of the hollow kinds show over the fills.
const Scene kOverlapping{
    "overlapping",
    {At(Box(0, 0, 40, 30, true, 15), 4, 4), At(Oval(0, 0, 30, 30, true, 3), 20, 10),
     At(Box(0, 0, 26, 26, false, 0), 22, 12), At(Oval(0, 0, 36, 20, false, 5), 10, 20),
     At(Line(0, 0, 60, 44, 3, 6), 2, 2), At(Disc(0, 0, 5, 0), 50, 10)}};

class ShapeGolden : public ::testing::TestWithParam<Scene> {};

TEST_P(ShapeGolden, MatchesItsRecordedPicture) {
    ShapeCanvas canvas(64, 48);
    canvas.Clear(RGB(255, 255, 255));
    for (const Placed& item : GetParam().shapes) {
        Make(item.shape)->Draw(canvas.dc, item.offset.x, item.offset.y);
    }
    EXPECT_TRUE(MatchesGolden(canvas.bitmap, "shape_" + GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Scenes, ShapeGolden,
                         ::testing::Values(kDiscs, kLines, kRectangles, kEllipses, kOverlapping),
                         [](const ::testing::TestParamInfo<Scene>& info) {
                             return info.param.name;
                         });

}  // namespace
