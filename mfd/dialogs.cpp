// Input dialogs: titles, opening the boxes, their callbacks, and what typed
// text does through the setters.
#include "mfd/dialogs.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "frame/registry.h"
#include "frame/state.h"
#include "landing/target.h"
#include "mfd/setters.h"
#include "mfd/view.h"

namespace {

// Boxes of the remote, swap and rates dialogs act on an MFD object, which the
// host may destroy while its box is still open. They carry a context per MFD
// position instead, whose pointer the MFD clears when it goes away.
struct MfdBoxContext {
    const MfdView *mfd;
    DialogKind kind;
};
MfdBoxContext mfdContexts[kMaxPositions][DIALOG_COUNT];
// The state the last box of each kind at each position was opened on; a box on a
// state closes unseen (the host calls back only on a text), so it counts as open
// until the next box of its kind at its position.
const MfdState *boxStates[kMaxPositions][DIALOG_COUNT];

// Boxes on a state carry the state itself (states live as long as the module);
// the kind is part of the callback.
template <DialogKind K>
bool StateCallback(void *, char *str, void *usrdata) {
    MfdState *S = static_cast<MfdState *>(usrdata);
    if (!S) return false;
    if (K == DIALOG_REFERENCE) {
        // The box shows the body's name as the host spells it, no longer than typed.
        char hostName[kInputLineMax];
        if (!SetReferenceBody(S, str, hostName, sizeof hostName)) return false;
        if (str) CopyBounded(str, std::strlen(str) + 1, hostName);
        return true;
    }
    return ApplyDialogText(nullptr, S, K, str);
}

bool MfdCallback(void *, char *str, void *usrdata) {
    MfdBoxContext *ctx = static_cast<MfdBoxContext *>(usrdata);
    if (!ctx || !ctx->mfd) return false;
    MfdView *mfd = const_cast<MfdView *>(ctx->mfd);
    return ApplyDialogText(mfd, mfd->state, ctx->kind, str);
}

typedef bool (*BoxCallback)(void *, char *, void *);

template <int... K>
struct StateCallbacks {
    static constexpr BoxCallback table[sizeof...(K)] = {StateCallback<static_cast<DialogKind>(K)>...};
};
template <int... K>
constexpr BoxCallback StateCallbacks<K...>::table[sizeof...(K)];

template <int... K>
constexpr const BoxCallback *MakeTable(std::integer_sequence<int, K...>) {
    return StateCallbacks<K...>::table;
}

const BoxCallback *const kStateCallbacks = MakeTable(std::make_integer_sequence<int, DIALOG_COUNT>());

bool OnMfd(DialogKind kind) { return kind == DIALOG_REMOTE || kind == DIALOG_SWAP || kind == DIALOG_RATES; }

}  // namespace

void DialogTitle(const MfdView *mfd, DialogKind kind, char *title, size_t size) {
    if (!title || size == 0) return;
    const MfdState *S = mfd ? mfd->state : nullptr;
    switch (kind) {
        case DIALOG_REMOTE: std::snprintf(title, size, "Select remote vessel( empty line to focus )"); break;
        case DIALOG_REFERENCE: std::snprintf(title, size, "TessarcMFD: Reference"); break;
        case DIALOG_TARGET: std::snprintf(title, size, "TessarcMFD: Target"); break;
        case DIALOG_LANDING_BASE:
            std::snprintf(title, size, "TessarcMFD: Target Base (Name or Index) or landed Vessel (Name)");
            break;
        case DIALOG_PAD:
            std::snprintf(title, size, "Target Pad (01 - %02i), 0 to remove", S ? BasePadCount(S->targetRef) : 0);
            break;
        case DIALOG_LOCATION:
            std::snprintf(title, size, "TessarcMFD: Target manual location in degrees (lon,lat)");
            break;
        case DIALOG_ELEVATION: std::snprintf(title, size, "TessarcMFD: Set elevation above target (in meters)"); break;
        case DIALOG_CUTOFF: std::snprintf(title, size, "TessarcMFD: Set engine cut off altitude (in meters)"); break;
        case DIALOG_PITCH: std::snprintf(title, size, "Select Pitch"); break;
        case DIALOG_YAW: std::snprintf(title, size, "Select Yaw"); break;
        case DIALOG_ROLL: std::snprintf(title, size, "Select Roll"); break;
        case DIALOG_DV_PROGRADE: std::snprintf(title, size, "Select Prograde Velocity"); break;
        case DIALOG_DV_PLANE: std::snprintf(title, size, "Select Plane Change Velocity"); break;
        case DIALOG_DV_OUTWARD: std::snprintf(title, size, "Select Outward Velocity"); break;
        case DIALOG_BURN_TIME: std::snprintf(title, size, "Set Time to Burn (M xxx.xx for MJD format)"); break;
        case DIALOG_INCLINATION: std::snprintf(title, size, "Set Target Equatorial Inclination"); break;
        case DIALOG_OWN_PORT:
            std::snprintf(title, size, "Active Dock (01 - %02i), 0 to remove", S ? VesselPortCount(S->vesselHandle) : 0);
            break;
        case DIALOG_TARGET_PORT:
            std::snprintf(title, size, "Target Dock (01 - %02i), 0 to remove", S ? VesselPortCount(S->targetRef) : 0);
            break;
        case DIALOG_DISTANCE:
            std::snprintf(title, size,
                          "'X0.0' and/or 'Y0.0' and/or 'Z0.0' or '+x.x +x.x +x.x' , empty or 'U' to set to current");
            break;
        case DIALOG_ALIGN_VELOCITY:
            std::snprintf(title, size, "Set Z-axis along velocity vector? (press Enter or Escape)");
            break;
        case DIALOG_SWAP:
            std::snprintf(title, size, "Swap MFD %02i with another MFD (max:%02i)", mfd ? mfd->position + 1 : 0,
                          kMaxPositions);
            break;
        case DIALOG_RATES:
            std::snprintf(title, size,
                          "Maximum rates (format: set 'r' for rotation or 'l' for linear,  then  x.x  x.x  x.x)");
            break;
        default: title[0] = '\0'; break;
    }
}

bool OpenDialog(MfdView *mfd, DialogKind kind) {
    if (!mfd || kind < 0 || kind >= DIALOG_COUNT) return false;
    MfdState *S = mfd->state;
    // The remote, swap and rates boxes act on the MFD; the others need its state.
    if (!S && !OnMfd(kind)) return false;
    if ((kind == DIALOG_DV_PROGRADE || kind == DIALOG_DV_PLANE || kind == DIALOG_DV_OUTWARD) && !BurnValuesOpen(S))
        return false;
    // The host keeps the title text while the box is open.
    static char titles[DIALOG_COUNT][128];
    DialogTitle(mfd, kind, titles[kind], sizeof titles[kind]);
    const int p = (mfd->position >= 0 && mfd->position < kMaxPositions) ? mfd->position : 0;
    if (OnMfd(kind)) {
        MfdBoxContext *ctx = &mfdContexts[p][kind];
        ctx->mfd = mfd;
        ctx->kind = kind;
        oapiOpenInputBox(titles[kind], MfdCallback, nullptr, 20, ctx);
    } else {
        boxStates[p][kind] = S;
        oapiOpenInputBox(titles[kind], kStateCallbacks[kind], nullptr, 20, S);
    }
    return true;
}

bool DialogMayReach(const MfdState *S) {
    for (const auto &row : boxStates)
        for (const MfdState *b : row)
            if (b == S) return true;
    return false;
}

void ForgetSessionBoxes() {
    for (auto &row : boxStates)
        for (const MfdState *&b : row) b = nullptr;
    for (auto &row : mfdContexts)
        for (MfdBoxContext &c : row) c.mfd = nullptr;
}

void ForgetDialogOwner(const MfdView *mfd) {
    for (auto &row : mfdContexts)
        for (MfdBoxContext &c : row)
            if (c.mfd == mfd) c.mfd = nullptr;
}

// --- typed text --------------------------------------------------------------------

bool ApplyDialogText(MfdView *mfd, MfdState *S, DialogKind kind, const char *text) {
    double v = 0.0;
    int n = 0;
    switch (kind) {
        case DIALOG_REMOTE: return SetRemoteVessel(mfd, text);
        case DIALOG_REFERENCE: return SetReferenceBody(S, text);
        case DIALOG_TARGET: return SetTarget(S, text);
        case DIALOG_LANDING_BASE: return SetLandingBase(S, text);
        case DIALOG_PAD: return ParseIndex(text, 'P', &n) && SetPad(S, n);
        case DIALOG_LOCATION: {
            double lon = 0.0, lat = 0.0;
            return ParseLocation(text, &lon, &lat) && SetManualLocation(S, lon, lat);
        }
        case DIALOG_ELEVATION: return ParseDecimalSpace(text, &v) && SetLandingElevation(S, v);
        case DIALOG_CUTOFF: return ParseDecimalSpace(text, &v) && SetCutoffAltitude(S, v);
        case DIALOG_PITCH:
        case DIALOG_YAW:
        case DIALOG_ROLL: return ParseAngle(text, &v) && SetRelativeAttitude(S, kind - DIALOG_PITCH, v);
        case DIALOG_DV_PROGRADE:
        case DIALOG_DV_PLANE:
        case DIALOG_DV_OUTWARD: return ParseDecimalSpace(text, &v) && SetBurnDv(S, kind - DIALOG_DV_PROGRADE, v);
        case DIALOG_BURN_TIME: {
            bool mjd = false;
            return ParseBurnTime(text, &mjd, &v) && SetBurnTime(S, mjd, v);
        }
        case DIALOG_INCLINATION: return ParseDecimalSpace(text, &v) && SetAscentInclination(S, v);
        case DIALOG_OWN_PORT: return ParseIndex(text, 'U', &n) && SetOwnPort(S, n);
        case DIALOG_TARGET_PORT: return ParseIndex(text, 'D', &n) && SetTargetPort(S, n);
        case DIALOG_DISTANCE: {
            DistanceInput in;
            return ParseDistance(text, &in) && SetDockDistance(S, in);
        }
        case DIALOG_ALIGN_VELOCITY: return SetAlignVelocity(S);
        case DIALOG_SWAP: return ParseIndex(text, 'S', &n) && SetSwapPosition(mfd, n);
        case DIALOG_RATES: {
            RatesInput in;
            return ParseRates(text, &in) && SetMaxRates(mfd, in);
        }
        default: return false;
    }
}
