// The test host's fonts: the MFD font it gives a display, the fonts a module makes
// with oapiCreateFont, and what the drawing surface reports for each. Sized from
// what was measured in the real host (host_facts.h, written by tools/windows.sh
// from tests/data/realhost/mfd.json), never from the simulated host's code.
#ifndef TESSARC_WIN_FONTS_H
#define TESSARC_WIN_FONTS_H

#include "Orbitersdk.h"

namespace host {

// What the surface reports for the fixed-pitch font of one character height.
struct FontSize {
    int em;            // character height asked for, px
    int cellHeight;    // GetCharSize's low word, px
    int averageWidth;  // GetCharSize's high word, px
};

// A font the host made; the surface measures in its size.
struct HostFont : oapi::Font {
    HostFont(int height, bool prop, const char *face);
    FontSize size;
};

// The fixed-pitch font at a character height (px, at least 1).
FontSize FixedFont(int em);
// GetTextWidth of n characters in the fixed-pitch font of character height em, px.
int FixedTextWidth(int em, int n);
// The character height of the MFD font for a display of the given height, px.
int MfdFontHeight(int displayHeight);
// The host's font behind a pointer, or null for one it did not make (or took back).
const HostFont *LiveFont(const oapi::Font *font);
// The MFD font of a display of the given height (made once, by the first display).
const HostFont *MfdFont(int displayHeight);

}  // namespace host

#endif  // TESSARC_WIN_FONTS_H
