// Landing trajectory planning: the next close pass over the target, the brake
// point, the braking trajectory to the final-approach gate, its height and
// acceleration check with the delta-v and fuel, the brake schedule with the
// waiting attitude, and the approach re-plan after braking. Trajectories are
// quintics in time for the along-track position and the height.
#ifndef TESSARC_LANDING_PLANNING_H
#define TESSARC_LANDING_PLANNING_H

struct MfdState;
struct LandingStepValues;

// End state of the braking trajectory (the final-approach gate).
struct GateState {
    double x;    // along-track position, m (negative: before the target)
    double v;    // closing speed, m/s
    double h;    // height above the target level, m
    double vz;   // vertical speed, m/s
    double tf;   // final-approach duration, s
};

struct Quintic {
    double c3, c4, c5;
};

// (c3, c4, c5) of the quintic with x(0) = x0, x'(0) = V0, x''(0) = a0 and
// x(T) = x1, x'(T) = V1, x''(T) = a1. Zero for T not above 0.
Quintic QuinticCoefficients(double x0, double x1, double V0, double V1, double a0, double a1, double T);
// Initial acceleration of the approach from (x0, V0) to (x1, V1); false when the
// cubic has no usable root (or the inputs are degenerate).
bool SolveApproachAccel(double x0, double x1, double V0, double V1, double *a0);
// Duration that goes with that acceleration.
double ApproachDuration(double x0, double V0, double a0);
// Gate of the braking trajectory for gravity g at the target (the state's
// final-approach duration, 180 s for vessels with shared pitch and bank thrusters).
GateState FinalApproachGate(MfdState *S, double g);
// Samples the stored trajectory from t0 to its end: raises *largest, writes
// landingDv and bits 6 and 7 of landingFlags.
void CheckTrajectory(MfdState *S, double Rt, double g, double t0, double *largest);

// Trajectory references at time t: position, speed and acceleration.
void AlongReference(const MfdState *S, double t, double out[3]);
void HeightReference(const MfdState *S, double t, double out[3]);

// Phase 0, before the measurements are published: the predicted pass replaces
// them. True when a pass was found; its surface point comes back in lonP, latP.
bool PassageSearch(MfdState *S, LandingStepValues &V, double *lonP, double *latP);
// Phase 0 after publishing: brake point, braking plan and schedule. Returns true
// when the brake must start now (the caller goes on as phase 8); false when the
// step ends here (waiting, or a planning failure that switched the hold off).
bool PlanBraking(MfdState *S, LandingStepValues &V, bool passValid, double lonP, double latP);
// The braking trajectory for the state predicted at tb s from now, stored with
// its check, delta-v and fuel; false (refused, hold off, phase 0) without one.
bool BrakingPlan(MfdState *S, LandingStepValues &V, double tb);
// s of hovering the delta-v of a plan keeps in reserve (landingDv).
const double kReserveHover = 90.0;
// The engine group's tank holds the fuel of a delta-v (m/s).
bool FuelCovers(const MfdState *S, const LandingStepValues &V, double dv);
// The approach in flight was planned from a hover (it starts without the braking
// approach's deceleration).
bool ApproachFromRest(const MfdState *S);
// Phase 2: the approach trajectory from the present measurements. False (hold off,
// phase 0) when it has no solution.
bool ReplanApproach(MfdState *S, const LandingStepValues &V);

#endif  // TESSARC_LANDING_PLANNING_H
