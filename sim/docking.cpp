// Docking ports: capture, stacks of docked vessels, undocking.
#include "docking.h"

#include <algorithm>

#include "simmath.h"

namespace sim {

namespace {

// The vessels linked to v through docked ports (v included), in world order.
void component(const World &w, Vessel *v, std::vector<Vessel *> &out) {
    out.clear();
    out.push_back(v);
    for (size_t k = 0; k < out.size(); k++)
        for (auto &p : out[k]->ports)
            if (p.docked && w.vesselOf(p.docked) && std::find(out.begin(), out.end(), p.docked) == out.end())
                out.push_back(p.docked);
    std::vector<Vessel *> ordered;
    for (auto &o : w.vessels)
        if (std::find(out.begin(), out.end(), o.get()) != out.end()) ordered.push_back(o.get());
    out.swap(ordered);
}

bool anyDocked(const Vessel &v) {
    for (auto &p : v.ports)
        if (p.docked) return true;
    return false;
}

const World *worldOf(const Vessel &v) {
    // The vessel's own world is the current one in every caller.
    (void)v;
    return &world();
}

}  // namespace

void stackOf(const World &w, Vessel &leader, Stack &s) {
    s.members.clear();
    s.members.push_back(&leader);
    for (auto &o : w.vessels)
        if (o->alive && o->dockLeader == &leader) s.members.push_back(o.get());
    s.mass = 0;
    s.cg = _V(0, 0, 0);
    for (Vessel *m : s.members) {
        double mm = m->mass();
        s.mass += mm;
        s.cg += (m == &leader ? _V(0, 0, 0) : m->dockOff) * mm;
    }
    if (s.mass > 0) s.cg /= s.mass;
    s.inertia = _M(0, 0, 0, 0, 0, 0, 0, 0, 0);
    for (Vessel *m : s.members) {
        double mm = m->mass();
        MATRIX3 rel = m == &leader ? identity() : m->dockRel;
        VECTOR3 d = (m == &leader ? _V(0, 0, 0) : m->dockOff) - s.cg;
        VECTOR3 p = m->cls->pmi * mm;
        MATRIX3 own = mul(mul(rel, _M(p.x, 0, 0, 0, p.y, 0, 0, 0, p.z)), transpose(rel));
        double d2 = length2(d);
        MATRIX3 shift = _M(d2, 0, 0, 0, d2, 0, 0, 0, d2);
        MATRIX3 dd = outerp(d, d);
        for (int i = 0; i < 9; i++) s.inertia.data[i] += own.data[i] + mm * (shift.data[i] - dd.data[i]);
    }
}

bool dockedCG(const Vessel &v, VECTOR3 &cg) {
    cg = _V(0, 0, 0);
    if (!anyDocked(v)) return false;
    const World &w = *worldOf(v);
    Vessel *leader = v.dockLeader ? v.dockLeader : const_cast<Vessel *>(&v);
    if (!w.vesselOf(leader)) return false;
    VECTOR3 sum = _V(0, 0, 0);
    double mass = 0;
    for (auto &o : w.vessels)
        if (o->alive && (o.get() == leader || o->dockLeader == leader)) {
            sum += o->pos * o->mass();
            mass += o->mass();
        }
    if (!(mass > 0)) return false;
    cg = tmul(v.R, sum / mass - v.pos);
    return true;
}

bool dockFollower(const Vessel &v) { return v.dockLeader != nullptr; }

void placeFollowers(const World &w, Vessel &leader) {
    for (auto &o : w.vessels) {
        Vessel &f = *o;
        if (!f.alive || f.dockLeader != &leader) continue;
        f.R = mul(leader.R, f.dockRel);
        f.pos = leader.pos + mul(leader.R, f.dockOff);
        f.vel = leader.vel + mul(leader.R, crossp(f.dockOff, leader.omega));
        f.omega = tmul(f.dockRel, leader.omega);
        f.gravityRef = leader.gravityRef;
        f.surfaceRef = leader.surfaceRef;
    }
}

void rebuildStacks(World &w) {
    for (auto &o : w.vessels) o->dockLeader = nullptr;
    std::vector<Vessel *> comp;
    for (auto &o : w.vessels) {
        Vessel *v = o.get();
        if (!v->alive || v->dockLeader || !anyDocked(*v)) continue;
        component(w, v, comp);
        Vessel *leader = comp.front();
        for (Vessel *m : comp) {
            if (m == leader) continue;
            m->dockLeader = leader;
            m->dockRel = mul(transpose(leader->R), m->R);
            m->dockOff = tmul(leader->R, m->pos - leader->pos);
        }
    }
}

bool undock(Vessel &v, int n) {
    if (n < 0 || n >= (int)v.ports.size() || !v.ports[n].docked) return false;
    DockPort &p = v.ports[n];
    if (p.otherPort >= 0 && p.otherPort < (int)p.docked->ports.size()) {
        DockPort &o = p.docked->ports[p.otherPort];
        o.docked = nullptr;
        o.otherPort = -1;
        o.lastDocked = &v;
        o.lastPort = n;
    }
    p.lastDocked = p.docked;
    p.lastPort = p.otherPort;
    p.docked = nullptr;
    p.otherPort = -1;
    rebuildStacks(world());
    return true;
}

namespace {

VECTOR3 portPos(const Vessel &v, int i) { return v.pos + mul(v.R, v.cls->docks[i].pos); }

// Join port pb of b's stack to port pa of a: b's stack turns and moves so the
// ports meet exactly (directions opposed, up vectors aligned), and the joined
// stack moves with the momentum of the two.
void join(World &w, Vessel &a, int pa, Vessel &b, int pb) {
    std::vector<Vessel *> cb, ca;
    component(w, &b, cb);
    component(w, &a, ca);
    bool sameStack = std::find(ca.begin(), ca.end(), &b) != ca.end();
    double ma = 0, mb = 0;
    VECTOR3 pa_mom = _V(0, 0, 0), pb_mom = _V(0, 0, 0);
    for (Vessel *m : ca) {
        ma += m->mass();
        pa_mom += m->vel * m->mass();
    }
    for (Vessel *m : cb) {
        mb += m->mass();
        pb_mom += m->vel * m->mass();
    }
    if (sameStack) cb.clear();  // a ring closes: nothing moves
    const DockSpec &da = a.cls->docks[pa], &db = b.cls->docks[pb];
    VECTOR3 gd = mul(a.R, da.dir) * -1.0, gr = mul(a.R, da.rot);
    MATRIX3 G = matFromColumns(gd, gr, crossp(gd, gr));
    MATRIX3 L = matFromColumns(db.dir, db.rot, crossp(db.dir, db.rot));
    MATRIX3 Rb = mul(G, transpose(L));
    VECTOR3 posB = portPos(a, pa) - mul(Rb, db.pos);
    for (Vessel *m : cb) {
        if (m == &b) continue;  // b moves last: the others are placed from its old pose
        MATRIX3 rel = mul(transpose(b.R), m->R);
        VECTOR3 off = tmul(b.R, m->pos - b.pos);
        m->R = mul(Rb, rel);
        m->pos = posB + mul(Rb, off);
    }
    if (!sameStack) {
        b.R = Rb;
        b.pos = posB;
        VECTOR3 vcm = (pa_mom + pb_mom) / (ma + mb), wg = mul(a.R, a.omega);
        for (Vessel *m : cb) {
            m->vel = vcm;
            m->omega = tmul(m->R, wg);
        }
        for (Vessel *m : ca) {
            m->vel = vcm;
            m->omega = tmul(m->R, wg);
        }
    }
    a.ports[pa].docked = &b;
    a.ports[pa].otherPort = pb;
    b.ports[pb].docked = &a;
    b.ports[pb].otherPort = pa;
    rebuildStacks(w);
}

}  // namespace

namespace {

// The closest pair of free ports of a and b within the capture radius (false when
// none); a pair just undocked counts again only once drawn apart.
bool closestPair(const World &w, Vessel &a, Vessel &b, int &pa, int &pb, double &best) {
    const double r = w.dockRadius;
    pa = pb = -1;
    best = r;
    for (size_t p = 0; p < a.ports.size(); p++)
        for (size_t q = 0; q < b.ports.size(); q++) {
            DockPort &A = a.ports[p], &B = b.ports[q];
            const double d = dist(portPos(a, (int)p), portPos(b, (int)q));
            const bool last = A.lastDocked == &b && A.lastPort == (int)q;
            if (last && d > 2 * r) A.lastDocked = nullptr, B.lastDocked = nullptr;
            if (A.docked || B.docked || last || d >= best) continue;
            pa = (int)p, pb = (int)q, best = d;
        }
    return pa >= 0;
}

// Separation of a's port pa from b's port pb along b's port axis (m).
double axialGap(const Vessel &a, int pa, const Vessel &b, int pb) {
    return dotp(portPos(a, pa) - portPos(b, pb), mul(b.R, b.cls->docks[pb].dir));
}

// Vessel a checks vessel b: marks a closing pair, docks it once it stops closing.
// True when it docked.
bool checkPair(World &w, Vessel &a, Vessel &b) {
    int p, q;
    double d;
    const bool found = closestPair(w, a, b, p, q, d);
    const bool same = found && a.dockMarked == &b && a.markedPort == p && a.markedOther == q;
    if (!found) {
        if (a.dockMarked == &b) a.dockMarked = nullptr;
        return false;
    }
    const double axial = axialGap(a, p, b, q);
    if (same && (d >= a.markedDist || axial * a.markedAxial <= 0)) {
        a.dockMarked = nullptr;
        join(w, a, p, b, q);
        return true;
    }
    a.dockMarked = &b, a.markedPort = p, a.markedOther = q, a.markedDist = d, a.markedAxial = axial;
    return false;
}

}  // namespace

void updateDocking(World &w) {
    const size_t n = w.vessels.size();
    for (size_t i = 0; i < n; i++) {
        Vessel &a = *w.vessels[i];
        if (!a.alive || a.landed || a.ports.empty() || n < 2) continue;
        // The next live vessel after the last one checked, never a itself.
        Vessel *b = nullptr;
        for (size_t k = 0; k < n && !b; k++) {
            const size_t j = (a.dockCheckNext + k) % n;
            Vessel &o = *w.vessels[j];
            if (j != i && o.alive) b = &o, a.dockCheckNext = j + 1;
        }
        if (!b || b->landed || b->ports.empty()) continue;
        if (dist(a.pos, b->pos) > a.cls->size + b->cls->size + 2 * w.dockRadius + 100.0) continue;
        if (checkPair(w, a, *b)) return;  // one capture a frame
    }
}

}  // namespace sim
