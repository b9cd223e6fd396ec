// The docking approach's way around the target's keep-out zone.
#include "control/keepout.h"

#include <cmath>

#include "control/math.h"

namespace {

// Distance along the corridor's line from the contact point at which the line
// leaves a sphere of radius r about the target's centre (0 when the contact point
// already lies outside it).
double LineExit(const KeepOutZone &z, double r) {
    const double b = dotp(z.contact, z.axis), c = dotp(z.contact, z.contact) - r * r;
    if (c >= 0.0) return 0.0;
    return -b + std::sqrt(b * b - c);
}

// A point p inside the corridor's cone (the wider cone when `held`).
bool InCorridor(const KeepOutZone &z, const VECTOR3 &p, bool held) {
    const VECTOR3 d = p - z.contact;
    const double s = dotp(d, z.axis);
    const double off = length(d - z.axis * s);
    const double floor = held ? kCorridorFloorHeld : kCorridorFloor;
    const double angle = held ? kCorridorHalfAngleHeld : kCorridorHalfAngle;
    return s > -floor && off <= floor + s * std::tan(angle);
}

// The straight path from a to b keeps out of the sphere of radius r.
bool PathClear(const VECTOR3 &a, const VECTOR3 &b, double r) {
    const VECTOR3 ab = b - a;
    const double l2 = dotp(ab, ab);
    const double t = l2 > 0.0 ? std::fmax(0.0, std::fmin(1.0, -dotp(a, ab) / l2)) : 0.0;
    return length(a + ab * t) >= r;
}

// A way-point on the sphere of radius way ahead of the vessel at c (outside the
// zone of radius r) towards the goal: as far round as a straight path from c
// keeps out of the zone, never past the goal's direction.
VECTOR3 WayAround(const VECTOR3 &c, const VECTOR3 &goal, double r, double way) {
    const double rc = length(c);
    const VECTOR3 u = c / rc, g = goal / length(goal);
    const double cosToGoal = std::fmax(-1.0, std::fmin(1.0, dotp(u, g)));
    VECTOR3 side = g - u * cosToGoal;
    if (length(side) < 1e-6) {  // the goal straight behind the target: any way round
        side = CrossProduct(u, std::fabs(u.y) < 0.9 ? _V(0, 1, 0) : _V(1, 0, 0));
    }
    side = side / length(side);
    // Tangent angles from c and from the way-point sphere, with a fifth kept back.
    const double reach = 0.8 * (std::acos(std::fmin(1.0, r / rc)) + std::acos(r / way));
    const double turn = std::fmin(std::acos(cosToGoal), reach);
    return (u * std::cos(turn) + side * std::sin(turn)) * way;
}

}  // namespace

double KeepOutRadius(double targetSize, double ownSize) {
    return std::fmax(0.0, targetSize) + std::fmax(0.0, ownSize) + kKeepOutMargin;
}

VECTOR3 KeepOutAim(const KeepOutZone &z, const VECTOR3 &centre, const VECTOR3 &hold, int32_t *leg) {
    const double r = z.radius, rc = length(centre);
    const bool held = *leg == DOCK_LEG_CORRIDOR || *leg == DOCK_LEG_HOLD;
    if (!(r > 0.0) || InCorridor(z, centre, held)) {
        *leg = length(hold) < r || rc < r ? DOCK_LEG_CORRIDOR : DOCK_LEG_HOLD;
        return hold;
    }
    if (rc < r) {
        *leg = DOCK_LEG_BACK_OUT;
        return rc > 1e-6 ? centre * ((r + kKeepOutMouth) / rc) : z.axis * (r + kKeepOutMouth);
    }
    // The hold point itself when it lies outside the zone, else the corridor's mouth.
    const double mouth = LineExit(z, r + kKeepOutMouth);
    const bool holdOutside = length(hold) >= r && dotp(hold - z.contact, z.axis) >= 0.0;
    const VECTOR3 goal = holdOutside ? hold : z.contact + z.axis * mouth;
    if (PathClear(centre, goal, r)) {
        *leg = holdOutside ? DOCK_LEG_HOLD : DOCK_LEG_AXIS;
        return goal;
    }
    *leg = DOCK_LEG_AROUND;
    return WayAround(centre, goal, r, r + kKeepOutWay);
}
