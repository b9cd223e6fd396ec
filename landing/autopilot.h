// The landing autopilot: target and orbit validation, the measurements of every
// step, the phase machine (wait, brake, approach, final, touchdown, landed), the
// status bits, the time-acceleration limits, touchdown and the wheel brakes.
#ifndef TESSARC_LANDING_AUTOPILOT_H
#define TESSARC_LANDING_AUTOPILOT_H

#include <cstdint>

struct MfdState;

// Phases of MfdState::landingPhase.
enum LandingPhase {
    LANDING_WAIT = 0,
    LANDING_BRAKE = 1,
    LANDING_REPLAN = 2,
    LANDING_APPROACH = 3,
    LANDING_FINAL_START = 4,
    LANDING_FINAL = 5,
    LANDING_LANDED = 6,
    LANDING_NO_SOLUTION = 7,
    LANDING_BRAKE_NOW = 8,
    LANDING_TOUCHDOWN = 9
};

// Bits of MfdState::landingFlags.
const uint32_t kLandLockedOut = 1u << 0;
const uint32_t kLandNoBase = 1u << 1;
const uint32_t kLandCritical = 1u << 2;
// The attitude thrusters have no propellant left: the vessel cannot be turned.
const uint32_t kLandNoAttitudeFuel = 1u << 3;
const uint32_t kLandDetNegative = 1u << 4;
const uint32_t kLandBtNegative = 1u << 5;
const uint32_t kLandCollision = 1u << 6;
const uint32_t kLandTooLow = 1u << 7;
// The brake point is behind the vessel: it can no longer stop at the pass.
const uint32_t kLandTooLate = 1u << 8;
const uint32_t kLandTargetNotLanded = 1u << 9;
const uint32_t kLandTargetInvalid = 1u << 10;
const uint32_t kLandNoTarget = 1u << 11;
const uint32_t kLandStopping = 1u << 12;
const uint32_t kLandAlignment = 1u << 13;
const uint32_t kLandNoThrust = 1u << 14;
// The planned descent needs more propellant than the engine group's tank holds.
const uint32_t kLandNoFuel = 1u << 15;
const uint32_t kLandEccentricity = 1u << 16;
// The next pass over the target is more than one orbit period ahead.
const uint32_t kLandBeyondOrbit = 1u << 17;
// The landing in flight no longer fits the vessel's state or its target (a date
// moved under it, say), and no descent from the present state is within the
// engines' reach.
const uint32_t kLandOutOfReach = 1u << 18;
// The vessel met the ground faster than a touchdown allows.
const uint32_t kLandHardContact = 1u << 19;

// Time-acceleration limits by phase group, and the base factor they scale.
const double kWarpBase = 1.0;
const double kWarpWaiting = 100.0;
const double kWarpActive = 10.0;
const double kWarpFinal = 1.0;

// m above the target where the approach ends (landingParams[0], until the final
// phase keeps its entry height there).
const double kApproachEndHeight = 30.0;

// m/s of closing speed below which an approach is planned from rest (and a
// vessel far short of the target in the final phase counts as stalled).
const double kSlowClosing = 2.0;

// m/s of ground speed below which the present course fades out of the
// measurements: a vessel that hovers has no course to be off.
const double kCourseSpeed = 0.1;

// The autopilot lets go for the reason bit: hold off, phase 0, the bit set and,
// when it was engaged, kept on the page (landingRefusal) until the pilot acts.
void RefuseLanding(MfdState *S, uint32_t bit);

// One landing step for a state in the Landing mode; dt is the state's stepDt.
// Thrust and attitude commands only while holdOn is set and lockedOut is clear.
void LandingStep(MfdState *S, double dt);

#endif  // TESSARC_LANDING_AUTOPILOT_H
