// The test host's oapi functions: objects, planet, time, user interface,
// drawing tools and scenario lines, over the one planet and one vessel.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "host.h"

namespace host {

Object earth = {OBJTP_PLANET, "Earth", {{0, 0, 0}}, {{0, 0, 0}}, 5.973698968e24, 6.37101e6};
// A circular orbit 400 km up, moving along global +z.
Object probe = {OBJTP_VESSEL, "Probe", {{6.77101e6, 0, 0}}, {{0, 0, 7672.5}}, 10000.0, 5.0};
double simTime = 0.0;
double frameStep = 0.05;
Record record = {};

namespace {
const double kSiderealDay = 86164.1;  // Earth's rotation period, s
const double kMjdAtStart = 60000.0;   // simulation date at time 0
const double kJ2 = 1.0826e-3;         // Earth's second zonal coefficient
char debugLine[256];

struct HostPen : oapi::Pen {
    HostPen(int style, int width, DWORD col) : oapi::Pen(style, width, col) {}
};
struct HostBrush : oapi::Brush {
    explicit HostBrush(DWORD col) : oapi::Brush(col) {}
};

Object *ObjectOf(OBJHANDLE h) {
    if (h == &earth) return &earth;
    if (h == &probe) return &probe;
    return nullptr;
}
}  // namespace

}  // namespace host

using host::earth;
using host::probe;
using host::record;

// --- objects ------------------------------------------------------------------
OBJHANDLE oapiGetObjectByName(char *name) {
    if (!name) return nullptr;
    if (std::strcmp(name, earth.name) == 0) return &earth;
    if (std::strcmp(name, probe.name) == 0) return &probe;
    return nullptr;
}
OBJHANDLE oapiGetGbodyByName(char *name) { return name && std::strcmp(name, earth.name) == 0 ? &earth : nullptr; }
void oapiGetObjectName(OBJHANDLE hObj, char *name, int n) {
    host::Object *o = host::ObjectOf(hObj);
    if (name && n > 0) std::snprintf(name, static_cast<size_t>(n), "%s", o ? o->name : "");
}
int oapiGetObjectType(OBJHANDLE hObj) {
    host::Object *o = host::ObjectOf(hObj);
    return o ? o->type : OBJTP_INVALID;
}
bool oapiIsVessel(OBJHANDLE hVessel) { return hVessel == &probe; }
// The test host's Earth has its air, as the real host's has.
bool oapiPlanetHasAtmosphere(OBJHANDLE hPlanet) { return hPlanet == &earth; }
// ... a plain exponential one: 1.225 kg/m^3 at the mean radius, 8.5 km scale
// height, 288 K throughout; nothing elsewhere.
void oapiGetPlanetAtmParams(OBJHANDLE hPlanet, double rad, ATMPARAM *prm) {
    if (!prm) return;
    const double kGroundDensity = 1.225, kScaleHeight = 8500.0, kTemperature = 288.0, kGasConstant = 287.0;
    const double rho = hPlanet == &earth ? kGroundDensity * std::exp(-(rad - earth.size) / kScaleHeight) : 0.0;
    prm->T = hPlanet == &earth ? kTemperature : 0.0;
    prm->rho = rho;
    prm->p = rho * kGasConstant * kTemperature;
}
VESSEL *oapiGetVesselInterface(OBJHANDLE hVessel) { return hVessel == &probe ? host::ProbeInterface() : nullptr; }
OBJHANDLE oapiGetFocusObject() { return &probe; }
VESSEL *oapiGetFocusInterface() { return host::ProbeInterface(); }
DWORD oapiGetVesselCount() { return 1; }
OBJHANDLE oapiGetVesselByIndex(int index) { return index == 0 ? &probe : nullptr; }
double oapiGetSize(OBJHANDLE hObj) {
    host::Object *o = host::ObjectOf(hObj);
    return o ? o->size : 0.0;
}
double oapiGetMass(OBJHANDLE hObj) {
    host::Object *o = host::ObjectOf(hObj);
    return o ? o->mass : 0.0;
}
void oapiGetRelativePos(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3 *pos) {
    host::Object *a = host::ObjectOf(hObj), *b = host::ObjectOf(hRef);
    if (pos) *pos = a && b ? a->pos - b->pos : _V(0, 0, 0);
}
void oapiGetRelativeVel(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3 *vel) {
    host::Object *a = host::ObjectOf(hObj), *b = host::ObjectOf(hRef);
    if (vel) *vel = a && b ? a->vel - b->vel : _V(0, 0, 0);
}
void oapiGetRotationMatrix(OBJHANDLE hObj, MATRIX3 *mat) {
    if (!mat) return;
    *mat = hObj == &probe ? host::RotationOf(host::probeAttitude) : _M(1, 0, 0, 0, 1, 0, 0, 0, 1);
}

// --- planet and bases (the planet has none) ----------------------------------------
double oapiGetPlanetPeriod(OBJHANDLE hPlanet) { return hPlanet == &earth ? host::kSiderealDay : 0.0; }
double oapiGetPlanetCurrentRotation(OBJHANDLE hPlanet) {
    return hPlanet == &earth ? std::fmod(host::simTime / host::kSiderealDay, 1.0) * PI2 : 0.0;
}
void oapiGetPlanetObliquityMatrix(OBJHANDLE, MATRIX3 *mat) {
    if (mat) *mat = _M(1, 0, 0, 0, 1, 0, 0, 0, 1);
}
DWORD oapiGetPlanetJCoeffCount(OBJHANDLE hPlanet) { return hPlanet == &earth ? 1 : 0; }
double oapiGetPlanetJCoeff(OBJHANDLE hPlanet, DWORD n) { return hPlanet == &earth && n == 0 ? host::kJ2 : 0.0; }
double oapiSurfaceElevation(OBJHANDLE, double, double) { return 0.0; }
OBJHANDLE oapiGetBaseByName(OBJHANDLE, char *) { return nullptr; }
OBJHANDLE oapiGetBaseByIndex(OBJHANDLE, int) { return nullptr; }
void oapiGetBaseEquPos(OBJHANDLE, double *lng, double *lat, double *rad) {
    if (lng) *lng = 0.0;
    if (lat) *lat = 0.0;
    if (rad) *rad = 0.0;
}
DWORD oapiGetBasePadCount(OBJHANDLE) { return 0; }
bool oapiGetBasePadEquPos(OBJHANDLE, DWORD, double *, double *, double *) { return false; }
void oapiEquToLocal(OBJHANDLE, double lng, double lat, double rad, VECTOR3 *loc) {
    if (loc) *loc = _V(rad * std::cos(lat) * std::cos(lng), rad * std::sin(lat), rad * std::cos(lat) * std::sin(lng));
}
double oapiOrthodome(double lng1, double lat1, double lng2, double lat2) {
    double c = std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(lng2 - lng1);
    return std::acos(c > 1.0 ? 1.0 : (c < -1.0 ? -1.0 : c));
}
BOOL oapiGetHeading(OBJHANDLE hVessel, double *heading) {
    if (heading) *heading = 0.0;
    return hVessel == &probe;
}
DWORD oapiGetNavChannel(NAVHANDLE) { return 0; }

// --- time -----------------------------------------------------------------------
double oapiGetSimTime() { return host::simTime; }
double oapiGetSimMJD() { return host::kMjdAtStart + host::simTime / 86400.0; }
double oapiGetSysTime() { return host::simTime; }
double oapiGetSysStep() { return host::frameStep; }
double oapiGetTimeAcceleration() { return 1.0; }
void oapiSetTimeAcceleration(double) {}
int oapiGetOrbiterVersion() { return 160828; }

// --- user interface and drawing tools -------------------------------------------
char *oapiDebugString() { return host::debugLine; }
bool oapiSetHUDMode(int, const HUDPARAM *) { return true; }
void oapiOpenInputBox(char *, bool (*)(void *, char *, void *), char *, int, void *) {}
int oapiRegisterMFDMode(MFDMODESPECEX &spec) {
    record.mode = spec;
    return ++record.modesRegistered;
}
bool oapiUnregisterMFDMode(int mode) {
    if (mode != record.modesRegistered) return false;
    ++record.modesUnregistered;
    return true;
}
oapi::Pen *oapiCreatePen(int style, int width, DWORD col) {
    ++record.pensAlive;
    ++record.drawingsCreated;
    return new host::HostPen(style, width, col);
}
void oapiReleasePen(oapi::Pen *pen) {
    if (!pen) return;
    --record.pensAlive;
    delete static_cast<host::HostPen *>(pen);
}
oapi::Brush *oapiCreateBrush(DWORD col) {
    ++record.brushesAlive;
    ++record.drawingsCreated;
    return new host::HostBrush(col);
}
void oapiReleaseBrush(oapi::Brush *brush) {
    if (!brush) return;
    --record.brushesAlive;
    delete static_cast<host::HostBrush *>(brush);
}
// --- scenario lines, kept in the record ------------------------------------------
void oapiWriteScenario_string(FILEHANDLE, char *item, char *string) {
    if (record.scenarioLines >= host::kScenarioLineMax || !item) return;
    std::snprintf(record.scenario[record.scenarioLines++], host::kScenarioLineLength, "%s %s", item,
                  string ? string : "");
}
bool oapiReadScenario_nextline(FILEHANDLE, char *&line) {
    if (record.scenarioRead >= record.scenarioReadLimit) return false;
    line = record.scenario[record.scenarioRead++];
    while (*line == ' ') ++line;  // the host hands lines back without their indentation
    return true;
}

// --- module glue ------------------------------------------------------------------
// Declared here as the host executable exports them; no SDK header declares them.
DLLEXPORT void InitLib(HINSTANCE hModule);
DLLEXPORT int Date2Int(char *date);

void InitLib(HINSTANCE hModule) {
    ++record.initLibCalls;
    record.initLibHandle = hModule;
}

// "Aug 28 2016" gives 160828: two-digit year, month, day.
int Date2Int(char *date) {
    static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    char month[4] = {};
    int day = 0, year = 0;
    if (!date || std::sscanf(date, "%3s %d %d", month, &day, &year) != 3) return 0;
    const char *m = std::strstr(kMonths, month);
    if (!m || (m - kMonths) % 3 != 0) return 0;
    return (year % 100) * 10000 + static_cast<int>((m - kMonths) / 3 + 1) * 100 + day;
}
