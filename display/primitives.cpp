// Grid measurement and the shape primitives.
#include "display/primitives.h"

#include <cmath>

#include "frame/surface.h"

namespace {

const char blankLine[] = "                                     ";  // 37 blanks
const int sectorSteps = 90;                                      // points per arc

// Bars further out than this many box half-widths are cut there, so that no value
// (huge or not finite) turns into an out-of-range pixel coordinate.
const double barLimit = 100.0;

int Px(const TextGrid &g, int c) { return g.originX + c * g.cellWidth; }
int Py(const TextGrid &g, int r) { return g.originY + r * g.cellWidth; }

// The pen (and brush) a primitive uses, with the selection they replaced.
struct Tools {
    oapi::Sketchpad *surface;
    oapi::Pen *pen;
    oapi::Brush *brush;
    oapi::Pen *previousPen;
    oapi::Brush *previousBrush;
    bool brushSelected;
};

Tools TakePen(oapi::Sketchpad *surface, int style, int width, DWORD colour) {
    Tools t = {surface, oapiCreatePen(style, width, colour), nullptr, nullptr, nullptr, false};
    t.previousPen = SurfaceSetPen(surface, t.pen);
    return t;
}

void TakeBrush(Tools &t, DWORD colour, bool select) {
    t.brush = oapiCreateBrush(colour);
    if (select) {
        t.previousBrush = SurfaceSetBrush(t.surface, t.brush);
        t.brushSelected = true;
    }
}

void GiveBack(Tools &t) {
    SurfaceSetPen(t.surface, t.previousPen);
    if (t.brushSelected) SurfaceSetBrush(t.surface, t.previousBrush);
    if (t.pen != nullptr) oapiReleasePen(t.pen);
    if (t.brush != nullptr) oapiReleaseBrush(t.brush);
}

}  // namespace

TextGrid MakeTextGrid(oapi::Sketchpad *surface, int width, int height) {
    TextGrid g = {surface, width, height, 0, 0, 0, 0, 0};
    int w = surface != nullptr ? static_cast<int>(SurfaceTextWidth(surface, blankLine, 37)) : 0;
    if (w < 0) w = 0;
    g.cellWidth = w / 37;
    g.lineHeight = g.cellWidth;
    int ox = static_cast<int>(0.5 * (width - w));
    int oy = static_cast<int>(0.5 * (height - 24 * (height / 23)));
    g.originX = ox > 0 ? ox : 0;
    g.originY = oy > 0 ? oy : 0;
    return g;
}

void GridLine(TextGrid g, int c0, int r0, int c1, int r1, int penStyle, int penWidth, DWORD colour) {
    if (g.surface == nullptr) return;
    int shift = g.thirdRows * g.lineHeight / 3;
    Tools t = TakePen(g.surface, penStyle, penWidth, colour);
    SurfaceLine(g.surface, Px(g, c0), Py(g, r0) + shift, Px(g, c1), Py(g, r1) + shift);
    GiveBack(t);
}

void GridRect(TextGrid g, int c0, int r0, int c1, int r1, int penStyle, int penWidth, bool filled,
              DWORD colour) {
    if (g.surface == nullptr) return;
    Tools t = TakePen(g.surface, penStyle, penWidth, colour);
    TakeBrush(t, filled ? colour : 0x000000, true);
    SurfaceRectangle(g.surface, Px(g, c0), Py(g, r0), Px(g, c1), Py(g, r1));
    GiveBack(t);
}

void CentreBar(TextGrid g, int c0, int r0, int c1, int r1, int penStyle, int penWidth, double value,
               bool filled, DWORD colour) {
    if (g.surface == nullptr) return;
    if (!(std::fabs(value) >= 0.01)) return;  // also skips NaN
    if (value > barLimit) value = barLimit;
    if (value < -barLimit) value = -barLimit;
    const int cw = g.cellWidth;
    int hw = static_cast<int>(0.5 * (c1 * cw - c0 * cw));
    int hh = static_cast<int>(0.5 * (r1 * cw - r0 * cw));
    int x0, x1, y0, y1;
    if (hw >= hh) {
        int cx = c0 * cw + hw;
        int tip = static_cast<int>(value * hw + cx);
        x0 = cx < tip ? cx : tip;
        x1 = cx < tip ? tip : cx;
        y0 = r0 * cw;
        y1 = r1 * cw;
    } else {
        int cy = r0 * cw + hh;
        int tip = static_cast<int>(value * hh + cy);
        y0 = cy < tip ? cy : tip;
        y1 = cy < tip ? tip : cy;
        x0 = c0 * cw;
        x1 = c1 * cw;
    }
    x0 += g.originX;
    x1 += g.originX;
    y0 += g.originY;
    y1 += g.originY;
    Tools t = TakePen(g.surface, penStyle, penWidth, colour);
    TakeBrush(t, colour, filled);
    if (filled) {
        SurfaceRectangle(g.surface, x0, y0, x1, y1);
    } else {
        SurfaceLine(g.surface, x0, y0, x1 - 1, y0);
        SurfaceLine(g.surface, x1 - 1, y0, x1 - 1, y1 - 1);
        SurfaceLine(g.surface, x1 - 1, y1 - 1, x0, y1 - 1);
        SurfaceLine(g.surface, x0, y1 - 1, x0, y0);
    }
    GiveBack(t);
}

void RingSector(TextGrid g, int c, int r, int radius, int thickness, double a0, double a1, int penStyle,
                int penWidth, bool filled, DWORD colour) {
    if (g.surface == nullptr) return;
    if (!std::isfinite(a0) || !std::isfinite(a1)) return;
    double span = a1 - a0;
    if (!(std::fabs(span) >= 0.01)) return;
    if (thickness < 1) thickness = 1;
    const int cw = g.cellWidth;
    double cx = g.originX + c * cw;
    double cy = g.originY + r * cw;
    double outer = static_cast<double>(radius) * cw;
    double inner = outer - static_cast<double>(thickness) * cw;
    oapi::IVECTOR2 pts[2 * sectorSteps];
    for (int i = 0; i < sectorSteps; ++i) {
        double t = i * span / (sectorSteps - 1);
        pts[i].x = static_cast<long>(cx + outer * std::cos(a0 + t));
        pts[i].y = static_cast<long>(cy - outer * std::sin(a0 + t));
        pts[sectorSteps + i].x = static_cast<long>(cx + inner * std::cos(a1 - t));
        pts[sectorSteps + i].y = static_cast<long>(cy - inner * std::sin(a1 - t));
    }
    Tools t = TakePen(g.surface, penStyle, penWidth, colour);
    TakeBrush(t, colour, filled);
    if (filled)
        SurfacePolygon(g.surface, pts, 2 * sectorSteps);
    else
        SurfacePolyline(g.surface, pts, 2 * sectorSteps);
    GiveBack(t);
}

double VecLength(const VECTOR3 &v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

uint32_t SlotBit(int n) {
    uint32_t bit = 1;
    for (int i = 0; i < n && i < 32; ++i) bit += bit;
    return bit;
}

DWORD Pick(uint8_t flag, DWORD a, DWORD b) { return flag != 0 ? a : b; }
