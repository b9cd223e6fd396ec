// Replays a recorded drawing through Cairo (PNG, SVG) or as a text dump.
#include "picture.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>

// Fontconfig keeps its configuration for the life of the process; the leak checker
// of sanitizer builds is told so instead of reporting it at exit.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig\n"; }
#endif

namespace sim {

namespace {

const char *const kFontFace = "DejaVu Sans Mono";

double Red(DWORD c) { return (c & 0xFF) / 255.0; }
double Green(DWORD c) { return ((c >> 8) & 0xFF) / 255.0; }
double Blue(DWORD c) { return ((c >> 16) & 0xFF) / 255.0; }

// Windows-1252 text (the plug-in's degree sign is byte 0xB0) as UTF-8.
std::string Utf8(const std::string &s) {
    static const unsigned short high[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                            0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    std::string out;
    for (unsigned char ch : s) {
        unsigned cp = ch;
        if (ch >= 0x80 && ch < 0xA0) cp = high[ch - 0x80];
        if (cp < 0x20) cp = '?';
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

// The drawing state of the replayed surface: the selected pen and brush, the
// current point of MoveTo/LineTo, and the font's baseline offset.
struct Painter {
    cairo_t *cr = nullptr;
    bool pen = false;
    int penStyle = 1, penWidth = 1;
    DWORD penColour = 0;
    bool brush = false;
    DWORD brushColour = 0;
    double curX = 0, curY = 0;
    double plainSize = 0;  // font size of the surface's plain cells
    double baseline = 0;   // from a plain text cell's top to the baseline
    double blankAdvance100 = 1;  // advance of a blank at font size 100

    // Text in the host font of the given character height takes that font's advance
    // and sits in its cell (GetCharSize's height); plain cells keep capitals at the top.
    void textFont(int em, double cellHeight) {
        if (em <= 0) {
            cairo_set_font_size(cr, plainSize);
            textBaseline = baseline;
            return;
        }
        FontMetrics m = fixedFontMetrics(em);
        cairo_set_font_size(cr, 100.0 * m.advance / blankAdvance100);
        cairo_font_extents_t fe;
        cairo_font_extents(cr, &fe);
        textBaseline = (cellHeight - (fe.ascent + fe.descent)) / 2.0 + fe.ascent;
    }
    double textBaseline = 0;

    void setColour(DWORD c) { cairo_set_source_rgb(cr, Red(c), Green(c), Blue(c)); }

    // Strokes the current path with the pen; keeps the path when asked.
    void stroke(bool preserve = false) {
        if (!pen || penStyle == 0) {
            if (!preserve) cairo_new_path(cr);
            return;
        }
        setColour(penColour);
        double w = penWidth > 1 ? penWidth : 1;
        cairo_set_line_width(cr, w);
        if (penStyle == 2) {
            const double dash[2] = {4.0 * w, 3.0 * w};
            cairo_set_dash(cr, dash, 2, 0);
        } else {
            cairo_set_dash(cr, nullptr, 0, 0);
        }
        if (preserve)
            cairo_stroke_preserve(cr);
        else
            cairo_stroke(cr);
    }

    void fillThenStroke() {
        if (brush) {
            setColour(brushColour);
            cairo_fill_preserve(cr);
        }
        stroke();
    }

    void line(double x0, double y0, double x1, double y1) {
        cairo_move_to(cr, x0 + 0.5, y0 + 0.5);
        cairo_line_to(cr, x1 + 0.5, y1 + 0.5);
        stroke();
    }

    void points(const std::vector<oapi::IVECTOR2> &pts, bool closed) {
        if (pts.empty()) return;
        cairo_move_to(cr, pts[0].x + 0.5, pts[0].y + 0.5);
        for (size_t i = 1; i < pts.size(); ++i) cairo_line_to(cr, pts[i].x + 0.5, pts[i].y + 0.5);
        if (closed) {
            cairo_close_path(cr);
            fillThenStroke();
        } else {
            stroke();
        }
    }

    void rectangle(const DrawCall &c) {
        double x0 = std::min(c.x0, c.x1), x1 = std::max(c.x0, c.x1);
        double y0 = std::min(c.y0, c.y1), y1 = std::max(c.y0, c.y1);
        if (brush) {
            setColour(brushColour);
            cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
            cairo_fill(cr);
        }
        cairo_rectangle(cr, x0 + 0.5, y0 + 0.5, std::max(0.0, x1 - x0 - 1), std::max(0.0, y1 - y0 - 1));
        stroke();
    }

    void ellipse(const DrawCall &c) {
        double rx = std::fabs(c.x1 - c.x0) / 2.0, ry = std::fabs(c.y1 - c.y0) / 2.0;
        if (rx <= 0 || ry <= 0) return;
        cairo_save(cr);
        cairo_translate(cr, (c.x0 + c.x1) / 2.0, (c.y0 + c.y1) / 2.0);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);  // the path keeps its shape; the pen keeps its width
        fillThenStroke();
    }

    void text(const DrawCall &c) {
        setColour(c.colour);
        textFont(c.width, c.y1 - c.y0);
        cairo_move_to(cr, c.x0, c.y0 + textBaseline);
        cairo_show_text(cr, Utf8(c.text).c_str());
        cairo_new_path(cr);
    }

    void replay(const DrawCall &c) {
        switch (c.kind) {
        case DrawKind::SetPen:
            pen = !c.none && c.style >= 0;  // a tool the host no longer knows draws nothing
            penStyle = c.style;
            penWidth = c.width;
            penColour = c.colour;
            break;
        case DrawKind::SetBrush:
            brush = !c.none && c.style >= 0;
            brushColour = c.colour;
            break;
        case DrawKind::SetTextColor: break;  // each text call carries its colour
        case DrawKind::SetFont: break;       // and its font
        case DrawKind::Text: text(c); break;
        case DrawKind::Pixel:
            setColour(c.colour);
            cairo_rectangle(cr, c.x0, c.y0, 1, 1);
            cairo_fill(cr);
            break;
        case DrawKind::MoveTo:
            curX = c.x0;
            curY = c.y0;
            break;
        case DrawKind::LineTo:
            line(curX, curY, c.x0, c.y0);
            curX = c.x0;
            curY = c.y0;
            break;
        case DrawKind::Line: line(c.x0, c.y0, c.x1, c.y1); break;
        case DrawKind::Rectangle: rectangle(c); break;
        case DrawKind::Ellipse: ellipse(c); break;
        case DrawKind::Polygon: points(c.points, true); break;
        case DrawKind::Polyline: points(c.points, false); break;
        }
    }
};

// Black screen, the font sized so 37 blanks span 37 cells, then every call in order.
void Paint(cairo_t *cr, const Drawing &d, double scale) {
    cairo_scale(cr, scale, scale);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, 0, 0, d.width, d.height);
    cairo_fill(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);

    cairo_select_font_face(cr, kFontFace, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 100.0);
    cairo_text_extents_t blanks;
    cairo_text_extents(cr, std::string(kScreenColumns, ' ').c_str(), &blanks);
    double cw = d.charWidth > 0 ? d.charWidth : 1;
    double size = blanks.x_advance > 0 ? 100.0 * kScreenColumns * cw / blanks.x_advance : cw;
    cairo_set_font_size(cr, size);
    cairo_text_extents_t cap;
    cairo_text_extents(cr, "H", &cap);

    Painter p;
    p.cr = cr;
    p.plainSize = size;
    p.blankAdvance100 = blanks.x_advance > 0 ? blanks.x_advance / kScreenColumns : 1.0;
    p.baseline = -cap.y_bearing;  // capitals start at the cell's top
    for (const DrawCall &c : d.calls) p.replay(c);
}

bool Finish(cairo_surface_t *surface, cairo_t *cr, const std::string &what, std::string &err) {
    cairo_status_t st = cairo_status(cr);
    cairo_destroy(cr);
    if (st == CAIRO_STATUS_SUCCESS) st = cairo_surface_status(surface);
    if (st != CAIRO_STATUS_SUCCESS) {
        err = what + ": " + cairo_status_to_string(st);
        cairo_surface_destroy(surface);
        return false;
    }
    return true;
}

int Scaled(int v, double scale) { return std::max(1, static_cast<int>(std::lround(v * scale))); }

}  // namespace

bool writePng(const Drawing &d, const std::string &path, std::string &err, double scale) {
    cairo_surface_t *s =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, Scaled(d.width, scale), Scaled(d.height, scale));
    cairo_t *cr = cairo_create(s);
    Paint(cr, d, scale);
    if (!Finish(s, cr, path, err)) return false;
    cairo_status_t st = cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
    if (st != CAIRO_STATUS_SUCCESS) {
        err = path + ": " + cairo_status_to_string(st);
        return false;
    }
    return true;
}

bool writeSvg(const Drawing &d, const std::string &path, std::string &err, double scale) {
    cairo_surface_t *s = cairo_svg_surface_create(path.c_str(), d.width * scale, d.height * scale);
    cairo_t *cr = cairo_create(s);
    Paint(cr, d, scale);
    if (!Finish(s, cr, path, err)) return false;
    cairo_surface_finish(s);
    cairo_status_t st = cairo_surface_status(s);
    cairo_surface_destroy(s);
    if (st != CAIRO_STATUS_SUCCESS) {
        err = path + ": " + cairo_status_to_string(st);
        return false;
    }
    return true;
}

std::string colourName(DWORD colour) {
    static const struct {
        DWORD value;
        const char *name;
    } names[] = {{0xFFFFFF, "white"},      {0x00FFFF, "yellow"},  {0x808080, "grey"},
                 {0x0000FF, "red"},        {0x008CFF, "orange"},  {0xFF4D4D, "light blue"},
                 {0x4763FF, "orange-red"}, {0xC0C0C0, "silver"},  {0x00C0C0, "olive"},
                 {0x32CD32, "green"},      {0xFFBF00, "sky blue"}, {0x000000, "black"}};
    for (const auto &n : names)
        if (n.value == colour) return n.name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06X", static_cast<unsigned>(colour & 0xFFFFFF));
    return buf;
}

std::string textDump(const Drawing &d) {
    TextScreen s = textScreen(d);
    std::string out;
    char buf[96];
    std::snprintf(buf, sizeof buf, "display %d x %d pixels, %d columns x %d rows of %d pixels\n", d.width, d.height,
                  kScreenColumns, s.rows, d.charWidth);
    out += buf;
    out += "    ";
    for (int c = 1; c <= kScreenColumns; ++c) out += (c % 10 == 0) ? static_cast<char>('0' + c / 10) : ' ';
    out += "\n    ";
    for (int c = 1; c <= kScreenColumns; ++c) out += static_cast<char>('0' + c % 10);
    out += '\n';
    for (int r = 0; r < s.rows; ++r) {
        std::snprintf(buf, sizeof buf, "%2d |", r + 1);
        out += buf;
        out += Utf8(s.lines[r]);
        out += "|\n";
    }
    out += "colours:\n";
    for (int r = 0; r < s.rows; ++r) {
        std::string runs;
        for (int c = 0; c < kScreenColumns;) {
            if (!s.written[r][c]) {
                ++c;
                continue;
            }
            int e = c;
            while (e + 1 < kScreenColumns && s.written[r][e + 1] && s.colours[r][e + 1] == s.colours[r][c]) ++e;
            std::snprintf(buf, sizeof buf, "%s%d-%d %s", runs.empty() ? "" : ", ", c + 1, e + 1,
                          colourName(s.colours[r][c]).c_str());
            runs += buf;
            c = e + 1;
        }
        if (runs.empty()) continue;
        std::snprintf(buf, sizeof buf, "%2d: ", r + 1);
        out += buf + runs + "\n";
    }
    int counts[13] = {0};
    for (const DrawCall &c : d.calls) counts[static_cast<int>(c.kind)]++;
    std::snprintf(buf, sizeof buf, "shapes: %d lines, %d rectangles, %d polygons, %d polylines, %d ellipses, %d pixels\n",
                  counts[static_cast<int>(DrawKind::Line)] + counts[static_cast<int>(DrawKind::LineTo)],
                  counts[static_cast<int>(DrawKind::Rectangle)], counts[static_cast<int>(DrawKind::Polygon)],
                  counts[static_cast<int>(DrawKind::Polyline)], counts[static_cast<int>(DrawKind::Ellipse)],
                  counts[static_cast<int>(DrawKind::Pixel)]);
    out += buf;
    return out;
}

bool writeTextDump(const Drawing &d, const std::string &path, std::string &err) {
    std::ofstream f(path, std::ios::binary);
    if (!f) {
        err = path + ": cannot be written";
        return false;
    }
    f << textDump(d);
    f.close();
    if (!f) {
        err = path + ": write failed";
        return false;
    }
    return true;
}

bool writePicture(const Drawing &d, const std::string &path, std::string &err) {
    std::string ext;
    size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && path.find('/', dot) == std::string::npos) ext = path.substr(dot + 1);
    for (char &ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (ext == "png") return writePng(d, path, err);
    if (ext == "svg") return writeSvg(d, path, err);
    if (ext == "txt") return writeTextDump(d, path, err);
    err = path + ": unknown picture type (use .png, .svg or .txt)";
    return false;
}

}  // namespace sim
