// The small probe class the page tests and the drawing benchmark fly: one tank,
// one docking port on the nose, no thrusters (a test adds what it needs).
#ifndef TESSARC_TESTS_SUPPORT_PROBE_CLASS_H
#define TESSARC_TESTS_SUPPORT_PROBE_CLASS_H

#include <memory>

#include "sim/world.h"

namespace support {

inline sim::VesselClass *AddProbeClass(sim::World &w) {
    auto c = std::make_unique<sim::VesselClass>();
    c->name = "Probe";
    c->emptyMass = 2000;
    c->pmi = _V(2, 2, 2);
    c->size = 4;
    c->tankMax = {1000};
    c->touchdown = {_V(0, -2, 2), _V(-2, -2, -2), _V(2, -2, -2)};
    sim::deriveTouchdownPlane(*c);
    sim::DockSpec port;
    port.pos = _V(0, 0, 2);
    port.dir = _V(0, 0, 1);
    port.rot = _V(0, 1, 0);
    c->docks = {port};
    sim::VesselClass *cls = c.get();
    w.classes.push_back(std::move(c));
    return cls;
}

}  // namespace support

#endif  // TESSARC_TESTS_SUPPORT_PROBE_CLASS_H
