// The autopilot step: references, vessel state, the mode's update, attitude
// error and rates, the safety guards, and the thruster commands.
#include "frame/step.h"

#include <cmath>
#include <cstring>

#include "control/attitude.h"
#include "control/docking.h"
#include "control/holds.h"
#include "control/math.h"
#include "control/modes.h"
#include "control/thrusters.h"
#include "frame/names.h"
#include "frame/registry.h"
#include "frame/state.h"
#include "landing/autopilot.h"
#include "landing/takeover.h"
#include "landing/target.h"

namespace {

// True when the object under the handle no longer carries the remembered name
// (read and cut exactly as it was when it was remembered).
bool NameChanged(OBJHANDLE h, const char *remembered) {
    char name[sizeof(MfdState::targetRefName)];
    ObjectNameInto(h, name, sizeof name);
    return std::strncmp(name, remembered, sizeof name) != 0;
}

double WrapPi(double a) {
    if (a < -PI) return a + PI2;
    if (a > PI) return a - PI2;
    return a;
}

// A target lost for one of these reasons falls back to the reference body.
const uint32_t kLandingFallbackFlags = kLandNoBase | kLandTargetNotLanded | kLandTargetInvalid | kLandNoTarget;

// The error rate over the interval, with the wanted frame's jumps taken out. The
// error turns by the wanted frame's own rate less the vessel's rate; over the
// interval the vessel turned at the mean of its rates at both ends (the levels
// held since the last pass changed it evenly), so what the error did beyond
// that is the wanted frame's doing. That part changes slowly unless the wanted
// attitude itself was changed (a new target, a new phase, the approach switched
// on, a pilot's offset): a turn beyond its steady rate by more than a large error
// in one interval about any axis is such a jump. The jump is one rotation of the
// whole wanted frame, so on every axis the steady rate stands in for what was
// measured: the small part of a jump about one axis is no more a rate than the
// large part about another.
// The laws were made for passes 0.1 s apart, where the mean over the interval is
// the rate of 0.05 s ago. When passes are farther apart (a frame of 5 s at 100x)
// the mean lags by half the longer interval, and the laws, seeing a rate the
// vessel has long left, swing it from side to side; the vessel's own part is
// then carried forward to 0.05 s ago along its even change since the last pass.
VECTOR3 ErrorRate(MfdState *S, const VECTOR3 &meanErrorRate, bool timed) {
    VECTOR3 omega;
    S->vessel->GetAngularVel(omega);
    const VECTOR3 vesselMean = (omega + S->bodyRate) * 0.5;
    S->bodyRate = omega;
    if (!timed) return meanErrorRate;
    const double lagShare = 1.0 - kPassInterval / PassInterval();
    const VECTOR3 vesselRate = lagShare > 0.0 ? vesselMean + (omega - vesselMean) * lagShare : vesselMean;
    const VECTOR3 frameRate = meanErrorRate + vesselMean;
    const VECTOR3 steady = SteadyWantedRate(S, frameRate);
    for (int c = 0; c < 3; ++c)
        if (std::fabs(frameRate.data[c] - steady.data[c]) * S->stepDt > kLargeErrorAngle) return steady - vesselRate;
    return frameRate - vesselRate;
}

// Attitude error and its rates. The first step after (re)initialisation has
// stepDt 0: its rates are set to zero rather than divided by it; warm-up keeps
// them from being acted on.
void MeasureAttitudeError(MfdState *S) {
    const bool timed = S->stepDt > 0.0;
    std::memcpy(S->framePrev, S->frameNow, sizeof(S->frameNow));
    QuatToArray(ErrorQuaternion(S), S->frameNow);
    // q and -q are the same rotation: the rate is taken from the nearer of the two,
    // so that a change of sign between steps is not read as a half turn.
    double hemi = 0.0;
    for (int i = 0; i < 4; ++i) hemi += S->frameNow[i] * S->framePrev[i];
    const double sign = hemi < 0.0 ? -1.0 : 1.0;
    for (int i = 0; i < 4; ++i)
        S->frameRates[i] = timed ? (S->frameNow[i] - sign * S->framePrev[i]) / S->stepDt : 0.0;
    const Quat frame = QuatFromArray(S->frameNow);
    S->attitudeAngles = QuatToEuler(frame, S->eulerConvention);
    S->errorRates = SpikeFilter(S, ErrorRate(S, QuatRateToOmega(frame, QuatFromArray(S->frameRates), true), timed));
    for (int c = 0; c < 3; ++c) {
        S->attErrorDelta.data[c] = WrapPi(S->attitudeAngles.data[c] - S->angles.data[c]);
        S->angleRates.data[c] = timed ? S->attErrorDelta.data[c] / S->stepDt : 0.0;
    }
    S->angles = S->attitudeAngles;
}

// A re-initialisation drops every engaged autopilot: the engines they set go off
// first, and so do the attitude thrusters of the holds this position drove (the
// levels stay where the last pass set them otherwise). The fresh state runs its
// first step.
void StopAndInit(MfdState *S) {
    if ((S->holdOn || S->transAxes != kTransAxesNone) && !S->lockedOut) AttitudeGroupsOff(S->profile);
    S->holdOn = false;
    ReleaseEngines(S);
    InitMfdState(S, S->vesselName, S->profile);
    FirstStep(S);
}

// The debug line of the landing autopilot goes when its time is up.
void ClearDebugLine(MfdState *S) {
    if (S->debugLineSet && oapiGetSysTime() > S->debugLineUntil) {
        oapiDebugString()[0] = '\0';
        S->debugLineUntil = oapiGetSysTime();
        S->debugLineSet = false;
    }
}

// References still valid? A re-initialisation runs its own (warm-up) step; this
// step then goes on with the fresh state, so the control rights hold for it from
// this pass on.
void CheckReferences(MfdState *S) {
    if (NameChanged(S->targetRef, S->targetRefName)) {
        if (S->manualTarget || (S->landingFlags & kLandingFallbackFlags)) {
            S->targetRef = S->bodyRef;
            std::memcpy(S->targetRefName, S->bodyRefName, sizeof(S->targetRefName));
        } else if (S->refMode == AP_LANDING) {
            // A landed vessel aimed at was deleted: letting go mid-descent would
            // drop the lander, so it lands where the vessel stood.
            KeepLandingPlace(S);
        } else {
            StopAndInit(S);
        }
    }
    if (NameChanged(S->bodyRef, S->bodyRefName)) StopAndInit(S);
}

// The holds let go at once (the ISS control mode, a new docking): HOLD and the
// translation hold off, the attitude groups at 0, no docking approach.
void DropHolds(MfdState *S) {
    S->holdOn = false;
    ToggleTranslationAxis(S, kTransAxesNone);
    AttitudeGroupsOff(S->profile);
    S->dockApOn = false;
}

// The pass's time and the vessel's orientation and position.
void ReadVessel(MfdState *S, double simt) {
    S->stepDt = simt - S->lastStepTime;
    S->lastStepTime = simt;
    S->vessel->GetGlobalOrientation(S->globalOrientation);
    S->vessel->GetGlobalPos(S->globalPos);
    S->vessel->GetRelativePos(S->bodyRef, S->relPos);
    S->vessel->GetRelativeVel(S->bodyRef, S->relVel);
}

// The update of the selected mode.
void UpdateMode(MfdState *S) {
    switch (S->refMode) {
    case AP_VELOCITY: UpdateVelocityMode(S); break;
    case AP_RELATIVE: UpdateRelativeMode(S); break;
    case AP_ATTITUDE: S->attitudeAngles = ErrorAnglesFromMatrix(S); break;
    case AP_DOCKING: UpdateDockingMode(S, S->stepDt); break;
    case AP_LANDING: LandingStep(S, S->stepDt); break;
    default: break;           // Direct Burn and Ascent hold what the pilot set
    }
}

// The rotation and translation commands of the pass, onto the thrusters while a
// hold is on.
void Command(MfdState *S) {
    if ((S->vessel->GetFlightStatus() & 1) && !LiftingOff(S)) AllAutopilotsOff(S);

    S->profile->cmdScale = (S->holdOn && S->transAxes != kTransAxesNone) ? 0.5 : 1.0;

    S->rotCmd = _V(0, 0, 0);
    if (S->holdOn) S->rotCmd = AttitudeController(S);

    S->linCmd = _V(0, 0, 0);
    if (S->refMode != AP_DOCKING)
        ApplyTranslationHold(S, S->targetRelVel);
    else
        DockingApproach(S);

    if (!S->holdOn && S->transAxes == kTransAxesNone) return;
    ApplyThrusterCommands(S->profile, S->rotCmd, S->linCmd);
}

}  // namespace

void AutopilotStep(MfdState *S, double simt, double /*simdt*/, uint32_t modeMask, uint32_t positionMask) {
    ClearDebugLine(S);
    CheckReferences(S);
    if (!S->vessel) return;  // the vessel itself is gone
    S->nonspherical = S->vessel->NonsphericalGravityEnabled() ? 1 : 0;

    // Only one MFD position drives the vessel.
    S->vesselModeMask = modeMask;
    S->vesselPosMask = positionMask;
    S->lockedOut = modeMask != 0 && (positionMask & PositionBit(S->position)) == 0;

    if (!S->holdOn && S->transAxes == kTransAxesNone) S->dockApOn = false;

    if (S->alignVelocityRequest) {
        DropHolds(S);
        AlignToVelocity(S);
        S->alignVelocityRequest = false;
    }

    ReadVessel(S, simt);
    if (!S->holdOn) ChooseEulerConvention(S);
    UpdateMode(S);
    MeasureAttitudeError(S);

    // A new docking ends the holds; an undocking changes nothing.
    if (S->profile->dockedCount > S->lastDockedCount) DropHolds(S);
    S->lastDockedCount = S->profile->dockedCount;
    // Whatever let go of the engines in this pass (the landing autopilot's own
    // refusals, another mode, a docking), they go off now.
    ReleaseEngines(S);

    if (oapiGetSysTime() < 0.1) return;
    if (S->warmUp) return;
    Command(S);
}

void FirstStep(MfdState *S) {
    if (S && S->vessel) AutopilotStep(S, S->lastStepTime, -1.0, S->vesselModeMask, S->vesselPosMask);
}
