// Collisions between vessels: a pod driven through a block is a contact per sphere
// it passes, told with its time, vessels, closing speed and place, in the report
// too; a pod docking at the block's port is no collision.
#include <memory>
#include <string>
#include <vector>

#include "app/report.h"
#include "sim/collision.h"
#include "sim/host.h"
#include "sim_fixture.h"

namespace {

// A class of its own: mass 1000 kg, one port at `port` looking along +z, its hull
// the given spheres.
const sim::VesselClass *AddClass(sim::World &w, const std::string &name, VECTOR3 port,
                                 std::vector<sim::HullSphere> hull) {
    auto c = std::make_unique<sim::VesselClass>();
    c->name = name;
    c->emptyMass = 1000;
    c->pmi = _V(1, 1, 1);
    c->size = 10;
    sim::DockSpec d;
    d.pos = port;
    d.dir = _V(0, 0, 1);
    d.rot = _V(0, 1, 0);
    c->docks.push_back(d);
    c->hull = hull;
    c->touchdown = {_V(0, -2, 5), _V(-3, -2, -3), _V(3, -2, -3)};
    sim::deriveTouchdownPlane(*c);
    w.classes.push_back(std::move(c));
    return w.classes.back().get();
}

// A block (a sphere of 5 m about its centre and one 3 m about x = 20 m, its port on
// the first at z = 5 m) at rest, and a pod (a sphere of 2 m about z = 0.5 m, its
// port at its tip) at `pos` turned by `arot`, moving at `vel`.
struct Pair {
    simtest::WorldGuard w;
    Vessel *block = nullptr, *pod = nullptr;
    Pair(VECTOR3 pos, VECTOR3 vel, VECTOR3 arot) {
        block = sim::addVessel(*w, "Block", AddClass(*w, "Block", _V(0, 0, 5), {{_V(0, 0, 0), 5}, {_V(20, 0, 0), 3}}));
        pod = sim::addVessel(*w, "Pod", AddClass(*w, "Pod", _V(0, 0, 2.5), {{_V(0, 0, 0.5), 2}}));
        sim::setOrbitState(*block, nullptr, _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 0));
        sim::setOrbitState(*pod, nullptr, pos, vel, arot, _V(0, 0, 0));
    }
    void fly(double seconds) {
        for (double t = 0; t < seconds; t += 0.5) sim::advance(*w, 0.5);
    }
};

TEST(Collision, AVesselDrivenThroughAnotherIsOneContactPerHullSphereToldInFull) {
    // From 35 m out along x at 1 m/s: the block's far sphere reaches 23 m, the
    // pod's 2 m, so they meet at 10 s, 23 m out.
    Pair p(_V(35, 0, -0.5), _V(-1, 0, 0), _V(0, 0, 0));
    p.fly(9.5);
    EXPECT_TRUE(p.w->collisions.empty());
    p.fly(60.0);  // through both spheres and out the other side
    ASSERT_EQ(p.w->collisions.size(), 2u) << "one contact per sphere passed through";
    const sim::Collision &c = p.w->collisions[0];
    EXPECT_NEAR(c.simt, 10.0, 0.06);
    EXPECT_EQ(c.a + " " + c.b, "Block Pod");
    EXPECT_NEAR(c.closingSpeed, 1.0, 1e-6);
    EXPECT_NEAR(c.whereA.x, 23.0, 0.06);
    EXPECT_NEAR(c.whereB.x, -2.0, 0.06);
    const std::string told = sim::describeCollision(c);
    EXPECT_NE(told.find("Block and Pod, closing at 1.000 m/s"), std::string::npos) << told;

    sim::Host h(&*p.w);
    const std::string json = app::reportJson(h, app::RunInfo());
    EXPECT_NE(json.find("\"collisions\": [\n    {\"simt\": 10"), std::string::npos) << json;
    EXPECT_NE(json.find("\"vessels\": [\"Block\", \"Pod\"], \"closingSpeed\": 1"), std::string::npos) << json;
}

TEST(Collision, DockingAtThePortIsNoCollision) {
    // The pod 1 m in front of the block's port, facing it, closing at 0.1 m/s;
    // docked, then undocked and drawn back out.
    Pair p(_V(0, 0, 8.5), _V(0, 0, -0.1), _V(0, PI, 0));
    p.fly(20.0);
    ASSERT_EQ(p.pod->iface->DockingStatus(0), 1u);
    ASSERT_TRUE(p.pod->iface->Undock(0));
    p.pod->vel = p.block->vel + _V(0, 0, 0.05);
    p.fly(60.0);
    EXPECT_EQ(p.pod->iface->DockingStatus(0), 0u);
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
