// The Windows test host: a minimal orbiter.exe that loads a TessarcMFD module and
// drives it. One planet, one vessel with thrusters, one MFD display, a drawing
// surface that records what is drawn, and scenario lines kept in memory. Built
// against the host's own SDK headers, so every function it defines is exported
// under the name and signature the module imports.
#ifndef TESSARC_WIN_HOST_H
#define TESSARC_WIN_HOST_H

#include "Orbitersdk.h"
#include "host_facts.h"

namespace host {

// Thrusters of the test vessel: main engine, one per rotation group, one per
// translation group (groups 3 to 14 in the host's numbering).
const int kThrusterCount = 13;
// The MFD display, pixels: the real host's glass cockpit.
const int kDisplayWidth = facts::kGlassDisplayWidth;
const int kDisplayHeight = facts::kGlassDisplayHeight;
// Lines of one MFD scenario block the host keeps.
const int kScenarioLineMax = 64;
// Characters of one scenario line the host keeps (the host's own limit).
const int kScenarioLineLength = 256;
// Characters of drawn text kept per frame.
const int kFrameTextLength = 8192;
// Characters of the frame's call log kept (one line per drawing call).
const int kFrameCallsLength = 65536;

// A celestial body or vessel; OBJHANDLE points at one.
struct Object {
    int type;          // OBJTP_PLANET or OBJTP_VESSEL
    char name[32];     // the object's name
    VECTOR3 pos;       // global position, m
    VECTOR3 vel;       // global velocity, m/s
    double mass;       // kg
    double size;       // mean radius, m
};

struct Thruster {
    VECTOR3 ref;       // position in vessel axes, m
    VECTOR3 dir;       // unit thrust direction in vessel axes
    double maxThrust;  // N
    double isp;        // m/s
    int group;         // THGROUP_TYPE it belongs to
    double level;      // current level 0..1
};

// What the module did to the world; checked by the test steps.
struct Record {
    int initLibCalls;        // InitLib calls
    HINSTANCE initLibHandle; // the handle InitLib was given
    int modesRegistered;     // oapiRegisterMFDMode calls
    int modesUnregistered;   // oapiUnregisterMFDMode calls
    MFDMODESPECEX mode;      // the registered mode's record
    int thrusterSets;        // SetThrusterLevel and SetThrusterGroupLevel calls
    int buttonRefreshes;     // MFD::InvalidateButtons calls
    int pensAlive;           // pens created and not released
    int brushesAlive;        // brushes created and not released
    int fontsAlive;          // fonts created and not released
    int drawingsCreated;     // pens and brushes created
    char scenario[kScenarioLineMax][kScenarioLineLength];  // written lines
    int scenarioLines;       // lines in scenario
    int scenarioRead;        // lines handed back by oapiReadScenario_nextline
    int scenarioReadLimit;   // lines there are to hand back
};

extern Object earth;
extern Object probe;
extern Thruster thrusters[kThrusterCount];
extern VECTOR3 probeAttitude;  // the vessel's angle triple, rad
extern VECTOR3 probeSpin;      // angular velocity in vessel axes, rad/s
extern double simTime;         // s
extern double frameStep;       // s of simulation and system time per frame
extern Record record;

// The vessel's interface, as oapiGetVesselInterface returns it.
VESSEL *ProbeInterface();

// The rotation matrix of an angle triple, as GetGlobalOrientation defines it.
MATRIX3 RotationOf(const VECTOR3 &angles);

// The highest level any thruster holds now.
double HighestThrusterLevel();

}  // namespace host

#endif  // TESSARC_WIN_HOST_H
