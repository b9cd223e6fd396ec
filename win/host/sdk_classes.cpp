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

#include <cstdio>
#include <cstring>

#include "surface.h"

namespace host {
namespace {
// The host's MFD font: 8 pixels wide, 16 high.
const DWORD kCharWidth = 8;
const DWORD kCharHeight = 16;

// The 2016 headers declare the drawing tools' setters const; today's do not.
#if TESSARC_SDK_2016
#define TESSARC_TOOL_SETTER const
#else
#define TESSARC_TOOL_SETTER
#endif

// Records the text and counts the shapes drawn into one frame.
class RecordingSurface : public oapi::Sketchpad {
public:
    explicit RecordingSurface(Frame *f) : oapi::Sketchpad(nullptr), frame(f), pen(nullptr), brush(nullptr) {}
    oapi::Font *SetFont(oapi::Font *) TESSARC_TOOL_SETTER override { return nullptr; }
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
    DWORD GetCharSize() override { return (kCharWidth << 16) | kCharHeight; }
    DWORD GetTextWidth(const char *str, int len) override {
        size_t n = len > 0 ? static_cast<size_t>(len) : (str ? std::strlen(str) : 0);
        return static_cast<DWORD>(n * kCharWidth);
    }
    bool Text(int, int, const char *str, int len) override {
        ++frame->texts;
        if (!str || len <= 0) return true;
        int room = kFrameTextLength - frame->textLength;
        int n = std::snprintf(frame->text + frame->textLength, static_cast<size_t>(room), "%.*s\n", len, str);
        if (n > 0) frame->textLength += n < room ? n : room - 1;
        return true;
    }
    void Pixel(int, int, DWORD) override { ++frame->shapes; }
    void MoveTo(int, int) override {}
    void LineTo(int, int) override { ++frame->shapes; }
    void Line(int, int, int, int) override { ++frame->shapes; }
    void Rectangle(int, int, int, int) override { ++frame->shapes; }
    void Ellipse(int, int, int, int) override { ++frame->shapes; }
    void Polygon(const oapi::IVECTOR2 *, int) override { ++frame->shapes; }
    void Polyline(const oapi::IVECTOR2 *, int) override { ++frame->shapes; }

private:
    Frame *frame;
    mutable oapi::Pen *pen;
    mutable oapi::Brush *brush;
};
}  // namespace

const Frame &DrawFrame(MFD *mfd) {
    static Frame frame;
    std::memset(&frame, 0, sizeof frame);
    RecordingSurface surface(&frame);
    if (mfd) static_cast<MFD2 *>(mfd)->Update(&surface);
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
    : W(w), H(h), cw(host::kCharWidth), ch(host::kCharHeight), pV(vessel), instr(nullptr) {}
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
