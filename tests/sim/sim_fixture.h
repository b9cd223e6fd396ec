// Worlds for the simulator's own tests.
#ifndef TESSARC_TESTS_SIM_FIXTURE_H
#define TESSARC_TESTS_SIM_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "world.h"

namespace simtest {

// A world made current for the test's lifetime.
struct WorldGuard {
    std::unique_ptr<sim::World> w = std::make_unique<sim::World>();
    WorldGuard() { sim::setWorld(w.get()); }
    ~WorldGuard() { sim::setWorld(nullptr); }
    sim::World &operator*() { return *w; }
    sim::World *operator->() { return w.get(); }
};

// The bundled Sol system (or another bundled system file) and vessel classes.
inline void loadBundled(sim::World &w, const char *system = "Sol.cfg") {
    std::string err;
    ASSERT_TRUE(sim::loadSystem(w, std::string(TESSARC_SOURCE_DIR) + "/config/" + system, err)) << err;
    ASSERT_TRUE(sim::loadClassDir(w, std::string(TESSARC_SOURCE_DIR) + "/config/Vessels", err)) << err;
}

inline void loadClasses(sim::World &w) {
    std::string err;
    ASSERT_TRUE(sim::loadClassDir(w, std::string(TESSARC_SOURCE_DIR) + "/config/Vessels", err)) << err;
}

// A lone body fixed at the origin (Earth's mass and radius unless told otherwise).
inline sim::Body *addLoneBody(sim::World &w, double j2 = 0.0, double obliquity = 0.0, double period = 0.0) {
    auto b = std::make_unique<sim::Body>();
    b->objType = OBJTP_PLANET;
    b->name = "Terra";
    b->world = &w;
    b->mass = 5.9736e24;
    b->radius = 6.37101e6;
    b->obliquity = obliquity;
    b->rotPeriod = period;
    if (j2 != 0) b->jcoeff.push_back(j2);
    w.bodies.push_back(std::move(b));
    sim::updateBodies(w);
    return w.bodies.back().get();
}

inline double angleBetween(const VECTOR3 &a, const VECTOR3 &b) {
    return std::atan2(length(crossp(a, b)), dotp(a, b));
}

inline VECTOR3 column(const MATRIX3 &m, int c) { return _V(m.data[c], m.data[3 + c], m.data[6 + c]); }

}  // namespace simtest

#endif  // TESSARC_TESTS_SIM_FIXTURE_H
