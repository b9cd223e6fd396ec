// Landing trajectory planning: pass search, brake point, braking and approach
// trajectories, trajectory check and the brake schedule.
#include "landing/planning.h"

#include <cmath>

#include "control/attitude.h"
#include "control/math.h"
#include "frame/state.h"
#include "landing/autopilot.h"
#include "landing/guidance.h"
#include "landing/planet.h"
#include "landing/resume.h"
#include "landing/step_values.h"

namespace {

const double kGateAngle = 20.0 * RAD;
const int kSamples = 200;
const int kSearchIterations = 32;
const double kSearchTolerance = 0.01;  // s
// Delta-v the braking spends, on top of its plan along the track, to bring a
// pass that misses the target by c over it: kCrossDvScale V (c / S)^kCrossDvPower
// for a pass at speed V with stopping distance S. The least bound over 194 flown
// lunar landings (misses up to half the stopping distance; they scatter about it
// by 23 m/s). The fuel check asks kFuelMarginDv more than the plan with it.
const double kCrossDvScale = 0.83;
const double kCrossDvPower = 1.4;
const double kFuelMarginDv = 25.0;  // m/s

// Below kSlowClosing the approach is planned from rest: at this share of the
// gravity at the target, with this many seconds to settle at its end.
const double kGentleShare = 0.1;
const double kGentleSettle = 20.0;

double Cbrt(double x) { return x < 0.0 ? -std::cbrt(-x) : std::cbrt(x); }

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

void StoreTrajectory(MfdState *S, const Quintic &h, const Quintic &z, double a0, double T, double x0, double V0,
                     double h0, double vz0) {
    const double coefs[6] = {h.c3, h.c4, h.c5, z.c3, z.c4, z.c5};
    const double consts[6] = {a0, T, x0, V0, h0, vz0};
    for (int i = 0; i < 6; ++i) {
        S->landingCoefs[i] = coefs[i];
        S->landingConsts[i] = consts[i];
    }
}

void FailPlan(MfdState *S, uint32_t bit) { RefuseLanding(S, bit); }

}  // namespace

Quintic QuinticCoefficients(double x0, double x1, double V0, double V1, double a0, double a1, double T) {
    Quintic q{0.0, 0.0, 0.0};
    if (!(T > 0.0) || !std::isfinite(T)) return q;
    const double T2 = T * T;
    q.c5 = -((a0 - a1) / 2.0 + 6.0 * (x0 - x1) / T2 + 3.0 * (V0 + V1) / T) / (T2 * T);
    q.c4 = ((V0 - V1) / T + (a0 + a1) / 2.0) / (2.0 * T2) - 2.5 * T * q.c5;
    q.c3 = (a1 - a0) / (6.0 * T) - 2.0 * T * q.c4 - (10.0 / 3.0) * T2 * q.c5;
    return q;
}

bool SolveApproachAccel(double x0, double x1, double V0, double V1, double *a0) {
    const double A = 4.0 * x0 * x0;
    if (!(A > 0.0) || !std::isfinite(A)) return false;
    const double B = -4.0 * x0 * V0 * V0;
    const double C = V0 * V0 * V0 * V0 + 24.0 * V0 * (2.0 * V0 * x1 - x0 * V0 + x0 * V1);
    const double K = -12.0 * V0 * V0 * V0 * (V0 + V1);
    const double p = C / A - B * B / (3.0 * A * A);
    const double q = K / A + 2.0 * B * B * B / (27.0 * A * A * A) - B * C / (3.0 * A * A);
    const double disc = (q / 2.0) * (q / 2.0) + (p / 3.0) * (p / 3.0) * (p / 3.0);
    if (!(disc >= 0.0)) return false;
    const double y = Cbrt(-q / 2.0 + std::sqrt(disc)) + Cbrt(-q / 2.0 - std::sqrt(disc));
    const double s = y - B / (3.0 * A);
    if (!std::isfinite(s)) return false;
    *a0 = -s * s;
    return true;
}

double ApproachDuration(double x0, double V0, double a0) {
    if (!(a0 < 0.0) || V0 == 0.0) return -1.0;
    return V0 / (2.0 * std::sqrt(-a0)) - x0 / V0;
}

GateState FinalApproachGate(MfdState *S, double g) {
    if (S->profile && S->profile->pitchBankShared) S->landingParams[3] = 180.0;
    const double tf = S->landingParams[3];
    const double s = std::sin(kGateAngle), c = 1.0 - std::cos(kGateAngle);
    GateState gate;
    gate.x = -0.625 * g * s * tf * tf;
    gate.v = 1.25 * g * s * tf;
    gate.h = 1.25 * g * c * tf * tf;
    gate.vz = -2.5 * g * c * tf;
    gate.tf = tf;
    return gate;
}

void AlongReference(const MfdState *S, double t, double out[3]) {
    const double *c = S->landingCoefs, *k = S->landingConsts;
    out[0] = k[2] + k[3] * t + k[0] * t * t / 2.0 + c[0] * t * t * t + c[1] * t * t * t * t + c[2] * t * t * t * t * t;
    out[1] = k[3] + k[0] * t + 3.0 * c[0] * t * t + 4.0 * c[1] * t * t * t + 5.0 * c[2] * t * t * t * t;
    out[2] = k[0] + 6.0 * c[0] * t + 12.0 * c[1] * t * t + 20.0 * c[2] * t * t * t;
}

void HeightReference(const MfdState *S, double t, double out[3]) {
    const double *c = S->landingCoefs, *k = S->landingConsts;
    out[0] = k[4] + k[5] * t + c[3] * t * t * t + c[4] * t * t * t * t + c[5] * t * t * t * t * t;
    out[1] = k[5] + 3.0 * c[3] * t * t + 4.0 * c[4] * t * t * t + 5.0 * c[5] * t * t * t * t;
    out[2] = 6.0 * c[3] * t + 12.0 * c[4] * t * t + 20.0 * c[5] * t * t * t;
}

void CheckTrajectory(MfdState *S, double Rt, double g, double t0, double *largest) {
    const int phase = S->landingPhase;
    const bool braking = phase == LANDING_WAIT || phase == LANDING_BRAKE;
    GateState gate{0, 0, 0, 0, S->landingParams[3]};
    double hr = 0.0;
    if (braking) {
        gate = FinalApproachGate(S, g);
        hr = gate.h;
    }
    const double T = S->landingConsts[1];
    const double ts = T > t0 ? (T - t0) / kSamples : 0.0;  // nothing left past the end
    double t = t0, hmin = hr, dv = 0.0;
    for (int i = 0; i < kSamples; ++i) {
        double x[3], z[3];
        AlongReference(S, t, x);
        HeightReference(S, t, z);
        if (z[0] < hmin) hmin = z[0];
        if (hmin < 0.9 * hr) {
            S->landingFlags |= kLandTooLow;
            if (hmin < 0.0)
                S->landingFlags |= kLandCollision;
            else
                S->landingFlags &= ~kLandCollision;
        } else {
            S->landingFlags &= ~kLandTooLow;
        }
        const double radius = z[0] + Rt;
        const double az = z[2] + g - (radius > 0.0 ? x[1] * x[1] / radius : 0.0);
        const double a = std::hypot(x[2], az);
        if (a > *largest) *largest = a;
        dv += ts * a;
        t += ts;
    }
    if (braking)
        S->landingDv = dv + std::hypot(gate.v, gate.vz) + gate.tf * g + kReserveHover * g;
    else if (phase == LANDING_REPLAN || phase == LANDING_APPROACH)
        S->landingDv = dv + kReserveHover * g;
}

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
    V.crossRate = V.dt > 0.0 ? std::fabs((V.cross - S->landingWork[4]) * 0.0001 / V.dt) : 0.0;
    S->landingWork[19] = tp;
    return true;
}

namespace {

// The brake point: time from now at which braking must start; the pass's
// alignment check may end the step (returns false then).
bool BrakePoint(MfdState *S, LandingStepValues &V, bool passValid, double lonP, double latP, double ab,
                double *tb, double *areq) {
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
    const double tp = S->landingWork[19];
    double t = tp, stop = 0.0;
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
        if (Dt > 0.0) *areq = s * s / (2.0 * Dt);
        t += (Dt - stop) / s;
        converged = std::fabs(Dt - stop) < s / 10.0;
    }
    S->passHalfWidth = stop / 2.0;
    if (!converged) return true;  // the pass counts as invalid for this step
    *tb = t;
    S->passTime = tp;
    if (std::fabs(V.cross) > stop / 2.0) {
        FailPlan(S, kLandAlignment);
        return false;
    }
    S->landingFlags &= ~kLandAlignment;
    return true;
}

}  // namespace

bool BrakingPlan(MfdState *S, LandingStepValues &V, double tb) {
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
    const double x0 = -dB;
    const double h0 = length(pos0) - V.Rt - S->vessel->GetCOG_elev();
    const double V0 = std::hypot(enu.x, enu.y) * std::cos(course - bB);
    const double vz0 = enu.z;

    const GateState gate = FinalApproachGate(S, V.gT);
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
    double largest = 0.0;
    CheckTrajectory(S, V.Rt, V.gT, 0.0, &largest);
    S->landingWork[8] = largest;
    S->landingValues[6] = FuelForDv(S->landingDv, V.isp, V.mass);
    return true;
}

bool FuelCovers(const MfdState *S, const LandingStepValues &V, double dv) {
    THRUSTER_HANDLE th = S->vessel->GetGroupThruster(static_cast<THGROUP_TYPE>(V.group), 0);
    PROPELLANT_HANDLE tank = th ? S->vessel->GetThrusterResource(th) : nullptr;
    return !tank || FuelForDv(dv, V.isp, V.mass) <= S->vessel->GetPropellantMass(tank);
}

bool PlanBraking(MfdState *S, LandingStepValues &V, bool passValid, double lonP, double latP) {
    S->landingAttW = _V(0, 0, 0);  // the braking takes up the landing frame as it is
    if (S->holdOn && !S->lockedOut) {
        S->vessel->SetThrusterGroupLevel(static_cast<THGROUP_TYPE>(V.group), 0.0);
        S->enginesHeld |= 1u << V.group;
    }
    const double a1 = std::fmin(V.amax, 2.5 * V.gT);
    const double f = std::fmin(a1 / (2.0 * V.gT), 0.75);
    const double ab = a1 * f;
    S->landingWork[7] = ab;
    double tb = 0.0, areq = 0.0;
    if (!BrakePoint(S, V, passValid, lonP, latP, ab, &tb, &areq)) return false;
    if (!BrakingPlan(S, V, tb)) return false;
    // The plan flies along the track; the miss of the pass costs on top of it.
    const double stop = 2.0 * S->passHalfWidth;
    if (stop > 0.0)
        S->landingDv += kCrossDvScale * std::sqrt(2.0 * ab * stop) * std::pow(std::fabs(V.cross) / stop, kCrossDvPower);
    S->landingValues[6] = FuelForDv(S->landingDv, V.isp, V.mass);
    // A descent that would run the tank dry is refused before it starts.
    if (!FuelCovers(S, V, S->landingDv + kFuelMarginDv)) {
        FailPlan(S, kLandNoFuel);
        return false;
    }
    S->landingFlags &= ~kLandNoFuel;
    double *W = S->landingWork;
    W[6] = areq;
    W[7] = ab;
    W[9] = V.amax;
    W[10] = W[11] = W[12] = 0.0;
    W[13] = W[14] = 1.0;
    W[15] = S->landingConsts[2];

    const bool engaged = S->holdOn && !S->lockedOut;
    if (!engaged && tb < 0.0) S->brakeStartMjd = V.now + tb / 86400.0;
    if ((S->passTime < 0.0 && ab <= areq) || tb <= 0.0) {
        // Late by more than the engines' margin over the planned deceleration:
        // braking now would only end on the ground short of or past the target.
        const double speed = length(V.v), dist = std::fabs(V.along);
        const bool tooLate = !(dist > 0.0) || speed * speed / (2.0 * dist) > (ab + a1) / 2.0;
        if (tooLate && engaged) {
            FailPlan(S, kLandTooLate);
            return false;
        }
        if (tooLate) S->landingFlags |= kLandTooLate; else S->landingFlags &= ~kLandTooLate;
        return engaged;
    }
    S->landingFlags &= ~kLandTooLate;

    S->brakeStartMjd = V.now + tb / 86400.0;
    S->relAtt = _V(0, 0, 0);
    if (!engaged || (tb >= 300.0 && W[8] <= 0.9 * V.amax)) {
        S->landingAttMode = 1;
        S->refAtt = AxesToEuler(V.v, CrossProduct(V.r, V.v), 0);
    } else {
        S->landingAttMode = tb >= 180.0 && W[8] <= 0.925 * V.amax ? 2 : 3;
        S->refAtt = AxesToEuler(V.w, V.n, 0);
        if (S->landingAttMode == 3) S->relAtt = ThrustAxisOffset(S, V.group, _V(0, 0, -1));
    }
    S->attitudeAngles = ErrorAnglesFromMatrix(S);
    return false;
}

bool ApproachFromRest(const MfdState *S) {
    return S->landingPhase == LANDING_APPROACH && S->landingConsts[0] == 0.0 && S->landingConsts[1] > 0.0;
}

bool ReplanApproach(MfdState *S, const LandingStepValues &V) {
    double *W = S->landingWork;
    W[12] = 0.0;
    W[13] = W[14] = 1.0;
    W[15] = V.along;
    double a0 = 0.0;
    double T = -1.0;
    double vz0 = V.vspeed;
    if (V.closing >= kSlowClosing && SolveApproachAccel(V.along, S->landingParams[1], V.closing, S->landingParams[2], &a0))
        T = ApproachDuration(V.along, V.closing, a0);
    if (!(T > 0.0) || !std::isfinite(T)) {
        // A vessel that has slowed to a hover (a stop, a re-engagement, a new pad)
        // has no braking approach to solve: it is flown over at a gentle
        // acceleration from rest instead of being let go to fall.
        const double gentle = kGentleShare * V.gT;
        if (!(gentle > 0.0)) {
            FailPlan(S, kLandDetNegative);
            return false;
        }
        a0 = 0.0;
        T = 2.0 * std::sqrt(std::fabs(S->landingParams[1] - V.along) / gentle) + kGentleSettle;
        // The height plan starts level, so it never dips below its end on the way;
        // the tracking takes out the vessel's own sink rate at the start.
        vz0 = 0.0;
    }
    S->landingFlags &= ~kLandDetNegative;
    StoreTrajectory(S, QuinticCoefficients(V.along, S->landingParams[1], V.closing, S->landingParams[2], a0, 0.0, T),
                    QuinticCoefficients(V.height, S->landingParams[0], vz0, 0.0, 0.0, 0.0, T), a0, T, V.along,
                    V.closing, V.height, vz0);
    S->brakeStartMjd = V.now;
    S->landingPhase = LANDING_APPROACH;
    return PlanWithinReach(S, V);
}
