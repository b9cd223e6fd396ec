// The MFD's pages: the drawing entry the MFD class calls once per frame, the page
// frame with its start-up and welcome screens, and the summary page.
#ifndef TESSARC_DISPLAY_PAGES_H
#define TESSARC_DISPLAY_PAGES_H

#include <cstdint>

#include "Orbitersdk.h"

struct MfdState;

// Draws one frame of an MFD: the summary page while summaryShown is set, otherwise
// the page frame of its state (nothing when it has none). position is the MFD's
// position 0..31; summaryLine and summarySlot are the MFD's summary cursor, which
// the summary page brings into range and updates. Text is drawn in textFont when
// given (the grid still measured in the surface's own font, which is put back after).
void DrawMfdPage(oapi::Sketchpad *skp, int width, int height, const MfdState *state, bool summaryShown,
                 int32_t position, int32_t *summaryLine, int32_t *summarySlot, oapi::Font *textFont = nullptr);

// Title, MFD number and separator, then the page of the state's mode and the
// sections shared by the mode pages. Start-up and welcome screens while the state
// warms up or shows the mode selection.
void DrawPageFrame(const MfdState *state, oapi::Sketchpad *skp, int width, int height,
                   oapi::Font *textFont = nullptr);

// Whether a frame of the state shows its mode page: warmed up, past the mode
// selection, target and reference still the recorded objects, no ISS notice.
bool ShowsModePage(const MfdState *state);

// The page of an MFD whose vessel found every slot taken: the frame's header for
// that vessel and the notice "no free vessel slot".
void DrawNoSlotPage(oapi::Sketchpad *skp, int width, int height, OBJHANDLE vessel, int32_t position,
                    oapi::Font *textFont = nullptr);

// Every tracked vessel with its engaged autopilots, and the setup of the vessel
// under the cursor. ownVesselName marks the MFD's own vessel with "*". The
// selection wraps around the registry's summaryCount, the list's length at the
// previous frame.
void DrawSummaryPage(int32_t position, int32_t *summaryLine, int32_t *summarySlot, oapi::Sketchpad *skp,
                     int width, int height, const char *ownVesselName, oapi::Font *textFont = nullptr);

// The module's build date as six digits, year month day ("170619"), in out[7].
void BuildDateText(char *out);
// The same from a compile date of the form "Jun 19 2017"; "000000" when unreadable.
void DateTextOf(const char *compileDate, char *out);

#endif  // TESSARC_DISPLAY_PAGES_H
