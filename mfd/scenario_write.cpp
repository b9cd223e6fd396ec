// Writing an MFD's scenario block: its position, then one group of lines for
// every registered vessel that has a state at that position. Angles go out in
// degrees. Writing leaves every state as it is.
#include "mfd/scenario.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "control/math.h"
#include "control/profile.h"
#include "frame/names.h"
#include "frame/registry.h"
#include "frame/state.h"
#include "mfd/view.h"

namespace {

// One line: the key as written (with its indentation) and a formatted value.
#if defined(__GNUC__)
void Put(FILEHANDLE scn, StatusKey key, const char *fmt, ...) __attribute__((format(printf, 3, 4)));
#endif
void Put(FILEHANDLE scn, StatusKey key, const char *fmt, ...) {
    char item[32];
    std::snprintf(item, sizeof item, "%s", StatusKeyText(key));
    char value[kStatusLineMax + 1];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(value, sizeof value, fmt, ap);
    va_end(ap);
    oapiWriteScenario_string(scn, item, value);
}

// A value as the block can hold it: within kStatusValueLimit of zero (a value
// the guidance carried beyond it is written as the limit, not as a number that
// the reader drops), and 0 for one that is not a number.
double B(double v) {
    if (!(v == v)) return 0.0;
    return v > kStatusValueLimit ? kStatusValueLimit : v < -kStatusValueLimit ? -kStatusValueLimit : v;
}

// Length of a name field up to its NUL, never beyond the field.
int NameLength(const char *name, size_t field) { return name ? static_cast<int>(strnlen(name, field)) : 0; }

void PutAngles(FILEHANDLE scn, StatusKey key, const VECTOR3 &a) {
    Put(scn, key, "%0+8.6f %0+8.6f %0+8.6f", B(a.x * DEG), B(a.y * DEG), B(a.z * DEG));
}

void PutLanding(FILEHANDLE scn, const MfdState *S) {
    if (S->padIndex == -1) {
        Put(scn, STATUS_PADBASE, "%i,%0+11.6f %0+11.6f", -1, B(S->targetLon * DEG), B(S->targetLat * DEG));
    } else {
        Put(scn, STATUS_PADBASE, "%i,%.*s", static_cast<int>(S->padIndex),
            NameLength(S->targetRefName, sizeof S->targetRefName), S->targetRefName);
    }
    Put(scn, STATUS_ELEVATION, "%0.1f", B(S->elevation));
    Put(scn, STATUS_GRAPHSTYLE, "%i", static_cast<int>(S->graphStyle));
    Put(scn, STATUS_PORIG, "%0+8.6f %0+8.6f %0+8.6f %.6f %i %i %i", B(S->refPointLon * DEG), B(S->refPointLat * DEG),
        B(S->approachHeading * DEG), B(S->brakeStartMjd), static_cast<int>(S->landingPhase),
        static_cast<int>(S->invertRotation), static_cast<int>(S->useHover));
    const double *c = S->landingCoefs;
    Put(scn, STATUS_COEFS, "%.6e %.6e %.6e %.6e %.6e %.6e", B(c[0]), B(c[1]), B(c[2]), B(c[3]), B(c[4]), B(c[5]));
    const double *k = S->landingConsts;
    Put(scn, STATUS_CONST, "%.3f %.3f %.3f %.3f %.3f %.3f", B(k[0]), B(k[1]), B(k[2]), B(k[3]), B(k[4]), B(k[5]));
    double w[7];
    for (int i = 0; i < 7; ++i) w[i] = B(S->landingWork[kSavedLandingWork[i]]);
    Put(scn, STATUS_DISPL, "%.3f %.3f %.3f %.3f %.3f %.3f %.3f", w[0], w[1], w[2], w[3], w[4], w[5], w[6]);
}

// The " REMOTE" line of a vessel, when its name fits a line that reads back;
// otherwise the debug line says the vessel is not saved. True when written.
bool PutRemote(FILEHANDLE scn, const char *vesselName) {
    const int length = NameLength(vesselName, kVesselNameSize);
    if (length == 0) return false;
    if (static_cast<size_t>(length) > kStatusVesselNameMax) {
        std::snprintf(oapiDebugString(), kDebugLineSize,
                      "TessarcMFD: not saved, a name longer than %d characters: %.*s...",
                      static_cast<int>(kStatusVesselNameMax), kDebugNameShown, vesselName);
        return false;
    }
    Put(scn, STATUS_REMOTE, "%.*s", length, vesselName);
    return true;
}

void PutVesselGroup(FILEHANDLE scn, const char *vesselName, const MfdState *S) {
    if (!PutRemote(scn, vesselName)) return;
    const int mode = S->refMode;
    if (mode >= AP_VELOCITY && mode <= AP_ASCENT) Put(scn, STATUS_REFMODE, "%s", ModeWord(mode));
    const int bodyLen = NameLength(S->bodyRefName, sizeof S->bodyRefName);
    const int targetLen = NameLength(S->targetRefName, sizeof S->targetRefName);
    if (mode == AP_VELOCITY) Put(scn, STATUS_BODYREF, "%.*s", bodyLen, S->bodyRefName);
    if ((mode == AP_VELOCITY && S->targetSet) || mode == AP_RELATIVE)
        Put(scn, STATUS_TARGETREF, "%.*s", targetLen, S->targetRefName);
    if (mode == AP_DOCKING)
        Put(scn, STATUS_DOCKINGREF, "%i:%i,%.*s", static_cast<int>(S->ownPort), static_cast<int>(S->targetPort),
            targetLen, S->targetRefName);
    if (mode == AP_LANDING) PutLanding(scn, S);
    // A burn synchronised to another module's plan is not resumed from a file:
    // it comes back disarmed and without HOLD. The running flight keeps both.
    const bool syncedBurn = mode == AP_DIRECT_BURN && S->transXSync;
    const int hold = (S->holdOn && !syncedBurn) ? 1 : 0;
    if (mode == AP_DIRECT_BURN) {
        Put(scn, STATUS_BURNDATA1, "%.10f %.3f %.3f %.3f %d %d", B(S->burnMjd), B(S->burnDv.x), B(S->burnDv.y),
            B(S->burnDv.z),
            (S->burnArmed && !syncedBurn) ? 1 : 0, S->orbitInsert ? 1 : 0);
        const double *b = S->burnData3;
        Put(scn, STATUS_BURNDATA3, "%.3f %.3f %.3f %.3f", B(b[0]), B(b[1]), B(b[2]), B(b[3]));
    }
    if (mode == AP_ASCENT)
        Put(scn, STATUS_ASCDATA, "%i %.3f %.3f", static_cast<int>(S->ascentMode), B(S->ascentAlt),
            B(S->ascentAngle * DEG));
    PutAngles(scn, STATUS_REFATT, S->refAtt);
    PutAngles(scn, STATUS_RELATT, S->relAtt);
    Put(scn, STATUS_ACTIVEAP, "%i %i %i %i %i %i", hold, static_cast<int>(S->transAxes), S->dockApOn ? 1 : 0,
        static_cast<int>(S->eulerConvention), static_cast<int>(S->spinMode), static_cast<int>(S->rollMode));
    Put(scn, STATUS_DOCKXYZ, "%.3f %.3f %.3f", B(S->dockXyz.x), B(S->dockXyz.y), B(S->dockXyz.z));
    if (const ThrusterProfile *P = S->profile) {
        Put(scn, STATUS_RATES, "%.3f %.3f %.3f %.3f %.3f %.3f", B(P->rateLimit[0] * DEG),
            B(P->rateLimit[1] * DEG), B(P->rateLimit[2] * DEG), B(P->approachSpeed[0]), B(P->approachSpeed[1]),
            B(P->approachSpeed[2]));
    }
    if (S->landingPrecision >= 0 && S->landingPrecision <= 2)
        Put(scn, STATUS_LANDING, "%s", PrecisionWord(S->landingPrecision));
    // Only a profile other than the default is written: files of the default stay
    // as they were.
    if (S->landingDescent == DESCENT_EFFICIENT) Put(scn, STATUS_DESCENT, "%s", DescentWord(S->landingDescent));
    Put(scn, STATUS_CUTOFFALT, "%.2f", B(S->cutoffAlt));
    Put(scn, STATUS_FORCELAND, "%i", S->forceLand ? 1 : 0);
    Put(scn, STATUS_LANDBRAKE, "%i", S->landBrake ? 1 : 0);
}

// The group of the vessel in the slot, if it has a state at the position; true
// when one was written.
bool PutGroupOfSlot(FILEHANDLE scn, int slot, int position) {
    const VesselRecord *record = RecordForSlot(slot);
    if (!record || !record->states[position]) return false;
    PutVesselGroup(scn, record->name, record->states[position]);
    return true;
}

}  // namespace

void WriteMfdStatus(const MfdView *mfd, FILEHANDLE scn) {
    if (!mfd || !scn) return;
    const int position = mfd->position;
    Put(scn, STATUS_MFDINDEX, "%i", position);
    if (position < 0 || position >= kMaxPositions) return;
    // The focus vessel's group first, then the others in the host's list of
    // vessels (the order of the ships in the scenario), not in slot order: slots
    // are taken in the order vessels are met, and a reloaded file meets the focus
    // vessel first, so slot order would change from one save to the next. The
    // focus first keeps a remote vessel's group after it, so that a remote vessel
    // under HOLD is the one the display shows again after loading. A slot whose
    // vessel is not listed comes last.
    bool written[kMaxSlots] = {};
    const int focus = FindVesselSlot(oapiGetFocusObject());
    if (focus >= 0) written[focus] = PutGroupOfSlot(scn, focus, position);
    const int vessels = static_cast<int>(oapiGetVesselCount());
    for (int i = 0; i < vessels; ++i) {
        const int slot = FindVesselSlot(oapiGetVesselByIndex(i));
        if (slot >= 0 && !written[slot]) written[slot] = PutGroupOfSlot(scn, slot, position);
    }
    for (int slot = 0; slot < kMaxSlots; ++slot)
        if (!written[slot]) PutGroupOfSlot(scn, slot, position);
    // An MFD whose vessel found no free slot ends on that vessel's name alone, so
    // that after loading it shows that vessel again, not the last group's.
    if (!mfd->state) {
        char name[kVesselNameSize];
        ObjectNameInto(positionVessel[position], name, sizeof name);
        PutRemote(scn, name);
    }
}
