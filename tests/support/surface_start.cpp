// A vessel put near a point of a body's surface: landed, hovering or moving.
#include "support/surface_start.h"

#include <cmath>

#include "sim/simmath.h"
#include "sim/world.h"

namespace flight {

bool PlaceNear(Flight &f, const std::string &vessel, const std::string &body, double lng, double lat,
               const SurfaceStart &s) {
    ::Vessel *v = f.vessel(vessel);
    sim::Body *b = f.world.findBody(body);
    if (!v || !b || !(b->radius > 0)) return false;
    // The point dist m from (lng, lat) towards the bearing, on the sphere.
    const double d = s.dist / b->radius;
    const double lat2 = std::asin(std::sin(lat) * std::cos(d) + std::cos(lat) * std::sin(d) * std::cos(s.bearing));
    const double lng2 = lng + std::atan2(std::sin(s.bearing) * std::sin(d) * std::cos(lat),
                                         std::cos(d) - std::sin(lat) * std::sin(lat2));
    // Back towards the point: the bearing from the start to it.
    const double dl = lng - lng2;
    const double home = std::atan2(std::sin(dl) * std::cos(lat),
                                   std::cos(lat2) * std::sin(lat) - std::sin(lat2) * std::cos(lat) * std::cos(dl));
    sim::setLandedState(*v, b, lng2, lat2, home);
    v->touchedDown = false;
    if (s.height <= 0.0 && s.toward == 0.0 && s.up == 0.0) return true;
    const MATRIX3 m = b->rotationMatrix(f.world.simt);
    const VECTOR3 up = mul(m, sim::equToUnit(lng2, lat2));
    const VECTOR3 north = mul(m, _V(-std::sin(lat2) * std::cos(lng2), std::cos(lat2), -std::sin(lat2) * std::sin(lng2)));
    const VECTOR3 east = mul(m, _V(-std::sin(lng2), 0, std::cos(lng2)));
    const VECTOR3 ahead = north * std::cos(home) + east * std::sin(home);
    v->landed = false;
    v->landedOn = nullptr;
    v->pos += up * s.height;
    v->vel += ahead * s.toward + up * s.up;
    return true;
}

}  // namespace flight
