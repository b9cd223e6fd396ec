// Host API: the VESSEL interface (the subset the plug-in calls).
#ifndef __VESSELAPI_H
#define __VESSELAPI_H

#include "OrbiterAPI.h"

// The host's own vessel object, behind the interface.
class Vessel;

typedef struct {
    VECTOR3 pos;
    double stiffness, damping, mu, mu_lng;
} TOUCHDOWNVTX;

// The real SDK's headers see windows.h rename GetClassName to GetClassNameA;
// reproduce that so both spellings reach the same method.
#ifndef _WIN32
#ifndef GetClassName
#define GetClassName GetClassNameA
#endif
#endif

// The SDK declares some handle results const; keep its signatures.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
#endif

class OAPIFUNC VESSEL {
public:
    VESSEL(OBJHANDLE hVessel, int fmodel = 1);
    ~VESSEL();

    // Identity and references
    char *GetName() const;
    char *GetClassName() const;
    const OBJHANDLE GetHandle() const;
    const OBJHANDLE GetGravityRef() const;
    const OBJHANDLE GetSurfaceRef() const;
    bool NonsphericalGravityEnabled() const;

    // Orientation, state and motion
    void GetGlobalOrientation(VECTOR3 &arot) const;
    void SetGlobalOrientation(const VECTOR3 &arot) const;
    void GetGlobalPos(VECTOR3 &pos) const;
    void GetGlobalVel(VECTOR3 &vel) const;
    void GetRelativePos(OBJHANDLE hRef, VECTOR3 &pos) const;
    void GetRelativeVel(OBJHANDLE hRef, VECTOR3 &vel) const;
    void GetRotationMatrix(MATRIX3 &R) const;
    void SetRotationMatrix(const MATRIX3 &R) const;
    void GetAngularVel(VECTOR3 &avel) const;
    void SetAngularVel(const VECTOR3 &avel) const;
    DWORD GetFlightStatus() const;
    void GetStatusEx(void *status) const;
    void DefSetStateEx(const void *status) const;

    // Orbital elements and surface position
    OBJHANDLE GetElements(ELEMENTS &el, double &mjd_ref) const;
    bool GetElements(OBJHANDLE hRef, ELEMENTS &el, ORBITPARAM *prm = 0, double mjd_ref = 0,
                     int frame = FRAME_ECL) const;
    OBJHANDLE GetEquPos(double &longitude, double &latitude, double &radius) const;
    double GetAltitude() const;
    double GetCOG_elev() const;
    bool GroundContact() const;
    double GetPitch() const;
    double GetBank() const;
    double GetYaw() const;

    // Mass, inertia and frame transforms
    double GetMass() const;
    double GetEmptyMass() const;
    double GetSize() const;
    void GetPMI(VECTOR3 &pmi) const;
    bool GetSuperstructureCG(VECTOR3 &cg) const;
    void Local2Global(const VECTOR3 &local, VECTOR3 &global) const;
    void Global2Local(const VECTOR3 &global, VECTOR3 &local) const;
    void GlobalRot(const VECTOR3 &rloc, VECTOR3 &rglob) const;
    void HorizonRot(const VECTOR3 &rloc, VECTOR3 &rhorizon) const;
    void HorizonInvRot(const VECTOR3 &rhorizon, VECTOR3 &rloc) const;

    // Air data and forces
    bool GetShipAirspeedVector(VECTOR3 &v) const;
    bool GetAirspeedVector(REFFRAME frame, VECTOR3 &v) const;
    double GetAirspeed() const;
    double GetGroundspeed() const;
    bool GetDragVector(VECTOR3 &D) const;
    bool GetLiftVector(VECTOR3 &L) const;
    double GetAtmTemperature() const;
    double GetAtmDensity() const;
    double GetAtmPressure() const;
    double GetDynPressure() const;

    // Thrusters and thruster groups
    DWORD GetThrusterCount() const;
    THRUSTER_HANDLE GetThrusterHandleByIndex(DWORD idx) const;
    THGROUP_HANDLE GetThrusterGroupHandle(THGROUP_TYPE thgt) const;
    DWORD GetGroupThrusterCount(THGROUP_HANDLE thg) const;
    DWORD GetGroupThrusterCount(THGROUP_TYPE thgt) const;
    THRUSTER_HANDLE GetGroupThruster(THGROUP_HANDLE thg, DWORD idx) const;
    THRUSTER_HANDLE GetGroupThruster(THGROUP_TYPE thgt, DWORD idx) const;
    double GetThrusterMax0(THRUSTER_HANDLE th) const;
    double GetThrusterMax(THRUSTER_HANDLE th) const;
    double GetThrusterMax(THRUSTER_HANDLE th, double p_ref) const;
    void GetThrusterRef(THRUSTER_HANDLE th, VECTOR3 &pos) const;
    void GetThrusterDir(THRUSTER_HANDLE th, VECTOR3 &dir) const;
    double GetThrusterIsp0(THRUSTER_HANDLE th) const;
    double GetThrusterIsp(THRUSTER_HANDLE th) const;
    double GetThrusterIsp(THRUSTER_HANDLE th, double p_ref) const;
    double GetThrusterLevel(THRUSTER_HANDLE th) const;
    void SetThrusterLevel(THRUSTER_HANDLE th, double level) const;
    void SetThrusterGroupLevel(THGROUP_HANDLE thg, double level) const;
    void SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const;
    double GetThrusterGroupLevel(THGROUP_HANDLE thg) const;
    double GetThrusterGroupLevel(THGROUP_TYPE thgt) const;
    PROPELLANT_HANDLE GetThrusterResource(THRUSTER_HANDLE th) const;
    double GetISP() const;
    void SetISP(double isp) const;

    // Reaction control
    int GetAttitudeMode() const;
    bool SetAttitudeMode(int mode) const;
    void GetAttitudeRotLevel(VECTOR3 &th) const;
    void SetAttitudeRotLevel(const VECTOR3 &th) const;
    void SetAttitudeRotLevel(int axis, double th) const;
    void GetAttitudeLinLevel(VECTOR3 &th) const;
    void SetAttitudeLinLevel(const VECTOR3 &th) const;
    void SetAttitudeLinLevel(int axis, double th) const;

    // Wheel brakes and propellant
    void SetWheelbrakeLevel(double level, int which = 0, bool permanent = true) const;
    double GetWheelbrakeLevel(int which) const;
    double GetFuelMass() const;
    double GetMaxFuelMass() const;
    double GetTotalPropellantMass() const;
    DWORD GetPropellantCount() const;
    PROPELLANT_HANDLE GetPropellantHandleByIndex(DWORD idx) const;
    double GetPropellantMass(PROPELLANT_HANDLE ph) const;
    double GetPropellantMaxMass(PROPELLANT_HANDLE ph) const;

    // Docking ports
    UINT DockCount() const;
    UINT DockingStatus(UINT port) const;
    DOCKHANDLE GetDockHandle(UINT n) const;
    OBJHANDLE GetDockStatus(DOCKHANDLE hDock) const;
    void GetDockParams(DOCKHANDLE hDock, VECTOR3 &pos, VECTOR3 &dir, VECTOR3 &rot) const;
    bool Undock(UINT n, const OBJHANDLE exclude = 0) const;

    // Navigation radios and transmitters
    NAVHANDLE GetIDS(DOCKHANDLE hDock) const;
    NAVHANDLE GetTransponder() const;
    DWORD GetNavCount() const;
    bool SetNavChannel(DWORD n, DWORD ch) const;
    DWORD GetNavChannel(DWORD n) const;
    NAVHANDLE GetNavSource(DWORD n) const;

protected:
    Vessel *vessel;
    short flightmodel;
    short version;
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#endif  // __VESSELAPI_H
