// Landing trajectory planning: pass search, brake point, braking and approach
// trajectories and the brake schedule.
#include "landing/planning.h"

#include <cmath>

#include "control/attitude.h"
#include "control/math.h"
#include "frame/state.h"
#include "landing/efficient.h"
#include "landing/guidance.h"
#include "landing/planet.h"
#include "landing/refusal.h"
#include "landing/step_values.h"
#include "landing/trajectory.h"

namespace {

const int kSearchIterations = 32;
const double kSearchTolerance = 0.01;  // s
// Delta-v the braking spends, on top of its plan along the track, to bring a
// pass that misses the target by c over it: kCrossDvScale V (c / S)^kCrossDvPower
// for a pass at speed V with stopping distance S. The least bound over 194 flown
// lunar landings (misses up to half the stopping distance; they scatter about it
// by 23 m/s). The fuel check asks kFuelMarginDv more than the plan with it.
const double kCrossDvScale = 0.83;
const double kCrossDvPower = 1.4;

// Below kSlowClosing the approach is planned from rest: at this share of the
// gravity at the target, with this many seconds to settle at its end.
const double kGentleShare = 0.1;
const double kGentleSettle = 20.0;
// m by which a replanned approach's height may fall below the lower of its two
// ends before it is planned from level flight instead.
const double kPlanDip = 1.0;

// The target point's global state (planet-centred) at now + t.
void TargetAt(const MfdState *S, const LandingStepValues &V, double t, VECTOR3 *pos, VECTOR3 *vel) {
    *pos = _V(S->targetLon, S->targetLat, V.Rt);
    *vel = _V(0, 0, 0);
    SphericalToCartesian(*pos, *vel);
    PlanetToGlobal(V.body, *pos, *vel, false, t);
}

// Predicted vessel at now + t; false when the orbit cannot be predicted.
bool VesselAt(const MfdState *S, const LandingStepValues &V, double t, VECTOR3 *pos, VECTOR3 *vel) {
    return PropagateOrbit(V.body, V.el, V.prm, t, *pos, *vel, S->nonspherical);
}

// Surface point and east-north-up surface velocity of a predicted state at now + t.
void SurfaceOf(const LandingStepValues &V, const VECTOR3 &pos, const VECTOR3 &vel, double t, double *lon,
               double *lat, VECTOR3 *enu) {
    VECTOR3 p = pos, q = vel;
    GlobalToSurfaceSpherical(V.body, p, q, t);
    *lon = p.x;
    *lat = p.y;
    *enu = SurfaceVelocityEnu(V.body, pos, vel, t);
}

double Bearing(double lon, double lat, double tlon, double tlat) {
    const double D = lon - tlon;
    double b = std::atan2(-std::sin(D) * std::cos(tlat),
                          std::cos(lat) * std::sin(tlat) - std::sin(lat) * std::cos(tlat) * std::cos(D));
    if (b < 0.0) b += PI2;
    return b;
}

void FailPlan(MfdState *S, uint32_t bit) { RefuseLanding(S, bit); }

}  // namespace

bool PassageSearch(MfdState *S, LandingStepValues &V, double *lonP, double *latP) {
    const double T = V.prm.T;
    double lo = 0.0, hi = 2.0 * T;
    if (!S->landingRecalc && S->passTime > 0.0 && T > 0.0) {
        // After a pass that misses beyond the limit the search moves on to the
        // next one, but only from a pass within this orbit: one that misses too
        // is followed as it comes nearer, rather than every step moving a whole
        // orbit further on.
        if ((S->landingFlags & kLandAlignment) && S->passTime <= T) {
            lo = S->passTime + T / 2.0;
            hi = S->passTime + 3.0 * T;
        } else {
            const double k = std::floor(S->passTime / T);
            const double f = S->passTime - k * T;
            lo = k * T + 0.75 * f;
            hi = k * T + 1.25 * f;
            if (std::fabs(hi - lo) < 16.0) {
                lo = std::fmax(lo - T / 4.0, 0.0);
                hi = hi + T / 4.0;
            }
        }
    }
    S->landingRecalc = false;
    if (!(T > 0.0) || !std::isfinite(hi)) return false;

    double step = std::fmax(std::fabs(hi - lo) / 16.0, kSearchTolerance);
    double t = lo + step;
    VECTOR3 rt, vt, r, v;
    TargetAt(S, V, 0.0, &rt, &vt);
    bool approaching = dotp(V.r - rt, V.v - vt) < 0.0;
    bool found = hi <= t;
    for (int it = 0; !found && it < kSearchIterations; ++it) {
        if (!VesselAt(S, V, t, &r, &v)) return false;
        TargetAt(S, V, t, &rt, &vt);
        const double q = dotp(r - rt, v - vt);
        if (q < 0.0) {
            lo = t;
            approaching = true;
            step = std::fabs(hi - t) / 4.0;
            if (step < kSearchTolerance) found = true; else t += step;
        } else if (approaching) {
            hi = t;
            step = std::fabs(t - lo) / 2.0;
            if (step < kSearchTolerance) found = true; else t = lo + step;
        } else {
            t += step;
        }
        if (!found && hi <= t) found = true;
    }
    if (!found) return false;

    const double tp = t;
    if (!VesselAt(S, V, tp, &r, &v)) return false;
    VECTOR3 enu;
    SurfaceOf(V, r, v, tp, lonP, latP, &enu);
    const double dP = oapiOrthodome(V.lon, V.lat, *lonP, *latP) * V.Rt;
    const double tlat = S->targetLat;
    const double sE = -std::sin(V.dlon) * std::cos(tlat);
    const double sN = std::cos(V.lat) * std::sin(tlat) - std::sin(V.lat) * std::cos(tlat) * std::cos(V.dlon);
    V.along = (V.ve * sE + V.vn * sN < 0.0) ? dP - PI2 * V.Rt : -dP;
    V.height = length(r) - V.Rt - S->vessel->GetCOG_elev();
    V.cross = oapiOrthodome(*lonP, *latP, S->targetLon, tlat) * V.Rt;
    V.closing = std::fabs(enu.x);
    V.vspeed = enu.z;
    V.crossRate = V.dt > 0.0 ? std::fabs((V.cross - S->landingWork[LW_CROSS]) * 0.0001 / V.dt) : 0.0;
    S->landingWork[LW_PASS_TIME] = tp;
    return true;
}

namespace {

// The brake point: time from now at which braking must start; the pass's
// alignment check may end the step (returns false then).
// A pass is accepted within half the stopping distance at alignDecel.
bool BrakePoint(MfdState *S, LandingStepValues &V, bool passValid, double lonP, double latP, double ab,
                double alignDecel, double *tb, double *areq) {
    const double speed = length(V.v);
    const double angle = oapiOrthodome(V.lon, V.lat, S->targetLon, S->targetLat);
    const double D = angle >= 1.0 * RAD ? length(V.r) * angle : length(V.r - V.P2);
    *areq = D > 0.0 ? speed * speed / (2.0 * D) : 0.0;
    *tb = speed > 0.0 ? (D - speed * speed / (2.0 * ab)) / speed : 0.0;
    S->passTime = -1.0;
    if (!passValid) {
        S->landingFlags &= ~kLandAlignment;
        return true;
    }
    const double tp = S->landingWork[LW_PASS_TIME];
    double t = tp, stop = 0.0, align = 0.0;
    bool converged = false;
    VECTOR3 r, v, enu;
    for (int it = 0; it < kSearchIterations && !converged; ++it) {
        if (!VesselAt(S, V, t, &r, &v)) break;
        double lonT = 0.0, latT = 0.0;
        SurfaceOf(V, r, v, t, &lonT, &latT, &enu);
        const double Dt = oapiOrthodome(lonT, latT, lonP, latP) * V.Rt;
        const double s = std::hypot(enu.x, enu.y);
        if (!(s > 0.0)) break;
        stop = s * s / (2.0 * ab);
        align = s * s / (2.0 * alignDecel);
        if (Dt > 0.0) *areq = s * s / (2.0 * Dt);
        t += (Dt - stop) / s;
        converged = std::fabs(Dt - stop) < s / 10.0;
    }
    S->passHalfWidth = stop / 2.0;
    if (!converged) return true;  // the pass counts as invalid for this step
    *tb = t;
    S->passTime = tp;
    if (std::fabs(V.cross) > align / 2.0) {
        FailPlan(S, kLandAlignment);
        return false;
    }
    S->landingFlags &= ~kLandAlignment;
    return true;
}

}  // namespace

namespace {

// Start of a braking begun at now + tb (from the present state when the orbit
// cannot be predicted): along the track to the target and in height.
struct BrakingStart {
    double x0;   // m along the track (negative: before the target)
    double V0;   // m/s closing on the target
    double h0;   // m above the target level
    double vz0;  // m/s vertical
};

BrakingStart BrakingStartAt(const MfdState *S, const LandingStepValues &V, double tb) {
    VECTOR3 pos0, vel0, enu;
    if (!VesselAt(S, V, tb, &pos0, &vel0)) {
        pos0 = V.r;
        vel0 = V.v;
    }
    double lonB = 0.0, latB = 0.0;
    SurfaceOf(V, pos0, vel0, tb, &lonB, &latB, &enu);
    enu = SurfaceVelocityEnu(V.body, pos0, vel0, 0.0);
    const double dB = oapiOrthodome(lonB, latB, S->targetLon, S->targetLat) * V.Rt;
    const double bB = Bearing(lonB, latB, S->targetLon, S->targetLat);
    double course = std::atan2(enu.x, enu.y);
    if (enu.x < 0.0) course += PI2;
    BrakingStart b;
    b.x0 = -dB;
    b.h0 = length(pos0) - V.Rt - S->vessel->GetCOG_elev();
    b.V0 = std::hypot(enu.x, enu.y) * std::cos(course - bB);
    b.vz0 = enu.z;
    return b;
}

// A braking started late is planned from the state at its brake point, behind
// the vessel, and flown from where the vessel is: its plan is made afresh there
// within seconds. True when that braking's starting deceleration along the
// track is within what the engines may reach as the tank empties; a plan asking
// more is flown clamped to the engines, does not stop at its gate and passes
// over the target high up.
bool LateStartWithinReach(MfdState *S, const LandingStepValues &V) {
    const BrakingStart b = BrakingStartAt(S, V, 0.0);
    const GateState gate = FinalApproachGate(S, V.gT);
    double a0 = 0.0;
    if (!SolveApproachAccel(b.x0, gate.x, b.V0, gate.v, &a0)) return true;  // the plan refuses it itself
    return -a0 <= kReachMargin * V.amax;
}

}  // namespace

bool BrakingPlan(MfdState *S, LandingStepValues &V, double tb) {
    return (EfficientDescent(S) && EfficientBrakingPlan(S, V, tb)) || StandardBrakingPlan(S, V, tb);
}

bool StandardBrakingPlan(MfdState *S, LandingStepValues &V, double tb) {
    const BrakingStart b = BrakingStartAt(S, V, tb);
    const double x0 = b.x0, V0 = b.V0, h0 = b.h0, vz0 = b.vz0;

    GateState gate = FinalApproachGate(S, V.gT);
    const bool air = AirBrakingGate(S, V, V0, &gate);
    double a0 = 0.0;
    if (!SolveApproachAccel(x0, gate.x, V0, gate.v, &a0)) {
        FailPlan(S, kLandDetNegative);
        return false;
    }
    S->landingFlags &= ~kLandDetNegative;
    a0 = std::fmax(a0, -V.amax);
    const double T = ApproachDuration(x0, V0, a0);
    if (!(T >= 0.0)) {
        FailPlan(S, kLandBtNegative);
        return false;
    }
    S->landingFlags &= ~kLandBtNegative;
    StoreTrajectory(S, QuinticCoefficients(x0, gate.x, V0, gate.v, a0, 0.0, T),
                    QuinticCoefficients(h0, gate.h, vz0, gate.vz, 0.0, 0.0, T), a0, T, x0, V0, h0, vz0);
    S->landingTailDv = air ? AirBrakingTailDv(V, V0) : 0.0;
    S->landingFlags &= ~kLandLawBraking;
    double largest = 0.0;
    CheckTrajectory(S, V.Rt, V.gT, 0.0, &largest);
    S->landingWork[LW_ACCEL_LARGEST] = largest;
    S->landingValues[LV_FUEL] = FuelForDv(S->landingDv, V.isp, V.mass);
    return true;
}

namespace {

// The brake time has come or passed: the braking starts from here when engaged
// (true), unless it is too late or beyond the engines (refused, false).
bool BrakeFromHere(MfdState *S, const LandingStepValues &V, double ab, double a1, bool engaged) {
    // Late by more than the engines' margin over the planned deceleration:
    // braking now would only end on the ground short of or past the target.
    const double speed = length(V.v), dist = std::fabs(V.along);
    const bool tooLate = !(dist > 0.0) || speed * speed / (2.0 * dist) > (ab + a1) / 2.0;
    if (tooLate && engaged) {
        FailPlan(S, kLandTooLate);
        return false;
    }
    if (tooLate) S->landingFlags |= kLandTooLate; else S->landingFlags &= ~kLandTooLate;
    // (The efficient descent plans its late braking its own way, and over air
    // brakes to a gate of its own.)
    const bool reach = S->landingDescent == DESCENT_EFFICIENT || LateStartWithinReach(S, V);
    if (!reach && engaged) {
        FailPlan(S, kLandOutOfReach);
        return false;
    }
    if (!reach) S->landingFlags |= kLandOutOfReach;
    else if (S->landingDescent != DESCENT_EFFICIENT) S->landingFlags &= ~kLandOutOfReach;
    return engaged;
}

}  // namespace

bool PlanBraking(MfdState *S, LandingStepValues &V, bool passValid, double lonP, double latP) {
    S->landingAttW = _V(0, 0, 0);  // the braking takes up the landing frame as it is
    if (S->holdOn && !S->lockedOut) {
        S->vessel->SetThrusterGroupLevel(static_cast<THGROUP_TYPE>(V.group), 0.0);
        S->enginesHeld |= 1u << V.group;
    }
    double a1 = std::fmin(V.amax, 2.5 * V.gT);
    const double f = std::fmin(a1 / (2.0 * V.gT), 0.75);
    double ab = a1 * f;
    const double alignDecel = ab;  // the same passes are accepted with either descent
    const bool efficient = EfficientDescent(S) && EfficientBrakingFits(S, V);
    if (efficient) {
        // The efficient braking is planned on a share of the thrust; the rest is
        // the margin a late start may take.
        ab = EfficientBrakeDecel(S, V);
        a1 = ab / kPlanThrustShare;
    }
    S->landingWork[LW_ACCEL_TRIGGER] = ab;
    double tb = 0.0, areq = 0.0;
    if (!BrakePoint(S, V, passValid, lonP, latP, ab, alignDecel, &tb, &areq)) return false;
    // Over air the efficient braking starts where the air begins to brake, if
    // that comes before the brake point.
    const bool airStart = EfficientDescent(S) && S->holdOn && !S->lockedOut && tb > 0.0 && AirBrakes(S, V, kAirStartShare) &&
                          EfficientBrakingPlan(S, V, 0.0, true);
    if (airStart)
        tb = 0.0;
    else if (!BrakingPlan(S, V, tb))
        return false;
    // The plan flies along the track; the miss of the pass costs on top of it.
    const double stop = 2.0 * S->passHalfWidth;
    // (The efficient descent's law steers out the miss itself, and counts it.)
    if (stop > 0.0 && !efficient && !airStart)
        S->landingDv += kCrossDvScale * std::sqrt(2.0 * ab * stop) * std::pow(std::fabs(V.cross) / stop, kCrossDvPower);
    S->landingValues[LV_FUEL] = FuelForDv(S->landingDv, V.isp, V.mass);
    // A descent that would run the tank dry is refused before it starts.
    if (!FuelCovers(S, V, S->landingDv + kFuelMarginDv)) {
        FailPlan(S, kLandNoFuel);
        return false;
    }
    S->landingFlags &= ~kLandNoFuel;
    const bool engaged = S->holdOn && !S->lockedOut;
    if (engaged && passValid && EfficientDescent(S) && EfficientTrim(S, V, tb)) return false;
    double *W = S->landingWork;
    W[LW_ACCEL_NEEDED] = areq;
    W[LW_ACCEL_TRIGGER] = ab;
    W[LW_ACCEL_MAX] = V.amax;
    W[LW_FIX_ALONG] = W[LW_FIX_HEIGHT] = W[LW_GRAPH_T0] = 0.0;
    W[LW_GRAPH_KY] = W[LW_GRAPH_KX] = 1.0;
    W[LW_GRAPH_LEFT] = S->landingConsts[LC_ALONG];

    if (!engaged && tb < 0.0) S->brakeStartMjd = V.now + tb / 86400.0;
    if ((S->passTime < 0.0 && ab <= areq) || tb <= 0.0) return BrakeFromHere(S, V, ab, a1, engaged);
    S->landingFlags &= ~kLandTooLate;

    S->brakeStartMjd = V.now + tb / 86400.0;
    S->relAtt = _V(0, 0, 0);
    if (!engaged || (tb >= 300.0 && W[LW_ACCEL_LARGEST] <= 0.9 * V.amax)) {
        S->landingAttMode = 1;
        S->refAtt = AxesToEuler(V.v, CrossProduct(V.r, V.v), 0);
    } else {
        S->landingAttMode = tb >= 180.0 && W[LW_ACCEL_LARGEST] <= 0.925 * V.amax ? 2 : 3;
        S->refAtt = AxesToEuler(V.w, V.n, 0);
        if (S->landingAttMode == 3) S->relAtt = ThrustAxisOffset(S, V.group, _V(0, 0, -1));
    }
    S->attitudeAngles = ErrorAnglesFromMatrix(S);
    return false;
}

double RestApproachTime(const MfdState *S, const LandingStepValues &V) {
    const double gentle = kGentleShare * V.gT;
    if (!(gentle > 0.0)) return -1.0;
    return 2.0 * std::sqrt(std::fabs(S->landingParams[LP_END_ALONG] - V.along) / gentle) + kGentleSettle;
}

bool ReplanApproach(MfdState *S, const LandingStepValues &V) {
    if (EfficientDescent(S) && EfficientApproachPlan(S, V)) return true;
    double *W = S->landingWork;
    W[LW_GRAPH_T0] = 0.0;
    W[LW_GRAPH_KY] = W[LW_GRAPH_KX] = 1.0;
    W[LW_GRAPH_LEFT] = V.along;
    double a0 = 0.0;
    double T = -1.0;
    double vz0 = V.vspeed;
    if (V.closing >= kSlowClosing && SolveApproachAccel(V.along, S->landingParams[LP_END_ALONG], V.closing, S->landingParams[LP_END_CLOSING], &a0))
        T = ApproachDuration(V.along, V.closing, a0);
    if (!(T > 0.0) || !std::isfinite(T)) {
        // A vessel that has slowed to a hover (a stop, a re-engagement, a new pad)
        // has no braking approach to solve: it is flown over at a gentle
        // acceleration from rest instead of being let go to fall.
        a0 = 0.0;
        T = RestApproachTime(S, V);
        if (!(T > 0.0)) {
            FailPlan(S, kLandDetNegative);
            return false;
        }
        // The height plan starts level, so it never dips below its end on the way;
        // the tracking takes out the vessel's own sink rate at the start.
        vz0 = 0.0;
    }
    S->landingFlags &= ~kLandDetNegative;
    const double endHeight = S->landingParams[LP_END_HEIGHT];
    Quintic z = QuinticCoefficients(V.height, endHeight, vz0, 0.0, 0.0, 0.0, T);
    // A vessel sinking fast (let go low down and engaged again) would go on sinking
    // on the plan, over a long approach far below where it ends, into the ground:
    // the height plan starts level instead, and the tracking takes out the sink.
    if (QuinticLowest(z, V.height, vz0, 0.0, T) < std::fmin(V.height, endHeight) - kPlanDip) {
        vz0 = 0.0;
        z = QuinticCoefficients(V.height, endHeight, 0.0, 0.0, 0.0, 0.0, T);
    }
    StoreTrajectory(S, QuinticCoefficients(V.along, S->landingParams[LP_END_ALONG], V.closing, S->landingParams[LP_END_CLOSING], a0, 0.0, T),
                    z, a0, T, V.along, V.closing, V.height, vz0);
    S->brakeStartMjd = V.now;
    S->landingPhase = LANDING_APPROACH;
    return PlanWithinReach(S, V);
}
