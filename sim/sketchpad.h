// The simulated host's drawing surface: a sketchpad that records every call in
// order, so tests can read what a display drew and a renderer can replay it.
// Pens and brushes from oapiCreatePen / oapiCreateBrush are recorded objects too;
// the ledger counts them so the host can find tools that a frame never released.
#ifndef TESSARC_SIM_SKETCHPAD_H
#define TESSARC_SIM_SKETCHPAD_H

#include <set>
#include <string>
#include <vector>

#include "DrawAPI.h"
#include "fonts.h"

namespace sim {

// Text cells across a display: the host's MFD font fills the width with 37 of them.
const int kScreenColumns = 37;

class RecordedPen : public oapi::Pen {
public:
    RecordedPen(int style, int width, DWORD colour) : oapi::Pen(style, width, colour), style(style), width(width), colour(colour) {}
    int style;  // 0 invisible, 1 solid, 2 dashed
    int width;
    DWORD colour;  // 0xBBGGRR
};

class RecordedBrush : public oapi::Brush {
public:
    explicit RecordedBrush(DWORD colour) : oapi::Brush(colour), colour(colour) {}
    DWORD colour;
};

enum class DrawKind { SetPen, SetBrush, SetTextColor, Text, Pixel, MoveTo, LineTo, Line, Rectangle, Ellipse, Polygon, Polyline, SetFont };

// One recorded call. Coordinates are surface pixels (the origin already added).
// SetPen: style, width, colour (none = no pen; style -1 = a pen this host did not
// hand out or already took back). SetBrush: colour (none = no brush; style -1 likewise).
// SetTextColor, Pixel: colour. Text, Pixel, MoveTo, LineTo: x0, y0.
// Text also: x1, y1 the far corner of its box in the surface's font (GetTextWidth
// by GetCharSize's height), width the font's character height (0: the surface's
// plain cells). SetFont: width the character height (none = no font; style -1 =
// a font this host did not hand out or already took back).
// Line, Rectangle, Ellipse: x0, y0, x1, y1. Polygon, Polyline: points.
struct DrawCall {
    DrawKind kind = DrawKind::Text;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    DWORD colour = 0;
    int style = 0, width = 0;
    bool none = false;
    std::string text;
    std::vector<oapi::IVECTOR2> points;
};

// Everything one display drew in one frame.
struct Drawing {
    int width = 0, height = 0;
    int charWidth = 1;          // pixels per text cell, across and down
    int gridX = 0, gridY = 0;   // pixel position of the first text cell
    std::vector<DrawCall> calls;
};

// Pixels per text cell on a display of width w.
inline int charWidthFor(int w) { return w / kScreenColumns > 1 ? w / kScreenColumns : 1; }

class RecordingSketchpad : public oapi::Sketchpad {
public:
    // A surface of plain cells (37 across the width, square), or one that starts in
    // the given host font, as the host hands an MFD its surface.
    RecordingSketchpad(int width, int height, const HostFont *hostFont = nullptr);

    const Drawing &drawing() const { return rec; }
    const oapi::Font *selectedFont() const { return font; }
    Drawing takeDrawing();

    oapi::Font *SetFont(oapi::Font *font) const override;
    oapi::Pen *SetPen(oapi::Pen *pen) const override;
    oapi::Brush *SetBrush(oapi::Brush *brush) const override;
    void SetTextAlign(TAlign_horizontal tah, TAlign_vertical tav) override;
    DWORD SetTextColor(DWORD col) override;
    DWORD SetBackgroundColor(DWORD col) override;
    void SetBackgroundMode(BkgMode mode) override;
    DWORD GetCharSize() override;
    DWORD GetTextWidth(const char *str, int len = 0) override;
    void SetOrigin(int x, int y) override;
    void GetOrigin(int *x, int *y) const override;
    bool Text(int x, int y, const char *str, int len) override;
    void Pixel(int x, int y, DWORD col) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Line(int x0, int y0, int x1, int y1) override;
    void Rectangle(int x0, int y0, int x1, int y1) override;
    void Ellipse(int x0, int y0, int x1, int y1) override;
    void Polygon(const oapi::IVECTOR2 *pt, int npt) override;
    void Polyline(const oapi::IVECTOR2 *pt, int npt) override;

private:
    // The host API declares pen, brush and font selection const; recording them
    // still changes the surface's state.
    mutable Drawing rec;
    mutable oapi::Pen *pen = nullptr;
    mutable oapi::Brush *brush = nullptr;
    mutable oapi::Font *font = nullptr;
    const HostFont *startFont = nullptr;  // the display's font the surface was handed over in
    mutable FontMetrics metrics;  // of the selected font (emHeight 0: plain cells)
    DWORD textColour = 0xFFFFFF;
    DWORD backColour = 0;
    int originX = 0, originY = 0;
    TAlign_horizontal alignH = LEFT;
    TAlign_vertical alignV = TOP;
    BkgMode bkMode = BK_TRANSPARENT;
};

// The text a drawing wrote, laid on the plug-in's 37-column grid: row and column of
// a text's first character from its pixel position, each following character in the
// next column. colours[r][c] is the text colour of the cell (0 where nothing was written).
struct TextScreen {
    int rows = 0;
    std::vector<std::string> lines;            // each exactly 37 characters, blanks where empty
    std::vector<std::vector<DWORD>> colours;   // rows x 37
    std::vector<std::vector<bool>> written;    // rows x 37
};

TextScreen textScreen(const Drawing &d);
// The screen's lines joined by '\n', trailing blanks and trailing empty lines removed.
std::string screenText(const TextScreen &s);
// Grid origin in pixels for a display of w x h (the plug-in's layout).
void gridOrigin(int w, int h, int *ox, int *oy);

// Pens and brushes handed out by the host and not yet released.
struct ToolLedger {
    std::set<const oapi::Pen *> pens;
    std::set<const oapi::Brush *> brushes;
    long pensCreated = 0, pensReleased = 0;
    long brushesCreated = 0, brushesReleased = 0;
    long badReleases = 0;  // release of a tool the host did not hand out (or already took back)
};
ToolLedger &toolLedger();
// Frees every tool still outstanding (end of a run) and returns how many there were.
int releaseOutstandingTools();

}  // namespace sim

#endif  // TESSARC_SIM_SKETCHPAD_H
