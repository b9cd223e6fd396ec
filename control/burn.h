// Direct Burn and Ascent modes: their switches. Their attitude hold is part of
// the attitude controller; no burn or ascent guidance is computed.
#ifndef TESSARC_CONTROL_BURN_H
#define TESSARC_CONTROL_BURN_H

struct MfdState;

// 200 s in days: the default lead of the burn time.
const double kBurnLeadDays = 200.0 / 86400.0;

// Arms or disarms the burn; an armed burn drives the vessel like HOLD does.
// A position locked out by another one cannot arm (it may always disarm).
void ToggleBurnArmed(MfdState *S);
// "(TX sync)": switching it on moves the burn time 200 s ahead of now.
void ToggleTransXSync(MfdState *S);
// "Orbit Insert" instead of a free burn.
void ToggleOrbitInsert(MfdState *S);

#endif  // TESSARC_CONTROL_BURN_H
