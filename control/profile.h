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

void CreateThrusterProfile(ThrusterProfile *profile, VESSEL *vessel);
void RefreshThrusterProfile(ThrusterProfile *profile);

#endif  // TESSARC_CONTROL_PROFILE_H
