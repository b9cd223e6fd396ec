// One landing: the dispersed orbit is built backwards from the pass over the
// pad, the pilot selects Landing, the base, the pad and HOLD, asks for the time
// acceleration, and the flight runs until the lander is down or let go.
#include "campaign/fly.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "frame/state.h"
#include "landing/autopilot.h"
#include "landing/guidance.h"
#include "mfd/tessarc_mfd.h"
#include "sim/orbit.h"
#include "sim/simmath.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace campaign {

namespace {

const double kAfterLetGo = 120.0;    // s watched after the autopilot lets go in flight
const double kSettle = 20.0;         // s run on after the first contact
const double kMargin = 2400.0;       // s allowed past the planned pass
const double kSafePeriapsis = 1000.0;  // m above the mean radius: a vessel left in a safe orbit

// Status texts the Landing page may show; the first found on the screen is the reason.
const char *const kStatusTexts[] = {
    "no attitude propellant", "pass too close to brake", "pass beyond one orbit", "not enough fuel",
    "alignment not valid", "DANGER:collision trajectory", "no thrust available", "stopping descent",
    "eccentricity too high", "target vessel not landed", "det negative", "bt negative", "target not valid",
    "target vessel not valid", "no base on gravity ref", "critical landing phase", "WARNING:trajectory too low",
    "Landing complete", "Touchdown:applying full brakes", "no error", "target out of reach",
    "hard contact at touchdown", "too fast, too low to stop", "elevation is off host ground",
};

double EngineLevel(VESSEL *v) {
    return std::fmax(v->GetThrusterGroupLevel(THGROUP_MAIN), v->GetThrusterGroupLevel(THGROUP_HOVER));
}

// The lander's state (centred on the body, global axes) at simt 0 for an orbit that
// passes the pad at simt tPass with the start's geometry.
void OrbitThroughPass(const Start &s, const sim::Body &body, double padLon, double padLat, double tPass,
                      VECTOR3 *pos, VECTOR3 *vel) {
    const MATRIX3 M = body.rotationMatrix(tPass);
    const VECTOR3 up = mul(M, sim::equToUnit(padLon, padLat));
    const VECTOR3 north = mul(M, _V(-std::sin(padLat) * std::cos(padLon), std::cos(padLat),
                                    -std::sin(padLat) * std::sin(padLon)));
    const VECTOR3 east = mul(M, _V(-std::sin(padLon), 0, std::cos(padLon)));
    const VECTOR3 track = north * std::cos(s.heading) + east * std::sin(s.heading);
    const VECTOR3 side = crossp(up, track);
    const double delta = s.crossRange / body.radius;
    const VECTOR3 p = up * std::cos(delta) + side * std::sin(delta);
    const VECTOR3 d = unit(track - p * dotp(track, p));

    const double mu = body.mu();
    const double a = (body.radius + s.periapsisAlt) / (1.0 - s.ecc);
    const double semi = a * (1.0 - s.ecc * s.ecc);
    const double nu = s.anomalyAtPass;
    const double r = semi / (1.0 + s.ecc * std::cos(nu));
    const double vr = std::sqrt(mu / semi) * s.ecc * std::sin(nu);
    const double vt = std::sqrt(mu / semi) * (1.0 + s.ecc * std::cos(nu));
    ELEMENTS el;
    sim::stateToElements(p * r, p * vr + d * vt, mu, el, nullptr);
    sim::elementsToState(el, mu, -tPass, *pos, *vel);
}

// The ideal delta-v: the speed relative to the turning surface now and the
// fall to the pad's radius Rt, both taken out there in one impulse.
double IdealDv(VESSEL *v, OBJHANDLE body, double Rt) {
    VECTOR3 r;
    v->GetRelativePos(body, r);
    const double vs = v->GetGroundspeed();
    const double mu = oapiGetMass(body) * GGRAV;
    return std::sqrt(vs * vs + 2.0 * mu * std::fmax(1.0 / Rt - 1.0 / length(r), 0.0));
}

}  // namespace

::Vessel *LoadLander(flight::Flight &f, const LanderClass &lc, double fps, std::string *reason) {
    char scn[512];
    std::snprintf(scn, sizeof scn,
                  "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 60000.25\nEND_ENVIRONMENT\n"
                  "BEGIN_FOCUS\n  Ship Lander\nEND_FOCUS\nBEGIN_SHIPS\nLander:%s\n  STATUS Orbiting %s\n"
                  "  ELEMENTS 5000.0 0.0 45.0 0 0 0 EQU\nEND\nEND_SHIPS\n",
                  lc.name.c_str(), lc.body.c_str());
    if (!f.loadText(scn)) {
        *reason = "scenario: " + f.error();
        return nullptr;
    }
    f.world.frameDt = 1.0 / fps;
    ::Vessel *lander = f.vessel("Lander");
    if (!lander || lander->tankMass.size() <= static_cast<size_t>(lc.tank)) {
        *reason = "no lander";
        return nullptr;
    }
    return lander;
}

bool SelectLanding(flight::Flight &f, const LanderClass &lc, int pad, const FlyOptions &options,
                   std::string *reason) {
    flight::useLinkedPlugin(f);
    char padText[8];
    std::snprintf(padText, sizeof padText, "%d", pad);
    if (!f.open(0) || !f.key(0, "5") || !f.key(0, "B") || !f.type(0, lc.base) || !f.key(0, "P") ||
        !f.type(0, padText) || (options.efficient && !f.key(0, "Q"))) {
        *reason = "pilot: " + f.error();
        return false;
    }
    const MfdState *S = StateOf(f);
    if (!S || (S->landingDescent == DESCENT_EFFICIENT) != options.efficient) {
        *reason = "pilot: the descent profile was not taken";
        return false;
    }
    return true;
}

std::string PageStatus(flight::Flight &f) {
    f.draw(0);
    const std::string text = f.screenText(0);
    for (const char *t : kStatusTexts)
        if (text.find(t) != std::string::npos) return t;
    return "(no status line)";
}

MfdState *StateOf(flight::Flight &f) {
    TessarcMFD *m = dynamic_cast<TessarcMFD *>(f.mfd(0));
    return m ? m->state : nullptr;
}

Result FlyLanding(const Start &start, const FlyOptions &options) {
    if (start.kind != START_ORBIT) return FlyTakeover(start, options);
    Result R = Result();
    R.start = start;
    if (options.warp > 0.0) R.start.warp = options.warp;
    R.outcome = OUT_ABORTED;
    Start &s = R.start;
    const LanderClass &lc = landerClasses()[static_cast<size_t>(s.lander) % landerClasses().size()];

    flight::Flight f;
    ::Vessel *lander = LoadLander(f, lc, s.fps, &R.reason);
    if (!lander) return R;
    sim::Body *body = f.world.findBody(lc.body);
    OBJHANDLE base = body ? oapiGetBaseByName(body, const_cast<char *>(lc.base.c_str())) : nullptr;
    if (!base) {
        R.reason = "no body or base";
        return R;
    }
    const size_t tank = static_cast<size_t>(lc.tank);
    R.fuelOnBoard = s.fuel * lander->cls->tankMax[tank];
    if (options.spareFuel > 0.0) {
        auto spare = std::make_unique<sim::VesselClass>(*lander->cls);
        const double moved = std::fmin(options.spareFuel, spare->emptyMass * 0.9);
        spare->emptyMass -= moved;
        spare->tankMax[tank] += moved;
        lander->cls = spare.get();
        f.world.classes.push_back(std::move(spare));
        lander->tankMass[tank] = R.fuelOnBoard + moved;
    } else {
        lander->tankMass[tank] = R.fuelOnBoard;
    }
    double padLon = 0, padLat = 0;
    oapiGetBasePadEquPos(base, static_cast<DWORD>(s.pad - 1), &padLon, &padLat);

    // The limit of the miss: half the stopping distance at the pass.
    const double mass = lander->mass(), g = body->mu() / (body->radius * body->radius);
    double thrust = 0.0;
    for (int t : lander->cls->groups[THGROUP_HOVER]) thrust += lander->cls->thrusters[static_cast<size_t>(t)].maxThrust;
    const double amax = std::fmin(thrust / mass, 2.5 * g);
    const double ab = amax * std::fmin(amax / (2.0 * g), 0.75);
    const double speed = std::sqrt(body->mu() / (body->radius + s.periapsisAlt));
    s.crossLimit = speed * speed / (4.0 * ab);
    s.crossRange *= s.crossLimit;
    const double a = (body->radius + s.periapsisAlt) / (1.0 - s.ecc);
    s.timeToPass *= 2.0 * PI * std::sqrt(a * a * a / body->mu());

    const double tHold = 1.0;
    VECTOR3 pos, vel;
    OrbitThroughPass(s, *body, padLon, padLat, tHold + s.timeToPass, &pos, &vel);
    sim::setOrbitState(*lander, body, pos, vel, _V(0, 0, 0), _V(0, 0, 0));

    bool contact = false;
    double fuelAtBrake = -1.0;  // kg in the tank at the last frame waiting for the brake
    f.host.afterFrame = [&]() {
        // The plan's propellant and the pass's miss as long as the autopilot waits for the brake.
        const MfdState *W = StateOf(f);
        if (W && W->holdOn && W->landingPhase == LANDING_WAIT) {
            R.fuelPredicted = W->landingValues[6];
            if (!(R.fuelAtHold > 0.0)) R.fuelAtHold = W->landingValues[6];
            fuelAtBrake = lander->tankMass[tank];
            R.passMiss = std::fabs(W->landingWork[4]);
            R.passStop = 2.0 * W->passHalfWidth;
            R.brakeDecel = W->landingWork[7];
        }
        if (!contact && lander->touchedDown) {
            contact = true;
            R.vs = lander->touchdownVs;
            R.hs = lander->touchdownHs;
            R.flightTime = lander->touchdownSimt - tHold;
        }
    };
    if (!SelectLanding(f, lc, s.pad, options, &R.reason)) return R;
    f.host.drawEvery = 1 << 30;  // the page is drawn when read
    f.run(tHold - f.simt());
    VESSEL *iface = f.iface("Lander");
    const double Rt = oapiGetSize(body) + body->elevation(padLon, padLat);
    R.dvIdeal = IdealDv(iface, body, Rt);
    const double m0 = lander->mass(), fuel0 = lander->tankMass[tank];
    f.key(0, "H");
    f.setWarp(s.warp);

    const double tEnd = tHold + s.timeToPass + kMargin;
    double letGo = -1.0;
    double settleUntil = -1.0;
    while (f.simt() < tEnd) {
        f.run(1.0);
        MfdState *S = StateOf(f);
        if (!S) {
            R.reason = "no state";
            return R;
        }
        if (contact) {
            if (settleUntil < 0.0) settleUntil = f.simt() + kSettle;
            if (f.simt() >= settleUntil) break;
            continue;
        }
        if (S->holdOn) {
            letGo = -1.0;
            continue;
        }
        if (letGo < 0.0) letGo = f.simt();
        if (f.simt() - letGo < kAfterLetGo) continue;
        // Let go in flight: safe only with the engines off and the orbit clear of the ground.
        ELEMENTS el;
        ORBITPARAM prm;
        iface->GetElements(body, el, &prm, 0, FRAME_EQU);
        if (EngineLevel(iface) > 0.0) {
            R.outcome = OUT_LOST;
            R.reason = "engines lit after letting go; page: " + PageStatus(f);
            break;
        }
        if (el.e < 1.0 && prm.PeD > body->radius + kSafePeriapsis) {
            R.outcome = OUT_REFUSED;
            R.reason = PageStatus(f);
            break;
        }
    }
    MfdState *S = StateOf(f);
    double boxAlong = 0, boxCross = 0, boxSpeed = 0;
    if (S && PrecisionBox(S->landingPrecision, &boxAlong, &boxCross, &boxSpeed)) {
        R.boxAlong = boxAlong;
        R.boxCross = boxCross;
    }
    const double isp = lander->cls->thrusters[static_cast<size_t>(lander->cls->groups[THGROUP_HOVER].front())].isp;
    // The landing engines' own: the attitude thrusters draw from a tank of their own.
    R.fuelUsed = fuel0 - lander->tankMass[tank];
    if (fuelAtBrake >= 0.0) R.fuelFromBrake = fuelAtBrake - lander->tankMass[tank];
    R.dvUsed = isp * std::log(m0 / (m0 - R.fuelUsed));
    if (contact) {
        double lon = 0, lat = 0, rad = 0;
        iface->GetEquPos(lon, lat, rad);
        const double dE = (lon - padLon) * std::cos(padLat) * Rt, dN = (lat - padLat) * Rt;
        const double h = S ? S->approachHeading : 0.0;
        R.missAlong = dN * std::cos(h) + dE * std::sin(h);
        R.missCross = dE * std::cos(h) - dN * std::sin(h);
        R.outcome = (R.vs < -3.0 || R.hs > 2.0) ? OUT_HARD : OUT_LANDED;
        if (R.outcome == OUT_LANDED && EngineLevel(iface) > 0.0) {
            R.outcome = OUT_LOST;
            R.reason = "engines lit on the ground";
        }
    } else if (R.outcome == OUT_ABORTED) {
        R.outcome = OUT_LOST;
        if (R.reason.empty()) R.reason = "no contact in the time allowed; page: " + PageStatus(f);
        R.flightTime = f.simt() - tHold;
    } else {
        R.flightTime = f.simt() - tHold;
    }
    return R;
}

}  // namespace campaign
