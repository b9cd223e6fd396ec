// The switches that engage and disengage the holds: HOLD, the translation-hold
// axes and everything off at once. They stand above the laws they switch.
#include "control/holds.h"

#include "control/attitude.h"
#include "control/thrusters.h"
#include "frame/state.h"

namespace {

bool TargetIsVessel(const MfdState *S) { return S->targetRef && oapiIsVessel(S->targetRef); }

}  // namespace

void ToggleTranslationAxis(MfdState *S, int axis) {
    if (!TargetIsVessel(S)) axis = kTransAxesNone;
    if (S->lockedOut) return;
    if (S->dockApOn && (S->ownPort == 0 || S->targetPort == 0)) {
        if (axis != kTransAxesNone) axis = kTransAxesAll;
        if (S->axisMask != 0) S->axisMask = kAxisMaskAll;
    }
    if (axis >= 0 && axis <= 2) {
        const uint32_t bit = 1u << axis;
        if (S->axisMask & bit) {
            S->axisMask &= ~bit;
            S->linCmd.data[axis] = 0.0;
            S->vessel->SetAttitudeLinLevel(axis, 0.0);
        } else {
            S->axisMask |= bit;
        }
    } else if (axis == kTransAxesAll) {
        S->axisMask = kAxisMaskAll;
    } else {
        // kTransAxesNone (and anything unknown) switches the whole hold off.
        S->axisMask = 0;
    }
    if (S->axisMask < 1 || S->axisMask > kAxisMaskAll) {
        TranslationHoldOff(S);
    } else {
        S->transAxes = TransAxesFromMask(S->axisMask);
    }
}

void AllAutopilotsOff(MfdState *S) {
    S->holdOn = false;
    S->transAxes = kTransAxesNone;
    S->axisMask = 0;
    S->burnArmed = false;
    AttitudeGroupsOff(S->profile);
    ReleaseEngines(S);
}

void ToggleAttitudeHold(MfdState *S) {
    if (S->lockedOut) return;
    S->landingRefusal = 0;  // the pilot has acted: a refusal shown so far is answered
    if (S->holdOn)
        AttitudeGroupsOff(S->profile);
    else
        ChooseEulerConvention(S);
    if (S->refMode == AP_LANDING) {
        if (!S->holdOn) {
            // A landing that starts here and is refused on its first step gives back
            // the engines as they were (one resumed in flight never does).
            for (int g = THGROUP_MAIN; g <= THGROUP_HOVER; ++g)
                S->engageLevels[g] = S->vessel ? S->vessel->GetThrusterGroupLevel(static_cast<THGROUP_TYPE>(g)) : 0.0;
            S->engaging = S->landingPhase == LANDING_WAIT;
            S->landingFlags &= ~kLandPilotHover;
            S->holdOn = true;
            return;
        }
        // A second press stops a descent in flight; a third resumes it.
        if (S->landingFlags & kLandStopping) {
            S->landingFlags &= ~kLandStopping;
        } else if (S->landingPhase >= LANDING_REPLAN && S->landingPhase <= LANDING_FINAL) {
            S->landingFlags |= kLandStopping;
            return;
        }
    }
    S->holdOn = !S->holdOn;
    ReleaseEngines(S);
}
