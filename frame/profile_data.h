// The data of a vessel's propulsion profile, one per vessel slot, owned by the
// registry; control/profile.h measures and refreshes it.
#ifndef TESSARC_FRAME_PROFILE_DATA_H
#define TESSARC_FRAME_PROFILE_DATA_H

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
    double levelsFor;           // s, the interval the autopilot's attitude-thruster levels were set for; 0: none
};

// Number of entries of the attitude-thruster table.
const int kMaxAttitudeThrusters = 64;

#endif  // TESSARC_FRAME_PROFILE_DATA_H
