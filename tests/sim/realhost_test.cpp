// The simulated world against what was measured in the real host (the files in
// tests/data/realhost): the bodies' orientation and places at three dates, the
// gravity a vessel feels around the Moon and the Earth, the surface bases and
// their pads, and the stock vessel classes.
#include <cmath>

#include "ephemeris.h"
#include "sim_fixture.h"
#include "support/json.h"

namespace {

using support::Json;

Json Facts(const char *file) {
    Json j;
    std::string err;
    EXPECT_TRUE(support::ReadJsonFile(support::RealHostDataDir() + "/" + file, j, err)) << err;
    return j;
}

VECTOR3 Vec(const Json &a) { return _V(a[0].number, a[1].number, a[2].number); }

double Deg(double rad) { return rad / RAD; }

// The bundled world at an MJD.
struct WorldAt {
    simtest::WorldGuard w;
    explicit WorldAt(double mjd) {
        simtest::loadBundled(*w);
        sim::setMjd(*w, mjd);
    }
    sim::Body *body(const std::string &name) { return w->findBody(name); }
};

const char *const kDates[] = {"51544.5", "60000.25", "60000.5"};

// Orientation to 1e-9 (the host's own formula, not a fit): rotation matrix,
// node, tilt and rotation angle of the Earth and the Moon, whose axis precesses
// once in 18.6 years.
TEST(RealHost, BodiesStandAsInTheHostAtEveryMeasuredDate) {
    const Json facts = Facts("bodies.json");
    for (const char *date : kDates) {
        const Json &d = facts["dates"][date];
        WorldAt at(d["mjd"].number);
        for (const char *name : {"Earth", "Moon"}) {
            const Json &f = d["bodies"][name];
            sim::Body *b = at.body(name);
            ASSERT_NE(b, nullptr) << name;
            const MATRIX3 R = b->rotationMatrix(at.w->simt);
            for (int k = 0; k < 9; k++)
                EXPECT_NEAR(R.data[k], f["rotation_matrix"][k / 3][k % 3].number, 1e-9) << name << " " << date;
            EXPECT_NEAR(oapiGetPlanetTheta(b), f["planet_theta"].number, 1e-9) << name << " " << date;
            EXPECT_NEAR(oapiGetPlanetObliquity(b), f["planet_obliquity"].number, 1e-9) << name << " " << date;
            EXPECT_NEAR(normangle(oapiGetPlanetCurrentRotation(b) - f["planet_current_rotation"].number), 0.0, 1e-9)
                << name << " " << date;
            EXPECT_DOUBLE_EQ(oapiGetMass(b), f["mass"].number) << name;
            EXPECT_DOUBLE_EQ(oapiGetSize(b), f["size"].number) << name;
        }
    }
}

// The Moon about the Earth from the lunar theory's main terms: within 50 km and
// 0.2 m/s of the host's; the Sun's direction within 0.01 degrees.
TEST(RealHost, MoonAndSunStandWhereTheHostPutsThem) {
    const Json facts = Facts("bodies.json");
    for (const char *date : kDates) {
        const Json &d = facts["dates"][date];
        WorldAt at(d["mjd"].number);
        sim::Body *earth = at.body("Earth"), *moon = at.body("Moon"), *sun = at.body("Sun");
        const VECTOR3 moonPos = Vec(d["moon_rel_earth"]["pos"]), moonVel = Vec(d["moon_rel_earth"]["vel"]);
        const double off = dist(moon->pos - earth->pos, moonPos);
        RecordProperty(std::string("moon_km_") + date, std::to_string(off / 1000));
        EXPECT_LT(off, 50e3) << date;
        EXPECT_LT(dist(moon->vel - earth->vel, moonVel), 0.2) << date;
        const VECTOR3 sunPos = Vec(d["sun_rel_earth"]["pos"]), ours = sun->pos - earth->pos;
        EXPECT_LT(Deg(simtest::angleBetween(ours, sunPos)), 0.01) << date;
        EXPECT_NEAR(length(ours) / length(sunPos), 1.0, 1e-4) << date;
    }
}

// A body centre's acceleration in the world's frame: the second difference of
// its place a minute either side.
VECTOR3 CentreAccel(sim::World &w, sim::Body &b, double mjd) {
    const double h = 60.0;
    VECTOR3 p[3];
    for (int k = 0; k < 3; k++) {
        sim::setMjd(w, mjd + (k - 1) * h / 86400.0);
        p[k] = b.pos;
    }
    sim::setMjd(w, mjd);
    return (p[0] + p[2] - p[1] * 2.0) / (h * h);
}

// Gravity relative to the body's centre at 20 points 15 to 100 km over the Moon
// and 3 points 300 km over the Earth: the point masses of the Moon, the Earth and
// the Sun (the host adds Jupiter and smaller: 1.9e-7 m/s^2); the Earth's J2 to
// J4 only with the non-spherical option, as measured with it on. Around the Moon
// the lunar theory's acceleration of the Moon adds up to 7e-7 m/s^2 (1.4 m over
// 2000 s); the host's Moon is off by 1.6 m/s^2 without its own pull, by 2.5e-5
// without the Earth's tide and 3e-5 without the Sun's.
// With the option, the J terms' pull (0.025 m/s^2 300 km up) agrees as closely:
// the host's stops at J4 (with J5 it was 6e-6 m/s^2 off).
const double kMoonTolerance = 1e-6, kEarthTolerance = 3e-7, kZonalTolerance = 3e-7;  // m/s^2

TEST(RealHost, GravityIsWhatTheHostsVesselsFeel) {
    const Json facts = Facts("gravity.json");
    const Json &runs = facts["runs"];
    for (const auto &run : runs.members) {
        const bool nonspherical = run.first.find("nonspherical") != std::string::npos;
        const Json &probes = run.second["probes"];
        WorldAt at(probes[0]["mjd"].number);
        // A vessel feels the J terms only with the host's option, off by default.
        EXPECT_FALSE(sim::addVessel(*at.w, "P", at.w->findClass("Probe"))->iface->NonsphericalGravityEnabled());
        double worst = 0;
        for (const Json &p : probes.items) {
            sim::Body *b = at.body(p["body"].text);
            ASSERT_NE(b, nullptr);
            sim::setMjd(*at.w, p["mjd"].number);
            const VECTOR3 centre = b->pos, rel = Vec(p["pos_rel_body_global"]);
            const VECTOR3 a = sim::gravityAccel(*at.w, centre + rel, nonspherical) -
                              CentreAccel(*at.w, *b, p["mjd"].number);
            const double off = length(a - Vec(p["a_rel_body_global"]));
            worst = std::max(worst, off);
            const double tol = b->name == "Moon" ? kMoonTolerance : nonspherical ? kZonalTolerance : kEarthTolerance;
            EXPECT_LT(off, tol) << run.first << " " << p["name"].text;
        }
        RecordProperty(run.first + "_worst", std::to_string(worst));
    }
}

// Every base of the Earth and the Moon, in the host's order, with every pad.
TEST(RealHost, BasesAndPadsAreTheHosts) {
    const Json facts = Facts("bases.json");
    WorldAt at(51544.5);
    for (const char *name : {"Earth", "Moon"}) {
        const Json &f = facts[name];
        OBJHANDLE planet = at.body(name);
        ASSERT_GE(oapiGetBaseCount(planet), (DWORD)f["base_count"].number) << name;
        for (const Json &fb : f["bases"].items) {
            OBJHANDLE base = oapiGetBaseByIndex(planet, (int)fb["index"].number);
            char buf[64];
            oapiGetObjectName(base, buf, sizeof buf);
            EXPECT_EQ(std::string(buf), fb["name"].text);
            double lng, lat, rad;
            oapiGetBaseEquPos(base, &lng, &lat, &rad);
            EXPECT_NEAR(normangle(lng - fb["lng_rad"].number), 0.0, 1e-10) << fb["name"].text;
            EXPECT_NEAR(lat, fb["lat_rad"].number, 1e-10) << fb["name"].text;
            ASSERT_EQ(oapiGetBasePadCount(base), (DWORD)fb["pad_count"].number) << fb["name"].text;
            for (const Json &fp : fb["pads"].items) {
                ASSERT_TRUE(oapiGetBasePadEquPos(base, (DWORD)fp["pad"].number, &lng, &lat, &rad));
                EXPECT_NEAR(normangle(lng - fp["lng_rad"].number), 0.0, 1e-10) << fb["name"].text;
                EXPECT_NEAR(lat, fp["lat_rad"].number, 1e-10) << fb["name"].text;
            }
        }
    }
    // The real host's Moon is smooth there; our own ground is a system of its own
    // that adds a plateau under the base to this one.
    OBJHANDLE moon = at.body("Moon"), bb = oapiGetBaseByName(moon, (char *)"Brighton Beach");
    double lng, lat;
    oapiGetBaseEquPos(bb, &lng, &lat);
    EXPECT_EQ(oapiSurfaceElevation(moon, lng, lat), 0.0);
    simtest::WorldGuard terrain;
    simtest::loadBundled(*terrain, "SolTerrain.cfg");
    EXPECT_GT(oapiSurfaceElevation(terrain->findBody("Moon"), lng, lat), 300.0);
    EXPECT_EQ(oapiGetBaseCount(terrain->findBody("Earth")), 37u);
}

}  // namespace
