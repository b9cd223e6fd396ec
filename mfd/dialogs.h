// The MFD's input dialogs. Each setting exists in two forms: open the host's
// input box (whose callback parses the text and applies it), or apply a given
// value directly, as the scenario reader does. Setters report whether the value
// was accepted; a refused value changes nothing.
#ifndef TESSARC_MFD_DIALOGS_H
#define TESSARC_MFD_DIALOGS_H

#include "Orbitersdk.h"
#include "mfd/parsers.h"

class TessarcMFD;
struct MfdState;
struct ThrusterProfile;

enum DialogKind {
    DIALOG_REMOTE = 0,       // "Select remote vessel( empty line to focus )"
    DIALOG_REFERENCE,        // reference body
    DIALOG_TARGET,           // target object
    DIALOG_LANDING_BASE,     // base index or name, or a landed vessel
    DIALOG_PAD,              // pad of the landing base
    DIALOG_LOCATION,         // manual landing location
    DIALOG_ELEVATION,        // landing target elevation
    DIALOG_CUTOFF,           // engine cut-off altitude
    DIALOG_PITCH,            // relative attitude, degrees
    DIALOG_YAW,
    DIALOG_ROLL,
    DIALOG_DV_PROGRADE,      // burn values, m/s
    DIALOG_DV_PLANE,
    DIALOG_DV_OUTWARD,
    DIALOG_BURN_TIME,
    DIALOG_INCLINATION,      // ascent target inclination
    DIALOG_OWN_PORT,
    DIALOG_TARGET_PORT,
    DIALOG_DISTANCE,         // docking approach offset
    DIALOG_ALIGN_VELOCITY,   // confirmation of the one-shot velocity alignment
    DIALOG_SWAP,             // summary page: MFD swap
    DIALOG_RATES,            // summary page: maximum rates
    DIALOG_COUNT
};

// Opens the dialog for the MFD (its state, or for the remote, swap and rates
// dialogs the MFD itself). False when the command is refused and no box opens
// (no state; burn values after the burn time).
bool OpenDialog(TessarcMFD *mfd, DialogKind kind);
// The title the box of that kind gets for this MFD now.
void DialogTitle(const TessarcMFD *mfd, DialogKind kind, char *title, size_t size);
// The MFD is going away: boxes opened for it refuse from now on.
void ForgetDialogOwner(const TessarcMFD *mfd);
// The simulation session ended and its input boxes with it: none of them answers
// any more, so none keeps a released vessel's states from being freed.
void ForgetSessionBoxes();
// Whether an input box opened on the state may still be open (and so call back
// with it): the last box of each kind opened at each MFD position counts.
bool DialogMayReach(const MfdState *S);

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

// --- apply a given value -----------------------------------------------------------
// Remote vessel by name; an empty name means the focus vessel.
bool SetRemoteVessel(TessarcMFD *mfd, const char *name);
// Reference body by name (stars and planets only). hostName, when given,
// receives the body's name as the host spells it.
bool SetReferenceBody(MfdState *S, const char *name, char *hostName = nullptr, size_t hostNameSize = 0);
// Target object by name; never the vessel itself.
bool SetTarget(MfdState *S, const char *name);
// Landing target: a 1-based base index or a base name on the reference body,
// else any object of that name.
bool SetLandingBase(MfdState *S, const char *text);
// Pad n of the landing base (clamped to the pads there); 0 returns to the base.
bool SetPad(MfdState *S, int n);
bool SetManualLocation(MfdState *S, double lonDeg, double latDeg);
// Metres above the target; with a terrain model, above the terrain there. The
// result stays within the reference body's radius of its mean surface.
bool SetLandingElevation(MfdState *S, double metres);
// Whether an elevation above the mean radius is one the reference body can have.
bool ElevationWithinBody(const MfdState *S, double metres);
bool SetCutoffAltitude(MfdState *S, double metres);
// axis 0 pitch, 1 yaw, 2 roll.
bool SetRelativeAttitude(MfdState *S, int axis, double degrees);
// component 0 prograde, 1 plane change, 2 outward; refused after the burn time.
bool SetBurnDv(MfdState *S, int component, double mps);
bool SetBurnTime(MfdState *S, bool mjdForm, double value);
bool SetAscentInclination(MfdState *S, double degrees);
bool SetOwnPort(MfdState *S, int n);
bool SetTargetPort(MfdState *S, int n);
bool SetDockDistance(MfdState *S, const DistanceInput &in);
bool SetAlignVelocity(MfdState *S);
// Swaps this MFD's position with position n (1-based) for the summary's vessel.
bool SetSwapPosition(TessarcMFD *mfd, int n);
// Rate limits of the vessel under the summary cursor.
bool SetMaxRates(TessarcMFD *mfd, const RatesInput &in);
// The same for a given propulsion profile (the scenario's "Rates" line); false
// without a profile or with a value beyond the limits above.
bool SetProfileRates(ThrusterProfile *profile, const RatesInput &in);

// --- apply typed text ----------------------------------------------------------------
// What the box's callback does with the text. mfd may be null for the dialogs
// whose setter takes the state only.
bool ApplyDialogText(TessarcMFD *mfd, MfdState *S, DialogKind kind, const char *text);

#endif  // TESSARC_MFD_DIALOGS_H
