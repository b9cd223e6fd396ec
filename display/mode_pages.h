// The upper part of each mode page: its name after "Att.Mode :" on row 3 and its
// reference data on rows 5 to 19. Each draws on the frame's grid; all leave its
// thirdRows at 0 except the Direct Burn page, which leaves 2.
#ifndef TESSARC_DISPLAY_MODE_PAGES_H
#define TESSARC_DISPLAY_MODE_PAGES_H

#include "display/textgrid.h"

struct MfdState;

void DrawVelocityPage(const MfdState *state, TextGrid &g);
// Also the first half of the Docking page, which then draws no title and no frame note.
void DrawRelativePage(const MfdState *state, TextGrid &g);
void DrawDockingPage(const MfdState *state, TextGrid &g);
void DrawAttitudePage(const MfdState *state, TextGrid &g);
void DrawBurnPage(const MfdState *state, TextGrid &g);
void DrawAscentPage(const MfdState *state, TextGrid &g);

#endif  // TESSARC_DISPLAY_MODE_PAGES_H
