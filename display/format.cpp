// Number format, bounded copies and the one-line text builders.
#include "display/format.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "frame/surface.h"

namespace {

const double astronomicalUnit = 149597870690.95932;

// Length of s, never counting past limit.
int BoundedLength(const char *s, int limit) {
    int n = 0;
    if (s == nullptr) return 0;
    while (n < limit && s[n] != '\0') ++n;
    return n;
}

// Characters a value may take after a label of labelLength at column col.
int ValueRoom(int col, int labelLength) { return gridColumns - labelLength - col; }

// Label followed by the value text cut to the room left on the line.
void PutLabelledText(TextGrid g, int row, int col, const char *label, const char *valueText, DWORD colour) {
    char cut[textBufferSize];
    char line[textBufferSize];
    const char *lab = label != nullptr ? label : "";
    CopyClipped(cut, valueText, ValueRoom(col, BoundedLength(lab, textBufferSize)));
    std::snprintf(line, sizeof line, "%s%s", lab, cut);
    PutText(g, row, col, line, colour);
}

}  // namespace

void FormatScaled(char *dest, double value) {
    double a = std::fabs(value);
    double divisor = 1.0;
    const char *suffix = "";
    if (std::isfinite(a)) {
        if (a >= astronomicalUnit) {
            divisor = astronomicalUnit;
            suffix = "AU";
        } else if (a >= 1e9) {
            divisor = 1e9;
            suffix = "G";
        } else if (a >= 1e6) {
            divisor = 1e6;
            suffix = "M";
        } else if (a >= 1e3) {
            divisor = 1e3;
            suffix = "k";
        }
    }
    double x = value / divisor;
    double ax = std::fabs(x);
    int decimals = ax < 10.0 ? 3 : (ax < 100.0 ? 2 : 1);
    // The suffix keeps its place even when the number is too long for the line.
    int suffixLength = BoundedLength(suffix, 2);
    int room = textBufferSize - suffixLength;
    int n = std::snprintf(dest, static_cast<size_t>(room), "%*.*f", 6, decimals, x);
    if (n < 0) n = 0;
    if (n > room - 1) n = room - 1;
    std::memcpy(dest + n, suffix, static_cast<size_t>(suffixLength) + 1);
}

void CopyClipped(char *dest, const char *src, int n) {
    if (n > gridColumns) n = gridColumns;
    if (n <= 0) {
        dest[0] = '\0';
        return;
    }
    int i = 0;
    if (src != nullptr) {
        for (; i < n && src[i] != '\0'; ++i) dest[i] = src[i];
    }
    for (; i <= n; ++i) dest[i] = '\0';
}

DWORD SignColour(double value) { return value < 0.0 ? colSilver : colYellow; }

int TextX(const TextGrid &g, int col) { return g.originX + (col - 1) * g.cellWidth; }

int TextY(const TextGrid &g, int row) {
    return g.originY + (row - 1) * g.lineHeight + g.thirdRows * g.lineHeight / 3;
}

void PutText(TextGrid g, int row, int col, const char *text, DWORD colour) {
    if (g.surface == nullptr || text == nullptr) return;
    int room = gridColumns - col;
    if (room <= 0) return;  // no column left on this line
    int length = BoundedLength(text, room);
    SurfaceSetTextColor(g.surface, colour);
    if (length > 0) SurfaceText(g.surface, TextX(g, col), TextY(g, row), text, length);
}

void PutNumber(TextGrid g, int row, int col, const char *format, double value, DWORD colour) {
    char text[textBufferSize];
    char cut[textBufferSize];
    std::snprintf(text, sizeof text, format, value);
    CopyClipped(cut, text, gridColumns - col);
    PutText(g, row, col, cut, colour);
}

void PutLabelled(TextGrid g, int row, int col, const char *label, const char *format, int32_t value,
                 DWORD colour) {
    char text[textBufferSize];
    std::snprintf(text, sizeof text, format, value);
    PutLabelledText(g, row, col, label, text, colour);
}

void PutLabelled(TextGrid g, int row, int col, const char *label, const char *format, const char *value,
                 DWORD colour) {
    char text[textBufferSize];
    std::snprintf(text, sizeof text, format, value != nullptr ? value : "");
    PutLabelledText(g, row, col, label, text, colour);
}

void PutLabelledNumber(TextGrid g, int row, int col, const char *label, const char *format, double value,
                       DWORD colour) {
    char text[textBufferSize];
    std::snprintf(text, sizeof text, format, value);
    PutLabelledText(g, row, col, label, text, colour);
}

void PutScaled(TextGrid g, int row, int col, double value, DWORD colour) {
    char text[textBufferSize];
    char cut[textBufferSize];
    FormatScaled(text, value);
    CopyClipped(cut, text, gridColumns - col);
    PutText(g, row, col, cut, colour);
}

void PutLabelScaled(TextGrid g, int row, int col, const char *label, double value, DWORD colour) {
    char text[textBufferSize];
    FormatScaled(text, value);
    PutLabelledText(g, row, col, label, text, colour);
}
