// Contact between vessels' hulls: detection and the record of each contact.
#include "collision.h"

#include <algorithm>
#include <cstdio>

#include "simmath.h"

namespace sim {

namespace {

// The spheres of a class's hull: its HULL lines, or one sphere of its SIZE.
std::vector<HullSphere> hullOf(const VesselClass &c) {
    if (!c.hull.empty()) return c.hull;
    return {HullSphere{_V(0, 0, 0), c.size}};
}

// Radius about the vessel's centre that holds its whole hull.
double reach(const VesselClass &c) {
    double r = 0;
    for (const HullSphere &s : hullOf(c)) r = std::max(r, length(s.pos) + s.radius);
    return r;
}

const Vessel *stackLeader(const Vessel &v) { return v.dockLeader ? v.dockLeader : &v; }

// Two free ports, one on each vessel, within twice the capture radius.
bool portsMeet(const World &w, const Vessel &a, const Vessel &b) {
    for (size_t p = 0; p < a.ports.size(); p++)
        for (size_t q = 0; q < b.ports.size(); q++) {
            if (a.ports[p].docked || b.ports[q].docked) continue;
            VECTOR3 pa = a.pos + mul(a.R, a.cls->docks[p].pos), pb = b.pos + mul(b.R, b.cls->docks[q].pos);
            if (dist(pa, pb) <= 2 * w.dockRadius) return true;
        }
    return false;
}

// Velocity of the point at r (vessel axes) of a vessel, global.
VECTOR3 pointVel(const Vessel &v, const VECTOR3 &r) { return v.vel + mul(v.R, crossp(r, v.omega)); }

// The deepest overlap of the two hulls; false when they do not touch.
bool contact(const Vessel &a, const Vessel &b, Collision &c) {
    double deepest = 0;
    bool found = false;
    for (const HullSphere &sa : hullOf(*a.cls))
        for (const HullSphere &sb : hullOf(*b.cls)) {
            const VECTOR3 ca = a.pos + mul(a.R, sa.pos), cb = b.pos + mul(b.R, sb.pos);
            const double d = dist(ca, cb), depth = sa.radius + sb.radius - d;
            if (depth <= 0 || (found && depth <= deepest)) continue;
            found = true;
            deepest = depth;
            const VECTOR3 n = d > 0 ? (cb - ca) / d : _V(0, 0, 1);
            const VECTOR3 at = ca + n * (sa.radius - 0.5 * depth);
            c.whereA = tmul(a.R, at - a.pos);
            c.whereB = tmul(b.R, at - b.pos);
            c.closingSpeed = -dotp(pointVel(b, c.whereB) - pointVel(a, c.whereA), n);
        }
    return found;
}

bool touchingNow(const World &w, const Vessel *a, const Vessel *b) {
    return std::find(w.touching.begin(), w.touching.end(), std::make_pair(a, b)) != w.touching.end();
}

}  // namespace

void updateCollisions(World &w) {
    std::vector<std::pair<const Vessel *, const Vessel *>> now;
    for (size_t i = 0; i < w.vessels.size(); i++) {
        const Vessel &a = *w.vessels[i];
        if (!a.alive || !a.cls) continue;
        for (size_t j = i + 1; j < w.vessels.size(); j++) {
            const Vessel &b = *w.vessels[j];
            if (!b.alive || !b.cls || stackLeader(a) == stackLeader(b)) continue;
            if (dist(a.pos, b.pos) > reach(*a.cls) + reach(*b.cls)) continue;
            Collision c;
            if (!contact(a, b, c) || portsMeet(w, a, b)) continue;
            now.emplace_back(&a, &b);
            if (touchingNow(w, &a, &b)) continue;
            c.simt = w.simt;
            c.a = a.name;
            c.b = b.name;
            w.collisions.push_back(c);
        }
    }
    w.touching.swap(now);
}

std::string describeCollision(const Collision &c) {
    char buf[768];
    std::snprintf(buf, sizeof buf,
                  "collision at t = %.2f s: %.100s and %.100s, closing at %.3f m/s, at (%.2f %.2f %.2f) m in %.100s's "
                  "axes, (%.2f %.2f %.2f) m in %.100s's",
                  c.simt, c.a.c_str(), c.b.c_str(), c.closingSpeed, c.whereA.x, c.whereA.y, c.whereA.z, c.a.c_str(),
                  c.whereB.x, c.whereB.y, c.whereB.z, c.b.c_str());
    return buf;
}

}  // namespace sim
