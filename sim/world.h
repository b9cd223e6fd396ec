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
struct World;

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

// A body's own motion: fixed at `pos`, or a Kepler orbit about `parent` with
// the elements given in the parent's ecliptic-aligned frame at epoch `epochMjd`
// (gravitational parameter of the pair: both masses).
struct BodyOrbit {
    ELEMENTS el{};          // a, e, i, node, longitude of periapsis, mean longitude at the epoch
    double epochMjd = 51544.5;
    // The Moon about the Earth: its place from the lunar theory instead of the
    // elements (which still give the orbit's size for the sphere of influence).
    bool lunarTheory = false;
};

// Where a body's equator stands at a date: its node and tilt on the ecliptic, and
// what the precession of the axis adds to the rotation angle.
struct Equator {
    double theta = 0;      // rad, longitude of the equator's ascending node
    double obliquity = 0;  // rad
    double rotShift = 0;   // rad, added to the sidereal rotation angle
};

// A body's air: an exponential atmosphere at rest in the body's own turning frame.
// Density and pressure fall with one scale height from their values at the mean
// radius; the temperature is taken as uniform; there is no air above `top`.
struct Atmosphere {
    bool present = false;
    double pressure0 = 0;    // Pa at the mean radius
    double density0 = 0;     // kg/m^3 at the mean radius
    double temperature = 0;  // K
    double scaleHeight = 0;  // m
    double top = 0;          // m above the mean radius
};

struct Body : Object {
    World *world = nullptr;     // the world that owns the body
    double mass = 0;            // kg
    double radius = 0;          // m, mean radius
    double rotPeriod = 0;       // s, sidereal; 0 = not rotating
    double obliquity = 0;       // rad, axis tilt from the ecliptic zenith
    double theta = 0;           // rad, longitude of the ascending node of the equator
    double rotOffset = 0;       // rad, rotation angle at MJD rotEpochMjd
    double rotEpochMjd = 51544.5;
    // Precession: the equator (obliquity, theta at rotEpochMjd) is tilted against
    // a reference plane (precObliquity, node precLan on the ecliptic) and its node
    // on that plane turns once per precPeriod days (0: no precession).
    double precLan = 0, precObliquity = 0;  // rad
    double precPeriod = 0;                  // days, negative: the node regresses
    std::vector<double> jcoeff; // J2, J3, ...
    Body *parent = nullptr;     // body this one orbits (null: fixed at its position)
    BodyOrbit orbit;            // used when parent is set
    VECTOR3 pos{}, vel{};       // global state, m and m/s, at stateMjd
    double stateMjd = -1e300;   // MJD of pos/vel (updateBodies refreshes it)
    double soi = 1e300;         // m, radius of the sphere where this body is the gravity reference
    std::vector<TerrainBump> terrain;
    Atmosphere atm;
    std::vector<std::unique_ptr<Base>> bases;

    double mu() const { return mass * GGRAV; }
    // Rotation angle (rad, 0..2pi) at simulation time simt of the owning world
    // (the world's MJD at simt 0 fixes the absolute date).
    double currentRotation(double simt) const;
    double rotationRate() const;  // rad/s, 2 pi / period (0 when not rotating)
    Equator equator(double mjd) const;  // the equator's place at an MJD
    MATRIX3 obliquityMatrix() const;    // at the owning world's current date
    MATRIX3 rotationMatrix(double simt) const;  // planet frame -> global
    double elevation(double lng, double lat) const;  // m above the mean radius
    double maxElevation() const;                      // m, bound of elevation()
    // Velocity (global axes) of the point fixed on the body at relative position r (global axes).
    VECTOR3 surfaceVelocity(const VECTOR3 &r, double simt) const;
};

struct ThrusterSpec {
    std::string name;  // as named in the class file
    VECTOR3 pos{};     // vessel frame, m
    VECTOR3 dir{};     // unit thrust direction, vessel frame
    double maxThrust = 0;  // N
    double isp = 0;        // m/s, in vacuum
    // Isp at the ambient pressure pRef (0: the same in any air). Thrust and Isp
    // then fall together with the ambient pressure; the propellant flow stays.
    double ispRef = 0;     // m/s
    double pRef = 0;       // Pa
    int tank = 0;          // index into the class's tanks; -1 none
};

// A class's aerodynamics. Drag: per vessel axis, the drag coefficient times its
// reference area, acting on that axis's component of the airflow. Lift (winged
// classes): in the vessel's plane of symmetry (y-z), across the airflow, with a
// coefficient that grows with the angle of attack up to the stall and drops there.
struct AeroSpec {
    VECTOR3 dragArea{};     // m^2: Cd x A along x, y and z
    double liftArea = 0;    // m^2, 0: no lift
    double liftSlope = 0;   // lift coefficient per rad of angle of attack
    double stallAoa = 0;    // rad
};

// One sphere of a class's contact hull, in the vessel's axes.
struct HullSphere {
    VECTOR3 pos{};      // m
    double radius = 0;  // m
};

struct DockSpec {
    VECTOR3 pos{}, dir{}, rot{};
    DWORD idsChannel = 0;  // channel of the port's IDS transmitter
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
    std::vector<HullSphere> hull;      // contact hull (HULL lines); none: the SIZE sphere
    std::vector<VECTOR3> touchdown;    // touchdown points, vessel frame (at least three)
    AeroSpec aero;
    bool hasTransponder = false;
    DWORD xpdrChannel = 0;
    int navCount = 2;
    // Derived from the touchdown points by the loader: the unit normal of their
    // plane (pointing from the ground to the CoG) and the CoG height above it.
    VECTOR3 tdNormal{0, 1, 0};
    double cogElev = 0;
};

// Called by the loader (and by code that builds classes by hand) after the
// touchdown points are set: fills tdNormal and cogElev.
void deriveTouchdownPlane(VesselClass &c);

// The host's vessel object (class Vessel, below) lives outside this namespace,
// as the host API declares it.

struct DockPort {
    Vessel *owner = nullptr;
    int index = 0;
    Vessel *docked = nullptr;  // the other vessel, or null
    int otherPort = -1;
    // The port it was last docked to: it cannot capture that one again until
    // they have drawn apart (so an undocked pair does not dock at once again).
    Vessel *lastDocked = nullptr;
    int lastPort = -1;
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
    Vessel() = default;
    Vessel(const Vessel &) = delete;
    Vessel &operator=(const Vessel &) = delete;
    ~Vessel();

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
    sim::Body *surfaceRef = nullptr;  // planet whose surface is closest
    bool nonspherical = false;  // the bodies' J terms pull it (the world's setting when made)
    double isp = 5e4;          // default Isp for new thrusters
    int attitudeMode = RCS_ROT;
    double wheelbrake[3] = {0, 0, 0};

    // Landed state: fixed on the planet's surface, turning with it
    bool landed = false;
    sim::Body *landedOn = nullptr;
    double landLng = 0, landLat = 0, landHdg = 0;
    VECTOR3 landPos{};             // CoG in the planet frame, m
    MATRIX3 landRot = identity();  // vessel axes -> planet frame
    // The last touchdown: surface-relative speeds at first contact, m/s
    // (vertical: negative descending), and the simulation time it happened.
    bool touchedDown = false;
    double touchdownVs = 0, touchdownHs = 0, touchdownSimt = 0;

    // Docked stacks move as one rigid body, integrated by their leader; a
    // follower keeps its rotation (own axes -> leader axes) and CoG offset (leader
    // axes) relative to the leader.
    Vessel *dockLeader = nullptr;
    MATRIX3 dockRel = identity();
    VECTOR3 dockOff{};

    // Docking capture, one other vessel checked a step: the next one to check,
    // and the port pair marked closing within the capture radius (own port, the
    // other's port, their distance and the separation along the other's port
    // axis at the last check, m).
    size_t dockCheckNext = 0;
    Vessel *dockMarked = nullptr;
    int markedPort = -1, markedOther = -1;
    double markedDist = 0, markedAxial = 0;

    // Navigation radios
    std::vector<DWORD> navChannel;
    sim::NavRadio transponder;
    std::vector<sim::NavRadio> ids;  // one per docking port

    double mass() const;  // empty mass + propellant
    double propellantMass() const;
};

namespace sim {

// The first host version with a terrain model (the 2016 generation).
const int kFirstTerrainHostVersion = 160000;

// Two vessels' hulls that came to overlap (sim/collision.h).
struct Collision {
    double simt = 0;            // s
    std::string a, b;           // the two vessels' names
    double closingSpeed = 0;    // m/s along the line between the touching spheres
    VECTOR3 whereA{}, whereB{}; // the point of contact in a's and in b's axes, m
};

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
    // The host's non-spherical gravity option: vessels made from now on feel the
    // bodies' J terms. Off, as the host's launch settings have it by default.
    bool nonsphericalGravity = false;
    char debugLine[256] = {0};
    int hudMode = HUD_NONE;    // what oapiSetHUDMode last set
    HUDPARAM hudParam{};
    // Docking: two free ports closer than this (m) are marked, and dock once
    // they stop closing; no test of alignment or speed, as in the host.
    double dockRadius = 0.5;
    // Every collision so far, and the pairs whose hulls overlap now (one record
    // per contact, not per sub-step).
    std::vector<Collision> collisions;
    std::vector<std::pair<const Vessel *, const Vessel *>> touching;

    std::vector<std::unique_ptr<Body>> bodies;
    std::vector<std::unique_ptr<VesselClass>> classes;
    std::vector<std::unique_ptr<Vessel>> vessels;  // deleted vessels stay, marked !alive
    Vessel *focus = nullptr;

    World() = default;
    World(const World &) = delete;
    World &operator=(const World &) = delete;
    ~World();

    double mjd() const { return mjd0 + simt / 86400.0; }

    Body *findBody(const std::string &name) const;           // case-insensitive
    const VesselClass *findClass(const std::string &name) const;
    Vessel *findVessel(const std::string &name) const;       // case-insensitive, alive only
    Object *findObject(const std::string &name) const;       // bodies and vessels
    bool isObject(const void *h) const;                       // live handle of this world
    Vessel *vesselOf(const void *h) const;  // the live vessel behind a handle, or null
    // Handle lookups, which every host call makes: the vessel found last (a
    // module's step asks about its own vessel many times in a row; vessels are
    // never freed while the world lives), and every vessel sorted by address
    // (addVessel keeps it), so that a body's handle is not sought through them all.
    mutable Vessel *lastVesselOf = nullptr;
    std::vector<Vessel *> vesselsByAddress;
    Body *bodyOf(const void *h) const;      // the body behind a handle, or null
    Base *baseOf(const void *h) const;      // the surface base behind a handle, or null
};

// Time acceleration within the host's bounds [0.1, 100000].
void setWarp(World &w, double warp);
// Set the date; the bodies move to it.
void setMjd(World &w, double mjd);
// Move every body to the world's current MJD (cheap when nothing changed).
void updateBodies(World &w);

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
// Landed vessels rest with their touchdown plane on the local horizon: the
// rotation from vessel axes to the planet frame at (lng, lat) with heading hdg.
void landedFrame(const VesselClass &c, double lng, double lat, double hdg, MATRIX3 &rot);
// A landed vessel's global state at simt from its planet-frame state.
void syncLanded(Vessel &v, double simt);

// Physics: advance the world by dt seconds of simulation time (sub-stepped).
// Also advances simt and sets simdt.
void advance(World &w, double dt);

// Dominant gravity body at a global position (sphere of influence).
Body *gravityReference(const World &w, const VECTOR3 &gpos);
// Planet whose surface is closest to a global position.
Body *surfaceReference(const World &w, const VECTOR3 &gpos);
// A moving body's position and velocity relative to its parent at an MJD (m, m/s).
void orbitState(const Body &b, double mjd, VECTOR3 &rpos, VECTOR3 &rvel);
// Gravitational acceleration at a global position (the frame of the fixed
// bodies: moving bodies enter with their differential term): every body's point
// mass, and with `nonspherical` the zonal J terms of the bodies that have them.
VECTOR3 gravityAccel(const World &w, const VECTOR3 &gpos, bool nonspherical);
// Height of the lowest touchdown point above the terrain (m); large when far away.
double touchdownHeight(const Vessel &v);

}  // namespace sim

#endif  // TESSARC_SIM_WORLD_H
