// Direct Burn and Ascent switches.
#include "control/burn.h"

#include "frame/state.h"

void ToggleBurnArmed(MfdState *S) {
    if (!S->burnArmed && S->lockedOut) return;
    S->burnArmed = !S->burnArmed;
}

void ToggleTransXSync(MfdState *S) {
    S->transXSync = !S->transXSync;
    if (S->transXSync) S->burnMjd = oapiGetSimMJD() + kBurnLeadDays;
}

void ToggleOrbitInsert(MfdState *S) { S->orbitInsert = !S->orbitInsert; }
