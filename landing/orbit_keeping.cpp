// Keeping the orbit against the air while the landing waits for its pass. The
// pass is predicted on the orbit as it is, without drag; a low orbit over air
// sinks under that prediction, slowly at first and then, as the air thickens,
// fast enough to take the lowest point into the ground before the pass comes.
// Making good the speed the air takes keeps the orbit the plan was made for.
#include "landing/orbit_keeping.h"

#include <cmath>

#include "control/math.h"
#include "frame/state.h"
#include "landing/guidance.h"
#include "landing/planning.h"
#include "landing/refusal.h"
#include "landing/step_values.h"
#include "landing/trajectory.h"

namespace {

// kg/m^3: air this dense at an orbit's lowest point brings the orbit down within
// about a revolution (Mars's air at 80 km, the Earth's at 96 km).
const double kDenseAir = 1.5e-5;
// m/s of lost speed made good in one burn, and where the burn ends.
const double kKeepLeast = 2.0;
const double kKeepDone = 0.1;
// rad from the orbit's highest point within which the drag lowers the orbit's
// lowest point (it takes the highest point down where it acts near the lowest),
// and within which a burn starts, raising the lowest point back; on an orbit
// round enough that its air is less than kRoundAir times as dense at the lowest
// point as at the highest, anywhere.
const double kKeepWindow = 45.0 * RAD;
const double kRoundAir = 2.718;
// s allowed for turning the engines onto the burn: none starts closer to the brake.
const double kKeepTurn = 90.0;
// Cosine of the largest angle between the engines and the burn they fire at.
const double kKeepAligned = 0.996;
// s: the loss is taken out with this time constant, or over one step if longer.
const double kKeepTau = 1.0;
// The fuel check counts the drag's loss until the pass this many times over: the
// drag changes with the attitude, and a kept orbit still sinks between burns.
const double kKeepDvMargin = 2.0;

// J/kg: the orbit's specific energy.
double Energy(const LandingStepValues &V) { return 0.5 * dotp(V.v, V.v) - V.mu / length(V.r); }

// m from the body's centre: the lowest point of the orbit once dv (m/s) is taken
// off the speed here. Drag acting here lowers the far side of the orbit.
double PeriapsisSlowed(const LandingStepValues &V, double dv) {
    const double speed = length(V.v);
    const VECTOR3 v = V.v * (std::fmax(speed - dv, 0.0) / speed);
    const double r = length(V.r), h = length(CrossProduct(V.r, v));
    const double energy = 0.5 * dotp(v, v) - V.mu / r;
    const double e = std::sqrt(std::fmax(0.0, 1.0 + 2.0 * energy * h * h / (V.mu * V.mu)));
    return h * h / V.mu / (1.0 + e);
}

// kg/m^3 of the body's air at a radius (m from its centre).
double DensityAt(const LandingStepValues &V, double radius) {
    ATMPARAM prm{0.0, 0.0, 0.0};
    oapiGetPlanetAtmParams(V.body, radius, &prm);
    return prm.rho;
}

// m/s^2: the deceleration of the drag on the vessel now.
double DragDecel(const MfdState *S, const LandingStepValues &V) {
    VECTOR3 D = _V(0, 0, 0);
    if (!S->vessel->GetDragVector(D) || !(V.mass > 0.0)) return 0.0;
    return length(D) / V.mass;
}

// The vessel is where the drag lowers the orbit's lowest point (see kKeepWindow).
bool NearHighest(const LandingStepValues &V) {
    return std::fabs(PI - V.prm.TrA) < kKeepWindow ||
           DensityAt(V, V.prm.PeD) < kRoundAir * DensityAt(V, V.prm.ApD);
}

void Forget(MfdState *S) {
    S->keepingOrbit = S->keepBurning = false;
    S->keepEnergy = 0.0;
}

// The burn of dv (m/s) along the velocity, flown as a command under the active
// time-acceleration limit; thrust only once the engines point along it, so no
// turn on the way pushes the orbit sideways.
void Burn(MfdState *S, LandingStepValues &V, double dv) {
    const VECTOR3 up = CrossProduct(V.w, V.n), dir = unit(V.v);
    const double a = dv / std::fmax(kKeepTau, V.dt);
    V.trimming = true;
    CommandOutput(S, V, LandingCommand{dotp(dir, V.w) * a, dotp(dir, up) * a, dotp(dir, V.n) * a});
    const VECTOR3 wanted = MatTVec(EulerToMatrix(S->refAtt), dir);
    if (S->holdOn && ThrustAxisAlignment(S, V.group, wanted) < kKeepAligned)
        S->vessel->SetThrusterGroupLevel(static_cast<THGROUP_TYPE>(V.group), 0.0);
}

}  // namespace

void KeepOrbit(MfdState *S, LandingStepValues &V) {
    const double tp = S->landingWork[LW_PASS_TIME], speed = length(V.v);
    const bool waiting = S->holdOn && !S->lockedOut && S->landingPhase == LANDING_WAIT;
    if (S->engaging || !waiting || !(tp > 0.0) || !(speed > 0.0) || !(V.el.e < 1.0) ||
        !oapiPlanetHasAtmosphere(V.body)) {
        Forget(S);
        return;
    }
    if (V.trimming) return;  // the efficient descent's trim has the engines this step
    const double drag = DragDecel(S, V);
    if (!S->keepingOrbit) {
        // The orbit is kept from the moment the drag measured now where it lowers
        // the orbit, acting until the pass, would take its lowest point from clear
        // air into dense air.
        const double foreseen = PeriapsisSlowed(V, drag * tp);
        if (!NearHighest(V) || !(DensityAt(V, V.prm.PeD) < kDenseAir) || !(DensityAt(V, foreseen) >= kDenseAir))
            return;
        S->keepingOrbit = true;
        S->keepEnergy = Energy(V);
    }
    const double lost = std::fmax((S->keepEnergy - Energy(V)) / speed, 0.0);
    const double keepDv = lost + kKeepDvMargin * drag * tp;
    S->landingValues[LV_FUEL] = FuelForDv(S->landingDv + keepDv, V.isp, V.mass);
    if (!FuelCovers(S, V, S->landingDv + kFuelMarginDv + keepDv)) {
        // Told in orbit, while the pilot can still raise it.
        RefuseLanding(S, kLandNoFuel);
        Forget(S);
        return;
    }
    const double tb = (S->brakeStartMjd - V.now) * 86400.0;
    if (!(tb > lost / V.amax + kKeepTurn) || lost < kKeepDone)
        S->keepBurning = false;
    else if (!S->keepBurning)
        S->keepBurning = lost >= kKeepLeast && NearHighest(V);
    if (S->keepBurning) Burn(S, V, lost);
}
