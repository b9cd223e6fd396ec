// The Landing page's graph of the planned descent: height over along-track
// position, the target at along-track 0. The plot spans grid points (7, 17) to
// (35, 29); the zoom state lives in landingWork[12..15], which RescaleLandingGraph
// alone writes before a frame:
//   [12] t0, the trajectory time of the last rescale (s since brakeStartMjd)
//   [13] ky, the displayed height over the trajectory's start height
//   [14] kx, the along-track position over the trajectory's start position
//   [15] xL, the along-track position at the plot's left edge
// Everything drawn stays inside the plot area, and every pixel coordinate comes
// from a bounded conversion, so no value of the state can reach past the page.
#include <cmath>

#include "display/landing_page.h"
#include "frame/state.h"
#include "frame/surface.h"

namespace {

const DWORD colGrid = 0x808080;
const DWORD colCurve = 0xC0C0C0;
const DWORD colMarker = 0xFF4D4D;
const DWORD colMarkerFill = 0x00FFFF;
const DWORD colTarget = 0x000080;
const int penSolid = 1;
const int penDashed = 2;

const double rangeOverHeight = 7.0 / 3.0;  // the plot is 28 cells wide and 12 high
const int maxGridLines = 256;             // per axis, far above what a sane scale gives
const double pixelLimit = 1e6;

// Metres of the plot's along range above which each grid step is chosen.
const int gridSteps[] = {50, 100, 250, 500, 1000, 2500, 5000, 10000, 25000, 50000, 100000, 250000};

// A pixel coordinate from a double: truncated toward zero, kept in range.
int Pix(double v) {
    if (!(v > -pixelLimit)) return static_cast<int>(-pixelLimit);  // also NaN
    if (v > pixelLimit) return static_cast<int>(pixelLimit);
    return static_cast<int>(v);
}

// The planned trajectory: along-track position and height over time.
struct Trajectory {
    double a0, x0, v0, h0, vs0;
    double c0, c1, c2, d0, d1, d2;
};

Trajectory TrajectoryOf(const MfdState *S) {
    const double *k = S->landingConsts;
    const double *c = S->landingCoefs;
    return {k[0], k[2], k[3], k[4], k[5], c[0], c[1], c[2], c[3], c[4], c[5]};
}

double AlongAt(const Trajectory &p, double t) {
    return p.x0 + t * (p.v0 + t * (0.5 * p.a0 + t * (p.c0 + t * (p.c1 + t * p.c2))));
}
double HeightAt(const Trajectory &p, double t) { return p.h0 + t * (p.vs0 + t * t * (p.d0 + t * (p.d1 + t * p.d2))); }
double AlongRateAt(const Trajectory &p, double t) {
    return p.v0 + t * (p.a0 + t * (3.0 * p.c0 + t * (4.0 * p.c1 + t * 5.0 * p.c2)));
}

// A pen (and optionally a brush) selected for a few calls, then given back.
struct Tools {
    oapi::Sketchpad *surface;
    oapi::Pen *pen;
    oapi::Pen *previousPen;
    oapi::Brush *brush;
    oapi::Brush *previousBrush;
};

Tools TakePen(oapi::Sketchpad *surface, int style, DWORD colour) {
    Tools t = {surface, oapiCreatePen(style, 1, colour), nullptr, nullptr, nullptr};
    t.previousPen = SurfaceSetPen(surface, t.pen);
    return t;
}

void TakeBrush(Tools &t, DWORD colour) {
    t.brush = oapiCreateBrush(colour);
    t.previousBrush = SurfaceSetBrush(t.surface, t.brush);
}

void GiveBack(Tools &t) {
    SurfaceSetPen(t.surface, t.previousPen);
    if (t.pen != nullptr) oapiReleasePen(t.pen);
    if (t.brush != nullptr) {
        SurfaceSetBrush(t.surface, t.previousBrush);
        oapiReleaseBrush(t.brush);
    }
}

// Plot area and scales of one frame.
struct Plot {
    int left, right, top, bottom;
    double W, Hp;      // plot width and height, pixels
    double H;          // height at the top edge, m
    double mppX, mppY; // metres per pixel
    double xL, Q;      // along-track at the left and right edges, m
    int targetX;       // pixel column of along-track 0
    oapi::Sketchpad *skp;  // the frame's drawing surface
};

bool Inside(const Plot &p, int x, int y) { return x >= p.left && x <= p.right && y >= p.top && y <= p.bottom; }

// Restarts the graph at the planned point of time t.
void Rescale(MfdState *S, const Trajectory &p, double t) {
    const double x = AlongAt(p, t), y = HeightAt(p, t);
    if (p.h0 == 0.0 || !std::isfinite(x) || !std::isfinite(y)) return;  // no height to scale by
    double *zoom = S->landingWork;
    zoom[12] = t;
    zoom[13] = y / p.h0;
    zoom[14] = p.x0 != 0.0 ? x / p.x0 : 0.0;
    zoom[15] = x;
}

void UpdateZoom(MfdState *S, const Trajectory &p, double t) {
    bool test = false;
    switch (S->landingPhase) {
    case LANDING_WAIT:
        S->landingWork[LW_GRAPH_T0] = 0.0;
        test = true;
        break;
    case LANDING_BRAKE:
    case LANDING_APPROACH: test = true; break;
    case LANDING_FINAL: S->graphStyle = 3; break;
    default: break;
    }
    if (!test || !S->holdOn) return;
    const double *w = S->landingWork;
    const double shown = p.h0 * w[13];
    if (0.25 * shown > w[2] || rangeOverHeight * shown + w[15] < w[0]) Rescale(S, p, t);
}

// False when the zoom state gives no usable scale (nothing is plotted then).
bool MakePlot(const MfdState *S, const TextGrid &g, const Trajectory &traj, Plot &p) {
    p.skp = g.surface;
    const int cw = g.cellWidth;
    p.left = g.originX + 7 * cw;
    p.right = g.originX + 35 * cw;
    p.top = g.originY + 17 * cw;
    p.bottom = g.originY + 29 * cw;
    p.W = 28.0 * cw;
    p.Hp = 12.0 * cw;
    p.H = S->landingWork[LW_GRAPH_KY] * traj.h0;
    p.xL = S->landingWork[LW_GRAPH_LEFT];
    p.mppY = p.H / p.Hp;
    if (S->graphStyle == 0 || S->graphStyle == 1) {
        p.mppX = p.mppY;
        p.Q = p.xL + rangeOverHeight * p.H;
    } else {
        p.mppX = std::fabs(p.xL) / p.W;
        p.Q = 0.0;
    }
    if (cw <= 0 || !(p.H > 0.0) || !std::isfinite(p.H) || !(p.mppX > 0.0) || !std::isfinite(p.W * p.mppX) ||
        !(p.Q - p.xL > 0.0) || !std::isfinite(p.Q - p.xL))
        return false;
    p.targetX = Pix(p.left - std::trunc(p.xL / p.mppX));
    return true;
}

double GridStep(const Plot &p) {
    const double range = rangeOverHeight * p.H;
    double d = 50000.0;
    for (int step : gridSteps) {
        if (step > range) {
            d = step / 10;
            break;
        }
    }
    while (p.W * p.mppX / d > 10.0) d += d;  // terminates: W * mppX is finite
    return d;
}

void DrawGrid(const MfdState *S, const Plot &p) {
    const int style = S->graphStyle;
    if (style < 0 || style > 3) return;
    const bool lines = style == 1 || style == 3;
    const double d = GridStep(p);
    const int tick = static_cast<int>(p.W / 50.0);
    Tools tools = TakePen(p.skp, lines ? penDashed : penSolid, colGrid);
    oapi::Sketchpad *skp = p.skp;

    // Along-track lines left of the target, from the first one that can fall inside.
    const double range = std::fabs(p.xL);
    double k = std::floor((p.targetX - 1 - p.right) * p.mppX / d);
    if (k < 1.0) k = 1.0;
    for (int n = 0; n < maxGridLines && k * d < range; ++n, k += 1.0) {
        const int x = Pix(p.targetX - std::trunc(k * d / p.mppX) - 1);
        if (x <= p.left) break;
        if (x >= p.right) continue;
        if (lines)
            SurfaceLine(skp, x, p.bottom - 1, x, p.top + 1);
        else
            SurfaceLine(skp, x, p.bottom - 1, x, p.bottom - tick);
    }
    // Height lines, ending at the target's column.
    const int end = lines ? (p.right + 1 < p.targetX ? p.right + 1 : p.targetX) : p.left + tick;
    for (int n = 1; n <= maxGridLines && n * d < p.H; ++n) {
        const int y = Pix(p.bottom - std::trunc(n * d / p.mppY) - 1);
        if (y <= p.top) break;
        if (y < p.bottom && end > p.left + 1) SurfaceLine(skp, p.left + 1, y, end, y);
    }
    GiveBack(tools);
}

// The planned path from the last rescale, about one pixel of along-track per point.
void DrawCurve(const MfdState *S, const Trajectory &traj, const Plot &p) {
    double t = S->landingWork[LW_GRAPH_T0];
    const int points = static_cast<int>(p.W) + 1;
    for (int i = 0; i < points; ++i) {
        const double x = AlongAt(traj, t);
        if (!(x <= p.Q) || !(x <= 0.0)) break;  // past the range or the target (or not a number)
        const int px = Pix(p.right - (p.Q - x) * p.W / (p.Q - p.xL));
        const int py = Pix(p.bottom - HeightAt(traj, t) * p.Hp / p.H);
        if (Inside(p, px, py)) SurfacePixel(p.skp, px, py, colCurve);
        const double dt = p.mppX / AlongRateAt(traj, t);
        if (!std::isfinite(dt)) break;
        t += dt;
    }
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

void DrawMarker(const MfdState *S, const Plot &p) {
    const int x = Clamp(Pix(p.right - (p.Q - S->landingWork[LW_ALONG]) * p.W / (p.Q - p.xL)), p.left, p.right);
    const int y = Clamp(Pix(p.bottom - S->landingWork[LW_HEIGHT] * p.Hp / p.H), p.top, p.bottom);
    oapi::Sketchpad *skp = p.skp;
    Tools tools = TakePen(skp, penDashed, colMarker);
    SurfaceLine(skp, x, y, x, p.bottom);
    SurfaceLine(skp, p.left, y, x, y);
    TakeBrush(tools, colMarkerFill);
    SurfaceEllipse(skp, x - 3, y - 3, x + 3, y + 3);
    GiveBack(tools);
}

void DrawTarget(const Plot &p) {
    if (p.targetX < p.left || p.targetX > p.right) return;
    Tools tools = TakePen(p.skp, penDashed, colTarget);
    SurfaceLine(p.skp, p.targetX, p.bottom - 1, p.targetX, p.top + 1);
    GiveBack(tools);
}

}  // namespace

void RescaleLandingGraph(MfdState *S, double t) {
    if (S != nullptr) UpdateZoom(S, TrajectoryOf(S), t);
}

void DrawLandingProfile(const MfdState *S, const TextGrid &g) {
    if (S == nullptr || g.surface == nullptr) return;
    const Trajectory traj = TrajectoryOf(S);
    Plot p;
    if (!MakePlot(S, g, traj, p)) return;
    DrawGrid(S, p);
    DrawCurve(S, traj, p);
    if (S->landingPhase != LANDING_WAIT && S->landingPhase != LANDING_NO_SOLUTION) DrawMarker(S, p);
    DrawTarget(p);
}
