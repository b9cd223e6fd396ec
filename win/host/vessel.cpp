// The test host's vessel: the VESSEL interface over the one vessel "Probe", a
// 10 t craft in a circular orbit 400 km above the planet, turned away from its
// velocity, with a main engine and one thruster in each attitude group.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "host.h"

namespace host {

VECTOR3 probeAttitude = {{0.30, -0.20, 0.10}};
VECTOR3 probeSpin = {{0, 0, 0}};

namespace {
const double kRcsThrust = 500.0;    // N, each attitude thruster
const double kMainThrust = 40e3;    // N
const double kIsp = 3e4;            // m/s
const double kArm = 5.0;            // m, attitude thrusters' lever
const double kFuelMass = 1000.0;    // kg
char className[] = "ShuttlePB";
int propellant;                     // the one tank; its address is the handle
VESSEL *probeInterface = nullptr;

}  // namespace

// Position, direction and group of each thruster: the main engine at the tail,
// then pitch up/down, yaw left/right, bank left/right, then the six translation
// directions, so that each group turns or moves the vessel as the host defines.
Thruster thrusters[kThrusterCount] = {
    {{{0, 0, -kArm}}, {{0, 0, 1}}, kMainThrust, kIsp, THGROUP_MAIN, 0},
    {{{0, 0, kArm}}, {{0, 1, 0}}, kRcsThrust, kIsp, THGROUP_ATT_PITCHUP, 0},
    {{{0, 0, kArm}}, {{0, -1, 0}}, kRcsThrust, kIsp, THGROUP_ATT_PITCHDOWN, 0},
    {{{0, 0, kArm}}, {{-1, 0, 0}}, kRcsThrust, kIsp, THGROUP_ATT_YAWLEFT, 0},
    {{{0, 0, kArm}}, {{1, 0, 0}}, kRcsThrust, kIsp, THGROUP_ATT_YAWRIGHT, 0},
    {{{kArm, 0, 0}}, {{0, 1, 0}}, kRcsThrust, kIsp, THGROUP_ATT_BANKLEFT, 0},
    {{{kArm, 0, 0}}, {{0, -1, 0}}, kRcsThrust, kIsp, THGROUP_ATT_BANKRIGHT, 0},
    {{{0, 0, 0}}, {{1, 0, 0}}, kRcsThrust, kIsp, THGROUP_ATT_RIGHT, 0},
    {{{0, 0, 0}}, {{-1, 0, 0}}, kRcsThrust, kIsp, THGROUP_ATT_LEFT, 0},
    {{{0, 0, 0}}, {{0, 1, 0}}, kRcsThrust, kIsp, THGROUP_ATT_UP, 0},
    {{{0, 0, 0}}, {{0, -1, 0}}, kRcsThrust, kIsp, THGROUP_ATT_DOWN, 0},
    {{{0, 0, 0}}, {{0, 0, 1}}, kRcsThrust, kIsp, THGROUP_ATT_FORWARD, 0},
    {{{0, 0, 0}}, {{0, 0, -1}}, kRcsThrust, kIsp, THGROUP_ATT_BACK, 0}};

MATRIX3 RotationOf(const VECTOR3 &e) {
    const double ca = std::cos(e.x), sa = std::sin(e.x), cb = std::cos(e.y), sb = std::sin(e.y);
    const double cg = std::cos(e.z), sg = std::sin(e.z);
    MATRIX3 rx = _M(1, 0, 0, 0, ca, sa, 0, -sa, ca);
    MATRIX3 ry = _M(cb, 0, -sb, 0, 1, 0, sb, 0, cb);
    MATRIX3 rz = _M(cg, sg, 0, -sg, cg, 0, 0, 0, 1);
    return mul(mul(rx, ry), rz);
}

double HighestThrusterLevel() {
    double m = 0.0;
    for (const Thruster &t : thrusters) m = t.level > m ? t.level : m;
    return m;
}

VESSEL *ProbeInterface() {
    if (!probeInterface) probeInterface = new VESSEL(&probe);
    return probeInterface;
}

namespace {
Thruster *ThrusterOf(THRUSTER_HANDLE th) {
    for (Thruster &t : thrusters)
        if (th == &t) return &t;
    return nullptr;
}
int GroupCount(THGROUP_TYPE g) {
    int n = 0;
    for (const Thruster &t : thrusters) n += t.group == g;
    return n;
}
}  // namespace

}  // namespace host

using host::probe;

VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel)
    : vessel(reinterpret_cast<Vessel *>(hVessel)), flightmodel(static_cast<short>(fmodel)), version(2) {}

// --- identity and references -------------------------------------------------
// The SDK declares these handle results const; the definitions keep its signatures.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wignored-qualifiers"
char *VESSEL::GetName() const { return probe.name; }
char *VESSEL::GetClassName() const { return host::className; }
const OBJHANDLE VESSEL::GetHandle() const { return &probe; }
const OBJHANDLE VESSEL::GetGravityRef() const { return &host::earth; }
const OBJHANDLE VESSEL::GetSurfaceRef() const { return &host::earth; }
#pragma clang diagnostic pop
bool VESSEL::NonsphericalGravityEnabled() const { return false; }
DWORD VESSEL::GetFlightStatus() const { return 0; }
bool VESSEL::GroundContact() const { return false; }

// --- state ------------------------------------------------------------------------
double VESSEL::GetMass() const { return probe.mass; }
double VESSEL::GetFuelMass() const { return host::kFuelMass; }
double VESSEL::GetPropellantMass(PROPELLANT_HANDLE ph) const { return ph == &host::propellant ? host::kFuelMass : 0.0; }
void VESSEL::GetPMI(VECTOR3 &pmi) const { pmi = _V(2.3, 2.4, 1.2); }
bool VESSEL::GetSuperstructureCG(VECTOR3 &cg) const {
    cg = _V(0, 0, 0);
    return true;
}
void VESSEL::GetGlobalPos(VECTOR3 &pos) const { pos = probe.pos; }
void VESSEL::GetRelativePos(OBJHANDLE hRef, VECTOR3 &pos) const { oapiGetRelativePos(&probe, hRef, &pos); }
void VESSEL::GetRelativeVel(OBJHANDLE hRef, VECTOR3 &vel) const { oapiGetRelativeVel(&probe, hRef, &vel); }
void VESSEL::GetGlobalOrientation(VECTOR3 &arot) const { arot = host::probeAttitude; }
void VESSEL::SetGlobalOrientation(const VECTOR3 &arot) const { host::probeAttitude = arot; }
void VESSEL::GetRotationMatrix(MATRIX3 &R) const { R = host::RotationOf(host::probeAttitude); }
void VESSEL::GetAngularVel(VECTOR3 &avel) const { avel = host::probeSpin; }
void VESSEL::SetAngularVel(const VECTOR3 &avel) const { host::probeSpin = avel; }
void VESSEL::Global2Local(const VECTOR3 &global, VECTOR3 &local) const {
    local = tmul(host::RotationOf(host::probeAttitude), global - probe.pos);
}
void VESSEL::Local2Global(const VECTOR3 &local, VECTOR3 &global) const {
    global = mul(host::RotationOf(host::probeAttitude), local) + probe.pos;
}
double VESSEL::GetPitch() const { return host::probeAttitude.x; }
double VESSEL::GetBank() const { return host::probeAttitude.z; }
double VESSEL::GetCOG_elev() const { return length(probe.pos) - host::earth.size; }
double VESSEL::GetAltitude() const { return length(probe.pos) - host::earth.size; }
OBJHANDLE VESSEL::GetEquPos(double &longitude, double &latitude, double &radius) const {
    radius = length(probe.pos);
    longitude = std::atan2(probe.pos.z, probe.pos.x);
    latitude = std::asin(probe.pos.y / radius);
    return &host::earth;
}
bool VESSEL::GetElements(OBJHANDLE hRef, ELEMENTS &el, ORBITPARAM *prm, double, int) const {
    const double r = length(probe.pos), v = length(probe.vel);
    el.a = r;
    el.e = 0.0;
    el.i = PI05;
    el.theta = 0.0;
    el.omegab = 0.0;
    el.L = std::fmod(v / r * host::simTime, PI2);
    if (prm) {
        std::memset(prm, 0, sizeof *prm);
        prm->SMi = r;
        prm->PeD = prm->ApD = r;
        prm->T = PI2 * r / v;
        prm->MnA = prm->TrA = prm->MnL = prm->TrL = prm->EcA = el.L;
    }
    return hRef == &host::earth;
}
void VESSEL::GetStatusEx(void *status) const {
    VESSELSTATUS2 *s = static_cast<VESSELSTATUS2 *>(status);
    if (!s || s->version != 2) return;
    s->rbody = &host::earth;
    s->base = nullptr;
    s->port = 0;
    s->status = 0;
    s->rpos = probe.pos;
    s->rvel = probe.vel;
    s->vrot = host::probeSpin;
    s->arot = host::probeAttitude;
}
void VESSEL::DefSetStateEx(const void *status) const {
    const VESSELSTATUS2 *s = static_cast<const VESSELSTATUS2 *>(status);
    if (!s || s->version != 2) return;
    host::probeAttitude = s->arot;
    host::probeSpin = s->vrot;
}

// --- air (there is none in orbit) -------------------------------------------------
double VESSEL::GetAirspeed() const { return length(probe.vel); }
bool VESSEL::GetShipAirspeedVector(VECTOR3 &v) const {
    v = tmul(host::RotationOf(host::probeAttitude), probe.vel);
    return true;
}
bool VESSEL::GetDragVector(VECTOR3 &D) const {
    D = _V(0, 0, 0);
    return false;
}
bool VESSEL::GetLiftVector(VECTOR3 &L) const {
    L = _V(0, 0, 0);
    return false;
}

// --- thrusters --------------------------------------------------------------------
DWORD VESSEL::GetGroupThrusterCount(THGROUP_TYPE thgt) const { return static_cast<DWORD>(host::GroupCount(thgt)); }
THRUSTER_HANDLE VESSEL::GetGroupThruster(THGROUP_TYPE thgt, DWORD idx) const {
    DWORD n = 0;
    for (host::Thruster &t : host::thrusters)
        if (t.group == thgt && n++ == idx) return &t;
    return nullptr;
}
void VESSEL::GetThrusterRef(THRUSTER_HANDLE th, VECTOR3 &pos) const {
    host::Thruster *t = host::ThrusterOf(th);
    pos = t ? t->ref : _V(0, 0, 0);
}
void VESSEL::GetThrusterDir(THRUSTER_HANDLE th, VECTOR3 &dir) const {
    host::Thruster *t = host::ThrusterOf(th);
    dir = t ? t->dir : _V(0, 0, 1);
}
double VESSEL::GetThrusterMax(THRUSTER_HANDLE th) const {
    host::Thruster *t = host::ThrusterOf(th);
    return t ? t->maxThrust : 0.0;
}
double VESSEL::GetThrusterMax(THRUSTER_HANDLE th, double) const { return GetThrusterMax(th); }
double VESSEL::GetThrusterIsp(THRUSTER_HANDLE th) const {
    host::Thruster *t = host::ThrusterOf(th);
    return t ? t->isp : 0.0;
}
PROPELLANT_HANDLE VESSEL::GetThrusterResource(THRUSTER_HANDLE th) const {
    return host::ThrusterOf(th) ? &host::propellant : nullptr;
}
void VESSEL::SetThrusterLevel(THRUSTER_HANDLE th, double level) const {
    host::Thruster *t = host::ThrusterOf(th);
    if (!t) return;
    t->level = level < 0.0 ? 0.0 : (level > 1.0 ? 1.0 : level);
    ++host::record.thrusterSets;
}
double VESSEL::GetThrusterLevel(THRUSTER_HANDLE th) const {
    host::Thruster *t = host::ThrusterOf(th);
    return t ? t->level : 0.0;
}
void VESSEL::SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const {
    for (host::Thruster &t : host::thrusters)
        if (t.group == thgt) t.level = level < 0.0 ? 0.0 : (level > 1.0 ? 1.0 : level);
    ++host::record.thrusterSets;
}
double VESSEL::GetThrusterGroupLevel(THGROUP_TYPE thgt) const {
    for (const host::Thruster &t : host::thrusters)
        if (t.group == thgt) return t.level;
    return 0.0;
}
void VESSEL::GetAttitudeRotLevel(VECTOR3 &th) const {
    th = _V(GetThrusterGroupLevel(THGROUP_ATT_PITCHUP) - GetThrusterGroupLevel(THGROUP_ATT_PITCHDOWN),
            GetThrusterGroupLevel(THGROUP_ATT_YAWLEFT) - GetThrusterGroupLevel(THGROUP_ATT_YAWRIGHT),
            GetThrusterGroupLevel(THGROUP_ATT_BANKRIGHT) - GetThrusterGroupLevel(THGROUP_ATT_BANKLEFT));
}
void VESSEL::GetAttitudeLinLevel(VECTOR3 &th) const {
    th = _V(GetThrusterGroupLevel(THGROUP_ATT_RIGHT) - GetThrusterGroupLevel(THGROUP_ATT_LEFT),
            GetThrusterGroupLevel(THGROUP_ATT_UP) - GetThrusterGroupLevel(THGROUP_ATT_DOWN),
            GetThrusterGroupLevel(THGROUP_ATT_FORWARD) - GetThrusterGroupLevel(THGROUP_ATT_BACK));
}
void VESSEL::SetAttitudeLinLevel(int axis, double th) const {
    static const THGROUP_TYPE kPositive[3] = {THGROUP_ATT_RIGHT, THGROUP_ATT_UP, THGROUP_ATT_FORWARD};
    static const THGROUP_TYPE kNegative[3] = {THGROUP_ATT_LEFT, THGROUP_ATT_DOWN, THGROUP_ATT_BACK};
    if (axis < 0 || axis > 2) return;
    SetThrusterGroupLevel(kPositive[axis], th > 0.0 ? th : 0.0);
    SetThrusterGroupLevel(kNegative[axis], th < 0.0 ? -th : 0.0);
}
void VESSEL::SetISP(double) const {}
void VESSEL::SetWheelbrakeLevel(double, int, bool) const {}

// --- docking ports and radios (the vessel has none) --------------------------------
UINT VESSEL::DockCount() const { return 0; }
UINT VESSEL::DockingStatus(UINT) const { return 0; }
DOCKHANDLE VESSEL::GetDockHandle(UINT) const { return nullptr; }
void VESSEL::GetDockParams(DOCKHANDLE, VECTOR3 &pos, VECTOR3 &dir, VECTOR3 &rot) const {
    pos = dir = rot = _V(0, 0, 0);
}
OBJHANDLE VESSEL::GetDockStatus(DOCKHANDLE) const { return nullptr; }
NAVHANDLE VESSEL::GetIDS(DOCKHANDLE) const { return nullptr; }
NAVHANDLE VESSEL::GetTransponder() const { return nullptr; }
DWORD VESSEL::GetNavCount() const { return 0; }
bool VESSEL::SetNavChannel(DWORD, DWORD) const { return false; }
