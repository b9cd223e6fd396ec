// Resuming a landing whose plan no longer fits the world.
#include "landing/resume.h"

#include <cmath>

#include "control/math.h"
#include "frame/state.h"
#include "landing/efficient.h"
#include "landing/planning.h"
#include "landing/refusal.h"
#include "landing/step_values.h"
#include "landing/trajectory.h"

namespace {

// s: a trajectory whose start lies further ahead than this has not begun (the
// date went back under it). Saved dates carry about a tenth of a second.
const double kClockSlack = 1.0;
// s: how long a fresh trajectory is flown before its tracking is judged; its first
// seconds take out what the plan's start state missed of the vessel's.
const double kFreshPlan = 10.0;
// m/s: the fastest sink of the final descent (it takes a tenth of the height a
// second, at most this).
const double kFinalSink = 3.0;

}  // namespace

bool PlanFits(const MfdState *S, const LandingStepValues &V) {
    if (EfficientLawInFlight(S, V)) return EfficientPlanFits(S, V);
    const double te = (V.now - S->brakeStartMjd) * 86400.0;
    if (!(te >= -kClockSlack)) return false;
    if (te < kFreshPlan) return true;
    // The tracking corrections of this step (the guidance's own law).
    const double tau = std::fmax((S->landingConsts[LC_DURATION] - te) / 10.0 + 10.0, 1.0);
    double x[3], z[3];
    AlongReference(S, te, x);
    HeightReference(S, te, z);
    const double kx = 2.0 * ((V.along - x[0]) / (tau * tau) + (V.closing - x[1]) / tau);
    const double kz = 2.0 * ((V.height - z[0]) / (tau * tau) + (V.vspeed - z[1]) / tau);
    return std::hypot(kx, kz) <= V.amax;
}

bool ReplanBraking(MfdState *S, LandingStepValues &V) {
    if (!BrakingPlan(S, V, 0.0)) {
        // No braking from here stops at the target (it lies behind, say).
        S->landingFlags |= kLandOutOfReach;
        S->landingRefusal |= kLandOutOfReach;
        return false;
    }
    S->brakeStartMjd = V.now;
    S->landingPhase = LANDING_BRAKE;
    double *W = S->landingWork;
    W[LW_FIX_ALONG] = W[LW_FIX_HEIGHT] = W[LW_GRAPH_T0] = 0.0;
    W[LW_GRAPH_KY] = W[LW_GRAPH_KX] = 1.0;
    W[LW_GRAPH_LEFT] = S->landingConsts[LC_ALONG];
    return EfficientLawInFlight(S, V) ? EfficientWithinReach(S, V) : PlanWithinReach(S, V);
}

void ResumeAttitudeFrame(MfdState *S) {
    const int phase = S->landingPhase;
    if (phase != LANDING_BRAKE && phase != LANDING_APPROACH && phase != LANDING_FINAL) return;
    if (length(S->landingAttW) > 0.0 || !(length(S->refAtt) > 0.0)) return;
    S->landingAttW = MatVec(EulerToMatrix(S->refAtt), _V(0, 0, 1));
}

bool EndStopBeforeTheTankRunsDry(MfdState *S, const LandingStepValues &V) {
    const int phase = S->landingPhase;
    if (!(S->landingFlags & kLandStopping) || !S->holdOn || S->lockedOut) return false;
    if (phase != LANDING_APPROACH && phase != LANDING_FINAL) return false;
    // A crossing from the hover, the descent from its height, the hover reserve.
    const double t = std::fmax(RestApproachTime(S, V), 0.0) + std::fmax(V.height, 0.0) / kFinalSink;
    if (FuelCovers(S, V, (t + kReserveHover) * V.gT)) return false;
    S->landingFlags &= ~kLandStopping;
    if (phase == LANDING_FINAL) {
        // Farther off the final law hands the vessel to a fresh approach itself.
        const double reach = 2.0 * std::fabs(S->landingParams[LP_END_ALONG]);
        S->finalDescent = std::fabs(V.along) <= reach && std::fabs(V.cross) <= reach;
        return false;
    }
    S->landingPhase = LANDING_REPLAN;
    return true;
}
