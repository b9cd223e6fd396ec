// The simulated host's world: bodies, bases, vessel classes, vessels and time.
// Everything in sim/ shares these structures; the host API functions in host/
// are implemented on top of them. One World is current at a time (sim::world()).
#ifndef TESSARC_SIM_WORLD_H
#define TESSARC_SIM_WORLD_H

#include <memory>
#include <string>
#include <vector>

#include "Orbitersdk.h"

class Instrument_User;

namespace sim {

// Every object the host hands out a handle for starts with its type, so a handle
// can be checked (oapiGetObjectType) before it is used.
struct Object {
    int objType = OBJTP_INVALID;  // OBJTP_STAR, OBJTP_PLANET, OBJTP_VESSEL, OBJTP_SURFBASE
    std::string name;
    bool alive = true;
};

struct Pad {
    double lng = 0, lat = 0;  // rad
};

struct Body;

struct Base : Object {
    Body *planet = nullptr;
    double lng = 0, lat = 0;  // rad
    std::vector<Pad> pads;
};

// A body's terrain: elevation above mean radius as a sum of smooth bumps, so
// slopes and heights are deterministic and cheap.
struct TerrainBump {
    double lng = 0, lat = 0;  // centre, rad
    double radius = 0;        // angular radius, rad
    double height = 0;        // m, at the centre (may be negative)
};

struct Body : Object {
    double mass = 0;            // kg
    double radius = 0;          // m, mean radius
    double rotPeriod = 0;       // s, sidereal; 0 = not rotating
    double obliquity = 0;       // rad, axis tilt from the ecliptic zenith
    double theta = 0;           // rad, longitude of the ascending node of the equator
    double rotOffset = 0;       // rad, rotation angle at MJD epoch (simt 0)
    std::vector<double> jcoeff; // J2, J3, ...
    Body *parent = nullptr;     // body this one orbits (null: fixed at its position)
    VECTOR3 pos{}, vel{};       // global state, m and m/s
    std::vector<TerrainBump> terrain;
    std::vector<std::unique_ptr<Base>> bases;

    double mu() const { return mass * GGRAV; }
    double currentRotation(double simt) const;  // rad, 0..2pi
    MATRIX3 obliquityMatrix() const;
    MATRIX3 rotationMatrix(double simt) const;  // planet frame -> global
    double elevation(double lng, double lat) const;
};

struct ThrusterSpec {
    VECTOR3 pos{};     // vessel frame, m
    VECTOR3 dir{};     // unit thrust direction, vessel frame
    double maxThrust = 0;  // N
    double isp = 0;        // m/s
    int tank = 0;          // index into the class's tanks; -1 none
};

struct DockSpec {
    VECTOR3 pos{}, dir{}, rot{};
};

struct VesselClass {
    std::string name;
    double emptyMass = 0;              // kg
    VECTOR3 pmi{};                     // m^2, principal moments per unit mass
    double size = 0;                   // m, mean radius
    std::vector<double> tankMax;       // kg per tank
    std::vector<ThrusterSpec> thrusters;
    std::vector<int> groups[15];       // thruster indices per THGROUP_TYPE 0..14
    std::vector<DockSpec> docks;
    std::vector<VECTOR3> touchdown;    // touchdown points, vessel frame (at least three)
    bool hasTransponder = false;
    int navCount = 2;
};

struct Vessel;

struct DockPort {
    Vessel *owner = nullptr;
    int index = 0;
    Vessel *docked = nullptr;  // the other vessel, or null
    int otherPort = -1;
};

struct Thruster {
    Vessel *owner = nullptr;
    int index = 0;
    double level = 0;  // 0..1
};

struct NavRadio : Object {
    int type = TRANSMITTER_NONE;
    DWORD channel = 0;
    Vessel *vessel = nullptr;
    int dock = -1;
};

}  // namespace sim

// The host's vessel object; its handle is its address.
class Vessel : public sim::Object {
public:
    const sim::VesselClass *cls = nullptr;
    VESSEL *iface = nullptr;   // the interface handed to modules (owned)

    // Free flight state, global frame
    VECTOR3 pos{}, vel{};
    MATRIX3 R = identity();    // local -> global
    VECTOR3 omega{};           // rad/s, vessel axes
    std::vector<double> tankMass;
    std::vector<sim::Thruster> thrusters;
    std::vector<sim::DockPort> ports;
    sim::Body *gravityRef = nullptr;
    bool nonspherical = true;
    double isp = 5e4;          // default Isp for new thrusters
    int attitudeMode = RCS_ROT;
    double wheelbrake[3] = {0, 0, 0};

    // Landed state: fixed on the planet's surface, turning with it
    bool landed = false;
    sim::Body *landedOn = nullptr;
    double landLng = 0, landLat = 0, landHdg = 0;

    // Navigation radios
    std::vector<DWORD> navChannel;
    sim::NavRadio transponder;
    std::vector<sim::NavRadio> ids;  // one per docking port

    double mass() const;  // empty mass + propellant
};

namespace sim {

struct World {
    // Time
    double simt = 0;        // s since start
    double simdt = 0;       // last frame's step, s
    double mjd0 = 51544.5;  // MJD at simt 0
    double syst = 0;        // s of "wall-clock" time since start
    double frameDt = 0.05;  // nominal frame interval, s
    double warp = 1;        // time acceleration
    double maxSubstep = 0.05;  // physics sub-step bound, s
    int hostVersion = 160828;  // what oapiGetOrbiterVersion reports
    char debugLine[256] = {0};

    std::vector<std::unique_ptr<Body>> bodies;
    std::vector<std::unique_ptr<VesselClass>> classes;
    std::vector<std::unique_ptr<Vessel>> vessels;  // deleted vessels stay, marked !alive
    Vessel *focus = nullptr;

    double mjd() const { return mjd0 + simt / 86400.0; }

    Body *findBody(const std::string &name) const;           // case-insensitive
    const VesselClass *findClass(const std::string &name) const;
    Vessel *findVessel(const std::string &name) const;       // case-insensitive, alive only
    Object *findObject(const std::string &name) const;       // bodies and vessels
    bool isObject(const void *h) const;                       // live handle of this world
};

// The current world (the host API functions act on it).
World &world();
void setWorld(World *w);  // null restores the default empty world

// Configuration (config/*.cfg). Return false with a message in err on failure.
bool loadSystem(World &w, const std::string &path, std::string &err);
bool loadClass(World &w, const std::string &path, std::string &err);
bool loadClassDir(World &w, const std::string &dir, std::string &err);

// Vessels
Vessel *addVessel(World &w, const std::string &name, const VesselClass *cls);
void setOrbitState(Vessel &v, Body *ref, const VECTOR3 &rpos, const VECTOR3 &rvel, const VECTOR3 &arot,
                   const VECTOR3 &vrot);
void setLandedState(Vessel &v, Body *planet, double lng, double lat, double hdg);
void deleteVessel(World &w, Vessel *v);  // marks it dead; the host layer tells modules first

// Physics: advance the world by dt seconds of simulation time (sub-stepped).
void advance(World &w, double dt);

}  // namespace sim

#endif  // TESSARC_SIM_WORLD_H
