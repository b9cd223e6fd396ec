// The planned descent: quintics in time for the along-track position and the
// height, stored in the state's landing slots, their references, their check
// against the ground and the engine group, and their delta-v and fuel.
#include "landing/trajectory.h"

#include <cmath>

#include "control/math.h"
#include "control/profile.h"
#include "frame/state.h"
#include "landing/refusal.h"
#include "landing/step_values.h"

namespace {

const double kGateAngle = 20.0 * RAD;
const int kSamples = 200;

double Cbrt(double x) { return x < 0.0 ? -std::cbrt(-x) : std::cbrt(x); }

}  // namespace

void StoreTrajectory(MfdState *S, const Quintic &h, const Quintic &z, double a0, double T, double x0, double V0,
                     double h0, double vz0) {
    const double coefs[LANDING_COEF_SLOTS] = {h.c3, h.c4, h.c5, z.c3, z.c4, z.c5};
    double consts[LANDING_CONST_SLOTS];
    consts[LC_ACCEL] = a0;
    consts[LC_DURATION] = T;
    consts[LC_ALONG] = x0;
    consts[LC_CLOSING] = V0;
    consts[LC_HEIGHT] = h0;
    consts[LC_VSPEED] = vz0;
    for (int i = 0; i < LANDING_COEF_SLOTS; ++i) S->landingCoefs[i] = coefs[i];
    for (int i = 0; i < LANDING_CONST_SLOTS; ++i) S->landingConsts[i] = consts[i];
}

Quintic QuinticCoefficients(double x0, double x1, double V0, double V1, double a0, double a1, double T) {
    Quintic q{0.0, 0.0, 0.0};
    if (!(T > 0.0) || !std::isfinite(T)) return q;
    const double T2 = T * T;
    q.c5 = -((a0 - a1) / 2.0 + 6.0 * (x0 - x1) / T2 + 3.0 * (V0 + V1) / T) / (T2 * T);
    q.c4 = ((V0 - V1) / T + (a0 + a1) / 2.0) / (2.0 * T2) - 2.5 * T * q.c5;
    q.c3 = (a1 - a0) / (6.0 * T) - 2.0 * T * q.c4 - (10.0 / 3.0) * T2 * q.c5;
    return q;
}

double QuinticLowest(const Quintic &q, double x0, double V0, double a0, double T) {
    double lowest = x0;
    if (!(T > 0.0) || !std::isfinite(T)) return lowest;
    for (int i = 1; i <= kSamples; ++i) {
        const double t = T * i / kSamples;
        const double x = x0 + V0 * t + a0 * t * t / 2.0 + q.c3 * t * t * t + q.c4 * t * t * t * t + q.c5 * t * t * t * t * t;
        if (x < lowest) lowest = x;
    }
    return lowest;
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
    if (S->profile && S->profile->pitchBankShared) S->landingParams[LP_FINAL_TIME] = 180.0;
    const double tf = S->landingParams[LP_FINAL_TIME];
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
    const double *c = S->landingCoefs + LK_ALONG, *k = S->landingConsts;
    const double x0 = k[LC_ALONG], v0 = k[LC_CLOSING], a0 = k[LC_ACCEL];
    out[0] = x0 + v0 * t + a0 * t * t / 2.0 + c[0] * t * t * t + c[1] * t * t * t * t + c[2] * t * t * t * t * t;
    out[1] = v0 + a0 * t + 3.0 * c[0] * t * t + 4.0 * c[1] * t * t * t + 5.0 * c[2] * t * t * t * t;
    out[2] = a0 + 6.0 * c[0] * t + 12.0 * c[1] * t * t + 20.0 * c[2] * t * t * t;
}

void HeightReference(const MfdState *S, double t, double out[3]) {
    const double *c = S->landingCoefs + LK_HEIGHT, *k = S->landingConsts;
    const double h0 = k[LC_HEIGHT], vz0 = k[LC_VSPEED];
    out[0] = h0 + vz0 * t + c[0] * t * t * t + c[1] * t * t * t * t + c[2] * t * t * t * t * t;
    out[1] = vz0 + 3.0 * c[0] * t * t + 4.0 * c[1] * t * t * t + 5.0 * c[2] * t * t * t * t;
    out[2] = 6.0 * c[0] * t + 12.0 * c[1] * t * t + 20.0 * c[2] * t * t * t;
}

void CheckTrajectory(MfdState *S, double Rt, double g, double t0, double *largest) {
    const int phase = S->landingPhase;
    const bool braking = phase == LANDING_WAIT || phase == LANDING_BRAKE;
    GateState gate{0, 0, 0, 0, S->landingParams[LP_FINAL_TIME]};
    double hr = 0.0;
    const double T = S->landingConsts[LC_DURATION];
    if (braking) {
        // Too low against the gate the braking ends at: the standard one, or over
        // air with the efficient descent chosen the efficient approach's, where
        // its plan ends.
        gate = FinalApproachGate(S, g);
        double end[3];
        HeightReference(S, T, end);
        const bool airy = S->bodyRef && oapiPlanetHasAtmosphere(S->bodyRef);
        hr = S->landingDescent == DESCENT_EFFICIENT && airy ? end[0] : gate.h;
    }
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
            S->landingFlags &= ~(kLandTooLow | kLandCollision);
        }
        const double radius = z[0] + Rt;
        const double az = z[2] + g - (radius > 0.0 ? x[1] * x[1] / radius : 0.0);
        const double a = std::hypot(x[2], az);
        if (a > *largest) *largest = a;
        dv += ts * a;
        t += ts;
    }
    if (braking)
        S->landingDv = dv + (S->landingTailDv > 0.0 ? S->landingTailDv : std::hypot(gate.v, gate.vz) + gate.tf * g) +
                       PlanReserveDv(S, g);
    else if (phase == LANDING_REPLAN || phase == LANDING_APPROACH)
        S->landingDv = dv + kReserveHover * g;
}

double PlanReserveDv(const MfdState *S, double g) {
    const bool braking = S->landingPhase == LANDING_WAIT || S->landingPhase == LANDING_BRAKE;
    return (braking && S->landingTailDv > 0.0 ? kEfficientReserve : kReserveHover) * g;
}

bool ApproachFromRest(const MfdState *S) {
    return S->landingPhase == LANDING_APPROACH && S->landingConsts[LC_ACCEL] == 0.0 && S->landingConsts[LC_DURATION] > 0.0;
}

double FuelForDv(double dv, double isp, double mass) {
    if (!(isp > 0.0)) return mass;
    return (1.0 - std::exp(-dv / isp)) * mass;
}

bool FuelCovers(const MfdState *S, const LandingStepValues &V, double dv) {
    THRUSTER_HANDLE th = S->vessel->GetGroupThruster(static_cast<THGROUP_TYPE>(V.group), 0);
    PROPELLANT_HANDLE tank = th ? S->vessel->GetThrusterResource(th) : nullptr;
    return !tank || FuelForDv(dv, V.isp, V.mass) <= S->vessel->GetPropellantMass(tank);
}

bool PlanWithinReach(MfdState *S, const LandingStepValues &V) {
    double largest = 0.0;
    CheckTrajectory(S, V.Rt, V.gT, 0.0, &largest);
    S->landingWork[LW_ACCEL_LARGEST] = largest;
    S->landingValues[LV_FUEL] = FuelForDv(S->landingDv, V.isp, V.mass);
    // In flight the hover reserve may be spent: only a plan the tank cannot pay for
    // at all is refused.
    const bool fuel = FuelCovers(S, V, S->landingDv - PlanReserveDv(S, V.gT));
    const uint32_t reason = !(largest <= kReachMargin * V.amax) ? kLandOutOfReach : (!fuel ? kLandNoFuel : 0u);
    if (reason) {
        RefuseLanding(S, reason);
        return false;
    }
    S->landingFlags &= ~(kLandOutOfReach | kLandNoFuel);
    return true;
}
