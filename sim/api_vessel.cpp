// VESSEL: identity, state, orientation, orbital elements, surface position,
// mass and frames (air data: api_air.cpp). Every method is safe on a null or stale vessel.
#include <algorithm>
#include <cstring>

#include "api_util.h"
#include "docking.h"
#include "orbit.h"
#include "simmath.h"

using sim::world;

namespace {
char emptyText[1] = {0};

Vessel *live(Vessel *v) { return world().vesselOf(v); }

sim::Body *refBody(const Vessel &v) { return v.landed ? v.landedOn : v.gravityRef; }
}  // namespace

// The SDK declares some handle results const; keep its signatures.
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
#endif

VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel) : vessel((Vessel *)hVessel), flightmodel((short)fmodel), version(0) {}
VESSEL::~VESSEL() {}

// ---------------------------------------------------------------------------
// Identity and references

char *VESSEL::GetName() const {
    Vessel *v = live(vessel);
    return v ? const_cast<char *>(v->name.c_str()) : emptyText;
}

char *VESSEL::GetClassName() const {
    Vessel *v = live(vessel);
    return v && v->cls ? const_cast<char *>(v->cls->name.c_str()) : emptyText;
}

const OBJHANDLE VESSEL::GetHandle() const { return live(vessel); }

const OBJHANDLE VESSEL::GetGravityRef() const {
    Vessel *v = live(vessel);
    return v ? refBody(*v) : nullptr;
}

const OBJHANDLE VESSEL::GetSurfaceRef() const {
    Vessel *v = live(vessel);
    return v ? (v->landed ? v->landedOn : v->surfaceRef) : nullptr;
}

bool VESSEL::NonsphericalGravityEnabled() const {
    Vessel *v = live(vessel);
    return v && v->nonspherical;
}

// ---------------------------------------------------------------------------
// Orientation, state and motion

void VESSEL::GetGlobalOrientation(VECTOR3 &arot) const {
    Vessel *v = live(vessel);
    arot = v ? sim::matrixToEuler(v->R) : _V(0, 0, 0);
}

void VESSEL::SetGlobalOrientation(const VECTOR3 &arot) const { SetRotationMatrix(sim::eulerToMatrix(arot)); }

void VESSEL::GetGlobalPos(VECTOR3 &pos) const {
    Vessel *v = live(vessel);
    pos = v ? v->pos : _V(0, 0, 0);
}

void VESSEL::GetGlobalVel(VECTOR3 &vel) const {
    Vessel *v = live(vessel);
    vel = v ? v->vel : _V(0, 0, 0);
}

void VESSEL::GetRelativePos(OBJHANDLE hRef, VECTOR3 &pos) const {
    Vessel *v = live(vessel);
    VECTOR3 rp;
    pos = v && sim::objectState(world(), hRef, &rp, nullptr) ? v->pos - rp : _V(0, 0, 0);
}

void VESSEL::GetRelativeVel(OBJHANDLE hRef, VECTOR3 &vel) const {
    Vessel *v = live(vessel);
    VECTOR3 rv;
    vel = v && sim::objectState(world(), hRef, nullptr, &rv) ? v->vel - rv : _V(0, 0, 0);
}

void VESSEL::GetRotationMatrix(MATRIX3 &R) const {
    Vessel *v = live(vessel);
    R = v ? v->R : identity();
}

void VESSEL::SetRotationMatrix(const MATRIX3 &R) const {
    Vessel *v = live(vessel);
    if (!v) return;
    for (double d : R.data)
        if (!std::isfinite(d)) return;
    v->R = sim::orthonormalise(R);
    if (v->landed && v->landedOn) v->landRot = mul(sim::transpose(v->landedOn->rotationMatrix(world().simt)), v->R);
}

void VESSEL::GetAngularVel(VECTOR3 &avel) const {
    Vessel *v = live(vessel);
    avel = v ? v->omega : _V(0, 0, 0);
}

void VESSEL::SetAngularVel(const VECTOR3 &avel) const {
    Vessel *v = live(vessel);
    if (v && !v->landed && std::isfinite(avel.x) && std::isfinite(avel.y) && std::isfinite(avel.z)) v->omega = avel;
}

DWORD VESSEL::GetFlightStatus() const {
    Vessel *v = live(vessel);
    if (!v) return 0;
    DWORD s = v->landed ? 1 : 0;
    for (auto &p : v->ports)
        if (p.docked) s |= 2;
    return s;
}

// The lists of a status record (fuel, thrusters, docks) are allocated here with
// new[] when the caller asks for them with a null pointer; the caller frees them
// with delete[].
void VESSEL::GetStatusEx(void *status) const {
    Vessel *v = live(vessel);
    VESSELSTATUS2 *s = (VESSELSTATUS2 *)status;
    if (!v || !s || s->version != 2) return;
    sim::Body *ref = refBody(*v);
    s->rbody = ref;
    s->base = nullptr;
    s->port = 0;
    s->status = v->landed ? 1 : 0;
    s->rpos = ref ? v->pos - ref->pos : v->pos;
    s->rvel = ref ? v->vel - ref->vel : v->vel;
    if (v->landed) {
        s->vrot = _V(v->cls->cogElev, 0, 0);
        s->arot = sim::matrixToEuler(v->landRot);
        s->surf_lng = v->landLng;
        s->surf_lat = v->landLat;
        s->surf_hdg = v->landHdg;
    } else {
        s->vrot = v->omega;
        s->arot = sim::matrixToEuler(v->R);
        s->surf_lng = s->surf_lat = s->surf_hdg = 0;
    }
    if (s->flag & VS_FUELLIST) {
        DWORD n = (DWORD)v->tankMass.size();
        if (!s->fuel) s->fuel = n ? new VESSELSTATUS2::FUELSPEC[n] : nullptr;
        s->nfuel = n;
        for (DWORD i = 0; i < n; i++) {
            double mx = v->cls->tankMax[i];
            s->fuel[i].idx = i;
            s->fuel[i].level = mx > 0 ? v->tankMass[i] / mx : 0.0;
        }
    }
    if (s->flag & VS_THRUSTLIST) {
        DWORD n = (DWORD)v->thrusters.size();
        if (!s->thruster) s->thruster = n ? new VESSELSTATUS2::THRUSTSPEC[n] : nullptr;
        s->nthruster = n;
        for (DWORD i = 0; i < n; i++) {
            s->thruster[i].idx = i;
            s->thruster[i].level = v->thrusters[i].level;
        }
    }
    if (s->flag & VS_DOCKINFOLIST) {
        DWORD n = 0;
        for (auto &p : v->ports) n += p.docked ? 1 : 0;
        if (!s->dockinfo) s->dockinfo = n ? new VESSELSTATUS2::DOCKINFOSPEC[n] : nullptr;
        s->ndockinfo = n;
        DWORD k = 0;
        for (auto &p : v->ports)
            if (p.docked) {
                s->dockinfo[k].idx = (DWORD)p.index;
                s->dockinfo[k].ridx = (DWORD)p.otherPort;
                s->dockinfo[k].rvessel = p.docked;
                k++;
            }
    }
    s->xpdr = v->transponder.channel;
}

void VESSEL::DefSetStateEx(const void *status) const {
    Vessel *v = live(vessel);
    const VESSELSTATUS2 *s = (const VESSELSTATUS2 *)status;
    if (!v || !s || s->version != 2) return;
    sim::Body *ref = world().bodyOf(s->rbody);
    if (!ref) ref = refBody(*v);
    if (s->status == 1 && ref) {
        sim::setLandedState(*v, ref, s->surf_lng, s->surf_lat, s->surf_hdg);
    } else {
        sim::setOrbitState(*v, ref, s->rpos, s->rvel, s->arot, s->vrot);
    }
    if (s->flag & VS_FUELRESET)
        for (double &m : v->tankMass) m = 0;
    if ((s->flag & VS_FUELLIST) && s->fuel)
        for (DWORD i = 0; i < s->nfuel; i++) {
            DWORD k = s->fuel[i].idx;
            if (k < v->tankMass.size()) v->tankMass[k] = std::clamp(s->fuel[i].level, 0.0, 1.0) * v->cls->tankMax[k];
        }
    if (s->flag & VS_THRUSTRESET)
        for (auto &t : v->thrusters) t.level = 0;
    if ((s->flag & VS_THRUSTLIST) && s->thruster)
        for (DWORD i = 0; i < s->nthruster; i++) {
            DWORD k = s->thruster[i].idx;
            double L = s->thruster[i].level;
            if (k < v->thrusters.size()) v->thrusters[k].level = L == L ? std::clamp(L, 0.0, 1.0) : 0.0;
        }
    if (s->xpdr <= 639) v->transponder.channel = s->xpdr;
}

// ---------------------------------------------------------------------------
// Orbital elements and surface position

bool VESSEL::GetElements(OBJHANDLE hRef, ELEMENTS &el, ORBITPARAM *prm, double mjd_ref, int frame) const {
    el = ELEMENTS{};
    if (prm) *prm = ORBITPARAM{};
    Vessel *v = live(vessel);
    if (!v) return false;
    sim::Body *ref = hRef ? world().bodyOf(hRef) : refBody(*v);
    if (!ref) return false;
    VECTOR3 r = v->pos - ref->pos, u = v->vel - ref->vel;
    if (frame == FRAME_EQU) {
        MATRIX3 ob = ref->obliquityMatrix();
        r = tmul(ob, r);
        u = tmul(ob, u);
    }
    if (!sim::stateToElements(r, u, ref->mu(), el, prm)) return false;
    if (mjd_ref != 0) {
        el.L += sim::meanMotion(el, ref->mu()) * (mjd_ref - world().mjd()) * 86400.0;
        if (el.e < 1) el.L = posangle(el.L);
    }
    return true;
}

OBJHANDLE VESSEL::GetElements(ELEMENTS &el, double &mjd_ref) const {
    mjd_ref = world().mjd();
    return GetElements(nullptr, el, nullptr, 0, FRAME_ECL) ? GetGravityRef() : nullptr;
}

OBJHANDLE VESSEL::GetEquPos(double &longitude, double &latitude, double &radius) const {
    longitude = latitude = radius = 0;
    Vessel *v = live(vessel);
    sim::Body *b = v ? (v->landed ? v->landedOn : v->surfaceRef) : nullptr;
    if (!b) return nullptr;
    sim::equPos(*b, v->pos, longitude, latitude, radius);
    return b;
}

double VESSEL::GetAltitude() const {
    double lng, lat, rad;
    OBJHANDLE b = GetEquPos(lng, lat, rad);
    return b ? rad - oapiGetSize(b) : 0.0;
}

double VESSEL::GetCOG_elev() const {
    Vessel *v = live(vessel);
    return v && v->cls ? v->cls->cogElev : 0.0;
}

bool VESSEL::GroundContact() const {
    Vessel *v = live(vessel);
    return v && (v->landed || sim::touchdownHeight(*v) < 0.1);
}

double VESSEL::GetPitch() const {
    Vessel *v = live(vessel);
    VECTOR3 up, n, e;
    if (!v || !sim::horizon(*v, up, n, e)) return 0.0;
    return std::asin(std::clamp(dotp(_V(v->R.m13, v->R.m23, v->R.m33), up), -1.0, 1.0));
}

double VESSEL::GetBank() const {
    Vessel *v = live(vessel);
    VECTOR3 up, n, e;
    if (!v || !sim::horizon(*v, up, n, e)) return 0.0;
    VECTOR3 u = tmul(v->R, up);  // horizon normal in vessel axes
    return std::atan2(-u.x, u.y);  // positive with the +x side down
}

double VESSEL::GetYaw() const {
    Vessel *v = live(vessel);
    VECTOR3 up, n, e;
    if (!v || !sim::horizon(*v, up, n, e)) return 0.0;
    VECTOR3 z = _V(v->R.m13, v->R.m23, v->R.m33);
    return std::atan2(dotp(z, e), dotp(z, n));
}

// ---------------------------------------------------------------------------
// Mass, inertia and frame transforms

double VESSEL::GetMass() const {
    Vessel *v = live(vessel);
    return v ? v->mass() : 0.0;
}

double VESSEL::GetEmptyMass() const {
    Vessel *v = live(vessel);
    return v && v->cls ? v->cls->emptyMass : 0.0;
}

double VESSEL::GetSize() const {
    Vessel *v = live(vessel);
    return v && v->cls ? v->cls->size : 0.0;
}

void VESSEL::GetPMI(VECTOR3 &pmi) const {
    Vessel *v = live(vessel);
    pmi = v && v->cls ? v->cls->pmi : _V(0, 0, 0);
}

bool VESSEL::GetSuperstructureCG(VECTOR3 &cg) const {
    Vessel *v = live(vessel);
    cg = _V(0, 0, 0);
    return v && sim::dockedCG(*v, cg);
}

void VESSEL::Local2Global(const VECTOR3 &local, VECTOR3 &global) const {
    Vessel *v = live(vessel);
    global = v ? v->pos + mul(v->R, local) : local;
}

void VESSEL::Global2Local(const VECTOR3 &global, VECTOR3 &local) const {
    Vessel *v = live(vessel);
    local = v ? tmul(v->R, global - v->pos) : global;
}

void VESSEL::GlobalRot(const VECTOR3 &rloc, VECTOR3 &rglob) const {
    Vessel *v = live(vessel);
    rglob = v ? mul(v->R, rloc) : rloc;
}

void VESSEL::HorizonRot(const VECTOR3 &rloc, VECTOR3 &rhorizon) const {
    Vessel *v = live(vessel);
    VECTOR3 up, n, e;
    if (!v || !sim::horizon(*v, up, n, e)) {
        rhorizon = rloc;
        return;
    }
    VECTOR3 g = mul(v->R, rloc);
    rhorizon = _V(dotp(g, e), dotp(g, up), dotp(g, n));
}

void VESSEL::HorizonInvRot(const VECTOR3 &rhorizon, VECTOR3 &rloc) const {
    Vessel *v = live(vessel);
    VECTOR3 up, n, e;
    if (!v || !sim::horizon(*v, up, n, e)) {
        rloc = rhorizon;
        return;
    }
    rloc = tmul(v->R, e * rhorizon.x + up * rhorizon.y + n * rhorizon.z);
}
