// The efficient descent, the pilot's alternative to the standard profile: a
// braking on the engine group's full usable thrust started as late as it can
// be, a short approach that keeps decelerating, and a final descent at a steady
// deceleration rather than a hover. Braking and approach fly a fixed-end-time
// law whose thrust is quadratic in time (the kind the lunar descents flew),
// closed on the present state every step; the end state of each is the end of
// the trajectory stored in the landing slots, which the page draws.
#ifndef TESSARC_LANDING_EFFICIENT_H
#define TESSARC_LANDING_EFFICIENT_H

#include "landing/guidance.h"

struct MfdState;
struct LandingStepValues;
struct GateState;

// The state flies the efficient descent (chosen).
bool EfficientDescent(const MfdState *S);

// m/s along the approach line (the along-track position's rate; unlike the
// closing speed it keeps its sign past the target).
double ForwardSpeed(const MfdState *S, const LandingStepValues &V);

// A state in the approach plane: along-track position (m, negative before the
// target), height over the target level (m), closing and vertical speed (m/s),
// offset from the approach line (m) and its rate (m/s).
struct PlaneState {
    double x, h, v, vz, y, vy;
};

// The end a law flies to: position, speeds and the kinematic (thrust plus
// gravity) accelerations there, along and up, m/s^2. Across it ends on the line.
struct PlaneEnd {
    double x, h, v, vz, ax, az;
};

// Thrust acceleration (m/s^2) along, up and across as a quadratic in the time
// since now: u(t) = u0 + u1 t + u2 t^2 per axis.
struct ThrustLaw {
    double u0[3], u1[3], u2[3];
};

// The body under the law: gravity at the target (m/s^2), the radius the
// centrifugal relief is taken at (m), the inertial horizontal speed less the
// closing speed (m/s: the planet's turning under the track), and the air's
// braking per closing speed squared as measured now (1/m; 0 above the air).
struct LawBody {
    double g, radius, spin, drag;
};

// The body under the law for a vessel at pos, vel (global, m and m/s) closing
// at closing (m/s), the air not counted.
LawBody BodyAt(const LandingStepValues &V, const VECTOR3 &pos, const VECTOR3 &vel, double closing);

// The law from state s to end e in T s (> 0). Along and up it meets e's position,
// speed and acceleration; across it ends on the line at rest. The gravity less
// the centrifugal relief, and the air's braking (b.drag), are integrated over a
// speed that falls evenly to e's: the law is the engines' part.
ThrustLaw DescentLaw(const PlaneState &s, const PlaneEnd &e, double T, const LawBody &b);

// What the law costs from now to its end, for a vessel of mass m (kg) whose
// engine group gives thrust (N) at isp (m/s): delta-v (m/s), the largest share of
// the engine group's thrust it asks (the mass falls as it burns), and the lowest
// height on the way (m).
struct LawCost {
    double dv, share, lowest;
};
LawCost CostOfLaw(const ThrustLaw &L, const PlaneState &s, const PlaneEnd &e, double T, const LawBody &b,
                  double mass, double thrust, double isp);

// Phases 1 and 3: the law to the stored trajectory's end (moves the phase on to 2
// or 4 near that end while the hold is on); the remaining delta-v and fuel.
LandingCommand EfficientGuidance(MfdState *S, LandingStepValues &V);
// Phases 1 and 3 of the descent the pilot chose: the efficient law while it is
// the one in flight, the standard tracking otherwise.
LandingCommand DescentTracking(MfdState *S, LandingStepValues &V);
// Phase 5: the steady-deceleration descent and the hold over the target into a
// (the final law has set the precision box); sets V.ev for touchdown.
void EfficientFinalVertical(MfdState *S, LandingStepValues &V, LandingCommand *a);
// The law in flight still fits the state: begun, and within the engine group.
bool EfficientPlanFits(const MfdState *S, const LandingStepValues &V);

// The profile's shape. The braking is planned on this share of the engine
// group's thrust, the rest left to the law for what the plan did not foresee.
const double kPlanThrustShare = 0.85;
// s of the approach from its gate to the point over the target.
const double kApproachTime = 20.0;
// The approach comes down this many metres for each metre it closes.
const double kApproachGlide = 0.18;
// The approach starts decelerating on this share of the engine group's thrust
// (less than the braking's: the law's quadratic rounds the corner from the
// braking's steady deceleration into the approach's falling one above both).
const double kApproachThrustShare = 0.7;
// The approach's thrust carries at least this share of the weight.
const double kLeastLift = 0.5;
// m over the target where the approach ends and the final descent begins.
const double kLowGateHeight = 20.0;
// m short of the target the approach ends: right over it the bearing to the
// target, which the final phase takes its frame from, means nothing.
const double kLowGateShort = 3.0;
// m/s: the final descent's sink at touchdown, its fastest sink, and its steady
// deceleration as a share of the gravity at the target.
const double kTouchdownSink = 0.5;
const double kMostSink = 4.0;
const double kDescentDecelShare = 0.1;
// m: outside the precision box the final descent waits this high.
const double kWaitHeight = 10.0;
// s before the end of the braking law that the approach is planned; s before
// the end of the approach law that the final descent takes over.
const double kBrakeLead = 4.0;
const double kApproachLead = 2.5;
// (kEfficientReserve, the hover it keeps in reserve: landing/trajectory.h.)
const double kBoxSettle = 10.0;

// The braking run (landing/efficient_law.cpp): along the track on
// kPlanThrustShare of the thrust, the weight carried and the rest braking, the
// mass falling as it burns; distance (m), duration (s) and mass at its end (kg).
struct Run {
    double distance, duration, mass;
};
// The run from closing speed v to the approach gate, the gate fitted to the mass
// the run leaves.
struct GatePlan {
    Run run;
    PlaneEnd gate;
};
GatePlan PlanGate(double v, const LandingStepValues &V, const LawBody &b);

// Planning (landing/efficient_plan.cpp).
// (landing/efficient_law.cpp) The point over the target where the approach
// ends, for gravity g at the target.
PlaneEnd LowGate(double g);
// m/s: the final descent from there, with its settling.
double FinalDescentDv(double g);
// m/s: the approach from gate to the low gate and the final descent after it,
// for a vessel of that mass at the gate.
double ApproachDv(const PlaneEnd &gate, const LawBody &b, double mass, double thrust, double isp);
// m/s^2: the constant deceleration whose stopping distance from the present
// ground speed equals that of the full-thrust braking and the approach after it
// (the brake point is found with it).
double EfficientBrakeDecel(const MfdState *S, const LandingStepValues &V);
// While waiting: the efficient braking from the present height and speed is
// within the engine group (else the standard one is planned).
bool EfficientBrakingFits(MfdState *S, LandingStepValues &V);
// The trajectory in flight is the efficient law's (an approach, or a braking
// that does not end at the standard gate).
bool EfficientLawInFlight(const MfdState *S, const LandingStepValues &V);
// The braking from the state predicted tb s from now to the approach gate,
// stored, with its delta-v and fuel; false (nothing stored) when the engine
// group cannot fly it: the standard braking is flown then. Renewing: planned
// afresh from here every step, its later thrust to be planned again.
bool EfficientBrakingPlan(MfdState *S, LandingStepValues &V, double tb, bool renewing = false);
// Phase 2 (and every re-plan of an approach): the approach from the present state
// to the point over the target where the final descent takes over. False
// (nothing stored) when beyond the engines or the tank: the standard approach
// is planned then.
bool EfficientApproachPlan(MfdState *S, const LandingStepValues &V);
// landing/efficient_trim.cpp. While waiting, engaged: the burn that turns the
// orbit over the target and brings a high pass down, flown this step (true) when
// it is due. TrimNeeded gives its delta-v (global axes) and the pass's height
// after it (m), true when one is due now (TRIM_NOW), or for planning, also one
// that will be due once the vessel comes within the burn's reach of the pass,
// at what it will cost then (TRIM_TO_COME).
// Both only when it can be flown before the braking starts, tb s from now.
enum TrimWhen { TRIM_NOW, TRIM_TO_COME };
bool EfficientTrim(MfdState *S, LandingStepValues &V, double tb);
bool TrimNeeded(MfdState *S, LandingStepValues &V, double tb, VECTOR3 *dv, double *low, TrimWhen when);
// m: the highest pass from which the braking law starts without diving further
// than it may (the pass's own height when it already does).
double LevelBrakeHeight(MfdState *S, LandingStepValues &V);


// landing/efficient_air.cpp. The efficient descent chosen over a body with air,
// braking: a fresh plan from here is due this step (the braking
// coasts, or its plan has come to ask too little of the engines); the phase is
// set for measuring from here.
bool CoastDue(MfdState *S, const LandingStepValues &V);
// Over a body with air the efficient descent's braking is the standard one, but
// it ends at the efficient approach's gate: for closing speed v (m/s) at its
// start, the gate set and true (false, untouched, otherwise).
bool AirBrakingGate(const MfdState *S, const LandingStepValues &V, double v, GateState *gate);
// m/s: the efficient approach and final descent from that gate, for closing
// speed v (m/s) at the braking's start (at the present mass: no less).
double AirBrakingTailDv(const LandingStepValues &V, double v);
// After CoastDue and the measurement: the fresh plan stored; true when this
// step coasts (engines cut, commanded), false to fly the plan in store.
bool CoastThrough(MfdState *S, LandingStepValues &V);

// m: the lowest pass height over a body with air for a vessel at speed (m/s):
// where the air's drag is a modest share of the engine group's acceleration
// (0 without air).
double AirFloor(const LandingStepValues &V, double speed);
// Share of the engine group's acceleration the air's drag comes to r m from the
// body's centre at speed (m/s) on a blunt lander (the floor's drag area; 0
// without air): unlike the measured drag, it does not turn with the attitude.
double AirShareAt(const LandingStepValues &V, double r, double speed);

// While waiting over a body with air, the braking starts once the air brakes
// on this share of the engine group's acceleration (if before its brake point):
// the orbit decays from there on, which the pass's prediction does not foresee.
const double kAirStartShare = 0.01;
// The air's drag and lift on the vessel come to share of the engine group's
// acceleration (never without air).
bool AirBrakes(const MfdState *S, const LandingStepValues &V, double share);

// m/s^2 the air gives the vessel along, up and across the landing frame (none
// without air).
LandingCommand AirPart(const MfdState *S, const LandingStepValues &V);

// 1/m: the air's braking along the track per closing speed squared, measured
// now, while braking (0 otherwise, and without air).
double AirDrag(const MfdState *S, const LandingStepValues &V);

// Over a body with air, braking: the whole acceleration to command for the
// engines' part of the law (m/s^2), the engines never pushing forward against
// the air's braking and always lifting enough to stop the fall above the target.
LandingCommand ThroughAir(const MfdState *S, const LandingStepValues &V, LandingCommand engines);

// The braking just stored is within the engine group and the tank; refused
// otherwise (false).
bool EfficientWithinReach(MfdState *S, const LandingStepValues &V);

#endif  // TESSARC_LANDING_EFFICIENT_H
