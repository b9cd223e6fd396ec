// A vessel put near a point of a body's surface in a pilot's state: landed there,
// hovering, or moving towards it, upright, as a takeover by the landing autopilot
// finds it.
#ifndef TESSARC_TESTS_SUPPORT_SURFACE_START_H
#define TESSARC_TESTS_SUPPORT_SURFACE_START_H

#include <string>

#include "support/flight.h"

namespace flight {

// Where the vessel starts, seen from the point it is to land at.
struct SurfaceStart {
    double bearing = 0.0;  // rad from north, from the point to the vessel
    double dist = 0.0;     // m over the ground from the point
    double height = 0.0;   // m above the ground below the vessel; 0 with no speed: landed
    double toward = 0.0;   // m/s over the ground towards the point
    double up = 0.0;       // m/s, upwards
};

// Puts the named vessel at the start near (lng, lat) of its body, upright and
// facing the point; the ground speeds are relative to the turning surface. False
// when the vessel or body is unknown.
bool PlaceNear(Flight &f, const std::string &vessel, const std::string &body, double lng, double lat,
               const SurfaceStart &s);

}  // namespace flight

#endif  // TESSARC_TESTS_SUPPORT_SURFACE_START_H
