// Docking: ports capture each other and docked vessels move as one rigid body.
#ifndef TESSARC_SIM_DOCKING_H
#define TESSARC_SIM_DOCKING_H

#include "world.h"

namespace sim {

// Superstructure centre of gravity in the vessel's axes; false (and zero) when
// the vessel is not docked.
bool dockedCG(const Vessel &v, VECTOR3 &cg);
// True for a docked vessel whose motion follows another vessel of its stack.
bool dockFollower(const Vessel &v);
// Capture ports that meet, and move followers with their stack (after each sub-step).
void updateDocking(World &w);
// Release port n of v (both sides); false when it was free.
bool undock(Vessel &v, int n);

}  // namespace sim

#endif  // TESSARC_SIM_DOCKING_H
