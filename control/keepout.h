// The keep-out zone of a docking target: a sphere about the target's centre that
// the approaching vessel's centre enters only along the corridor of the target
// port, a narrow cone about the line the vessel's centre follows in to the port.
// A vessel on the wrong side goes around the sphere to the corridor's mouth, then
// in. Everything here is in the target's own axes, so the zone and the corridor
// turn with a turning target.
#ifndef TESSARC_CONTROL_KEEPOUT_H
#define TESSARC_CONTROL_KEEPOUT_H

#include <cstdint>

#include "Orbitersdk.h"
#include "frame/state.h"

// Margin (m) added to the two vessels' sizes for the zone's radius.
const double kKeepOutMargin = 5.0;
// The corridor's mouth lies this far (m) outside the zone, and the way around
// runs on a sphere this much (m) wider than the zone.
const double kKeepOutMouth = 5.0;
const double kKeepOutWay = 15.0;
// The corridor: a cone of this half-angle (rad) about the line in, this wide (m)
// at the port; a vessel once in it is held to the wider of the two.
const double kCorridorHalfAngle = 3.0 * RAD;
const double kCorridorFloor = 0.3;
const double kCorridorHalfAngleHeld = 4.0 * RAD;
const double kCorridorFloorHeld = 0.5;
// Speed (m/s) at which the velocity-nulling approach leaves the zone.
const double kBackOutSpeed = 0.5;

struct KeepOutZone {
    double radius;    // m, about the target's centre
    VECTOR3 contact;  // the vessel centre's place at contact (target axes, m)
    VECTOR3 axis;     // unit, the target port's outward direction (target axes)
};

// Radius (m) of the zone for a target and a vessel of the given sizes (m).
double KeepOutRadius(double targetSize, double ownSize);

// The point to fly the vessel's centre to now (target axes) on the way from
// `centre` to the hold point `hold` on the corridor's line, and the leg that is
// (`leg` in: the leg of the last step, for the corridor's hold; out: this one).
VECTOR3 KeepOutAim(const KeepOutZone &z, const VECTOR3 &centre, const VECTOR3 &hold, int32_t *leg);

#endif  // TESSARC_CONTROL_KEEPOUT_H
