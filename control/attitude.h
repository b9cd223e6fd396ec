// Attitude hold: the attitude error (matrix, Euler angles, quaternion), its
// filtered rate, the rotation commands of each step, and the one-shot
// "ISS control mode" that sets orientation and spin directly.
#ifndef TESSARC_CONTROL_ATTITUDE_H
#define TESSARC_CONTROL_ATTITUDE_H

#include "Orbitersdk.h"
#include "control/math.h"

struct MfdState;

// Angles and rates of the attitude laws, in radians and radians per second.
const double kLargeErrorAngle = 10.0 * RAD;
const double kLargeErrorDeadband = 0.05 * RAD;
const double kFineDeadband = 0.005 * RAD;
const double kRollRateDeadband = 0.005 * RAD;
const double kRpmSpinRate = 0.75 * RAD;
const double kSlewRateCap = 90.0 * RAD;
const double kHoldTimeConstant = 10.0;
const double kAscentTimeConstant = 5.0;

// Euler triple of the error matrix (transpose of the vessel's rotation times the
// wanted frame refAtt then relAtt); stores the matrix in errorMatrix.
VECTOR3 ErrorAnglesFromMatrix(MfdState *S);
// The attitude error as a quaternion (w, x, y, z).
Quat ErrorQuaternion(const MfdState *S);
// Picks the Euler convention (0 or 2) that keeps the current error away from
// its singular middle angle.
void ChooseEulerConvention(MfdState *S);
// Simulation time the rate filter averages over, s (five passes at 0.1 s).
const double kRateFilterSpan = 0.5;
// Rejects single-step spikes of the measured error rate and averages it over the
// last half second of passes (HOLD on, not Landing); counts the warm-up.
VECTOR3 SpikeFilter(MfdState *S, const VECTOR3 &rate);
// The wanted frame's own rate (rad/s, vessel axes) as the median of its last five
// measurements: a change of the wanted attitude from one pass to the next (a new
// target, a new phase) is a jump, not a rate to follow.
VECTOR3 SteadyWantedRate(MfdState *S, const VECTOR3 &frameRate);
// Restarts the rate filter (and, with HOLD on, the warm-up).
void ResetRateFilter(MfdState *S, int start);
// Error angles for a pitch spin: the pitch on the reference's side covering the
// full circle, yaw and bank about the vessel's own y and z axes at any pitch.
// For small errors they equal the convention-0 angles of q.
VECTOR3 SpinErrorAngles(const Quat &q);
// The three rotation commands of this step (pitch, yaw, bank).
VECTOR3 AttitudeController(MfdState *S);
// "KILL ROLL" -> "NO ROLL" -> roll held -> ...
void CycleRollMode(MfdState *S);
// refAtt = the vessel's current global orientation.
void CaptureCurrentAttitude(MfdState *S);
// The "ISS control mode": z along the orbital velocity, x along the orbit
// normal, spin about x at the orbital rate (reversed for "ProjectAlpha_ISS").
void AlignToVelocity(MfdState *S);

// Orbital period about the given body (s); 0 when there is no closed orbit.
double OrbitalPeriod(const MfdState *S, OBJHANDLE body);

#endif  // TESSARC_CONTROL_ATTITUDE_H
