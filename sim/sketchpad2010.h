// The 2010 host's drawing surface. Its table has no GetOrigin, so from Text on
// every entry sits one lower than in the 2016 host's; a module must call through
// that order. This surface lays out its table as the 2010 host does and hands
// every call to a recording surface, so a 2010 module's drawing reads like any
// other's, and a module built for the 2016 table draws the wrong shapes here (or
// dies), as it would in the real 2010 host.
#ifndef TESSARC_SIM_SKETCHPAD2010_H
#define TESSARC_SIM_SKETCHPAD2010_H

#include "DrawAPI.h"

namespace sim {

// The first host version whose surface has GetOrigin (the 2016 generation).
const int kFirstOriginQueryHostVersion = 160828;

class Sketchpad2010 {
public:
    explicit Sketchpad2010(oapi::Sketchpad &target) : to(target) {}
    virtual ~Sketchpad2010() {}
    // What a 2010 module is handed: this surface, seen as the host's Sketchpad.
    oapi::Sketchpad *asHostSurface() { return reinterpret_cast<oapi::Sketchpad *>(this); }

    virtual oapi::Font *SetFont(oapi::Font *font) const { return to.SetFont(font); }
    virtual oapi::Pen *SetPen(oapi::Pen *pen) const { return to.SetPen(pen); }
    virtual oapi::Brush *SetBrush(oapi::Brush *brush) const { return to.SetBrush(brush); }
    virtual void SetTextAlign(oapi::Sketchpad::TAlign_horizontal h, oapi::Sketchpad::TAlign_vertical v) {
        to.SetTextAlign(h, v);
    }
    virtual DWORD SetTextColor(DWORD colour) { return to.SetTextColor(colour); }
    virtual DWORD SetBackgroundColor(DWORD colour) { return to.SetBackgroundColor(colour); }
    virtual void SetBackgroundMode(oapi::Sketchpad::BkgMode mode) { to.SetBackgroundMode(mode); }
    virtual DWORD GetCharSize() { return to.GetCharSize(); }
    virtual DWORD GetTextWidth(const char *str, int len) { return to.GetTextWidth(str, len); }
    virtual void SetOrigin(int x, int y) { to.SetOrigin(x, y); }
    virtual bool Text(int x, int y, const char *str, int len) { return to.Text(x, y, str, len); }
    virtual bool TextBox(int x0, int y0, int x1, int y1, const char *str, int len) {
        return to.TextBox(x0, y0, x1, y1, str, len);
    }
    virtual void Pixel(int x, int y, DWORD colour) { to.Pixel(x, y, colour); }
    virtual void MoveTo(int x, int y) { to.MoveTo(x, y); }
    virtual void LineTo(int x, int y) { to.LineTo(x, y); }
    virtual void Line(int x0, int y0, int x1, int y1) { to.Line(x0, y0, x1, y1); }
    virtual void Rectangle(int x0, int y0, int x1, int y1) { to.Rectangle(x0, y0, x1, y1); }
    virtual void Ellipse(int x0, int y0, int x1, int y1) { to.Ellipse(x0, y0, x1, y1); }
    virtual void Polygon(const oapi::IVECTOR2 *pt, int npt) { to.Polygon(pt, npt); }
    virtual void Polyline(const oapi::IVECTOR2 *pt, int npt) { to.Polyline(pt, npt); }
    virtual void PolyPolygon(const oapi::IVECTOR2 *pt, const int *npt, const int nline) {
        for (int i = 0; i < nline; pt += npt[i++]) to.Polygon(pt, npt[i]);
    }
    virtual void PolyPolyline(const oapi::IVECTOR2 *pt, const int *npt, const int nline) {
        for (int i = 0; i < nline; pt += npt[i++]) to.Polyline(pt, npt[i]);
    }
    virtual HDC GetDC() { return to.GetDC(); }

private:
    oapi::Sketchpad &to;
};

}  // namespace sim

#endif  // TESSARC_SIM_SKETCHPAD2010_H
