// Decoding of scenario block lines into plain values.
#include "mfd/scenario.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

enum Shape {
    SHAPE_ALL,     // every value of `types` or nothing
    SHAPE_PREFIX,  // the values that read, in order
    SHAPE_NAME,    // the rest of the line is a name
    SHAPE_OWN      // decoded by a function of its own
};

struct KeyInfo {
    StatusKey key;
    const char *written;  // as written, with its indentation
    Shape shape;
    const char *types;    // 'i' integer, 'f' number
};

const KeyInfo kKeys[] = {
    {STATUS_MFDINDEX, "MFDIndex", SHAPE_ALL, "i"},
    {STATUS_REMOTE, " REMOTE", SHAPE_NAME, ""},
    {STATUS_REFMODE, "  REFMODE", SHAPE_OWN, ""},
    {STATUS_BODYREF, "   BODYREF", SHAPE_NAME, ""},
    {STATUS_TARGETREF, "   TARGETREF", SHAPE_NAME, ""},
    {STATUS_DOCKINGREF, "   DOCKINGREF", SHAPE_OWN, ""},
    {STATUS_PADBASE, "   PADBASE", SHAPE_OWN, ""},
    {STATUS_ELEVATION, "   elevation", SHAPE_ALL, "f"},
    {STATUS_GRAPHSTYLE, "   graphstyle", SHAPE_ALL, "i"},
    {STATUS_PORIG, "   Porig", SHAPE_ALL, "ffffiii"},
    {STATUS_COEFS, "   Coefs", SHAPE_ALL, "ffffff"},
    {STATUS_CONST, "   Const", SHAPE_ALL, "ffffff"},
    {STATUS_DISPL, "   Displ", SHAPE_ALL, "fffffff"},
    {STATUS_REFATT, "   RefAtt", SHAPE_ALL, "fff"},
    {STATUS_RELATT, "   RelAtt", SHAPE_ALL, "fff"},
    {STATUS_ACTIVEAP, "   activeAP", SHAPE_PREFIX, "iiiiii"},
    {STATUS_DOCKXYZ, "   DockXYZ", SHAPE_ALL, "fff"},
    {STATUS_RATES, "   Rates", SHAPE_ALL, "ffffff"},
    {STATUS_BURNDATA, "   BurnData", SHAPE_ALL, "fffffffi"},
    {STATUS_BURNDATA1, "   BurnData1", SHAPE_ALL, "ffffii"},
    {STATUS_BURNDATA3, "   BurnData3", SHAPE_ALL, "ffff"},
    {STATUS_ASCDATA, "   AscData", SHAPE_PREFIX, "iff"},
    {STATUS_LANDING, "   Landing", SHAPE_OWN, ""},
    {STATUS_CUTOFFALT, "   CutoffAlt", SHAPE_ALL, "f"},
    {STATUS_FORCELAND, "   FORCELAND", SHAPE_ALL, "i"},
    {STATUS_LANDBRAKE, "   LANDBRAKE", SHAPE_ALL, "i"},
    // A key of its own, which no key of a module without it begins with: such a
    // module passes the line over (and the default profile writes no line at all).
    {STATUS_DESCENT, "   DESCENT", SHAPE_OWN, ""},
};

const char *const kModeWords[] = {"VELOCITY", "RELATIVE", "GLOBAL", "DOCKING", "ENTRY", "BURNDATA", "ASCENT"};
// How much of each mode word the reader compares.
const size_t kModeWordCompare[] = {8, 8, 6, 7, 5, 8, 4};
const char *const kPrecisionWords[] = {"FAR", "CLOSE", "ABOVE"};
const char *const kDescentWords[] = {"SPECIFIED", "EFFICIENT"};

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

const char *SkipBlanks(const char *p, const char *end) {
    while (p < end && Blank(*p)) ++p;
    return p;
}

const char *TokenEnd(const char *p, const char *end) {
    while (p < end && !Blank(*p)) ++p;
    return p;
}

// The token [p, end) as a number of the given type: every character used, finite,
// integers whole and within int32.
bool ReadToken(const char *p, const char *end, char type, double *value) {
    const size_t n = static_cast<size_t>(end - p);
    char buf[64];
    if (n == 0 || n >= sizeof buf) return false;
    std::memcpy(buf, p, n);
    buf[n] = '\0';
    char *e = nullptr;
    errno = 0;
    if (type == 'i') {
        const long long v = std::strtoll(buf, &e, 10);
        if (e != buf + n || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
        *value = static_cast<double>(v);
        return true;
    }
    if (std::strpbrk(buf, "xX")) return false;  // hexadecimal: not a number this block writes
    const double v = std::strtod(buf, &e);
    if (e != buf + n || !std::isfinite(v) || std::fabs(v) > kStatusValueLimit) return false;
    *value = v;
    return true;
}

// Numbers of the given types from [p, end), stopping at the first that does not
// read or at the end; returns how many read. Further tokens are not looked at.
int ReadValues(const char *p, const char *end, const char *types, double *values, bool *clean) {
    int count = 0;
    *clean = true;
    for (; types[count]; ++count) {
        p = SkipBlanks(p, end);
        if (p == end) return count;
        const char *t = TokenEnd(p, end);
        if (!ReadToken(p, t, types[count], &values[count])) {
            *clean = false;
            return count;
        }
        p = t;
    }
    return count;
}

// The name in [p, end) with its blanks at both ends dropped; false when it is
// empty or longer than `longest`.
bool ReadName(const char *p, const char *end, char *name, size_t longest = kStatusNameMax) {
    p = SkipBlanks(p, end);
    while (end > p && Blank(end[-1])) --end;
    const size_t n = static_cast<size_t>(end - p);
    if (n == 0 || n > longest) return false;
    std::memcpy(name, p, n);
    name[n] = '\0';
    return true;
}

bool DecodeWord(const char *p, const char *end, StatusLine *out, bool mode) {
    p = SkipBlanks(p, end);
    const size_t n = static_cast<size_t>(TokenEnd(p, end) - p);
    const int words = mode ? 7 : 3;
    for (int i = 0; i < words; ++i) {
        const size_t len = mode ? kModeWordCompare[i] : std::strlen(kPrecisionWords[i]);
        const char *word = mode ? kModeWords[i] : kPrecisionWords[i];
        if (n >= len && std::strncmp(p, word, len) == 0) {
            out->value[0] = i;
            out->count = 1;
            return true;
        }
    }
    if (mode) return false;
    out->value[0] = 1;  // any other landing precision word reads as CLOSE
    out->count = 1;
    return n > 0;
}

// The descent profile's word, whole.
bool DecodeDescent(const char *p, const char *end, StatusLine *out) {
    p = SkipBlanks(p, end);
    const size_t n = static_cast<size_t>(TokenEnd(p, end) - p);
    for (int i = 0; i < 2; ++i) {
        if (n == std::strlen(kDescentWords[i]) && std::strncmp(p, kDescentWords[i], n) == 0) {
            out->value[0] = i;
            out->count = 1;
            return true;
        }
    }
    return false;
}

// "own:target,name": the ports only when both read.
bool DecodeDockingRef(const char *p, const char *end, StatusLine *out) {
    const char *comma = static_cast<const char *>(std::memchr(p, ',', static_cast<size_t>(end - p)));
    if (!comma || !ReadName(comma + 1, end, out->name)) return false;
    const char *colon = static_cast<const char *>(std::memchr(p, ':', static_cast<size_t>(comma - p)));
    out->count = 0;
    if (colon) {
        const char *a = SkipBlanks(p, colon);
        const char *aEnd = colon;
        while (aEnd > a && Blank(aEnd[-1])) --aEnd;
        const char *b = SkipBlanks(colon + 1, comma);
        const char *bEnd = comma;
        while (bEnd > b && Blank(bEnd[-1])) --bEnd;
        if (ReadToken(a, aEnd, 'i', &out->value[0]) && ReadToken(b, bEnd, 'i', &out->value[1])) out->count = 2;
    }
    return true;
}

// "-1,lon lat" (missing values 0) or "index,name". Index -2 means no target.
bool DecodePadBase(const char *p, const char *end, StatusLine *out) {
    const char *comma = static_cast<const char *>(std::memchr(p, ',', static_cast<size_t>(end - p)));
    const char *indexEnd = comma ? comma : end;
    const char *a = SkipBlanks(p, indexEnd);
    const char *aEnd = indexEnd;
    while (aEnd > a && Blank(aEnd[-1])) --aEnd;
    if (!ReadToken(a, aEnd, 'i', &out->value[0])) return false;
    const int index = static_cast<int>(out->value[0]);
    const char *rest = comma ? comma + 1 : end;
    if (index == -1) {
        bool clean = true;
        out->value[1] = out->value[2] = 0.0;
        ReadValues(rest, end, "ff", &out->value[1], &clean);
        out->count = 3;
        return clean;
    }
    out->count = 1;
    return index >= 0 && ReadName(rest, end, out->name);
}

}  // namespace

StatusKey DecodeStatusLine(const char *line, StatusLine *out) {
    out->key = STATUS_NONE;
    out->count = 0;
    for (double &v : out->value) v = 0.0;
    out->name[0] = '\0';
    if (!line) return STATUS_NONE;
    const size_t length = strnlen(line, kStatusLineMax + 1);
    if (length > kStatusLineMax) return STATUS_NONE;
    const char *end = line + length;
    for (const KeyInfo &k : kKeys) {
        const char *word = k.written;
        while (*word == ' ') ++word;
        const size_t n = std::strlen(word);
        // The key, its blank, and something after it.
        if (length <= n + 1 || std::strncmp(line, word, n) != 0 || line[n] != ' ') continue;
        const char *p = line + n + 1;
        bool ok = false;
        bool clean = true;
        switch (k.shape) {
            case SHAPE_ALL:
                out->count = ReadValues(p, end, k.types, out->value, &clean);
                ok = out->count == static_cast<int>(std::strlen(k.types));
                break;
            case SHAPE_PREFIX:
                out->count = ReadValues(p, end, k.types, out->value, &clean);
                ok = out->count > 0;
                break;
            case SHAPE_NAME:
                ok = ReadName(p, end, out->name, k.key == STATUS_REMOTE ? kStatusVesselNameMax : kStatusNameMax);
                // A vessel group whose name does not read still begins here.
                if (!ok && k.key == STATUS_REMOTE) {
                    out->name[0] = '\0';
                    out->key = STATUS_REMOTE;
                    return out->key;
                }
                break;
            case SHAPE_OWN:
                if (k.key == STATUS_REFMODE) ok = DecodeWord(p, end, out, true);
                if (k.key == STATUS_LANDING) ok = DecodeWord(p, end, out, false);
                if (k.key == STATUS_DOCKINGREF) ok = DecodeDockingRef(p, end, out);
                if (k.key == STATUS_PADBASE) ok = DecodePadBase(p, end, out);
                if (k.key == STATUS_DESCENT) ok = DecodeDescent(p, end, out);
                break;
        }
        if (!ok) {
            out->count = 0;
            out->name[0] = '\0';
            return STATUS_NONE;
        }
        out->key = k.key;
        return out->key;
    }
    return STATUS_NONE;
}

const char *StatusKeyText(StatusKey key) {
    for (const KeyInfo &k : kKeys)
        if (k.key == key) return k.written;
    return "";
}

const char *ModeWord(int mode) { return (mode >= 0 && mode < 7) ? kModeWords[mode] : ""; }

const char *PrecisionWord(int precision) { return (precision >= 0 && precision < 3) ? kPrecisionWords[precision] : ""; }

const char *DescentWord(int descent) { return (descent >= 0 && descent < 2) ? kDescentWords[descent] : ""; }
