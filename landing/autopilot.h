// The landing autopilot: target and orbit validation, the measurements of every
// step, the phase machine (wait, brake, approach, final, touchdown, landed), the
// status bits, the time-acceleration limits, touchdown and the wheel brakes.
#ifndef TESSARC_LANDING_AUTOPILOT_H
#define TESSARC_LANDING_AUTOPILOT_H

#include <cstdint>

struct MfdState;

// Time-acceleration limits by phase group, and the base factor they scale.
const double kWarpBase = 1.0;
const double kWarpWaiting = 100.0;
const double kWarpActive = 10.0;
const double kWarpFinal = 1.0;



// m/s of ground speed below which the present course fades out of the
// measurements: a vessel that hovers has no course to be off.
const double kCourseSpeed = 0.1;

// One landing step for a state in the Landing mode; dt is the state's stepDt.
// Thrust and attitude commands only while holdOn is set and lockedOut is clear.
void LandingStep(MfdState *S, double dt);

#endif  // TESSARC_LANDING_AUTOPILOT_H
