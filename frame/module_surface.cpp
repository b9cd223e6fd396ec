// The drawing calls through the host generation's own table of its surface: the
// 2010 host's has no GetOrigin, so a call laid out for the 2016 table would reach
// the method after the one it means (host/SketchpadTable.h).
#include "frame/surface.h"

#include "host/SketchpadTable.h"

namespace {
drawtable::Sketchpad *Table(oapi::Sketchpad *s) { return reinterpret_cast<drawtable::Sketchpad *>(s); }
}  // namespace

oapi::Font *SurfaceSetFont(oapi::Sketchpad *s, oapi::Font *font) { return Table(s)->SetFont(font); }
DWORD SurfaceCharSize(oapi::Sketchpad *s) { return Table(s)->GetCharSize(); }
oapi::Pen *SurfaceSetPen(oapi::Sketchpad *s, oapi::Pen *pen) { return Table(s)->SetPen(pen); }
oapi::Brush *SurfaceSetBrush(oapi::Sketchpad *s, oapi::Brush *brush) { return Table(s)->SetBrush(brush); }
DWORD SurfaceSetTextColor(oapi::Sketchpad *s, DWORD colour) { return Table(s)->SetTextColor(colour); }
DWORD SurfaceTextWidth(oapi::Sketchpad *s, const char *text, int length) {
    return Table(s)->GetTextWidth(text, length);
}
void SurfaceText(oapi::Sketchpad *s, int x, int y, const char *text, int length) {
    Table(s)->Text(x, y, text, length);
}
void SurfacePixel(oapi::Sketchpad *s, int x, int y, DWORD colour) { Table(s)->Pixel(x, y, colour); }
void SurfaceLine(oapi::Sketchpad *s, int x0, int y0, int x1, int y1) { Table(s)->Line(x0, y0, x1, y1); }
void SurfaceRectangle(oapi::Sketchpad *s, int x0, int y0, int x1, int y1) { Table(s)->Rectangle(x0, y0, x1, y1); }
void SurfaceEllipse(oapi::Sketchpad *s, int x0, int y0, int x1, int y1) { Table(s)->Ellipse(x0, y0, x1, y1); }
void SurfacePolygon(oapi::Sketchpad *s, const oapi::IVECTOR2 *points, int count) { Table(s)->Polygon(points, count); }
void SurfacePolyline(oapi::Sketchpad *s, const oapi::IVECTOR2 *points, int count) {
    Table(s)->Polyline(points, count);
}
