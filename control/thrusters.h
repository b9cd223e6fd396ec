// Thruster command layer: per-axis rotation laws, translation hold and the
// distribution of commands onto the attitude thrusters.
#ifndef TESSARC_CONTROL_THRUSTERS_H
#define TESSARC_CONTROL_THRUSTERS_H

#include "Orbitersdk.h"
#include "control/profile.h"

struct MfdState;

// Simulation time between autopilot passes at the nominal cadence, s.
const double kPassInterval = 0.1;
// Time over which the rotation laws take out a rate error when passes come at
// the nominal cadence, s (a tenth of the error each pass).
const double kRateTimeConstant = 1.0;
// Largest share of a rate error one pass may take out: the levels set now are
// held until the next pass, and the rate they act on is an estimate.
const double kRateShare = 0.5;

// After a pass that came late, the translation level is aimed at the last interval
// instead of the one the frames foretell, up to this multiple of the latter.
const double kLateHoldFactor = 2.0;

// Simulation time the levels set in this pass are held for, s: until the first
// frame that ends 0.1 s or more from now, from the host's frame interval and
// time acceleration (one frame when frames are longer than 0.1 s).
double PassInterval();
// Time over which the rotation laws take out a rate error, s: 1 s, or the time
// that keeps each pass to kRateShare of the error when passes are far apart.
double RateTimeConstant();

// Rotation command in [-1, 1] for one axis (0 pitch, 1 yaw, 2 bank) that brings
// `current` to `target` along a first-order path of the given time constant.
// `rate` is the rate of the attitude error (about minus the angular velocity).
// Writes the rate limit it used into profile->effRate[axis].
double AxisAttitudeLaw(ThrusterProfile *profile, int axis, double target, double current,
                       double rate, double deadband, double timeConstant);
// Rotation command that drives a rate (error-rate sense) to a wanted value.
double AxisRateLaw(const ThrusterProfile *profile, int axis, double wanted, double current,
                   double deadband);
// Rotation command that drives a rate (error-rate sense) to zero; a rate of
// exactly 0 is replaced by the vessel's own measured rate about the axis.
double AxisRateDamp(const ThrusterProfile *profile, int axis, double rate, double deadband);

// Sets every recorded attitude thruster from three rotation commands (pitch,
// yaw, bank) and three translation commands (x, y, z); returns how many were set.
int ApplyThrusterCommands(ThrusterProfile *profile, const VECTOR3 &rot, const VECTOR3 &lin);
// Attitude groups 3 to 14 to level 0.
void AttitudeGroupsOff(ThrusterProfile *profile);
// Before a frame of `frame` seconds: when it is longer than kLateHoldFactor times
// the interval the autopilot's levels were set for (time acceleration raised
// since the last pass), every attitude thruster's level is cut in the ratio of
// the two, so the frame gives the impulse the pass meant.
void FitLevelsToFrame(ThrusterProfile *profile, double frame);
// The host's current manual rotation and translation levels.
void ReadManualLevels(const ThrusterProfile *profile, VECTOR3 *rot, VECTOR3 *lin);

// Writes linCmd[axis] from a velocity to be cancelled (vessel axes) by the next
// pass.
void TranslationAxisLaw(MfdState *S, int axis, const VECTOR3 &velocity);
// Runs the translation law on the axes of transAxes.
void ApplyTranslationHold(MfdState *S, const VECTOR3 &velocity);
// Engine groups the landing autopilot was setting go to level 0 once it no longer
// sets them (hold off, another mode, another position in control); levels set by
// hand while it set none are left alone.
void ReleaseEngines(MfdState *S);

// Translation hold off on every axis: mask cleared, attitude groups to 0,
// transAxes kTransAxesNone.
void TranslationHoldOff(MfdState *S);
// transAxes code for a translation-hold axis mask (x 1, y 2, z 4); 7 for none.
int TransAxesFromMask(uint32_t mask);

#endif  // TESSARC_CONTROL_THRUSTERS_H
