// The recording drawing surface, its text grid, and the host's pens and brushes.
#include "sketchpad.h"

#include <cstring>

namespace sim {

RecordingSketchpad::RecordingSketchpad(int width, int height, const HostFont *hostFont) : oapi::Sketchpad(nullptr) {
    rec.width = width;
    rec.height = height;
    rec.charWidth = charWidthFor(width);
    gridOrigin(width, height, &rec.gridX, &rec.gridY);
    if (!hostFont) return;
    font = const_cast<HostFont *>(hostFont);
    startFont = hostFont;
    metrics = hostFont->metrics;
    // The cells of the plug-in's grid: 37 blanks of the host font across, square,
    // centred; rows from the top as the grid places them.
    int w37 = textWidth(metrics, kScreenColumns);
    rec.charWidth = w37 / kScreenColumns > 1 ? w37 / kScreenColumns : 1;
    int x = (width - w37) / 2, y = (height - 24 * (height / 23)) / 2;
    rec.gridX = x > 0 ? x : 0;
    rec.gridY = y > 0 ? y : 0;
}

Drawing RecordingSketchpad::takeDrawing() {
    Drawing d = std::move(rec);
    rec = Drawing();
    rec.width = d.width;
    rec.height = d.height;
    rec.charWidth = d.charWidth;
    rec.gridX = d.gridX;
    rec.gridY = d.gridY;
    return d;
}

oapi::Font *RecordingSketchpad::SetFont(oapi::Font *f) const {
    oapi::Font *old = font;
    font = f;
    DrawCall c;
    c.kind = DrawKind::SetFont;
    if (!f) {
        c.none = true;
    } else if (const HostFont *hf = f == startFont ? startFont : liveFont(f)) {
        // The display's own font, put back after another, measures as its own again.
        metrics = hf->metrics;
        c.width = metrics.emHeight;
    } else {
        c.style = -1;  // not a live font of this host: never dereferenced, measures as before
    }
    rec.calls.push_back(std::move(c));
    return old;
}

oapi::Pen *RecordingSketchpad::SetPen(oapi::Pen *p) const {
    oapi::Pen *old = pen;
    pen = p;
    DrawCall c;
    c.kind = DrawKind::SetPen;
    if (!p) {
        c.none = true;
    } else if (toolLedger().pens.count(p)) {
        const RecordedPen *rp = static_cast<const RecordedPen *>(p);
        c.style = rp->style;
        c.width = rp->width;
        c.colour = rp->colour;
    } else {
        c.style = -1;  // not a live pen of this host (released or foreign): never dereferenced
    }
    rec.calls.push_back(std::move(c));
    return old;
}

oapi::Brush *RecordingSketchpad::SetBrush(oapi::Brush *b) const {
    oapi::Brush *old = brush;
    brush = b;
    DrawCall c;
    c.kind = DrawKind::SetBrush;
    if (!b) {
        c.none = true;
    } else if (toolLedger().brushes.count(b)) {
        c.colour = static_cast<const RecordedBrush *>(b)->colour;
    } else {
        c.style = -1;  // not a live brush of this host
    }
    rec.calls.push_back(std::move(c));
    return old;
}

void RecordingSketchpad::SetTextAlign(TAlign_horizontal tah, TAlign_vertical tav) {
    alignH = tah;
    alignV = tav;
}

DWORD RecordingSketchpad::SetTextColor(DWORD col) {
    DWORD old = textColour;
    textColour = col;
    DrawCall c;
    c.kind = DrawKind::SetTextColor;
    c.colour = col;
    rec.calls.push_back(std::move(c));
    return old;
}

DWORD RecordingSketchpad::SetBackgroundColor(DWORD col) {
    DWORD old = backColour;
    backColour = col;
    return old;
}

void RecordingSketchpad::SetBackgroundMode(BkgMode mode) { bkMode = mode; }

DWORD RecordingSketchpad::GetCharSize() {
    if (metrics.emHeight == 0) {
        DWORD cw = (DWORD)rec.charWidth;
        return (cw << 16) | cw;
    }
    return ((DWORD)metrics.averageWidth << 16) | (DWORD)metrics.cellHeight;
}

DWORD RecordingSketchpad::GetTextWidth(const char *str, int len) {
    if (len <= 0) len = str ? (int)std::strlen(str) : 0;
    if (metrics.emHeight == 0) return (DWORD)(len * rec.charWidth);
    return (DWORD)textWidth(metrics, len);
}

void RecordingSketchpad::SetOrigin(int x, int y) {
    originX = x;
    originY = y;
}

void RecordingSketchpad::GetOrigin(int *x, int *y) const {
    if (x) *x = originX;
    if (y) *y = originY;
}

bool RecordingSketchpad::Text(int x, int y, const char *str, int len) {
    if (!str || len <= 0) return false;
    DrawCall c;
    c.kind = DrawKind::Text;
    c.x0 = x + originX;
    c.y0 = y + originY;
    // Never read past the string's end, whatever length the caller claims.
    size_t n = strnlen(str, (size_t)len);
    c.text.assign(str, n);
    c.colour = textColour;
    c.x1 = c.x0 + (int)GetTextWidth(c.text.c_str(), (int)n);
    c.y1 = c.y0 + (int)(GetCharSize() & 0xFFFF);
    c.width = metrics.emHeight;
    rec.calls.push_back(std::move(c));
    return true;
}

void RecordingSketchpad::Pixel(int x, int y, DWORD col) {
    DrawCall c;
    c.kind = DrawKind::Pixel;
    c.x0 = x + originX;
    c.y0 = y + originY;
    c.colour = col;
    rec.calls.push_back(std::move(c));
}

void RecordingSketchpad::MoveTo(int x, int y) {
    DrawCall c;
    c.kind = DrawKind::MoveTo;
    c.x0 = x + originX;
    c.y0 = y + originY;
    rec.calls.push_back(std::move(c));
}

void RecordingSketchpad::LineTo(int x, int y) {
    DrawCall c;
    c.kind = DrawKind::LineTo;
    c.x0 = x + originX;
    c.y0 = y + originY;
    rec.calls.push_back(std::move(c));
}

static DrawCall boxCall(DrawKind k, int x0, int y0, int x1, int y1, int ox, int oy) {
    DrawCall c;
    c.kind = k;
    c.x0 = x0 + ox;
    c.y0 = y0 + oy;
    c.x1 = x1 + ox;
    c.y1 = y1 + oy;
    return c;
}

void RecordingSketchpad::Line(int x0, int y0, int x1, int y1) {
    rec.calls.push_back(boxCall(DrawKind::Line, x0, y0, x1, y1, originX, originY));
}

void RecordingSketchpad::Rectangle(int x0, int y0, int x1, int y1) {
    rec.calls.push_back(boxCall(DrawKind::Rectangle, x0, y0, x1, y1, originX, originY));
}

void RecordingSketchpad::Ellipse(int x0, int y0, int x1, int y1) {
    rec.calls.push_back(boxCall(DrawKind::Ellipse, x0, y0, x1, y1, originX, originY));
}

static DrawCall pointsCall(DrawKind k, const oapi::IVECTOR2 *pt, int npt, int ox, int oy) {
    DrawCall c;
    c.kind = k;
    if (pt && npt > 0) {
        c.points.assign(pt, pt + npt);
        for (oapi::IVECTOR2 &p : c.points) {
            p.x += ox;
            p.y += oy;
        }
    }
    return c;
}

void RecordingSketchpad::Polygon(const oapi::IVECTOR2 *pt, int npt) {
    rec.calls.push_back(pointsCall(DrawKind::Polygon, pt, npt, originX, originY));
}

void RecordingSketchpad::Polyline(const oapi::IVECTOR2 *pt, int npt) {
    rec.calls.push_back(pointsCall(DrawKind::Polyline, pt, npt, originX, originY));
}

// ---------------------------------------------------------------------------
// Text grid

void gridOrigin(int w, int h, int *ox, int *oy) {
    int cw = charWidthFor(w);
    int x = (w - kScreenColumns * cw) / 2;
    int y = (h - 24 * (h / 23)) / 2;
    *ox = x > 0 ? x : 0;
    *oy = y > 0 ? y : 0;
}

// Division rounding towards minus infinity, so text left of the grid lands in
// negative cells instead of cell 0.
static int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

TextScreen textScreen(const Drawing &d) {
    TextScreen s;
    int cw = d.charWidth > 0 ? d.charWidth : 1;
    int ox = d.gridX, oy = d.gridY;
    s.rows = (d.height - oy) / cw;
    if (s.rows < 1) s.rows = 1;
    s.lines.assign(s.rows, std::string(kScreenColumns, ' '));
    s.colours.assign(s.rows, std::vector<DWORD>(kScreenColumns, 0));
    s.written.assign(s.rows, std::vector<bool>(kScreenColumns, false));
    for (const DrawCall &c : d.calls) {
        if (c.kind != DrawKind::Text) continue;
        int row = floorDiv(c.y0 - oy, cw);
        if (row < 0 || row >= s.rows) continue;
        int col = floorDiv(c.x0 - ox, cw);
        for (size_t i = 0; i < c.text.size(); ++i) {
            int cc = col + (int)i;
            if (cc < 0) continue;
            if (cc >= kScreenColumns) break;
            s.lines[row][cc] = c.text[i];
            s.colours[row][cc] = c.colour;
            s.written[row][cc] = true;
        }
    }
    return s;
}

std::string screenText(const TextScreen &s) {
    std::vector<std::string> lines = s.lines;
    for (std::string &l : lines) {
        size_t end = l.find_last_not_of(' ');
        l.erase(end == std::string::npos ? 0 : end + 1);
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) out += '\n';
        out += lines[i];
    }
    return out;
}

// ---------------------------------------------------------------------------
// Pens and brushes

ToolLedger &toolLedger() {
    static ToolLedger ledger;
    return ledger;
}

int releaseOutstandingTools() {
    ToolLedger &l = toolLedger();
    int n = (int)(l.pens.size() + l.brushes.size());
    for (const oapi::Pen *p : l.pens) delete static_cast<const RecordedPen *>(p);
    for (const oapi::Brush *b : l.brushes) delete static_cast<const RecordedBrush *>(b);
    l.pens.clear();
    l.brushes.clear();
    return n + releaseOutstandingFonts();
}

}  // namespace sim

using sim::toolLedger;

oapi::Pen *oapiCreatePen(int style, int width, DWORD col) {
    sim::RecordedPen *p = new sim::RecordedPen(style, width, col);
    toolLedger().pens.insert(p);
    toolLedger().pensCreated++;
    return p;
}

// Only what the host handed out is taken back; anything else (a double release,
// a foreign pointer) is counted and never touched.
void oapiReleasePen(oapi::Pen *pen) {
    if (!pen) return;
    if (toolLedger().pens.erase(pen) == 0) {
        toolLedger().badReleases++;
        return;
    }
    toolLedger().pensReleased++;
    delete static_cast<sim::RecordedPen *>(pen);
}

oapi::Brush *oapiCreateBrush(DWORD col) {
    sim::RecordedBrush *b = new sim::RecordedBrush(col);
    toolLedger().brushes.insert(b);
    toolLedger().brushesCreated++;
    return b;
}

void oapiReleaseBrush(oapi::Brush *brush) {
    if (!brush) return;
    if (toolLedger().brushes.erase(brush) == 0) {
        toolLedger().badReleases++;
        return;
    }
    toolLedger().brushesReleased++;
    delete static_cast<sim::RecordedBrush *>(brush);
}
