// Each shape kind painted into a small bitmap and compared with its recorded picture:
// filled and hollow, thin and wide, moved by offsets and cut by the bitmap's edges.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ShapeCanvas.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawLine.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawRectangle.h"
#include "support/GoldenImage.h"

namespace {

Color FromPalette(std::int32_t index) {
    Color colour;
    colour.SetFromPalette(index);
    return colour;
}

std::unique_ptr<DrawPrimitive> Disc(std::int32_t x, std::int32_t y, std::int32_t radius,
                                    std::int32_t colour) {
    auto point = std::make_unique<DrawPoint>(x, y, radius);
    point->SetColor(FromPalette(colour));
    return point;
}

std::unique_ptr<DrawPrimitive> Line(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                    std::int32_t y2, std::int32_t width, std::int32_t colour) {
    auto line = std::make_unique<DrawLine>();
    line->SetStart(DrawPoint(x1, y1, 0));
    line->SetEnd(DrawPoint(x2, y2, 0));
    line->SetWidth(width);
    line->SetColor(FromPalette(colour));
    return line;
}

std::unique_ptr<DrawPrimitive> Box(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                   std::int32_t y2, bool filled, std::int32_t colour) {
    auto rectangle = std::make_unique<DrawRectangle>();
    rectangle->SetCorners(DrawPoint(x1, y1, 0), DrawPoint(x2, y2, 0));
    rectangle->SetFilled(filled);
    rectangle->SetColor(FromPalette(colour));
    return rectangle;
}

std::unique_ptr<DrawPrimitive> Oval(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                    std::int32_t y2, bool filled, std::int32_t colour) {
    DrawRectangle carrier;
    carrier.SetCorners(DrawPoint(x1, y1, 0), DrawPoint(x2, y2, 0));
    auto ellipse = std::make_unique<DrawEllipse>();
    ellipse->SetBounds(carrier);
    ellipse->SetFilled(filled);
    ellipse->SetColor(FromPalette(colour));
    return ellipse;
}

/// A shape and the offsets it is drawn at, as an owning object would pass its position.
struct Placed {
    std::unique_ptr<DrawPrimitive> shape;
    POINT offset;
};

struct Scene {
    std::string name;
    std::function<std::vector<Placed>()> make;
};

void PrintTo(const Scene& scene, std::ostream* out) {
    *out << scene.name;
}

std::vector<Placed> Discs() {
    std::vector<Placed> placed;
    placed.push_back({Disc(0, 0, 0, 4), {5, 5}});
    placed.push_back({Disc(0, 0, 1, 4), {10, 5}});
    placed.push_back({Disc(0, 0, 2, 4), {16, 5}});
    placed.push_back({Disc(0, 0, 3, 4), {24, 5}});
    placed.push_back({Disc(0, 0, 8, 1), {20, 24}});
    placed.push_back({Disc(10, 10, 6, 2), {30, 10}});  // moved by its own position and more
    placed.push_back({Disc(0, 0, 12, 9), {0, 47}});    // cut by the left and bottom edges
    placed.push_back({Disc(0, 0, 10, 11), {60, -2}});  // cut by the right and top edges
    placed.push_back({Disc(50, 30, -4, 12), {0, 0}});  // negative radius
    placed.push_back({Disc(0, 0, 0, 13), {63, 47}});   // the last pixel
    placed.push_back({Disc(0, 0, 0, 13), {64, 48}});   // just outside: nothing
    return placed;
}

std::vector<Placed> Lines() {
    std::vector<Placed> placed;
    placed.push_back({Line(0, 0, 20, 0, 1, 4), {2, 2}});
    placed.push_back({Line(0, 0, 0, 12, 1, 4), {2, 5}});
    placed.push_back({Line(0, 0, 12, 12, 1, 1), {5, 5}});
    placed.push_back({Line(0, 0, 20, 7, 1, 1), {5, 20}});
    placed.push_back({Line(20, 0, 0, 7, 1, 9), {5, 30}});  // drawn backwards
    placed.push_back({Line(0, 0, 25, 0, 3, 2), {30, 6}});
    placed.push_back({Line(0, 0, 20, 10, 5, 11), {32, 14}});
    placed.push_back({Line(0, 0, 0, 0, 7, 12), {56, 12}});     // a wide dot
    placed.push_back({Line(-10, 40, 70, 40, 4, 10), {0, 0}});  // through both side edges
    placed.push_back({Line(60, -5, 40, 60, 2, 13), {0, 0}});   // through top and bottom
    placed.push_back({Line(0, 0, 10, 0, 0, 8), {30, 30}});     // width 0 draws thin
    return placed;
}

std::vector<Placed> Rectangles() {
    std::vector<Placed> placed;
    placed.push_back({Box(0, 0, 12, 8, true, 4), {2, 2}});
    placed.push_back({Box(12, 8, 0, 0, false, 4), {16, 2}});  // corners given backwards
    placed.push_back({Box(0, 0, 1, 1, true, 1), {31, 3}});
    placed.push_back({Box(0, 0, 2, 2, false, 1), {34, 3}});
    placed.push_back({Box(0, 0, 3, 3, false, 1), {38, 3}});
    placed.push_back({Box(0, 0, 0, 9, true, 1), {44, 3}});  // empty: nothing
    placed.push_back({Box(-5, -5, 10, 10, false, 2), {50, 15}});
    placed.push_back({Box(0, 0, 20, 14, true, 9), {-6, 38}});    // cut left and bottom
    placed.push_back({Box(0, 0, 20, 14, false, 11), {54, -4}});  // cut right and top
    placed.push_back({Box(0, 0, 22, 1, false, 12), {20, 20}});   // one row
    placed.push_back({Box(0, 0, 1, 16, true, 12), {20, 24}});    // one column
    placed.push_back({Box(0, 0, 18, 12, true, 15), {26, 28}});
    return placed;
}

std::vector<Placed> Ellipses() {
    std::vector<Placed> placed;
    placed.push_back({Oval(0, 0, 20, 10, true, 4), {2, 2}});
    placed.push_back({Oval(20, 10, 0, 0, false, 4), {24, 2}});  // corners given backwards
    placed.push_back({Oval(0, 0, 13, 13, true, 1), {46, 2}});
    placed.push_back({Oval(0, 0, 12, 12, false, 1), {2, 16}});
    placed.push_back({Oval(0, 0, 3, 3, true, 2), {16, 16}});
    placed.push_back({Oval(0, 0, 2, 2, false, 2), {21, 16}});
    placed.push_back({Oval(0, 0, 1, 1, false, 2), {25, 16}});
    placed.push_back({Oval(0, 0, 24, 1, true, 12), {30, 18}});  // one row
    placed.push_back({Oval(0, 0, 2, 14, false, 12), {56, 20}});
    placed.push_back({Oval(0, 0, 30, 20, true, 9), {-10, 36}});   // cut left and bottom
    placed.push_back({Oval(0, 0, 26, 18, false, 11), {48, 36}});  // cut right and bottom
    placed.push_back({Oval(0, 0, 16, 10, true, 14), {24, 26}});
    return placed;
}

std::vector<Placed> Overlapping() {
    // Later shapes cover earlier ones: the outlines of the hollow kinds show over the fills.
    std::vector<Placed> placed;
    placed.push_back({Box(0, 0, 40, 30, true, 15), {4, 4}});
    placed.push_back({Oval(0, 0, 30, 30, true, 3), {20, 10}});
    placed.push_back({Box(0, 0, 26, 26, false, 0), {22, 12}});
    placed.push_back({Oval(0, 0, 36, 20, false, 5), {10, 20}});
    placed.push_back({Line(0, 0, 60, 44, 3, 6), {2, 2}});
    placed.push_back({Disc(0, 0, 5, 0), {50, 10}});
    return placed;
}

class ShapeGolden : public ::testing::TestWithParam<Scene> {};

TEST_P(ShapeGolden, MatchesItsRecordedPicture) {
    ShapeCanvas canvas(64, 48);
    canvas.Clear(RGB(255, 255, 255));
    for (const Placed& item : GetParam().make()) {
        item.shape->Draw(canvas.dc, item.offset.x, item.offset.y);
    }
    EXPECT_TRUE(MatchesGolden(canvas.bitmap, "shape_" + GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Scenes, ShapeGolden,
                         ::testing::Values(Scene{"points", Discs}, Scene{"lines", Lines},
                                           Scene{"rectangles", Rectangles},
                                           Scene{"ellipses", Ellipses},
                                           Scene{"overlapping", Overlapping}),
                         [](const ::testing::TestParamInfo<Scene>& info) {
                             return info.param.name;
                         });

}  // namespace
