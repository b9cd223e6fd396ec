// The thruster-level graphic read back from the recorded shapes: which level or
// command goes into which box, with which sign, scale, fill and colour, and the
// bank arcs on either side of the field.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "control/profile.h"
#include "display/format.h"
#include "page_world.h"
#include "sim/picture.h"

namespace {

const int kCell = 6, kOriginX = 17;  // the 256 x 256 display of PageWorld

int X(int c) { return kOriginX + c * kCell; }
int Y(int r) { return r * kCell; }

// A recorded shape with the pen colour it was drawn with. Four lines drawn with one
// pen are an outline bar; its right and bottom edges lie one pixel inside the span.
struct Shape {
    sim::DrawKind kind;
    int x0, y0, x1, y1;
    DWORD colour;
    bool filled;
    std::vector<oapi::IVECTOR2> points;
    size_t order;
};

std::vector<Shape> ShapesOf(const sim::Drawing &d) {
    std::vector<Shape> out;
    DWORD pen = 0, brush = 0;
    std::vector<sim::DrawCall> lines;
    auto flushLines = [&]() {
        if (lines.size() == 4) {
            Shape s{sim::DrawKind::Line, 1 << 20, 1 << 20, -1, -1, pen, false, {}, out.size()};
            for (const sim::DrawCall &l : lines) {
                s.x0 = std::min({s.x0, l.x0, l.x1});
                s.y0 = std::min({s.y0, l.y0, l.y1});
                s.x1 = std::max({s.x1, l.x0 + 1, l.x1 + 1});
                s.y1 = std::max({s.y1, l.y0 + 1, l.y1 + 1});
            }
            out.push_back(s);
        }
        lines.clear();
    };
    for (const sim::DrawCall &c : d.calls) {
        if (c.kind == sim::DrawKind::SetPen) {
            flushLines();
            if (!c.none) pen = c.colour;
        } else if (c.kind == sim::DrawKind::SetBrush) {
            brush = c.none ? colBlack : c.colour;
        } else if (c.kind == sim::DrawKind::Line) {
            lines.push_back(c);
        } else if (c.kind == sim::DrawKind::Rectangle) {
            out.push_back({c.kind, std::min(c.x0, c.x1), std::min(c.y0, c.y1), std::max(c.x0, c.x1),
                           std::max(c.y0, c.y1), pen, brush != colBlack, {}, out.size()});
        } else if (c.kind == sim::DrawKind::Polygon || c.kind == sim::DrawKind::Polyline) {
            out.push_back({c.kind, 0, 0, 0, 0, pen, c.kind == sim::DrawKind::Polygon, c.points, out.size()});
        }
    }
    flushLines();
    return out;
}

struct Box {
    const char *name;
    int c0, r0, c1, r1;
};

struct Bar {
    double value;  // signed fraction of the half-box: right or down is positive
    bool filled;
    DWORD colour;
};

class LevelGraphic : public PageWorld {
protected:
    MfdState *S = nullptr;

    void SetUp() override {
        // One thruster in each attitude group, so the vessel reports attitude levels.
        for (int group = THGROUP_ATT_PITCHUP; group <= THGROUP_ATT_BACK; ++group) {
            sim::ThrusterSpec t;
            t.pos = _V(0, 0, 2);
            t.dir = _V(0, 1, 0);
            t.maxThrust = 100;
            t.isp = 3000;
            probe->groups[group].push_back(static_cast<int>(probe->thrusters.size()));
            probe->thrusters.push_back(t);
        }
        AddShip("Ship");
        S = PageState("Ship", AP_ATTITUDE);
    }

    // The bar of a colour and fill whose cross-extent is the box's, as a signed
    // fraction of the half-box, and the drawing order of the box and of the bar.
    bool FindBar(const std::vector<Shape> &shapes, const Box &b, const Bar &want, double *value,
                 size_t *boxOrder, size_t *barOrder) const {
        const bool across = (X(b.c1) - X(b.c0)) >= (Y(b.r1) - Y(b.r0));  // horizontal bar
        *boxOrder = *barOrder = 0;
        bool found = false;
        for (const Shape &s : shapes) {
            if (s.kind == sim::DrawKind::Rectangle && !s.filled && s.x0 == X(b.c0) && s.y0 == Y(b.r0) &&
                s.x1 == X(b.c1) && s.y1 == Y(b.r1)) {
                *boxOrder = s.order;
                continue;
            }
            if (s.colour != want.colour || s.filled != want.filled) continue;
            if (s.kind != sim::DrawKind::Rectangle && s.kind != sim::DrawKind::Line) continue;
            if (across && (s.y0 != Y(b.r0) || s.y1 != Y(b.r1))) continue;
            if (!across && (s.x0 != X(b.c0) || s.x1 != X(b.c1))) continue;
            const int lo = across ? s.x0 : s.y0, hi = across ? s.x1 : s.y1;
            const int from = across ? X(b.c0) : Y(b.r0), to = across ? X(b.c1) : Y(b.r1);
            const int centre = from + (to - from) / 2, half = (to - from) / 2;
            if (lo == centre) *value = double(hi - centre) / half;
            else if (hi == centre) *value = -double(centre - lo) / half;
            else continue;
            *barOrder = s.order;
            found = true;
        }
        return found;
    }
};

TEST_F(LevelGraphic, EachBoxShowsItsLevelsFilledAndItsCommandsOutlined) {
    S->profile->cmdScale = 0.5;
    S->vessel->SetAttitudeRotLevel(_V(0.2, -0.15, 0.25));  // shown as (0.4, -0.3, 0.5)
    S->vessel->SetAttitudeLinLevel(_V(0.1, 0.3, 0.45));    // shown as (0.2, 0.6, 0.45): fore/aft unscaled
    S->rotCmd = _V(-0.7, 0.8, -0.5);
    S->linCmd = _V(0.5, -0.9, 0.35);
    Draw(S);
    const std::vector<Shape> shapes = ShapesOf(pad.drawing());

    const Box left{"left", 1, 23, 3, 35}, right{"right", 21, 23, 23, 35}, top{"top", 5, 22, 19, 24},
        bottom{"bottom", 5, 34, 19, 36}, centre{"centre", 11, 25, 13, 33};
    const struct {
        Box box;
        Bar bar;
    } expected[] = {
        {left, {-0.4, true, colYellow}},     {left, {0.6, true, colOlive}},
        {left, {0.7, false, colLightBlue}},  {left, {-0.9, false, colOrangeRed}},
        {right, {0.4, true, colYellow}},     {right, {0.6, true, colOlive}},
        {right, {-0.7, false, colLightBlue}}, {right, {-0.9, false, colOrangeRed}},
        {top, {-0.3, true, colYellow}},      {top, {-0.2, true, colOlive}},
        {top, {0.8, false, colLightBlue}},   {top, {-0.5, false, colOrangeRed}},
        {bottom, {0.3, true, colYellow}},    {bottom, {-0.2, true, colOlive}},
        {bottom, {-0.8, false, colLightBlue}}, {bottom, {-0.5, false, colOrangeRed}},
        {centre, {0.45, true, colOlive}},    {centre, {0.35, false, colOrangeRed}},
    };
    for (const auto &e : expected) {
        double value = 0;
        size_t boxOrder = 0, barOrder = 0;
        const std::string what = std::string(e.box.name) + " " + sim::colourName(e.bar.colour);
        ASSERT_TRUE(FindBar(shapes, e.box, e.bar, &value, &boxOrder, &barOrder)) << what;
        EXPECT_NEAR(value, e.bar.value, 0.04) << what;
        EXPECT_GT(barOrder, boxOrder) << what << ": the box would black the bar out";
    }
    // No other bar: the centre box has no rotation level and no rotation command.
    double value = 0;
    size_t a = 0, b = 0;
    EXPECT_FALSE(FindBar(shapes, centre, {0, true, colYellow}, &value, &a, &b));
    EXPECT_FALSE(FindBar(shapes, centre, {0, false, colLightBlue}, &value, &a, &b));
}

// Angle on screen (degrees, counter-clockwise, 0 to the right) of a point about a centre.
double ScreenAngle(const oapi::IVECTOR2 &p, double cx, double cy) {
    return std::atan2(cy - p.y, p.x - cx) * 180.0 / PI;
}

TEST_F(LevelGraphic, BankArcsSitLeftAndRightAndTurnWithTheLevel) {
    S->vessel->SetAttitudeRotLevel(_V(0, 0, 0.5));
    S->rotCmd = _V(0, 0, -0.5);
    Draw(S);
    const double cy = Y(29), leftArcCentre = X(18), rightArcCentre = X(6);
    struct Arc {
        bool filled;
        DWORD colour;
        double from, to;  // degrees about the arc's own centre
        bool onLeft;
    };
    std::vector<Arc> seen;
    for (const Shape &s : ShapesOf(pad.drawing())) {
        if (s.kind != sim::DrawKind::Polygon && s.kind != sim::DrawKind::Polyline) continue;
        ASSERT_EQ(s.points.size(), 180u);
        const bool onLeft = s.points[0].x < X(12);
        const double cx = onLeft ? leftArcCentre : rightArcCentre;
        seen.push_back({s.filled, s.colour, ScreenAngle(s.points[0], cx, cy), ScreenAngle(s.points[89], cx, cy),
                        onLeft});
    }
    // Scales, then level and command on the left, then on the right. Angles near
    // 180 are read on the far side of the cut at +-180.
    const Arc expected[] = {
        {false, colYellow, 180, 160, true},     {false, colYellow, 180, 200, true},
        {false, colYellow, 0, 20, false},       {false, colYellow, 0, -20, false},
        {true, colYellow, 180, 170, true},      {false, colLightBlue, 180, 190, true},
        {true, colYellow, 0, -10, false},       {false, colLightBlue, 0, 10, false},
    };
    ASSERT_EQ(seen.size(), 8u);
    auto near = [](double got, double want) {
        double d = std::fmod(got - want + 540.0, 360.0) - 180.0;
        return std::fabs(d) < 1.5;
    };
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(seen[i].filled, expected[i].filled) << i;
        EXPECT_EQ(seen[i].colour, expected[i].colour) << i;
        EXPECT_EQ(seen[i].onLeft, expected[i].onLeft) << i;
        EXPECT_TRUE(near(seen[i].from, expected[i].from)) << i << ": " << seen[i].from;
        EXPECT_TRUE(near(seen[i].to, expected[i].to)) << i << ": " << seen[i].to;
    }

    // Below 0.0286 a level spans less than 0.01 rad: only the four scales remain.
    S->vessel->SetAttitudeRotLevel(_V(0, 0, 0.02));
    S->rotCmd = _V(0, 0, 0.02);
    Draw(S);
    int arcs = 0;
    for (const Shape &s : ShapesOf(pad.drawing())) arcs += s.kind == sim::DrawKind::Polygon || s.kind == sim::DrawKind::Polyline;
    EXPECT_EQ(arcs, 4);
}

}  // namespace
