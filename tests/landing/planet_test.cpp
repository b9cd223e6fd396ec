// The planet and orbit model against the simulated Moon: frames, spherical
// coordinates and their rates, surface velocity, Kepler's equation, element
// states against the host's elements, and the J2 predictor against the host's
// own oblate-gravity flight.
#include <gtest/gtest.h>

#include <cmath>

#include "control/math.h"
#include "landing/planet.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

OBJHANDLE Moon() { return oapiGetGbodyByName(const_cast<char *>("Moon")); }

void ExpectVecNear(const VECTOR3 &a, const VECTOR3 &b, double tol, const char *what) {
    EXPECT_NEAR(a.x, b.x, tol) << what;
    EXPECT_NEAR(a.y, b.y, tol) << what;
    EXPECT_NEAR(a.z, b.z, tol) << what;
}

class MoonWorld : public ::testing::Test {
protected:
    flight::Flight f;
    void Load(const char *scenario) {
        ASSERT_TRUE(f.load(scenario)) << f.error();
        flight::useLinkedPlugin(f);
        ASSERT_TRUE(f.start());
    }
    void SetUp() override { Load("scenarios/lunar_landing.scn"); }
    void EagleState(VECTOR3 *r, VECTOR3 *v) {
        f.iface("Eagle")->GetRelativePos(Moon(), *r);
        f.iface("Eagle")->GetRelativeVel(Moon(), *v);
    }
};

TEST_F(MoonWorld, FrameConversionsRoundTripAndAgreeWithTheHostsRotation) {
    VECTOR3 r0, v0;
    EagleState(&r0, &v0);
    for (bool nonRotating : {false, true}) {
        for (double dt : {0.0, 1e-7, 3600.0, -5000.0}) {
            VECTOR3 r = r0, v = v0;
            GlobalToPlanet(Moon(), r, v, nonRotating, dt);
            EXPECT_NEAR(length(r), length(r0), 1e-6);
            PlanetToGlobal(Moon(), r, v, nonRotating, dt);
            ExpectVecNear(r, r0, 1e-6, "position back");
            ExpectVecNear(v, v0, 1e-9, "velocity back");
        }
    }
    // The host's rotation matrix now and the predicted one a moment ahead agree:
    // the prediction turns the planet the way the host does.
    VECTOR3 a = r0, va = v0, b = r0, vb = v0;
    GlobalToPlanet(Moon(), a, va, false, 0.0);
    GlobalToPlanet(Moon(), b, vb, false, 1e-7);
    ExpectVecNear(a, b, 1e-3, "planet frame now");
    ExpectVecNear(va, vb, 1e-6, "surface velocity now");
    // A quarter of a day later a fixed global point has drifted west in longitude.
    VECTOR3 c = r0, vc = v0;
    GlobalToPlanet(Moon(), c, vc, false, oapiGetPlanetPeriod(Moon()) / 4.0);
    EXPECT_NEAR(normangle(std::atan2(c.z, c.x) - std::atan2(a.z, a.x)), -PI / 2.0, 1e-9);
}

TEST_F(MoonWorld, PlanetFrameMatchesTheHostsLongitudeAndLatitude) {
    VECTOR3 r, v;
    EagleState(&r, &v);
    GlobalToSurfaceSpherical(Moon(), r, v, 0.0);
    double lon = 0, lat = 0, rad = 0;
    f.iface("Eagle")->GetEquPos(lon, lat, rad);
    EXPECT_NEAR(r.x, lon, 1e-9);
    EXPECT_NEAR(r.y, lat, 1e-9);
    EXPECT_NEAR(r.z, rad, 1e-3);
}

TEST(SphericalCoordinates, RatesMatchFiniteDifferencesAndConvertBack) {
    const VECTOR3 positions[] = {_V(1.7e6, 2.0e5, -3.0e5), _V(-9.0e5, -1.2e6, 4.0e5), _V(1.0e3, 1.7e6, 2.0e3)};
    const VECTOR3 velocities[] = {_V(120.0, -1600.0, 45.0), _V(-800.0, 300.0, 1400.0), _V(1500.0, 10.0, -200.0)};
    for (int k = 0; k < 3; ++k) {
        const VECTOR3 p = positions[k], v = velocities[k];
        VECTOR3 s = p, rate = v;
        CartesianToSpherical(s, rate);
        const double h = 1e-3;
        VECTOR3 s1 = p + v * h, d1 = v, s0 = p - v * h, d0 = v;
        CartesianToSpherical(s1, d1);
        CartesianToSpherical(s0, d0);
        EXPECT_NEAR(rate.x, normangle(s1.x - s0.x) / (2 * h), 1e-6 * std::fabs(rate.x) + 1e-12) << "longitude rate " << k;
        EXPECT_NEAR(rate.y, (s1.y - s0.y) / (2 * h), 1e-6 * std::fabs(rate.y) + 1e-12) << "latitude rate " << k;
        EXPECT_NEAR(rate.z, (s1.z - s0.z) / (2 * h), 1e-6) << "radial speed " << k;
        SphericalToCartesian(s, rate);
        ExpectVecNear(s, p, 1e-6, "position");
        ExpectVecNear(rate, v, 1e-6, "velocity");
    }
    // On the rotation axis the longitude rate has no value: finite, not NaN.
    VECTOR3 pole = _V(0, 1.7e6, 0), vp = _V(10, 0, 5);
    CartesianToSpherical(pole, vp);
    EXPECT_TRUE(std::isfinite(vp.x) && std::isfinite(vp.y) && std::isfinite(vp.z));
    VECTOR3 zero = _V(0, 0, 0), vz = _V(1, 2, 3);
    CartesianToSpherical(zero, vz);
    EXPECT_TRUE(std::isfinite(zero.y) && std::isfinite(vz.x) && std::isfinite(vz.z));
}

TEST_F(MoonWorld, SurfaceVelocityIsEastNorthUpOverTheTurningSurface) {
    // A state built by hand at 30 N 20 E: the surface carries it east at the
    // rotation speed there, which the conversion must take out again.
    const double lon = 20 * RAD, lat = 30 * RAD, r = oapiGetSize(Moon()) + 5000.0;
    const VECTOR3 east = _V(-std::sin(lon), 0, std::cos(lon));
    const VECTOR3 north = _V(-std::sin(lat) * std::cos(lon), std::cos(lat), -std::sin(lat) * std::sin(lon));
    const VECTOR3 up = _V(std::cos(lat) * std::cos(lon), std::sin(lat), std::cos(lat) * std::sin(lon));
    const double spin = r * std::cos(lat) * PI2 / oapiGetPlanetPeriod(Moon());
    MATRIX3 M;
    oapiGetRotationMatrix(Moon(), &M);
    const VECTOR3 pos = MatVec(M, up * r);
    const VECTOR3 vel = MatVec(M, east * (100.0 + spin) + north * -50.0 + up * 7.0);
    ExpectVecNear(SurfaceVelocityEnu(Moon(), pos, vel, 0.0), _V(100.0, -50.0, 7.0), 1e-9, "ENU");
    // The components do not depend on where the planet has turned to.
    ExpectVecNear(SurfaceVelocityEnu(Moon(), pos, vel, 12345.0), _V(100.0, -50.0, 7.0), 1e-9, "ENU later");
    // Only planets have a surface.
    OBJHANDLE base = oapiGetBaseByName(Moon(), const_cast<char *>("Brighton Beach"));
    ExpectVecNear(SurfaceVelocityEnu(base, pos, vel, 0.0), _V(0, 0, 0), 0.0, "base");
    ExpectVecNear(SurfaceVelocityEnu(f.handle("Eagle"), pos, vel, 0.0), _V(0, 0, 0), 0.0, "vessel");
    VECTOR3 p = pos, v = vel;
    GlobalToPlanet(base, p, v, false, 0.0);
    ExpectVecNear(p, pos, 0.0, "unchanged");
}

TEST(LandedVessel, StandsStillOnTheSurface) {
    flight::Flight f;
    ASSERT_TRUE(f.load("scenarios/lunar_base.scn")) << f.error();
    flight::useLinkedPlugin(f);
    f.run(1);
    VECTOR3 r, v;
    f.iface("Eagle")->GetRelativePos(Moon(), r);
    f.iface("Eagle")->GetRelativeVel(Moon(), v);
    ASSERT_GT(length(v), 1.0);  // the surface moves in the global frame
    ExpectVecNear(SurfaceVelocityEnu(Moon(), r, v, 0.0), _V(0, 0, 0), 1e-6, "landed");
}

TEST(Kepler, SolvesAcrossEccentricities) {
    for (double e : {0.0, 0.01, 0.3, 0.7, 0.95, 0.999}) {
        for (double M : {-3.0, -0.5, 0.0, 1e-4, 1.0, 2.5, 3.14}) {
            const double E = SolveKepler(e, M, 50);
            EXPECT_NEAR(E - e * std::sin(E), M, 1e-12) << "e " << e << " M " << M;
        }
    }
    EXPECT_EQ(SolveKepler(0.5, 1.25, 0), 1.25);
    EXPECT_EQ(SolveKepler(1.5, 1.25, 0), PI);
    EXPECT_TRUE(std::isfinite(SolveKepler(1.0, 0.0, 10)));
}

TEST(ElementState, CircularOrbitAndDegenerateInputs) {
    const double mu = 4.9e12, r = 1.76e6, h = std::sqrt(mu * r);
    ElementState el{r, 0.0, 0.7, 1.1, 0.4, 0, 0, 2.0, 0};
    VECTOR3 p, v;
    EXPECT_NEAR(ElementsToState(el, mu, h, p, v), r, 1e-6);
    EXPECT_NEAR(length(p), r, 1e-6);
    EXPECT_NEAR(length(v), std::sqrt(mu / r), 1e-9);
    EXPECT_NEAR(dotp(p, v), 0.0, 1e-3);
    // The velocity is the time derivative of the position along the orbit.
    ElementState later = el;
    later.trueAnom += 1e-6;
    VECTOR3 p2, v2;
    ElementsToState(later, mu, h, p2, v2);
    const double dt = 1e-6 * r * r / h;
    ExpectVecNear((p2 - p) / dt, v, 1e-3, "derivative");
    EXPECT_EQ(ElementsToState(el, 0.0, h, p, v), 0.0);
    EXPECT_EQ(length(p) + length(v), 0.0);
}

// The host's elements, read back through the predictor, give the vessel's state;
// a prediction without J2 matches a flight with spherical gravity.
TEST_F(MoonWorld, PredictorReproducesTheHostsOrbit) {
    VESSEL *eagle = f.iface("Eagle");
    f.vessel("Eagle")->nonspherical = false;
    ELEMENTS el;
    ORBITPARAM prm;
    ASSERT_TRUE(eagle->GetElements(Moon(), el, &prm, 0, FRAME_EQU));
    VECTOR3 r0, v0, p, v;
    EagleState(&r0, &v0);
    ASSERT_TRUE(PropagateOrbit(Moon(), el, prm, 0.0, p, v, 0));
    EXPECT_LT(length(p - r0), 1e-9 * length(r0));
    EXPECT_LT(length(v - v0), 1e-9 * length(v0));

    const double simt0 = f.simt();
    ASSERT_TRUE(PropagateOrbit(Moon(), el, prm, 1800.0, p, v, 0));
    f.run(1800.0 - (f.simt() - simt0));
    const double flown = f.simt() - simt0;
    ASSERT_TRUE(PropagateOrbit(Moon(), el, prm, flown, p, v, 0));
    EagleState(&r0, &v0);
    // What remains is the pull of the Earth and the Sun, which the predictor leaves out.
    EXPECT_LT(length(p - r0), 50.0) << "after " << flown << " s";
    EXPECT_LT(length(v - v0), 0.2);

    // Not a planet, or not a closed orbit: no prediction, outputs untouched.
    VECTOR3 keep = _V(1, 2, 3), keepV = _V(4, 5, 6);
    EXPECT_FALSE(PropagateOrbit(f.handle("Eagle"), el, prm, 10.0, keep, keepV, 1));
    ELEMENTS hyper = el;
    hyper.e = 1.2;
    hyper.a = -el.a;
    EXPECT_FALSE(PropagateOrbit(Moon(), hyper, prm, 10.0, keep, keepV, 1));
    ExpectVecNear(keep, _V(1, 2, 3), 0.0, "untouched");
}

// Node of a planet-centred state in the planet's equatorial frame.
double NodeOf(const VECTOR3 &r, const VECTOR3 &v) {
    MATRIX3 obl;
    oapiGetPlanetObliquityMatrix(Moon(), &obl);
    const VECTOR3 h = CrossProduct(MatTVec(obl, r), MatTVec(obl, v));
    // Pole on y: the node line is y = 0 of the orbit plane, at angle atan2 in x-z.
    return std::atan2(-h.x, h.z);
}

const double kLunarJ2 = 2.03e-4;

TEST_F(MoonWorld, J2PredictorDriftsTheNodeAsTheHostsOblateGravity) {
    VESSEL *eagle = f.iface("Eagle");
    // The host's Moon is a point mass: this one gets the lunar J2, and the
    // vessel the host's non-spherical gravity option.
    sim::world().findBody("Moon")->jcoeff.assign(1, kLunarJ2);
    f.vessel("Eagle")->nonspherical = true;
    ELEMENTS el;
    ORBITPARAM prm;
    ASSERT_TRUE(eagle->GetElements(Moon(), el, &prm, 0, FRAME_EQU));
    const double span = 3.0 * prm.T;
    VECTOR3 p0, v0, p, v;
    ASSERT_TRUE(PropagateOrbit(Moon(), el, prm, 0.0, p0, v0, 1));
    ASSERT_TRUE(PropagateOrbit(Moon(), el, prm, span, p, v, 1));
    const double predicted = normangle(NodeOf(p, v) - NodeOf(p0, v0));
    // The analytic regression rate of a prograde orbit.
    const double mu = oapiGetMass(Moon()) * kGravConst, R = oapiGetSize(Moon());
    const double n = std::sqrt(mu / (el.a * el.a * el.a)), pl = el.a * (1 - el.e * el.e);
    const double rate = -1.5 * n * oapiGetPlanetJCoeff(Moon(), 0) * (R / pl) * (R / pl) * std::cos(el.i);
    ASSERT_LT(rate, 0.0);
    EXPECT_NEAR(predicted, rate * span, 1e-3 * std::fabs(rate * span));
    // The host's own flight with oblate gravity over the same span, from the
    // osculating elements now and then.
    f.setWarp(50);
    const double t0 = f.simt();
    f.run(span);
    VECTOR3 r1, vel1;
    EagleState(&r1, &vel1);
    const double flownNode = normangle(NodeOf(r1, vel1) - NodeOf(p0, v0));
    EXPECT_NEAR(flownNode, rate * (f.simt() - t0), 0.1 * std::fabs(rate * span));
}

}  // namespace
