// Reading an MFD's scenario block back. Each line changes the state the MFD is
// attached to at that moment; a "REMOTE" line attaches it to the named vessel
// (registering it), so the lines after it go to that vessel's state at this
// position. Values go in through the dialogs' setters where a setter exists.
#include "mfd/scenario.h"

#include <cstdio>
#include <cstring>

#include "control/docking.h"
#include "control/holds.h"
#include "control/modes.h"
#include "control/thrusters.h"
#include "frame/registry.h"
#include "frame/state.h"
#include "landing/target.h"
#include "mfd/buttons.h"
#include "mfd/setters.h"
#include "mfd/view.h"

namespace {

const int kNoIndex = -1000;

// Translation-hold axis mask (x 1, y 2, z 4) of a written axis code 0..7.
const uint32_t kMaskOfCode[8] = {1, 2, 4, 7, 3, 6, 5, 0};

int Int(double v) { return static_cast<int>(v); }

void SetAngles(VECTOR3 *a, const double *deg) {
    for (int k = 0; k < 3; ++k) a->data[k] = deg[k] * RAD;
}

// Translation hold to the written code: each axis switched the pilot's way, so a
// target that is not a vessel or a locked-out position keeps it off.
void RestoreTranslationHold(MfdState *S, int code) {
    if (code < 0 || code > kTransAxesNone) return;
    if (code == kTransAxesNone) {
        if (S->transAxes != kTransAxesNone) ToggleTranslationAxis(S, kTransAxesNone);
        return;
    }
    const uint32_t want = kMaskOfCode[code];
    if (want == kAxisMaskAll) {
        if (S->axisMask != kAxisMaskAll) ToggleTranslationAxis(S, kTransAxesAll);
        return;
    }
    for (int axis = 0; axis < 3; ++axis) {
        const uint32_t bit = 1u << axis;
        if ((S->axisMask & bit) != (want & bit)) ToggleTranslationAxis(S, axis);
    }
}

// "activeAP": HOLD, translation hold, docking approach, Euler convention, spin,
// roll mode. HOLD and the docking approach only go on (one already on stays on,
// whatever order the groups come in); translation hold and spin take the written
// setting; values that are none of their field's settings are passed over. The
// Euler convention is set by the reader once the block is read (see below).
void ApplyActiveAutopilots(MfdState *S, const StatusLine &L) {
    int v[6] = {0, 7, 0, 0, 0, 0};
    for (int i = 0; i < L.count && i < 6; ++i) v[i] = Int(L.value[i]);
    if (v[0] != 0 && !S->holdOn) ToggleAttitudeHold(S);
    // The approach engages translation hold on all axes; the written axes follow.
    if (v[2] != 0 && !S->dockApOn) ToggleDockingApproach(S);
    RestoreTranslationHold(S, v[1]);
    if (v[4] == 1 || v[4] == 2) {
        if (S->spinMode != v[4]) SetSpinMode(S, v[4]);
    } else if (v[4] == 0 && S->spinMode != 0) {
        SetSpinMode(S, 0);
    }
    if (v[5] >= 0 && v[5] <= 2) S->rollMode = v[5];
}

void ApplyPadBase(MfdState *S, const StatusLine &L) {
    const int index = Int(L.value[0]);
    if (index == -1) {
        S->manualTarget = 1;
        S->padIndex = -1;
        SetManualLocation(S, L.value[1], L.value[2]);
    } else if (SetLandingBase(S, L.name)) {
        SetPad(S, index);
    }
}

void ApplyRates(MfdState *S, const StatusLine &L) {
    RatesInput in;
    std::memset(&in, 0, sizeof in);
    in.direct = true;
    for (int k = 0; k < 3; ++k) in.value[k] = L.value[k];
    SetProfileRates(S->profile, in);
    in.linear = true;
    for (int k = 0; k < 3; ++k) in.value[k] = L.value[3 + k];
    SetProfileRates(S->profile, in);
}

// A decoded line of the landing setup into the state S; false for another key.
bool ApplyLandingLine(MfdState *S, const StatusLine &L) {
    const double *v = L.value;
    switch (L.key) {
        case STATUS_PADBASE:
            ApplyPadBase(S, L);
            return true;
        case STATUS_ELEVATION:
            if (ElevationWithinBody(S, v[0])) S->elevation = v[0];
            return true;
        case STATUS_GRAPHSTYLE:
            if (v[0] >= 0 && v[0] <= 3) S->graphStyle = Int(v[0]);
            return true;
        case STATUS_PORIG:
            if (v[4] < 0 || v[4] > 9) return true;  // no such landing phase
            S->refPointLon = v[0] * RAD;
            S->refPointLat = v[1] * RAD;
            S->approachHeading = v[2] * RAD;
            S->brakeStartMjd = v[3];
            S->landingPhase = Int(v[4]);
            S->invertRotation = v[5] != 0;
            S->useHover = v[6] != 0;
            return true;
        case STATUS_COEFS:
            for (int k = 0; k < 6; ++k) S->landingCoefs[k] = v[k];
            return true;
        case STATUS_CONST:
            for (int k = 0; k < 6; ++k) S->landingConsts[k] = v[k];
            return true;
        case STATUS_DISPL: {
            for (int k = 0; k < 7; ++k) S->landingWork[kSavedLandingWork[k]] = v[k];
            return true;
        }
        case STATUS_LANDING:
            S->landingPrecision = Int(v[0]);
            return true;
        case STATUS_CUTOFFALT:
            SetCutoffAltitude(S, v[0]);
            return true;
        case STATUS_FORCELAND:
            S->forceLand = v[0] != 0;
            return true;
        case STATUS_LANDBRAKE:
            S->landBrake = v[0] != 0;
            return true;
        case STATUS_DESCENT:
            S->landingDescent = Int(v[0]);
            return true;
        default:
            return false;
    }
}

// A decoded line of the Direct Burn or Ascent setup into the state S; false for
// another key.
bool ApplyBurnLine(MfdState *S, const StatusLine &L) {
    const double *v = L.value;
    switch (L.key) {
        case STATUS_BURNDATA:
            S->burnMjd = v[0];
            S->burnDv = _V(v[1], v[2], v[3]);
            SetAngles(&S->refAtt, v + 4);
            S->burnArmed = v[7] != 0;
            return true;
        case STATUS_BURNDATA1:
            S->burnMjd = v[0];
            S->burnDv = _V(v[1], v[2], v[3]);
            S->burnArmed = v[4] != 0;
            S->orbitInsert = v[5] != 0;
            return true;
        case STATUS_BURNDATA3:
            for (int k = 0; k < 4; ++k) S->burnData3[k] = v[k];
            return true;
        case STATUS_ASCDATA:
            if (v[0] >= 1 && v[0] <= 4) S->ascentMode = Int(v[0]);
            if (L.count > 1) S->ascentAlt = v[1];
            if (L.count > 2) S->ascentAngle = v[2] * RAD;
            return true;
        default:
            return false;
    }
}

// One decoded line into the state S.
void ApplyToState(MfdState *S, const StatusLine &L) {
    if (ApplyLandingLine(S, L) || ApplyBurnLine(S, L)) return;
    const double *v = L.value;
    switch (L.key) {
        case STATUS_REFMODE:
            S->refMode = Int(v[0]);
            break;
        case STATUS_BODYREF:
            if (SetReferenceBody(S, L.name)) SetTarget(S, L.name);
            break;
        case STATUS_TARGETREF:
            if (SetTarget(S, L.name) && S->refMode == AP_VELOCITY) S->targetSet = true;
            break;
        case STATUS_DOCKINGREF:
            if (SetTarget(S, L.name) && L.count == 2) {
                SetOwnPort(S, Int(v[0]));
                SetTargetPort(S, Int(v[1]));
            }
            break;
        case STATUS_REFATT:
            SetAngles(&S->refAtt, v);
            break;
        case STATUS_RELATT:
            SetAngles(&S->relAtt, v);
            break;
        case STATUS_ACTIVEAP:
            ApplyActiveAutopilots(S, L);
            break;
        case STATUS_DOCKXYZ: {
            DistanceInput in;
            std::memset(&in, 0, sizeof in);
            for (int k = 0; k < 3; ++k) {
                in.select[k] = true;
                in.value[k] = v[k];
            }
            SetDockDistance(S, in);
            break;
        }
        case STATUS_RATES:
            ApplyRates(S, L);
            break;
        default:
            break;
    }
}

}  // namespace

namespace {

// The Euler conventions a block names, per state. Every setter a later line
// calls chooses the convention afresh from the attitude of the moment, so the
// written one is set when the whole block has been read.
struct WrittenConventions {
    MfdState *state[kMaxSlots];
    int convention[kMaxSlots];
    int count;
};

void NoteConvention(WrittenConventions *w, MfdState *S, const StatusLine &L) {
    if (L.key != STATUS_ACTIVEAP || L.count < 4) return;
    const int c = Int(L.value[3]);
    if (c != 0 && c != 2) return;
    int i = 0;
    while (i < w->count && w->state[i] != S) ++i;
    if (i == kMaxSlots) return;
    w->state[i] = S;
    w->convention[i] = c;
    if (i == w->count) ++w->count;
}

}  // namespace

namespace {

// Length to which a vessel name longer than it was cut on the "REMOTE" line by
// earlier versions of this writer.
const size_t kCutRemoteName = 98;

// The vessel a "REMOTE" line names: the one carrying the name exactly, else, for
// a name of the length earlier writers cut longer names to, the only vessel whose
// name begins with it (twins alike that far are not guessed between).
OBJHANDLE SavedVessel(const char *name) {
    if (!name[0]) return nullptr;
    if (OBJHANDLE h = VesselByExactName(name)) return h;
    if (std::strlen(name) != kCutRemoteName) return nullptr;
    OBJHANDLE found = nullptr;
    char full[kVesselNameSize];
    const int count = static_cast<int>(oapiGetVesselCount());
    for (int i = 0; i < count; ++i) {
        OBJHANDLE h = oapiGetVesselByIndex(i);
        ObjectNameInto(h, full, sizeof full);
        if (std::strncmp(full, name, kCutRemoteName) != 0) continue;
        if (found) return nullptr;
        found = h;
    }
    return found;
}

// A slot an MFD took for its own vessel as the scenario was loading, before any
// block named that vessel: every state of it still on the mode page, with
// nothing engaged. The states a block restores have left the mode page, except
// `untouched`, which the block being read left it only for its lines before the
// first vessel group.
bool TakenOnlyByAnMfd(const VesselRecord *record, const MfdState *untouched) {
    if (!record || record->modeMask != 0) return false;
    for (const MfdState *S : record->states)
        if (S && S != untouched && (!S->modePage || StateBusy(S))) return false;
    return true;
}

// Makes room for a vessel a block names when every slot is taken: a slot that
// MFDs only took while loading is given up (its vessel is then told it has none),
// so that the vessels the file carries come back first. False when there is none.
bool FreeSlotTakenOnlyByAnMfd(MfdView *mfd, const MfdState *untouched) {
    for (int s = kMaxSlots - 1; s >= 0; --s) {
        VesselRecord *record = RecordForSlot(s);
        if (!TakenOnlyByAnMfd(record, untouched)) continue;
        for (const MfdState *S : record->states)
            if (S && S == mfd->state) mfd->state = nullptr;
        ReleaseVesselSlot(s, true);
        pendingAttachMask &= ~PositionBit(mfd->position);  // the block decides what this MFD shows
        return true;
    }
    return false;
}

const char kBlockEnd[] = "END_MFD";  // the line that closes an MFD's scenario block

}  // namespace

void ReadMfdStatus(MfdView *mfd, FILEHANDLE scn) {
    if (!mfd || !scn) return;
    WrittenConventions conventions;
    conventions.count = 0;
    int index = kNoIndex;
    bool applying = true;
    OBJHANDLE lastRemote = nullptr;
    bool unknownVessel = false;  // inside the group of a vessel that is not there
    // The state the MFD's creation gave it, while no vessel group has named it.
    const MfdState *untouched = (mfd->state && mfd->state->modePage && !StateBusy(mfd->state)) ? mfd->state : nullptr;
    char *line = nullptr;
    // The whole block is consumed even when it is not applied, up to its END_MFD:
    // the host's reader goes on past it into lines that are the host's own.
    while (oapiReadScenario_nextline(scn, line)) {
        if (line && std::strncmp(line, kBlockEnd, sizeof kBlockEnd - 1) == 0) break;
        if (!applying || !line) continue;
        StatusLine L;
        DecodeStatusLine(line, &L);
        if (L.key == STATUS_MFDINDEX) index = Int(L.value[0]);
        if (index != mfd->position) {
            applying = false;  // the lines of another MFD position
            continue;
        }
        if (L.key == STATUS_REMOTE) {
            lastRemote = SavedVessel(L.name);
            if (lastRemote && FindVesselSlot(lastRemote) < 0 && vesselSlotMask == kAllSlots)
                FreeSlotTakenOnlyByAnMfd(mfd, untouched);
            // The group of a vessel that cannot be shown is passed over whole
            // rather than applied to whichever state the MFD showed before.
            unknownVessel = !lastRemote || !AttachViewToVessel(mfd, lastRemote);
            if (mfd->state == untouched) untouched = nullptr;
        }
        if (unknownVessel || !mfd->state) continue;
        mfd->state->modePage = false;
        if (L.key != STATUS_REMOTE) ApplyToState(mfd->state, L);
        NoteConvention(&conventions, mfd->state, L);
    }
    for (int i = 0; i < conventions.count; ++i) conventions.state[i]->eulerConvention = conventions.convention[i];
    // The MFD shows a vessel whose HOLD is on, or else the focus vessel.
    if (mfd->state && mfd->state->holdOn) {
        if (lastRemote) AttachViewToVessel(mfd, lastRemote);
    } else if (VESSEL *focus = oapiGetFocusInterface()) {
        AttachViewToVessel(mfd, focus->GetHandle());
    }
}
