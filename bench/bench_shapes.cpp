// Paints the same 10,000 random shapes with the shapes' own Draw on our raster and with Qt's
// raster engine (QPainter on an RGB32 QImage, no antialiasing), each making its pen and brush
// per shape, and prints how the two times compare.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>

#include <benchmark/benchmark.h>

#include "gdi/CDC.h"
#include "shapes/DrawEllipse.h"
#include "shapes/DrawLine.h"
#include "shapes/DrawPoint.h"
#include "shapes/DrawRectangle.h"

namespace {

constexpr int kShapes = 10'000;
constexpr int kSide = 1024;

enum class Kind { Point, Line, Rectangle, Ellipse };

/// One shape's geometry in bitmap pixels, shared by both painters.
struct ShapePlan {
    Kind kind;
    std::int32_t x1, y1, x2, y2;  // point: centre in x1, y1 and radius in x2
    std::int32_t width;
    bool filled;
    Color colour;
};

std::vector<ShapePlan> MakePlans() {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<std::int32_t> position(0, kSide - 1);
    std::uniform_int_distribution<std::int32_t> size(4, 80);
    std::uniform_int_distribution<std::int32_t> signedSize(-80, 80);
    std::uniform_int_distribution<std::int32_t> width(1, 5);
    std::uniform_int_distribution<int> coin(0, 1);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<std::int32_t> component(0, 255);

    std::vector<ShapePlan> plans;
    plans.reserve(kShapes);
    for (int i = 0; i < kShapes; ++i) {
        ShapePlan plan{};
        plan.kind = static_cast<Kind>(kind(random));
        plan.x1 = position(random);
        plan.y1 = position(random);
        plan.colour.SetRGB(component(random), component(random), component(random));
        switch (plan.kind) {
            case Kind::Point:
                // A few single pixels among discs of diameter 4 to 80.
                plan.x2 = percent(random) < 5 ? 0 : size(random) / 2;
                break;
            case Kind::Line:
                plan.x2 = plan.x1 + signedSize(random);
                plan.y2 = plan.y1 + signedSize(random);
                plan.width = width(random);
                break;
            case Kind::Rectangle:
            case Kind::Ellipse:
                plan.x2 = plan.x1 + size(random);
                plan.y2 = plan.y1 + size(random);
                plan.filled = coin(random) == 1;
                break;
        }
        plans.push_back(plan);
    }
    return plans;
}

std::unique_ptr<DrawPrimitive> MakeShape(const ShapePlan& plan) {
    std::unique_ptr<DrawPrimitive> shape;
    switch (plan.kind) {
        case Kind::Point:
            shape = std::make_unique<DrawPoint>(plan.x1, plan.y1, plan.x2);
            break;
        case Kind::Line: {
            auto line = std::make_unique<DrawLine>();
            line->SetStart(DrawPoint(plan.x1, plan.y1, 0));
            line->SetEnd(DrawPoint(plan.x2, plan.y2, 0));
            line->SetWidth(plan.width);
            shape = std::move(line);
            break;
        }
        case Kind::Rectangle: {
            auto rectangle = std::make_unique<DrawRectangle>();
            rectangle->SetCorners(DrawPoint(plan.x1, plan.y1, 0), DrawPoint(plan.x2, plan.y2, 0));
            rectangle->SetFilled(plan.filled);
            shape = std::move(rectangle);
            break;
        }
        case Kind::Ellipse: {
            DrawRectangle carrier;
            carrier.SetCorners(DrawPoint(plan.x1, plan.y1, 0), DrawPoint(plan.x2, plan.y2, 0));
            auto ellipse = std::make_unique<DrawEllipse>();
            ellipse->SetBounds(carrier);
            ellipse->SetFilled(plan.filled);
            shape = std::move(ellipse);
            break;
        }
    }
    shape->SetColor(plan.colour);
    return shape;
}

const std::vector<ShapePlan>& Plans() {
    static const std::vector<ShapePlan> plans = MakePlans();
    return plans;
}

void BM_VelkRaster(benchmark::State& state) {
    std::vector<std::unique_ptr<DrawPrimitive>> shapes;
    for (const ShapePlan& plan : Plans()) {
        shapes.push_back(MakeShape(plan));
    }
    CBitmap bitmap;
    bitmap.CreateBitmap(kSide, kSide);
    CDC surface;
    surface.CreateCompatibleDC(nullptr);
    surface.SelectObject(&bitmap);
    for (auto _ : state) {
        for (const auto& shape : shapes) {
            shape->Draw(surface, 0, 0);
        }
        benchmark::DoNotOptimize(bitmap.GetBits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kShapes);
}

QColor ToQColor(const Color& colour) {
    std::int32_t red = 0, green = 0, blue = 0;
    colour.GetRGB(red, green, blue);
    return QColor(red, green, blue);
}

void BM_QtRaster(benchmark::State& state) {
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(Qt::black);
    const std::vector<ShapePlan>& plans = Plans();
    // An outlined QRect covers one pixel more each way than its size, so boxes are handed over
    // one smaller to cover the same pixels as ours.
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (const ShapePlan& plan : plans) {
            const QColor colour = ToQColor(plan.colour);
            switch (plan.kind) {
                case Kind::Point: {
                    const std::int32_t r = plan.x2;
                    painter.setPen(QPen(colour, 1));
                    painter.setBrush(QBrush(colour));
                    if (r == 0) {
                        painter.drawPoint(plan.x1, plan.y1);
                    } else {
                        painter.drawEllipse(QRect(plan.x1 - r, plan.y1 - r, 2 * r - 1, 2 * r - 1));
                    }
                    break;
                }
                case Kind::Line:
                    painter.setPen(QPen(colour, plan.width, Qt::SolidLine, Qt::RoundCap));
                    painter.drawLine(plan.x1, plan.y1, plan.x2, plan.y2);
                    break;
                case Kind::Rectangle:
                    painter.setPen(QPen(colour, 1));
                    painter.setBrush(plan.filled ? QBrush(colour) : QBrush(Qt::NoBrush));
                    painter.drawRect(
                        QRect(plan.x1, plan.y1, plan.x2 - plan.x1 - 1, plan.y2 - plan.y1 - 1));
                    break;
                case Kind::Ellipse:
                    painter.setPen(QPen(colour, 1));
                    painter.setBrush(plan.filled ? QBrush(colour) : QBrush(Qt::NoBrush));
                    painter.drawEllipse(
                        QRect(plan.x1, plan.y1, plan.x2 - plan.x1 - 1, plan.y2 - plan.y1 - 1));
                    break;
            }
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kShapes);
}

BENCHMARK(BM_VelkRaster)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtRaster)->Unit(benchmark::kMillisecond);

/// Shapes far larger than the bitmap, or reaching to the ends of the coordinate space, must cost
/// no more than one that just covers the bitmap: argument 0 is a filled rectangle over the whole
/// bitmap, 1 a disc of radius two billion around it, 2 a 5-wide line and 3 a thin line between
/// points near the 32-bit limits that cross it.
void BM_HugeShapes(benchmark::State& state) {
    CBitmap bitmap;
    bitmap.CreateBitmap(kSide, kSide);
    CDC surface;
    surface.CreateCompatibleDC(nullptr);
    surface.SelectObject(&bitmap);
    CBrush brush(RGB(10, 20, 30));
    surface.SelectObject(&brush);
    CPen wide(PS_SOLID, 5, RGB(0, 0, 0));
    for (auto _ : state) {
        switch (state.range(0)) {
            case 0:
                surface.Rectangle(0, 0, kSide, kSide);
                break;
            case 1:
                surface.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
                break;
            case 2: {
                CPen* previous = surface.SelectObject(&wide);
                surface.MoveTo(INT32_MIN, INT32_MIN + 3);
                surface.LineTo(INT32_MAX, INT32_MAX);
                surface.SelectObject(previous);
                break;
            }
            default:
                surface.MoveTo(INT32_MIN, INT32_MIN + 3);
                surface.LineTo(INT32_MAX, INT32_MAX);
                break;
        }
        benchmark::DoNotOptimize(bitmap.GetBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_HugeShapes)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

/// The console report, plus the mean time of each benchmark (over its repetitions, when it is
/// repeated) for the closing comparison.
class ComparingReporter : public benchmark::ConsoleReporter {
public:
    ComparingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            Mean& mean = means_[run.run_name.function_name];
            if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !mean.fromAggregate) {
                mean.time = (mean.time * mean.runs + run.GetAdjustedRealTime()) / (mean.runs + 1);
                ++mean.runs;
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean") {
                mean.time = run.GetAdjustedRealTime();
                mean.fromAggregate = true;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintComparison() const {
        const auto velk = means_.find("BM_VelkRaster");
        const auto qt = means_.find("BM_QtRaster");
        if (velk != means_.end() && qt != means_.end() && qt->second.time > 0) {
            std::printf("Velk / Qt time: %.3f (below 1: ours is faster)\n",
                        velk->second.time / qt->second.time);
        }
    }

private:
    struct Mean {
        double time = 0;
        int runs = 0;
        bool fromAggregate = false;
    };
    std::map<std::string, Mean> means_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    ComparingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintComparison();
    benchmark::Shutdown();
    return 0;
}
