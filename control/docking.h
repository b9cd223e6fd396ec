// Docking mode: with a pair of docking ports, the own port is turned to face the
// target port and the vessel flies to a hold point on the target port's axis at
// a speed that falls with distance; without a pair ("ZERO"), the vessel turns
// its z axis along the relative velocity and nulls it.
#ifndef TESSARC_CONTROL_DOCKING_H
#define TESSARC_CONTROL_DOCKING_H

#include "Orbitersdk.h"

struct MfdState;

// Relative speed (m/s) below which the velocity is taken as nulled.
const double kDockNullSpeed = 0.005;
// The highest time acceleration an engaged approach allows: above it the rotation
// laws command nothing.
const double kDockWarpLimit = 100.0;
// A hold point at the port itself is aimed this far (m) beyond it, so the ports
// still close at a tenth of it, 0.03 m/s, when they meet: the host docks a pair
// only once they stop closing, and ports creeping to rest met only by chance.
const double kDockContactOvershoot = 0.3;
// The debug line's size (bytes) and how long a notice on it stays (s of system time).
const int kDockDebugLineSize = 256;
const double kDockDebugLineSeconds = 3.0;

// Mode update of the Docking mode: the wanted attitude, the hold-point offset
// (dockPosErr) and its velocity (dockRelVel) in vessel axes, and the port offset
// and its rate for the page. A target that is not a vessel falls back to the
// Relative update. A port pair that does not exist on the vessels (an index
// beyond the port count) gives a held attitude and no translation.
void UpdateDockingMode(MfdState *S, double stepDt);

// Translation demand of the Docking mode (velocity to be gained, vessel axes),
// applied to the axes in translation hold; returns the demand. Without a port
// pair and with the approach on, it nulls the relative velocity and switches
// everything off once that is done (or once attitude hold is off). An engaged
// approach holds the time acceleration at kDockWarpLimit.
VECTOR3 DockingApproach(MfdState *S);
// An engaged approach's time-acceleration limit, as each step applies it: a higher
// factor is taken down to kDockWarpLimit, with a notice on the debug line.
void ApplyDockingWarpLimit(MfdState *S);

// The "ZERO"/"DOCK" switch: on, attitude hold and translation hold on all three
// axes; off, both released. Refused while another MFD position drives the
// vessel; a target that is not a vessel keeps it off.
void ToggleDockingApproach(MfdState *S);

// Wanted closing speed along one axis for an offset d (m) and the axis's speed
// limit vmax (m/s): d / 10 within 10 vmax, beyond that whole multiples n vmax
// from 20 n^2 vmax on, signed as d. Zero for a limit that is not positive.
double DockingClosingSpeed(double d, double vmax);

// True when both ports are set and exist on the vessel and on the target.
bool DockingPortPairValid(const MfdState *S);

#endif  // TESSARC_CONTROL_DOCKING_H
