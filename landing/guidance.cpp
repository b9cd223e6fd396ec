// Landing guidance laws and the thrust command.
#include "landing/guidance.h"

#include <cmath>

#include "control/attitude.h"
#include "control/math.h"
#include "control/profile.h"
#include "frame/state.h"
#include "landing/step_values.h"
#include "landing/trajectory.h"

namespace {

// rad/s: the fastest the landing's attitude frame turns about the vertical after
// the landing frame (a new target close by can turn it half round at once).
const double kFrameTurnRate = 5.0 * RAD;

// The pilot's stop tilts the thrust that carries the weight by at most this.
const double kStopTilt = 45.0 * RAD;

// The braking's lateral time constant is at least its remaining time over this.
const double kBrakeLateralSpread = 3.0;

// The final law's creep: a vessel short of the target and slower than this share
// of the law's own speed (it stopped there, or the air slowed it) is pushed on at
// up to kCreepAccel rather than left to hover short of the precision box.
const double kCreepShare = 0.5;
const double kCreepAccel = 0.1;  // m/s^2

double Clamp01(double x) { return x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x); }

// Elapsed and remaining time of the stored trajectory, s.
void TrajectoryClock(const MfdState *S, const LandingStepValues &V, double *te, double *tr) {
    *te = (V.now - S->brakeStartMjd) * 86400.0;
    *tr = S->landingConsts[LC_DURATION] - *te;
}

// The landing frame (w, n) turned about its vertical towards the attitude frame
// of the previous step, by what is left of their angle after this step's turn.
void AttitudeFrame(MfdState *S, const LandingStepValues &V, VECTOR3 *w, VECTOR3 *n) {
    *w = V.w;
    *n = V.n;
    const VECTOR3 prev = S->landingAttW;
    const double along = dotp(prev, V.w), across = dotp(prev, V.n);
    if (std::hypot(along, across) > 0.5) {
        double psi = std::atan2(across, along);
        const double turn = kFrameTurnRate * std::fmax(V.dt, 0.0);
        psi = psi > 0.0 ? std::fmax(psi - turn, 0.0) : std::fmin(psi + turn, 0.0);
        const double c = std::cos(psi), s = std::sin(psi);
        *w = V.w * c + V.n * s;
        *n = V.n * c - V.w * s;
    }
    S->landingAttW = *w;
}

}  // namespace

bool landingAeroRelief = true;

LandingCommand AeroRelief(const MfdState *S, const LandingStepValues &V, const MATRIX3 &frame, LandingCommand a) {
    // The air carries part of the command; the engines give the rest. The host
    // hands drag and lift over in the vessel's own axes, the command lives in the
    // landing frame, and no fixed pairing of the two holds through a descent: the
    // hold turns the engine group's axis onto the command, so the axis that faces
    // the braking is the hover engines' y axis or the main engine's z axis, and it
    // swings from along-track towards vertical as the vessel slows. So the forces
    // are turned through the vessel's attitude into the landing frame (the frame
    // the command direction is read in), and each component relieves the command
    // on the same axis: x the cross-track, y the vertical, z the along-track.
    VECTOR3 drag = _V(0, 0, 0), lift = _V(0, 0, 0);
    if (!S->vessel->GetDragVector(drag)) drag = _V(0, 0, 0);
    if (!S->vessel->GetLiftVector(lift)) lift = _V(0, 0, 0);
    if (!(V.mass > 0.0) || !(length(drag + lift) > 0.0)) return a;
    MATRIX3 R;
    S->vessel->GetRotationMatrix(R);
    const VECTOR3 aero = MatTVec(frame, MatVec(R, drag + lift)) / V.mass;
    a.cross -= aero.x;
    a.vertical -= aero.y;
    a.along -= aero.z;
    return a;
}

bool PrecisionBox(int precision, double *along, double *cross, double *speed) {
    static const double box[3][3] = {{15.0, 10.0, 1.0}, {5.0, 5.0, 0.6}, {1.0, 2.0, 0.5}};
    if (precision < 0 || precision > 2) return false;
    *along = box[precision][0];
    *cross = box[precision][1];
    *speed = box[precision][2];
    return true;
}

VECTOR3 ThrustAxisOffset(const MfdState *S, int group, const VECTOR3 &d) {
    VECTOR3 t = GroupThrustDirection(S->profile, group);
    if (length(t) <= 0.0) t = _V(0, 0, 1);
    MATRIX3 Rth = EulerToMatrix(DirToEuler(t, 0));
    if (S->invertRotation) {
        // A half turn about the thrust axis: the first two columns change sign.
        for (int row = 0; row < 3; ++row) {
            Rth.data[3 * row] = -Rth.data[3 * row];
            Rth.data[3 * row + 1] = -Rth.data[3 * row + 1];
        }
    }
    const MATRIX3 Rd = EulerToMatrix(DirToEuler(d, 0));
    return MatrixToEuler(MatMat(Rd, MatTranspose(Rth)), 0);
}

double ThrustAxisAlignment(const MfdState *S, int group, const VECTOR3 &d) {
    MATRIX3 R;
    S->vessel->GetRotationMatrix(R);
    const VECTOR3 axis = MatVec(R, GroupThrustDirection(S->profile, group));
    const VECTOR3 wanted = MatVec(EulerToMatrix(S->refAtt), d);
    const double la = length(axis), lw = length(wanted);
    return la > 0.0 && lw > 0.0 ? dotp(axis, wanted) / (la * lw) : 0.0;
}

LandingCommand TrackingGuidance(MfdState *S, LandingStepValues &V) {
    double te = 0.0, tr = 0.0;
    TrajectoryClock(S, V, &te, &tr);
    // The time constant stays positive when the hold is off and the clock runs on.
    const double tau = std::fmax(tr / 10.0 + 10.0, 1.0);

    double largest = 0.0;
    CheckTrajectory(S, V.Rt, V.gT, te, &largest);
    S->landingValues[LV_FUEL] = FuelForDv(S->landingDv, V.isp, V.mass);

    if (S->holdOn) {
        const double lead = S->landingPhase == LANDING_BRAKE ? S->landingParams[LP_BRAKE_LEAD] : S->landingParams[LP_APPROACH_LEAD];
        if (tr < lead || (V.vspeed > 0.0 && tr < 2.0 * lead))
            S->landingPhase = S->landingPhase == LANDING_BRAKE ? LANDING_REPLAN : LANDING_FINAL_START;
    }

    double x[3], z[3];
    AlongReference(S, te, x);
    HeightReference(S, te, z);
    LandingCommand a;
    const double kx = 2.0 * ((V.along - x[0]) / (tau * tau) + (V.closing - x[1]) / tau);
    const double kz = 2.0 * ((V.height - z[0]) / (tau * tau) + (V.vspeed - z[1]) / tau);
    S->landingWork[LW_FIX_ALONG] = kx;
    S->landingWork[LW_FIX_HEIGHT] = kz;
    a.along = x[2] - kx;
    a.vertical = z[2] + V.geff - kz;
    double cross = V.cross;
    double vl = V.ve * std::cos(V.bearing) - V.vn * std::sin(V.bearing);
    if (ApproachFromRest(S)) {
        // Flown over from a hover, the vessel keeps to the approach line: its
        // course says nothing of where it is going until it has some speed.
        cross = V.lineOffset;
        vl = V.lineRate;
    }
    double taul = std::fmax(tau, 10.0);
    // The braking takes the pass's miss out over the time it has left rather
    // than at once: turning the velocity sideways at orbital speed before the
    // braking has slowed it costs far more than tilting the braking itself.
    if (S->landingPhase == LANDING_BRAKE) taul = std::fmax(taul, tr / kBrakeLateralSpread);
    a.cross = -(cross / (taul * taul) + vl / taul);
    const double mag = std::sqrt(a.along * a.along + a.vertical * a.vertical + a.cross * a.cross);
    if (mag > 0.0) a.cross *= std::cos(std::fabs(a.along) / mag);
    Publish(S, V);
    return a;
}

LandingCommand FinalGuidance(MfdState *S, LandingStepValues &V) {
    // Hovering takes the gravity less the centrifugal relief of the vessel's own
    // turning with the planet (geff near the ground), not the bare gravity at the
    // target: over Mars the difference, 0.015 m/s^2, is enough to hold the
    // descent law in balance half a metre up, above the engine cut height, where
    // the lander hovers and drifts off the pad.
    const double hover = V.geff;
    LandingCommand a;
    // The braking takes the speed along the approach with its sign: a vessel that
    // drifts back against it (pulled back after passing the target) is not
    // braked the wrong way, which would speed it up without end.
    const double h = S->approachHeading;
    const double forward = V.ve * std::sin(h) + V.vn * std::cos(h);
    const bool stalled = V.along < 0.0 && forward < kCreepShare * -V.along / 20.0;
    a.along = std::fmin((-V.along / 10.0 - 2.0 * forward) / 10.0, stalled ? kCreepAccel : 0.0);
    double vw = std::fmin((S->landingParams[LP_END_HEIGHT] - V.height) / 10.0, 0.0);
    double ev = vw - V.vspeed;
    a.vertical = ev / 3.0 + hover;
    const double tau = V.closing > 0.0 ? std::fmax(std::fabs(V.along) / (10.0 * V.closing) + 10.0, 10.0) : 10.0;
    // The target's offset from the present course damps the drift across the
    // approach line while the vessel is short of the target: it is that drift's
    // rate times the distance to go over the ground speed. Past the target the
    // distance to go, and with it the term, changes sign: it would drive the
    // drift up (seen on Mars, where the final descent overshoots by a metre, as
    // 0.4 m/s sideways at touchdown). There the drift's own rate damps it.
    const double damping = V.along < 0.0 ? V.courseOffset : V.lineRate;
    a.cross = -2.0 * (V.cross / (tau * tau) + damping / tau);

    double boxAlong = 0.0, boxCross = 0.0, boxSpeed = 0.0;
    if (PrecisionBox(S->landingPrecision, &boxAlong, &boxCross, &boxSpeed) && std::fabs(V.along) < boxAlong &&
        std::fabs(V.cross) < boxCross && V.gs < boxSpeed)
        S->finalDescent = true;
    if (S->finalDescent) {
        vw = std::fmax(-V.height / 10.0, -3.0);
        ev = vw - V.vspeed;
        a.vertical = std::fmax(ev / 3.0 + hover, hover / 2.0);
    }
    V.ev = ev;
    return a;
}

void CommandOutput(MfdState *S, const LandingStepValues &V, LandingCommand a) {
    if (S->lockedOut) return;
    const int phase = S->landingPhase;
    if ((phase == LANDING_APPROACH || phase == LANDING_FINAL) && (S->landingFlags & kLandStopping)) {
        a.along = V.closing / -1.414;
        a.vertical = V.gT - V.vspeed;
        // The lateral speed itself: the cross-track offset is measured against the
        // course, which turns arbitrarily as the ground speed dies away, so its
        // rate jumps just when the vessel comes to a stop.
        a.cross = (V.ve * std::cos(V.bearing) - V.vn * std::sin(V.bearing)) / -1.414;
        // The weight is carried first: stopping tens of m/s at once would lay the
        // thrust nearly flat and drop the vessel while the hold turns it over.
        const double horizontal = std::hypot(a.along, a.cross), most = V.gT * std::tan(kStopTilt);
        if (horizontal > most) {
            a.along *= most / horizontal;
            a.cross *= most / horizontal;
        }
    }
    const VECTOR3 landingFrame = AxesToEuler(V.w, V.n, 0);
    if (landingAeroRelief) a = AeroRelief(S, V, EulerToMatrix(landingFrame), a);
    if (phase != LANDING_FINAL) {
        S->landingWork[LW_COMMAND_ALONG] = a.along;
        S->landingWork[LW_COMMAND_UP] = a.vertical;
        S->landingWork[LW_COMMAND_CROSS] = a.cross;
    }
    const double mag = std::sqrt(a.along * a.along + a.vertical * a.vertical + a.cross * a.cross);
    // The attitude follows the landing frame's heading gently; the command is
    // the same vector, taken in that frame.
    VECTOR3 w, n;
    AttitudeFrame(S, V, &w, &n);
    const double along = a.along * dotp(V.w, w) + a.cross * dotp(V.n, w);
    const double cross = a.along * dotp(V.w, n) + a.cross * dotp(V.n, n);
    const VECTOR3 d = mag > 0.0 ? _V(cross, a.vertical, along) / mag : _V(0, 1, 0);
    S->refAtt = AxesToEuler(w, n, 0);
    S->relAtt = ThrustAxisOffset(S, V.group, d);
    S->attitudeAngles = ErrorAnglesFromMatrix(S);

    double level = 0.0;
    if (phase == LANDING_FINAL) {
        level = V.amax > 0.0 ? Clamp01(a.vertical / V.amax) : 0.0;
    } else {
        const double r = V.amax > 0.0 ? std::fmin(mag / V.amax, 1.0) : 0.0;
        // Thrust is withheld while the thrust axis is far from the command. The
        // angle between the two is taken whole: an Euler triple can carry a large
        // error in its other two angles (a half turn in yaw and bank is a half turn
        // in pitch) while its first angle is small.
        level = Clamp01(r * std::fmax(ThrustAxisAlignment(S, V.group, d), 0.0));
    }
    if (S->holdOn) {
        S->vessel->SetThrusterGroupLevel(static_cast<THGROUP_TYPE>(V.group), level);
        S->enginesHeld |= 1u << V.group;
    }
}
