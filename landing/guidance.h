// Landing guidance: the commanded acceleration in the landing frame (z down-range,
// x the approach-plane normal, y up) from trajectory tracking, the final descent
// law or the pilot's stop, then the attitude that points the engine group along
// it and the engine group's throttle.
#ifndef TESSARC_LANDING_GUIDANCE_H
#define TESSARC_LANDING_GUIDANCE_H

#include "Orbitersdk.h"

struct MfdState;
struct LandingStepValues;

// Commanded acceleration, m/s^2, in landing-frame components.
struct LandingCommand {
    double along;     // z
    double vertical;  // y
    double cross;     // x
};

// Test hook: false flies every landing without the aerodynamic relief, so a
// flight test can weigh what it is worth. True from the start; no key, dialog or
// scenario line reaches it.
extern bool landingAeroRelief;

// The command less the host's drag and lift per unit mass, turned into the
// landing frame whose axes are the columns of `frame` (unchanged without them).
LandingCommand AeroRelief(const MfdState *S, const LandingStepValues &V, const MATRIX3 &frame, LandingCommand a);

// Precision box of the final phase by landingPrecision; false for no box.
bool PrecisionBox(int precision, double *along, double *cross, double *speed);

// relAtt that turns the engine group's thrust axis onto direction d of the
// landing frame (with the half turn about the thrust axis when invertRotation).
VECTOR3 ThrustAxisOffset(const MfdState *S, int group, const VECTOR3 &d);

// Cosine of the angle between the engine group's thrust axis now and direction d
// of the landing frame held in refAtt; 0 for a group without a thrust axis.
double ThrustAxisAlignment(const MfdState *S, int group, const VECTOR3 &d);

// Phases 1 and 3: tracking of the planned trajectory (may move the phase on to 2
// or 4 while the hold is on).
LandingCommand TrackingGuidance(MfdState *S, LandingStepValues &V);
// Phases 4 and 5: the final descent over the target; sets V.ev for touchdown.
LandingCommand FinalGuidance(MfdState *S, LandingStepValues &V);
// Attitude target and offset, the refreshed attitude error, and the throttle of
// the engine group (set only while the hold is on). Nothing when locked out.
void CommandOutput(MfdState *S, const LandingStepValues &V, LandingCommand a);

#endif  // TESSARC_LANDING_GUIDANCE_H
