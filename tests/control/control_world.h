// A small simulated world for the control unit tests: Earth, hand-built vessel
// classes, vessels placed in a circular low orbit.
#ifndef TESSARC_TESTS_CONTROL_WORLD_H
#define TESSARC_TESTS_CONTROL_WORLD_H

#include <cmath>
#include <memory>
#include <string>

#include "sim/world.h"
#include "support/earth.h"

namespace ctltest {

struct TestWorld {
    sim::World w;
    sim::Body *earth = nullptr;

    TestWorld() {
        earth = support::AddEarth(w);
        sim::setWorld(&w);
    }
    ~TestWorld() { sim::setWorld(nullptr); }

    // A class named `name`; thrusters are added with AddThruster.
    sim::VesselClass *AddClass(const std::string &name, double mass = 10000.0, VECTOR3 pmi = _V(10, 10, 5)) {
        auto c = std::make_unique<sim::VesselClass>();
        c->name = name;
        c->emptyMass = mass;
        c->pmi = pmi;
        c->size = 10;
        c->tankMax = {1000.0};
        c->touchdown = {_V(0, -2, 5), _V(-3, -2, -3), _V(3, -2, -3)};
        sim::deriveTouchdownPlane(*c);
        sim::VesselClass *p = c.get();
        w.classes.push_back(std::move(c));
        return p;
    }
    // A thruster at pos pushing along dir, member of the given groups (bit g for group g).
    static int AddThruster(sim::VesselClass *c, VECTOR3 pos, VECTOR3 dir, double fmax, unsigned groups) {
        sim::ThrusterSpec t;
        t.name = "t" + std::to_string(c->thrusters.size());
        t.pos = pos;
        t.dir = dir;
        t.maxThrust = fmax;
        t.isp = 3000.0;
        t.tank = 0;
        const int idx = static_cast<int>(c->thrusters.size());
        c->thrusters.push_back(t);
        for (int g = 0; g < 15; ++g)
            if (groups & (1u << g)) c->groups[g].push_back(idx);
        return idx;
    }
    // A vessel in a circular equatorial orbit 300 km up, at the given attitude.
    VESSEL *AddVessel(const std::string &name, const sim::VesselClass *c, VECTOR3 arot = _V(0, 0, 0),
                      VECTOR3 vrot = _V(0, 0, 0), VECTOR3 offset = _V(0, 0, 0)) {
        Vessel *v = sim::addVessel(w, name, c);
        const double r = earth->radius + 300e3;
        const double speed = std::sqrt(earth->mu() / r);
        sim::setOrbitState(*v, earth, _V(r, 0, 0) + offset, _V(0, 0, speed), arot, vrot);
        return v->iface;
    }
};

}  // namespace ctltest

#endif  // TESSARC_TESTS_CONTROL_WORLD_H
