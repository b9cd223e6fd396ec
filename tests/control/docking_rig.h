// Docking flights: a ShuttlePB and a ProjectAlpha_ISS station in one orbit, the
// Docking mode set up with the pilot's keys and typed text, and measures of the
// ports taken from the simulator itself.
#ifndef TESSARC_TESTS_CONTROL_DOCKING_RIG_H
#define TESSARC_TESTS_CONTROL_DOCKING_RIG_H

#include <string>

#include "flight_rig.h"
#include "ship_classes.h"

namespace ctltest {

struct DockRig : Rig {
    ::Vessel *stn = nullptr;

    // The station at the orbit's reference point (axes = global axes, its port 1
    // looking along the orbital velocity) spinning at stationVrotDeg (deg/s), the
    // ship at `offset` (global) moving `dv` against it.
    bool StartPair(VECTOR3 offset, VECTOR3 shipArotDeg, VECTOR3 dv = _V(0, 0, 0),
                   VECTOR3 stationVrotDeg = _V(0, 0, 0)) {
        const std::string ships =
            OrbitingShip("ISS", kStationShip, _V(0, 0, 0), stationVrotDeg) +
            OrbitingShip("SH", kPlainShip, shipArotDeg, _V(0, 0, 0), offset, dv);
        if (!Start(ScenarioText("SH", ships), "SH", 0.1)) return false;
        stn = f.vessel("ISS");
        f.run(1.0);  // past start-up
        return stn != nullptr;
    }

    // Docking mode from the mode-selection page, the station as target.
    bool SelectDockingOnStation() {
        return S->modePage && f.key(0, "4") && S->refMode == AP_DOCKING && f.key(0, "T") && f.type(0, "ISS") &&
               S->targetRef == f.handle("ISS");
    }
    // The ports through their dialogs (L own, D target) and the hold point (X).
    bool SetPorts(int own, int target) {
        return f.key(0, "L") && f.type(0, std::to_string(own)) && f.key(0, "D") && f.type(0, std::to_string(target));
    }
    bool SetDistance(const std::string &text) { return f.key(0, "X") && f.type(0, text); }

    // Port n of a vessel in global coordinates: position, direction, up vector.
    static VECTOR3 PortPos(const ::Vessel *v, int n) { return v->pos + mul(v->R, v->cls->docks[n].pos); }
    static VECTOR3 PortDir(const ::Vessel *v, int n) { return mul(v->R, v->cls->docks[n].dir); }
    static VECTOR3 PortUp(const ::Vessel *v, int n) { return mul(v->R, v->cls->docks[n].rot); }

    // The ship's port 0 against the station's port `tp`, `out` metres out on its axis.
    VECTOR3 PortMiss(int tp, double out) const {
        return PortPos(hv, 0) - (PortPos(stn, tp) + PortDir(stn, tp) * out);
    }
    // Angle between the two ports' approach directions (180 when facing) and
    // between their up vectors (0 when aligned), degrees.
    double FacingDeg(int tp) const { return AngleDeg(PortDir(hv, 0), PortDir(stn, tp)); }
    double UpDeg(int tp) const { return AngleDeg(PortUp(hv, 0), PortUp(stn, tp)); }
    bool Docked() const { return hv->ports[0].docked == stn; }
};

}  // namespace ctltest

#endif  // TESSARC_TESTS_CONTROL_DOCKING_RIG_H
