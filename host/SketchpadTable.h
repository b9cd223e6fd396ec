// The host's drawing surface as the host executable of one generation lays out its
// virtual table: the order a module's calls must follow to reach the method they
// mean. The 2016 generation (and today's host, whose first 25 entries are the same)
// has GetOrigin after SetOrigin; the 2010 generation has not, so from Text on every
// entry sits one lower. TESSARC_HOST_2016 (0 or 1) picks the generation. Nothing
// here is ever created: a module receives the host's own surface and calls through
// this declaration of its table, which ends at the last entry the pages use.
#ifndef TESSARC_HOST_SKETCHPAD_TABLE_H
#define TESSARC_HOST_SKETCHPAD_TABLE_H

#include "DrawAPI.h"

#ifndef TESSARC_HOST_2016
#define TESSARC_HOST_2016 1
#endif

namespace drawtable {

class Sketchpad {
public:
    virtual ~Sketchpad() = 0;
    virtual oapi::Font *SetFont(oapi::Font *font) const = 0;
    virtual oapi::Pen *SetPen(oapi::Pen *pen) const = 0;
    virtual oapi::Brush *SetBrush(oapi::Brush *brush) const = 0;
    virtual void SetTextAlign(oapi::Sketchpad::TAlign_horizontal h, oapi::Sketchpad::TAlign_vertical v) = 0;
    virtual DWORD SetTextColor(DWORD colour) = 0;
    virtual DWORD SetBackgroundColor(DWORD colour) = 0;
    virtual void SetBackgroundMode(oapi::Sketchpad::BkgMode mode) = 0;
    virtual DWORD GetCharSize() = 0;
    virtual DWORD GetTextWidth(const char *text, int length) = 0;
    virtual void SetOrigin(int x, int y) = 0;
#if TESSARC_HOST_2016
    virtual void GetOrigin(int *x, int *y) const = 0;
#endif
    virtual bool Text(int x, int y, const char *text, int length) = 0;
    virtual bool TextBox(int x0, int y0, int x1, int y1, const char *text, int length) = 0;
    virtual void Pixel(int x, int y, DWORD colour) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void Line(int x0, int y0, int x1, int y1) = 0;
    virtual void Rectangle(int x0, int y0, int x1, int y1) = 0;
    virtual void Ellipse(int x0, int y0, int x1, int y1) = 0;
    virtual void Polygon(const oapi::IVECTOR2 *points, int count) = 0;
    virtual void Polyline(const oapi::IVECTOR2 *points, int count) = 0;
};

}  // namespace drawtable

#endif  // TESSARC_HOST_SKETCHPAD_TABLE_H
