// Planet and orbit model of the landing guidance: the global frame against the
// planet's rotating and equatorial frames (now or at a future time), longitude,
// latitude and radius with their rates, the surface-relative velocity in east,
// north and up components, Kepler's equation, the state of an element set, and an
// orbit predictor with the secular drift of the second zonal harmonic.
//
// Positions and velocities are planet-centred throughout: the caller subtracts the
// planet's position. The functions keep no state, read the planet from the host
// on every call and never allocate.
#ifndef TESSARC_LANDING_PLANET_H
#define TESSARC_LANDING_PLANET_H

#include "Orbitersdk.h"

// Gravitational constant used for every body of the landing guidance.
const double kGravConst = 6.67259e-11;

// Working element set of the predictor.
struct ElementState {
    double a;         // semi-major axis, m
    double e;         // eccentricity
    double i;         // inclination, rad
    double node;      // longitude of the ascending node, rad
    double argPe;     // argument of periapsis, rad
    double meanLon;   // mean longitude, rad
    double meanAnom;  // mean anomaly, rad
    double trueAnom;  // true anomaly, rad
    double eccAnom;   // eccentric anomaly, rad
};

// True when the object is a planet (host object type 4).
bool IsPlanet(OBJHANDLE body);

// Global axes -> the planet's rotating frame (nonRotating false) or its equatorial
// frame (nonRotating true) at now + dt. In the rotating frame the velocity is the
// one relative to the turning surface. Vectors of a non-planet stay unchanged.
void GlobalToPlanet(OBJHANDLE planet, VECTOR3 &pos, VECTOR3 &vel, bool nonRotating, double dt);
// The exact inverse of GlobalToPlanet.
void PlanetToGlobal(OBJHANDLE planet, VECTOR3 &pos, VECTOR3 &vel, bool nonRotating, double dt);

// (x, y, z) and its rate -> (longitude, latitude, radius) and (longitude rate,
// latitude rate, radial speed). A point on the y axis has no longitude rate: its
// rate is set to 0 rather than divided by zero; the zero vector stays zero.
void CartesianToSpherical(VECTOR3 &pos, VECTOR3 &vel);
void SphericalToCartesian(VECTOR3 &pos, VECTOR3 &vel);
// GlobalToPlanet (rotating, dt) then CartesianToSpherical; nothing for a non-planet.
void GlobalToSurfaceSpherical(OBJHANDLE planet, VECTOR3 &pos, VECTOR3 &vel, double dt);
// Surface-relative velocity (east, north, up) of a planet-centred global state;
// the zero vector for a non-planet.
VECTOR3 SurfaceVelocityEnu(OBJHANDLE planet, VECTOR3 pos, VECTOR3 vel, double dt);

// Eccentric (or, above e = 1, hyperbolic) anomaly of mean anomaly M by Newton's
// method with at most maxIter corrections.
double SolveKepler(double e, double M, int maxIter);
// Position and velocity in the element set's frame (pole on y) from the
// eccentricity, inclination, node, argument of periapsis and true anomaly; returns
// the radius. Zero vectors and radius 0 when mu or h is not positive.
double ElementsToState(const ElementState &el, double mu, double h, VECTOR3 &pos, VECTOR3 &vel);
// Planet-centred position and velocity in global axes at now + dt from the host's
// elements (equatorial frame) and orbit parameters; with j2 the node and
// periapsis drift and the mean motion is perturbed. False, outputs untouched, for
// a non-planet or an orbit that is not closed.
bool PropagateOrbit(OBJHANDLE planet, const ELEMENTS &el, const ORBITPARAM &prm, double dt,
                    VECTOR3 &pos, VECTOR3 &vel, int j2);

#endif  // TESSARC_LANDING_PLANET_H
