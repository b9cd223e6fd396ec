// The MFD's input dialogs: the host's input box of each setting, whose callback
// parses the typed text and hands the value to its setter (mfd/setters.h).
#ifndef TESSARC_MFD_DIALOGS_H
#define TESSARC_MFD_DIALOGS_H

#include <cstddef>

#include "Orbitersdk.h"

struct MfdView;
struct MfdState;

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
bool OpenDialog(MfdView *mfd, DialogKind kind);
// The title the box of that kind gets for this MFD now.
void DialogTitle(const MfdView *mfd, DialogKind kind, char *title, size_t size);
// The MFD is going away: boxes opened for it refuse from now on.
void ForgetDialogOwner(const MfdView *mfd);
// The simulation session ended and its input boxes with it: none of them answers
// any more, so none keeps a released vessel's states from being freed.
void ForgetSessionBoxes();
// Whether an input box opened on the state may still be open (and so call back
// with it): the last box of each kind opened at each MFD position counts.
bool DialogMayReach(const MfdState *S);

// What the box's callback does with the text. mfd may be null for the dialogs
// whose setter takes the state only.
bool ApplyDialogText(MfdView *mfd, MfdState *S, DialogKind kind, const char *text);

#endif  // TESSARC_MFD_DIALOGS_H
