// Resuming a landing whose plan no longer fits the world.
#include "landing/resume.h"

#include <cmath>

#include "control/math.h"
#include "frame/state.h"
#include "landing/autopilot.h"
#include "landing/guidance.h"
#include "landing/planning.h"
#include "landing/step_values.h"

namespace {

// s: a trajectory whose start lies further ahead than this has not begun (the
// date went back under it). Saved dates carry about a tenth of a second.
const double kClockSlack = 1.0;
// s: how long a fresh trajectory is flown before its tracking is judged; its first
// seconds take out what the plan's start state missed of the vessel's.
const double kFreshPlan = 10.0;
// The engine group's acceleration grows as its tank empties: a plan made in flight
// may ask this much more than the engines give at its start.
const double kReachMargin = 1.25;

}  // namespace

bool PlanFits(const MfdState *S, const LandingStepValues &V) {
    const double te = (V.now - S->brakeStartMjd) * 86400.0;
    if (!(te >= -kClockSlack)) return false;
    if (te < kFreshPlan) return true;
    // The tracking corrections of this step (the guidance's own law).
    const double tau = std::fmax((S->landingConsts[1] - te) / 10.0 + 10.0, 1.0);
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
    W[10] = W[11] = W[12] = 0.0;
    W[13] = W[14] = 1.0;
    W[15] = S->landingConsts[2];
    return PlanWithinReach(S, V);
}

bool PlanWithinReach(MfdState *S, const LandingStepValues &V) {
    double largest = 0.0;
    CheckTrajectory(S, V.Rt, V.gT, 0.0, &largest);
    S->landingWork[8] = largest;
    S->landingValues[6] = FuelForDv(S->landingDv, V.isp, V.mass);
    // In flight the hover reserve may be spent: only a plan the tank cannot pay for
    // at all is refused.
    const bool fuel = FuelCovers(S, V, S->landingDv - kReserveHover * V.gT);
    const uint32_t reason = !(largest <= kReachMargin * V.amax) ? kLandOutOfReach : (!fuel ? kLandNoFuel : 0u);
    if (reason) {
        RefuseLanding(S, reason);
        return false;
    }
    S->landingFlags &= ~(kLandOutOfReach | kLandNoFuel);
    return true;
}

void ResumeAttitudeFrame(MfdState *S) {
    const int phase = S->landingPhase;
    if (phase != LANDING_BRAKE && phase != LANDING_APPROACH && phase != LANDING_FINAL) return;
    if (length(S->landingAttW) > 0.0 || !(length(S->refAtt) > 0.0)) return;
    S->landingAttW = MatVec(EulerToMatrix(S->refAtt), _V(0, 0, 1));
}
