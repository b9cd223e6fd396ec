// Two-body orbits in the host's frames: the orbit's pole is +y, so an orbit of
// inclination 0 runs from +x towards +z (the direction in which planets turn).
#ifndef TESSARC_SIM_ORBIT_H
#define TESSARC_SIM_ORBIT_H

#include "OrbiterAPI.h"

namespace sim {

// Eccentric anomaly (elliptic, e < 1) or hyperbolic anomaly (e > 1) for mean anomaly M.
double solveKepler(double e, double M);

// State at time dt after the elements' epoch. Elements: a (negative when open), e,
// i, node, longitude of periapsis, mean longitude at the epoch.
void elementsToState(const ELEMENTS &el, double mu, double dt, VECTOR3 &pos, VECTOR3 &vel);

// Osculating elements of a state; el.L is the mean longitude now. prm (may be null)
// receives the orbit parameters. Returns false for a degenerate state (r = 0).
bool stateToElements(const VECTOR3 &pos, const VECTOR3 &vel, double mu, ELEMENTS &el, ORBITPARAM *prm);

// Mean motion (rad/s) of the elements (|a| for open orbits).
double meanMotion(const ELEMENTS &el, double mu);

}  // namespace sim

#endif  // TESSARC_SIM_ORBIT_H
