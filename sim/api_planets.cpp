// oapi functions on planets, surface bases, time, navigation transmitters, the
// HUD mode, the debug line and the host version.
#include <algorithm>
#include <strings.h>

#include "api_util.h"
#include "simmath.h"

using sim::world;

namespace {
sim::Body *planetOf(OBJHANDLE h) {
    sim::Body *b = world().bodyOf(h);
    return b;
}
}  // namespace

// ---------------------------------------------------------------------------
// Planets

double oapiGetPlanetPeriod(OBJHANDLE hPlanet) {
    sim::Body *b = planetOf(hPlanet);
    return b ? b->rotPeriod : 0.0;
}

double oapiGetPlanetObliquity(OBJHANDLE hPlanet) {
    sim::Body *b = planetOf(hPlanet);
    return b ? b->equator(world().mjd()).obliquity : 0.0;
}

double oapiGetPlanetTheta(OBJHANDLE hPlanet) {
    sim::Body *b = planetOf(hPlanet);
    return b ? b->equator(world().mjd()).theta : 0.0;
}

void oapiGetPlanetObliquityMatrix(OBJHANDLE hPlanet, MATRIX3 *mat) {
    if (!mat) return;
    sim::Body *b = planetOf(hPlanet);
    *mat = b ? b->obliquityMatrix() : identity();
}

double oapiGetPlanetCurrentRotation(OBJHANDLE hPlanet) {
    sim::Body *b = planetOf(hPlanet);
    return b ? b->currentRotation(world().simt) : 0.0;
}

DWORD oapiGetPlanetJCoeffCount(OBJHANDLE hPlanet) {
    sim::Body *b = planetOf(hPlanet);
    return b ? (DWORD)b->jcoeff.size() : 0;
}

double oapiGetPlanetJCoeff(OBJHANDLE hPlanet, DWORD n) {
    sim::Body *b = planetOf(hPlanet);
    return b && n < b->jcoeff.size() ? b->jcoeff[n] : 0.0;
}

double oapiSurfaceElevation(OBJHANDLE hPlanet, double lng, double lat) {
    sim::Body *b = planetOf(hPlanet);
    return b ? b->elevation(lng, lat) : 0.0;
}

// ---------------------------------------------------------------------------
// Surface bases

OBJHANDLE oapiGetBaseByName(OBJHANDLE hPlanet, char *name) {
    sim::Body *b = planetOf(hPlanet);
    if (!b || !name) return nullptr;
    for (auto &s : b->bases)
        if (strcasecmp(s->name.c_str(), name) == 0) return s.get();
    return nullptr;
}

OBJHANDLE oapiGetBaseByIndex(OBJHANDLE hPlanet, int index) {
    sim::Body *b = planetOf(hPlanet);
    return b && index >= 0 && (size_t)index < b->bases.size() ? b->bases[index].get() : nullptr;
}

DWORD oapiGetBaseCount(OBJHANDLE hPlanet) {
    sim::Body *b = planetOf(hPlanet);
    return b ? (DWORD)b->bases.size() : 0;
}

OBJHANDLE oapiGetBasePlanet(OBJHANDLE hBase) {
    sim::Base *s = world().baseOf(hBase);
    return s ? s->planet : nullptr;
}

void oapiGetBaseEquPos(OBJHANDLE hBase, double *lng, double *lat, double *rad) {
    sim::Base *s = world().baseOf(hBase);
    if (lng) *lng = s ? s->lng : 0.0;
    if (lat) *lat = s ? s->lat : 0.0;
    if (rad) *rad = s ? s->planet->radius : 0.0;
}

DWORD oapiGetBasePadCount(OBJHANDLE hBase) {
    sim::Base *s = world().baseOf(hBase);
    return s ? (DWORD)s->pads.size() : 0;
}

bool oapiGetBasePadEquPos(OBJHANDLE hBase, DWORD pad, double *lng, double *lat, double *rad) {
    sim::Base *s = world().baseOf(hBase);
    if (!s || pad >= s->pads.size()) return false;
    if (lng) *lng = s->pads[pad].lng;
    if (lat) *lat = s->pads[pad].lat;
    if (rad) *rad = s->planet->radius;
    return true;
}

// ---------------------------------------------------------------------------
// Time

double oapiGetSimTime() { return world().simt; }
double oapiGetSimStep() { return world().simdt; }
double oapiGetSysTime() { return world().syst; }
double oapiGetSysStep() { return world().frameDt; }
double oapiGetSimMJD() { return world().mjd(); }
double oapiGetTimeAcceleration() { return world().warp; }
void oapiSetTimeAcceleration(double warp) { sim::setWarp(world(), warp); }

// ---------------------------------------------------------------------------
// Navigation transmitters

DWORD oapiGetNavChannel(NAVHANDLE hNav) {
    sim::NavRadio *r = sim::navOf(world(), hNav);
    return r ? r->channel : 0;
}

void oapiGetNavPos(NAVHANDLE hNav, VECTOR3 *gpos) {
    if (!gpos) return;
    sim::NavRadio *r = sim::navOf(world(), hNav);
    if (!r || !r->vessel) {
        *gpos = _V(0, 0, 0);
        return;
    }
    const Vessel &v = *r->vessel;
    VECTOR3 local = r->dock >= 0 && r->dock < (int)v.cls->docks.size() ? v.cls->docks[r->dock].pos : _V(0, 0, 0);
    *gpos = v.pos + mul(v.R, local);
}

DWORD oapiGetNavType(NAVHANDLE hNav) {
    sim::NavRadio *r = sim::navOf(world(), hNav);
    return r ? (DWORD)r->type : TRANSMITTER_NONE;
}

// ---------------------------------------------------------------------------
// HUD, debug line, version

bool oapiSetHUDMode(int mode) {
    if (mode < HUD_NONE || mode > HUD_DOCKING) return false;
    bool changed = world().hudMode != mode;
    world().hudMode = mode;
    return changed;
}

bool oapiSetHUDMode(int mode, const HUDPARAM *prm) {
    bool changed = oapiSetHUDMode(mode);
    if (prm && mode >= HUD_NONE && mode <= HUD_DOCKING) world().hudParam = *prm;
    return changed;
}

int oapiGetHUDMode() { return world().hudMode; }

int oapiGetHUDMode(HUDPARAM *prm) {
    if (prm) *prm = world().hudParam;
    return world().hudMode;
}

char *oapiDebugString() { return world().debugLine; }

int oapiGetOrbiterVersion() { return world().hostVersion; }
