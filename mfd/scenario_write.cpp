// Writing an MFD's scenario block: its position, then one group of lines for
// every registered vessel that has a state at that position, in slot order.
// Angles go out in degrees. Writing leaves every state as it is.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "control/math.h"
#include "frame/state.h"
#include "mfd/scenario_lines.h"
#include "mfd/status.h"
#include "mfd/tessarc_mfd.h"

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

// Length of a name field up to its NUL, never beyond the field.
int NameLength(const char *name, size_t field) { return name ? static_cast<int>(strnlen(name, field)) : 0; }

void PutAngles(FILEHANDLE scn, StatusKey key, const VECTOR3 &a) {
    Put(scn, key, "%0+8.6f %0+8.6f %0+8.6f", a.x * DEG, a.y * DEG, a.z * DEG);
}

void PutLanding(FILEHANDLE scn, const MfdState *S) {
    if (S->padIndex == -1) {
        Put(scn, STATUS_PADBASE, "%i,%0+11.6f %0+11.6f", -1, S->targetLon * DEG, S->targetLat * DEG);
    } else {
        Put(scn, STATUS_PADBASE, "%i,%.*s", static_cast<int>(S->padIndex),
            NameLength(S->targetRefName, sizeof S->targetRefName), S->targetRefName);
    }
    Put(scn, STATUS_ELEVATION, "%0.1f", S->elevation);
    Put(scn, STATUS_GRAPHSTYLE, "%i", static_cast<int>(S->graphStyle));
    Put(scn, STATUS_PORIG, "%0+8.6f %0+8.6f %0+8.6f %.6f %i %i %i", S->refPointLon * DEG, S->refPointLat * DEG,
        S->approachHeading * DEG, S->brakeStartMjd, static_cast<int>(S->landingPhase),
        static_cast<int>(S->invertRotation), static_cast<int>(S->useHover));
    const double *c = S->landingCoefs;
    Put(scn, STATUS_COEFS, "%.6e %.6e %.6e %.6e %.6e %.6e", c[0], c[1], c[2], c[3], c[4], c[5]);
    const double *k = S->landingConsts;
    Put(scn, STATUS_CONST, "%.3f %.3f %.3f %.3f %.3f %.3f", k[0], k[1], k[2], k[3], k[4], k[5]);
    const double *w = S->landingWork;
    Put(scn, STATUS_DISPL, "%.3f %.3f %.3f %.3f %.3f %.3f %.3f", w[2], w[10], w[11], w[12], w[13], w[14], w[15]);
}

void PutVesselGroup(FILEHANDLE scn, const char *vesselName, const MfdState *S) {
    Put(scn, STATUS_REMOTE, "%.*s", NameLength(vesselName, sizeof(VesselRecord::name)), vesselName);
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
        Put(scn, STATUS_BURNDATA1, "%.10f %.3f %.3f %.3f %d %d", S->burnMjd, S->burnDv.x, S->burnDv.y, S->burnDv.z,
            (S->burnArmed && !syncedBurn) ? 1 : 0, S->orbitInsert ? 1 : 0);
        const double *b = S->burnData3;
        Put(scn, STATUS_BURNDATA3, "%.3f %.3f %.3f %.3f", b[0], b[1], b[2], b[3]);
    }
    if (mode == AP_ASCENT)
        Put(scn, STATUS_ASCDATA, "%i %.3f %.3f", static_cast<int>(S->ascentMode), S->ascentAlt, S->ascentAngle * DEG);
    PutAngles(scn, STATUS_REFATT, S->refAtt);
    PutAngles(scn, STATUS_RELATT, S->relAtt);
    Put(scn, STATUS_ACTIVEAP, "%i %i %i %i %i %i", hold, static_cast<int>(S->transAxes), S->dockApOn ? 1 : 0,
        static_cast<int>(S->eulerConvention), static_cast<int>(S->spinMode), static_cast<int>(S->rollMode));
    Put(scn, STATUS_DOCKXYZ, "%.3f %.3f %.3f", S->dockXyz.x, S->dockXyz.y, S->dockXyz.z);
    if (const ThrusterProfile *P = S->profile) {
        Put(scn, STATUS_RATES, "%.3f %.3f %.3f %.3f %.3f %.3f", P->rateLimit[0] * DEG, P->rateLimit[1] * DEG,
            P->rateLimit[2] * DEG, P->approachSpeed[0], P->approachSpeed[1], P->approachSpeed[2]);
    }
    if (S->landingPrecision >= 0 && S->landingPrecision <= 2)
        Put(scn, STATUS_LANDING, "%s", PrecisionWord(S->landingPrecision));
    Put(scn, STATUS_CUTOFFALT, "%.2f", S->cutoffAlt);
    Put(scn, STATUS_FORCELAND, "%i", S->forceLand ? 1 : 0);
    Put(scn, STATUS_LANDBRAKE, "%i", S->landBrake ? 1 : 0);
}

}  // namespace

void WriteMfdStatus(const TessarcMFD *mfd, FILEHANDLE scn) {
    if (!mfd || !scn) return;
    const int position = mfd->position;
    Put(scn, STATUS_MFDINDEX, "%i", position);
    if (position < 0 || position >= kMaxPositions) return;
    for (int slot = 0; slot < kMaxSlots; ++slot) {
        const VesselRecord *record = RecordForSlot(slot);
        if (record && record->states[position]) PutVesselGroup(scn, record->name, record->states[position]);
    }
}
