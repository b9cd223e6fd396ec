// Reference and target tracking: the Velocity, Relative and Attitude modes, the
// per-mode memory of wanted attitudes and targets, mode selection and the spin.
#ifndef TESSARC_CONTROL_MODES_H
#define TESSARC_CONTROL_MODES_H

#include "Orbitersdk.h"

struct MfdState;

// Velocity mode: z along the orbital velocity (own, or the followed vessel's),
// x along the orbit normal.
void UpdateVelocityMode(MfdState *S);
// Relative mode: z on the line of sight to the target, x along the own orbit normal.
void UpdateRelativeMode(MfdState *S);
// Mode change: the left mode's settings go to its memory slot, the new mode's
// come back from its slot, the roll mode is set, the mode page closes.
void SelectMode(MfdState *S, int oldMode, int newMode);
// 0, or the current value, switches the spin off; 1 "RPM", 2 "TOR".
void SetSpinMode(MfdState *S, int mode);
// Memory slot of a mode; -1 for the modes without one.
int ModeSlot(int mode);

#endif  // TESSARC_CONTROL_MODES_H
