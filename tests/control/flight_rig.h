// Flight rig for the control tests: a scenario with the plug-in linked in, the
// autopilot state behind a display, and independent measures of what the vessel
// does (its own rotation matrix and angular velocity from the simulator).
#ifndef TESSARC_TESTS_CONTROL_FLIGHT_RIG_H
#define TESSARC_TESTS_CONTROL_FLIGHT_RIG_H

#include <cmath>
#include <string>

#include "control/math.h"
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace ctltest {

// Scenario text: one ship block per entry of `ships` (already formatted).
inline std::string ScenarioText(const std::string &focus, const std::string &ships) {
    return "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 51544.5\nEND_ENVIRONMENT\n"
           "BEGIN_FOCUS\n  Ship " + focus + "\nEND_FOCUS\nBEGIN_SHIPS\n" + ships + "END_SHIPS\n";
}

// A ship in a circular orbit of 300 km about Earth, in the ecliptic plane,
// `offset` metres from the reference point and moving `dv` m/s relative to it.
inline std::string OrbitingShip(const std::string &name, const std::string &cls, VECTOR3 arotDeg = _V(0, 0, 0),
                                VECTOR3 vrotDeg = _V(0, 0, 0), VECTOR3 offset = _V(0, 0, 0),
                                VECTOR3 dv = _V(0, 0, 0)) {
    const double r = 6.371e6 + 300e3;
    const double v = std::sqrt(3.986004418e14 / r);
    char buf[512];
    std::snprintf(buf, sizeof(buf),
                  "%s:%s\n  STATUS Orbiting Earth\n  RPOS %.3f %.3f %.3f\n  RVEL %.6f %.6f %.6f\n"
                  "  AROT %.6f %.6f %.6f\n  VROT %.6f %.6f %.6f\nEND\n",
                  name.c_str(), cls.c_str(), r + offset.x, offset.y, offset.z, dv.x, dv.y, v + dv.z,
                  arotDeg.x, arotDeg.y, arotDeg.z, vrotDeg.x, vrotDeg.y, vrotDeg.z);
    return buf;
}

struct Rig {
    flight::Flight f;
    std::string ship;
    MfdState *S = nullptr;
    ::Vessel *hv = nullptr;
    VESSEL *v = nullptr;

    // Loads the scenario, opens the plug-in on display 0 for `shipName`.
    bool Start(const std::string &scenario, const std::string &shipName, double frameDt = 0.05) {
        if (!f.loadText(scenario)) return false;
        f.world.frameDt = frameDt;
        flight::useLinkedPlugin(f);
        if (!f.open(0, "TessarcMFD", shipName)) return false;
        ship = shipName;
        hv = f.vessel(shipName);
        v = f.iface(shipName);
        S = StateOf(shipName, 0);
        return S != nullptr && hv != nullptr;
    }
    // The autopilot state of a vessel at an MFD position (null when there is none).
    MfdState *StateOf(const std::string &name, int position) {
        const int slot = FindVesselSlot(f.handle(name));
        VesselRecord *rec = slot >= 0 ? RecordForSlot(slot) : nullptr;
        return rec ? rec->states[position] : nullptr;
    }
    VesselRecord *Record() { return RecordForSlot(FindVesselSlot(f.handle(ship))); }

    double Propellant() const { return hv->propellantMass(); }
    // Angular velocity in vessel axes, rad/s, as the simulator integrates it.
    VECTOR3 Omega() const { return hv->omega; }
    // Convention-0 angles of the rotation from the vessel's attitude to `wanted`.
    VECTOR3 ErrorTo(const MATRIX3 &wanted) const { return MatrixToEuler(MatMat(MatTranspose(hv->R), wanted), 0); }
    // Largest of the three error angles, degrees.
    static double MaxDeg(const VECTOR3 &e) {
        return std::fmax(std::fabs(e.x), std::fmax(std::fabs(e.y), std::fabs(e.z))) / RAD;
    }
    // The frame of the orbital velocity: z along it, x along the orbit normal.
    MATRIX3 VelocityFrame() const {
        VECTOR3 p, vel;
        v->GetRelativePos(v->GetGravityRef(), p);
        v->GetRelativeVel(v->GetGravityRef(), vel);
        return EulerToMatrix(AxesToEuler(vel, CrossProduct(p, vel), 0));
    }
    // The wanted frame of the state's refAtt followed by relAtt.
    MATRIX3 WantedFrame() const { return MatMat(EulerToMatrix(S->refAtt), EulerToMatrix(S->relAtt)); }
};

// Angle between two vectors, degrees.
inline double AngleDeg(const VECTOR3 &a, const VECTOR3 &b) {
    const double c = dotp(a, b) / (length(a) * length(b));
    return std::acos(c > 1 ? 1 : (c < -1 ? -1 : c)) / RAD;
}

// The vessel's axis k (0 x, 1 y, 2 z) in global coordinates.
inline VECTOR3 Axis(const ::Vessel *hv, int k) { return _V(hv->R.data[k], hv->R.data[3 + k], hv->R.data[6 + k]); }

}  // namespace ctltest

#endif  // TESSARC_TESTS_CONTROL_FLIGHT_RIG_H
