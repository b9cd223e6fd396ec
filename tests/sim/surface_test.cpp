// Surfaces and engines: the landed state turning with its planet, touchdown and
// lift-off, bases and pads, and propellant use against the rocket equation.
#include <cmath>

#include "landing/target.h"
#include "sim_fixture.h"
#include "simmath.h"

using simtest::column;

namespace {

TEST(Landed, VesselTurnsWithThePlanetAndKeepsItsSurfaceFrame) {
    simtest::WorldGuard w;
    simtest::loadBundled(*w);
    sim::Body *earth = w->findBody("Earth");
    Vessel *v = sim::addVessel(*w, "DG", w->findClass("DeltaGlider"));
    const double lng = -80.6 * RAD, lat = 28.6 * RAD, hdg = 70 * RAD;
    sim::setLandedState(*v, earth, lng, lat, hdg);
    MATRIX3 P0;
    oapiGetRotationMatrix(earth, &P0);
    VECTOR3 q = tmul(P0, v->pos - earth->pos);
    MATRIX3 local = mul(sim::transpose(P0), v->R);
    for (int k = 0; k < 3 * 360; k++) sim::advance(*w, 10.0);  // three hours
    MATRIX3 P1;
    oapiGetRotationMatrix(earth, &P1);
    VECTOR3 expect = earth->pos + mul(P1, q);
    EXPECT_LT(dist(v->pos, expect), 1e-6);
    EXPECT_GT(dist(v->pos, earth->pos + mul(P0, q)), 1e6);  // it did move with the Earth
    MATRIX3 R1 = mul(P1, local);
    for (int i = 0; i < 9; i++) EXPECT_NEAR(v->R.data[i], R1.data[i], 1e-12);
    // The planet turned by 2 pi t / period.
    double turned = simtest::angleBetween(column(P0, 0), column(P1, 0));
    EXPECT_NEAR(turned, PI2 * 10800.0 / oapiGetPlanetPeriod(earth), 1e-9);
    // Reported surface state.
    double l2, b2, r2, heading;
    EXPECT_EQ(v->iface->GetEquPos(l2, b2, r2), earth);
    EXPECT_NEAR(l2, lng, 1e-12);
    EXPECT_NEAR(b2, lat, 1e-12);
    EXPECT_NEAR(r2, earth->radius + v->cls->cogElev, 1e-6);
    ASSERT_TRUE(oapiGetHeading(v, &heading));
    EXPECT_NEAR(heading, hdg, 1e-9);
    EXPECT_NEAR(v->iface->GetPitch(), 0.0, 1e-9);
    EXPECT_NEAR(v->iface->GetBank(), 0.0, 1e-9);
    EXPECT_EQ(v->iface->GetFlightStatus() & 1u, 1u);
    EXPECT_TRUE(v->iface->GroundContact());
    EXPECT_LT(v->iface->GetAirspeed(), 1e-6);  // at rest in the turning air
    VECTOR3 vel;
    v->iface->GetRelativeVel(earth, vel);
    EXPECT_NEAR(length(vel), PI2 / oapiGetPlanetPeriod(earth) * (earth->radius + 2.57) * std::cos(lat), 1e-3);
}

TEST(Landed, LanderTouchesDownOnTheTerrainAndLiftsOffWithEnoughThrust) {
    simtest::WorldGuard w;
    simtest::loadBundled(*w, "SolTerrain.cfg");
    sim::Body *moon = w->findBody("Moon");
    OBJHANDLE base = oapiGetBaseByName(moon, (char *)"brighton beach");
    ASSERT_NE(base, nullptr);
    double blng, blat, brad;
    oapiGetBaseEquPos(base, &blng, &blat, &brad);
    EXPECT_EQ(brad, moon->radius);
    double elev = oapiSurfaceElevation(moon, blng, blat);
    EXPECT_GT(elev, 100.0);  // the base stands on raised ground
    Vessel *v = sim::addVessel(*w, "LL", w->findClass("LunarLander"));
    // 30 m above the ground at the base, at rest relative to the surface, upright.
    sim::setLandedState(*v, moon, blng, blat, 0.0);
    VECTOR3 up = unit(v->pos - moon->pos);
    VESSELSTATUS2 vs = {};
    vs.version = 2;
    v->iface->GetStatusEx(&vs);
    EXPECT_EQ(vs.status, 1);
    EXPECT_NEAR(vs.vrot.x, v->iface->GetCOG_elev(), 1e-12);
    vs.status = 0;
    vs.rpos = vs.rpos + up * 30.0;
    vs.vrot = _V(0, 0, 0);
    vs.arot = sim::matrixToEuler(v->R);
    v->iface->DefSetStateEx(&vs);
    EXPECT_FALSE(v->landed);
    EXPECT_FALSE(v->iface->GroundContact());
    for (int k = 0; k < 200 && !v->landed; k++) sim::advance(*w, 0.05);
    ASSERT_TRUE(v->landed);
    EXPECT_NEAR(v->touchdownVs, -std::sqrt(2 * 1.62 * 30), 0.3);
    EXPECT_NEAR(v->iface->GetAltitude(), elev + v->iface->GetCOG_elev(), 0.5);
    EXPECT_EQ(v->iface->GetFlightStatus() & 1u, 1u);
    // Half hover thrust is less than the weight: it stays; full thrust lifts it.
    v->iface->SetThrusterGroupLevel(THGROUP_HOVER, 0.3);
    sim::advance(*w, 2.0);
    EXPECT_TRUE(v->landed);
    double fuel = v->iface->GetFuelMass();
    EXPECT_LT(fuel, 8000.0);  // the engines burn while it waits
    v->iface->SetThrusterGroupLevel(THGROUP_HOVER, 1.0);
    sim::advance(*w, 3.0);
    EXPECT_FALSE(v->landed);
    EXPECT_GT(v->iface->GetAltitude(), elev + v->iface->GetCOG_elev() + 5.0);
    VECTOR3 air;
    ASSERT_TRUE(v->iface->GetAirspeedVector(FRAME_HORIZON, air));
    EXPECT_GT(air.y, 1.0);  // climbing
}

// A short free fall onto the ground: the touchdown is reckoned where the legs
// meet the terrain, whatever the step that finds them below it. A fall of 0.2 m
// ends at sqrt(2 g h) (0.80 m/s on the Moon, 1.22 m/s on Mars); a step's further
// fall into the ground must not be counted (up to 0.19 m/s on Mars at 0.05 s).
TEST(Landed, TouchdownSpeedIsTakenAtTheSurfaceWhateverTheStep) {
    struct Case {
        const char *body, *base, *cls;
        double height, step;  // m fallen from rest, s per advance
    };
    const Case cases[] = {
        {"Moon", "brighton beach", "LunarLander", 0.2, 0.05},
        {"Mars", "Jezero", "MarsLander", 0.2, 0.05},
        {"Mars", "Jezero", "MarsLander", 0.2, 0.0123},
        {"Mars", "Jezero", "MarsLander", 3.0, 0.05},
    };
    for (const Case &c : cases) {
        simtest::WorldGuard w;
        simtest::loadBundled(*w);
        sim::Body *body = w->findBody(c.body);
        OBJHANDLE base = oapiGetBaseByName(body, const_cast<char *>(c.base));
        ASSERT_NE(base, nullptr) << c.base;
        double lng, lat, rad;
        oapiGetBaseEquPos(base, &lng, &lat, &rad);
        Vessel *v = sim::addVessel(*w, "L", w->findClass(c.cls));
        sim::setLandedState(*v, body, lng, lat, 0.0);
        VESSELSTATUS2 vs = {};
        vs.version = 2;
        v->iface->GetStatusEx(&vs);
        vs.status = 0;
        vs.rpos = vs.rpos + unit(vs.rpos) * c.height;
        vs.vrot = _V(0, 0, 0);
        vs.arot = sim::matrixToEuler(v->R);
        v->iface->DefSetStateEx(&vs);
        const double t0 = w->simt;
        for (int k = 0; k < 2000 && !v->landed; k++) sim::advance(*w, c.step);
        ASSERT_TRUE(v->landed) << c.body << " " << c.step;
        // Gravity less the turning surface's relief, as a hovering lander feels it.
        VECTOR3 r;
        v->iface->GetRelativePos(body, r);
        const double g = body->mu() / dotp(r, r);
        EXPECT_NEAR(-v->touchdownVs, std::sqrt(2.0 * g * c.height), 0.02) << c.body << " " << c.step;
        EXPECT_NEAR(v->touchdownSimt - t0, std::sqrt(2.0 * c.height / g), 0.01) << c.body << " " << c.step;
    }
}

// Ground contact is the legs at the terrain, never a vessel far above it: the
// quick bound for a vessel beyond the reach of any terrain once read as contact
// just past its margin (over the Moon, some 1.25 km up while braking).
TEST(Landed, NoGroundContactFarAboveTheTerrain) {
    simtest::WorldGuard w;
    simtest::loadBundled(*w);
    sim::Body *moon = w->findBody("Moon");
    Vessel *v = sim::addVessel(*w, "LL", w->findClass("LunarLander"));
    sim::setLandedState(*v, moon, 0.3, 0.2, 0.0);
    const double reach = v->cls->size + moon->maxElevation() + 50.0;
    for (double above : {0.01, 0.05, 0.09, 1.0}) {
        VESSELSTATUS2 vs = {};
        vs.version = 2;
        v->iface->GetStatusEx(&vs);
        vs.status = 0;
        vs.rpos = unit(vs.rpos) * (moon->radius + reach + above);
        vs.vrot = _V(0, 0, 0);
        vs.arot = sim::matrixToEuler(v->R);
        v->iface->DefSetStateEx(&vs);
        EXPECT_FALSE(v->iface->GroundContact()) << above << " m beyond the reach";
        EXPECT_GT(sim::touchdownHeight(*v), 50.0) << above << " m beyond the reach";
    }
}

TEST(Bases, PadsAndSurfaceTransformsAgree) {
    simtest::WorldGuard w;
    simtest::loadBundled(*w);
    OBJHANDLE moon = oapiGetGbodyByName((char *)"MOON");
    ASSERT_EQ(oapiGetObjectType(moon), OBJTP_PLANET);
    ASSERT_EQ(oapiGetBaseCount(moon), 1u);
    OBJHANDLE base = oapiGetBaseByIndex(moon, 0);
    EXPECT_EQ(oapiGetObjectType(base), OBJTP_SURFBASE);
    EXPECT_EQ(oapiGetBasePlanet(base), moon);
    ASSERT_EQ(oapiGetBasePadCount(base), 6u);
    double lng, lat, rad, blng, blat;
    oapiGetBaseEquPos(base, &blng, &blat);
    for (DWORD p = 0; p < 6; p++) {  // a ring about 200 m from the base's centre
        ASSERT_TRUE(oapiGetBasePadEquPos(base, p, &lng, &lat, &rad));
        double d = oapiOrthodome(lng, lat, blng, blat) * rad;
        EXPECT_GT(d, 150.0);
        EXPECT_LT(d, 250.0);
    }
    EXPECT_FALSE(oapiGetBasePadEquPos(base, 6, &lng, &lat, &rad));
    // Equatorial to global and back, through the Moon's current rotation.
    VECTOR3 g;
    oapiEquToGlobal(moon, 0.3, -0.2, 1.75e6, &g);
    double l2, b2, r2;
    oapiGlobalToEqu(moon, g, &l2, &b2, &r2);
    EXPECT_NEAR(l2, 0.3, 1e-12);
    EXPECT_NEAR(b2, -0.2, 1e-12);
    EXPECT_NEAR(r2, 1.75e6, 1e-6);
    // Orthodome: a quarter circle along the equator and over the pole.
    EXPECT_NEAR(oapiOrthodome(0, 0, PI05, 0), PI05, 1e-15);
    EXPECT_NEAR(oapiOrthodome(0.4, 1.0, 0.4 + PI, 1.0), PI - 2.0, 1e-12);
}

TEST(Propellant, FullThrustBurnMatchesTheRocketEquation) {
    simtest::WorldGuard w;
    simtest::loadClasses(*w);
    Vessel *v = sim::addVessel(*w, "DG", w->findClass("DeltaGlider"));
    sim::setOrbitState(*v, nullptr, _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 0));
    VESSEL *vi = v->iface;
    double m0 = vi->GetMass(), rcs0 = vi->GetPropellantMass(vi->GetPropellantHandleByIndex(1));
    THRUSTER_HANDLE th = vi->GetGroupThruster(THGROUP_MAIN, 0);
    double isp = vi->GetThrusterIsp(th);
    EXPECT_EQ(vi->GetThrusterResource(th), vi->GetPropellantHandleByIndex(0));
    vi->SetThrusterGroupLevel(THGROUP_MAIN, 1.0);
    // The host's 12900 kg main tank at 2 x 160 kN / 40 km/s lasts 1612.5 s; run past it.
    for (int k = 0; k < 1700; k++) sim::advance(*w, 1.0);
    double m1 = vi->GetMass();
    EXPECT_EQ(vi->GetFuelMass(), 0.0);
    EXPECT_NEAR(m0 - m1, 12900.0, 1e-6);
    EXPECT_EQ(vi->GetPropellantMass(vi->GetPropellantHandleByIndex(1)), rcs0);
    double dv = length(v->vel);
    EXPECT_NEAR(dv, isp * std::log(m0 / m1), 1e-6 * dv);
    EXPECT_NEAR(v->vel.z, dv, 1e-9 * dv);  // straight along the main engines' axis
    // With the tank dry the engines give nothing.
    sim::advance(*w, 10.0);
    EXPECT_NEAR(length(v->vel), dv, 1e-9 * dv);
}

}  // namespace
