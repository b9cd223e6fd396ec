// The Moon's place about the Earth: the principal periodic terms of the lunar
// theory in longitude, latitude and distance (the largest 60 and 30 terms, with
// the additive terms of Venus, Jupiter and the Earth's flattening), referred from
// the ecliptic of date to the fixed J2000 ecliptic of the host's global frame.
// Good to about 40 km in position and 0.15 m/s in velocity near the present.
#ifndef TESSARC_SIM_EPHEMERIS_H
#define TESSARC_SIM_EPHEMERIS_H

#include "OrbiterAPI.h"

namespace sim {

// The Moon's position relative to the Earth (m) at an MJD, in the host's global
// axes: x to the J2000 equinox, y to the ecliptic north, z 90 degrees east of x.
VECTOR3 lunarPosition(double mjd);

// Position and velocity (m, m/s); the velocity from positions a minute apart.
void lunarState(double mjd, VECTOR3 &pos, VECTOR3 &vel);

}  // namespace sim

#endif  // TESSARC_SIM_EPHEMERIS_H
