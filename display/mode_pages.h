// The upper part of each mode page: its name after "Att.Mode :" on row 3 and its
// reference data on rows 5 to 19. Each draws with the state's grid; all leave its
// thirdRows at 0 except the Direct Burn page, which leaves 2.
#ifndef TESSARC_DISPLAY_MODE_PAGES_H
#define TESSARC_DISPLAY_MODE_PAGES_H

struct MfdState;

void DrawVelocityPage(MfdState *state);
// Also the first half of the Docking page, which then draws no title and no frame note.
void DrawRelativePage(MfdState *state);
void DrawDockingPage(MfdState *state);
void DrawAttitudePage(MfdState *state);
void DrawBurnPage(MfdState *state);
void DrawAscentPage(MfdState *state);

#endif  // TESSARC_DISPLAY_MODE_PAGES_H
