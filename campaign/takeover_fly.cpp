// One takeover landing: the lander is put near the pad as a pilot flies it
// (hovering on its own throttle, low and slow, on a short arc, standing on the
// ground), the pilot selects Landing, the base, the pad and HOLD, asks for the
// time acceleration, and the flight runs until the lander is down or let go. In
// the stop-and-resume start the pilot stops the descent late and resumes it.
#include <cmath>
#include <cstdio>
#include <string>

#include "campaign/fly.h"
#include "frame/state.h"
#include "landing/guidance.h"
#include "support/flight.h"
#include "support/linked_plugin.h"
#include "support/surface_start.h"

namespace campaign {

namespace {

const double kAllowed = 2400.0;    // s from HOLD to the end of the flight
const double kSettle = 20.0;       // s run on after the first contact
const double kWatchLetGo = 30.0;   // s a lander let go in flight is watched before the refusal counts
const double kStopHeight = 40.0;   // m above the pad where the pilot of a stop-and-resume start stops
const double kLiftedOff = 2.0;     // m above the ground: a hop has left it (a touch before is the lift-off's)

double HoverThrust(const ::Vessel *v) {
    double thrust = 0.0;
    for (int t : v->cls->groups[THGROUP_HOVER]) thrust += v->cls->thrusters[static_cast<size_t>(t)].maxThrust;
    return thrust;
}

// m of the vessel's touchdown points over the ground below it.
double HeightOverGround(VESSEL *v) {
    double lon = 0, lat = 0, rad = 0;
    OBJHANDLE body = v->GetEquPos(lon, lat, rad);
    return v->GetAltitude() - (body ? oapiSurfaceElevation(body, lon, lat) : 0.0) - v->GetCOG_elev();
}

// The pilot of a stop-and-resume start: H late in the descent, R once the stop
// has lasted its time.
void StopAndResume(flight::Flight &f, const Start &s, MfdState *S, double *stoppedAt, bool *resumed) {
    if (s.kind != START_STOP_RESUME || *resumed || !S->holdOn) return;
    const bool late = S->landingPhase == LANDING_FINAL ||
                      (S->landingPhase == LANDING_APPROACH && S->landingWork[LW_HEIGHT] < kStopHeight);
    if (*stoppedAt < 0.0 && late) {
        f.key(0, "H");
        *stoppedAt = f.simt();
    } else if (*stoppedAt >= 0.0 && f.simt() - *stoppedAt >= s.stopAfter) {
        f.key(0, "R");
        *resumed = true;
    }
}

}  // namespace

Result FlyTakeover(const Start &start, const FlyOptions &options) {
    Result R = Result();
    R.start = start;
    if (options.warp > 0.0) R.start.warp = options.warp;
    R.outcome = OUT_ABORTED;
    const Start &s = R.start;
    const LanderClass &lc = landerClasses()[static_cast<size_t>(s.lander) % landerClasses().size()];

    flight::Flight f;
    ::Vessel *lander = LoadLander(f, lc, s.fps, &R.reason);
    if (!lander) return R;
    const size_t tank = static_cast<size_t>(lc.tank);
    R.fuelOnBoard = s.fuel * lander->cls->tankMax[tank];
    lander->tankMass[tank] = R.fuelOnBoard;
    bool contact = false;
    // A hop counts its contacts once it has left the ground: settling back for a
    // moment as the engines take the weight is no landing.
    bool airborne = s.kind != START_HOP;
    double tHold = 0.0;
    f.host.afterFrame = [&]() {
        if (!airborne && !lander->landed && HeightOverGround(f.iface("Lander")) > kLiftedOff) {
            airborne = true;
            lander->touchedDown = false;
        }
        if (airborne && !contact && lander->touchedDown) {
            contact = true;
            R.vs = lander->touchdownVs;
            R.hs = lander->touchdownHs;
            R.flightTime = lander->touchdownSimt - tHold;
        }
    };
    if (!SelectLanding(f, lc, s.pad, options, &R.reason)) return R;
    MfdState *S = StateOf(f);
    flight::SurfaceStart at;
    at.bearing = s.bearing;
    at.dist = s.dist;
    at.height = s.height;
    at.toward = s.toward;
    at.up = s.climb;
    if (!S || !flight::PlaceNear(f, "Lander", lc.body, S->targetLon, S->targetLat, at)) {
        R.reason = "no state or body";
        return R;
    }
    VESSEL *iface = f.iface("Lander");
    const bool hovering = s.kind == START_HOVER || s.kind == START_STOP_RESUME;
    const double g = oapiGetMass(S->bodyRef) * GGRAV / std::pow(oapiGetSize(S->bodyRef), 2);
    if (hovering) iface->SetThrusterGroupLevel(THGROUP_HOVER, lander->mass() * g / HoverThrust(lander));
    f.host.drawEvery = 1 << 30;  // the page is drawn when read
    f.run(0.5);
    tHold = f.simt();
    const double m0 = lander->mass(), fuel0 = lander->tankMass[tank];
    f.key(0, "H");
    f.setWarp(s.warp);

    double letGo = -1.0, settleUntil = -1.0, stoppedAt = -1.0;
    bool resumed = false;
    while (f.simt() < tHold + kAllowed) {
        f.run(1.0);
        S = StateOf(f);
        if (!S) {
            R.reason = "no state";
            return R;
        }
        if (contact) {
            if (settleUntil < 0.0) settleUntil = f.simt() + kSettle;
            if (f.simt() >= settleUntil) break;
            continue;
        }
        StopAndResume(f, s, S, &stoppedAt, &resumed);
        if (S->holdOn) {
            letGo = -1.0;
            continue;
        }
        if (letGo < 0.0) letGo = f.simt();
        if (f.simt() - letGo < kWatchLetGo) continue;
        R.outcome = OUT_REFUSED;  // let go in flight; the pilot flies on
        R.reason = PageStatus(f);
        break;
    }
    double boxAlong = 0, boxCross = 0, boxSpeed = 0;
    if (S && PrecisionBox(S->landingPrecision, &boxAlong, &boxCross, &boxSpeed)) {
        R.boxAlong = boxAlong;
        R.boxCross = boxCross;
    }
    const double isp = lander->cls->thrusters[static_cast<size_t>(lander->cls->groups[THGROUP_HOVER].front())].isp;
    R.fuelUsed = fuel0 - lander->tankMass[tank];
    R.dvUsed = isp * std::log(m0 / (m0 - R.fuelUsed));
    if (contact) {
        double lon = 0, lat = 0, rad = 0;
        iface->GetEquPos(lon, lat, rad);
        const double Rt = oapiGetSize(S->bodyRef) + S->elevation;
        const double dE = (lon - S->targetLon) * std::cos(S->targetLat) * Rt, dN = (lat - S->targetLat) * Rt;
        const double h = S->approachHeading;
        R.missAlong = dN * std::cos(h) + dE * std::sin(h);
        R.missCross = dE * std::cos(h) - dN * std::sin(h);
        R.outcome = (R.vs < -3.0 || R.hs > 2.0) ? OUT_HARD : OUT_LANDED;
        if (R.outcome == OUT_LANDED && std::fmax(iface->GetThrusterGroupLevel(THGROUP_MAIN),
                                                 iface->GetThrusterGroupLevel(THGROUP_HOVER)) > 0.0) {
            R.outcome = OUT_LOST;
            R.reason = "engines lit on the ground";
        }
        if (!S->holdOn && R.outcome == OUT_HARD && R.reason.empty()) R.reason = PageStatus(f);
    } else if (R.outcome == OUT_ABORTED) {
        R.outcome = OUT_LOST;
        R.reason = "no contact in the time allowed; page: " + PageStatus(f);
        R.flightTime = f.simt() - tHold;
    } else {
        R.flightTime = f.simt() - tHold;
    }
    return R;
}

}  // namespace campaign
