// Orbits: the integrator's conservation, the J2 node drift, and the osculating
// elements the host reports.
#include <cmath>
#include <cstdio>

#include "sim_fixture.h"
#include "simmath.h"

namespace {

std::string sci(double x) {
    char b[32];
    snprintf(b, sizeof b, "%.3g", x);
    return b;
}

// Element-to-state conversion with the orbit's pole on y, written out here from
// the host's documented formulas (independent of the simulator's own).
void stateFromElements(const ELEMENTS &el, const ORBITPARAM &prm, double mu, VECTOR3 &pos, VECTOR3 &vel) {
    double e = el.e, i = el.i, W = el.theta, w = el.omegab - el.theta;
    double E = prm.MnA;
    for (int k = 0; k < 50; k++) E -= (E - e * std::sin(E) - prm.MnA) / (1 - e * std::cos(E));
    double nu = 2 * std::atan(std::sqrt((1 + e) / (1 - e)) * std::tan(E / 2));
    double p = el.a * (1 - e * e), h = std::sqrt(mu * p), r = p / (1 + e * std::cos(nu)), u = w + nu;
    pos = _V(std::cos(u) * std::cos(W) - std::sin(u) * std::sin(W) * std::cos(i), std::sin(u) * std::sin(i),
             std::cos(u) * std::sin(W) + std::sin(u) * std::cos(W) * std::cos(i)) *
          r;
    double A = std::sin(u) + e * std::sin(w), B = std::cos(u) + e * std::cos(w);
    vel = _V(-A * std::cos(W) - B * std::sin(W) * std::cos(i), B * std::sin(i),
             -A * std::sin(W) + B * std::cos(W) * std::cos(i)) *
          (mu / h);
}

TEST(Orbit, TwoBodyEnergyAndMomentumHoldOverAnOrbit) {
    simtest::WorldGuard w;
    simtest::loadClasses(*w);
    sim::Body *b = simtest::addLoneBody(*w);
    Vessel *v = sim::addVessel(*w, "P", w->findClass("Probe"));
    double mu = b->mu(), r0 = 7.0e6, v0 = std::sqrt(mu / r0) * 1.05;  // e about 0.1
    sim::setOrbitState(*v, b, _V(r0, 0, 0), _V(0, 0.3 * v0, 0.95 * v0), _V(0, 0, 0), _V(0, 0, 0));
    auto energy = [&]() { return 0.5 * length2(v->vel) - mu / length(v->pos); };
    auto momentum = [&]() { return crossp(v->vel, v->pos); };
    double E0 = energy();
    VECTOR3 H0 = momentum();
    double a = -mu / (2 * E0), T = PI2 * std::sqrt(a * a * a / mu);
    int frames = (int)std::ceil(T / 10.0);
    for (int k = 0; k < frames; k++) sim::advance(*w, 10.0);
    double dE = std::fabs(energy() - E0) / std::fabs(E0);
    double dH = length(momentum() - H0) / length(H0);
    RecordProperty("energy_drift_per_orbit", sci(dE));
    RecordProperty("momentum_drift_per_orbit", sci(dH));
    EXPECT_LT(dE, 1e-8);
    EXPECT_LT(dH, 1e-8);
    EXPECT_EQ(v->gravityRef, b);
}

TEST(Orbit, ResultsDoNotDependOnTheFrameLength) {
    VECTOR3 end[2];
    const double frame[2] = {0.05, 25.0};
    for (int run = 0; run < 2; run++) {
        simtest::WorldGuard w;
        simtest::loadClasses(*w);
        sim::Body *b = simtest::addLoneBody(*w, 1.0826e-3, 0.4);
        Vessel *v = sim::addVessel(*w, "DG", w->findClass("DeltaGlider"));
        sim::setOrbitState(*v, b, _V(6.8e6, 0, 0), _V(0, 1000, 7600), _V(0.1, 0.2, 0.3), _V(0.01, 0, 0));
        v->iface->SetThrusterGroupLevel(THGROUP_MAIN, 0.3);
        int n = (int)std::lround(300.0 / frame[run]);
        for (int k = 0; k < n; k++) sim::advance(*w, frame[run]);
        end[run] = v->pos;
        EXPECT_NEAR(w->simt, 300.0, 1e-6);
    }
    EXPECT_LT(dist(end[0], end[1]), 1e-3);
}

TEST(Orbit, J2RegressesTheNodeOfAnInclinedLowOrbitAtTheAnalyticRate) {
    simtest::WorldGuard w;
    simtest::loadClasses(*w);
    const double J2 = 1.0826e-3, inc = 51.6 * RAD;
    // A tilted equator, so the pole's direction in the force model is exercised.
    sim::Body *b = simtest::addLoneBody(*w, J2, 0.4090928);
    w->nonsphericalGravity = true;
    Vessel *v = sim::addVessel(*w, "P", w->findClass("Probe"));
    double mu = b->mu(), r = b->radius + 400e3, vc = std::sqrt(mu / r);
    // Circular orbit of inclination 51.6 deg in the body's equatorial frame.
    VECTOR3 p = _V(r, 0, 0), u = _V(0, vc * std::sin(inc), vc * std::cos(inc));
    MATRIX3 ob = b->obliquityMatrix();
    sim::setOrbitState(*v, b, mul(ob, p), mul(ob, u), _V(0, 0, 0), _V(0, 0, 0));
    // Least-squares slope of the node over ten orbits (short-period terms average out).
    double T = PI2 * std::sqrt(r * r * r / mu), span = 10 * T;
    double st = 0, sn = 0, stt = 0, stn = 0, node0 = 0;
    int n = 0;
    ELEMENTS el;
    ORBITPARAM prm;
    for (double t = 0; t <= span; t += 60.0) {
        ASSERT_TRUE(v->iface->GetElements(b, el, &prm, 0, FRAME_EQU));
        if (n == 0) node0 = el.theta;
        double node = node0 + normangle(el.theta - node0);
        st += t, sn += node, stt += t * t, stn += t * node, n++;
        sim::advance(*w, 60.0);
    }
    double slope = (n * stn - st * sn) / (n * stt - st * st);
    double nmean = std::sqrt(mu / (r * r * r)), pp = r;
    double expected = -1.5 * nmean * J2 * std::pow(b->radius / pp, 2) * std::cos(inc);
    RecordProperty("node_rate_ratio", sci(slope / expected));
    EXPECT_NEAR(slope / expected, 1.0, 0.02);
}

TEST(Orbit, ElementsReadBackThroughThePoleOnYConversion) {
    simtest::WorldGuard w;
    simtest::loadBundled(*w);
    sim::Body *moon = w->findBody("Moon");
    sim::Body *earth = w->findBody("Earth");
    Vessel *v = sim::addVessel(*w, "LL", w->findClass("LunarLander"));
    struct Case {
        sim::Body *ref;
        VECTOR3 r, u;
    } cases[] = {
        {earth, _V(6.9e6, 1.2e6, -0.4e6), _V(1200, 3500, 6900)},
        {earth, _V(-4.0e6, -2.0e6, 5.5e6), _V(-6000, -2500, -3900)},  // another quadrant
        {moon, _V(1.2e6, 0.3e6, 1.3e6), _V(-1100, 150, 1050)},
        {moon, _V(1.8e6, 0, 0), _V(0, 0, 1600)},  // equatorial in ecliptic axes
    };
    for (const Case &c : cases) {
        sim::setOrbitState(*v, c.ref, c.r, c.u, _V(0, 0, 0), _V(0, 0, 0));
        for (int frame = FRAME_ECL; frame <= FRAME_EQU; frame++) {
            SCOPED_TRACE(c.ref->name + " frame " + std::to_string(frame));
            ELEMENTS el;
            ORBITPARAM prm;
            ASSERT_TRUE(v->iface->GetElements(c.ref, el, &prm, 0, frame));
            VECTOR3 p, u;
            stateFromElements(el, prm, c.ref->mu(), p, u);
            if (frame == FRAME_EQU) {
                MATRIX3 ob = c.ref->obliquityMatrix();
                p = mul(ob, p);
                u = mul(ob, u);
            }
            EXPECT_LT(dist(p, c.r), 1e-9 * length(c.r));
            EXPECT_LT(dist(u, c.u), 1e-9 * length(c.u));
            // The parameters agree with the elements.
            EXPECT_NEAR(prm.PeD, el.a * (1 - el.e), 1e-6);
            EXPECT_NEAR(prm.ApD, el.a * (1 + el.e), 1e-6);
            EXPECT_NEAR(prm.T, PI2 * std::sqrt(std::pow(el.a, 3) / c.ref->mu()), 1e-6 * prm.T);
            EXPECT_NEAR(normangle(el.L - (el.omegab + prm.MnA)), 0.0, 1e-12);
        }
    }
    // Mean longitude at another epoch moves with the mean motion.
    ELEMENTS now, later;
    ORBITPARAM prm;
    v->iface->GetElements(moon, now, &prm, 0, FRAME_ECL);
    v->iface->GetElements(moon, later, nullptr, w->mjd() + 0.01, FRAME_ECL);
    EXPECT_NEAR(normangle(later.L - now.L - PI2 / prm.T * 864.0), 0.0, 1e-9);
}

TEST(Orbit, GravityReferenceFollowsTheSpheresOfInfluence) {
    simtest::WorldGuard w;
    simtest::loadBundled(*w);
    sim::Body *earth = w->findBody("Earth"), *moon = w->findBody("Moon"), *sun = w->findBody("Sun");
    EXPECT_EQ(sim::gravityReference(*w, _V(7e6, 0, 0)), earth);
    EXPECT_EQ(sim::gravityReference(*w, moon->pos + _V(2e6, 0, 0)), moon);
    // Beyond the Earth's sphere (about 925 000 km) the Sun rules, Moon's side or not.
    EXPECT_EQ(sim::gravityReference(*w, unit(moon->pos) * -1.5e9), sun);
    // A vessel in low Earth orbit with the Moon and Sun present stays in its orbit:
    // their pull enters as the tidal difference only.
    Vessel *v = sim::addVessel(*w, "P", w->findClass("Probe"));
    v->nonspherical = false;
    double r = 6.771e6, vc = std::sqrt(earth->mu() / r);
    sim::setOrbitState(*v, earth, _V(r, 0, 0), _V(0, 0, vc), _V(0, 0, 0), _V(0, 0, 0));
    for (int k = 0; k < 556; k++) sim::advance(*w, 10.0);  // about one orbit
    EXPECT_NEAR(length(v->pos - earth->pos), r, 50.0);
    EXPECT_EQ(v->gravityRef, earth);
}

}  // namespace
