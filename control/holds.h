// The hold switches: HOLD, the translation-hold axes, and all autopilots off.
#ifndef TESSARC_CONTROL_HOLDS_H
#define TESSARC_CONTROL_HOLDS_H

struct MfdState;

// Translation hold switch: axis 0, 1, 2 toggles it, kTransAxesAll switches all on,
// kTransAxesNone all off.
void ToggleTranslationAxis(MfdState *S, int axis);
// HOLD, TRIM and the armed burn off; attitude groups to 0.
void AllAutopilotsOff(MfdState *S);
// The "HOLD" switch. In the Landing mode it engages the autopilot, stops a running
// descent (the stopping flag) and resumes a stopped one.
void ToggleAttitudeHold(MfdState *S);

#endif  // TESSARC_CONTROL_HOLDS_H
