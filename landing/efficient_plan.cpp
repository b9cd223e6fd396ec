// Planning the efficient descent: where the full-thrust braking must start, its
// gate, the braking and approach laws, their cost and the refusals.
#include <cmath>

#include "control/math.h"
#include "frame/state.h"
#include "landing/efficient.h"
#include "landing/planet.h"
#include "landing/refusal.h"
#include "landing/step_values.h"
#include "landing/trajectory.h"

namespace {

// m/s: below this closing speed a state has no braking to run.
const double kSlowRun = 1.0;
// Share of the gravity at the target an approach from a hover may accelerate at.
const double kGentleApproach = 0.25;
// Times an approach is lengthened (by half each time) to come within reach.
const int kLengthenings = 6;
// Largest share of the engine group's thrust (its mass falling as it burns) the
// braking law may plan to ask; beyond it the standard braking is flown.
const double kShareMost = 1.15;
// Largest share of the engine group's acceleration the braking law may start
// with thrusting downwards.
const double kDiveShare = 0.6;
// m: a braking that ends this close to the standard gate is the standard one.
const double kGateApart = 1.0;
// s: an approach from a fast state planned longer than this is the standard one.
const double kLongApproach = 3.0 * kApproachTime;
// Share of the engine group's thrust an approach may plan to ask.
const double kApproachPlanShare = 0.9;



// A braking law within the engine group that does not start by diving (from
// high up the law thrusts downwards first and pulls up late, more than the
// engines give): otherwise the standard braking is flown.
bool Flyable(const ThrustLaw &L, const LawCost &c, const LandingStepValues &V) {
    return c.share <= kShareMost && L.u0[1] >= -kDiveShare * V.amax;
}

void SetLowFlags(MfdState *S, double lowest, double reference) {
    if (lowest < 0.9 * reference) {
        S->landingFlags |= kLandTooLow;
        if (lowest < 0.0) S->landingFlags |= kLandCollision; else S->landingFlags &= ~kLandCollision;
    } else {
        S->landingFlags &= ~(kLandTooLow | kLandCollision);
    }
}

// Stores the law from s to e over T as the trajectory the page draws (its ends
// are the law's), with the law's first acceleration along.
void StoreLaw(MfdState *S, const PlaneState &s, const PlaneEnd &e, double T, const ThrustLaw &L) {
    const double a0 = L.u0[0];
    StoreTrajectory(S, QuinticCoefficients(s.x, e.x, s.v, e.v, a0, e.ax, T),
                    QuinticCoefficients(s.h, e.h, s.vz, e.vz, 0.0, e.az, T), a0, T, s.x, s.v, s.h, s.vz);
}

}  // namespace


bool EfficientLawInFlight(const MfdState *S, const LandingStepValues &V) {
    if (!EfficientDescent(S)) return false;
    // The standard braking ends at its own gate (over air at the law's, and
    // the flag tells), the standard approach short of the target where the
    // final phase of the standard descent takes over.
    double x[3];
    AlongReference(S, S->landingConsts[LC_DURATION], x);
    if (S->landingPhase != LANDING_BRAKE) return std::fabs(x[0] - LowGate(V.gT).x) < kGateApart;
    if (S->bodyRef && oapiPlanetHasAtmosphere(S->bodyRef)) return (S->landingFlags & kLandLawBraking) != 0;
    return std::fabs(x[0] - FinalApproachGate(const_cast<MfdState *>(S), V.gT).x) > kGateApart;
}

bool EfficientBrakingFits(MfdState *S, LandingStepValues &V) {
    const LawBody b = BodyAt(V, V.r, V.v, V.gs);
    const GatePlan p = PlanGate(V.gs, V, b);
    const double tp = S->landingWork[LW_PASS_TIME];
    VECTOR3 trim;
    double low = 0.0;
    const bool trimmed = tp > 0.0 && TrimNeeded(S, V, tp, &trim, &low, TRIM_TO_COME);
    const double toGo = p.run.distance - p.gate.x;
    const double side = trimmed || !(toGo > 0.0) ? 0.0 : V.gs * V.cross / toGo;
    const PlaneState s{p.gate.x - p.run.distance, trimmed ? std::fmin(low, V.height) : V.height, V.gs, 0.0, 0.0, side};
    const ThrustLaw L = DescentLaw(s, p.gate, p.run.duration, b);
    const LawCost cc = CostOfLaw(L, s, p.gate, p.run.duration, b, V.mass, V.thrust, V.isp);
    return Flyable(L, cc, V);
}


double EfficientBrakeDecel(const MfdState *S, const LandingStepValues &V) {
    const LawBody b = BodyAt(V, V.r, V.v, V.gs);
    const GatePlan p = PlanGate(V.gs, V, b);
    const double distance = p.run.distance + std::fabs(p.gate.x);
    (void)S;
    return distance > 0.0 ? V.gs * V.gs / (2.0 * distance) : V.amax;
}

bool EfficientBrakingPlan(MfdState *S, LandingStepValues &V, double tb, bool renewing) {
    VECTOR3 pos, vel;
    if (tb == 0.0 || !PropagateOrbit(V.body, V.el, V.prm, tb, pos, vel, S->nonspherical)) {
        pos = V.r;
        vel = V.v;
        tb = 0.0;
    }
    VECTOR3 p = pos, q = vel;
    GlobalToSurfaceSpherical(V.body, p, q, tb);
    const VECTOR3 enu = SurfaceVelocityEnu(V.body, pos, vel, 0.0);
    const double lon = p.x, lat = p.y, tlat = S->targetLat, D = lon - S->targetLon;
    const double bearing = std::atan2(-std::sin(D) * std::cos(tlat),
                                std::cos(lat) * std::sin(tlat) - std::sin(lat) * std::cos(tlat) * std::cos(D));
    const double course = std::atan2(enu.x, enu.y), gs = std::hypot(enu.x, enu.y);
    const double dist = oapiOrthodome(lon, lat, S->targetLon, tlat) * V.Rt;
    PlaneState s{-dist, length(pos) - V.Rt - S->vessel->GetCOG_elev(), gs * std::cos(course - bearing), enu.z,
                 0.0, gs * std::sin(course - bearing)};
    // A trim still to come brings the pass over the target:
    // the braking is planned as it will start then, and the trim paid on top.
    VECTOR3 trim = _V(0, 0, 0);
    double low = 0.0;
    if (tb > 0.0 && TrimNeeded(S, V, tb, &trim, &low, TRIM_TO_COME)) {
        s.vy = 0.0;
        s.h = std::fmin(s.h, low);
    } else {
        trim = _V(0, 0, 0);
    }
    // Planned from here in the air, the run and the law count on the air's
    // braking as measured now, growing with the square of the speed.
    LawBody b = BodyAt(V, pos, vel, s.v);
    b.drag = tb == 0.0 ? AirDrag(S, V) : 0.0;

    const GatePlan g = PlanGate(s.v, V, b);
    const double toGate = g.gate.x - s.x;
    double T = 0.0;
    if (s.v > g.gate.v + kSlowRun) {
        // Early or late against the run: the time the difference takes at the start's speed.
        T = g.run.duration + (toGate - g.run.distance) / s.v;
    } else if (s.v + g.gate.v > 0.0) {
        T = 2.0 * toGate / (s.v + g.gate.v);
    }
    if (!(T > kApproachLead) || !std::isfinite(T)) return false;
    const ThrustLaw L = DescentLaw(s, g.gate, T, b);
    const LawCost c = CostOfLaw(L, s, g.gate, T, b, V.mass, V.thrust, V.isp);
    if (!Flyable(L, c, V)) return false;
    const double tail = ApproachDv(g.gate, b, V.mass * std::exp(-c.dv / V.isp), V.thrust, V.isp);
    const double dv = length(trim) + c.dv + tail + kEfficientReserve * V.gT;
    // Braking from here (taken over, or planned afresh in flight): where this
    // law is beyond the engines or the tank, the standard braking may still be.
    // A plan renewed every step while it asks little now (over air) is flown only
    // at its start, and may plan its end up to the margin the waiting plan may.
    const double most = renewing || oapiPlanetHasAtmosphere(V.body) ? kShareMost : 1.0;
    if (tb == 0.0 && !(c.share <= most && FuelCovers(S, V, dv - kEfficientReserve * V.gT))) return false;
    StoreLaw(S, s, g.gate, T, L);
    S->landingFlags |= kLandLawBraking;
    S->landingFlags &= ~(kLandDetNegative | kLandBtNegative);
    SetLowFlags(S, c.lowest, g.gate.h);
    S->landingDv = dv;
    S->landingWork[LW_ACCEL_LARGEST] = c.share * V.amax;
    S->landingValues[LV_FUEL] = FuelForDv(S->landingDv, V.isp, V.mass);
    return true;
}

bool EfficientWithinReach(MfdState *S, const LandingStepValues &V) {
    const bool reach = S->landingWork[LW_ACCEL_LARGEST] <= V.amax;
    // In flight the reserve may be spent: only a plan the tank cannot pay at all is refused.
    const bool fuel = FuelCovers(S, V, S->landingDv - kEfficientReserve * V.gT);
    const uint32_t reason = !reach ? kLandOutOfReach : (!fuel ? kLandNoFuel : 0u);
    if (reason) {
        RefuseLanding(S, reason);
        return false;
    }
    S->landingFlags &= ~(kLandOutOfReach | kLandNoFuel);
    return true;
}

bool EfficientApproachPlan(MfdState *S, const LandingStepValues &V) {
    double *W = S->landingWork;
    W[LW_GRAPH_T0] = 0.0;
    W[LW_GRAPH_KY] = W[LW_GRAPH_KX] = 1.0;
    W[LW_GRAPH_LEFT] = V.along;
    const PlaneState s{V.along, V.height, ForwardSpeed(S, V), V.vspeed, V.lineOffset, V.lineRate};
    const PlaneEnd e = LowGate(V.gT);
    const LawBody b = BodyAt(V, V.r, V.v, s.v);
    const double toGo = e.x - s.x;
    // Coming off the braking, the approach keeps its deceleration falling evenly
    // to the end (three times the distance over the speed); from a hover or a
    // slow drift it crosses at a gentle acceleration.
    double T = kApproachTime;
    const bool fast = s.v >= kSlowRun && toGo > 0.0;
    if (fast)
        T = std::fmax(T, 3.0 * toGo / s.v);
    // Fast and far (taken over on an arc, say): the standard approach; but not
    // through air, where the braking may end short and slow (the air took more
    // than it foresaw) and the approach is the law's, given the time it needs.
    const bool airy = oapiPlanetHasAtmosphere(V.body);
    if (fast && T > kLongApproach && !airy) return false;
    if (!fast)
        T = std::fmax(T, std::sqrt(12.0 * std::fabs(toGo) / (kGentleApproach * V.gT)));
    ThrustLaw L = DescentLaw(s, e, T, b);
    LawCost c = CostOfLaw(L, s, e, T, b, V.mass, V.thrust, V.isp);
    // A slow start is given more time to come within reach, and to come down
    // from a hover without falling; a fast one would only fly past the target
    // and come back.
    for (int i = 0; i < kLengthenings && (!fast || airy) && (c.share > kApproachPlanShare || L.u0[1] < kLeastLift * V.geff);
         ++i) {
        T *= 1.5;
        L = DescentLaw(s, e, T, b);
        c = CostOfLaw(L, s, e, T, b, V.mass, V.thrust, V.isp);
    }
    // Beyond the engines or the tank (a long crossing taken over far out, say),
    // the standard approach is planned instead, and flown to its end by the law.
    const double dv = c.dv + FinalDescentDv(V.gT);
    if (!(c.share <= 1.0) || !FuelCovers(S, V, dv)) return false;
    S->landingFlags &= ~(kLandDetNegative | kLandBtNegative | kLandOutOfReach | kLandNoFuel);
    StoreLaw(S, s, e, T, L);
    SetLowFlags(S, c.lowest, 0.0);
    S->brakeStartMjd = V.now;
    S->landingPhase = LANDING_APPROACH;
    S->landingDv = dv + kEfficientReserve * V.gT;
    W[LW_ACCEL_LARGEST] = c.share * V.amax;
    S->landingValues[LV_FUEL] = FuelForDv(S->landingDv, V.isp, V.mass);
    return true;
}
