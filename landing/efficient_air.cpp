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
// The orbit trim brings the pass no lower than where the air's drag on a vessel
// at the pass's speed comes to this share of the engine group's acceleration,
// for a vessel of kPassDragArea: the law then meets the air on its way down,
// where it brakes for nothing, rather than the orbit decaying into it.
const double kPassAirShare = 0.03;
// m^2/kg of drag area per mass assumed before it is met: a blunt lander with
// its underside to the flow (about twice the Mars lander's full one).
const double kPassDragArea = 0.0035;
// m: the floor is searched below this height, to this precision.
const double kAirSearchTop = 400e3;
const double kAirSearchStep = 100.0;
// m: the engines always keep the fall stoppable this far above the target (on
// the approach, above its low gate); they take over the fall once stopping it
// needs this share of what they have over the weight; s the vessel may take to
// turn onto the lift meanwhile, braking and on the approach.
const double kStopAbove = 300.0;
const double kStopShare = 0.25;
const double kTurnTime = 10.0;
const double kApproachTurn = 2.0;
// Share of the air's braking the law counts on ahead: the drag turns with the
// attitude the engines' thrust sets, and fades as the vessel slows.
const double kAirTrust = 0.5;
// m/s: closing speeds below which none of it, and above which all, is counted.
const double kAirTrustLeast = 300.0;
const double kAirTrustFull = 1000.0;
// Share of the engine group's acceleration the engines always brake on in air.
const double kLeastBrake = 0.05;
// s: a sink beyond what reaches the target is taken out over this.
const double kLevelTime = 10.0;
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
    const LawBody b = BodyAt(V, V.r, V.v, V.gs);
    const PlaneEnd e = PlanGate(v, V, b).gate;
    gate->x = e.x;
    gate->v = e.v;
    gate->h = e.h;
    gate->vz = e.vz;
    return true;
}

double AirBrakingTailDv(const LandingStepValues &V, double v) {
    const LawBody b = BodyAt(V, V.r, V.v, V.gs);
    return ApproachDv(PlanGate(v, V, b).gate, b, V.mass, V.thrust, V.isp);
}

LandingCommand AirPart(const MfdState *S, const LandingStepValues &V) {
    if (!S->bodyRef || !oapiPlanetHasAtmosphere(S->bodyRef)) return LandingCommand{0.0, 0.0, 0.0};
    const VECTOR3 frame = AxesToEuler(V.w, V.n, 0);
    const LandingCommand less = AeroRelief(S, V, EulerToMatrix(frame), LandingCommand{0.0, 0.0, 0.0});
    return LandingCommand{-less.along, -less.vertical, -less.cross};
}

double AirDrag(const MfdState *S, const LandingStepValues &V) {
    const bool braking = S->landingPhase == LANDING_BRAKE || S->landingPhase == LANDING_BRAKE_NOW;
    if (!braking || !(V.closing > 0.0)) return 0.0;
    // Counted on less as the vessel slows, none near the end: there the engines
    // brake on time and what the air still gives is to spare.
    const double fade = std::fmin(std::fmax((V.closing - kAirTrustLeast) / (kAirTrustFull - kAirTrustLeast), 0.0), 1.0);
    return fade * kAirTrust * std::fmax(-AirPart(S, V).along, 0.0) / (V.closing * V.closing);
}

LandingCommand ThroughAir(const MfdState *S, const LandingStepValues &V, LandingCommand engines) {
    const bool braking = S->landingPhase == LANDING_BRAKE, approach = S->landingPhase == LANDING_APPROACH;
    if (!(braking || approach) || !S->bodyRef || !oapiPlanetHasAtmosphere(S->bodyRef)) return engines;
    // Braking, the law is the engines' part (the air's braking foreseen); on the
    // approach, slow, the whole command.
    const LandingCommand air = braking ? AirPart(S, V) : LandingCommand{0.0, 0.0, 0.0};
    if (braking) {
        // Never forward (the air's braking beyond the law's is kept), and always
        // braking a little: the engines stay pointed against the flow, ready, and
        // the underside meets it.
        engines.along = std::fmin(engines.along, -kLeastBrake * V.amax);
    }
    // Never so little up that the fall could not be stopped above the target,
    // with the height it falls while the vessel turns; the fall first, what is
    // left of the engines brakes and steers.
    const double above = braking ? kStopAbove : kLowGateHeight, turn = braking ? kTurnTime : kApproachTurn;
    const double room = std::fmax(V.height - above + V.vspeed * turn, 1.0);
    const double stop = V.vspeed < 0.0 ? V.vspeed * V.vspeed / (2.0 * room) : 0.0;
    // Braking, the sink is also held to what reaches the target above that
    // height at the present closing speed: the air can take the vessel short of
    // the target, low, where the law (its end fixed) would have the engines idle
    // against it while the vessel sinks.
    const double ahead = std::fmax(-V.along, 0.0);
    const double reach = braking && V.closing > 0.0 ? std::fmax(V.height - above, 0.0) * V.closing / std::fmax(ahead, 1.0) : 1e9;
    const double level = V.geff - air.vertical + (-V.vspeed - reach) / kLevelTime;
    if (braking && -V.vspeed > reach) engines.vertical = std::fmax(engines.vertical, level);
    if (stop > kStopShare * (V.amax - V.geff) || (braking && -V.vspeed > reach)) {
        engines.vertical = std::fmax(engines.vertical, stop > kStopShare * (V.amax - V.geff) ? V.geff + stop - air.vertical : level);
        const double left = V.amax * V.amax - engines.vertical * engines.vertical;
        const double side = std::hypot(engines.along, engines.cross);
        if (side * side > left) {
            const double k = left > 0.0 && side > 0.0 ? std::sqrt(left) / side : 0.0;
            engines.along *= k;
            engines.cross *= k;
        }
    }
    // The command is the whole acceleration: the relief takes the air's part off it.
    return LandingCommand{engines.along + air.along, engines.vertical + air.vertical, engines.cross + air.cross};
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
    const double te = (V.now - S->brakeStartMjd) * 86400.0;
    if (EfficientLawInFlight(S, V)) {
        // The law: planned afresh once the engines brake on less than the share
        // (the air brakes, or the law rounds a late start off with a coast).
        S->landingFlags &= ~kLandCoasting;
        if (te < kSettle || S->landingWork[LW_ACCEL_LARGEST] >= kCoastUntil * V.amax) return false;
        S->landingPhase = LANDING_BRAKE_NOW;
        return true;
    }
    VECTOR3 drag = _V(0, 0, 0), lift = _V(0, 0, 0);
    if (!S->vessel->GetDragVector(drag)) drag = _V(0, 0, 0);
    if (!S->vessel->GetLiftVector(lift)) lift = _V(0, 0, 0);
    const double air = length(drag + lift) / V.mass;
    if (relief < kCoastRelief * V.gT || !FallStoppable(V) || std::fabs(aside) > kCoastAside * V.gs || !(air < kCoastAir * V.gT)) {
        S->landingFlags &= ~kLandCoasting;
        return false;
    }
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
    // The efficient law is planned afresh as the efficient law only: where it
    // cannot be, the one in flight is flown on.
    const bool law = EfficientLawInFlight(S, V);
    const bool fresh = law ? EfficientBrakingPlan(S, V, 0.0, true) : StandardBrakingPlan(S, V, 0.0);
    if (!fresh) {
        // No plan from here: the last one is flown on.
        S->landingFlags &= ~kLandCoasting;
        return false;
    }
    S->brakeStartMjd = V.now;
    W[LW_FIX_ALONG] = W[LW_FIX_HEIGHT] = W[LW_GRAPH_T0] = 0.0;
    W[LW_GRAPH_KY] = W[LW_GRAPH_KX] = 1.0;
    W[LW_GRAPH_LEFT] = S->landingConsts[LC_ALONG];
    // The law's fresh plan is flown (its command never pushes forward).
    if (law) return false;
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

double AirShareAt(const LandingStepValues &V, double r, double speed) {
    if (!V.body || !oapiPlanetHasAtmosphere(V.body) || !(V.amax > 0.0)) return 0.0;
    ATMPARAM prm{0.0, 0.0, 0.0};
    oapiGetPlanetAtmParams(V.body, r, &prm);
    return 0.5 * prm.rho * speed * speed * kPassDragArea / V.amax;
}

double AirFloor(const LandingStepValues &V, double speed) {
    if (!V.body || !oapiPlanetHasAtmosphere(V.body) || !(speed > 0.0)) return 0.0;
    double low = 0.0, high = kAirSearchTop;
    // The density falls with height: the floor is where the drag comes to the share.
    while (high - low > kAirSearchStep) {
        const double mid = 0.5 * (low + high);
        (AirShareAt(V, oapiGetSize(V.body) + mid, speed) > kPassAirShare ? low : high) = mid;
    }
    return high;
}

bool AirBrakes(const MfdState *S, const LandingStepValues &V, double share) {
    if (!S->bodyRef || !oapiPlanetHasAtmosphere(S->bodyRef) || !(V.mass > 0.0)) return false;
    VECTOR3 drag = _V(0, 0, 0), lift = _V(0, 0, 0);
    if (!S->vessel->GetDragVector(drag)) drag = _V(0, 0, 0);
    if (!S->vessel->GetLiftVector(lift)) lift = _V(0, 0, 0);
    return length(drag + lift) / V.mass >= share * V.amax;
}
