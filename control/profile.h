// The vessel's propulsion profile, measured: summed thrust and torque of the
// host's thruster groups, the mass and inertia of the docked stack, attitude rate
// limits and the attitude thrusters the command layer drives one by one. The
// profile's data is frame/profile_data.h; the registry keeps one per vessel slot.
#ifndef TESSARC_CONTROL_PROFILE_H
#define TESSARC_CONTROL_PROFILE_H

#include "Orbitersdk.h"
#include "frame/profile_data.h"


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
