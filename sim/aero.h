// Air and aerodynamic forces of the simulated host: the bodies' atmospheres, the
// drag and lift of vessel classes, and engines whose thrust follows the ambient
// pressure.
#ifndef TESSARC_SIM_AERO_H
#define TESSARC_SIM_AERO_H

#include "world.h"

namespace sim {

// The body's air at an altitude (m) above its mean radius: temperature, pressure
// and density, all zero where it has none.
ATMPARAM airAt(const Body &b, double alt);

// The body whose air surrounds a vessel (its surface reference, or the planet it
// stands on): the one its air data and engines answer to.
const Body *airBody(const Vessel &v);

// The air around a vessel now: its parameters (zero outside every atmosphere) and
// the vessel's velocity relative to the air (global axes, m/s); false without a body.
bool airAround(const Vessel &v, ATMPARAM &prm, VECTOR3 &airspeed);

// Lift coefficient of a class at an angle of attack (rad): linear up to the stall,
// half the peak just past it falling to nothing at 90 degrees, none beyond.
double liftCoefficient(const AeroSpec &a, double aoa);

// Drag and lift (N, vessel axes) of a class moving at `air` (vessel axes, m/s)
// relative to air of density rho (kg/m^3).
void aeroForces(const AeroSpec &a, double rho, const VECTOR3 &air, VECTOR3 &drag, VECTOR3 &lift);

// The same for a vessel as it flies now (zero when landed or out of the air).
void vesselAeroForces(const Vessel &v, VECTOR3 &drag, VECTOR3 &lift);

// Thrust and Isp of a thruster at ambient pressure p (Pa), as a fraction of their
// vacuum values: 1 for engines without a reference Isp, never below 0.
double pressureFactor(const ThrusterSpec &t, double p);

// Ambient pressure around a vessel, Pa.
double ambientPressure(const Vessel &v);

}  // namespace sim

#endif  // TESSARC_SIM_AERO_H
