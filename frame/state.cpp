// The state record's initialiser: every default, in an order where later values
// are derived from earlier ones.
#include "frame/state.h"

#include <cstdio>
#include <cstring>

#include "frame/names.h"

namespace {

// 200 s in days.
const double kBurnLeadDays = 0.0023148148148148147;

VECTOR3 Vec(double x, double y, double z) {
    VECTOR3 v;
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}

void SetLandingDefaults(MfdState *S) {
    S->padIndex = 0;
    S->graphStyle = 1;
    S->landingRecalc = false;
    S->landingPrecision = 1;
    S->landingDescent = DESCENT_SPECIFIED;
    S->forceLand = false;
    S->landBrake = true;
    S->cutoffAlt = 0.2;
    S->useHover = true;
    static const double params[6] = {30.0, -25.0, 1.0, 60.0, 25.0, 15.0};
    for (int i = 0; i < 6; ++i) S->landingParams[i] = params[i];
    S->passTime = -1.0;
}

void SetBurnAndAscentDefaults(MfdState *S) {
    S->ascentAngle = 66.0 * RAD;
    S->ascentAlt = 50000.0;
    S->burnMjd = oapiGetSimMJD() + kBurnLeadDays;
    S->burnDv = Vec(10.0, 0.0, 0.0);
    S->burnDvLeft = Vec(10.0, 0.0, 0.0);
}

}  // namespace

void InitMfdState(MfdState *S, const char *vesselName, ThrusterProfile *profile) {
    if (!S) return;
    // Everything not named below starts at zero; the position belongs to the creator.
    const int32_t position = S->position;
    const OBJHANDLE known = S->vesselHandle;
    *S = MfdState();
    S->position = position;

    S->debugLineUntil = oapiGetSysTime();
    S->debugLineSet = false;

    S->vesselName = vesselName;
    // Names alike up to the length the host gives out belong to different vessels:
    // the handle the state already had decides.
    S->vesselHandle = VesselNamed(known, vesselName) ? known : VesselByExactName(vesselName);
    S->vessel = S->vesselHandle ? oapiGetVesselInterface(S->vesselHandle) : nullptr;

    S->lastStepTime = oapiGetSimTime() - 0.1;

    S->holdOn = false;
    S->showSetAttitude = false;
    S->transAxes = kTransAxesNone;
    S->axisMask = 0;

    S->bodyRef = S->vessel ? S->vessel->GetGravityRef() : nullptr;
    ObjectNameInto(S->bodyRef, S->bodyRefName, sizeof S->bodyRefName);
    S->targetRef = S->bodyRef;
    std::snprintf(S->targetRefName, sizeof S->targetRefName, "%s", S->bodyRefName);
    S->targetSet = false;

    S->refMode = AP_VELOCITY;
    S->ownPort = (S->vessel && S->vessel->DockCount() != 0) ? 1 : 0;
    S->targetPort = 0;

    SetLandingDefaults(S);
    SetBurnAndAscentDefaults(S);
    S->dockXyz = Vec(0.0, 0.0, 500.0);
    S->profile = profile;
    S->eulerConvention = 2;
    S->attDeadband = 0.0005 * RAD;
    S->warmUp = true;
    for (int m = 0; m < 4; ++m) {
        S->refSlot[m].target = S->bodyRef;
        std::snprintf(S->refSlot[m].targetName, sizeof S->refSlot[m].targetName, "%s", S->bodyRefName);
    }

    S->modePage = true;
}
