// The Landing page read back from the recorded text grid and shapes: phase words,
// status line, target line, the phases' own lines, and the descent graph of a
// known trajectory point by point.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "display/format.h"
#include "page_world.h"
#include "sim/picture.h"

namespace {

const double kDeg = PI / 180.0;
const DWORD kSalmon = 0x7A96E9, kMaroon = 0x000080;
// The plot area of the 256 x 256 display: cell 6 px, grid origin (17, 0).
const int kLeft = 17 + 7 * 6, kRight = 17 + 35 * 6, kTop = 17 * 6, kBottom = 29 * 6;

struct PenLine {
    int x0, y0, x1, y1, style;
    DWORD colour;
};

class LandingPage : public PageWorld {
protected:
    MfdState *S = nullptr;

    // A straight descent: 6 km short of the target at 3 km, closing at 100 m/s and
    // sinking at 50 m/s, on the target after 60 s; the graph shows it from its start.
    void SetUp() override {
        AddShip("Ship");
        S = PageState("Ship", AP_LANDING);
        Plan({0.0, 60.0, -6000.0, 100.0, 3000.0, -50.0}, {0, 0, 0, 0, 0, 0});
        S->graphStyle = 1;
        S->landBrake = false;
        SetTime(0.0);
    }
    void Plan(std::vector<double> consts, std::vector<double> coefs) {
        for (int i = 0; i < 6; ++i) {
            S->landingConsts[i] = consts[i];
            S->landingCoefs[i] = coefs[i];
        }
        S->landingWork[12] = 0.0;
        S->landingWork[13] = S->landingWork[14] = 1.0;
        S->landingWork[15] = consts[2];
    }
    void SetTime(double t) { S->brakeStartMjd = w.mjd() - t / 86400.0; }  // s since the plan's start
    // The ship's axes for pitch p and bank b over its radial "up" (+x).
    void Orient(double p, double b) {
        const VECTOR3 z = _V(std::sin(p), 0, std::cos(p)), h = _V(std::cos(p), 0, -std::sin(p)), k = _V(0, -1, 0);
        const VECTOR3 y = h * std::cos(b) + k * std::sin(b), x = k * std::cos(b) - h * std::sin(b);
        Ship("Ship")->R = _M(x.x, y.x, z.x, x.y, y.y, z.y, x.z, y.z, z.z);
    }
    std::vector<PenLine> LinesOf(int style, DWORD colour) const {
        std::vector<PenLine> out;
        int penStyle = 0;
        DWORD penColour = 0;
        for (const sim::DrawCall &c : pad.drawing().calls) {
            if (c.kind == sim::DrawKind::SetPen && !c.none) {
                penStyle = c.style;
                penColour = c.colour;
            } else if (c.kind == sim::DrawKind::Line && penStyle == style && penColour == colour) {
                out.push_back({c.x0, c.y0, c.x1, c.y1, penStyle, penColour});
            }
        }
        return out;
    }
    std::vector<sim::DrawCall> Calls(sim::DrawKind kind) const {
        std::vector<sim::DrawCall> out;
        for (const sim::DrawCall &c : pad.drawing().calls)
            if (c.kind == kind) out.push_back(c);
        return out;
    }
};

TEST_F(LandingPage, PhaseWordsAndStatusLine) {
    S->landingPhase = 1;
    S->landingFlags = (1u << 7) | (1u << 2);  // two warnings: the later one wins
    Draw(S);
    EXPECT_EQ(At(3, 1, 32), "Att.Mode : Landing AP OFF  BRAKE");
    EXPECT_EQ(At(32, 1, 6), "NO BRK");
    EXPECT_EQ(At(35, 1, 22), "critical landing phase");
    EXPECT_EQ(ColourAt(35, 1), colGrey);

    S->holdOn = true;
    S->landingPhase = 6;  // landed: white even while engaged
    Draw(S);
    EXPECT_EQ(ColourAt(3, 24), colLightBlue);
    EXPECT_EQ(At(3, 27, 6), "LANDED");
    EXPECT_EQ(ColourAt(3, 27), colWhite);
    EXPECT_EQ(At(35, 1, 16), "Landing complete");

    S->holdOn = false;
    S->landingPhase = 9;  // touchdown counts as engaged
    Draw(S);
    EXPECT_EQ(At(3, 24, 12), "ON TOUCHDOWN");
    EXPECT_EQ(ColourAt(3, 27), kSalmon);

    S->landingPhase = 1;
    S->landingFlags = 1u << 12;  // a stopped descent: no phase lines
    Draw(S);
    EXPECT_EQ(At(3, 28, 7), "ABORTED");
    EXPECT_FALSE(Shows("Brake end time:") || Shows("errY:"));
    EXPECT_EQ(At(35, 1, 16), "stopping descent");

    S->landingFlags = (1u << 1) | (1u << 7) | 1u;  // an error, a warning, another MFD driving
    Draw(S);
    EXPECT_EQ(At(22, 9, 22), "no base on gravity ref");
    EXPECT_EQ(ColourAt(22, 9), colRed);
    EXPECT_EQ(At(35, 21, 15), "Other MFD AP on");
    // Only the two axes with their labels: no grid, curve, marker or target line.
    EXPECT_TRUE(Calls(sim::DrawKind::Pixel).empty() && Calls(sim::DrawKind::Ellipse).empty());
    EXPECT_EQ(Calls(sim::DrawKind::Line).size(), 3u);  // with the header's separator
    EXPECT_EQ(LinesOf(1, colYellow).back().y0, kBottom);
    EXPECT_EQ(At(17, 7, 1) + At(29, 35, 1), "yz");

    S->landingFlags = 1u << 15;  // a descent the tank cannot pay for is an error with its reason
    Draw(S);
    EXPECT_EQ(At(22, 9, 15), "not enough fuel");
    EXPECT_EQ(ColourAt(22, 9), colRed);
    EXPECT_FALSE(Shows("Burn start time:"));
}

TEST_F(LandingPage, TargetLineByKindOfTarget) {
    S->manualTarget = 1;
    S->targetLon = -33.5 * kDeg;
    S->targetLat = 12.25 * kDeg;
    Draw(S);
    EXPECT_EQ(At(5, 1, 32), "Manual Location: -33.500 +12.250");

    const std::string name = "Lander-with-a-very-long-name-indeed";
    AddShip(name, 0.001);
    S->manualTarget = 0;
    S->targetRef = Ship(name);
    std::snprintf(S->targetRefName, sizeof S->targetRefName, "%s", name.c_str());
    S->padIndex = 3;
    Draw(S);
    EXPECT_EQ(At(5, 1, 35), "Target: " + name.substr(0, 22) + " - 03");

    S->targetRef = S->bodyRef;
    std::snprintf(S->targetRefName, sizeof S->targetRefName, "%s", S->bodyRefName);
    Draw(S);
    EXPECT_EQ(At(5, 1, 15), "Ref.Body: Earth");
}

TEST_F(LandingPage, PhaseLinesCountDownOrExplainWhyNot) {
    S->holdOn = true;
    S->landingAttMode = 3;
    S->landingWork[19] = 1500.0;
    S->landingDv = 812.5;
    S->landingValues[6] = 42.0;
    S->passHalfWidth = 25000.0;
    S->landingParams[4] = 5.0;
    S->landingWork[10] = -12.0;
    SetTime(-90.0);
    Draw(S);
    EXPECT_EQ(At(3, 28, 9), "WAIT  BRK");
    EXPECT_EQ(At(14, 4, 31), "Burn start time: 90.00   1.500k");
    EXPECT_EQ(At(16, 9, 25), "yzdV: 812.5   Fuel: 42.00");
    EXPECT_EQ(At(12, 1, 15), "(max :  25.00k)");

    S->landingFlags = 1u << 14;  // no thrust: nothing to time
    Draw(S);
    EXPECT_FALSE(Shows("Burn start time:") || Shows("areq"));
    EXPECT_EQ(At(14, 6, 28), "Next closest passage: 1.500k");

    S->landingFlags = 0;
    S->landingPhase = 1;
    SetTime(20.0);
    Draw(S);
    EXPECT_EQ(At(14, 4, 21), "Brake end time: 35.00");  // 60 - 5 - 20
    EXPECT_EQ(At(30, 23, 11), "errZ:-12.00");
    S->landingFlags = 1u << 4;  // a failed plan: no times, no tracking values
    Draw(S);
    EXPECT_FALSE(Shows("Brake end time:") || Shows("errZ:") || Shows("yzdV:"));
}

TEST_F(LandingPage, PitchSeenFromTheHorizonWhenUpsideDown) {
    Orient(20 * kDeg, 30 * kDeg);
    Draw(S);
    EXPECT_EQ(At(32, 10, 24), "cp:+020.000  cr:+030.000");
    Orient(20 * kDeg, 120 * kDeg);
    Draw(S);
    EXPECT_EQ(At(32, 10, 24), "cp:+160.000  cr:+120.000");
}

TEST_F(LandingPage, ExtremeValuesStayOnTheirLinesAndUnusableScalesPlotNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    S->landingPhase = 1;
    S->manualTarget = 1;
    S->targetLon = 1e300;
    S->targetLat = S->stepDt = nan;
    for (int i = 0; i < 12; ++i) S->landingWork[i] = i % 2 ? 1e300 : -nan;
    S->landingDv = std::numeric_limits<double>::infinity();
    Draw(S);
    for (const sim::DrawCall &c : Calls(sim::DrawKind::Text))
        EXPECT_LE(c.x0 + static_cast<int>(c.text.size()) * 6, 17 + 36 * 6) << c.text;

    S->landingWork[0] = -3000.0;
    S->landingWork[2] = 1500.0;
    for (double ky : {0.0, -1.0, nan, 1e308}) {
        S->landingWork[13] = ky;
        Draw(S);
        EXPECT_TRUE(Calls(sim::DrawKind::Pixel).empty() && Calls(sim::DrawKind::Ellipse).empty()) << ky;
    }
    EXPECT_TRUE(sim::toolLedger().pens.empty() && sim::toolLedger().brushes.empty());
    EXPECT_EQ(sim::toolLedger().badReleases, 0);
}

TEST_F(LandingPage, EqualScalesPlaceGridCurveMarkerAndTarget) {
    S->landingPhase = 1;
    S->landingWork[0] = -3000.0;  // halfway down the plan
    S->landingWork[2] = 1500.0;
    Draw(S);
    // 3 km high and 7 km wide: a 1 km grid at 41.7 m per pixel, the target 144 px in.
    const int tx = kLeft + 144;
    std::vector<int> xs, ys;
    for (const PenLine &l : LinesOf(2, colGrey)) {
        (l.x0 == l.x1 ? xs : ys).push_back(l.x0 == l.x1 ? l.x0 : l.y0);
        EXPECT_EQ(l.x0 == l.x1 ? l.y1 : l.x1, l.x0 == l.x1 ? kTop + 1 : tx);
    }
    EXPECT_EQ(xs, (std::vector<int>{tx - 25, tx - 49, tx - 73, tx - 97, tx - 121}));
    EXPECT_EQ(ys, (std::vector<int>{kBottom - 25, kBottom - 49}));

    // Every point on the line from the top left corner to the target on the ground.
    std::vector<sim::DrawCall> curve = Calls(sim::DrawKind::Pixel);
    ASSERT_GE(curve.size(), 140u);
    EXPECT_EQ(curve.front().x0, kLeft);
    EXPECT_EQ(curve.front().y0, kTop);
    EXPECT_GE(curve.back().x0, tx - 1);
    for (size_t i = 1; i < curve.size(); ++i) {
        EXPECT_NEAR(curve[i].y0, kTop + 0.5 * (curve[i].x0 - kLeft), 1.0) << i;
        EXPECT_TRUE(curve[i].x0 - curve[i - 1].x0 >= 0 && curve[i].x0 - curve[i - 1].x0 <= 2) << i;
    }

    std::vector<sim::DrawCall> marker = Calls(sim::DrawKind::Ellipse);
    ASSERT_EQ(marker.size(), 1u);
    EXPECT_EQ(marker[0].x0, kLeft + 72 - 3);
    EXPECT_EQ(marker[0].y0, kBottom - 36 - 3);
    std::vector<PenLine> guides = LinesOf(2, colLightBlue);
    ASSERT_EQ(guides.size(), 2u);
    EXPECT_EQ(guides[0].y1, kBottom);
    EXPECT_EQ(guides[1].x0, kLeft);
    std::vector<PenLine> target = LinesOf(2, kMaroon);
    ASSERT_EQ(target.size(), 1u);
    EXPECT_EQ(target[0].x0, tx);
}

TEST_F(LandingPage, FinalPhaseAndTicksAndRescale) {
    S->landingPhase = 5;
    Draw(S);  // the target at the right edge: 6 km over 168 px, a line every 28 px
    EXPECT_EQ(S->graphStyle, 3);
    EXPECT_EQ(LinesOf(2, kMaroon).at(0).x0, kRight);
    EXPECT_EQ(LinesOf(2, colGrey).at(0).x0, kRight - 29);

    S->landingPhase = 1;
    S->graphStyle = 0;  // short solid ticks in place of lines
    Draw(S);
    std::vector<PenLine> ticks = LinesOf(1, colGrey);
    ASSERT_EQ(ticks.size(), 7u);
    EXPECT_TRUE(LinesOf(2, colGrey).empty());
    EXPECT_EQ(ticks[0].y0 - ticks[0].y1, 2);
    EXPECT_EQ(ticks[6].x1, kLeft + 3);

    S->holdOn = true;
    S->landingWork[0] = -3000.0;
    S->landingWork[2] = 500.0;  // below a quarter of the 3 km shown: restart at now
    SetTime(30.0);
    Draw(S);
    EXPECT_NEAR(S->landingWork[12], 30.0, 1e-3);
    EXPECT_NEAR(S->landingWork[13], 0.5, 1e-6);
    EXPECT_NEAR(S->landingWork[15], -3000.0, 1e-2);
    EXPECT_EQ(Calls(sim::DrawKind::Pixel).at(0).x0, kLeft);
    EXPECT_EQ(Calls(sim::DrawKind::Pixel).at(0).y0, kTop);
    S->holdOn = false;
    S->landingPhase = 0;  // waiting rewinds the start, keeps the zoom, shows no vessel point
    Draw(S);
    EXPECT_EQ(S->landingWork[12], 0.0);
    EXPECT_NEAR(S->landingWork[13], 0.5, 1e-6);
    EXPECT_TRUE(Calls(sim::DrawKind::Ellipse).empty());
}

// A braking descent as a picture (docs/page_landing.png, written where
// TESSARC_GALLERY points): 40 km short at 15 km, closing at 1.6 km/s, to stop over
// the target after 50 s; the vessel 20 s in, on its plan, so its point is on the curve.
TEST_F(LandingPage, PictureOfABrakingDescentWithTheVesselOnItsPlan) {
    Plan({-32.0, 50.0, -40000.0, 1600.0, 15000.0, -450.0}, {0, 0, 0, 0.06, 0, 0});
    S->graphStyle = 3;
    S->holdOn = S->landBrake = true;
    S->landingPhase = 1;
    S->manualTarget = 1;
    S->targetLon = -23.47 * kDeg;
    S->targetLat = 0.67 * kDeg;
    S->landingParams[4] = 4.0;
    S->stepDt = 0.1;
    const double t = 20.0, work[12] = {-14400, 960, 6480, -378, 12.3, -0.4, 0, 0, 0, 0, 3.2, -1.7};
    std::copy(work, work + 12, S->landingWork);
    S->landingDv = 1250.0;
    S->landingValues[6] = 63.2;
    S->elevation = -1372.0;
    SetTime(t);
    Orient(-12.5 * kDeg, 2.0 * kDeg);
    Draw(S);
    std::vector<sim::DrawCall> marker = Calls(sim::DrawKind::Ellipse);
    ASSERT_EQ(marker.size(), 1u);
    int nearest = 1 << 20;
    for (const sim::DrawCall &p : Calls(sim::DrawKind::Pixel))
        nearest = std::min(nearest, std::abs(p.x0 - marker[0].x0 - 3) + std::abs(p.y0 - marker[0].y0 - 3));
    EXPECT_LE(nearest, 2);

    const char *dir = std::getenv("TESSARC_GALLERY");
    std::string err, path = (dir != nullptr && *dir ? std::string(dir) : ::testing::TempDir()) + "/page_landing.png";
    EXPECT_TRUE(sim::writePicture(pad.drawing(), path, err)) << err;
}

}  // namespace
