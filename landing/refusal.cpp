// The landing autopilot letting go for a reason.
#include "landing/refusal.h"

#include "frame/state.h"

void RefuseLanding(MfdState *S, uint32_t bit) {
    S->landingFlags |= bit;
    if (S->holdOn && !S->lockedOut) S->landingRefusal |= bit;
    S->landingPhase = LANDING_WAIT;
    S->holdOn = false;
}
