// Physics: gravity, thrust, drag and lift, rigid-body rotation, surface contact
// and the landed state, integrated in fixed sub-steps.
//
// Translation: classical RK4 per sub-step, the bodies' positions taken at each
// stage's time, drag and lift at each stage's position and velocity (the attitude
// of the sub-step's start; they give no torque). Rotation: RK4 on the host's Euler equation
// I dw/dt + (I w) x w = torque, then the attitude turned by the mean rate
// (dR/dt = R K, K v = v x w) and re-orthonormalised.
#include <algorithm>
#include <cmath>

#include "aero.h"
#include "collision.h"
#include "docking.h"
#include "ephemeris.h"
#include "orbit.h"
#include "simmath.h"
#include "world.h"

namespace sim {

namespace {

// Global positions of the bodies at an MJD (parents precede children in w.bodies).
void bodyPositions(const World &w, double mjd, std::vector<VECTOR3> &out) {
    out.resize(w.bodies.size());
    for (size_t i = 0; i < w.bodies.size(); i++) {
        const Body &b = *w.bodies[i];
        if (!b.parent) {
            out[i] = b.pos;
            continue;
        }
        size_t p = 0;
        while (p < i && w.bodies[p].get() != b.parent) p++;
        VECTOR3 rp, vp;
        if (b.orbit.lunarTheory) rp = lunarPosition(mjd);
        else orbitState(b, mjd, rp, vp);
        out[i] = (p < i ? out[p] : b.parent->pos) + rp;
    }
}

const Body *rootOf(const Body *b) {
    int guard = 0;
    while (b->parent && guard++ < 16) b = b->parent;
    return b;
}

// The host's non-spherical gravity stops at J4 (the Earth's J5 is listed but pulls
// nothing: measured, with J5 the pull was 2e-6 to 6e-6 m/s^2 off, without 2e-7).
const size_t kZonalTerms = 3;

// The zonal terms J2 to J4 of body b (pole `pole`, gravitational parameter mu) at
// rv from its centre: the gradient of mu/r sum Jn (R/r)^n Pn(sin latitude), with
// the Legendre polynomials and their derivatives by recurrence.
VECTOR3 zonalAccel(const Body &b, double mu, const VECTOR3 &pole, const VECTOR3 &rv) {
    const double r = std::sqrt(length2(rv));
    if (!(r > 0)) return _V(0, 0, 0);
    const VECTOR3 u = rv / r;
    const double s = dotp(u, pole), q = b.radius / r;
    double p0 = 1.0, p1 = s, d0 = 0.0, d1 = 1.0;  // P(n-1), P(n) and their derivatives, from n = 1
    double radial = 0.0, polar = 0.0, qn = q;
    for (size_t k = 0; k < b.jcoeff.size() && k < kZonalTerms; k++) {
        const double n = (double)k + 1.0;  // from P1 to P2, ...
        const double p2 = ((2 * n + 1) * s * p1 - n * p0) / (n + 1), d2 = d0 + (2 * n + 1) * p1;
        qn *= q;  // (R/r)^(n+1)
        radial += b.jcoeff[k] * qn * (n + 2) * p2;
        polar += b.jcoeff[k] * qn * d2;
        p0 = p1, p1 = p2, d0 = d1, d1 = d2;
    }
    const double k = mu / (r * r);
    return (u * (radial + polar * s) - pole * polar) * k;
}

// Acceleration at g with the bodies at `bpos`. A body moving about a fixed one
// enters with its differential term: the fixed body's frame is accelerated too.
VECTOR3 accelWith(const World &w, const std::vector<VECTOR3> &bpos, const VECTOR3 &g, bool nonspherical) {
    VECTOR3 a = _V(0, 0, 0);
    for (size_t i = 0; i < w.bodies.size(); i++) {
        const Body &b = *w.bodies[i];
        double mu = b.mu();
        VECTOR3 d = bpos[i] - g;
        double r2 = length2(d);
        if (r2 <= 0) continue;
        a += d * (mu / (r2 * std::sqrt(r2)));
        if (b.parent) {
            const Body *root = rootOf(&b);
            size_t k = 0;
            while (k < w.bodies.size() && w.bodies[k].get() != root) k++;
            VECTOR3 e = bpos[i] - (k < w.bodies.size() ? bpos[k] : root->pos);
            double s2 = length2(e);
            if (s2 > 0) a -= e * (mu / (s2 * std::sqrt(s2)));
        }
        if (nonspherical && !b.jcoeff.empty()) a += zonalAccel(b, mu, mul(b.obliquityMatrix(), _V(0, 1, 0)), g - bpos[i]);
    }
    return a;
}

struct ThrustSum {
    VECTOR3 force{}, torque{};  // vessel axes
    std::vector<double> use;    // kg drawn per tank over the step
};

// Force, torque and propellant use of the thrusters over a step h. A tank that
// cannot feed the whole step scales its thrusters down to what it holds; the
// ambient pressure lowers the thrust of engines that have a reference Isp, not
// their propellant flow.
void thrust(const Vessel &v, double h, ThrustSum &ts) {
    const VesselClass &c = *v.cls;
    const double p = ambientPressure(v);
    ts.force = ts.torque = _V(0, 0, 0);
    ts.use.assign(v.tankMass.size(), 0.0);
    bool any = false;
    for (size_t i = 0; i < v.thrusters.size(); i++) {
        double L = v.thrusters[i].level;
        if (L <= 0) continue;
        const ThrusterSpec &s = c.thrusters[i];
        if (s.tank >= 0) ts.use[s.tank] += L * s.maxThrust / s.isp * h;
        any = true;
    }
    if (!any) return;
    std::vector<double> frac(v.tankMass.size(), 1.0);
    for (size_t k = 0; k < frac.size(); k++)
        if (ts.use[k] > v.tankMass[k]) {
            frac[k] = ts.use[k] > 0 ? std::max(0.0, v.tankMass[k]) / ts.use[k] : 0.0;
            ts.use[k] = std::max(0.0, v.tankMass[k]);
        }
    VECTOR3 cg = _V(0, 0, 0);
    dockedCG(v, cg);
    for (size_t i = 0; i < v.thrusters.size(); i++) {
        double L = v.thrusters[i].level;
        if (L <= 0) continue;
        const ThrusterSpec &s = c.thrusters[i];
        double F = L * s.maxThrust * pressureFactor(s, p) * (s.tank >= 0 ? frac[s.tank] : 1.0);
        VECTOR3 f = s.dir * F;
        ts.force += f;
        ts.torque += crossp(f, s.pos - cg);
    }
}

VECTOR3 angularAccel(const MATRIX3 &I, const MATRIX3 &Iinv, const VECTOR3 &w, const VECTOR3 &tq) {
    return mul(Iinv, tq - crossp(mul(I, w), w));
}

void turn(Vessel &v, const VECTOR3 &w, double h) {
    double wl = length(w);
    if (wl * h > 0) v.R = mul(v.R, rotm(w / wl, -wl * h));
}

void consume(Vessel &v, const ThrustSum &ts) {
    for (size_t k = 0; k < ts.use.size(); k++) v.tankMass[k] = std::max(0.0, v.tankMass[k] - ts.use[k]);
}

// Surface-relative vertical and horizontal speed of a free vessel above `p`.
void surfaceSpeeds(const Vessel &v, const Body &p, double simt, double &vs, double &hs) {
    VECTOR3 r = v.pos - p.pos;
    VECTOR3 dv = v.vel - p.vel - p.surfaceVelocity(r, simt);
    VECTOR3 up = unit(r);
    vs = dotp(dv, up);
    hs = length(dv - up * vs);
}

// A free vessel's lowest touchdown point and surface-relative speeds at the start
// of a sub-step, for the moment of contact within it.
struct BeforeStep {
    const Body *body = nullptr;  // the surface below then
    double height = 1e300;  // m above the terrain
    double vs = 0, hs = 0;  // m/s
};

// The vessel comes down on p. The sub-step that finds it below the ground ended
// after the contact; the speeds and time are taken where its lowest point
// crossed the terrain (by the height's share of the step above and below), not
// after the rest of the step's fall into the ground, which would overstate the
// touchdown by up to a sub-step of gravity.
void touchDown(World &w, Vessel &v, Body &p, const BeforeStep &before, double th, double h) {
    double vs, hs;
    surfaceSpeeds(v, p, w.simt, vs, hs);
    double when = w.simt;
    if (before.body == &p && before.height > 0 && th < 0) {
        const double f = before.height / (before.height - th);
        vs = before.vs + f * (vs - before.vs);
        hs = before.hs + f * (hs - before.hs);
        when = w.simt - (1.0 - f) * h;
    }
    MATRIX3 m = p.rotationMatrix(w.simt);
    VECTOR3 q = tmul(m, v.pos - p.pos);
    double lng = std::atan2(q.z, q.x), lat = std::asin(std::clamp(q.y / length(q), -1.0, 1.0));
    // Heading of the vessel's forward axis in the plane of its touchdown points.
    VECTOR3 up = equToUnit(lng, lat);
    VECTOR3 north = _V(-std::sin(lat) * std::cos(lng), std::cos(lat), -std::sin(lat) * std::sin(lng));
    VECTOR3 east = _V(-std::sin(lng), 0, std::cos(lng));
    VECTOR3 n = v.cls->tdNormal;
    VECTOR3 f = _V(0, 0, 1) - n * n.z;
    if (length(f) < 1e-6) f = _V(0, 1, 0) - n * n.y;
    VECTOR3 fp = tmul(m, mul(v.R, unit(f)));
    fp = fp - up * dotp(fp, up);
    double hdg = std::atan2(dotp(fp, east), dotp(fp, north));
    v.touchedDown = true;
    v.touchdownVs = vs;
    v.touchdownHs = hs;
    v.touchdownSimt = when;
    setLandedState(v, &p, lng, lat, hdg);
}

// Step a landed vessel: engines burn; it lifts off once their thrust exceeds its weight.
bool landedStep(World &w, Vessel &v, double h) {
    ThrustSum ts;
    thrust(v, h, ts);
    Body &p = *v.landedOn;
    VECTOR3 up = unit(v.pos - p.pos);
    double weight = v.mass() * -dotp(gravityAccel(w, v.pos, false), up);
    if (dotp(mul(v.R, ts.force), up) > weight) {
        v.landed = false;
        v.landedOn = nullptr;
        return false;  // integrate this step in free flight
    }
    consume(v, ts);
    return true;
}

// Drag and lift (global axes, N) on a stack led by v whose centre of gravity is at
// g moving at u, with the air's body at bpos; each member by its own class and axes.
VECTOR3 aeroForce(const World &w, const Stack &st, const Vessel &v, const Body *air, const VECTOR3 &bpos,
                  const VECTOR3 &g, const VECTOR3 &u) {
    VECTOR3 f = _V(0, 0, 0);
    if (!air || !air->atm.present) return f;
    const VECTOR3 r = g - bpos;
    const ATMPARAM prm = airAt(*air, length(r) - air->radius);
    if (!(prm.rho > 0)) return f;
    const VECTOR3 flow = u - air->vel - air->surfaceVelocity(r, w.simt);
    for (size_t k = 0; k < st.members.size(); k++) {
        const Vessel &mv = *st.members[k];
        const MATRIX3 Rm = k == 0 ? v.R : mul(v.R, mv.dockRel);
        VECTOR3 drag, lift;
        aeroForces(mv.cls->aero, prm.rho, tmul(Rm, flow), drag, lift);
        f += mul(Rm, drag + lift);
    }
    return f;
}

// One sub-step of a free vessel, or of a docked stack led by it: the stack's
// centre of gravity moves under gravity and the members' thrust, and the stack
// turns as one rigid body (inertia tensor in the leader's axes).
void freeStep(World &w, Vessel &v, double h, const std::vector<VECTOR3> *bp) {
    Stack st;
    stackOf(w, v, st);
    std::vector<ThrustSum> sums(st.members.size());
    VECTOR3 force = _V(0, 0, 0), torque = _V(0, 0, 0);
    double m = 0;
    for (size_t k = 0; k < st.members.size(); k++) {
        Vessel &mv = *st.members[k];
        thrust(mv, h, sums[k]);
        MATRIX3 rel = k == 0 ? identity() : mv.dockRel;
        force += mul(rel, sums[k].force);
        torque += mul(rel, sums[k].torque);
        m += mv.mass();
        for (double u : sums[k].use) m -= 0.5 * u;  // the mean mass over the step
    }
    VECTOR3 cg = st.cg, w0 = v.omega;
    VECTOR3 ta = mul(v.R, force) / m;
    const Body *air = v.surfaceRef;
    size_t ai = 0;
    while (ai < w.bodies.size() && w.bodies[ai].get() != air) ai++;
    if (ai == w.bodies.size()) air = nullptr;
    auto accel = [&](int stage, const VECTOR3 &p, const VECTOR3 &u) {
        VECTOR3 a = accelWith(w, bp[stage], p, v.nonspherical) + ta;
        return air ? a + aeroForce(w, st, v, air, bp[stage][ai], p, u) / m : a;
    };
    VECTOR3 p0 = v.pos + mul(v.R, cg), v0 = v.vel + mul(v.R, crossp(cg, w0));
    VECTOR3 a1 = accel(0, p0, v0);
    VECTOR3 p1 = p0 + v0 * (0.5 * h), v1 = v0 + a1 * (0.5 * h);
    VECTOR3 a2 = accel(1, p1, v1);
    VECTOR3 p2 = p0 + v1 * (0.5 * h), v2 = v0 + a2 * (0.5 * h);
    VECTOR3 a3 = accel(1, p2, v2);
    VECTOR3 p3 = p0 + v2 * h, v3 = v0 + a3 * h;
    VECTOR3 a4 = accel(2, p3, v3);
    VECTOR3 pc = p0 + (v0 + v1 * 2.0 + v2 * 2.0 + v3) * (h / 6.0);
    VECTOR3 vc = v0 + (a1 + a2 * 2.0 + a3 * 2.0 + a4) * (h / 6.0);

    MATRIX3 I = st.inertia * (m / st.mass), Iinv = inverse(I);
    VECTOR3 k1 = angularAccel(I, Iinv, w0, torque);
    VECTOR3 k2 = angularAccel(I, Iinv, w0 + k1 * (0.5 * h), torque);
    VECTOR3 k3 = angularAccel(I, Iinv, w0 + k2 * (0.5 * h), torque);
    VECTOR3 k4 = angularAccel(I, Iinv, w0 + k3 * h, torque);
    VECTOR3 w1 = w0 + (k1 + k2 * 2.0 + k3 * 2.0 + k4) * (h / 6.0);
    v.omega = w1;
    // The attitude follows the rate's cubic (Hermite) course through the step, in
    // four turns about the rate at each quarter's middle.
    VECTOR3 k5 = angularAccel(I, Iinv, w1, torque);
    for (int j = 0; j < 4; j++) {
        double s = (j + 0.5) / 4.0, s2 = s * s, s3 = s2 * s;
        VECTOR3 wm = w0 * (2 * s3 - 3 * s2 + 1) + k1 * (h * (s3 - 2 * s2 + s)) + w1 * (3 * s2 - 2 * s3) +
                     k5 * (h * (s3 - s2));
        turn(v, wm, 0.25 * h);
    }
    v.R = orthonormalise(v.R);
    v.pos = pc - mul(v.R, cg);
    v.vel = vc - mul(v.R, crossp(cg, w1));
    for (size_t k = 0; k < st.members.size(); k++) consume(*st.members[k], sums[k]);
}

}  // namespace

VECTOR3 gravityAccel(const World &w, const VECTOR3 &gpos, bool nonspherical) {
    std::vector<VECTOR3> bp(w.bodies.size());
    for (size_t i = 0; i < w.bodies.size(); i++) bp[i] = w.bodies[i]->pos;
    return accelWith(w, bp, gpos, nonspherical);
}

Body *gravityReference(const World &w, const VECTOR3 &g) {
    Body *best = nullptr;
    double bestSoi = 0, bestAcc = 0;
    for (auto &bp : w.bodies) {
        double d2 = length2(g - bp->pos);
        if (d2 >= bp->soi * bp->soi && bp->soi < 1e299) continue;
        double acc = d2 > 0 ? bp->mu() / d2 : 1e300;
        if (!best || bp->soi < bestSoi || (bp->soi == bestSoi && acc > bestAcc)) {
            best = bp.get();
            bestSoi = bp->soi;
            bestAcc = acc;
        }
    }
    return best;
}

Body *surfaceReference(const World &w, const VECTOR3 &g) {
    Body *best = nullptr;
    double bestAlt = 0;
    for (auto &bp : w.bodies) {
        if (bp->objType != OBJTP_PLANET) continue;
        double alt = length(g - bp->pos) - bp->radius;
        if (!best || alt < bestAlt) {
            best = bp.get();
            bestAlt = alt;
        }
    }
    return best ? best : gravityReference(w, g);
}

double touchdownHeight(const Vessel &v) {
    const Body *p = v.landed ? v.landedOn : v.surfaceRef;
    if (!p || !v.cls) return 1e300;
    VECTOR3 rel = v.pos - p->pos;
    double alt = length(rel) - p->radius;
    // Far above anything it could touch: a bound from below, never under the
    // 50 m margin (a bare alt - reach came near 0 just above the margin, where
    // the vessel read as touching the ground over 1 km up over the Moon).
    const double below = v.cls->size + p->maxElevation();
    if (alt > below + 50.0) return alt - below;
    MATRIX3 m = p->rotationMatrix(p->world ? p->world->simt : 0.0);
    double low = 1e300;
    for (const VECTOR3 &t : v.cls->touchdown) {
        VECTOR3 q = tmul(m, rel + mul(v.R, t));
        double r = length(q);
        double lng = std::atan2(q.z, q.x), lat = std::asin(std::clamp(q.y / r, -1.0, 1.0));
        low = std::min(low, r - p->radius - p->elevation(lng, lat));
    }
    return low;
}

void advance(World &w, double dt) {
    w.simdt = dt > 0 ? dt : 0;
    if (!(dt > 0)) return;
    updateBodies(w);
    int n = std::max(1, (int)std::ceil(dt / w.maxSubstep - 1e-9));
    double h = dt / n;
    std::vector<VECTOR3> bp[3];
    std::vector<BeforeStep> before(w.vessels.size());
    for (int s = 0; s < n; s++) {
        double t0 = w.simt;
        bodyPositions(w, w.mjd0 + t0 / 86400.0, bp[0]);
        bodyPositions(w, w.mjd0 + (t0 + 0.5 * h) / 86400.0, bp[1]);
        bodyPositions(w, w.mjd0 + (t0 + h) / 86400.0, bp[2]);
        for (size_t i = 0; i < w.vessels.size(); i++) {
            Vessel &v = *w.vessels[i];
            before[i] = BeforeStep();
            if (!v.alive || !v.cls || dockFollower(v)) continue;
            if (v.landed && landedStep(w, v, h)) continue;
            Body *p = v.surfaceRef;
            if (p && p->objType == OBJTP_PLANET) {
                before[i].body = p;
                before[i].height = touchdownHeight(v);
                surfaceSpeeds(v, *p, t0, before[i].vs, before[i].hs);
            }
            freeStep(w, v, h, bp);
        }
        w.simt = t0 + h;
        updateBodies(w);
        for (size_t i = 0; i < w.vessels.size(); i++) {
            Vessel &v = *w.vessels[i];
            if (!v.alive || !v.cls || dockFollower(v)) continue;
            if (v.landed) {
                syncLanded(v, w.simt);
                placeFollowers(w, v);
                continue;
            }
            v.gravityRef = gravityReference(w, v.pos);
            v.surfaceRef = surfaceReference(w, v.pos);
            Body *p = v.surfaceRef;
            if (p && p->objType == OBJTP_PLANET) {
                double th = touchdownHeight(v);
                if (th <= 0) {
                    double vs, hs;
                    surfaceSpeeds(v, *p, w.simt, vs, hs);
                    if (vs <= 0 || th < -1.0) touchDown(w, v, *p, before[i], th, h);
                }
            }
            placeFollowers(w, v);
        }
        updateDocking(w);
        updateCollisions(w);
    }
}

}  // namespace sim
