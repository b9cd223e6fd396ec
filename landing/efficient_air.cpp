// The efficient descent chosen over a body with air. The full-thrust law would
// dive from the orbit's height into the air at orbital speed, so the standard
// descent is flown; but its braking plan's deceleration falls evenly to nothing
// at its gate, and on that long tail the engines hold the vessel up against
// gravity most of the way down. Here the tail is cut short: once nothing on a
// fresh plan from the present state asks kCoastBelow of the engine group, the
// engines are cut and the vessel falls and closes freely, a fresh plan made
// every step, until that plan asks kCoastUntil somewhere on its way (or stops
// bringing the braking's end nearer); it is flown from there. So the braking
// runs between the two shares, later and harder, and the weight is carried for
// minutes less. It coasts only fast, while the engines stop its fall well above
// the target, above the air and nearly straight at the target.
#include "landing/efficient.h"

#include <cmath>

#include "control/math.h"
#include "frame/state.h"
#include "landing/planning.h"
#include "landing/step_values.h"
#include "landing/trajectory.h"

namespace {

// Shares of the engine group's acceleration (at the present mass) below which
// the braking coasts, and that a fresh plan must ask somewhere for the coast to
// end: the standard braking starts on all of it, and a plan asking more than
// kCoastUntil leaves too little for the guidance's corrections.
const double kCoastBelow = 0.6;
const double kCoastUntil = 0.85;
// The braking coasts only while the engines, on kCoastUntil of their
// acceleration less the weight, would stop the present sink in no more than
// 1 / kFallMargin of the height over the target: a coast at any speed builds a
// sink, and the fresh plan's demand, spread over the time it has left, can
// stay low while the sink grows past what the engines stop in time.
const double kFallMargin = 2.0;
// ... and only fast: while the centrifugal relief of its speed carries at least
// this share of the weight (faster than a third of the circular speed). Slower,
// a coast mostly builds a sink, and a fresh plan from there, steering out a
// pass far to the side on its way, flew the vessel into the ground.
const double kCoastRelief = 0.1;
// ... and only while the vessel flies this nearly at the target (the share of
// its ground speed across the line of sight): a coast adds nothing to steer out
// a miss to the side, which the braking's tail turns away as it slows.
const double kCoastAside = 0.3;
// ... and only above the air: while its drag and lift come to less than this
// share of the weight. The plan from the present state takes no drag into
// account and brakes only: coasting on into the air, the vessel is slowed
// short of the target where no braking plan reaches it, and the old plan, flown
// on, has the drag's relief take the engines off the weight just where the
// fall must be stopped (coasts let on into the air hit the ground so).
const double kCoastAir = 0.05;
// s a braking plan is flown before it may coast (its first seconds take out
// what its start state missed of the vessel's).
const double kSettle = 10.0;

// m/s^2: what the stored braking plan asks of the engines t s after its start.
double PlanAccel(const MfdState *S, const LandingStepValues &V, double t) {
    double x[3], z[3];
    AlongReference(S, t, x);
    HeightReference(S, t, z);
    const double radius = z[0] + V.Rt;
    return std::hypot(x[2], z[2] + V.gT - (radius > 0.0 ? x[1] * x[1] / radius : 0.0));
}

// The engines, on kCoastUntil of their acceleration, stop the present sink
// within 1 / kFallMargin of the height over the target (the air's help not
// counted).
bool FallStoppable(const LandingStepValues &V) {
    const double up = kCoastUntil * V.amax - V.geff;
    const double sink = std::fmax(-V.vspeed, 0.0);
    return up > 0.0 && V.height > kFallMargin * sink * sink / (2.0 * up);
}

}  // namespace

bool AirBrakingGate(const MfdState *S, const LandingStepValues &V, double v, GateState *gate) {
    if (S->landingDescent != DESCENT_EFFICIENT || !S->bodyRef || !oapiPlanetHasAtmosphere(S->bodyRef)) return false;
    // The efficient approach and final descent follow (the standard gate, a
    // minute's flight out, is too far for the efficient approach, and the
    // standard approach from it hovers for minutes).
    const double r = length(V.r), inertial = r > 0.0 ? length(CrossProduct(V.r, V.v)) / r : 0.0;
    const LawBody b{V.gT, r > 0.0 ? r : V.Rt, inertial - V.gs};
    const PlaneEnd e = PlanGate(v, V, b).gate;
    gate->x = e.x;
    gate->v = e.v;
    gate->h = e.h;
    gate->vz = e.vz;
    return true;
}

double AirBrakingTailDv(const LandingStepValues &V, double v) {
    const double r = length(V.r), inertial = r > 0.0 ? length(CrossProduct(V.r, V.v)) / r : 0.0;
    const LawBody b{V.gT, r > 0.0 ? r : V.Rt, inertial - V.gs};
    return ApproachDv(PlanGate(v, V, b).gate, b, V.mass, V.thrust, V.isp);
}

bool CoastDue(MfdState *S, const LandingStepValues &V) {
    const bool flying = S->holdOn && !S->lockedOut && S->landingPhase == LANDING_BRAKE;
    const bool airy = S->bodyRef && oapiPlanetHasAtmosphere(S->bodyRef);
    if (!flying || S->landingDescent != DESCENT_EFFICIENT || !airy || !(V.amax > 0.0) || !(V.mass > 0.0)) {
        S->landingFlags &= ~kLandCoasting;
        return false;
    }
    const double r = length(V.r), relief = r > 0.0 ? V.gs * V.gs / r : 0.0;
    const double aside = V.ve * std::cos(V.bearing) - V.vn * std::sin(V.bearing);
    VECTOR3 drag = _V(0, 0, 0), lift = _V(0, 0, 0);
    if (!S->vessel->GetDragVector(drag)) drag = _V(0, 0, 0);
    if (!S->vessel->GetLiftVector(lift)) lift = _V(0, 0, 0);
    const double air = length(drag + lift) / V.mass;
    if (relief < kCoastRelief * V.gT || !FallStoppable(V) || std::fabs(aside) > kCoastAside * V.gs || !(air < kCoastAir * V.gT)) {
        S->landingFlags &= ~kLandCoasting;
        return false;
    }
    const double te = (V.now - S->brakeStartMjd) * 86400.0;
    if (!(S->landingFlags & kLandCoasting) && (te < kSettle || PlanAccel(S, V, te) >= kCoastBelow * V.amax))
        return false;
    // The fresh plan is made in a frame through where the vessel is now.
    S->landingPhase = LANDING_BRAKE_NOW;
    return true;
}

bool CoastThrough(MfdState *S, LandingStepValues &V) {
    S->landingPhase = LANDING_BRAKE;
    double *W = S->landingWork;
    const double left = S->landingConsts[LC_DURATION] - (V.now - S->brakeStartMjd) * 86400.0;
    const bool coasting = (S->landingFlags & kLandCoasting) != 0;
    if (!BrakingPlan(S, V, 0.0)) {
        // No plan from here: the last one is flown on.
        S->landingFlags &= ~kLandCoasting;
        return false;
    }
    S->brakeStartMjd = V.now;
    W[LW_FIX_ALONG] = W[LW_FIX_HEIGHT] = W[LW_GRAPH_T0] = 0.0;
    W[LW_GRAPH_KY] = W[LW_GRAPH_KX] = 1.0;
    W[LW_GRAPH_LEFT] = S->landingConsts[LC_ALONG];
    // A coast begins only where nothing on the plan asks much; one in progress
    // ends once the plan asks enough somewhere.
    const double share = coasting ? kCoastUntil : kCoastBelow;
    // A coast that no longer brings the braking's end nearer (the target drawing
    // away to the side, say) ends too.
    const bool nearer = !coasting || S->landingConsts[LC_DURATION] < left;
    if (W[LW_ACCEL_LARGEST] >= share * V.amax || !nearer) {
        S->landingFlags &= ~kLandCoasting;
        return false;
    }
    S->landingFlags |= kLandCoasting;
    // The engines are held on the plan's thrust, ready for its start, but cut.
    CommandOutput(S, V, TrackingGuidance(S, V));
    S->vessel->SetThrusterGroupLevel(static_cast<THGROUP_TYPE>(V.group), 0.0);
    return true;
}
