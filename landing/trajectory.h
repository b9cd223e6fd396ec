// The planned descent: quintics in time for the along-track position and the
// height, from the start values in landingConsts and the coefficients in
// landingCoefs; their references at a time, their check against the ground and
// the engine group, and their delta-v and fuel.
#ifndef TESSARC_LANDING_TRAJECTORY_H
#define TESSARC_LANDING_TRAJECTORY_H

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
// Lowest value of that quintic (with its x0, V0 and a0) between 0 and T, sampled.
double QuinticLowest(const Quintic &q, double x0, double V0, double a0, double T);
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

// Stores a trajectory: the along-track quintic h from x0 at speed V0 and
// acceleration a0, the height quintic z from h0 at vertical speed vz0, T s long.
void StoreTrajectory(MfdState *S, const Quintic &h, const Quintic &z, double a0, double T, double x0, double V0,
                     double h0, double vz0);
// The approach in flight was planned from a hover (it starts without the braking
// approach's deceleration).
bool ApproachFromRest(const MfdState *S);
// Propellant (kg) that a delta-v costs a vessel of the given mass and Isp.
double FuelForDv(double dv, double isp, double mass);
// s of hovering the delta-v of a plan keeps in reserve (landingDv).
const double kReserveHover = 90.0;
// ... with the efficient descent (its final descent without a hover, through air
// after the standard braking too), and s it allows for settling into the
// precision box.
const double kEfficientReserve = 30.0;
// m/s: the reserve in the stored plan's landingDv, for gravity g at the target
// (the efficient descent's for a braking planned with its tail, landingTailDv).
double PlanReserveDv(const MfdState *S, double g);
// The engine group's acceleration grows as its tank empties: a plan made in flight
// may ask this much more than the engines give at its start.
const double kReachMargin = 1.25;
// The engine group's tank holds the fuel of a delta-v (m/s).
bool FuelCovers(const MfdState *S, const LandingStepValues &V, double dv);
// The trajectory just stored, checked from its start: its largest acceleration is
// within reach of the engine group's and the tank pays for it, if need be out of
// the hover reserve. Otherwise the landing is refused ("target out of reach", "not
// enough fuel") and false comes back.
bool PlanWithinReach(MfdState *S, const LandingStepValues &V);

#endif  // TESSARC_LANDING_TRAJECTORY_H
