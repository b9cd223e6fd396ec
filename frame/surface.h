// Drawing on the host's surface. Each call reaches the host's method through the
// table of the host generation the module is built for (frame/module_surface.cpp,
// compiled once per module); the pages never call the surface themselves.
#ifndef TESSARC_FRAME_SURFACE_H
#define TESSARC_FRAME_SURFACE_H

#include "Orbitersdk.h"

// Selects a font (null: the host's own); returns the one it replaced.
oapi::Font *SurfaceSetFont(oapi::Sketchpad *s, oapi::Font *font);
// The font's character width (high word) and height (low word), pixels.
DWORD SurfaceCharSize(oapi::Sketchpad *s);
// Selects a pen (null: none); returns the one it replaced.
oapi::Pen *SurfaceSetPen(oapi::Sketchpad *s, oapi::Pen *pen);
// Selects a brush (null: none); returns the one it replaced.
oapi::Brush *SurfaceSetBrush(oapi::Sketchpad *s, oapi::Brush *brush);
// Sets the text colour (0xBBGGRR); returns the previous one.
DWORD SurfaceSetTextColor(oapi::Sketchpad *s, DWORD colour);
// Width of the first length characters of text in the surface's font, pixels.
DWORD SurfaceTextWidth(oapi::Sketchpad *s, const char *text, int length);
// Writes length characters of text with their top left at (x, y), pixels.
void SurfaceText(oapi::Sketchpad *s, int x, int y, const char *text, int length);
// One pixel of the colour (0xBBGGRR) at (x, y).
void SurfacePixel(oapi::Sketchpad *s, int x, int y, DWORD colour);
// A line from (x0, y0) to (x1, y1) with the selected pen.
void SurfaceLine(oapi::Sketchpad *s, int x0, int y0, int x1, int y1);
// A rectangle with corners (x0, y0) and (x1, y1): outline pen, fill brush.
void SurfaceRectangle(oapi::Sketchpad *s, int x0, int y0, int x1, int y1);
// The ellipse inside the rectangle (x0, y0)-(x1, y1): outline pen, fill brush.
void SurfaceEllipse(oapi::Sketchpad *s, int x0, int y0, int x1, int y1);
// A closed polygon through count points: outline pen, fill brush.
void SurfacePolygon(oapi::Sketchpad *s, const oapi::IVECTOR2 *points, int count);
// An open line through count points with the selected pen.
void SurfacePolyline(oapi::Sketchpad *s, const oapi::IVECTOR2 *points, int count);

#endif  // TESSARC_FRAME_SURFACE_H
