// The frame's drawing calls as plain lines.
#include "calllog.h"

#include <cstdio>
#include <fstream>

namespace sim {

namespace {
const char *ShapeName(DrawKind k) {
    switch (k) {
    case DrawKind::Line: return "line";
    case DrawKind::Rectangle: return "rectangle";
    case DrawKind::Ellipse: return "ellipse";
    case DrawKind::Polygon: return "polygon";
    case DrawKind::Polyline: return "polyline";
    case DrawKind::Pixel: return "pixel";
    case DrawKind::MoveTo: return "moveto";
    case DrawKind::LineTo: return "lineto";
    default: return nullptr;
    }
}
}  // namespace

std::string callLog(const Drawing &d) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "surface %d x %d, character width %d\n", d.width, d.height, d.charWidth);
    std::string out = buf;
    for (const DrawCall &c : d.calls) {
        const char *shape = ShapeName(c.kind);
        if (c.kind == DrawKind::Text) {
            std::snprintf(buf, sizeof buf, "text %d %d \"", c.x0, c.y0);
            out += buf + c.text + "\"\n";
        } else if (c.kind == DrawKind::Polygon || c.kind == DrawKind::Polyline) {
            std::snprintf(buf, sizeof buf, "%s %d", shape, static_cast<int>(c.points.size()));
            out += buf;
            for (const oapi::IVECTOR2 &p : c.points) {
                std::snprintf(buf, sizeof buf, " %ld,%ld", static_cast<long>(p.x), static_cast<long>(p.y));
                out += buf;
            }
            out += "\n";
        } else if (c.kind == DrawKind::Pixel || c.kind == DrawKind::MoveTo || c.kind == DrawKind::LineTo) {
            std::snprintf(buf, sizeof buf, "%s %d %d\n", shape, c.x0, c.y0);
            out += buf;
        } else if (c.kind == DrawKind::SetFont) {
            if (c.none || c.style == -1)
                std::snprintf(buf, sizeof buf, "font %s\n", c.none ? "none" : "unknown");
            else
                std::snprintf(buf, sizeof buf, "font %d\n", c.width);
            out += buf;
        } else if (shape) {
            std::snprintf(buf, sizeof buf, "%s %d %d %d %d\n", shape, c.x0, c.y0, c.x1, c.y1);
            out += buf;
        }
    }
    return out;
}

bool writeCallLog(const Drawing &d, const std::string &path, std::string &err) {
    std::ofstream f(path, std::ios::binary);
    f << callLog(d);
    f.close();
    if (!f) err = path + ": cannot be written";
    return static_cast<bool>(f);
}

}  // namespace sim
