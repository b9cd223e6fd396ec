// The efficient descent's law: thrust quadratic in time to a fixed end, closed on
// the present state every step, and the final descent at a steady deceleration.
#include "landing/efficient.h"

#include <cmath>

#include "control/math.h"
#include "frame/state.h"
#include "landing/step_values.h"
#include "landing/trajectory.h"

namespace {

// s: the law is never solved for less time to go than this (its gains grow as
// the square of the inverse); the phase moves on before.
const double kLeastTimeToGo = 1.0;
// s: a law whose start lies further ahead has not begun (a date went back).
const double kLawClockSlack = 1.0;
// s: a fresh law is flown this long before it is judged.
const double kFreshLaw = 10.0;
// A law in flight that asks more than this share of the engine group's
// acceleration no longer fits the state: it is planned afresh from here.
const double kFitShare = 1.25;
// s: time constant of the final descent's sink-rate hold, and of its hold over
// the target; the largest sideways acceleration of that hold, as a share of the
// weight it carries.
const double kSinkTau = 1.5;
const double kHoldTau = 5.0;
const double kHoldTilt = 0.3;
// The host reports contact with the touchdown points up to this high (m), and
// the engines cut then: the sink there and the fall from there must stay under
// kContactFall (m/s). On the Moon the touchdown sink keeps well inside it; under
// Mars's gravity a fall of 0.1 m alone adds 0.86 m/s, and arriving at the
// touchdown sink it ended at 1 m/s.
const double kContactGap = 0.1;
const double kContactFall = 0.9;

double Sq(double x) { return x * x; }

// Time since the stored law's start and what is left of it, s.
void LawClock(const MfdState *S, const LandingStepValues &V, double *te, double *tr) {
    *te = (V.now - S->brakeStartMjd) * 86400.0;
    *tr = S->landingConsts[LC_DURATION] - *te;
}

// The end the stored trajectory flies to.
PlaneEnd StoredEnd(const MfdState *S) {
    const double T = S->landingConsts[LC_DURATION];
    double x[3], z[3];
    AlongReference(S, T, x);
    HeightReference(S, T, z);
    return PlaneEnd{x[0], z[0], x[1], z[1], x[2], z[2]};
}

// The vessel in the approach plane. While braking, across is measured against
// the line of sight to the target (the vessel is on it; its sideways speed is
// what turns it off); on the approach, against the approach line.
PlaneState PresentState(const MfdState *S, const LandingStepValues &V) {
    PlaneState s{V.along, V.height, V.closing, V.vspeed, 0.0, 0.0};
    if (S->landingPhase == LANDING_BRAKE) {
        s.vy = V.ve * std::cos(V.bearing) - V.vn * std::sin(V.bearing);
    } else {
        s.v = ForwardSpeed(S, V);
        s.y = V.lineOffset;
        s.vy = V.lineRate;
    }
    return s;
}

LawBody BodyOf(const MfdState *S, const LandingStepValues &V) {
    LawBody b = BodyAt(V, V.r, V.v, V.closing);
    b.drag = AirDrag(S, V);
    return b;
}

}  // namespace



LandingCommand EfficientGuidance(MfdState *S, LandingStepValues &V) {
    double te = 0.0, tr = 0.0;
    LawClock(S, V, &te, &tr);
    const bool braking = S->landingPhase == LANDING_BRAKE;
    if (S->holdOn) {
        if (braking && tr < kBrakeLead) S->landingPhase = LANDING_REPLAN;
        if (!braking && tr < kApproachLead) S->landingPhase = LANDING_FINAL_START;
    }
    const PlaneState s = PresentState(S, V);
    const LawBody b = BodyOf(S, V);
    const double T = std::fmax(tr, kLeastTimeToGo);
    const PlaneEnd e = StoredEnd(S);
    const ThrustLaw L = DescentLaw(s, e, T, b);
    const LawCost c = CostOfLaw(L, s, e, T, b, V.mass, V.thrust, V.isp);
    // What follows the law: from the approach gate the approach and the final
    // descent, from the approach's end the final descent; and the reserve.
    const double tail = braking ? ApproachDv(e, b, V.mass * std::exp(-c.dv / V.isp), V.thrust, V.isp)
                                : FinalDescentDv(V.gT);
    S->landingDv = c.dv + tail + kEfficientReserve * V.gT;
    S->landingValues[LV_FUEL] = FuelForDv(S->landingDv, V.isp, V.mass);
    S->landingWork[LW_FIX_ALONG] = S->landingWork[LW_FIX_HEIGHT] = 0.0;
    // In the air the law asks less as the air brakes: what it asks from here on
    // decides whether it is planned afresh (landing/efficient_air.cpp).
    if (b.drag > 0.0) S->landingWork[LW_ACCEL_LARGEST] = c.share * V.amax;
    Publish(S, V);
    // On the approach the engines always lift: a law that asks the vessel to fall
    // faster than it would (down from a high hover, say) would turn it over.
    const double up = braking ? L.u0[1] : std::fmax(L.u0[1], kLeastLift * V.geff);
    return LandingCommand{L.u0[0], up, L.u0[2]};
}

LandingCommand DescentTracking(MfdState *S, LandingStepValues &V) {
    return EfficientLawInFlight(S, V) ? ThroughAir(S, V, EfficientGuidance(S, V)) : TrackingGuidance(S, V);
}

void EfficientFinalVertical(MfdState *S, LandingStepValues &V, LandingCommand *a) {
    const double k = kDescentDecelShare * V.gT;
    // Before the precision box the descent stops at a waiting height; inside it,
    // it goes on to the ground, arriving at the touchdown sink.
    const double floor = S->finalDescent ? 0.0 : kWaitHeight;
    // The profile's sink at the contact height, and the fall from there, within kContactFall.
    const double contact = std::sqrt(std::fmax(Sq(kContactFall) - 2.0 * (V.geff + k) * kContactGap, 0.0));
    const double last = S->finalDescent ? std::fmin(kTouchdownSink, contact) : 0.0;
    const double above = std::fmax(V.height - floor, 0.0);
    const double fast = std::sqrt(last * last + 2.0 * k * above);
    const double vw = -std::fmin(fast, kMostSink);
    // The profile's own deceleration while it slows (not on its capped part).
    const double lead = fast < kMostSink && above > 0.0 ? k : 0.0;
    const double ev = vw - V.vspeed;
    a->vertical = std::fmax(V.geff + lead + ev / kSinkTau, V.geff / 2.0);
    V.ev = ev;
    // Over the target the vessel is held there both ways, critically damped: it
    // arrives slowly but with the approach's last tilt, which would carry it off.
    const double fwd = ForwardSpeed(S, V), most = kHoldTilt * V.geff;
    double along = -(V.along / (kHoldTau * kHoldTau) + 2.0 * fwd / kHoldTau);
    double cross = -(V.lineOffset / (kHoldTau * kHoldTau) + 2.0 * V.lineRate / kHoldTau);
    const double side = std::hypot(along, cross);
    if (side > most) {
        along *= most / side;
        cross *= most / side;
    }
    a->along = along;
    a->cross = cross;
}

bool EfficientPlanFits(const MfdState *S, const LandingStepValues &V) {
    double te = 0.0, tr = 0.0;
    LawClock(S, V, &te, &tr);
    if (!(te >= -kLawClockSlack)) return false;
    if (te < kFreshLaw || tr < kLeastTimeToGo) return true;
    if (AirDrag(S, V) > 0.0) return true;
    const ThrustLaw L = DescentLaw(PresentState(S, V), StoredEnd(S), tr, BodyOf(S, V));
    // The law is the engines' part (the air's braking foreseen); never forward in air.
    const double along = AirDrag(S, V) > 0.0 ? std::fmin(L.u0[0], 0.0) : L.u0[0];
    return std::sqrt(Sq(along) + Sq(L.u0[1]) + Sq(L.u0[2])) <= kFitShare * V.amax;
}
