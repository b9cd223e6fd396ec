// The buffered-key operation: page switching, the summary page's commands, the
// mode selection and every command of the mode pages.
#include "mfd/keys.h"

#include "control/attitude.h"
#include "control/burn.h"
#include "control/docking.h"
#include "control/holds.h"
#include "control/modes.h"
#include "control/thrusters.h"
#include "frame/registry.h"
#include "frame/state.h"
#include "landing/autopilot.h"
#include "landing/takeover.h"
#include "landing/target.h"
#include "mfd/buttons.h"
#include "mfd/commands.h"
#include "mfd/dialogs.h"
#include "mfd/setters.h"
#include "mfd/view.h"

namespace {

enum KeyResult { KEY_TAKEN, KEY_REFUSED, KEY_NO_COMMAND };

KeyResult Taken(bool ok = true) { return ok ? KEY_TAKEN : KEY_REFUSED; }

// M, / and the extra key beside left Shift.
KeyResult PageKey(MfdView *mfd) {
    MfdState *S = mfd->state;
    if (!S || StateBusy(S)) {
        mfd->summaryShown = !mfd->summaryShown;
    } else if (mfd->summaryShown) {
        mfd->summaryShown = false;
    } else {
        S->modePage = !S->modePage;
    }
    return KEY_TAKEN;
}

// Keys with a meaning of their own on the summary page; KEY_NO_COMMAND for the others.
KeyResult SummaryKey(MfdView *mfd, DWORD key) {
    const bool drawn = mfd->summarySlot >= 0;
    switch (key) {
        case KEY_LEFT:
            if (drawn) ReleaseSummaryVessel(mfd->summarySlot);
            return KEY_TAKEN;
        case KEY_RIGHT:
            if (drawn) {
                AttachViewToSlot(mfd, mfd->summarySlot);
                mfd->summaryShown = false;
            }
            return KEY_TAKEN;
        case KEY_H:
        case KEY_SPACE:
            if (drawn) StopAllAutopilots(mfd->summarySlot);
            return KEY_TAKEN;
        case KEY_R:
            return Taken(!drawn || OpenDialog(mfd, DIALOG_RATES));
        case KEY_S:
            return Taken(!drawn || OpenDialog(mfd, DIALOG_SWAP));
        case KEY_A:
            return Taken(OpenDialog(mfd, DIALOG_CUTOFF));
        case KEY_P: {
            VesselRecord *record = drawn ? RecordForSlot(mfd->summarySlot) : nullptr;
            MfdState *T = record ? record->states[mfd->position] : nullptr;
            if (T) T->landingPrecision = (T->landingPrecision + 1) % 3;
            return KEY_TAKEN;
        }
        default:
            return KEY_NO_COMMAND;
    }
}

// The angle dialogs of Velocity, Relative and Attitude; the delta-v dialogs of
// Direct Burn.
KeyResult AngleOrBurnKey(MfdView *mfd, DialogKind angle, DialogKind burn) {
    MfdState *S = mfd->state;
    if (S->refMode <= AP_ATTITUDE) return Taken(OpenDialog(mfd, angle));
    if (S->refMode == AP_DIRECT_BURN) return Taken(!StateBusy(S) && OpenDialog(mfd, burn));
    return KEY_TAKEN;
}

KeyResult ModeSelectKey(MfdState *S, DWORD key) {
    if (S->modePage && !S->holdOn) SelectMode(S, S->refMode, static_cast<int>(key - KEY_1));
    return KEY_TAKEN;
}

KeyResult TranslationKey(MfdState *S, DWORD key) {
    if (S->refMode != AP_RELATIVE && S->refMode != AP_DOCKING) return KEY_TAKEN;
    switch (key) {
        case KEY_END: ToggleTranslationAxis(S, 0); break;
        case KEY_PGDN: ToggleTranslationAxis(S, 1); break;
        case KEY_PGUP: ToggleTranslationAxis(S, 2); break;
        case KEY_INSERT: ToggleTranslationAxis(S, kTransAxesNone); break;
        default: ToggleTranslationAxis(S, S->transAxes != kTransAxesAll ? kTransAxesAll : kTransAxesNone); break;
    }
    return KEY_TAKEN;
}

// --- the keys of the mode pages, one function each (mode: the state's refMode,
// busy: StateBusy when the key came)

KeyResult HoverKey(MfdView *mfd, DWORD) {  // E
    MfdState *S = mfd->state;
    if (StateBusy(S)) return KEY_REFUSED;
    S->landingPhase = LANDING_WAIT;
    S->landingRefusal = 0;
    if (S->refMode == AP_LANDING) S->useHover = !S->useHover;
    ResetRateFilter(S, 0);
    return KEY_TAKEN;
}

KeyResult RecalcOrRollKey(MfdView *mfd, DWORD) {  // R
    MfdState *S = mfd->state;
    if (S->refMode == AP_LANDING) {
        if (ResumeStoppedDescent(S)) return KEY_TAKEN;  // a stopped descent goes on
        if (StateBusy(S) || S->landingPhase != LANDING_WAIT) return KEY_REFUSED;
        S->landingRecalc = true;
        S->landingRefusal = 0;
        return KEY_TAKEN;
    }
    return AngleOrBurnKey(mfd, DIALOG_ROLL, DIALOG_DV_OUTWARD);
}

KeyResult TargetKey(MfdView *mfd, DWORD) {  // T
    const int mode = mfd->state->refMode;
    if (mode == AP_LANDING) return Taken(OpenDialog(mfd, DIALOG_LOCATION));
    if (StateBusy(mfd->state)) return KEY_REFUSED;
    if (mode == AP_VELOCITY || mode == AP_RELATIVE || mode == AP_DOCKING) return Taken(OpenDialog(mfd, DIALOG_TARGET));
    if (mode == AP_DIRECT_BURN) return Taken(OpenDialog(mfd, DIALOG_BURN_TIME));
    return KEY_TAKEN;
}

KeyResult YawKey(MfdView *mfd, DWORD) { return AngleOrBurnKey(mfd, DIALOG_YAW, DIALOG_DV_PLANE); }  // Y

KeyResult InclinationOrAlignKey(MfdView *mfd, DWORD) {  // I
    MfdState *S = mfd->state;
    if (S->refMode == AP_ASCENT) return Taken(OpenDialog(mfd, DIALOG_INCLINATION));
    if (S->alignVelocityRequest) {
        S->alignVelocityRequest = false;
        return KEY_TAKEN;
    }
    return Taken(OpenDialog(mfd, DIALOG_ALIGN_VELOCITY));
}

KeyResult RollModeKey(MfdView *mfd, DWORD) {  // O
    CycleRollMode(mfd->state);
    ResetRateFilter(mfd->state, 0);
    return KEY_TAKEN;
}

KeyResult PadOrPitchKey(MfdView *mfd, DWORD) {  // P
    const MfdState *S = mfd->state;
    if (S->refMode == AP_LANDING) {
        if (oapiGetObjectType(S->targetRef) != OBJTP_SURFBASE || oapiGetBasePadCount(S->targetRef) < 1)
            return KEY_REFUSED;
        return Taken(OpenDialog(mfd, DIALOG_PAD));
    }
    return AngleOrBurnKey(mfd, DIALOG_PITCH, DIALOG_DV_PROGRADE);
}

KeyResult BrakeKey(MfdView *mfd, DWORD) {  // A
    MfdState *S = mfd->state;
    if (S->refMode == AP_LANDING) S->landBrake = !S->landBrake;
    return KEY_TAKEN;
}

// The descent profile, only on the Landing page and only before the descent:
// the fuel check and the brake point follow at the next step, so a refusal of
// the other profile is cleared as for the engine choice.
KeyResult DescentKey(MfdView *mfd, DWORD) {  // Q
    MfdState *S = mfd->state;
    if (S->refMode != AP_LANDING) return KEY_NO_COMMAND;
    if (!DescentChoiceOpen(S)) return KEY_REFUSED;
    S->landingDescent = S->landingDescent == DESCENT_EFFICIENT ? DESCENT_SPECIFIED : DESCENT_EFFICIENT;
    S->landingRefusal = 0;
    return KEY_TAKEN;
}

KeyResult PortOrInvertKey(MfdView *mfd, DWORD) {  // D
    MfdState *S = mfd->state;
    if (S->refMode == AP_DOCKING) return Taken(!StateBusy(S) && OpenDialog(mfd, DIALOG_TARGET_PORT));
    if (S->refMode == AP_LANDING) {
        S->invertRotation = !S->invertRotation;
        ResetRateFilter(S, 0);
    }
    return KEY_TAKEN;
}

KeyResult FollowKey(MfdView *mfd, DWORD) {  // F
    MfdState *S = mfd->state;
    if (StateBusy(S)) return KEY_REFUSED;
    if (S->refMode == AP_VELOCITY) S->targetSet = !S->targetSet;
    ResetRateFilter(S, 0);
    return KEY_TAKEN;
}

KeyResult GoKey(MfdView *mfd, DWORD) {  // G
    MfdState *S = mfd->state;
    const int mode = S->refMode;
    if (mode == AP_DOCKING) ToggleDockingApproach(S);
    if (mode == AP_LANDING) S->graphStyle = S->graphStyle + 2 > 3 ? 1 : S->graphStyle + 2;
    if (mode == AP_DIRECT_BURN) ToggleBurnArmed(S);
    return KEY_TAKEN;
}

KeyResult HoldKey(MfdView *mfd, DWORD) {  // H, space
    MfdState *S = mfd->state;
    const bool wasOn = S->holdOn;
    ToggleAttitudeHold(S);
    // The pilot engages again in the braking or the approach: the trajectory's
    // clock ran on while the vessel flew free, so it is planned afresh from where
    // the vessel is.
    if (S->refMode == AP_LANDING && !wasOn && S->holdOn &&
        (S->landingPhase == LANDING_BRAKE || S->landingPhase == LANDING_APPROACH))
        S->landingPhase = LANDING_REPLAN;
    // Its limit holds from the press on: no frame runs at a factor set before it.
    if (S->refMode == AP_LANDING && !wasOn && S->holdOn) ApplyLandingWarpLimit(S);
    return KEY_TAKEN;
}

KeyResult SpinKey(MfdView *mfd, DWORD) {  // K
    MfdState *S = mfd->state;
    if (S->refMode != AP_VELOCITY) return KEY_TAKEN;
    if (StateBusy(S)) return KEY_REFUSED;
    SetSpinMode(S, 1);
    return KEY_TAKEN;
}

KeyResult ElevationSpinOrPortKey(MfdView *mfd, DWORD) {  // L
    MfdState *S = mfd->state;
    const int mode = S->refMode;
    const bool busy = StateBusy(S);
    if (mode == AP_LANDING) return Taken(S->landingPhase != LANDING_FINAL && OpenDialog(mfd, DIALOG_ELEVATION));
    if (mode == AP_VELOCITY) {
        if (busy) return KEY_REFUSED;
        SetSpinMode(S, 2);
    }
    if (mode == AP_DOCKING) return Taken(!busy && OpenDialog(mfd, DIALOG_OWN_PORT));
    return KEY_TAKEN;
}

KeyResult DistanceOrSyncKey(MfdView *mfd, DWORD) {  // X
    MfdState *S = mfd->state;
    if (S->refMode == AP_DOCKING) return Taken(OpenDialog(mfd, DIALOG_DISTANCE));
    if (S->refMode == AP_DIRECT_BURN) {
        if (StateBusy(S)) return KEY_REFUSED;
        ToggleTransXSync(S);
    }
    return KEY_TAKEN;
}

KeyResult InsertKey(MfdView *mfd, DWORD) {  // C
    ToggleOrbitInsert(mfd->state);
    return KEY_TAKEN;
}

KeyResult ReadoutKey(MfdView *mfd, DWORD) {  // V
    MfdState *S = mfd->state;
    if (S->refMode == AP_RELATIVE || S->refMode == AP_DOCKING) S->showSetAttitude = !S->showSetAttitude;
    return KEY_TAKEN;
}

KeyResult BaseOrCaptureKey(MfdView *mfd, DWORD) {  // B
    MfdState *S = mfd->state;
    if (StateBusy(S)) return KEY_REFUSED;
    if (S->refMode == AP_ATTITUDE) {
        CaptureCurrentAttitude(S);
        return KEY_TAKEN;
    }
    return Taken(OpenDialog(mfd, S->refMode == AP_LANDING ? DIALOG_LANDING_BASE : DIALOG_REFERENCE));
}

KeyResult RadioKey(MfdView *mfd, DWORD) {  // N
    if (mfd->state->refMode == AP_DOCKING) TuneNavRadio(mfd->state);
    return KEY_TAKEN;
}

KeyResult ModeKey(MfdView *mfd, DWORD key) { return ModeSelectKey(mfd->state, key); }  // 1 to 5
KeyResult TrimKey(MfdView *mfd, DWORD key) { return TranslationKey(mfd->state, key); }  // End ... Delete
KeyResult NoOperation(MfdView *, DWORD) { return KEY_TAKEN; }

// Every key a mode page has a command for. 6 and 7 (Direct Burn and Ascent) are
// not offered; S and the arrows do nothing there.
struct StateKeyCommand {
    DWORD key;
    KeyResult (*run)(MfdView *mfd, DWORD key);
};
const StateKeyCommand kStateKeys[] = {
    {KEY_1, ModeKey},        {KEY_2, ModeKey},         {KEY_3, ModeKey},
    {KEY_4, ModeKey},        {KEY_5, ModeKey},         {KEY_6, NoOperation},
    {KEY_7, NoOperation},    {KEY_E, HoverKey},        {KEY_R, RecalcOrRollKey},
    {KEY_T, TargetKey},      {KEY_Y, YawKey},          {KEY_I, InclinationOrAlignKey},
    {KEY_O, RollModeKey},    {KEY_P, PadOrPitchKey},   {KEY_A, BrakeKey},
    {KEY_S, NoOperation},    {KEY_D, PortOrInvertKey}, {KEY_F, FollowKey},
    {KEY_G, GoKey},          {KEY_H, HoldKey},         {KEY_SPACE, HoldKey},
    {KEY_K, SpinKey},        {KEY_L, ElevationSpinOrPortKey}, {KEY_X, DistanceOrSyncKey},
    {KEY_C, InsertKey},      {KEY_V, ReadoutKey},      {KEY_B, BaseOrCaptureKey},
    {KEY_N, RadioKey},       {KEY_Q, DescentKey},      {KEY_END, TrimKey},       {KEY_PGDN, TrimKey},
    {KEY_PGUP, TrimKey},     {KEY_INSERT, TrimKey},    {KEY_DELETE, TrimKey},
    {KEY_LEFT, NoOperation}, {KEY_RIGHT, NoOperation},
};

const StateKeyCommand *StateKeyCommandOf(DWORD key) {
    for (const StateKeyCommand &c : kStateKeys)
        if (c.key == key) return &c;
    return nullptr;
}

// Keys of the mode pages.
KeyResult StateKey(MfdView *mfd, DWORD key) {
    const StateKeyCommand *c = StateKeyCommandOf(key);
    return c != nullptr ? c->run(mfd, key) : KEY_NO_COMMAND;
}

KeyResult Dispatch(MfdView *mfd, DWORD key) {
    // Without a state the MFD shows a vessel that found every slot taken: no key
    // may act, on it or on another vessel.
    if (!mfd->state) return KEY_NO_COMMAND;
    switch (key) {
        case KEY_M:
        case KEY_SLASH:
        case KEY_OEM_102:
            return PageKey(mfd);
        case KEY_BACK:
            mfd->summaryShown = !mfd->summaryShown;
            return KEY_TAKEN;
        case KEY_UP:
        case KEY_DOWN:
            if (mfd->summaryShown) mfd->summaryLine += (key == KEY_UP) ? -1 : 1;
            mfd->summaryShown = true;
            return KEY_TAKEN;
        case KEY_ENTER:
            return KEY_TAKEN;
        case KEY_TAB:
            return Taken(OpenDialog(mfd, DIALOG_REMOTE));
        default:
            break;
    }
    if (mfd->summaryShown) {
        KeyResult r = SummaryKey(mfd, key);
        if (r != KEY_NO_COMMAND) return r;
    }
    return StateKey(mfd, key);
}

}  // namespace

bool HandleMfdKey(MfdView *mfd, DWORD key) {
    if (!mfd || key < 2 || key > 211) return false;
    return Dispatch(mfd, key) == KEY_TAKEN;
}
