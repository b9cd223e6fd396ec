// Collisions between vessels: a shuttle driven through the station's truss is one
// contact, told with its time, vessels, closing speed and place, in the report
// too; a shuttle docking at the station's port is no collision.
#include <string>

#include "app/report.h"
#include "sim/collision.h"
#include "sim/host.h"
#include "sim_fixture.h"

namespace {

struct Pair {
    simtest::WorldGuard w;
    Vessel *iss = nullptr, *pb = nullptr;
    Pair(VECTOR3 pos, VECTOR3 vel, VECTOR3 arot) {
        simtest::loadClasses(*w);
        iss = sim::addVessel(*w, "ISS", w->findClass("ProjectAlpha_ISS"));
        pb = sim::addVessel(*w, "PB", w->findClass("ShuttlePB"));
        sim::setOrbitState(*iss, nullptr, _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 0));
        sim::setOrbitState(*pb, nullptr, pos, vel, arot, _V(0, 0, 0));
    }
    void fly(double seconds) {
        for (double t = 0; t < seconds; t += 0.5) sim::advance(*w, 0.5);
    }
};

TEST(Collision, AShipDrivenThroughTheTrussIsOneContactToldInFull) {
    // From 60 m out along the truss at 1 m/s: its last sphere reaches 47 m, the
    // shuttle's nose sphere 2 m, so they meet at 11 s, 47 m out.
    Pair p(_V(60, 0, -0.5), _V(-1, 0, 0), _V(0, 0, 0));
    p.fly(10.5);
    EXPECT_TRUE(p.w->collisions.empty());
    p.fly(150.0);  // through the station and out the other side
    ASSERT_EQ(p.w->collisions.size(), 1u);
    const sim::Collision &c = p.w->collisions[0];
    EXPECT_NEAR(c.simt, 11.0, 0.06);
    EXPECT_EQ(c.a + " " + c.b, "ISS PB");
    EXPECT_NEAR(c.closingSpeed, 1.0, 1e-6);
    EXPECT_NEAR(c.whereA.x, 47.0, 0.06);
    EXPECT_NEAR(c.whereB.x, -2.0, 0.06);
    const std::string told = sim::describeCollision(c);
    EXPECT_NE(told.find("ISS and PB, closing at 1.000 m/s"), std::string::npos) << told;

    sim::Host h(&*p.w);
    const std::string json = app::reportJson(h, app::RunInfo());
    EXPECT_NE(json.find("\"collisions\": [\n    {\"simt\": 11"), std::string::npos) << json;
    EXPECT_NE(json.find("\"vessels\": [\"ISS\", \"PB\"], \"closingSpeed\": 1"), std::string::npos) << json;
}

TEST(Collision, DockingAtThePortIsNoCollision) {
    // The shuttle 1 m in front of the forward port, facing it, closing at 0.1 m/s;
    // docked, then undocked and drawn back out.
    Pair p(_V(0, -1.3, 27.5), _V(0, 0, -0.1), _V(0, PI, 0));
    p.fly(20.0);
    ASSERT_EQ(p.pb->iface->DockingStatus(0), 1u);
    ASSERT_TRUE(p.pb->iface->Undock(0));
    p.pb->vel = p.iss->vel + _V(0, 0, 0.05);
    p.fly(60.0);
    EXPECT_EQ(p.pb->iface->DockingStatus(0), 0u);
    for (const sim::Collision &c : p.w->collisions) ADD_FAILURE() << sim::describeCollision(c);
}

// Every bundled class's ports lie on or outside its hull (within 5 cm): a port
// inside it would make every docking there a collision before the capture.
TEST(Collision, EveryBundledPortLiesOnItsClassHull) {
    simtest::WorldGuard w;
    simtest::loadClasses(*w);
    for (const auto &c : w->classes)
        for (size_t p = 0; p < c->docks.size(); p++) {
            if (c->hull.empty()) {
                EXPECT_GE(length(c->docks[p].pos), c->size - 0.05) << c->name << " port " << p << ": add HULL lines";
                continue;
            }
            for (const sim::HullSphere &h : c->hull)
                EXPECT_GE(dist(c->docks[p].pos, h.pos), h.radius - 0.05) << c->name << " port " << p;
        }
}

}  // namespace
