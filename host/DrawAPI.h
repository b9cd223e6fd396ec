// Host API: drawing tools and the drawing surface handed to MFDs each frame.
#ifndef __DRAWAPI_H
#define __DRAWAPI_H

#include "OrbiterAPI.h"

namespace oapi {

typedef union {
    long data[2];
    struct {
        long x, y;
    };
} IVECTOR2;

class OAPIFUNC DrawingTool {
public:
    DrawingTool() {}
    virtual ~DrawingTool() {}
};

class OAPIFUNC Pen : public DrawingTool {
protected:
    Pen(int style, int width, DWORD col) { (void)style; (void)width; (void)col; }

public:
    virtual ~Pen() {}
};

class OAPIFUNC Brush : public DrawingTool {
protected:
    Brush(DWORD col) { (void)col; }

public:
    virtual ~Brush() {}
};

class OAPIFUNC Font : public DrawingTool {
public:
    enum Style { NORMAL = 0, BOLD = 1, ITALIC = 2, UNDERLINE = 4 };

protected:
    Font(int height, bool prop, const char *face, Style style = NORMAL, int orientation = 0) {
        (void)height; (void)prop; (void)face; (void)style; (void)orientation;
    }

public:
    virtual ~Font() {}
    virtual HFONT GetGDIFont() const { return 0; }
};

class OAPIFUNC Sketchpad {
public:
    enum TAlign_horizontal { LEFT, CENTER, RIGHT };
    enum TAlign_vertical { TOP, BASELINE, BOTTOM };
    enum BkgMode { BK_TRANSPARENT, BK_OPAQUE };

    Sketchpad(SURFHANDLE s) : surf(s) {}
    virtual ~Sketchpad() {}

    virtual Font *SetFont(Font *font) const { (void)font; return 0; }
    virtual Pen *SetPen(Pen *pen) const { (void)pen; return 0; }
    virtual Brush *SetBrush(Brush *brush) const { (void)brush; return 0; }
    virtual void SetTextAlign(TAlign_horizontal tah = LEFT, TAlign_vertical tav = TOP) { (void)tah; (void)tav; }
    virtual DWORD SetTextColor(DWORD col) { (void)col; return 0; }
    virtual DWORD SetBackgroundColor(DWORD col) { (void)col; return 0; }
    virtual void SetBackgroundMode(BkgMode mode) { (void)mode; }
    virtual DWORD GetCharSize() { return 0; }
    virtual DWORD GetTextWidth(const char *str, int len = 0) { (void)str; (void)len; return 0; }
    virtual void SetOrigin(int x, int y) { (void)x; (void)y; }
    virtual void GetOrigin(int *x, int *y) const { *x = 0; *y = 0; }
    virtual bool Text(int x, int y, const char *str, int len) { (void)x; (void)y; (void)str; (void)len; return false; }
    virtual bool TextBox(int x0, int y0, int x1, int y1, const char *str, int len) {
        (void)x1; (void)y1; return Text(x0, y0, str, len);
    }
    virtual void Pixel(int x, int y, DWORD col) { (void)x; (void)y; (void)col; }
    virtual void MoveTo(int x, int y) { (void)x; (void)y; }
    virtual void LineTo(int x, int y) { (void)x; (void)y; }
    virtual void Line(int x0, int y0, int x1, int y1) { (void)x0; (void)y0; (void)x1; (void)y1; }
    virtual void Rectangle(int x0, int y0, int x1, int y1) {
        MoveTo(x0, y0); LineTo(x1, y0); LineTo(x1, y1); LineTo(x0, y1); LineTo(x0, y0);
    }
    virtual void Ellipse(int x0, int y0, int x1, int y1) { (void)x0; (void)y0; (void)x1; (void)y1; }
    virtual void Polygon(const IVECTOR2 *pt, int npt) { (void)pt; (void)npt; }
    virtual void Polyline(const IVECTOR2 *pt, int npt) { (void)pt; (void)npt; }
    SURFHANDLE GetSurface() const { return surf; }
    virtual HDC GetDC() { return 0; }

private:
    SURFHANDLE surf;
};

}  // namespace oapi

#endif  // __DRAWAPI_H
