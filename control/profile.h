// The vessel's propulsion profile: summed thrust and torque of the host's thruster
// groups, the mass and inertia of the docked stack, attitude rate limits and the
// attitude thrusters the command layer drives one by one.
#ifndef TESSARC_CONTROL_PROFILE_H
#define TESSARC_CONTROL_PROFILE_H

#include <cstdint>

#include "Orbitersdk.h"

struct ThrusterProfile {
    double cmdScale;            // factor on rotation and first two translation commands
    double pitchShare;          // share of pitch in thrusters serving pitch and bank
    double thrust[9];           // N: [0] main [1] retro [2] hover [3..8] attitude pairs
    double torque[9];           // N m: [3..8] attitude pairs
    double mass;                // kg, vessel plus docked vessels
    double pmi[3];              // m^2, stack inertia about own axes / mass
    int32_t dockedCount;        // occupied docking ports at the last refresh
    bool pitchBankShared;       // a thruster belongs to pitch-up and bank-left
    double baseRate[3];         // rad/s, class-table rate limit
    double rateLimit[3];        // rad/s, working rate limit
    double effRate[3];          // rad/s, effective limit last used by the attitude law
    double dockedRate[3];       // rad/s, rateLimit saved for the docked configuration
    double undockedRate[3];     // rad/s, rateLimit saved for the undocked configuration
    double approachSpeed[3];    // m/s, docking approach speed limit per axis
    int32_t prevDockedCount;
    VESSEL *vessel;
    THRUSTER_HANDLE thrusters[64];
    uint16_t thrusterGroups[64];
};

// Number of entries of the attitude-thruster table.
const int kMaxAttitudeThrusters = 64;

// Builds a profile for the vessel (class limits, then a first refresh).
void CreateThrusterProfile(ThrusterProfile *profile, VESSEL *vessel);
// Rescans thrusters and stack inertia and lowers the rate limits to what the
// thrusters can achieve; run at the start of every per-vessel update.
void RefreshThrusterProfile(ThrusterProfile *profile);

// Fills thrust, torque, the attitude-thruster table and the pitch/bank split.
// False once the table is full (a 65th distinct attitude thruster was met).
bool ScanThrusters(ThrusterProfile *profile);
// Fills mass and pmi of the docked stack, swaps the rate-limit set when the
// docked count changed; returns the number of occupied docking ports.
int ComputeStackInertia(ThrusterProfile *profile);
// Unit thrust direction of a thruster group in vessel axes; zero for an empty
// group or one whose thrusts cancel.
VECTOR3 GroupThrustDirection(const ThrusterProfile *profile, int group);

enum ClassLimitKind { kClassRates = 0, kClassApproachSpeeds = 1 };
// The class table: rate limits (rad/s) or approach speeds (m/s) for the vessel.
VECTOR3 VesselClassLimits(VESSEL *vessel, ClassLimitKind kind);
// Entry of thrust/torque serving a rotation axis: 3 pitch, 4 yaw, 5 bank; 9
// (no such entry) for any other axis, which callers must treat as no thrust.
int AttitudeAxisGroup(int axis);

#endif  // TESSARC_CONTROL_PROFILE_H
