// The font the pages' text is drawn in. The grid is measured in the surface's own
// font (the host's MFD font), whose characters may be taller than a grid row or
// wider than a column; the pages then draw their text in a smaller fixed-pitch
// font of the host's that fits the cell, so no line of text covers another.
#ifndef TESSARC_DISPLAY_TEXT_FONT_H
#define TESSARC_DISPLAY_TEXT_FONT_H

#include "Orbitersdk.h"
#include "display/textgrid.h"

// A host font for the text of a width x height surface whose selected font does
// not fit the grid's cell: the largest fixed-pitch one that does, made with
// oapiCreateFont (the caller releases it with oapiReleaseFont). Null when the
// surface's font fits, when none fits, and without a surface. Measures; draws nothing.
oapi::Font *FitTextFont(oapi::Sketchpad *surface, int width, int height);

// Whether the surface's selected font fits the grid's cell: its character height
// within a row, and a full line of it within the 37 columns.
bool FontFitsGrid(const TextGrid &g);

// Selects the font on the grid's surface (nothing when null) and returns the one it replaced.
oapi::Font *UseTextFont(const TextGrid &g, oapi::Font *font);
// Puts back what UseTextFont replaced (nothing when it selected no font).
void RestoreTextFont(const TextGrid &g, oapi::Font *font, oapi::Font *previous);

#endif  // TESSARC_DISPLAY_TEXT_FONT_H
