// Air and aerodynamic forces of the simulated host.
#include "aero.h"

#include <cmath>

#include "simmath.h"

namespace sim {

ATMPARAM airAt(const Body &b, double alt) {
    ATMPARAM prm{0.0, 0.0, 0.0};
    const Atmosphere &a = b.atm;
    if (!a.present || !(alt <= a.top) || !(a.scaleHeight > 0)) return prm;
    const double f = std::exp(-alt / a.scaleHeight);
    prm.T = a.temperature;
    prm.p = a.pressure0 * f;
    prm.rho = a.density0 * f;
    return prm;
}

const Body *airBody(const Vessel &v) { return v.landed ? v.landedOn : v.surfaceRef; }

bool airAround(const Vessel &v, ATMPARAM &prm, VECTOR3 &airspeed) {
    prm = ATMPARAM{0.0, 0.0, 0.0};
    airspeed = _V(0, 0, 0);
    const Body *b = airBody(v);
    if (!b) return false;
    const VECTOR3 r = v.pos - b->pos;
    const double simt = b->world ? b->world->simt : 0.0;
    airspeed = v.vel - b->vel - b->surfaceVelocity(r, simt);
    prm = airAt(*b, length(r) - b->radius);
    return true;
}

double liftCoefficient(const AeroSpec &a, double aoa) {
    const double s = std::fabs(aoa), sign = aoa < 0 ? -1.0 : 1.0;
    if (!(a.liftArea > 0) || !(s <= PI05) || !(a.stallAoa < PI05)) return 0.0;
    if (s <= a.stallAoa) return a.liftSlope * aoa;
    return sign * 0.5 * a.liftSlope * a.stallAoa * (PI05 - s) / (PI05 - a.stallAoa);
}

void aeroForces(const AeroSpec &a, double rho, const VECTOR3 &air, VECTOR3 &drag, VECTOR3 &lift) {
    drag = lift = _V(0, 0, 0);
    const double speed = length(air);
    if (!(rho > 0) || !(speed > 0)) return;
    drag = _V(a.dragArea.x * air.x, a.dragArea.y * air.y, a.dragArea.z * air.z) * (-0.5 * rho * speed);
    const double flow2 = air.y * air.y + air.z * air.z;  // in the plane of symmetry
    if (!(a.liftArea > 0) || !(flow2 > 0)) return;
    const double flow = std::sqrt(flow2);
    // The angle of attack is positive with the nose above the flight path; the
    // lift stands across the flow on the side of the vessel's y axis.
    const double cl = liftCoefficient(a, std::atan2(-air.y, air.z));
    lift = _V(0, air.z, -air.y) * (0.5 * rho * flow * a.liftArea * cl);
}

void vesselAeroForces(const Vessel &v, VECTOR3 &drag, VECTOR3 &lift) {
    drag = lift = _V(0, 0, 0);
    ATMPARAM prm;
    VECTOR3 air;
    if (v.landed || !v.cls || !airAround(v, prm, air) || !(prm.rho > 0)) return;
    aeroForces(v.cls->aero, prm.rho, tmul(v.R, air), drag, lift);
}

double pressureFactor(const ThrusterSpec &t, double p) {
    if (!(t.ispRef > 0) || !(t.pRef > 0) || !(t.isp > 0) || !(p > 0)) return 1.0;
    const double eta = (t.isp - t.ispRef) / (t.pRef * t.isp);
    return std::fmax(0.0, 1.0 - p * eta);
}

double ambientPressure(const Vessel &v) {
    const Body *b = airBody(v);
    return b ? airAt(*b, length(v.pos - b->pos) - b->radius).p : 0.0;
}

}  // namespace sim
