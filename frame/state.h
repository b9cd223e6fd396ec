// The per-(vessel, MFD position) autopilot record: MfdState with the names of
// its modes, phases, flags and slots, and its initialiser. Data only; the
// registry that owns the records is frame/registry.h.
#ifndef TESSARC_FRAME_STATE_H
#define TESSARC_FRAME_STATE_H

#include <cstddef>
#include <cstdint>

#include "Orbitersdk.h"

struct ThrusterProfile;

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

// transAxes values: "no translation hold", and all three axes held.
const int32_t kTransAxesNone = 7;
const int32_t kTransAxesAll = 3;
// axisMask with all three axes held (x 1, y 2, z 4).
const uint32_t kAxisMaskAll = 7;

// Bits of VesselRecord::modeMask beyond the translation-hold axis codes 0..6.
const uint32_t kModeBitHold = 1u << 7;
const uint32_t kModeBitBurn = 1u << 8;

// Phases of MfdState::landingPhase.
// What the docking approach is flying now (the Docking page shows it).
enum DockLeg : int32_t {
    DOCK_LEG_NONE = 0,
    DOCK_LEG_HOLD = 1,      // straight to the hold point, the path being clear
    DOCK_LEG_AROUND = 2,    // around the target's keep-out zone towards the port's corridor
    DOCK_LEG_AXIS = 3,      // onto the corridor's mouth
    DOCK_LEG_CORRIDOR = 4,  // along the corridor
    DOCK_LEG_BACK_OUT = 5,  // out of the zone, having been found inside it
};

// How the landing's powered descent is flown: the planned braking, approach and
// final descent as they have always been flown, or at the engines' full usable
// thrust with the least delta-v to the gate and no avoidable hover.
enum LandingDescent : int32_t { DESCENT_SPECIFIED = 0, DESCENT_EFFICIENT = 1 };

enum LandingPhase {
    LANDING_WAIT = 0,
    LANDING_BRAKE = 1,
    LANDING_REPLAN = 2,
    LANDING_APPROACH = 3,
    LANDING_FINAL_START = 4,
    LANDING_FINAL = 5,
    LANDING_LANDED = 6,
    LANDING_NO_SOLUTION = 7,
    LANDING_BRAKE_NOW = 8,
    LANDING_TOUCHDOWN = 9
};

// Bits of MfdState::landingFlags.
const uint32_t kLandLockedOut = 1u << 0;
const uint32_t kLandNoBase = 1u << 1;
const uint32_t kLandCritical = 1u << 2;
// The attitude thrusters have no propellant left: the vessel cannot be turned.
const uint32_t kLandNoAttitudeFuel = 1u << 3;
const uint32_t kLandDetNegative = 1u << 4;
const uint32_t kLandBtNegative = 1u << 5;
const uint32_t kLandCollision = 1u << 6;
const uint32_t kLandTooLow = 1u << 7;
// The brake point is behind the vessel: it can no longer stop at the pass.
const uint32_t kLandTooLate = 1u << 8;
const uint32_t kLandTargetNotLanded = 1u << 9;
const uint32_t kLandTargetInvalid = 1u << 10;
const uint32_t kLandNoTarget = 1u << 11;
const uint32_t kLandStopping = 1u << 12;
const uint32_t kLandAlignment = 1u << 13;
const uint32_t kLandNoThrust = 1u << 14;
// The planned descent needs more propellant than the engine group's tank holds.
const uint32_t kLandNoFuel = 1u << 15;
const uint32_t kLandEccentricity = 1u << 16;
// The next pass over the target is more than one orbit period ahead.
const uint32_t kLandBeyondOrbit = 1u << 17;
// The landing in flight no longer fits the vessel's state or its target (a date
// moved under it, say), and no descent from the present state is within the
// engines' reach.
const uint32_t kLandOutOfReach = 1u << 18;
// The vessel met the ground faster than a touchdown allows.
const uint32_t kLandHardContact = 1u << 19;
// Let go near the ground: the pilot flies, the engines hold the vertical speed at
// zero until the pilot moves their throttle (MfdState::hoverLevel).
const uint32_t kLandPilotHover = 1u << 20;
// Sinking too fast this low: the engines cannot stop the fall above the ground.
const uint32_t kLandTooFastLow = 1u << 21;
// The target's elevation disagrees with the ground the host reports under the vessel.
const uint32_t kLandGroundDiffers = 1u << 22;
// The braking through air coasts: its engines are cut until a plan from here asks enough of them.
const uint32_t kLandCoasting = 1u << 23;
// Not engaged, on the ground or on a path into it: HOLD would land from here, so
// the plan of an orbit's pass (and its failures) means nothing yet.
const uint32_t kLandFromHere = 1u << 24;
// The braking in flight is the efficient descent's law (over air the standard
// braking ends at the same gate, so its end does not tell the two apart).
const uint32_t kLandLawBraking = 1u << 25;

// Slots of MfdState::landingWork: what the landing autopilot measured and planned
// at its last step, for the Landing page and the next step.
enum LandingWorkSlot {
    LW_ALONG = 0,           // m, along-track position, the target at 0
    LW_CLOSING = 1,         // m/s, closing speed along the track
    LW_HEIGHT = 2,          // m above the target
    LW_VSPEED = 3,          // m/s, vertical speed
    LW_CROSS = 4,           // m, cross-track offset
    LW_CROSS_RATE = 5,      // m/s, its rate
    LW_ACCEL_NEEDED = 6,    // m/s^2, the braking a start now would need ("areq")
    LW_ACCEL_TRIGGER = 7,   // m/s^2, the braking at which the burn starts ("trig")
    LW_ACCEL_LARGEST = 8,   // m/s^2, the largest the planned descent asks
    LW_ACCEL_MAX = 9,       // m/s^2, what the engine group gives
    LW_FIX_ALONG = 10,      // m/s^2, along-track correction toward the plan ("errZ")
    LW_FIX_HEIGHT = 11,     // m/s^2, vertical correction toward the plan ("errY")
    LW_GRAPH_T0 = 12,       // s, the plan's time at the graph's last rescale
    LW_GRAPH_KY = 13,       // the graph's height over the plan's start height
    LW_GRAPH_KX = 14,       // the graph's along-track over the plan's start position
    LW_GRAPH_LEFT = 15,     // m, along-track position at the graph's left edge
    LW_COMMAND_ALONG = 16,  // m/s^2, commanded acceleration along the track
    LW_COMMAND_UP = 17,     // m/s^2, commanded vertical acceleration
    LW_COMMAND_CROSS = 18,  // m/s^2, commanded cross-track acceleration
    LW_PASS_TIME = 19,      // s to the next closest passage over the target
    LANDING_WORK_SLOTS = 20
};

// Slots of MfdState::landingConsts: the planned descent's start values.
enum LandingConstSlot {
    LC_ACCEL = 0,     // m/s^2, along-track acceleration at the start
    LC_DURATION = 1,  // s from brakeStartMjd to the end of the plan
    LC_ALONG = 2,     // m, along-track position at the start
    LC_CLOSING = 3,   // m/s, closing speed at the start
    LC_HEIGHT = 4,    // m, height at the start
    LC_VSPEED = 5,    // m/s, vertical speed at the start
    LANDING_CONST_SLOTS = 6
};

// Slots of MfdState::landingCoefs: the t^3, t^4 and t^5 coefficients of the plan's
// along-track position (0..2) and height (3..5).
enum LandingCoefSlot { LK_ALONG = 0, LK_HEIGHT = 3, LANDING_COEF_SLOTS = 6 };

// Slots of MfdState::landingParams: where and how the planned phases end.
enum LandingParamSlot {
    LP_END_HEIGHT = 0,     // m above the target where the approach ends
    LP_END_ALONG = 1,      // m, along-track position where it ends
    LP_END_CLOSING = 2,    // m/s, closing speed there
    LP_FINAL_TIME = 3,     // s, length of the final phase
    LP_BRAKE_LEAD = 4,     // s before the plan's end at which the braking ends
    LP_APPROACH_LEAD = 5,  // s before the plan's end at which the approach ends
    LANDING_PARAM_SLOTS = 6
};

// Slots of MfdState::landingValues shown by the Direct Burn, Ascent and Landing
// pages (1, 2 and 5 unused).
enum LandingValueSlot {
    LV_FLIGHT_PATH = 0,    // rad, the ascent's flight-path angle
    LV_TARGET_AZIMUTH = 1, // rad, the ascent's target azimuth
    LV_BURN_LEAD = 3,      // s before the ejection at which the burn starts
    LV_BURN_LEFT = 4,      // s of burn remaining
    LV_FUEL = 6,           // kg of propellant the planned burn or descent needs
    LANDING_VALUE_SLOTS = 7
};

// The landingWork slots a scenario keeps, in the order of its "Displ" line.
const int kSavedLandingWork[7] = {LW_HEIGHT,   LW_FIX_ALONG, LW_FIX_HEIGHT, LW_GRAPH_T0,
                                  LW_GRAPH_KY, LW_GRAPH_KX,  LW_GRAPH_LEFT};

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
    int32_t landingDescent;      // LandingDescent
    bool forceLand;
    bool landBrake;
    double cutoffAlt;            // m
    int32_t landingPhase;        // LandingPhase
    double brakeStartMjd;        // MJD
    double approachHeading;
    double refPointLat, refPointLon;
    double targetLat, targetLon;
    double elevation;            // m above the body's mean radius
    int32_t manualTarget;
    double landingCoefs[LANDING_COEF_SLOTS];    // LandingCoefSlot
    double landingConsts[LANDING_CONST_SLOTS];  // LandingConstSlot
    double landingWork[LANDING_WORK_SLOTS];     // LandingWorkSlot
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
    uint32_t landingFlags;       // kLand* bits
    uint32_t landingRefusal;     // landingFlags bits the landing autopilot let go for; shown until the pilot acts
    uint32_t enginesHeld;        // bit 1 << THGROUP_TYPE for each engine group the landing autopilot sets
    double landingParams[LANDING_PARAM_SLOTS];  // LandingParamSlot
    double landingDv;
    // m/s: what follows the stored braking plan's end, as planned with it (the
    // efficient approach and final descent after a braking through air); 0: the
    // standard gate's final approach.
    double landingTailDv;
    double passTime;             // -1 none
    double passHalfWidth;
    int32_t landingAttMode;
    double landingValues[LANDING_VALUE_SLOTS];  // LandingValueSlot
    VESSEL *vessel;
    double lastStepTime;         // s

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
    int32_t dockLeg;             // DockLeg
    VECTOR3 zeroAim;             // unit, global: the z axis the velocity-nulling approach turns to; zero: none yet
    VECTOR3 landingAttW;         // unit, global: the down-range axis the landing's attitude follows; zero: none yet
    int32_t contactState;        // ContactState of the vessel at the last landing step
    double contactTime;          // s, simulation time of the last landing step
    double contactSink;          // m/s, the vessel's downward surface speed at the last landing step
    double contactSlide;         // m/s, its ground speed then
    // The hand-over: the engine levels found when the pilot engaged (refused on the
    // first step, they are given back), and the hover a release near the ground
    // leaves (kLandPilotHover).
    double engageLevels[3];      // 0..1, main, retro and hover group levels at HOLD
    bool engaging;               // HOLD came since the last landing step
    double hoverLevel;           // 0..1, the level that holds the height on hoverGroup now; 0: a release cuts
    int32_t hoverGroup;          // THGROUP_TYPE the hover is held on
    double hoverSet;             // 0..1, the level the hover hold last set
    double groundOffset;         // m, the target's level above the host's ground under the vessel
    // Waiting over air (landing/orbit_keeping.h): the orbit's energy the wait holds
    // against the drag, and whether a burn making good its loss is under way.
    bool keepingOrbit;           // the air was foreseen to take the orbit down before the pass
    double keepEnergy;           // J/kg, the orbit's specific energy when that was foreseen
    bool keepBurning;
};

// Sets every default of a state for the named vessel (its first autopilot step is
// the creator's).
// Leaves `position` alone: the creator sets it. A `vesselHandle` the creator set
// is kept while that vessel carries the name; otherwise the name finds the vessel.
void InitMfdState(MfdState *S, const char *vesselName, ThrusterProfile *profile);


#endif  // TESSARC_FRAME_STATE_H
