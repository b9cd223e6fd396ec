// One frame of an MFD: what the frame settles in the state, then the drawing.
#ifndef TESSARC_MFD_FRAME_DRAW_H
#define TESSARC_MFD_FRAME_DRAW_H

#include <cstdint>

#include "Orbitersdk.h"

struct MfdState;

// Draws one frame of an MFD (the summary page while summaryShown is set, else the
// page of its state) with what the frame decides around it: before the page, the
// readout choice and the Landing graph's zoom; after the summary page, the
// registry's count of its lines. Nothing without a surface. Text in textFont when given.
void DrawMfdFrame(oapi::Sketchpad *skp, int width, int height, MfdState *state, bool summaryShown,
                  int32_t position, int32_t *summaryLine, int32_t *summarySlot, oapi::Font *textFont = nullptr);

// The readout a shown mode page uses: the Docking page the translation velocities,
// the pages of every other mode but Relative the set offsets; Relative keeps the
// pilot's choice (key V). Nothing while the state's page shows no mode page.
void SettleReadoutChoice(MfdState *state);

#endif  // TESSARC_MFD_FRAME_DRAW_H
