// The SDK classes the host itself implements: the drawing surface and drawing
// tools, and the MFD base classes. As in the real host, these classes are exported
// whole (their inline members too: a module's vtables point at them), so their
// headers are read here with the host's side of the export macro.
#include "OrbiterAPI.h"
#undef OAPIFUNC
#define OAPIFUNC DLLEXPORT
#include "DrawAPI.h"
#include "MFDAPI.h"
#undef OAPIFUNC
#define OAPIFUNC DLLIMPORT

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "surface.h"

namespace host {
namespace {

// The 2016 headers declare the drawing tools' setters const; today's do not.
#if TESSARC_SDK_2016
#define TESSARC_TOOL_SETTER const
#else
#define TESSARC_TOOL_SETTER
#endif

// Adds one line to the frame's call log (cut off when the log is full).
void Note(Frame *f, const char *format, ...) {
    int room = kFrameCallsLength - f->callsLength;
    if (room <= 1) return;
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(f->calls + f->callsLength, static_cast<size_t>(room), format, args);
    va_end(args);
    if (n > 0) f->callsLength += n < room ? n : room - 1;
}

void NotePoints(Frame *f, const char *kind, const oapi::IVECTOR2 *pt, int npt) {
    Note(f, "%s %d", kind, npt);
    for (int i = 0; pt && i < npt; ++i) Note(f, " %ld,%ld", static_cast<long>(pt[i].x), static_cast<long>(pt[i].y));
    Note(f, "\n");
}

// Records the text and shapes drawn into one frame.
class RecordingSurface : public oapi::Sketchpad {
public:
    // The surface starts in the display's MFD font, as the host hands it over.
    explicit RecordingSurface(Frame *f)
        : oapi::Sketchpad(nullptr), frame(f), pen(nullptr), brush(nullptr), font(MfdFont(kDisplayHeight)),
          selected(const_cast<HostFont *>(font)) {}
    // A font the host did not make is never looked into: the surface measures as before.
    oapi::Font *SetFont(oapi::Font *f) TESSARC_TOOL_SETTER override {
        oapi::Font *old = selected;
        selected = f;
        const HostFont *known = f == MfdFont(kDisplayHeight) ? MfdFont(kDisplayHeight) : LiveFont(f);
        if (known) font = known;
        if (known)
            Note(frame, "font %d\n", known->size.em);
        else
            Note(frame, "font %s\n", f ? "unknown" : "none");
        return old;
    }
    oapi::Pen *SetPen(oapi::Pen *p) TESSARC_TOOL_SETTER override {
        oapi::Pen *old = pen;
        pen = p;
        return old;
    }
    oapi::Brush *SetBrush(oapi::Brush *b) TESSARC_TOOL_SETTER override {
        oapi::Brush *old = brush;
        brush = b;
        return old;
    }
    void SetTextAlign(TAlign_horizontal, TAlign_vertical) override {}
    DWORD SetTextColor(DWORD) override { return 0; }
    DWORD SetBackgroundColor(DWORD) override { return 0; }
    void SetBackgroundMode(BkgMode) override {}
    DWORD GetCharSize() override {
        return (static_cast<DWORD>(font->size.averageWidth) << 16) | static_cast<DWORD>(font->size.cellHeight);
    }
    DWORD GetTextWidth(const char *str, int len) override {
        size_t n = len > 0 ? static_cast<size_t>(len) : (str ? std::strlen(str) : 0);
        return static_cast<DWORD>(FixedTextWidth(font->size.em, static_cast<int>(n)));
    }
    bool Text(int x, int y, const char *str, int len) override {
        ++frame->texts;
        if (!str || len <= 0) return true;
        Note(frame, "text %d %d \"%.*s\"\n", x, y, len, str);
        int room = kFrameTextLength - frame->textLength;
        int n = std::snprintf(frame->text + frame->textLength, static_cast<size_t>(room), "%.*s\n", len, str);
        if (n > 0) frame->textLength += n < room ? n : room - 1;
        return true;
    }
    void Pixel(int x, int y, DWORD) override {
        ++frame->shapes;
        Note(frame, "pixel %d %d\n", x, y);
    }
    void MoveTo(int, int) override {}
    void LineTo(int, int) override { ++frame->shapes; }
    void Line(int x0, int y0, int x1, int y1) override { Shape("line", x0, y0, x1, y1); }
    void Rectangle(int x0, int y0, int x1, int y1) override { Shape("rectangle", x0, y0, x1, y1); }
    void Ellipse(int x0, int y0, int x1, int y1) override { Shape("ellipse", x0, y0, x1, y1); }
    void Polygon(const oapi::IVECTOR2 *pt, int npt) override {
        ++frame->shapes;
        NotePoints(frame, "polygon", pt, npt);
    }
    void Polyline(const oapi::IVECTOR2 *pt, int npt) override {
        ++frame->shapes;
        NotePoints(frame, "polyline", pt, npt);
    }

private:
    void Shape(const char *kind, int x0, int y0, int x1, int y1) {
        ++frame->shapes;
        Note(frame, "%s %d %d %d %d\n", kind, x0, y0, x1, y1);
    }
    Frame *frame;
    mutable oapi::Pen *pen;
    mutable oapi::Brush *brush;
    mutable const HostFont *font;  // the font the surface measures in
    mutable oapi::Font *selected;  // the font last selected, as SetFont hands it back
};

#if TESSARC_TABLE_SURFACE
// The surface as one host generation lays out its table (generated from its facts).
#include "table_surface.h"
#endif
}  // namespace

const Frame &DrawFrame(MFD *mfd) {
    static Frame frame;
    std::memset(&frame, 0, sizeof frame);
    RecordingSurface surface(&frame);
#if TESSARC_TABLE_SURFACE
    TableSurface table(surface);
    oapi::Sketchpad *handed = reinterpret_cast<oapi::Sketchpad *>(&table);
#else
    oapi::Sketchpad *handed = &surface;
#endif
    if (mfd) static_cast<MFD2 *>(mfd)->Update(handed);
    return frame;
}

bool FrameShows(const Frame &frame, const char *text) { return std::strstr(frame.text, text) != nullptr; }

}  // namespace host

// --- the drawing surface base ---------------------------------------------------------
oapi::Sketchpad::Sketchpad(SURFHANDLE s) : surf(s) {}
oapi::Sketchpad::~Sketchpad() {}
bool oapi::Sketchpad::TextBox(int x1, int y1, int, int, const char *str, int len) { return Text(x1, y1, str, len); }
void oapi::Sketchpad::Rectangle(int x0, int y0, int x1, int y1) {
    MoveTo(x0, y0);
    LineTo(x1, y0);
    LineTo(x1, y1);
    LineTo(x0, y1);
    LineTo(x0, y0);
}
void oapi::Sketchpad::PolyPolygon(const IVECTOR2 *pt, const int *npt, const int nline) {
    for (int i = 0; i < nline; pt += npt[i++]) Polygon(pt, npt[i]);
}
void oapi::Sketchpad::PolyPolyline(const IVECTOR2 *pt, const int *npt, const int nline) {
    for (int i = 0; i < nline; pt += npt[i++]) Polyline(pt, npt[i]);
}

// --- the MFD bases ------------------------------------------------------------------
MFD::MFD(DWORD w, DWORD h, VESSEL *vessel)
    : W(w), H(h), cw(static_cast<DWORD>(host::MfdFont(static_cast<int>(h))->size.averageWidth)),
      ch(static_cast<DWORD>(host::MfdFont(static_cast<int>(h))->size.cellHeight)), pV(vessel), instr(nullptr) {}
MFD::~MFD() {}
void MFD::InvalidateDisplay() {}
void MFD::InvalidateButtons() { ++host::record.buttonRefreshes; }
bool MFD2::Update(oapi::Sketchpad *) { return false; }

// --- external MFDs: not used here, but their exported class needs its virtuals -----
ExternMFD::~ExternMFD() {}
void ExternMFD::SetVessel(OBJHANDLE hV) { hVessel = hV; }
void ExternMFD::clbkUpdate() {}
void ExternMFD::clbkRefreshDisplay(SURFHANDLE) {}
void ExternMFD::clbkRefreshButtons() {}
void ExternMFD::clbkFocusChanged(OBJHANDLE) {}
