// The per-(vessel, MFD position) autopilot record, the vessel registry that owns
// those records, and the module-wide globals of the plug-in frame.
#ifndef TESSARC_FRAME_STATE_H
#define TESSARC_FRAME_STATE_H

#include <cstddef>
#include <cstdint>

#include "Orbitersdk.h"
#include "control/profile.h"
#include "display/textgrid.h"

// Number of vessel slots and of MFD positions.
const int kMaxSlots = 32;
const int kMaxPositions = 32;
// Every slot taken.
const uint32_t kAllSlots = 0xFFFFFFFFu;
// Bytes of a vessel name as the registry keeps it: the longest name a scenario
// gives a vessel (255 characters) and its NUL.
const size_t kVesselNameSize = 256;

// Mode held in MfdState::refMode.
enum ApMode {
    AP_VELOCITY = 0,
    AP_RELATIVE = 1,
    AP_ATTITUDE = 2,
    AP_DOCKING = 3,
    AP_LANDING = 4,
    AP_DIRECT_BURN = 5,
    AP_ASCENT = 6
};

// transAxes value meaning "no translation hold".
const int32_t kTransAxesNone = 7;

// Bits of VesselRecord::modeMask beyond the translation-hold axis codes 0..6.
const uint32_t kModeBitHold = 1u << 7;
const uint32_t kModeBitBurn = 1u << 8;

// Settings a mode keeps while another mode is selected.
struct RefSlot {
    VECTOR3 refAtt;
    VECTOR3 relAtt;
    OBJHANDLE target;
    char targetName[100];
};

struct MfdState {
    // --- identity and references
    int32_t position;            // MFD position 0..31 (changed by a position swap)
    double stepDt;               // s between the previous and the current step
    OBJHANDLE vesselHandle;
    const char *vesselName;      // held in the VesselRecord
    OBJHANDLE bodyRef;           // reference body
    char bodyRefName[100];
    OBJHANDLE targetRef;         // vessel, surface base or body
    char targetRefName[100];
    int32_t nonspherical;        // host non-spherical gravity setting, refreshed each step

    // --- landing setup and guidance
    int32_t padIndex;            // 1-based pad; 0 none; -1 manual location
    int32_t graphStyle;
    bool landingRecalc;
    int32_t landingPrecision;    // 0 FAR, 1 CLOSE, 2 ABOVE
    bool forceLand;
    bool landBrake;
    double cutoffAlt;            // m
    int32_t landingPhase;
    double brakeStartMjd;        // MJD
    double approachHeading;
    double refPointLat, refPointLon;
    double targetLat, targetLon;
    double elevation;            // m above the body's mean radius
    int32_t manualTarget;
    double landingCoefs[6];
    double landingConsts[6];
    double landingWork[20];
    bool invertRotation;
    bool useHover;

    // --- ascent and direct burn
    int32_t ascentMode;
    double ascentAngle;          // rad
    double ascentAlt;            // m
    double ascentPitch;          // rad
    bool transXSync;
    double burnMjd;              // MJD
    VECTOR3 burnDv;              // prograde, plane change, outward
    VECTOR3 burnDvLeft;          // m/s
    double burnData3[4];
    bool burnArmed;
    double ejectDateDiff;
    bool orbitInsert;

    // --- autopilot modes and attitude settings
    int32_t rollMode;            // 0 held, 1 rate nulled, 2 free
    int32_t refMode;             // ApMode
    bool modePage;
    bool holdOn;
    int32_t transAxes;           // 0 x, 1 y, 2 z, 3 xyz, 4 xy, 5 yz, 6 zx, 7 none
    int32_t ownPort;             // 1-based; 0 none
    int32_t targetPort;          // 1-based; 0 none
    VECTOR3 refAtt;
    VECTOR3 relAtt;
    bool showSetAttitude;
    bool targetSet;
    bool alignVelocityRequest;
    bool dockApOn;
    VECTOR3 dockXyz;             // m
    uint32_t vesselModeMask;
    uint32_t vesselPosMask;
    bool lockedOut;
    ThrusterProfile *profile;
    int32_t spinMode;            // 0 off, 1 fixed pitch rate, 2 twice the orbital rate
    int32_t eulerConvention;     // 0 or 2
    double attDeadband;          // rad
    bool debugLineSet;
    double debugLineUntil;       // system time
    int32_t sampleCount;         // 0..5
    VECTOR3 angles;
    VECTOR3 angleRates;
    VECTOR3 samples[5];          // rad/s, error rates of the last five steps
    VECTOR3 wantedRates[5];      // rad/s, the wanted frame's own rate at the last five steps
    int32_t wantedRateNext;      // 0..4, where the next of them goes
    bool warmUp;
    bool finalDescent;
    uint32_t landingFlags;
    uint32_t landingRefusal;     // landingFlags bits the landing autopilot let go for; shown until the pilot acts
    uint32_t enginesHeld;        // bit 1 << THGROUP_TYPE for each engine group the landing autopilot sets
    double landingParams[6];
    double landingDv;
    double passTime;             // -1 none
    double passHalfWidth;
    int32_t landingAttMode;
    double landingValues[7];
    VESSEL *vessel;
    double lastStepTime;         // s
    TextGrid grid;

    // --- step values (zero at creation)
    VECTOR3 globalOrientation;
    VECTOR3 attitudeAngles;
    VECTOR3 attErrorDelta;
    VECTOR3 errorRates;
    double frameNow[4];          // attitude error quaternion w, x, y, z
    double framePrev[4];
    double frameRates[4];
    VECTOR3 bodyRate;            // rad/s, the vessel's angular velocity at this step
    VECTOR3 globalPos;
    VECTOR3 relPos, relVel;
    VECTOR3 targetRelPos, targetRelVel;
    double targetRelSpeed;
    VECTOR3 dockPosErr, dockRelVel;
    RefSlot refSlot[4];
    MATRIX3 errorMatrix;
    uint32_t axisMask;           // x 1, y 2, z 4
    VECTOR3 rotCmd, linCmd;
    int32_t lastDockedCount;
    VECTOR3 prevPortPos;
    VECTOR3 landingAttW;         // unit, global: the down-range axis the landing's attitude follows; zero: none yet
    int32_t contactState;        // ContactState of the vessel at the last landing step
    double contactTime;          // s, simulation time of the last landing step
    double contactSink;          // m/s, the vessel's downward surface speed at the last landing step
    double contactSlide;         // m/s, its ground speed then
};

// A slot belongs to one vessel: the handle it was taken for, while that object
// still carries the name (a deleted vessel's handle may come back on another).
struct VesselRecord {
    char name[kVesselNameSize];  // the vessel's name as the host gives it, letter case counting
    bool stopAllRequest;
    uint32_t modeMask;           // engaged autopilots of all positions at the last pass
    uint32_t positionMask;       // positions with something engaged at the last pass
    MfdState *states[kMaxPositions];
    OBJHANDLE vesselHandle;      // the vessel the slot was taken for
};

// --- module globals (zero before InitModule)
extern int modeId;
extern bool moduleActive;
extern int liveMfdCount;
extern uint32_t pendingAttachMask;
extern uint32_t storedPositionMask;
extern double schedLastTime;
extern double schedNextTime;

// --- the vessel registry
extern uint32_t vesselSlotMask;
extern VesselRecord *vesselRecords[kMaxSlots];
extern ThrusterProfile *vesselProfiles[kMaxSlots];
extern OBJHANDLE positionVessel[kMaxPositions];
extern int positionIds[kMaxPositions];
extern int positionIdCursor;
extern int summaryCount;

// Bit of slot or position n in a 32-bit mask (n in 0..31).
inline uint32_t PositionBit(int n) { return (n >= 0 && n < 32) ? (1u << n) : 0u; }

// Sets every default of a state for the named vessel and runs one autopilot step.
// Leaves `position` alone: the creator sets it. A `vesselHandle` the creator set
// is kept while that vessel carries the name; otherwise the name finds the vessel.
void InitMfdState(MfdState *S, const char *vesselName, ThrusterProfile *profile);

// The vessel's slot, allocating one on first sight; -1 when the handle is not a
// vessel or all slots are taken.
int LookupVesselSlot(OBJHANDLE hVessel);
// The vessel's slot without allocating; -1 when it has none.
int FindVesselSlot(OBJHANDLE hVessel);
// Whether the object under the handle is a vessel carrying exactly the name (the
// host's name read into a registry name field).
bool VesselNamed(OBJHANDLE h, const char *name);
// The vessel carrying exactly this name (letter case counts), else the host's
// lookup by name; null when there is none.
OBJHANDLE VesselByExactName(const char *name);
// The host's name of an object cut to fit `size` (always terminated; empty for
// null). Names are remembered and compared through this one reading, so a long
// name is cut the same way each time and never looks like a different object.
void ObjectNameInto(OBJHANDLE obj, char *out, size_t size);
// Forgets the slot's record and profile; with markPositions, every position showing
// the vessel re-attaches to the focus vessel at its next redraw. Slot -1 is ignored.
void ReleaseVesselSlot(int slot, bool markPositions);
VesselRecord *RecordForSlot(int slot);
// The state of a position (outside 0..31 taken as 0), created on first use.
MfdState *StateAtPosition(VesselRecord *record, int slot, int position);
// Exchanges the states of two positions of one vessel; false if either is missing.
bool SwapPositions(VesselRecord *record, int a, int b);
// Maps a host MFD identifier to an MFD position 0..31.
int PositionForId(int id);
// The summary page's MFD swap: the vessel in summarySlot, positions a and b.
bool SwapMfdPositions(int summarySlot, int a, int b);
// The summary page's Release: refused for the focus vessel and for a vessel with
// anything engaged. True when the slot was released.
bool ReleaseSummaryVessel(int slot);
// The summary page's "Stop Hold & Trim": all autopilots of the vessel off at the next pass.
void StopAllAutopilots(int slot);
// One scheduler pass's work for one vessel.
void UpdateVessel(VesselRecord *record, double simt, double simdt, int slot);

// Module reset: globals cleared, all positions unmapped, all slots forgotten.
void ResetModule();
// The 0.1 s scheduler behind opcPostStep.
void SchedulerPostStep(double simt, double simdt);
// Frees every record, state and profile ever created. Only for module unload, once
// no MFD object can point at them any more.
void FreeRegistryStorage();

#endif  // TESSARC_FRAME_STATE_H
