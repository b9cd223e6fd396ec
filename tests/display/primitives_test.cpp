// Shape primitives: geometry, thresholds, and the pens and brushes they hand back.
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "display/format.h"
#include "display/primitives.h"
#include "sketchpad.h"

namespace {

using sim::DrawCall;
using sim::DrawKind;

std::vector<DrawCall> CallsOf(const sim::Drawing &d, DrawKind kind) {
    std::vector<DrawCall> out;
    for (const DrawCall &c : d.calls)
        if (c.kind == kind) out.push_back(c);
    return out;
}

class Primitives : public ::testing::Test {
protected:
    sim::RecordingSketchpad pad{256, 200};
    TextGrid g = MakeTextGrid(&pad, 256, 200);  // cell 6 px, origin (17, 4)
    long pensBefore = sim::toolLedger().pensCreated;

    void TearDown() override {
        // Whatever a primitive created, it released, and it left nothing selected.
        EXPECT_TRUE(sim::toolLedger().pens.empty());
        EXPECT_TRUE(sim::toolLedger().brushes.empty());
        for (const DrawCall &c : pad.drawing().calls) EXPECT_NE(c.style, -1) << "released tool selected";
        const std::vector<DrawCall> pens = CallsOf(pad.drawing(), DrawKind::SetPen);
        if (!pens.empty()) {
            EXPECT_TRUE(pens.back().none);
        }
    }
    long PensCreated() const { return sim::toolLedger().pensCreated - pensBefore; }
};

TEST_F(Primitives, GridLineUsesCellsOnBothAxesAndTheThirdRowOffset) {
    g.thirdRows = 2;
    GridLine(g, 0, 2, 36, 2, 2, 3, colYellow);
    std::vector<DrawCall> lines = CallsOf(pad.drawing(), DrawKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x0, 17);
    EXPECT_EQ(lines[0].x1, 17 + 36 * 6);
    EXPECT_EQ(lines[0].y0, 4 + 12 + 4);
    const DrawCall pen = CallsOf(pad.drawing(), DrawKind::SetPen).front();
    EXPECT_EQ(pen.style, 2);
    EXPECT_EQ(pen.width, 3);
    EXPECT_EQ(pen.colour, colYellow);
}

TEST_F(Primitives, UnfilledRectangleIsPaintedBlackInside) {
    GridRect(g, 1, 23, 3, 35, 1, 1, false, colYellow);
    GridRect(g, 5, 22, 19, 24, 1, 1, true, colOlive);
    std::vector<DrawCall> brushes = CallsOf(pad.drawing(), DrawKind::SetBrush);
    std::vector<DrawCall> rects = CallsOf(pad.drawing(), DrawKind::Rectangle);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(brushes[0].colour, colBlack);
    EXPECT_FALSE(brushes[0].none);
    EXPECT_EQ(brushes[2].colour, colOlive);
    EXPECT_EQ(rects[0].x0, 17 + 6);
    EXPECT_EQ(rects[0].y1, 4 + 35 * 6);  // rectangles take no third-row offset
}

TEST_F(Primitives, CentreBarDirectionLengthAndThreshold) {
    CentreBar(g, 5, 22, 19, 24, 1, 1, 0.005, true, colYellow);  // below the threshold
    CentreBar(g, 5, 22, 19, 24, 1, 1, std::numeric_limits<double>::quiet_NaN(), true, colYellow);
    EXPECT_EQ(PensCreated(), 0);
    EXPECT_TRUE(pad.drawing().calls.empty());

    // Wide box: -1 fills the left half, from the box's left edge to its centre.
    CentreBar(g, 5, 22, 19, 24, 1, 1, -1.0, true, colYellow);
    // Tall box: +0.5 grows downward from the centre by half the half-height.
    CentreBar(g, 1, 23, 3, 35, 1, 1, 0.5, true, colYellow);
    std::vector<DrawCall> rects = CallsOf(pad.drawing(), DrawKind::Rectangle);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].x0, 17 + 5 * 6);
    EXPECT_EQ(rects[0].x1, 17 + 12 * 6);
    EXPECT_EQ(rects[0].y0, 4 + 22 * 6);
    EXPECT_EQ(rects[0].y1, 4 + 24 * 6);
    EXPECT_EQ(rects[1].y0, 4 + 29 * 6);
    EXPECT_EQ(rects[1].y1, 4 + 29 * 6 + 18);
    EXPECT_EQ(rects[1].x0, 17 + 6);
    EXPECT_EQ(rects[1].x1, 17 + 18);
}

TEST_F(Primitives, OutlineBarIsFourLinesWithRightAndBottomInside) {
    CentreBar(g, 5, 22, 19, 24, 1, 1, 1.0, false, colLightBlue);
    EXPECT_TRUE(CallsOf(pad.drawing(), DrawKind::Rectangle).empty());
    EXPECT_TRUE(CallsOf(pad.drawing(), DrawKind::SetBrush).empty());  // created, never selected
    std::vector<DrawCall> lines = CallsOf(pad.drawing(), DrawKind::Line);
    ASSERT_EQ(lines.size(), 4u);
    int left = 17 + 12 * 6, right = 17 + 19 * 6, top = 4 + 22 * 6, bottom = 4 + 24 * 6;
    int maxX = -1, maxY = -1, minX = 1 << 20, minY = 1 << 20;
    for (const DrawCall &l : lines) {
        for (int x : {l.x0, l.x1}) maxX = std::max(maxX, x), minX = std::min(minX, x);
        for (int y : {l.y0, l.y1}) maxY = std::max(maxY, y), minY = std::min(minY, y);
    }
    EXPECT_EQ(minX, left);
    EXPECT_EQ(maxX, right - 1);
    EXPECT_EQ(minY, top);
    EXPECT_EQ(maxY, bottom - 1);
}

TEST_F(Primitives, HugeBarValuesStayNearTheBox) {
    CentreBar(g, 5, 22, 19, 24, 1, 1, 1e300, true, colYellow);
    CentreBar(g, 5, 22, 19, 24, 1, 1, -std::numeric_limits<double>::infinity(), true, colYellow);
    std::vector<DrawCall> rects = CallsOf(pad.drawing(), DrawKind::Rectangle);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_GT(rects[0].x1, 17 + 19 * 6);  // past the box, as any value above 1
    EXPECT_LT(rects[0].x1, 100000);
    EXPECT_GT(rects[1].x0, -100000);
}

TEST_F(Primitives, RingSectorRunsOuterArcThenInnerArcBack) {
    RingSector(g, 18, 29, 12, 2, 1.0, 1.005, 1, 1, true, colYellow);  // span below 0.01 rad
    EXPECT_EQ(PensCreated(), 0);

    const double a0 = PI, a1 = PI - 20.0 * RAD;
    RingSector(g, 18, 29, 12, 0, a0, a1, 1, 1, true, colYellow);  // thickness 0: one cell
    std::vector<DrawCall> polys = CallsOf(pad.drawing(), DrawKind::Polygon);
    ASSERT_EQ(polys.size(), 1u);
    const std::vector<oapi::IVECTOR2> &p = polys[0].points;
    ASSERT_EQ(p.size(), 180u);
    const double cx = 17 + 18 * 6, cy = 4 + 29 * 6, R = 72, Ri = 66;
    EXPECT_EQ(p[0].x, static_cast<long>(cx + R * std::cos(a0)));
    EXPECT_EQ(p[0].y, static_cast<long>(cy - R * std::sin(a0)));
    EXPECT_EQ(p[89].x, static_cast<long>(cx + R * std::cos(a1)));
    EXPECT_EQ(p[89].y, static_cast<long>(cy - R * std::sin(a1)));
    EXPECT_EQ(p[90].x, static_cast<long>(cx + Ri * std::cos(a1)));
    EXPECT_EQ(p[179].x, static_cast<long>(cx + Ri * std::cos(a0)));
    EXPECT_LT(p[89].y, cy);  // angles below pi from the left: above the centre on screen

    RingSector(g, 6, 29, 12, 2, 0.0, -0.3, 1, 1, false, colLightBlue);
    std::vector<DrawCall> open = CallsOf(pad.drawing(), DrawKind::Polyline);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].points.size(), 180u);
    EXPECT_GT(open[0].points[89].y, cy);  // negative angles turn clockwise, below the centre
    EXPECT_EQ(CallsOf(pad.drawing(), DrawKind::SetBrush).size(), 2u);  // only the filled one selects
}

}  // namespace
