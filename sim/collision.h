// Collisions between vessels: each class's contact hull (its HULL spheres, or the
// SIZE sphere when it has none) is tested against every other vessel's after each
// physics sub-step. Hulls pass through each other (the host of 2016 has no
// contact between vessels either); a contact is only recorded, once, when two
// hulls come to overlap. Vessels docked into one stack never collide with each
// other, and neither do two vessels whose free ports are within twice the capture
// radius: that is a docking (or an undocking pair drawing apart), not a crash.
#ifndef TESSARC_SIM_COLLISION_H
#define TESSARC_SIM_COLLISION_H

#include <string>

#include "world.h"

namespace sim {

// Records the contacts begun since the last call in w.collisions (after each
// sub-step, once the ports have captured).
void updateCollisions(World &w);

// One line telling a collision: time, vessels, closing speed, where.
std::string describeCollision(const Collision &c);

}  // namespace sim

#endif  // TESSARC_SIM_COLLISION_H
