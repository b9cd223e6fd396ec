// The landing autopilot letting go for a reason.
#ifndef TESSARC_LANDING_REFUSAL_H
#define TESSARC_LANDING_REFUSAL_H

#include <cstdint>

struct MfdState;

// The autopilot lets go for the reason bit: hold off, phase 0, the bit set and,
// when it was engaged, kept on the page (landingRefusal) until the pilot acts.
// Refused on the step that engaged it, the engines get back the levels they had.
void RefuseLanding(MfdState *S, uint32_t bit);

#endif  // TESSARC_LANDING_REFUSAL_H
