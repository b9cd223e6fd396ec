// The Earth the hand-built test worlds fly about, with the bundled system file's
// mass and radius, so every test program means the same planet.
#ifndef TESSARC_TESTS_SUPPORT_EARTH_H
#define TESSARC_TESTS_SUPPORT_EARTH_H

#include <memory>

#include "sim/world.h"

namespace support {

// Adds the Earth to the world: at the origin, at rest, turning once per
// rotPeriod seconds (0: not turning). Returns it.
inline sim::Body *AddEarth(sim::World &w, double rotPeriod = 0.0) {
    auto b = std::make_unique<sim::Body>();
    b->objType = OBJTP_PLANET;
    b->name = "Earth";
    b->world = &w;
    b->mass = 5.9736e24;    // kg
    b->radius = 6.37101e6;  // m
    b->rotPeriod = rotPeriod;
    sim::Body *earth = b.get();
    w.bodies.push_back(std::move(b));
    return earth;
}

}  // namespace support

#endif  // TESSARC_TESTS_SUPPORT_EARTH_H
