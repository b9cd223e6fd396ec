// The MFD's settings applied from a given value, as the input dialogs and the
// scenario reader hand them over. Each reports whether the value was accepted;
// a refused value changes nothing.
#ifndef TESSARC_MFD_SETTERS_H
#define TESSARC_MFD_SETTERS_H

#include <cstddef>

#include "Orbitersdk.h"
#include "mfd/parsers.h"

struct MfdView;
struct MfdState;
struct ThrusterProfile;

// What a typed or read value may be; beyond these a setter refuses and changes
// nothing. The landing elevation is bounded by the reference body's radius, the
// engine cut-off height by what a touchdown allows (CutoffAltitudeLimit).
const double kMaxAttitudeOffset = 360.0;    // deg, a pitch, yaw or roll offset
const double kMaxBurnDv = 100000.0;         // m/s, one burn component
const double kMaxBurnLead = 1.0e8;          // s, a burn time given from now (about three years)
const double kMaxBurnMjd = 1.0e6;           // days, a burn time given as an MJD (0 up to this)
const double kMaxInclination = 180.0;       // deg, either sign
const double kMaxDockDistance = 100000.0;   // m, one component of the docking hold point
const double kMaxRateLimit = 360.0;         // deg/s, a rotation rate limit
const double kMaxApproachSpeed = 1000.0;    // m/s, a translation speed limit

// Remote vessel by name; an empty name means the focus vessel.
bool SetRemoteVessel(MfdView *mfd, const char *name);
// Reference body by name (stars and planets only). hostName, when given,
// receives the body's name as the host spells it.
bool SetReferenceBody(MfdState *S, const char *name, char *hostName = nullptr, size_t hostNameSize = 0);
// Target object by name; never the vessel itself.
bool SetTarget(MfdState *S, const char *name);
// Landing target from typed text: a 1-based base index or a base name on the
// reference body, else any object of that name (landing/target.h).
bool SetLandingBase(MfdState *S, const char *text);
// Engine cut-off altitude above the target, m.
bool SetCutoffAltitude(MfdState *S, double metres);
// axis 0 pitch, 1 yaw, 2 roll.
bool SetRelativeAttitude(MfdState *S, int axis, double degrees);
// component 0 prograde, 1 plane change, 2 outward; refused after the burn time.
bool SetBurnDv(MfdState *S, int component, double mps);
// Burn time as an MJD (mjdForm) or in seconds from now.
bool SetBurnTime(MfdState *S, bool mjdForm, double value);
// Target inclination of the ascent.
bool SetAscentInclination(MfdState *S, double degrees);
// Docking port n (1-based, clamped to the ports there; 0 none) of the vessel or of
// the target vessel; refused without a target vessel. Tunes the navigation radio.
bool SetOwnPort(MfdState *S, int n);
bool SetTargetPort(MfdState *S, int n);
// The selected components of the docking hold point, m, typed or taken from the
// present relative position.
bool SetDockDistance(MfdState *S, const DistanceInput &in);
// Asks for the one-shot "ISS control mode" at the next step.
bool SetAlignVelocity(MfdState *S);
// Swaps this MFD's position with position n (1-based) for the summary's vessel.
bool SetSwapPosition(MfdView *mfd, int n);
// Rate limits of the vessel under the summary cursor.
bool SetMaxRates(MfdView *mfd, const RatesInput &in);
// The same for a given propulsion profile (the scenario's "Rates" line); false
// without a profile or with a value beyond the limits above.
bool SetProfileRates(ThrusterProfile *profile, const RatesInput &in);

// Docking ports of a vessel; 0 for anything else.
int VesselPortCount(OBJHANDLE vessel);
// The burn values may change until the burn time.
bool BurnValuesOpen(const MfdState *S);

#endif  // TESSARC_MFD_SETTERS_H
