// The landing taken over from wherever the pilot flies, and handed back.
#include "landing/takeover.h"

#include <cmath>

#include "control/math.h"
#include "control/profile.h"
#include "frame/state.h"
#include "frame/terrain.h"
#include "landing/guidance.h"
#include "landing/planning.h"
#include "landing/refusal.h"
#include "landing/resume.h"
#include "landing/step_values.h"
#include "landing/trajectory.h"

namespace {

// s over which the hover hold takes out a vertical speed.
const double kHoverTau = 2.0;
// Least cosine of the thrust axis's tilt from the vertical the hover hold lifts on.
const double kHoverTilt = 0.5;
// Throttle change (0..1) by which the pilot is seen to take the throttle.
const double kPilotThrottle = 0.01;
// m over the ground within which the vessel is over the target's ground.
const double kOverTarget = 100.0;
// Share of the engine group's acceleration an approach planned from here may ask.
const double kApproachShare = 0.8;
// Share of the engine group's acceleration a stop of the sink may count on.
const double kSinkStopShare = 0.9;

double Clamp01(double x) { return x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x); }

// Level of group that carries the weight and takes out the vertical speed; 0 when
// the thrust axis leans too far from the vertical to lift.
double HoverLevelFor(const MfdState *S, const LandingStepValues &V) {
    MATRIX3 R;
    S->vessel->GetRotationMatrix(R);
    const VECTOR3 axis = MatVec(R, GroupThrustDirection(S->profile, V.group));
    const double la = length(axis), lr = length(V.r);
    const double lift = la > 0.0 && lr > 0.0 ? dotp(axis, V.r) / (la * lr) : 0.0;
    if (lift < kHoverTilt || !(V.amax > 0.0)) return 0.0;
    return Clamp01((V.geff - V.vspeed / kHoverTau) / (V.amax * lift));
}

}  // namespace

double ReleaseHeight(const LandingStepValues &V) {
    const double net = V.amax - V.geff;
    if (!(net > 0.0)) return 0.0;
    const double sink = std::fmax(-V.vspeed, 0.0), t = kPilotReaction;
    const double v1 = sink + V.geff * t;
    return sink * t + 0.5 * V.geff * t * t + v1 * v1 / (2.0 * net);
}

void UpdateHandOver(MfdState *S, const LandingStepValues &V) {
    const int phase = S->landingPhase;
    const bool down = V.onGround || phase == LANDING_LANDED || phase == LANDING_TOUCHDOWN;
    S->hoverGroup = V.group;
    S->hoverLevel = !down && V.hostHeight < ReleaseHeight(V) ? HoverLevelFor(S, V) : 0.0;
    if (!(S->landingFlags & kLandPilotHover) || S->holdOn) return;
    const THGROUP_TYPE g = static_cast<THGROUP_TYPE>(S->hoverGroup);
    const bool pilot = std::fabs(S->vessel->GetThrusterGroupLevel(g) - S->hoverSet) > kPilotThrottle;
    if (pilot || S->lockedOut || V.onGround) {
        // The pilot has the throttle, or the vessel stands: the hold ends.
        S->landingFlags &= ~kLandPilotHover;
        if (V.onGround && !pilot && !S->lockedOut) S->vessel->SetThrusterGroupLevel(g, 0.0);
        return;
    }
    const double level = HoverLevelFor(S, V);
    S->vessel->SetThrusterGroupLevel(g, level);
    S->hoverSet = level;
}

bool TakeoverStart(const MfdState *S, const LandingStepValues &V) {
    if (!S->holdOn || S->lockedOut || S->landingPhase != LANDING_WAIT) return false;
    // On the ground, or on a path into it: no pass of an orbit to wait for. An
    // arc that would still overfly the target is braked from here too, since a
    // braking planned for its pass cannot count on the ground staying clear.
    return V.onGround || V.prm.PeD < V.Rt;
}

bool EngagingTakeover(const MfdState *S) {
    if (!S->vessel || !S->holdOn || S->lockedOut) return false;
    if (S->vessel->GroundContact() || (S->vessel->GetFlightStatus() & 1) != 0) return true;
    const OBJHANDLE body = S->vessel->GetGravityRef();
    ELEMENTS el;
    ORBITPARAM prm;
    if (!body || !S->vessel->GetElements(body, el, &prm, 0, FRAME_EQU)) return false;
    return prm.PeD < oapiGetSize(body) + S->elevation;
}

bool TakeOverFromHere(MfdState *S, LandingStepValues &V) {
    S->landingAttW = _V(0, 0, 0);  // the landing frame is taken up as it is
    S->landingWork[LW_PASS_TIME] = 0.0;  // no pass of an orbit is waited for
    const double sink = std::fmax(-V.vspeed, 0.0), net = kSinkStopShare * V.amax - V.geff;
    if (!V.onGround && (!(net > 0.0) || sink * sink / (2.0 * net) > std::fmax(V.hostHeight, 0.0))) {
        RefuseLanding(S, kLandTooFastLow);
        return false;
    }
    // What the planning of an orbit's pass found is no matter here.
    S->landingFlags &= ~(kLandTooFastLow | kLandDetNegative | kLandBtNegative | kLandTooLate | kLandAlignment |
                         kLandBeyondOrbit);
    S->landingParams[LP_END_HEIGHT] = kApproachEndHeight;
    double boxAlong = 0.0, boxCross = 0.0, boxSpeed = 0.0;
    const bool box = PrecisionBox(S->landingPrecision, &boxAlong, &boxCross, &boxSpeed);
    if (!V.onGround && box && std::fabs(V.along) < boxAlong && std::fabs(V.cross) < boxCross && V.gs < boxSpeed) {
        S->landingPhase = LANDING_FINAL_START;  // over the target: set down from here
        return true;
    }
    // The approach flown from here (it costs less than braking to the gate first)
    // while its first deceleration, the largest of its plan, leaves the engines a
    // margin over the weight; from rest or inside the gate always.
    const GateState gate = FinalApproachGate(S, V.gT);
    double a0 = 0.0;
    const bool gentle =
        SolveApproachAccel(V.along, S->landingParams[LP_END_ALONG], V.closing, S->landingParams[LP_END_CLOSING], &a0) &&
        std::hypot(a0, V.geff) <= kApproachShare * V.amax;
    if (V.onGround || V.along > gate.x || V.closing < gate.v || gentle) {
        S->landingPhase = LANDING_REPLAN;
        return true;
    }
    // Too fast for that: a braking to the gate, starting now.
    S->landingPhase = LANDING_BRAKE_NOW;
    return ReplanBraking(S, V);
}

void TrustHostGround(MfdState *S, LandingStepValues &V) {
    S->groundOffset = S->elevation - TargetElevation(V.body, S->targetLon, S->targetLat);
    if (std::fabs(S->groundOffset) > kGroundAgree)
        S->landingFlags |= kLandGroundDiffers;
    else
        S->landingFlags &= ~kLandGroundDiffers;
    const int phase = S->landingPhase;
    if (phase != LANDING_FINAL_START && phase != LANDING_FINAL) return;
    if (V.dist < kOverTarget && std::fabs(V.hostHeight - V.height) > kGroundAgree) V.height = V.hostHeight;
}

bool LiftingOff(const MfdState *S) {
    const int phase = S->landingPhase;
    return S->refMode == AP_LANDING && S->holdOn && !S->lockedOut && phase >= LANDING_BRAKE &&
           phase <= LANDING_APPROACH;
}

bool ResumeStoppedDescent(MfdState *S) {
    if (!(S->landingFlags & kLandStopping) || !S->holdOn) return false;
    S->landingFlags &= ~kLandStopping;
    S->landingRefusal = 0;
    if (S->landingPhase == LANDING_APPROACH) {
        S->landingPhase = LANDING_REPLAN;
        S->landingParams[LP_END_HEIGHT] = kApproachEndHeight;
    }
    return true;
}
