// The fixed-pitch font's sizes, and the fonts the host hands out.
#include "fonts.h"

#include "host.h"
#include "host_facts.h"

namespace host {
namespace {

// The MFD font as measured at two character heights: the 2D panel's display and
// the glass cockpit's. GetTextWidth grows by the same step for every character
// (a fixed pitch) over a constant, so two lengths give every length; between and
// beyond the two heights, every size goes in proportion to the height.
struct Measured {
    int em, cell, width;  // character height, GetCharSize's height and width, px
    int shortText;        // GetTextWidth of kShortRun characters, px
    int longText;         // GetTextWidth of kLongRun characters, px
};
const Measured kSmall = {facts::kPanelFontEm, facts::kPanelCellHeight, facts::kPanelCellWidth,
                         facts::kPanelShortText, facts::kPanelLongText};
const Measured kLarge = {facts::kGlassFontEm, facts::kGlassCellHeight, facts::kGlassCellWidth,
                         facts::kGlassShortText, facts::kGlassLongText};
const long kShortRun = facts::kShortRun, kLongRun = facts::kLongRun;
const long kSpan = kLarge.em - kSmall.em;  // px between the measured heights

// Fonts made and not yet released.
const int kFontMax = 64;
const HostFont *liveFonts[kFontMax];

// num / den to the nearest integer, halves away from zero (den > 0).
long Nearest(long num, long den) { return num >= 0 ? (2 * num + den) / (2 * den) : -((-2 * num + den) / (2 * den)); }

// A quantity measured at both heights, at character height em, times kSpan.
long AtHeight(long small, long large, int em) { return small * kSpan + (large - small) * (em - kSmall.em); }

int AtLeastOne(long v) { return v < 1 ? 1 : static_cast<int>(v); }

// Text width of n characters at a measured height, times (kLongRun - kShortRun).
long RunWidth(const Measured &m, long n) {
    return m.shortText * (kLongRun - kShortRun) + (m.longText - m.shortText) * (n - kShortRun);
}

}  // namespace

FontSize FixedFont(int em) {
    FontSize f;
    f.em = em < 1 ? 1 : em;
    f.cellHeight = AtLeastOne(Nearest(AtHeight(kSmall.cell, kLarge.cell, f.em), kSpan));
    f.averageWidth = AtLeastOne(Nearest(AtHeight(kSmall.width, kLarge.width, f.em), kSpan));
    return f;
}

int FixedTextWidth(int em, int n) {
    if (n <= 0) return 0;
    const long w = AtHeight(RunWidth(kSmall, n), RunWidth(kLarge, n), em < 1 ? 1 : em);
    return static_cast<int>(Nearest(w, kSpan * (kLongRun - kShortRun)));
}

int MfdFontHeight(int displayHeight) {
    const int h = displayHeight * facts::kFontRuleNumerator / facts::kFontRuleDenominator;
    return h < 1 ? 1 : h;
}

// A negative height is the character height; a positive one the cell height, met
// by the largest character height whose cell is no taller.
HostFont::HostFont(int height, bool prop, const char *face) : oapi::Font(height, prop, const_cast<char *>(face)) {
    int em = height < 0 ? -height : height;
    if (height > 0)
        while (em > 1 && FixedFont(em).cellHeight > height) --em;
    size = FixedFont(em);
}

const HostFont *LiveFont(const oapi::Font *font) {
    for (int i = 0; font && i < kFontMax; ++i)
        if (liveFonts[i] == font) return liveFonts[i];
    return nullptr;
}

const HostFont *MfdFont(int displayHeight) {
    static const HostFont font(-MfdFontHeight(displayHeight), false, "Fixed");
    return &font;
}

}  // namespace host

oapi::Font *oapiCreateFont(int height, bool prop, char *face, FontStyle) {
    if (height == 0) return nullptr;
    for (int i = 0; i < host::kFontMax; ++i) {
        if (host::liveFonts[i]) continue;
        host::HostFont *font = new host::HostFont(height, prop, face);
        host::liveFonts[i] = font;
        ++host::record.fontsAlive;
        return font;
    }
    return nullptr;
}

void oapiReleaseFont(oapi::Font *font) {
    for (int i = 0; font && i < host::kFontMax; ++i) {
        if (host::liveFonts[i] != font) continue;
        host::liveFonts[i] = nullptr;
        --host::record.fontsAlive;
        delete static_cast<host::HostFont *>(font);
        return;
    }
}
