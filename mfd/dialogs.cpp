// Input dialogs: titles, the boxes' callbacks, and the setters behind them.
#include "mfd/dialogs.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "control/attitude.h"
#include "control/profile.h"
#include "frame/state.h"
#include "frame/terrain.h"
#include "mfd/commands.h"
#include "mfd/tessarc_mfd.h"

namespace {

// Boxes of the remote, swap and rates dialogs act on an MFD object, which the
// host may destroy while its box is still open. They carry a context per MFD
// position instead, whose pointer the MFD clears when it goes away.
struct MfdBoxContext {
    const TessarcMFD *mfd;
    DialogKind kind;
};
MfdBoxContext mfdContexts[kMaxPositions][DIALOG_COUNT];

void Restart(MfdState *S) { ResetRateFilter(S, 0); }

bool IsVessel(OBJHANDLE h) { return h && oapiIsVessel(h); }

// The host's name of an object into a field, cut to the field.
void StoreHostName(OBJHANDLE obj, char *field, size_t size) {
    char name[kInputLineMax];
    name[0] = '\0';
    oapiGetObjectName(obj, name, static_cast<int>(sizeof name));
    name[sizeof name - 1] = '\0';
    CopyBounded(field, size, name);
}

// Host lookups take writable text: a bounded copy of the name.
OBJHANDLE ObjectByName(const char *name) {
    char buf[kInputLineMax];
    CopyBounded(buf, sizeof buf, name);
    return buf[0] ? oapiGetObjectByName(buf) : nullptr;
}

int PortCount(OBJHANDLE vessel) {
    if (!IsVessel(vessel)) return 0;
    VESSEL *v = oapiGetVesselInterface(vessel);
    return v ? static_cast<int>(v->DockCount()) : 0;
}

int PadCount(OBJHANDLE base) {
    if (!base || oapiGetObjectType(base) != OBJTP_SURFBASE) return 0;
    return static_cast<int>(oapiGetBasePadCount(base));
}

bool BurnValuesOpen(const MfdState *S) { return oapiGetSimMJD() <= S->burnMjd; }

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
    TessarcMFD *mfd = const_cast<TessarcMFD *>(ctx->mfd);
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

void DialogTitle(const TessarcMFD *mfd, DialogKind kind, char *title, size_t size) {
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
            std::snprintf(title, size, "Target Pad (01 - %02i), 0 to remove", S ? PadCount(S->targetRef) : 0);
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
            std::snprintf(title, size, "Active Dock (01 - %02i), 0 to remove", S ? PortCount(S->vesselHandle) : 0);
            break;
        case DIALOG_TARGET_PORT:
            std::snprintf(title, size, "Target Dock (01 - %02i), 0 to remove", S ? PortCount(S->targetRef) : 0);
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

bool OpenDialog(TessarcMFD *mfd, DialogKind kind) {
    if (!mfd || kind < 0 || kind >= DIALOG_COUNT) return false;
    MfdState *S = mfd->state;
    if (!S && kind != DIALOG_REMOTE) return false;
    if ((kind == DIALOG_DV_PROGRADE || kind == DIALOG_DV_PLANE || kind == DIALOG_DV_OUTWARD) && !BurnValuesOpen(S))
        return false;
    // The host keeps the title text while the box is open.
    static char titles[DIALOG_COUNT][128];
    DialogTitle(mfd, kind, titles[kind], sizeof titles[kind]);
    if (OnMfd(kind)) {
        int p = (mfd->position >= 0 && mfd->position < kMaxPositions) ? mfd->position : 0;
        MfdBoxContext *ctx = &mfdContexts[p][kind];
        ctx->mfd = mfd;
        ctx->kind = kind;
        oapiOpenInputBox(titles[kind], MfdCallback, nullptr, 20, ctx);
    } else {
        oapiOpenInputBox(titles[kind], kStateCallbacks[kind], nullptr, 20, S);
    }
    return true;
}

void ForgetDialogOwner(const TessarcMFD *mfd) {
    for (auto &row : mfdContexts)
        for (MfdBoxContext &c : row)
            if (c.mfd == mfd) c.mfd = nullptr;
}

// --- setters ---------------------------------------------------------------------

bool SetRemoteVessel(TessarcMFD *mfd, const char *name) {
    if (!mfd) return false;
    char buf[kInputLineMax];
    if (BlankLine(name)) {
        VESSEL *focus = oapiGetFocusInterface();
        if (!focus) return false;
        CopyBounded(buf, sizeof buf, focus->GetName());
    } else {
        CopyBounded(buf, sizeof buf, name);
    }
    OBJHANDLE h = ObjectByName(buf);
    return h && mfd->attachToVessel(h);
}

bool SetReferenceBody(MfdState *S, const char *name, char *hostName, size_t hostNameSize) {
    if (!S) return false;
    char buf[kInputLineMax];
    CopyBounded(buf, sizeof buf, name);
    OBJHANDLE body = buf[0] ? oapiGetGbodyByName(buf) : nullptr;
    if (!body) return false;
    const int type = oapiGetObjectType(body);
    if (type != OBJTP_STAR && type != OBJTP_PLANET) return false;
    S->bodyRef = body;
    StoreHostName(body, S->bodyRefName, sizeof S->bodyRefName);
    if (hostName && hostNameSize) StoreHostName(body, hostName, hostNameSize);
    Restart(S);
    return true;
}

bool SetTarget(MfdState *S, const char *name) {
    if (!S) return false;
    OBJHANDLE obj = ObjectByName(name);
    if (!obj || obj == S->vesselHandle) return false;
    if (IsVessel(obj) && S->refMode == AP_VELOCITY) S->targetSet = true;
    S->targetRef = obj;
    StoreHostName(obj, S->targetRefName, sizeof S->targetRefName);
    S->targetPort = 0;
    if (S->refMode == AP_DOCKING && IsVessel(obj)) TuneNavRadio(S);
    Restart(S);
    return true;
}

namespace {

// Where a landing target object lies; false for objects that have no place on
// the surface (the target fields then stay as they were).
bool PlaceOfObject(const MfdState *S, OBJHANDLE obj, double *lon, double *lat, double *elevation) {
    double rad = 0.0;
    if (oapiIsVessel(obj)) {
        VESSEL *v = oapiGetVesselInterface(obj);
        if (!v) return false;
        v->GetEquPos(*lon, *lat, rad);
        *elevation = rad - (oapiGetSize(S->bodyRef) + v->GetCOG_elev());
        return true;
    }
    if (oapiGetObjectType(obj) == OBJTP_SURFBASE) {
        oapiGetBaseEquPos(obj, lon, lat, &rad);
        *elevation = TargetTerrainKnown() ? TargetElevation(S->bodyRef, *lon, *lat) : rad - oapiGetSize(S->bodyRef);
        return true;
    }
    return false;
}

}  // namespace

bool SetLandingBase(MfdState *S, const char *text) {
    if (!S) return false;
    char buf[kInputLineMax];
    CopyBounded(buf, sizeof buf, text);
    int n = 0;
    OBJHANDLE obj = nullptr;
    if (ParseIndex(buf, '\0', &n) && n != 0) {
        obj = n > 0 ? oapiGetBaseByIndex(S->bodyRef, n - 1) : nullptr;
    } else if (buf[0]) {
        obj = oapiGetBaseByName(S->bodyRef, buf);
        if (!obj) obj = oapiGetObjectByName(buf);
    }
    if (!obj) return false;
    S->manualTarget = 0;
    S->targetRef = obj;
    StoreHostName(obj, S->targetRefName, sizeof S->targetRefName);
    S->landingPhase = 0;
    std::memset(S->landingCoefs, 0, sizeof S->landingCoefs);
    std::memset(S->landingConsts, 0, sizeof S->landingConsts);
    std::memset(S->landingWork, 0, sizeof S->landingWork);
    S->padIndex = 0;
    S->landingFlags = 0;
    double lon = 0.0, lat = 0.0, elevation = 0.0;
    if (PlaceOfObject(S, obj, &lon, &lat, &elevation)) {
        S->targetLon = lon;
        S->targetLat = lat;
        S->elevation = elevation;
    }
    Restart(S);
    return true;
}

bool SetPad(MfdState *S, int n) {
    if (!S) return false;
    if (IsVessel(S->targetRef)) {
        S->padIndex = 0;
        return true;
    }
    const int count = PadCount(S->targetRef);
    if (count <= 0) return false;
    if (n < 0) n = 0;
    if (n > count) n = count;
    double lon = 0.0, lat = 0.0, elevation = 0.0;
    if (n >= 1) {
        if (!oapiGetBasePadEquPos(S->targetRef, static_cast<DWORD>(n - 1), &lon, &lat)) return false;
        elevation = TargetElevation(S->bodyRef, lon, lat);
    } else if (!PlaceOfObject(S, S->targetRef, &lon, &lat, &elevation)) {
        return false;
    }
    S->padIndex = n;
    S->targetLon = lon;
    S->targetLat = lat;
    S->elevation = elevation;
    Restart(S);
    return true;
}

bool SetManualLocation(MfdState *S, double lonDeg, double latDeg) {
    if (!S || !std::isfinite(lonDeg) || !std::isfinite(latDeg)) return false;
    S->manualTarget = 1;
    S->padIndex = -1;
    S->targetLon = lonDeg * RAD;
    S->targetLat = latDeg * RAD;
    S->elevation = TargetElevation(S->bodyRef, S->targetLon, S->targetLat);
    Restart(S);
    return true;
}

bool SetLandingElevation(MfdState *S, double metres) {
    if (!S || !std::isfinite(metres)) return false;
    S->elevation = TargetElevation(S->bodyRef, S->targetLon, S->targetLat) + metres;
    Restart(S);
    return true;
}

bool SetCutoffAltitude(MfdState *S, double metres) {
    if (!S || !std::isfinite(metres)) return false;
    S->cutoffAlt = metres;
    Restart(S);
    return true;
}

bool SetRelativeAttitude(MfdState *S, int axis, double degrees) {
    if (!S || axis < 0 || axis > 2 || !std::isfinite(degrees)) return false;
    S->showSetAttitude = true;
    S->relAtt.data[axis] = degrees * RAD;
    Restart(S);
    return true;
}

bool SetBurnDv(MfdState *S, int component, double mps) {
    if (!S || component < 0 || component > 2 || !std::isfinite(mps)) return false;
    if (!BurnValuesOpen(S)) return false;
    S->burnDv.data[component] = mps;
    Restart(S);
    return true;
}

bool SetBurnTime(MfdState *S, bool mjdForm, double value) {
    if (!S || !std::isfinite(value)) return false;
    S->burnMjd = mjdForm ? value : oapiGetSimMJD() + value / 86400.0;
    Restart(S);
    return true;
}

bool SetAscentInclination(MfdState *S, double degrees) {
    if (!S || !std::isfinite(degrees)) return false;
    S->ascentAngle = degrees * RAD;
    Restart(S);
    return true;
}

namespace {

bool SetPort(MfdState *S, int n, bool own) {
    if (!S || !IsVessel(S->targetRef)) return false;
    const int count = PortCount(own ? S->vesselHandle : S->targetRef);
    if (count <= 0) return false;
    if (n < 0) n = 0;
    if (n > count) n = count;
    (own ? S->ownPort : S->targetPort) = n;
    TuneNavRadio(S);
    Restart(S);
    return true;
}

}  // namespace

bool SetOwnPort(MfdState *S, int n) { return SetPort(S, n, true); }
bool SetTargetPort(MfdState *S, int n) { return SetPort(S, n, false); }

bool SetDockDistance(MfdState *S, const DistanceInput &in) {
    if (!S) return false;
    for (int k = 0; k < 3; ++k) {
        if (!in.select[k]) continue;
        const double v = in.fromCurrent[k] ? S->targetRelPos.data[k] : in.value[k];
        if (!std::isfinite(v)) return false;
    }
    for (int k = 0; k < 3; ++k)
        if (in.select[k]) S->dockXyz.data[k] = in.fromCurrent[k] ? S->targetRelPos.data[k] : in.value[k];
    Restart(S);
    return true;
}

bool SetAlignVelocity(MfdState *S) {
    if (!S) return false;
    S->alignVelocityRequest = true;
    return true;
}

bool SetSwapPosition(TessarcMFD *mfd, int n) {
    if (!mfd || n < 1 || n > kMaxPositions) return false;
    return SwapMfdPositions(mfd->summarySlot, n - 1, mfd->position);
}

bool SetMaxRates(TessarcMFD *mfd, const RatesInput &in) {
    if (!mfd) return false;
    VesselRecord *record = RecordForSlot(mfd->summarySlot);
    if (!record) return false;
    ThrusterProfile *P = nullptr;
    for (int p = 0; p < kMaxPositions && !P; ++p)
        if (record->states[p]) P = record->states[p]->profile;
    if (!P) return true;
    for (int k = 0; k < 3; ++k)
        if (!std::isfinite(in.value[k])) return false;
    double *limit = in.linear ? P->approachSpeed : P->rateLimit;
    const double unit = in.linear ? 1.0 : RAD;
    if (in.reset) {
        VECTOR3 d = VesselClassLimits(P->vessel, in.linear ? kClassApproachSpeeds : kClassRates);
        for (int k = 0; k < 3; ++k) limit[k] = d.data[k];
    } else if (in.direct) {
        for (int k = 0; k < 3; ++k) limit[k] = std::fabs(in.value[k]) * unit;
    } else {
        for (int k = 0; k < 3; ++k) {
            const double v = std::fabs(in.value[k]) * unit;
            if (in.select[k] && v < limit[k]) limit[k] = v;
        }
    }
    return true;
}

// --- typed text --------------------------------------------------------------------

bool ApplyDialogText(TessarcMFD *mfd, MfdState *S, DialogKind kind, const char *text) {
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
