// The efficient descent's orbit trim: while waiting for the pass, a burn a
// quarter of an orbit ahead of it turns the orbit's plane over the target and
// brings a high pass down, where a braking would pay many times as much for both.
#include <cmath>

#include "control/math.h"
#include "frame/state.h"
#include "landing/efficient.h"
#include "landing/planet.h"
#include "landing/step_values.h"

namespace {

// rad of orbit between the vessel and the pass within which the trim burns: it
// waits for the nearer end (a sideways burn moves the pass most a quarter orbit
// ahead of it), and gives up after the farther one (it would cost too much).
const double kTrimEarliest = 100.0 * RAD;
const double kTrimLatest = 20.0 * RAD;
// m/s: a trim smaller than this is not flown.
const double kTrimLeast = 1.0;
// s allowed for turning the engines onto the trim.
const double kTrimTurn = 90.0;
// The pass is brought down only from this far ahead (closer, the orbit's lowest
// point would fall well past the pass, and lower), and never so far that the
// orbit's lowest point comes below kTrimFloor of the body's radius.
const double kTrimDownLatest = 60.0 * RAD;
const double kTrimFloor = 0.005;
// rad: over air the trim waits until the pass is this near.
const double kTrimAirEarliest = 75.0 * RAD;
// Share of the engine group's acceleration the air's braking may reach for the
// trim still to fire.
const double kTrimAirShare = 0.001;
// Cosine of the largest angle between the engines and the burn they fire at.
const double kTrimAligned = 0.996;
// s: the trim's delta-v is taken out with this time constant at its end.
const double kTrimTau = 1.0;

// Halvings in the search for the largest share of a trim's radial part that
// keeps the orbit's lowest point above the floor.
const int kFloorHalvings = 12;

double Clamp(double x, double lo, double hi) { return x < lo ? lo : (x > hi ? hi : x); }

// m from the body's centre: the lowest point of the orbit the vessel is on once
// an impulse dv (m/s) is added to its velocity now.
double PeriapsisAfter(const LandingStepValues &V, const VECTOR3 &dv) {
    const VECTOR3 v = V.v + dv;
    const double r = length(V.r), h = length(CrossProduct(V.r, v));
    if (!(r > 0.0) || !(V.mu > 0.0)) return 0.0;
    const double energy = 0.5 * dotp(v, v) - V.mu / r;
    const double e = std::sqrt(std::fmax(0.0, 1.0 + 2.0 * energy * h * h / (V.mu * V.mu)));
    return h * h / V.mu / (1.0 + e);
}

}  // namespace

bool TrimNeeded(MfdState *S, LandingStepValues &V, double tb, VECTOR3 *dv, double *low, TrimWhen when) {
    const double tp = S->landingWork[LW_PASS_TIME];
    // Once in the air the orbit is no longer the one the trim was made for: the
    // drag lowers it every moment, and a trim chasing it would turn the vessel
    // back and forth on its attitude thrusters. The air is judged from its
    // density where the vessel is: the drag measured turns with the attitude the
    // waiting plan sets, and judged so it let the trim in and out every other
    // step, the plan with it, and the turns spent the attitude thrusters' tank.
    if (!(tp > 0.0) || !(V.amax > V.gT) || AirShareAt(V, length(V.r), V.gs) >= kTrimAirShare) return false;
    VECTOR3 rp, vp;
    if (!PropagateOrbit(V.body, V.el, V.prm, tp, rp, vp, S->nonspherical)) return false;
    VECTOR3 rt = _V(S->targetLon, S->targetLat, V.Rt), vt = _V(0, 0, 0);
    SphericalToCartesian(rt, vt);
    PlanetToGlobal(V.body, rt, vt, false, tp);
    const double r = length(V.r), speed = length(V.v);
    const VECTOR3 normal = CrossProduct(rp, vp);
    if (!(r > 0.0) || !(speed > 0.0) || !(length(normal) > 0.0)) return false;
    double angle = std::acos(Clamp(dotp(V.r, rp) / (r * length(rp)), -1.0, 1.0));
    // The angle is the one ahead: a pass more than half an orbit on lies behind
    // the plane through the vessel and the orbit's axis.
    // A pass more than half an orbit away in time (the one after the next, say)
    // is not ahead within this orbit, whatever its angle. Over air the trim is
    // flown only where it also brings the pass down, and not far ahead: from the
    // trim on the orbit dips into the air and decays.
    const bool ahead = dotp(CrossProduct(V.r, rp), CrossProduct(V.r, V.v)) > 0.0 && tp * speed / r < PI;
    const bool airy = oapiPlanetHasAtmosphere(V.body);
    const double earliest = airy ? kTrimAirEarliest : kTrimEarliest, latest = airy ? kTrimDownLatest : kTrimLatest;
    // A pass farther on than the burn's window is trimmed once the window opens:
    // planned, it costs what it will cost there.
    if ((!ahead || angle > earliest) && when == TRIM_TO_COME) angle = earliest;
    else if (!ahead || angle > earliest || angle < latest) return false;

    // Sideways: an impulse across the plane moves the track at the pass by
    // r sin(angle) times its share of the speed.
    const double miss = dotp(rt - rp, unit(normal));
    const double across = miss * speed / (r * std::sin(angle));
    // Down: an impulse along the radius lowers the orbit by r times its share of
    // the speed at a quarter orbit after it, by sin(angle) of that at the pass.
    // A pass too high for the braking law to start without diving is brought
    // down to where it need not, never taking the orbit's lowest point below
    // kTrimFloor of the radius (a braking that never starts leaves it in orbit).
    const double height = length(rp) - V.Rt, floor = std::fmax(kTrimFloor * V.Rt, AirFloor(V, V.gs));
    double down = 0.0;
    if (angle >= kTrimDownLatest) {
        down = std::fmin(std::fmax(LevelBrakeHeight(S, V), floor) - height, 0.0);
        down = std::fmax(down, (floor - height) * std::sin(angle));
    }
    // The sine rule holds for a pass that is the orbit's lowest point; the orbit
    // the vessel is on may already reach lower elsewhere (an eccentric orbit,
    // or a trim under way). So the radial part is cut to what keeps the lowest
    // point of the orbit it leaves above the floor, over the higher of the
    // target's level and the body's mean radius.
    const VECTOR3 side = unit(normal) * across, radial = V.r / r * (down * speed / (r * std::sin(angle)));
    const double lowest = std::fmax(V.Rt, oapiGetSize(V.body)) + floor;
    double share = 1.0;
    if (down < 0.0 && PeriapsisAfter(V, side + radial) < lowest) {
        double lo = 0.0, hi = 1.0;
        for (int i = 0; i < kFloorHalvings; ++i) {
            const double mid = 0.5 * (lo + hi);
            (PeriapsisAfter(V, side + radial * mid) < lowest ? hi : lo) = mid;
        }
        share = lo;
    }
    *low = height + down * share;
    *dv = side + radial * share;
    // The trim is flown only when it can be done before the braking starts.
    const double burn = length(*dv) / (kPlanThrustShare * V.amax) + kTrimTurn;
    return length(*dv) > kTrimLeast && tb > burn;
}

bool EfficientTrim(MfdState *S, LandingStepValues &V, double tb) {
    VECTOR3 dv;
    double low = 0.0;
    if (!TrimNeeded(S, V, tb, &dv, &low, TRIM_NOW)) return false;

    // The burn in the landing frame, flown as a command.
    const VECTOR3 up = CrossProduct(V.w, V.n);
    const LandingCommand a{dotp(dv, V.w) / kTrimTau, dotp(dv, up) / kTrimTau, dotp(dv, V.n) / kTrimTau};
    V.trimming = true;
    CommandOutput(S, V, a);
    // Thrust only once the engines point along the burn: a turn on the way would
    // push the orbit where nothing takes it back out.
    const double mag = std::sqrt(a.along * a.along + a.vertical * a.vertical + a.cross * a.cross);
    const VECTOR3 d = _V(a.cross, a.vertical, a.along) / mag;
    if (S->holdOn && ThrustAxisAlignment(S, V.group, d) < kTrimAligned)
        S->vessel->SetThrusterGroupLevel(static_cast<THGROUP_TYPE>(V.group), 0.0);
    return true;
}
