// The lower two thirds shared by every mode page but Landing: the attitude readout,
// the thruster-level graphic and the status column. Each draws on the frame's
// grid and leaves its thirdRows at 0.
#ifndef TESSARC_DISPLAY_SECTIONS_H
#define TESSARC_DISPLAY_SECTIONS_H

#include "display/textgrid.h"

struct MfdState;

// Set offsets or translation velocities (or the remaining burn), then the attitude
// angles and their rates.
void DrawAttitudeReadout(const MfdState *state, TextGrid &g);
// Measured attitude-thruster levels (filled) against the autopilot's commands (outlined).
void DrawThrusterLevels(const MfdState *state, TextGrid g);
// HOLD, TRIM, DOCK/ZERO, GO, FOLLOW and the roll mode; the driving MFD under lockout.
void DrawStatusColumn(const MfdState *state, TextGrid &g);

#endif  // TESSARC_DISPLAY_SECTIONS_H
