// The landing autopilot letting go for a reason.
#include "landing/refusal.h"

#include "frame/state.h"

void RefuseLanding(MfdState *S, uint32_t bit) {
    S->landingFlags |= bit;
    if (S->engaging && S->holdOn && !S->lockedOut && S->vessel) {
        // Refused as it engaged: the engines go back to what the pilot had set.
        for (int g = THGROUP_MAIN; g <= THGROUP_HOVER; ++g)
            S->vessel->SetThrusterGroupLevel(static_cast<THGROUP_TYPE>(g), S->engageLevels[g]);
        S->enginesHeld = 0;
    }
    if (S->holdOn && !S->lockedOut) S->landingRefusal |= bit;
    S->landingPhase = LANDING_WAIT;
    S->holdOn = false;
}
