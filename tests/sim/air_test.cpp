// Air: the bundled atmospheres against their published figures, drag and lift
// of the classes in the turning air, engines whose thrust falls with the ambient
// pressure, and a low Earth orbit decaying at the rate its air gives.
#include <cmath>
#include <cstdio>

#include "aero.h"
#include "sim_fixture.h"
#include "simmath.h"

namespace {

TEST(Air, BundledAtmospheresHaveThePublishedSurfaceValuesAndScaleHeights) {
    simtest::WorldGuard w;
    simtest::loadBundled(*w);
    // Published: Earth's standard sea level and its pressure scale height; Mars's
    // mean surface values and scale height.
    const struct {
        const char *body;
        double density, pressure, scaleHeight;  // kg/m^3, Pa, m
    } cases[] = {{"Earth", 1.225, 101325.0, 8.5e3}, {"Mars", 0.020, 610.0, 11.0e3}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.body);
        OBJHANDLE b = oapiGetGbodyByName(const_cast<char *>(c.body));
        ASSERT_NE(b, nullptr);
        EXPECT_TRUE(oapiPlanetHasAtmosphere(b));
        ATMPARAM surface, high, beyond;
        oapiGetPlanetAtmParams(b, oapiGetSize(b), &surface);
        oapiGetPlanetAtmParams(b, c.scaleHeight, 0.3, -0.2, &high);
        oapiGetPlanetAtmParams(b, 1.0e6, 0.0, 0.0, &beyond);
        EXPECT_NEAR(surface.rho / c.density, 1.0, 0.03);
        EXPECT_NEAR(surface.p / c.pressure, 1.0, 0.03);
        EXPECT_GT(surface.T, 150.0);
        EXPECT_NEAR(std::log(surface.rho / high.rho), 1.0, 0.1);  // one scale height up
        EXPECT_NEAR(std::log(surface.p / high.p), 1.0, 0.1);
        EXPECT_EQ(beyond.rho, 0.0);
        EXPECT_EQ(beyond.p, 0.0);
    }
    OBJHANDLE moon = oapiGetGbodyByName(const_cast<char *>("Moon"));
    EXPECT_FALSE(oapiPlanetHasAtmosphere(moon));
    ATMPARAM none;
    oapiGetPlanetAtmParams(moon, oapiGetSize(moon), &none);
    EXPECT_EQ(none.rho, 0.0);
}

// A vessel over Earth's equator at 10 km moving at `air` (vessel axes, m/s)
// through the air that turns with the planet.
Vessel *inTheAir(sim::World &w, const char *cls, const VECTOR3 &air) {
    sim::Body *earth = w.findBody("Earth");
    Vessel *v = sim::addVessel(w, std::string("V") + std::to_string(w.vessels.size()), w.findClass(cls));
    const VECTOR3 arot = _V(0.3, -0.2, 0.5);
    const VECTOR3 r = mul(earth->rotationMatrix(w.simt), sim::equToUnit(0.5, 0.0)) * (earth->radius + 1.0e4);
    const VECTOR3 u = earth->surfaceVelocity(r, w.simt) + mul(sim::eulerToMatrix(arot), air);
    sim::setOrbitState(*v, earth, r, u, arot, _V(0, 0, 0));
    return v;
}

TEST(Air, DragOpposesTheAirflowAndLiftStandsAcrossItUntilTheStall) {
    simtest::WorldGuard w;
    simtest::loadBundled(*w);
    // Drag of the round probe: the dynamic pressure of the air-relative speed (not
    // of the inertial one, 465 m/s faster) times its drag area, against the flow.
    const VECTOR3 flow = _V(30, -120, 150);
    Vessel *probe = inTheAir(*w, "Probe", flow);
    VECTOR3 drag, lift;
    ASSERT_TRUE(probe->iface->GetDragVector(drag));
    EXPECT_FALSE(probe->iface->GetLiftVector(lift));
    const double q = probe->iface->GetDynPressure();
    EXPECT_NEAR(q, 0.5 * probe->iface->GetAtmDensity() * length2(flow), 1e-9 * q);
    EXPECT_NEAR(probe->iface->GetAtmDensity(), 1.225 * std::exp(-1.0e4 / 8.5e3), 0.01);
    ATMPARAM prm;
    OBJHANDLE ref = nullptr;
    oapiGetAtm(probe, &prm, &ref);
    EXPECT_EQ(ref, w->findBody("Earth"));
    EXPECT_EQ(prm.rho, probe->iface->GetAtmDensity());
    EXPECT_EQ(prm.p, probe->iface->GetAtmPressure());
    EXPECT_NEAR(length(drag), q * probe->cls->aero.dragArea.z, 1e-9 * q);
    EXPECT_LT(simtest::angleBetween(drag, -flow), 1e-12);
    // At rest in the turning air: no drag at all.
    Vessel *still = inTheAir(*w, "Probe", _V(0, 0, 0));
    EXPECT_FALSE(still->iface->GetDragVector(drag));
    EXPECT_EQ(length(drag), 0.0);

    // The spaceplane's lift by angle of attack at 150 m/s: across the flow, on the
    // side the nose points, growing to the stall at 20 degrees, dropping past it,
    // none when flying backwards.
    double lastBelow = 0;
    for (double aoaDeg : {-30.0, -10.0, 5.0, 10.0, 19.0, 21.0, 40.0, 100.0}) {
        SCOPED_TRACE(aoaDeg);
        const double a = aoaDeg * RAD;
        const VECTOR3 air = _V(0, -std::sin(a), std::cos(a)) * 150.0;
        Vessel *dg = inTheAir(*w, "DeltaGlider", air);
        dg->iface->GetLiftVector(lift);
        if (aoaDeg > 90) {
            EXPECT_EQ(length(lift), 0.0);
            continue;
        }
        EXPECT_NEAR(dotp(lift, air), 0.0, 1e-9 * length(lift) * 150.0);
        EXPECT_GT(lift.y * aoaDeg, 0.0);
        if (aoaDeg > 0 && aoaDeg < 20) {
            EXPECT_GT(length(lift), lastBelow);
            lastBelow = length(lift);
        }
        if (aoaDeg > 20) {
            EXPECT_LT(length(lift), 0.75 * lastBelow);
        }
    }
}

TEST(Air, EnginesLoseThrustAndIspInAirButNotTheirPropellantFlow) {
    simtest::WorldGuard w;
    simtest::loadBundled(*w);
    w->maxSubstep = 0.01;
    sim::Body *earth = w->findBody("Earth");
    Vessel *dg = sim::addVessel(*w, "DG", w->findClass("DeltaGlider"));
    // 100 m over the equator, at rest in the air, nose east.
    const VECTOR3 r = mul(earth->rotationMatrix(0), sim::equToUnit(0.0, 0.0)) * (earth->radius + 100.0);
    const VECTOR3 up = unit(r), east = unit(earth->surfaceVelocity(r, 0));
    const MATRIX3 R = sim::matFromColumns(crossp(up, east), up, east);
    sim::setOrbitState(*dg, earth, r, earth->surfaceVelocity(r, 0), sim::matrixToEuler(R), _V(0, 0, 0));
    VESSEL *v = dg->iface;
    THRUSTER_HANDLE m1 = v->GetGroupThruster(THGROUP_MAIN, 0);
    const double p = v->GetAtmPressure();
    EXPECT_NEAR(p, 101325.0 * std::exp(-100.0 / 8.5e3), 1.0);
    // The class's Isp at the host's sea level (101.4 kPa) is 32000 m/s of 40000.
    const double share = 1.0 - p * (40000.0 - 32000.0) / (101.4e3 * 40000.0);
    EXPECT_NEAR(v->GetThrusterMax(m1) / v->GetThrusterMax0(m1), share, 1e-12);
    EXPECT_NEAR(v->GetThrusterIsp(m1) / v->GetThrusterIsp0(m1), share, 1e-12);
    EXPECT_EQ(v->GetThrusterMax(m1, 0.0), v->GetThrusterMax0(m1));
    EXPECT_EQ(v->GetThrusterIsp(m1, 0.0), 40000.0);

    // One second at full main thrust: the speed gained is the reduced thrust's,
    // the propellant drawn the vacuum flow's.
    const double m0 = dg->mass();
    const double thrust = v->GetThrusterMax(m1) + v->GetThrusterMax(v->GetGroupThruster(THGROUP_MAIN, 1));
    const VECTOR3 u0 = dg->vel;
    v->SetThrusterGroupLevel(THGROUP_MAIN, 1.0);
    sim::advance(*w, 1.0);
    const double used = m0 - dg->mass();
    EXPECT_NEAR(used, 2.0 * 160000.0 / 40000.0, 1e-9);
    EXPECT_NEAR(dotp(dg->vel - u0, east), thrust / (m0 - used / 2.0), 2e-3 * thrust / m0);
}

TEST(Air, LowEarthOrbitDecaysAtTheAnalyticRate) {
    simtest::WorldGuard w;
    simtest::loadBundled(*w);
    w->maxSubstep = 1.0;  // a smooth orbit: one-second steps are exact enough
    sim::Body *earth = w->findBody("Earth");
    Vessel *v = sim::addVessel(*w, "P", w->findClass("Probe"));
    v->nonspherical = false;  // the J2 term would swing the osculating radius by kilometres
    const double mu = earth->mu(), R = earth->radius, r0 = R + 180.0e3;
    // Circular and prograde in the equator, where the air moves with the orbit.
    const MATRIX3 obl = earth->obliquityMatrix();
    sim::setOrbitState(*v, earth, mul(obl, _V(r0, 0, 0)), mul(obl, _V(0, 0, std::sqrt(mu / r0))), _V(0, 0, 0),
                       _V(0, 0, 0));
    auto semiMajorAxis = [&]() {
        const VECTOR3 r = v->pos - earth->pos, u = v->vel - earth->vel;
        return -mu / (2.0 * (0.5 * length2(u) - mu / length(r)));
    };
    const double a0 = semiMajorAxis(), T = PI2 * std::sqrt(a0 * a0 * a0 / mu), run = 2.0 * T;
    for (double t = 0; t < run; t += 10.0) sim::advance(*w, 10.0);
    const double drop = a0 - semiMajorAxis();

    // da/dt = -rho sqrt(mu a) Cd A / m for a circular orbit through still air; the
    // air here turns with the Earth, which takes (1 - omega a / v)^2 off the rate.
    const double B = v->cls->aero.dragArea.x / v->mass(), omega = earth->rotationRate();
    double a = a0;
    for (double t = 0; t < run; t += 1.0) {
        const double turning = 1.0 - omega * a / std::sqrt(mu / a);
        a -= sim::airAt(*earth, a - R).rho * std::sqrt(mu * a) * B * turning * turning;
    }
    const double expected = a0 - a;
    std::printf("[ figures  ] decay from %.0f km over two orbits (%.0f s): %.1f m, analytic %.1f m (%+.2f%%)\n",
                (r0 - R) / 1000.0, run, drop, expected, 100.0 * (drop / expected - 1.0));
    EXPECT_GT(expected, 1000.0);
    EXPECT_NEAR(drop / expected, 1.0, 0.1);
}

}  // namespace
