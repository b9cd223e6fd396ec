// The world: lookup of objects, bodies' motion and rotation, vessel creation,
// deletion and state setting.
#include "world.h"

#include <algorithm>
#include <functional>
#include <strings.h>

#include "docking.h"
#include "ephemeris.h"
#include "orbit.h"
#include "simmath.h"

// ---------------------------------------------------------------------------
// Vessel

Vessel::~Vessel() { delete iface; }

double Vessel::propellantMass() const {
    double m = 0;
    for (double t : tankMass) m += t;
    return m;
}

double Vessel::mass() const { return (cls ? cls->emptyMass : 0.0) + propellantMass(); }

namespace sim {

namespace {
World defaultWorld;
World *current = &defaultWorld;

bool sameName(const std::string &a, const std::string &b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }
}  // namespace

World &world() { return *current; }
void setWorld(World *w) { current = w ? w : &defaultWorld; }

World::~World() {
    if (current == this) current = &defaultWorld;
}

// ---------------------------------------------------------------------------
// Lookup

Body *World::findBody(const std::string &n) const {
    for (auto &b : bodies)
        if (sameName(b->name, n)) return b.get();
    return nullptr;
}

const VesselClass *World::findClass(const std::string &n) const {
    for (auto &c : classes)
        if (sameName(c->name, n)) return c.get();
    return nullptr;
}

Vessel *World::findVessel(const std::string &n) const {
    for (auto &v : vessels)
        if (v->alive && sameName(v->name, n)) return v.get();
    return nullptr;
}

Object *World::findObject(const std::string &n) const {
    if (Body *b = findBody(n)) return b;
    return findVessel(n);
}

Vessel *World::vesselOf(const void *h) const {
    if (!h) return nullptr;
    if (h == lastVesselOf) return lastVesselOf->alive ? lastVesselOf : nullptr;
    Vessel *found = nullptr;
    if (vesselsByAddress.size() == vessels.size()) {
        const auto at = std::lower_bound(vesselsByAddress.begin(), vesselsByAddress.end(), h,
                                         [](const Vessel *v, const void *k) { return std::less<const void *>()(v, k); });
        if (at != vesselsByAddress.end() && *at == h) found = *at;
    } else {
        for (auto &v : vessels)
            if (v.get() == h) found = v.get();
    }
    if (!found) return nullptr;
    lastVesselOf = found;
    return found->alive ? found : nullptr;
}

Body *World::bodyOf(const void *h) const {
    if (!h) return nullptr;
    for (auto &b : bodies)
        if (b.get() == h) return b.get();
    return nullptr;
}

Base *World::baseOf(const void *h) const {
    if (!h) return nullptr;
    for (auto &b : bodies)
        for (auto &s : b->bases)
            if (s.get() == h) return s.get();
    return nullptr;
}

bool World::isObject(const void *h) const { return vesselOf(h) || bodyOf(h) || baseOf(h); }

// ---------------------------------------------------------------------------
// Time

void setWarp(World &w, double warp) {
    if (!(warp == warp)) return;  // NaN: keep the current value
    w.warp = std::clamp(warp, 0.1, 100000.0);
}

void setMjd(World &w, double mjd) {
    w.mjd0 = mjd - w.simt / 86400.0;
    updateBodies(w);
    for (auto &v : w.vessels)
        if (v->alive && v->landed) syncLanded(*v, w.simt);
}

// ---------------------------------------------------------------------------
// Bodies

double Body::rotationRate() const { return rotPeriod != 0 ? PI2 / rotPeriod : 0.0; }

namespace {
// RotX(a): rows (1, 0, 0), (0, cos a, -sin a), (0, sin a, cos a).
MATRIX3 rotX(double a) {
    double c = std::cos(a), s = std::sin(a);
    return _M(1, 0, 0, 0, c, -s, 0, s, c);
}
}  // namespace

Equator Body::equator(double mjd) const {
    Equator e;
    e.theta = theta;
    e.obliquity = obliquity;
    if (precPeriod == 0) return e;
    // The equator's node on the reference plane, then the whole referred to the
    // ecliptic: Rref Rrel = RotY(theta) RotX(obliquity) RotY(dphi).
    const double turned = PI2 * (mjd - rotEpochMjd) / precPeriod;
    const MATRIX3 ecl = mul(mul(rotY(precLan), rotX(precObliquity)), mul(rotY(theta + turned), rotX(obliquity)));
    e.obliquity = std::acos(std::clamp(ecl.m22, -1.0, 1.0));
    e.theta = std::atan2(-ecl.m12, ecl.m32);
    const MATRIX3 rest = mul(transpose(mul(rotY(e.theta), rotX(e.obliquity))), ecl);
    // The node's turn is not a turn of the body: what the equator moved along itself
    // comes off the sidereal angle.
    e.rotShift = std::atan2(-rest.m13, rest.m11) - turned * std::cos(obliquity);
    return e;
}

double Body::currentRotation(double simt) const {
    const double mjd0 = world ? world->mjd0 : rotEpochMjd;
    const double shift = equator(mjd0 + simt / 86400.0).rotShift;
    if (rotPeriod == 0) return posangle(rotOffset + shift);
    double t = (mjd0 - rotEpochMjd) * 86400.0 + simt;
    double turns = t / rotPeriod;
    return posangle(rotOffset + PI2 * (turns - std::floor(turns)) + shift);
}

MATRIX3 Body::obliquityMatrix() const {
    const Equator e = equator(world ? world->mjd() : rotEpochMjd);
    return mul(rotY(e.theta), rotX(e.obliquity));
}

MATRIX3 Body::rotationMatrix(double simt) const {
    const double mjd = world ? world->mjd0 + simt / 86400.0 : rotEpochMjd;
    const Equator e = equator(mjd);
    return mul(mul(rotY(e.theta), rotX(e.obliquity)), rotY(currentRotation(simt)));
}

VECTOR3 Body::surfaceVelocity(const VECTOR3 &r, double simt) const {
    double rate = rotationRate();
    if (rate == 0) return _V(0, 0, 0);
    MATRIX3 m = rotationMatrix(simt);
    VECTOR3 q = tmul(m, r);
    return mul(m, _V(-q.z, 0, q.x) * rate);
}

double Body::elevation(double lng, double lat) const {
    double h = 0;
    for (const TerrainBump &b : terrain) {
        if (!(b.radius > 0)) continue;
        double d = greatCircle(lng, lat, b.lng, b.lat);
        if (d < b.radius) h += b.height * 0.5 * (1.0 + std::cos(PI * d / b.radius));
    }
    return h;
}

double Body::maxElevation() const {
    double h = 0;
    for (const TerrainBump &b : terrain) h += std::max(0.0, b.height);
    return h;
}

void orbitState(const Body &b, double mjd, VECTOR3 &rpos, VECTOR3 &rvel) {
    if (b.orbit.lunarTheory) {
        lunarState(mjd, rpos, rvel);
        return;
    }
    const double mu = b.mu() + (b.parent ? b.parent->mu() : 0.0);
    elementsToState(b.orbit.el, mu, (mjd - b.orbit.epochMjd) * 86400.0, rpos, rvel);
}

void updateBodies(World &w) {
    double mjd = w.mjd();
    // Parents come first in the file, but do not rely on it: a few passes settle any order.
    for (int pass = 0; pass < 4; pass++) {
        bool done = true;
        for (auto &bp : w.bodies) {
            Body &b = *bp;
            if (b.stateMjd == mjd) continue;
            if (!b.parent) {
                b.stateMjd = mjd;
                continue;
            }
            if (b.parent->stateMjd != mjd) {
                done = false;
                continue;
            }
            VECTOR3 rp, vp;
            orbitState(b, mjd, rp, vp);
            b.pos = b.parent->pos + rp;
            b.vel = b.parent->vel + vp;
            b.stateMjd = mjd;
        }
        if (done) break;
    }
}

// ---------------------------------------------------------------------------
// Vessels

void deriveTouchdownPlane(VesselClass &c) {
    c.tdNormal = _V(0, 1, 0);
    c.cogElev = 0;
    if (c.touchdown.size() < 3) return;
    const VECTOR3 &p1 = c.touchdown[0], &p2 = c.touchdown[1], &p3 = c.touchdown[2];
    VECTOR3 n = crossp(p2 - p1, p3 - p1);
    if (length(n) <= 0) return;
    n = unit(n);
    double d = -dotp(n, p1);  // CoG's distance from the plane along n
    if (d < 0) {
        n = -n;
        d = -d;
    }
    c.tdNormal = n;
    c.cogElev = d;
}

Vessel *addVessel(World &w, const std::string &name, const VesselClass *cls) {
    if (!cls || name.empty() || w.findVessel(name)) return nullptr;
    auto v = std::make_unique<Vessel>();
    Vessel *p = v.get();
    p->objType = OBJTP_VESSEL;
    p->name = name;
    p->cls = cls;
    p->nonspherical = w.nonsphericalGravity;
    p->tankMass = cls->tankMax;
    p->thrusters.resize(cls->thrusters.size());
    for (size_t i = 0; i < p->thrusters.size(); i++) {
        p->thrusters[i].owner = p;
        p->thrusters[i].index = (int)i;
    }
    p->ports.resize(cls->docks.size());
    p->ids.resize(cls->docks.size());
    for (size_t i = 0; i < p->ports.size(); i++) {
        p->ports[i].owner = p;
        p->ports[i].index = (int)i;
        p->ids[i].type = TRANSMITTER_IDS;
        p->ids[i].channel = cls->docks[i].idsChannel;
        p->ids[i].vessel = p;
        p->ids[i].dock = (int)i;
    }
    p->navChannel.assign(std::max(0, cls->navCount), 0);
    p->transponder.type = TRANSMITTER_XPDR;
    p->transponder.channel = cls->xpdrChannel;
    p->transponder.vessel = p;
    p->iface = new VESSEL(p);
    w.vessels.push_back(std::move(v));
    w.vesselsByAddress.insert(std::upper_bound(w.vesselsByAddress.begin(), w.vesselsByAddress.end(), p,
                                               std::less<const Vessel *>()),
                              p);
    if (!w.focus) w.focus = p;
    return p;
}

void deleteVessel(World &w, Vessel *v) {
    if (!w.vesselOf(v)) return;
    for (auto &port : v->ports) {
        if (port.docked && port.otherPort >= 0 && port.otherPort < (int)port.docked->ports.size()) {
            sim::DockPort &o = port.docked->ports[port.otherPort];
            o.docked = nullptr;
            o.otherPort = -1;
        }
        port.docked = nullptr;
        port.otherPort = -1;
    }
    for (auto &t : v->thrusters) t.level = 0;
    v->alive = false;
    rebuildStacks(w);
    if (w.focus == v) {
        w.focus = nullptr;
        for (auto &o : w.vessels)
            if (o->alive) {
                w.focus = o.get();
                break;
            }
    }
}

void setOrbitState(Vessel &v, Body *ref, const VECTOR3 &rpos, const VECTOR3 &rvel, const VECTOR3 &arot,
                   const VECTOR3 &vrot) {
    if (ref && ref->world) updateBodies(*ref->world);
    VECTOR3 rp = ref ? ref->pos : _V(0, 0, 0), rv = ref ? ref->vel : _V(0, 0, 0);
    v.landed = false;
    v.landedOn = nullptr;
    v.pos = rp + rpos;
    v.vel = rv + rvel;
    v.R = eulerToMatrix(arot);
    v.omega = vrot;
    if (ref) v.gravityRef = ref;
    if (ref && ref->objType == OBJTP_PLANET) v.surfaceRef = ref;
}

void landedFrame(const VesselClass &c, double lng, double lat, double hdg, MATRIX3 &rot) {
    VECTOR3 up = equToUnit(lng, lat);
    VECTOR3 north = _V(-std::sin(lat) * std::cos(lng), std::cos(lat), -std::sin(lat) * std::sin(lng));
    VECTOR3 east = _V(-std::sin(lng), 0, std::cos(lng));
    VECTOR3 head = north * std::cos(hdg) + east * std::sin(hdg);
    VECTOR3 right = crossp(up, head);
    VECTOR3 n = c.tdNormal;
    VECTOR3 f = _V(0, 0, 1) - n * n.z;
    if (length(f) < 1e-6) f = _V(0, 1, 0) - n * n.y;
    f = unit(f);
    VECTOR3 s = crossp(n, f);
    // vessel axes -> planet frame: s -> right, n -> up, f -> heading
    MATRIX3 a = matFromColumns(right, up, head), b = matFromColumns(s, n, f);
    rot = mul(a, transpose(b));
}

void syncLanded(Vessel &v, double simt) {
    Body *p = v.landedOn;
    if (!p) return;
    MATRIX3 m = p->rotationMatrix(simt);
    VECTOR3 r = mul(m, v.landPos);
    v.pos = p->pos + r;
    v.vel = p->vel + p->surfaceVelocity(r, simt);
    v.R = mul(m, v.landRot);
    v.omega = tmul(v.landRot, _V(0, p->rotationRate(), 0));
}

void setLandedState(Vessel &v, Body *planet, double lng, double lat, double hdg) {
    if (!planet || !v.cls) return;
    if (planet->world) updateBodies(*planet->world);
    v.landed = true;
    v.landedOn = planet;
    v.gravityRef = planet;
    v.surfaceRef = planet;
    v.landLng = normangle(lng);
    v.landLat = std::clamp(lat, -PI05, PI05);
    v.landHdg = posangle(hdg);
    landedFrame(*v.cls, v.landLng, v.landLat, v.landHdg, v.landRot);
    double r = planet->radius + planet->elevation(v.landLng, v.landLat) + v.cls->cogElev;
    v.landPos = equToUnit(v.landLng, v.landLat) * r;
    syncLanded(v, planet->world ? planet->world->simt : 0.0);
}

}  // namespace sim
