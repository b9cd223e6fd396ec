// Attitude hold: error, rate filter, the rotation laws by mode, and the
// "ISS control mode".
#include "control/attitude.h"

#include <cmath>
#include <cstring>

#include "control/thrusters.h"
#include "frame/state.h"

VECTOR3 ErrorAnglesFromMatrix(MfdState *S) {
    MATRIX3 R;
    S->vessel->GetRotationMatrix(R);
    S->errorMatrix = MatMat(MatTranspose(R), MatMat(EulerToMatrix(S->refAtt), EulerToMatrix(S->relAtt)));
    return MatrixToEuler(S->errorMatrix, S->eulerConvention);
}

Quat ErrorQuaternion(const MfdState *S) {
    const Quat a = EulerToQuat(S->relAtt);
    const Quat b = EulerToQuat(S->refAtt);
    VECTOR3 orientation;
    S->vessel->GetGlobalOrientation(orientation);
    const Quat g = EulerToQuat(orientation);
    const double n2 = g.w * g.w + g.x * g.x + g.y * g.y + g.z * g.z;
    const Quat gInv = Quat{g.w / n2, -g.x / n2, -g.y / n2, -g.z / n2};
    return QuatMul(QuatMul(a, b), gInv);
}

void ChooseEulerConvention(MfdState *S) {
    const Quat q = ErrorQuaternion(S);
    const VECTOR3 e0 = QuatToEuler(q, 0);
    const VECTOR3 e2 = QuatToEuler(q, 2);
    S->eulerConvention = (e2.y * e2.y + e2.z * e2.z > e0.x * e0.x + e0.z * e0.z) ? 0 : 2;
}

VECTOR3 SpikeFilter(MfdState *S, const VECTOR3 &rate) {
    if (S->sampleCount >= 5 || S->sampleCount < 0) {
        S->sampleCount = 0;
        S->warmUp = false;
    }
    if (!S->holdOn || S->refMode == AP_LANDING) {
        S->sampleCount += 1;
        return rate;
    }
    const int now = S->sampleCount;
    S->samples[now] = rate;
    // The mean over the passes of the last half second: five at the nominal
    // cadence, fewer when passes come farther apart, only this one from 0.5 s
    // on. Older samples would only add lag to a rate that has since been changed.
    int n = static_cast<int>(std::floor(kRateFilterSpan / PassInterval() + 0.5));
    if (n > 5) n = 5;
    if (n < 1) n = 1;
    VECTOR3 sum = _V(0, 0, 0);
    for (int k = 0; k < n; ++k) sum += S->samples[(now - k + 5) % 5];
    const VECTOR3 mean = sum / n;
    VECTOR3 out;
    for (int c = 0; c < 3; ++c)
        out.data[c] = n > 1 && std::fabs(rate.data[c]) > 2.5 * std::fabs(mean.data[c])
                          ? (sum.data[c] - rate.data[c]) / (n - 1)
                          : mean.data[c];
    S->sampleCount += 1;
    return out;
}

namespace {

// Median of five values.
double Median5(const double in[5]) {
    double v[5] = {in[0], in[1], in[2], in[3], in[4]};
    for (int i = 1; i < 5; ++i)
        for (int j = i; j > 0 && v[j] < v[j - 1]; --j) {
            const double t = v[j];
            v[j] = v[j - 1];
            v[j - 1] = t;
        }
    return v[2];
}

}  // namespace

VECTOR3 SteadyWantedRate(MfdState *S, const VECTOR3 &frameRate) {
    const int now = S->wantedRateNext >= 0 && S->wantedRateNext < 5 ? S->wantedRateNext : 0;
    S->wantedRates[now] = frameRate;
    S->wantedRateNext = (now + 1) % 5;
    VECTOR3 out;
    for (int c = 0; c < 3; ++c) {
        double v[5];
        for (int k = 0; k < 5; ++k) v[k] = S->wantedRates[k].data[c];
        out.data[c] = Median5(v);
    }
    return out;
}

void ResetRateFilter(MfdState *S, int start) {
    for (VECTOR3 &s : S->samples) s = _V(0, 0, 0);
    for (VECTOR3 &r : S->wantedRates) r = _V(0, 0, 0);
    S->sampleCount = start;
    ChooseEulerConvention(S);
    if (S->holdOn) S->warmUp = true;
}

namespace {

double Aal(MfdState *S, int axis, double error, double rate, double deadband, double tc) {
    return AxisAttitudeLaw(S->profile, axis, 0.0, error, rate, deadband, tc);
}

// Roll command by roll mode: held like the other axes, rate nulled, or free.
double RollByMode(MfdState *S, double error, double rate, double deadband) {
    switch (S->rollMode) {
    case 0: return Aal(S, 2, error, rate, deadband, kHoldTimeConstant);
    case 1: return AxisRateDamp(S->profile, 2, rate, kRollRateDeadband);
    default: return 0.0;
    }
}

// Velocity mode with a pitch spin: pitch at a wanted rate, yaw first, bank held.
// The measured angular velocity turns the other way from the error rate, so it
// enters the laws negated, and the wanted rate W is in the error-rate sense.
// The pitch error grows without bound, so the angles must keep yaw and bank
// meaningful at any pitch: in convention 2 the pitch is the middle angle,
// singular at 90 degrees; in convention 0 of the error itself the pitch is the
// rotation nearest the vessel, so the yaw and bank axes turn with it and their
// corrections reverse beyond 90 degrees. Taking the convention-0 angles of the
// inverse error (negated) puts the pitch on the reference's side: yaw and bank
// are then about the vessel's own y and z axes, where the thrusters act.
VECTOR3 SpinCommands(MfdState *S, const Quat &q) {
    VECTOR3 cmd = _V(0, 0, 0);
    const double W = S->spinMode == 1 ? kRpmSpinRate : [&] {
        const double T = OrbitalPeriod(S, S->vessel->GetGravityRef());
        return T > 0.0 ? 4.0 * PI / T : 0.0;
    }();
    S->rollMode = 0;
    VECTOR3 omega;
    S->vessel->GetAngularVel(omega);
    const VECTOR3 rate = -omega;
    const VECTOR3 e = SpinErrorAngles(q);
    if (std::fabs(e.y) < kLargeErrorAngle) {
        cmd.x = AxisRateLaw(S->profile, 0, W, rate.x, kRollRateDeadband);
        cmd.z = Aal(S, 2, e.z, rate.z, S->attDeadband, kHoldTimeConstant);
    }
    cmd.y = Aal(S, 1, e.y, rate.y, S->attDeadband, kHoldTimeConstant);
    return cmd;
}

}  // namespace

VECTOR3 SpinErrorAngles(const Quat &q) { return -QuatToEuler(Quat{q.w, -q.x, -q.y, -q.z}, 0); }

VECTOR3 AttitudeController(MfdState *S) {
    VECTOR3 cmd = _V(0, 0, 0);
    const VECTOR3 w = S->errorRates;
    const Quat frame = QuatFromArray(S->frameNow);
    VECTOR3 e = S->attitudeAngles;
    Quat q = frame;
    AxisAngle aa;
    if (S->rollMode != 0) {
        q = QuatRemoveRoll(frame);
        e = QuatToEuler(q, S->eulerConvention);
        aa = QuatToAxisAngle(q);
    } else {
        aa = QuatToAxisAngle(frame);
    }
    // A spin value other than 1 or 2 wants no pitch rate: it counts as off.
    const bool spin = S->spinMode == 1 || S->spinMode == 2;
    const double pitchYaw = std::sqrt(S->attitudeAngles.x * S->attitudeAngles.x +
                                      S->attitudeAngles.y * S->attitudeAngles.y);
    if (!spin && pitchYaw > kLargeErrorAngle) {
        // Large error: turn about the error's axis at the rate limit.
        if (S->refMode == AP_LANDING) aa = QuatToAxisAngle(QuatRemoveRoll(frame));
        double r[3];
        for (int a = 0; a < 3; ++a) {
            r[a] = 10.0 * S->profile->rateLimit[a];
            if (r[a] > kSlewRateCap) r[a] = kSlewRateCap;
        }
        cmd.x = Aal(S, 0, r[0] * aa.x, w.x, kLargeErrorDeadband, kHoldTimeConstant);
        cmd.y = Aal(S, 1, r[1] * aa.y, w.y, kLargeErrorDeadband, kHoldTimeConstant);
        if (S->rollMode == 0)
            cmd.z = Aal(S, 2, r[2] * aa.z, w.z, kLargeErrorDeadband, kHoldTimeConstant);
        else if (S->rollMode == 1 || S->refMode == AP_LANDING)
            cmd.z = AxisRateDamp(S->profile, 2, w.z, kRollRateDeadband);
        return cmd;
    }
    switch (S->refMode) {
    case AP_VELOCITY:
        if (spin) return SpinCommands(S, q);
        // Without a spin Velocity mode holds like Relative and Attitude.
        [[fallthrough]];
    case AP_RELATIVE:
    case AP_ATTITUDE:
        cmd.x = Aal(S, 0, e.x, w.x, S->attDeadband, kHoldTimeConstant);
        cmd.y = Aal(S, 1, e.y, w.y, S->attDeadband, kHoldTimeConstant);
        cmd.z = RollByMode(S, e.z, w.z, S->attDeadband);
        break;
    case AP_DOCKING:
        if (S->ownPort != 0 && S->targetPort != 0) {
            cmd.x = Aal(S, 0, e.x, w.x, S->attDeadband, kHoldTimeConstant);
            cmd.y = Aal(S, 1, e.y, w.y, S->attDeadband, kHoldTimeConstant);
            cmd.z = RollByMode(S, e.z, w.z, S->attDeadband);
        } else {
            for (int a = 0; a < 2; ++a)
                cmd.data[a] = e.data[a] == 0.0 ? AxisRateDamp(S->profile, a, w.data[a], kRollRateDeadband)
                                               : Aal(S, a, e.data[a], w.data[a], kFineDeadband, kHoldTimeConstant);
            if (S->rollMode == 1) cmd.z = AxisRateDamp(S->profile, 2, w.z, kRollRateDeadband);
        }
        break;
    case AP_LANDING:
        for (int a = 0; a < 3; ++a) cmd.data[a] = Aal(S, a, e.data[a], w.data[a], kFineDeadband, kHoldTimeConstant);
        break;
    case AP_DIRECT_BURN:
        cmd.x = Aal(S, 0, e.x, w.x, kFineDeadband, kHoldTimeConstant);
        cmd.y = Aal(S, 1, e.y, w.y, kFineDeadband, kHoldTimeConstant);
        cmd.z = RollByMode(S, e.z, w.z, kFineDeadband);
        break;
    case AP_ASCENT:
        for (int a = 0; a < 3; ++a) cmd.data[a] = Aal(S, a, e.data[a], w.data[a], kFineDeadband, kAscentTimeConstant);
        break;
    default:
        break;
    }
    return cmd;
}

void CycleRollMode(MfdState *S) { S->rollMode = S->rollMode == 0 ? 1 : (S->rollMode == 1 ? 2 : 0); }

void CaptureCurrentAttitude(MfdState *S) { S->vessel->GetGlobalOrientation(S->refAtt); }

double OrbitalPeriod(const MfdState *S, OBJHANDLE body) {
    if (!body) return 0.0;
    ELEMENTS el;
    ORBITPARAM prm;
    std::memset(&prm, 0, sizeof(prm));
    if (!S->vessel->GetElements(body, el, &prm, 0.0, FRAME_ECL)) return 0.0;
    return std::isfinite(prm.T) && prm.T > 0.0 ? prm.T : 0.0;
}

void AlignToVelocity(MfdState *S) {
    const double T = OrbitalPeriod(S, S->bodyRef);
    const double rate = T > 0.0 ? PI2 / T : 0.0;
    VECTOR3 spin = _V(-rate, 0, 0);
    const char *cls = S->vessel->GetClassNameA();
    if (cls && std::strncmp(cls, "ProjectAlpha_ISS", 16) == 0) {
        S->relVel = -S->relVel;
        spin = _V(rate, 0, 0);
    }
    const VECTOR3 h = CrossProduct(S->relPos, S->relVel);
    S->vessel->SetGlobalOrientation(AxesToEuler(S->relVel, h, 0));
    S->vessel->SetAngularVel(spin);
}
