// The autopilot step: run for every state on every scheduler pass and once when a
// state is initialised.
#ifndef TESSARC_FRAME_STEP_H
#define TESSARC_FRAME_STEP_H

#include <cstdint>

struct MfdState;

// modeMask and positionMask are the vessel record's masks of the previous pass.
void AutopilotStep(MfdState *S, double simt, double simdt, uint32_t modeMask, uint32_t positionMask);
// The first step of a state just initialised: no interval behind it, and warmUp
// keeps it from commanding thrusters. Nothing for a state without a vessel.
void FirstStep(MfdState *S);

#endif  // TESSARC_FRAME_STEP_H
