// Docking: ports capture each other and docked vessels move as one rigid body.
#ifndef TESSARC_SIM_DOCKING_H
#define TESSARC_SIM_DOCKING_H

#include "world.h"

namespace sim {

// A docked stack seen from its leader: members (leader first), total mass, the
// stack's centre of gravity and its inertia tensor about it, in leader axes.
struct Stack {
    std::vector<Vessel *> members;
    double mass = 0;
    VECTOR3 cg{};
    MATRIX3 inertia{};
};
void stackOf(const World &w, Vessel &leader, Stack &s);

// Superstructure centre of gravity in the vessel's axes; false (and zero) when
// the vessel is not docked.
bool dockedCG(const Vessel &v, VECTOR3 &cg);
// True for a docked vessel whose motion follows another vessel of its stack.
bool dockFollower(const Vessel &v);
// Moves the followers of a leader to their places on it.
void placeFollowers(const World &w, Vessel &leader);
// Capture ports that meet (after each sub-step, the host's step at 1x): each
// vessel checks one other vessel a step, in turn; a pair of free ports closer
// than the capture radius is marked while they close, and docks in the check
// where they no longer close or have passed each other. Checked once a frame, an
// approach at 100x (5 s frames) skipped the half-metre sphere at 0.5 m/s.
void updateDocking(World &w);
// Release port n of v (both sides); false when it was free.
bool undock(Vessel &v, int n);
// Recompute leaders and relative poses from the port links (after any change).
void rebuildStacks(World &w);

}  // namespace sim

#endif  // TESSARC_SIM_DOCKING_H
