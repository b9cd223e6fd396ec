// The fixed-pitch font's metrics, the host's font objects and their ledger.
#include "fonts.h"

#include <cmath>

namespace sim {

namespace {

// The graphics client's fixed-pitch font at the two character heights the MFD
// default font takes on the real host's displays (144 and 240 px high): what
// GetCharSize reported, and GetTextWidth of 37 and of 10 characters, from which
// advance and overhang follow (w(n) = advance * n + overhang).
struct MeasuredFont {
    int em, cell, average, width37, width10;
};
const MeasuredFont kSmall = {6, 6, 3, 146, 42};
const MeasuredFont kLarge = {10, 11, 6, 218, 62};

double Advance(const MeasuredFont &f) { return (f.width37 - f.width10) / 27.0; }
double Overhang(const MeasuredFont &f) { return f.width37 - 37.0 * Advance(f); }

// Linear between the two measured heights and carried on beyond them.
double Between(double small, double large, int em) {
    return small + (large - small) * (em - kSmall.em) / static_cast<double>(kLarge.em - kSmall.em);
}

int AtLeastOne(double v) {
    long r = std::lround(v);
    return r < 1 ? 1 : static_cast<int>(r);
}

}  // namespace

FontMetrics fixedFontMetrics(int emHeight) {
    FontMetrics m;
    m.emHeight = emHeight < 1 ? 1 : emHeight;
    m.cellHeight = AtLeastOne(Between(kSmall.cell, kLarge.cell, m.emHeight));
    m.averageWidth = AtLeastOne(Between(kSmall.average, kLarge.average, m.emHeight));
    m.advance = Between(Advance(kSmall), Advance(kLarge), m.emHeight);
    if (m.advance < 1.0) m.advance = 1.0;
    m.overhang = Between(Overhang(kSmall), Overhang(kLarge), m.emHeight);
    if (m.overhang < 0.0) m.overhang = 0.0;
    return m;
}

int textWidth(const FontMetrics &m, int n) {
    if (n <= 0) return 0;
    return static_cast<int>(std::lround(m.advance * n + m.overhang));
}

int mfdFontHeight(int displayHeight) {
    int h = displayHeight * 9 / 200;
    return h < 1 ? 1 : h;
}

// A negative height is the character height, a positive one the cell height (as
// the host's font interface takes them); the proportional flag and the face do
// not change the metrics here.
HostFont::HostFont(int height, bool prop, const char *face, Style style)
    : oapi::Font(height, prop, face, style), proportional(prop) {
    int em = height < 0 ? -height : height;
    if (height > 0)
        while (em > 1 && fixedFontMetrics(em).cellHeight > height) --em;
    metrics = fixedFontMetrics(em);
}

FontLedger &fontLedger() {
    static FontLedger ledger;
    return ledger;
}

const HostFont *liveFont(const oapi::Font *f) {
    return f && fontLedger().fonts.count(f) ? static_cast<const HostFont *>(f) : nullptr;
}

int releaseOutstandingFonts() {
    FontLedger &l = fontLedger();
    int n = static_cast<int>(l.fonts.size());
    for (const oapi::Font *f : l.fonts) delete static_cast<const HostFont *>(f);
    l.fonts.clear();
    return n;
}

}  // namespace sim

using sim::fontLedger;

oapi::Font *oapiCreateFont(int height, bool prop, char *face, FontStyle style) {
    if (height == 0) return nullptr;
    sim::HostFont *f = new sim::HostFont(height, prop, face, static_cast<oapi::Font::Style>(style));
    fontLedger().fonts.insert(f);
    fontLedger().created++;
    return f;
}

oapi::Font *oapiCreateFont(int height, bool prop, const char *face, FontStyle style, int orientation) {
    (void)orientation;
    return oapiCreateFont(height, prop, const_cast<char *>(face), style);
}

// Only what the host handed out is taken back; anything else is counted, never touched.
void oapiReleaseFont(oapi::Font *font) {
    if (!font) return;
    if (fontLedger().fonts.erase(font) == 0) {
        fontLedger().badReleases++;
        return;
    }
    fontLedger().released++;
    delete static_cast<sim::HostFont *>(font);
}
