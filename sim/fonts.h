// The host's fonts: the fixed-pitch font every MFD draws in unless it selects
// another, fonts made with oapiCreateFont, and what the drawing surface reports
// for them (GetCharSize, GetTextWidth). The metrics follow the real host's
// graphics client as measured on its two MFD sizes and are carried between them.
#ifndef TESSARC_SIM_FONTS_H
#define TESSARC_SIM_FONTS_H

#include <set>

#include "DrawAPI.h"

namespace sim {

// What a surface reports for a font of a given character height.
struct FontMetrics {
    int emHeight = 0;        // requested character height, px (the magnitude of a negative height)
    int cellHeight = 0;      // GetCharSize's height, px (character height with internal leading)
    int averageWidth = 0;    // GetCharSize's width, px
    double advance = 0.0;    // pen advance of one character, px (every character alike)
    double overhang = 0.0;   // GetTextWidth's constant over n advances, px
};

// Metrics of the graphics client's fixed-pitch font at a character height (px, >= 1).
FontMetrics fixedFontMetrics(int emHeight);
// GetTextWidth of n characters in a font with these metrics, px (0 for n <= 0).
int textWidth(const FontMetrics &m, int n);

// The character height of the MFD default font the host makes for an instrument
// display of the given height, px (nine two-hundredths of it, at least 1).
int mfdFontHeight(int displayHeight);

class HostFont : public oapi::Font {
public:
    HostFont(int height, bool prop, const char *face, Style style);
    FontMetrics metrics;
    bool proportional;
};

// Fonts handed out by oapiCreateFont and not yet released.
struct FontLedger {
    std::set<const oapi::Font *> fonts;
    long created = 0, released = 0;
    long badReleases = 0;  // release of a font the host did not hand out (or already took back)
};
FontLedger &fontLedger();
// The live HostFont behind a font pointer, or null for anything else.
const HostFont *liveFont(const oapi::Font *f);
// Frees every font still outstanding (end of a run) and returns how many there were.
int releaseOutstandingFonts();

}  // namespace sim

#endif  // TESSARC_SIM_FONTS_H
