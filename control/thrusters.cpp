// Thruster command layer: per-axis laws, translation hold and command
// distribution.
#include "control/thrusters.h"

#include <cmath>

#include "frame/state.h"

namespace {

double Clamp1(double u) { return u > 1.0 ? 1.0 : (u < -1.0 ? -1.0 : u); }

// Torque of the pair serving a rotation axis and the stack's inertia about it.
// False when the axis has no torque or no inertia: the laws then command nothing.
bool AxisAuthority(const ThrusterProfile *P, int axis, double *torque, double *inertia) {
    if (axis < 0 || axis > 2) return false;
    *torque = P->torque[AttitudeAxisGroup(axis)];
    *inertia = P->pmi[axis] * P->mass;
    return *torque > 0.0 && *inertia > 0.0 && std::isfinite(*torque) && std::isfinite(*inertia);
}

bool TargetIsVessel(const MfdState *S) { return S->targetRef && oapiIsVessel(S->targetRef); }

}  // namespace

double PassInterval() {
    const double frame = oapiGetSysStep() * oapiGetTimeAcceleration();
    if (!(frame > 0.0) || !std::isfinite(frame)) return kPassInterval;
    if (frame >= kPassInterval) return frame;
    // Frames shorter than the cadence: the pass comes with the frame that reaches it.
    return std::ceil(kPassInterval / frame - 1e-6) * frame;
}

double RateTimeConstant() {
    const double t = PassInterval() / kRateShare;
    return t > kRateTimeConstant ? t : kRateTimeConstant;
}

double AxisAttitudeLaw(ThrusterProfile *P, int axis, double target, double current, double rate,
                       double deadband, double timeConstant) {
    const double warp = oapiGetTimeAcceleration();
    if (warp > 100.0) return 0.0;
    const double d = target - current;
    if (std::fabs(d) < std::fabs(deadband)) return 0.0;
    double T, I;
    if (!AxisAuthority(P, axis, &T, &I) || !(timeConstant > 0.0)) return 0.0;
    double L = T / I * timeConstant;
    if (P->rateLimit[axis] < L) L = P->rateLimit[axis];
    P->effRate[axis] = L;
    // Far from the target it turns at the rate limit; the slow approach takes
    // over where the rate loop (slower by the command share) still has room to
    // take that rate out: L x its time constant from the target.
    const double tr = RateTimeConstant();
    double w = d / timeConstant;
    const double scale = P->cmdScale > 0.0 ? P->cmdScale : 1.0;
    if (std::fabs(w) > L || std::fabs(d) > L * tr / scale) w = d < 0.0 ? -L : L;
    const double e = rate - w;
    // The level that takes the rate error out over the rate time constant: a
    // tenth each pass at the nominal cadence, never more than kRateShare of it
    // over the time the level is held.
    double u = Clamp1(I * e / (tr * T));
    if (std::fabs(e) < 0.1 * std::fabs(w)) u = 0.0;
    return std::isfinite(u) ? u : 0.0;
}

double AxisRateLaw(const ThrusterProfile *P, int axis, double wanted, double current, double deadband) {
    const double warp = oapiGetTimeAcceleration();
    if (warp > 100.0) return 0.0;
    const double d = current - wanted;
    if (std::fabs(d) < deadband) return 0.0;
    double T, I;
    if (!AxisAuthority(P, axis, &T, &I)) return 0.0;
    const double u = Clamp1(I * d / (T * RateTimeConstant()));
    return std::isfinite(u) ? u : 0.0;
}

double AxisRateDamp(const ThrusterProfile *P, int axis, double rate, double deadband) {
    if (rate == 0.0 && P->vessel && axis >= 0 && axis <= 2) {
        // The measured angular velocity turns the other way from the error rate.
        VECTOR3 w;
        P->vessel->GetAngularVel(w);
        rate = -w.data[axis];
    }
    return AxisRateLaw(P, axis, 0.0, rate, deadband);
}

int ApplyThrusterCommands(ThrusterProfile *P, const VECTOR3 &rot, const VECTOR3 &lin) {
    double r0 = rot.x * P->cmdScale, r1 = rot.y * P->cmdScale, r2 = rot.z * P->cmdScale;
    const double t0 = lin.x * P->cmdScale, t1 = lin.y * P->cmdScale, t2 = lin.z;
    if (P->pitchBankShared) {
        r0 *= P->pitchShare;
        r2 *= 1.0 - P->pitchShare;
    }
    // Demand of each attitude group 3..14, in the order of the group bits.
    const double demand[12] = {
        r0 > 0.0 ? r0 : 0.0,  r0 < 0.0 ? -r0 : 0.0,  r1 > 0.0 ? r1 : 0.0,  r1 < 0.0 ? -r1 : 0.0,
        r2 < 0.0 ? -r2 : 0.0, r2 > 0.0 ? r2 : 0.0,   t0 > 0.0 ? t0 : 0.0,  t0 < 0.0 ? -t0 : 0.0,
        t1 > 0.0 ? t1 : 0.0,  t1 < 0.0 ? -t1 : 0.0,  t2 > 0.0 ? t2 : 0.0,  t2 < 0.0 ? -t2 : 0.0};
    int n = 0;
    for (; n < kMaxAttitudeThrusters && P->thrusters[n]; ++n) {
        double level = 0.0;
        const unsigned groups = P->thrusterGroups[n];
        for (int b = 0; b < 12; ++b)
            if (groups & (1u << b)) level += demand[b];
        level = Clamp1(level);
        if (!std::isfinite(level)) level = 0.0;
        P->vessel->SetThrusterLevel(P->thrusters[n], level);
    }
    P->levelsFor = PassInterval();
    return n;
}

void FitLevelsToFrame(ThrusterProfile *P, double frame) {
    if (!P || !P->vessel || !(P->levelsFor > 0.0) || !(frame > kLateHoldFactor * P->levelsFor)) return;
    const double share = P->levelsFor / frame;
    for (int n = 0; n < kMaxAttitudeThrusters && P->thrusters[n]; ++n)
        P->vessel->SetThrusterLevel(P->thrusters[n], P->vessel->GetThrusterLevel(P->thrusters[n]) * share);
    P->levelsFor = frame;
}

void AttitudeGroupsOff(ThrusterProfile *P) {
    if (!P || !P->vessel) return;
    for (int g = THGROUP_ATT_PITCHUP; g <= THGROUP_ATT_BACK; ++g)
        P->vessel->SetThrusterGroupLevel(static_cast<THGROUP_TYPE>(g), 0.0);
}

void ReadManualLevels(const ThrusterProfile *P, VECTOR3 *rot, VECTOR3 *lin) {
    *rot = _V(0, 0, 0);
    *lin = _V(0, 0, 0);
    if (!P || !P->vessel) return;
    P->vessel->GetAttitudeRotLevel(*rot);
    P->vessel->GetAttitudeLinLevel(*lin);
}

void TranslationHoldOff(MfdState *S) {
    S->axisMask = 0;
    AttitudeGroupsOff(S->profile);
    S->transAxes = kTransAxesNone;
}

int TransAxesFromMask(uint32_t mask) {
    static const int kCode[8] = {kTransAxesNone, 0, 1, 4, 2, 6, 5, kTransAxesAll};
    return mask >= 1 && mask <= kAxisMaskAll ? kCode[mask] : kTransAxesNone;
}

void TranslationAxisLaw(MfdState *S, int axis, const VECTOR3 &v) {
    if (!TargetIsVessel(S)) {
        S->dockApOn = false;
        if (!S->lockedOut) TranslationHoldOff(S);
        AttitudeGroupsOff(S->profile);
        return;
    }
    if (axis < 0 || axis > 2) return;
    const ThrusterProfile *P = S->profile;
    const double thrust = P->thrust[6 + axis];
    if (std::fabs(v.data[axis]) > 0.0005 && thrust > 0.0) {
        // The level that would cancel the velocity by the next pass, for which it is
        // held. When passes came farther apart than the frames foretell (a pass
        // that just missed its frame), the last interval stands: aimed at the
        // shorter one, the level would overshoot by the difference and swing the
        // velocity to the other side at every such pass.
        const double predicted = PassInterval();
        const double held = std::fmin(std::fmax(predicted, S->stepDt), kLateHoldFactor * predicted);
        const double level = Clamp1(P->mass * v.data[axis] / thrust / held);
        if (std::isfinite(level)) S->linCmd.data[axis] = level;
    }
}

void ApplyTranslationHold(MfdState *S, const VECTOR3 &v) {
    static const int kAxes[8][3] = {{0, -1, -1}, {1, -1, -1}, {2, -1, -1}, {0, 1, 2},
                                    {0, 1, -1},  {1, 2, -1},  {2, 0, -1},  {-1, -1, -1}};
    const int code = S->transAxes >= 0 && S->transAxes <= kTransAxesNone ? S->transAxes : kTransAxesNone;
    if (code == kTransAxesNone) {
        S->linCmd = _V(0, 0, 0);
        return;
    }
    for (int k = 0; k < 3 && kAxes[code][k] >= 0; ++k) {
        TranslationAxisLaw(S, kAxes[code][k], v);
        if (S->transAxes == kTransAxesNone) return;  // the law ended the hold (target gone)
    }
}

void ReleaseEngines(MfdState *S) {
    if (S->enginesHeld == 0) return;
    if (S->holdOn && S->refMode == AP_LANDING && !S->lockedOut) return;
    VESSEL *v = S->vessel ? S->vessel : (S->profile ? S->profile->vessel : nullptr);
    // Near the ground the landing hands the vessel back hovering on the engine
    // group it flew with; the landing step holds its vertical speed from here.
    const bool hover = S->refMode == AP_LANDING && !S->lockedOut && S->hoverLevel > 0.0;
    for (int g = THGROUP_MAIN; g <= THGROUP_HOVER; ++g) {
        const double level = hover && g == S->hoverGroup ? S->hoverLevel : 0.0;
        if (v && ((S->enginesHeld & (1u << g)) || level > 0.0)) v->SetThrusterGroupLevel(static_cast<THGROUP_TYPE>(g), level);
    }
    if (hover) {
        S->landingFlags |= kLandPilotHover;
        S->hoverSet = S->hoverLevel;
    }
    S->enginesHeld = 0;
}
