// Shared helpers of the host API implementation (sim/api_*.cpp).
#ifndef TESSARC_SIM_API_UTIL_H
#define TESSARC_SIM_API_UTIL_H

#include "world.h"

namespace sim {

// Global position and velocity of any object handle (body, vessel, surface base);
// false for an unknown or stale handle.
bool objectState(const World &w, const void *h, VECTOR3 *pos, VECTOR3 *vel);
// Local-to-global rotation of any object handle (identity and false when unknown).
bool objectRotation(const World &w, const void *h, MATRIX3 &m);
// A navigation transmitter of a live vessel behind a handle, or null.
NavRadio *navOf(const World &w, const void *h);
// Local horizon of a vessel over its surface reference: up, north, east (global
// axes); false when there is no reference body.
bool horizon(const Vessel &v, VECTOR3 &up, VECTOR3 &north, VECTOR3 &east);
// Longitude, latitude (rad) and radius (m) of a global position over a body.
void equPos(const Body &b, const VECTOR3 &gpos, double &lng, double &lat, double &rad);

}  // namespace sim

#endif  // TESSARC_SIM_API_UTIL_H
