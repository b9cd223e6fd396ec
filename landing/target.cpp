// The landing target: a surface base, one of its pads, a landed vessel or a
// surface location, and the height above the target the descent aims at.
#include "landing/target.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "control/attitude.h"
#include "frame/names.h"
#include "frame/state.h"
#include "frame/terrain.h"

namespace {

// Bytes of a name looked up: the longest line an input box gives and its NUL.
const size_t kLandingNameMax = 256;

// A new setting: the filter starts afresh, and a refusal shown so far is answered.
void Restart(MfdState *S) {
    ResetRateFilter(S, 0);
    S->landingRefusal = 0;
}

// A landing target moved: a final descent begun over the old one does not go on.
void NewLandingTarget(MfdState *S) {
    S->finalDescent = false;
    Restart(S);
}

bool IsVessel(OBJHANDLE h) { return h && oapiIsVessel(h); }

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

OBJHANDLE LandingBaseByIndex(const MfdState *S, int n) {
    return S && n > 0 ? oapiGetBaseByIndex(S->bodyRef, n - 1) : nullptr;
}

OBJHANDLE LandingTargetByName(const MfdState *S, const char *name) {
    if (!S || !name || !name[0]) return nullptr;
    char buf[kLandingNameMax];
    std::snprintf(buf, sizeof buf, "%s", name);
    OBJHANDLE base = oapiGetBaseByName(S->bodyRef, buf);
    if (base) return base;
    // A vessel carrying exactly the name comes first: the host's lookup ignores
    // letter case and could give "Alpha" for "ALPHA".
    OBJHANDLE exact = VesselByExactName(buf);
    return exact ? exact : oapiGetObjectByName(buf);
}

bool SetLandingTarget(MfdState *S, OBJHANDLE obj) {
    if (!S || !obj) return false;
    // The last pass searched for was over another place.
    const bool elsewhere = obj != S->targetRef || S->manualTarget;
    S->manualTarget = 0;
    S->targetRef = obj;
    ObjectNameInto(obj, S->targetRefName, sizeof S->targetRefName);
    S->landingPhase = LANDING_WAIT;
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
    NewLandingTarget(S);
    if (elsewhere) S->landingRecalc = true;
    return true;
}

int BasePadCount(OBJHANDLE base) {
    if (!base || oapiGetObjectType(base) != OBJTP_SURFBASE) return 0;
    return static_cast<int>(oapiGetBasePadCount(base));
}

bool SetPad(MfdState *S, int n) {
    if (!S) return false;
    if (IsVessel(S->targetRef)) {
        S->padIndex = 0;
        return true;
    }
    const int count = BasePadCount(S->targetRef);
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
    NewLandingTarget(S);
    return true;
}

bool SetManualLocation(MfdState *S, double lonDeg, double latDeg) {
    if (!S || !std::isfinite(lonDeg) || !std::isfinite(latDeg)) return false;
    S->manualTarget = 1;
    S->padIndex = -1;
    S->targetLon = lonDeg * RAD;
    S->targetLat = latDeg * RAD;
    S->elevation = TargetElevation(S->bodyRef, S->targetLon, S->targetLat);
    NewLandingTarget(S);
    S->landingRecalc = true;
    return true;
}

void KeepLandingPlace(MfdState *S) {
    if (!S) return;
    S->manualTarget = 1;
    S->padIndex = -1;
    S->targetRef = S->bodyRef;
    ObjectNameInto(S->bodyRef, S->targetRefName, sizeof S->targetRefName);
}

bool ElevationWithinBody(const MfdState *S, double metres) {
    if (!S || !S->bodyRef || !std::isfinite(metres)) return false;
    return std::fabs(metres) <= oapiGetSize(S->bodyRef);
}

bool SetLandingElevation(MfdState *S, double metres) {
    if (!S || !std::isfinite(metres)) return false;
    const double elevation = TargetElevation(S->bodyRef, S->targetLon, S->targetLat) + metres;
    if (!ElevationWithinBody(S, elevation)) return false;
    S->elevation = elevation;
    Restart(S);
    return true;
}

