// Input-box parsers. Every parser first copies the text into a local line of
// kInputLineMax bytes and works on that copy only.
#include "mfd/parsers.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

typedef char Line[kInputLineMax];

// Whether the number at p (blanks and sign skipped) is written in hexadecimal,
// which C reads but no pilot types: "0x10" is refused, not taken as 16.
bool Hexadecimal(const char *p) {
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '+' || *p == '-') ++p;
    return p[0] == '0' && (p[1] == 'x' || p[1] == 'X');
}

// A finite decimal number starting at p (blanks skipped); end gets the first
// character after it.
bool ReadNumber(const char *p, double *value, const char **end = nullptr) {
    if (Hexadecimal(p)) return false;
    char *e = nullptr;
    double v = std::strtod(p, &e);
    if (e == p || !std::isfinite(v)) return false;
    *value = v;
    if (end) *end = e;
    return true;
}

// An integer starting at p (blanks skipped), in the given base (0: C notation),
// clamped to the range of int.
bool ReadInt(const char *p, int base, int *value) {
    char *e = nullptr;
    errno = 0;
    long v = std::strtol(p, &e, base);
    if (e == p) return false;
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    *value = static_cast<int>(v);
    return true;
}

const char *SkipBlanks(const char *p) {
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

// The first occurrence of either character, or null.
const char *FindEither(const char *s, char a, char b) {
    for (; *s; ++s)
        if (*s == a || *s == b) return s;
    return nullptr;
}

// Copies the text with its leading blanks dropped and the characters of `drop`
// before the first space removed; that space becomes a decimal point. Reports
// whether a character of `drop` was met.
bool NumberWithMarkers(const char *text, const char *drop, Line out) {
    const char *p = SkipBlanks(text ? text : "");
    size_t n = 0;
    bool marked = false;
    bool inNumber = true;
    for (; *p && n + 1 < kInputLineMax; ++p) {
        char c = *p;
        if (inNumber && c == ' ') {
            c = '.';
            inNumber = false;
        } else if (inNumber && std::strchr(drop, c) && c != '\0') {
            marked = true;
            continue;
        }
        out[n++] = c;
    }
    out[n] = '\0';
    return marked;
}

// The number right after the first occurrence of either letter. found tells
// whether the letter occurs; false when it occurs without a readable number.
bool NumberAfterLetter(const char *s, char upper, char lower, bool *found, double *value) {
    const char *at = FindEither(s, upper, lower);
    *found = at != nullptr;
    if (!at) return true;
    return ReadNumber(at + 1, value);
}

}  // namespace

size_t CopyBounded(char *dst, size_t dstSize, const char *text) {
    if (!dst || dstSize == 0) return 0;
    size_t n = text ? strnlen(text, dstSize - 1) : 0;
    if (n) std::memcpy(dst, text, n);
    dst[n] = '\0';
    return n;
}

bool BlankLine(const char *text) {
    if (!text) return true;
    for (size_t i = 0; i + 1 < kInputLineMax && text[i]; ++i)
        if (text[i] != ' ' && text[i] != '\t') return false;
    return true;
}

bool ParseDecimalSpace(const char *text, double *value) {
    Line line;
    NumberWithMarkers(text, "", line);
    return ReadNumber(line, value);
}

bool ParseAngle(const char *text, double *degrees) {
    Line line;
    NumberWithMarkers(text, "PYR", line);
    return ReadNumber(line, degrees);
}

bool ParseBurnTime(const char *text, bool *mjdForm, double *value) {
    Line line;
    bool mjd = NumberWithMarkers(text, "M", line);
    if (!ReadNumber(line, value)) return false;
    *mjdForm = mjd;
    return true;
}

bool ParseLocation(const char *text, double *lonDeg, double *latDeg) {
    Line line;
    CopyBounded(line, sizeof line, text);
    double lon = 0.0, lat = 0.0, v = 0.0;
    bool e, w, n, s;
    if (!NumberAfterLetter(line, 'E', 'e', &e, &v)) return false;
    if (e) lon = v;
    if (!NumberAfterLetter(line, 'W', 'w', &w, &v)) return false;
    if (w) lon = -v;
    if (!NumberAfterLetter(line, 'N', 'n', &n, &v)) return false;
    if (n) lat = v;
    if (!NumberAfterLetter(line, 'S', 's', &s, &v)) return false;
    if (s) lat = -v;
    if (!e && !w && !n && !s) {
        const char *end = nullptr;
        if (!ReadNumber(line, &lon, &end)) return false;
        // The box asks for "(lon,lat)": a comma may stand between the two.
        end = SkipBlanks(end);
        if (*end == ',') ++end;
        if (!ReadNumber(end, &lat)) lat = 0.0;
    }
    if (std::fabs(lat) > 90.0) return false;
    lon = std::fmod(lon, 360.0);
    if (lon > 180.0) lon -= 360.0;
    if (lon <= -180.0) lon += 360.0;
    *lonDeg = lon;
    *latDeg = lat;
    return true;
}

bool ParseDistance(const char *text, DistanceInput *out) {
    Line line;
    size_t len = CopyBounded(line, sizeof line, text);
    const char *u = FindEither(line, 'U', 'u');
    size_t upos = u ? static_cast<size_t>(u - line) : len;
    DistanceInput r;
    for (int k = 0; k < 3; ++k) {
        r.select[k] = false;
        r.fromCurrent[k] = false;
        r.value[k] = 0.0;
    }
    if (upos == 0) {
        for (int k = 0; k < 3; ++k) r.select[k] = r.fromCurrent[k] = true;
        *out = r;
        return true;
    }
    const bool namedFromCurrent = u && upos == 1;
    static const char kUpper[3] = {'X', 'Y', 'Z'};
    static const char kLower[3] = {'x', 'y', 'z'};
    bool anyLetter = false;
    for (int k = 0; k < 3; ++k) {
        const char *at = FindEither(line, kUpper[k], kLower[k]);
        if (!at) continue;
        anyLetter = true;
        r.select[k] = true;
        if (namedFromCurrent) {
            r.fromCurrent[k] = true;
        } else if (!ReadNumber(at + 1, &r.value[k])) {
            return false;
        }
    }
    if (!anyLetter) {
        if (u) return false;  // a U later in the line names no axis
        const char *p = line;
        for (int k = 0; k < 3; ++k) {
            if (!ReadNumber(p, &r.value[k], &p)) return false;
            r.select[k] = true;
        }
    }
    *out = r;
    return true;
}

bool ParseRates(const char *text, RatesInput *out) {
    Line line;
    CopyBounded(line, sizeof line, text);
    char *space = std::strchr(line, ' ');
    if (!space) return false;
    *space = '\0';
    const char *rest = SkipBlanks(space + 1);
    if (*rest == '\0') return false;
    RatesInput r;
    if (!std::strcmp(line, "r") || !std::strcmp(line, "rot"))
        r.linear = false;
    else if (!std::strcmp(line, "l") || !std::strcmp(line, "lin"))
        r.linear = true;
    else
        return false;
    r.reset = r.direct = false;
    for (int k = 0; k < 3; ++k) {
        r.select[k] = false;
        r.value[k] = 0.0;
    }
    if (std::strchr("aAqQ", *rest)) {
        r.reset = true;
        *out = r;
        return true;
    }
    static const char kRotUpper[3] = {'P', 'Y', 'R'}, kRotLower[3] = {'p', 'y', 'r'};
    static const char kLinUpper[3] = {'X', 'Y', 'Z'}, kLinLower[3] = {'x', 'y', 'z'};
    const char *upper = r.linear ? kLinUpper : kRotUpper;
    const char *lower = r.linear ? kLinLower : kRotLower;
    bool anyLetter = false;
    for (int k = 0; k < 3; ++k) {
        bool found = false;
        double v = 0.0;
        if (!NumberAfterLetter(rest, upper[k], lower[k], &found, &v)) return false;
        if (!found) continue;
        anyLetter = true;
        r.select[k] = true;
        r.value[k] = std::fabs(v);
    }
    if (!anyLetter) {
        const char *p = rest;
        for (int k = 0; k < 3; ++k) {
            double v = 0.0;
            if (!ReadNumber(p, &v, &p)) return false;
            r.value[k] = std::fabs(v);
        }
        r.direct = true;
    }
    *out = r;
    return true;
}

bool ParseIndex(const char *text, char letter, int *n) {
    Line line;
    CopyBounded(line, sizeof line, text);
    int v = 0;
    const bool plain = ReadInt(line, 10, &v);
    if (plain && v != 0) {
        *n = v;
        return true;
    }
    int w = 0;
    if (line[0] == letter && letter != '\0' && ReadInt(line + 1, 0, &w)) {
        *n = w;
        return true;
    }
    if (!plain) return false;
    *n = 0;
    return true;
}
