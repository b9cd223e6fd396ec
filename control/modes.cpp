// Velocity, Relative and Attitude modes; mode selection and per-mode memory.
#include "control/modes.h"

#include <cstdio>
#include <cstring>

#include "control/attitude.h"
#include "control/math.h"
#include "frame/state.h"

namespace {

bool IsVessel(OBJHANDLE h) { return h && oapiIsVessel(h); }

// The target's position and velocity relative to the vessel, in vessel axes.
void TrackTargetInVesselAxes(MfdState *S, const MATRIX3 &R) {
    VECTOR3 p, v;
    oapiGetRelativePos(S->targetRef, S->vesselHandle, &p);
    oapiGetRelativeVel(S->targetRef, S->vesselHandle, &v);
    S->targetRelPos = MatTVec(R, p);
    S->targetRelVel = MatTVec(R, v);
    S->targetRelSpeed = length(S->targetRelVel);
}

}  // namespace

int ModeSlot(int mode) {
    switch (mode) {
    case AP_VELOCITY: return 0;
    case AP_RELATIVE:
    case AP_DOCKING: return 1;
    case AP_ATTITUDE: return 2;
    case AP_LANDING: return 3;
    default: return -1;
    }
}

void UpdateVelocityMode(MfdState *S) {
    const bool targetIsVessel = IsVessel(S->targetRef);
    if (S->targetRef == S->bodyRef || !targetIsVessel) S->targetSet = false;
    if (!S->targetSet || S->spinMode != 0) {
        const VECTOR3 h = CrossProduct(S->relPos, S->relVel);
        S->refAtt = AxesToEuler(S->relVel, h, 0);
    } else {
        VECTOR3 v, p;
        oapiGetRelativeVel(S->targetRef, S->bodyRef, &v);
        oapiGetRelativePos(S->targetRef, S->bodyRef, &p);
        S->refAtt = AxesToEuler(v, CrossProduct(p, v), 0);
    }
    // The translation hold cancels targetRelVel along the vessel's axes, so a
    // vessel target is tracked as in Relative mode: its position and velocity
    // relative to this vessel, in vessel axes.
    if (targetIsVessel && S->targetRef != S->vesselHandle) {
        MATRIX3 R;
        S->vessel->GetRotationMatrix(R);
        TrackTargetInVesselAxes(S, R);
    }
    S->attitudeAngles = ErrorAnglesFromMatrix(S);
}

void UpdateRelativeMode(MfdState *S) {
    MATRIX3 R;
    S->vessel->GetRotationMatrix(R);
    VECTOR3 p;
    oapiGetRelativePos(S->targetRef, S->vesselHandle, &p);
    S->targetRelPos = p;
    const VECTOR3 h = CrossProduct(S->relPos, S->relVel);
    S->refAtt = AxesToEuler(p, h, 0);
    S->attitudeAngles = ErrorAnglesFromMatrix(S);
    S->targetRelPos = MatTVec(R, p);
    if (S->targetRef != S->vessel->GetGravityRef()) {
        VECTOR3 v;
        oapiGetRelativeVel(S->targetRef, S->vesselHandle, &v);
        S->targetRelVel = MatTVec(R, v);
    } else {
        VECTOR3 air = _V(0, 0, 0);
        S->vessel->GetShipAirspeedVector(air);
        S->targetRelVel = air;
    }
    S->targetRelSpeed = length(S->targetRelVel);
}

void SelectMode(MfdState *S, int oldMode, int newMode) {
    const int from = ModeSlot(oldMode);
    if (from >= 0) {
        RefSlot &slot = S->refSlot[from];
        slot.refAtt = S->refAtt;
        slot.relAtt = S->relAtt;
        slot.target = S->targetRef;
        std::snprintf(slot.targetName, sizeof(slot.targetName), "%s", S->targetRefName);
    }
    if (newMode >= 0 && newMode <= AP_ASCENT) {
        const int to = ModeSlot(newMode);
        if (to >= 0) {
            const RefSlot &slot = S->refSlot[to];
            S->refAtt = slot.refAtt;
            S->relAtt = slot.relAtt;
            S->targetRef = slot.target;
            std::snprintf(S->targetRefName, sizeof(S->targetRefName), "%s", slot.targetName);
        }
        switch (newMode) {
        case AP_VELOCITY:
        case AP_RELATIVE:
        case AP_ATTITUDE:
        case AP_DIRECT_BURN: S->rollMode = 1; break;
        case AP_LANDING:
        case AP_ASCENT: S->rollMode = 0; break;
        default: break;  // Docking keeps the roll mode
        }
    }
    S->refMode = newMode;
    ChooseEulerConvention(S);
    S->modePage = false;
}

void SetSpinMode(MfdState *S, int mode) { S->spinMode = (mode == 0 || mode == S->spinMode) ? 0 : mode; }
