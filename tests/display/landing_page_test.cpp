// The Landing page read back from the recorded text grid and shapes: phase words
// and their colours, the status line, the target line, the phase's own lines,
// attitude, and the descent graph of a known trajectory point by point.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "display/format.h"
#include "display/landing_page.h"
#include "page_world.h"
#include "sim/picture.h"

namespace {

const double kDeg = PI / 180.0;
const DWORD kSalmon = 0x7A96E9, kMaroon = 0x000080, kDarkGreen = 0x008000;
// The plot area of the 256 x 256 display: cell 6 px, grid origin (17, 0).
const int kLeft = 17 + 7 * 6, kRight = 17 + 35 * 6, kTop = 17 * 6, kBottom = 29 * 6;

// A line with the pen it was drawn with.
struct PenLine {
    int x0, y0, x1, y1;
    int style;
    DWORD colour;
};

class LandingPage : public PageWorld {
protected:
    MfdState *S = nullptr;

    void SetUp() override {
        AddShip("Ship");
        S = PageState("Ship", AP_LANDING);
        // A straight-line descent: from 6 km short of the target at 3 km height,
        // closing at 100 m/s and sinking at 50 m/s, on the target after 60 s.
        double consts[6] = {0.0, 60.0, -6000.0, 100.0, 3000.0, -50.0};
        for (int i = 0; i < 6; ++i) S->landingConsts[i] = consts[i];
        for (double &c : S->landingCoefs) c = 0.0;
        S->landingWork[12] = 0.0;
        S->landingWork[13] = 1.0;
        S->landingWork[14] = 1.0;
        S->landingWork[15] = -6000.0;
        S->graphStyle = 1;
        SetTime(0.0);
    }
    // The ship's axes in global coordinates for pitch p and bank b over its radial "up" (+x).
    void Orient(double p, double b) {
        const VECTOR3 z = _V(std::sin(p), 0, std::cos(p)), h = _V(std::cos(p), 0, -std::sin(p)), k = _V(0, -1, 0);
        const VECTOR3 y = h * std::cos(b) + k * std::sin(b), x = k * std::cos(b) - h * std::sin(b);
        Ship("Ship")->R = _M(x.x, y.x, z.x, x.y, y.y, z.y, x.z, y.z, z.z);
    }
    // Seconds since the start of the planned trajectory.
    void SetTime(double t) { S->brakeStartMjd = w.mjd() - t / 86400.0; }

    std::vector<PenLine> Lines() const {
        std::vector<PenLine> out;
        int style = 0;
        DWORD colour = 0;
        for (const sim::DrawCall &c : pad.drawing().calls) {
            if (c.kind == sim::DrawKind::SetPen && !c.none) {
                style = c.style;
                colour = c.colour;
            } else if (c.kind == sim::DrawKind::Line) {
                out.push_back({c.x0, c.y0, c.x1, c.y1, style, colour});
            }
        }
        return out;
    }
    std::vector<PenLine> LinesOf(int style, DWORD colour) const {
        std::vector<PenLine> out;
        for (const PenLine &l : Lines())
            if (l.style == style && l.colour == colour) out.push_back(l);
        return out;
    }
    std::vector<sim::DrawCall> Calls(sim::DrawKind kind) const {
        std::vector<sim::DrawCall> out;
        for (const sim::DrawCall &c : pad.drawing().calls)
            if (c.kind == kind) out.push_back(c);
        return out;
    }
};

TEST_F(LandingPage, PhaseWordsAndTheirColours) {
    S->holdOn = false;
    S->landBrake = false;
    S->landingPhase = 1;
    Draw(S);
    EXPECT_EQ(At(3, 1, 32), "Att.Mode : Landing AP OFF  BRAKE");
    EXPECT_EQ(ColourAt(3, 28), colWhite);
    EXPECT_EQ(At(32, 1, 6), "NO BRK");

    S->holdOn = true;
    S->landBrake = true;
    S->landingPhase = 3;
    Draw(S);
    EXPECT_EQ(At(3, 24, 2), "ON");
    EXPECT_EQ(ColourAt(3, 24), colLightBlue);
    EXPECT_EQ(At(3, 28, 8), "APPROACH");
    EXPECT_EQ(ColourAt(3, 28), kSalmon);
    EXPECT_EQ(At(32, 1, 6), "BRK ON");

    // Landed: white even while engaged.
    S->landingPhase = 6;
    Draw(S);
    EXPECT_EQ(At(3, 27, 6), "LANDED");
    EXPECT_EQ(ColourAt(3, 27), colWhite);
    EXPECT_EQ(At(14, 4, 7), "Landed.");
    EXPECT_EQ(At(35, 1, 16), "Landing complete");

    // Touchdown counts as engaged with the autopilot off.
    S->holdOn = false;
    S->landingPhase = 9;
    Draw(S);
    EXPECT_EQ(At(3, 24, 2), "ON");
    EXPECT_EQ(At(3, 27, 9), "TOUCHDOWN");
    EXPECT_EQ(ColourAt(3, 27), kSalmon);
    EXPECT_EQ(At(35, 1, 30), "Touchdown:applying full brakes");

    // A stopped descent shows ABORTED and none of the phase's lines.
    S->holdOn = false;
    S->landingPhase = 1;
    S->landingFlags = 1u << 12;
    Draw(S);
    EXPECT_EQ(At(3, 28, 7), "ABORTED");
    EXPECT_FALSE(Shows("Brake end time:"));
    EXPECT_FALSE(Shows("errY:"));
    EXPECT_EQ(At(35, 1, 16), "stopping descent");
    EXPECT_EQ(ColourAt(35, 1), colGrey);
}

TEST_F(LandingPage, StatusLineTakesTheLastTrueConditionAndErrorsStopTheProfile) {
    S->holdOn = true;
    S->landingPhase = 1;
    S->landingFlags = (1u << 7) | (1u << 2);  // two warnings: the later one wins
    Draw(S);
    EXPECT_EQ(At(35, 1, 22), "critical landing phase");
    EXPECT_EQ(ColourAt(35, 1), colGrey);
    EXPECT_FALSE(Calls(sim::DrawKind::Pixel).empty());

    S->landingFlags = (1u << 1) | (1u << 7) | 1u;  // an error, a warning, another MFD driving
    Draw(S);
    EXPECT_EQ(At(22, 9, 22), "no base on gravity ref");
    EXPECT_EQ(ColourAt(22, 9), colRed);
    EXPECT_EQ(At(35, 21, 15), "Other MFD AP on");
    EXPECT_EQ(ColourAt(35, 21), colGreen);
    // Only the axes and their labels: no curve, marker or target line.
    EXPECT_TRUE(Calls(sim::DrawKind::Pixel).empty());
    EXPECT_TRUE(Calls(sim::DrawKind::Ellipse).empty());
    std::vector<PenLine> below = Lines();  // all but the header's separator
    below.erase(below.begin());
    ASSERT_EQ(below.size(), 2u);
    for (const PenLine &l : below) {
        EXPECT_EQ(l.colour, colYellow);
        EXPECT_EQ(l.y0, kBottom);
    }
    EXPECT_EQ(At(17, 7, 1), "y");
    EXPECT_EQ(At(29, 35, 1), "z");

    S->landingFlags = (1u << 13) | (1u << 6) | (1u << 16);
    Draw(S);
    EXPECT_EQ(At(22, 9, 19), "alignment not valid");
    S->landingFlags = 0;
    S->landingPhase = 7;
    Draw(S);
    EXPECT_EQ(At(18, 8, 29), "! unable to find a solution !");
    EXPECT_EQ(At(35, 1, 8), "no error");
}

TEST_F(LandingPage, TargetLineByKindOfTarget) {
    S->manualTarget = 1;
    S->targetLon = -33.5 * kDeg;
    S->targetLat = 12.25 * kDeg;
    Draw(S);
    EXPECT_EQ(At(5, 1, 32), "Manual Location: -33.500 +12.250");
    EXPECT_EQ(ColourAt(5, 1), colYellow);
    EXPECT_EQ(ColourAt(5, 18), colWhite);

    // A vessel target with a pad number: its name cut to 22 characters.
    const std::string name = "Lander-with-a-very-long-name-indeed";
    AddShip(name, 0.001);
    S->manualTarget = 0;
    S->targetRef = Ship(name);
    std::snprintf(S->targetRefName, sizeof S->targetRefName, "%s", name.c_str());
    S->padIndex = 3;
    Draw(S);
    EXPECT_EQ(At(5, 1, 35), "Target: " + name.substr(0, 22) + " - 03");
    S->padIndex = 0;
    Draw(S);
    EXPECT_EQ(At(5, 9, 28), name.substr(0, 28));

    // The body itself: its name as the reference.
    S->targetRef = S->bodyRef;
    std::snprintf(S->targetRefName, sizeof S->targetRefName, "%s", S->bodyRefName);
    Draw(S);
    EXPECT_EQ(At(5, 1, 15), "Ref.Body: Earth");
}

TEST_F(LandingPage, WaitingShowsBurnTimesOrTheNextPassage) {
    S->holdOn = true;
    S->landingPhase = 0;
    S->landingAttMode = 3;
    S->landingWork[19] = 1500.0;
    S->landingDv = 812.5;
    S->landingValues[6] = 42.0;
    S->passHalfWidth = 25000.0;
    SetTime(-90.0);
    Draw(S);
    EXPECT_EQ(At(3, 28, 4), "WAIT");
    EXPECT_EQ(At(3, 34, 3), "BRK");
    EXPECT_EQ(ColourAt(3, 34), 0x2A2AA5u);
    EXPECT_EQ(At(14, 4, 31), "Burn start time: 90.00   1.500k");
    EXPECT_EQ(At(16, 9, 25), "yzdV: 812.5   Fuel: 42.00");
    EXPECT_EQ(At(12, 1, 15), "(max :  25.00k)");
    EXPECT_EQ(At(30, 10, 4), "areq");  // the value's leading blank falls on the colon
    EXPECT_EQ(ColourAt(30, 10), colOrangeRed);

    S->landingFlags = 1u << 14;  // no thrust: no burn to time
    Draw(S);
    EXPECT_FALSE(Shows("Burn start time:"));
    EXPECT_FALSE(Shows("areq:"));
    EXPECT_EQ(At(14, 6, 28), "Next closest passage: 1.500k");
    EXPECT_TRUE(Shows("(max :"));
}

TEST_F(LandingPage, BrakingAndApproachCountDownToTheirEndTimes) {
    S->holdOn = true;
    S->landingPhase = 1;
    S->landingParams[4] = 5.0;
    S->landingParams[5] = 15.0;
    S->landingWork[10] = -12.0;
    S->landingWork[11] = 7.5;
    SetTime(20.0);
    Draw(S);
    EXPECT_EQ(At(14, 4, 21), "Brake end time: 35.00");  // 60 - 5 - 20
    EXPECT_EQ(At(30, 10, 11), "errY: 7.500");
    EXPECT_EQ(At(30, 23, 11), "errZ:-12.00");

    S->landingPhase = 3;
    Draw(S);
    EXPECT_EQ(At(14, 4, 24), "Approach end time: 25.00");

    S->landingFlags = 1u << 4;  // a failed plan: no times, no tracking values
    Draw(S);
    EXPECT_FALSE(Shows("Approach end time:"));
    EXPECT_FALSE(Shows("errY:"));
    EXPECT_FALSE(Shows("yzdV:"));
}

TEST_F(LandingPage, PitchSeenFromTheHorizonWhenUpsideDown) {
    Orient(20 * kDeg, 30 * kDeg);
    Draw(S);
    EXPECT_EQ(At(32, 10, 11), "cp:+020.000");
    EXPECT_EQ(At(32, 23, 11), "cr:+030.000");
    EXPECT_EQ(ColourAt(32, 13), kDarkGreen);

    Orient(20 * kDeg, 120 * kDeg);
    Draw(S);
    EXPECT_EQ(At(32, 13, 8), "+160.000");
    EXPECT_EQ(At(32, 26, 8), "+120.000");
}

TEST_F(LandingPage, ExtremeValuesStayOnTheirLinesAndToolsAreReleased) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    S->holdOn = true;
    S->landingPhase = 1;
    S->manualTarget = 1;
    S->targetLon = 1e300;
    S->targetLat = nan;
    S->stepDt = 1e300;
    S->elevation = -1e300;
    for (int i = 0; i < 12; ++i) S->landingWork[i] = i % 2 ? 1e300 : nan;
    S->landingDv = std::numeric_limits<double>::infinity();
    Draw(S);
    for (const sim::DrawCall &c : pad.drawing().calls)
        if (c.kind == sim::DrawKind::Text) {
            EXPECT_LE(c.x0 + static_cast<int>(c.text.size()) * 6, 17 + 36 * 6) << c.text;
        }
    EXPECT_EQ(At(5, 18, 3), "+57");

    // Scales that cannot be drawn (no height, a zoom of NaN or infinity) plot nothing.
    S->holdOn = false;
    for (double ky : {0.0, -1.0, nan, 1e308}) {
        S->landingWork[13] = ky;
        S->landingWork[0] = -3000.0;
        S->landingWork[2] = 1500.0;
        Draw(S);
        EXPECT_TRUE(Calls(sim::DrawKind::Pixel).empty()) << ky;
        EXPECT_TRUE(Calls(sim::DrawKind::Ellipse).empty()) << ky;
    }
    EXPECT_TRUE(sim::toolLedger().pens.empty());
    EXPECT_TRUE(sim::toolLedger().brushes.empty());
    EXPECT_EQ(sim::toolLedger().badReleases, 0);
}

TEST_F(LandingPage, EqualScalesPlaceGridCurveMarkerAndTarget) {
    S->landingPhase = 1;
    S->landingWork[0] = -3000.0;  // the vessel halfway down the plan
    S->landingWork[2] = 1500.0;
    Draw(S);
    // 3 km high, 7 km wide: 1 km grid, 41.7 m per pixel; the target 144 px right of the left edge.
    const int targetX = kLeft + 144;
    std::vector<PenLine> grid = LinesOf(2, colGrey);
    std::vector<int> xs, ys;
    for (const PenLine &l : grid) (l.x0 == l.x1 ? xs : ys).push_back(l.x0 == l.x1 ? l.x0 : l.y0);
    EXPECT_EQ(xs, (std::vector<int>{targetX - 25, targetX - 49, targetX - 73, targetX - 97, targetX - 121}));
    EXPECT_EQ(ys, (std::vector<int>{kBottom - 25, kBottom - 49}));
    for (const PenLine &l : grid) {
        if (l.y0 == l.y1) {
            EXPECT_EQ(l.x1, targetX);  // height lines end at the target
        } else {
            EXPECT_EQ(l.y1, kTop + 1);
        }
    }

    // The straight plan: every point on the line from the top left corner to the
    // target on the ground, about one pixel apart along the axis.
    std::vector<sim::DrawCall> curve = Calls(sim::DrawKind::Pixel);
    ASSERT_GE(curve.size(), 140u);
    EXPECT_EQ(curve.front().x0, kLeft);
    EXPECT_EQ(curve.front().y0, kTop);
    EXPECT_LE(curve.back().x0, targetX);
    EXPECT_GE(curve.back().x0, targetX - 1);
    for (size_t i = 0; i < curve.size(); ++i) {
        EXPECT_EQ(curve[i].colour, colSilver);
        EXPECT_NEAR(curve[i].y0, kTop + 0.5 * (curve[i].x0 - kLeft), 1.0) << i;
        if (i > 0) {
            EXPECT_GE(curve[i].x0 - curve[i - 1].x0, 0) << i;
            EXPECT_LE(curve[i].x0 - curve[i - 1].x0, 2) << i;
        }
    }

    // The vessel's point with its dashed guides to both axes.
    std::vector<sim::DrawCall> marker = Calls(sim::DrawKind::Ellipse);
    ASSERT_EQ(marker.size(), 1u);
    const int mx = kLeft + 72, my = kBottom - 36;
    EXPECT_EQ(marker[0].x0, mx - 3);
    EXPECT_EQ(marker[0].y0, my - 3);
    EXPECT_EQ(marker[0].x1, mx + 3);
    std::vector<PenLine> guides = LinesOf(2, colLightBlue);
    ASSERT_EQ(guides.size(), 2u);
    EXPECT_EQ(guides[0].x0, mx);
    EXPECT_EQ(guides[0].y1, kBottom);
    EXPECT_EQ(guides[1].x0, kLeft);
    EXPECT_EQ(guides[1].y0, my);

    std::vector<PenLine> target = LinesOf(2, kMaroon);
    ASSERT_EQ(target.size(), 1u);
    EXPECT_EQ(target[0].x0, targetX);
    EXPECT_EQ(target[0].y0, kBottom - 1);
    EXPECT_EQ(target[0].y1, kTop + 1);
}

TEST_F(LandingPage, FinalPhasePutsTheTargetAtTheRightEdgeWithTicksOrLines) {
    S->landingPhase = 5;
    S->landingWork[0] = -1200.0;
    S->landingWork[2] = 600.0;
    Draw(S);
    EXPECT_EQ(S->graphStyle, 3);
    std::vector<PenLine> target = LinesOf(2, kMaroon);
    ASSERT_EQ(target.size(), 1u);
    EXPECT_EQ(target[0].x0, kRight);
    // 6 km over 168 px: lines every 28 px left of the target.
    std::vector<int> xs;
    for (const PenLine &l : LinesOf(2, colGrey))
        if (l.x0 == l.x1) xs.push_back(l.x0);
    EXPECT_EQ(xs, (std::vector<int>{kRight - 29, kRight - 57, kRight - 85, kRight - 113, kRight - 141}));

    // Style 0: short solid ticks on both axes at the equal-scale positions.
    S->landingPhase = 1;
    S->graphStyle = 0;
    Draw(S);
    std::vector<PenLine> ticks = LinesOf(1, colGrey);
    ASSERT_EQ(ticks.size(), 7u);
    for (const PenLine &l : ticks) {
        if (l.x0 == l.x1) {
            EXPECT_EQ(l.y0 - l.y1, 2);  // from bottom - 1 up to bottom - 3
        } else {
            EXPECT_EQ(l.x1, kLeft + 3);
        }
    }
    EXPECT_TRUE(LinesOf(2, colGrey).empty());
}

TEST_F(LandingPage, RescaleRestartsTheGraphAtThePlannedPointOfNow) {
    S->holdOn = true;
    S->landingPhase = 1;
    S->landingWork[0] = -3000.0;
    S->landingWork[2] = 500.0;  // below a quarter of the 3 km shown
    SetTime(30.0);
    Draw(S);
    EXPECT_NEAR(S->landingWork[12], 30.0, 1e-3);
    EXPECT_NEAR(S->landingWork[13], 0.5, 1e-6);
    EXPECT_NEAR(S->landingWork[14], 0.5, 1e-6);
    EXPECT_NEAR(S->landingWork[15], -3000.0, 1e-2);
    std::vector<sim::DrawCall> curve = Calls(sim::DrawKind::Pixel);
    ASSERT_FALSE(curve.empty());
    EXPECT_EQ(curve.front().x0, kLeft);
    EXPECT_EQ(curve.front().y0, kTop);

    // Within range nothing changes; without HOLD the waiting phase only rewinds t0.
    Draw(S);
    EXPECT_NEAR(S->landingWork[15], -3000.0, 1e-2);
    S->holdOn = false;
    S->landingPhase = 0;
    Draw(S);
    EXPECT_EQ(S->landingWork[12], 0.0);
    EXPECT_NEAR(S->landingWork[13], 0.5, 1e-6);
    EXPECT_TRUE(Calls(sim::DrawKind::Ellipse).empty());  // no vessel point while waiting
}

}  // namespace

namespace {

// A braking descent drawn as a picture: 40 km short of the target at 15 km,
// closing at 1.6 km/s, planned to stop over the target at its level after 50 s;
// the vessel 20 s into it, on its plan, so its point sits on the curve.
TEST_F(LandingPage, PictureOfABrakingDescentWithTheVesselOnItsPlan) {
    const double consts[6] = {-32.0, 50.0, -40000.0, 1600.0, 15000.0, -450.0};
    const double coefs[6] = {0.0, 0.0, 0.0, 0.06, 0.0, 0.0};
    for (int i = 0; i < 6; ++i) {
        S->landingConsts[i] = consts[i];
        S->landingCoefs[i] = coefs[i];
    }
    S->landingWork[15] = -40000.0;
    S->graphStyle = 3;
    S->holdOn = true;
    S->landingPhase = 1;
    S->manualTarget = 1;
    S->targetLon = -23.47 * kDeg;
    S->targetLat = 0.67 * kDeg;
    S->landingParams[4] = 4.0;
    S->stepDt = 0.1;
    const double t = 20.0;
    SetTime(t);
    S->landingWork[0] = -40000.0 + 1600.0 * t - 16.0 * t * t;
    S->landingWork[1] = 1600.0 - 32.0 * t;
    S->landingWork[2] = 15000.0 - 450.0 * t + 0.06 * t * t * t;
    S->landingWork[3] = -450.0 + 0.18 * t * t;
    S->landingWork[4] = 12.3;
    S->landingWork[5] = -0.4;
    S->landingWork[10] = 3.2;
    S->landingWork[11] = -1.7;
    S->landingDv = 1250.0;
    S->landingValues[6] = 63.2;
    S->elevation = -1372.0;
    Orient(-12.5 * kDeg, 2.0 * kDeg);
    Draw(S);

    std::vector<sim::DrawCall> marker = Calls(sim::DrawKind::Ellipse);
    ASSERT_EQ(marker.size(), 1u);
    const int mx = (marker[0].x0 + marker[0].x1) / 2, my = (marker[0].y0 + marker[0].y1) / 2;
    int nearest = 1 << 20;
    for (const sim::DrawCall &p : Calls(sim::DrawKind::Pixel))
        nearest = std::min(nearest, std::abs(p.x0 - mx) + std::abs(p.y0 - my));
    EXPECT_LE(nearest, 2);
    EXPECT_EQ(At(14, 4, 21), "Brake end time: 26.00");

    const char *dir = std::getenv("TESSARC_GALLERY");
    std::string err, path = std::string(dir != nullptr && *dir ? dir : ::testing::TempDir().c_str()) + "/page_landing.png";
    EXPECT_TRUE(sim::writePicture(pad.drawing(), path, err)) << err;
}

}  // namespace
