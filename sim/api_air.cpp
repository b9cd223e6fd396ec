// Air data: the vessels' air-relative velocity, drag and lift, the air around
// them, and the bodies' atmospheres. The air is at rest in its body's turning
// frame (no wind), so the air-relative velocity is the ground-relative one.
#include "aero.h"
#include "api_util.h"
#include "simmath.h"

using sim::world;

namespace {
Vessel *live(Vessel *v) { return world().vesselOf(v); }

ATMPARAM vesselAir(Vessel *v) {
    ATMPARAM prm{0.0, 0.0, 0.0};
    VECTOR3 air;
    if (v) sim::airAround(*v, prm, air);
    return prm;
}
}  // namespace

bool VESSEL::GetAirspeedVector(REFFRAME frame, VECTOR3 &av) const {
    av = _V(0, 0, 0);
    Vessel *v = live(vessel);
    const sim::Body *b = v ? sim::airBody(*v) : nullptr;
    ATMPARAM prm;
    VECTOR3 g;
    if (!b || !sim::airAround(*v, prm, g)) return false;
    switch (frame) {
    case FRAME_GLOBAL: av = g; break;
    case FRAME_LOCAL: av = tmul(v->R, g); break;
    case FRAME_REFLOCAL: av = tmul(b->rotationMatrix(world().simt), g); break;
    case FRAME_HORIZON: {
        VECTOR3 up, n, e;
        sim::horizon(*v, up, n, e);
        av = _V(dotp(g, e), dotp(g, up), dotp(g, n));
        break;
    }
    default: return false;
    }
    return true;
}

bool VESSEL::GetShipAirspeedVector(VECTOR3 &av) const { return GetAirspeedVector(FRAME_LOCAL, av); }

double VESSEL::GetAirspeed() const {
    VECTOR3 av;
    return GetAirspeedVector(FRAME_GLOBAL, av) ? length(av) : 0.0;
}

double VESSEL::GetGroundspeed() const { return GetAirspeed(); }

bool VESSEL::GetDragVector(VECTOR3 &D) const {
    VECTOR3 L;
    Vessel *v = live(vessel);
    D = _V(0, 0, 0);
    if (v) sim::vesselAeroForces(*v, D, L);
    return length(D) > 0;
}

bool VESSEL::GetLiftVector(VECTOR3 &L) const {
    VECTOR3 D;
    Vessel *v = live(vessel);
    L = _V(0, 0, 0);
    if (v) sim::vesselAeroForces(*v, D, L);
    return length(L) > 0;
}

double VESSEL::GetAtmTemperature() const { return vesselAir(live(vessel)).T; }
double VESSEL::GetAtmDensity() const { return vesselAir(live(vessel)).rho; }
double VESSEL::GetAtmPressure() const { return vesselAir(live(vessel)).p; }

double VESSEL::GetDynPressure() const {
    Vessel *v = live(vessel);
    ATMPARAM prm;
    VECTOR3 air;
    if (!v || !sim::airAround(*v, prm, air)) return 0.0;
    return 0.5 * prm.rho * length2(air);
}

void oapiGetAtm(OBJHANDLE hVessel, ATMPARAM *prm, OBJHANDLE *hAtmRef) {
    Vessel *v = hVessel ? world().vesselOf(hVessel) : world().vesselOf(world().focus);
    const ATMPARAM air = vesselAir(v);
    if (prm) *prm = air;
    if (hAtmRef) *hAtmRef = air.rho > 0 ? const_cast<sim::Body *>(sim::airBody(*v)) : nullptr;
}

bool oapiPlanetHasAtmosphere(OBJHANDLE hPlanet) {
    sim::Body *b = world().bodyOf(hPlanet);
    return b && b->atm.present;
}

void oapiGetPlanetAtmParams(OBJHANDLE hPlanet, double rad, ATMPARAM *prm) {
    sim::Body *b = world().bodyOf(hPlanet);
    if (prm) *prm = b ? sim::airAt(*b, rad - b->radius) : ATMPARAM{0.0, 0.0, 0.0};
}

void oapiGetPlanetAtmParams(OBJHANDLE hPlanet, double alt, double, double, ATMPARAM *prm) {
    sim::Body *b = world().bodyOf(hPlanet);
    if (prm) *prm = b ? sim::airAt(*b, alt) : ATMPARAM{0.0, 0.0, 0.0};
}
