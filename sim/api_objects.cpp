// oapi functions on objects: lookup, focus, size and mass, positions and
// velocities, rotation matrices and frame transforms. Every handle is checked
// against the current world before use.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "api_util.h"
#include "simmath.h"

using sim::world;

namespace sim {

void equPos(const Body &b, const VECTOR3 &gpos, double &lng, double &lat, double &rad) {
    VECTOR3 q = tmul(b.rotationMatrix(world().simt), gpos - b.pos);
    rad = length(q);
    lng = std::atan2(q.z, q.x);
    lat = rad > 0 ? std::asin(std::clamp(q.y / rad, -1.0, 1.0)) : 0.0;
}

static VECTOR3 baseLocal(const Base &s) {
    const Body &p = *s.planet;
    return equToUnit(s.lng, s.lat) * (p.radius + p.elevation(s.lng, s.lat));
}

bool objectState(const World &w, const void *h, VECTOR3 *pos, VECTOR3 *vel) {
    if (Vessel *v = w.vesselOf(h)) {
        if (pos) *pos = v->pos;
        if (vel) *vel = v->vel;
        return true;
    }
    if (Body *b = w.bodyOf(h)) {
        if (pos) *pos = b->pos;
        if (vel) *vel = b->vel;
        return true;
    }
    if (Base *s = w.baseOf(h)) {
        const Body &p = *s->planet;
        VECTOR3 r = mul(p.rotationMatrix(w.simt), baseLocal(*s));
        if (pos) *pos = p.pos + r;
        if (vel) *vel = p.vel + p.surfaceVelocity(r, w.simt);
        return true;
    }
    return false;
}

bool objectRotation(const World &w, const void *h, MATRIX3 &m) {
    if (Vessel *v = w.vesselOf(h)) {
        m = v->R;
        return true;
    }
    if (Body *b = w.bodyOf(h)) {
        m = b->rotationMatrix(w.simt);
        return true;
    }
    if (Base *s = w.baseOf(h)) {
        m = s->planet->rotationMatrix(w.simt);
        return true;
    }
    m = identity();
    return false;
}

NavRadio *navOf(const World &w, const void *h) {
    if (!h) return nullptr;
    for (auto &v : w.vessels) {
        if (!v->alive) continue;
        if (h == &v->transponder) return v->cls && v->cls->hasTransponder ? &v->transponder : nullptr;
        for (auto &r : v->ids)
            if (h == &r) return &r;
    }
    return nullptr;
}

bool horizon(const Vessel &v, VECTOR3 &up, VECTOR3 &north, VECTOR3 &east) {
    const Body *b = v.landed ? v.landedOn : v.surfaceRef;
    if (!b) b = v.gravityRef;
    if (!b) {
        up = _V(0, 1, 0);
        north = _V(0, 0, 1);
        east = _V(1, 0, 0);
        return false;
    }
    MATRIX3 m = b->rotationMatrix(world().simt);
    VECTOR3 r = v.pos - b->pos;
    up = length(r) > 0 ? unit(r) : _V(m.m12, m.m22, m.m32);
    VECTOR3 pole = _V(m.m12, m.m22, m.m32);
    VECTOR3 e = crossp(up, pole);
    if (length(e) < 1e-12) e = _V(m.m11, m.m21, m.m31);  // over a pole: any direction
    east = unit(e);
    north = crossp(east, up);
    return true;
}

}  // namespace sim

namespace {
// Objects in index order: the bodies, then the live vessels.
OBJHANDLE objectAt(int index) {
    sim::World &w = world();
    if (index < 0) return nullptr;
    if ((size_t)index < w.bodies.size()) return w.bodies[index].get();
    index -= (int)w.bodies.size();
    for (auto &v : w.vessels)
        if (v->alive && index-- == 0) return v.get();
    return nullptr;
}

const sim::Object *objectOf(OBJHANDLE h) {
    sim::World &w = world();
    if (Vessel *v = w.vesselOf(h)) return v;
    if (sim::Body *b = w.bodyOf(h)) return b;
    return w.baseOf(h);
}
}  // namespace

// ---------------------------------------------------------------------------
// Objects and vessels

OBJHANDLE oapiGetObjectByName(char *name) { return name ? world().findObject(name) : nullptr; }

OBJHANDLE oapiGetObjectByIndex(int index) { return objectAt(index); }

DWORD oapiGetObjectCount() { return world().bodies.size() + oapiGetVesselCount(); }

void oapiGetObjectName(OBJHANDLE hObj, char *name, int n) {
    if (!name || n <= 0) return;
    const sim::Object *o = objectOf(hObj);
    const size_t len = o ? std::min(o->name.size(), (size_t)n - 1) : 0;
    if (len) std::memcpy(name, o->name.data(), len);
    name[len] = '\0';
}

int oapiGetObjectType(OBJHANDLE hObj) {
    const sim::Object *o = objectOf(hObj);
    return o ? o->objType : OBJTP_INVALID;
}

bool oapiIsVessel(OBJHANDLE hVessel) { return world().vesselOf(hVessel) != nullptr; }

OBJHANDLE oapiGetVesselByName(char *name) { return name ? world().findVessel(name) : nullptr; }

OBJHANDLE oapiGetVesselByIndex(int index) {
    if (index < 0) return nullptr;
    for (auto &v : world().vessels)
        if (v->alive && index-- == 0) return v.get();
    return nullptr;
}

DWORD oapiGetVesselCount() {
    DWORD n = 0;
    for (auto &v : world().vessels) n += v->alive ? 1 : 0;
    return n;
}

VESSEL *oapiGetVesselInterface(OBJHANDLE hVessel) {
    Vessel *v = world().vesselOf(hVessel);
    return v ? v->iface : nullptr;
}

OBJHANDLE oapiGetFocusObject() { return world().vesselOf(world().focus); }

OBJHANDLE oapiSetFocusObject(OBJHANDLE hVessel) {
    sim::World &w = world();
    Vessel *v = w.vesselOf(hVessel);
    if (!v) return nullptr;
    Vessel *old = w.vesselOf(w.focus);
    w.focus = v;
    return old;
}

VESSEL *oapiGetFocusInterface() { return oapiGetVesselInterface(world().focus); }

OBJHANDLE oapiGetGbodyByName(char *name) { return name ? world().findBody(name) : nullptr; }

OBJHANDLE oapiGetGbodyByIndex(int index) {
    sim::World &w = world();
    return index >= 0 && (size_t)index < w.bodies.size() ? w.bodies[index].get() : nullptr;
}

DWORD oapiGetGbodyCount() { return world().bodies.size(); }

double oapiGetSize(OBJHANDLE hObj) {
    if (Vessel *v = world().vesselOf(hObj)) return v->cls ? v->cls->size : 0.0;
    if (sim::Body *b = world().bodyOf(hObj)) return b->radius;
    return 0.0;
}

double oapiGetMass(OBJHANDLE hObj) {
    if (Vessel *v = world().vesselOf(hObj)) return v->mass();
    if (sim::Body *b = world().bodyOf(hObj)) return b->mass;
    return 0.0;
}

// ---------------------------------------------------------------------------
// Positions, velocities and transforms

void oapiGetGlobalPos(OBJHANDLE hObj, VECTOR3 *pos) {
    if (pos && !sim::objectState(world(), hObj, pos, nullptr)) *pos = _V(0, 0, 0);
}

void oapiGetGlobalVel(OBJHANDLE hObj, VECTOR3 *vel) {
    if (vel && !sim::objectState(world(), hObj, nullptr, vel)) *vel = _V(0, 0, 0);
}

void oapiGetRelativePos(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3 *pos) {
    if (!pos) return;
    VECTOR3 a, b;
    bool ok = sim::objectState(world(), hObj, &a, nullptr) && sim::objectState(world(), hRef, &b, nullptr);
    *pos = ok ? a - b : _V(0, 0, 0);
}

void oapiGetRelativeVel(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3 *vel) {
    if (!vel) return;
    VECTOR3 a, b;
    bool ok = sim::objectState(world(), hObj, nullptr, &a) && sim::objectState(world(), hRef, nullptr, &b);
    *vel = ok ? a - b : _V(0, 0, 0);
}

void oapiGetRotationMatrix(OBJHANDLE hObj, MATRIX3 *mat) {
    if (mat) sim::objectRotation(world(), hObj, *mat);
}

void oapiGlobalToLocal(OBJHANDLE hObj, const VECTOR3 *glob, VECTOR3 *loc) {
    if (!glob || !loc) return;
    VECTOR3 p;
    MATRIX3 m;
    if (!sim::objectState(world(), hObj, &p, nullptr) || !sim::objectRotation(world(), hObj, m)) {
        *loc = _V(0, 0, 0);
        return;
    }
    *loc = tmul(m, *glob - p);
}

void oapiLocalToGlobal(OBJHANDLE hObj, const VECTOR3 *loc, VECTOR3 *glob) {
    if (!glob || !loc) return;
    VECTOR3 p;
    MATRIX3 m;
    if (!sim::objectState(world(), hObj, &p, nullptr) || !sim::objectRotation(world(), hObj, m)) {
        *glob = _V(0, 0, 0);
        return;
    }
    *glob = p + mul(m, *loc);
}

void oapiEquToLocal(OBJHANDLE, double lng, double lat, double rad, VECTOR3 *loc) {
    if (loc) *loc = sim::equToUnit(lng, lat) * rad;
}

void oapiLocalToEqu(OBJHANDLE, const VECTOR3 &loc, double *lng, double *lat, double *rad) {
    double r = length(loc);
    if (lng) *lng = std::atan2(loc.z, loc.x);
    if (lat) *lat = r > 0 ? std::asin(std::clamp(loc.y / r, -1.0, 1.0)) : 0.0;
    if (rad) *rad = r;
}

void oapiEquToGlobal(OBJHANDLE hObj, double lng, double lat, double rad, VECTOR3 *glob) {
    VECTOR3 loc = sim::equToUnit(lng, lat) * rad;
    oapiLocalToGlobal(hObj, &loc, glob);
}

void oapiGlobalToEqu(OBJHANDLE hObj, const VECTOR3 &glob, double *lng, double *lat, double *rad) {
    VECTOR3 loc;
    oapiGlobalToLocal(hObj, &glob, &loc);
    oapiLocalToEqu(hObj, loc, lng, lat, rad);
}

double oapiOrthodome(double lng1, double lat1, double lng2, double lat2) {
    return sim::greatCircle(lng1, lat1, lng2, lat2);
}

BOOL oapiGetHeading(OBJHANDLE hVessel, double *heading) {
    Vessel *v = world().vesselOf(hVessel);
    if (!v || !heading) return 0;
    *heading = posangle(v->iface->GetYaw());
    return 1;
}

BOOL oapiGetEquPos(OBJHANDLE hVessel, double *longitude, double *latitude, double *radius) {
    Vessel *v = world().vesselOf(hVessel);
    if (!v) return 0;
    double lng, lat, rad;
    if (!v->iface->GetEquPos(lng, lat, rad)) return 0;
    if (longitude) *longitude = lng;
    if (latitude) *latitude = lat;
    if (radius) *radius = rad;
    return 1;
}

BOOL oapiGetAltitude(OBJHANDLE hVessel, double *alt) {
    Vessel *v = world().vesselOf(hVessel);
    if (!v || !alt || !(v->landed ? v->landedOn : v->surfaceRef)) return 0;
    *alt = v->iface->GetAltitude();
    return 1;
}
