// The module reset and the 0.1 s autopilot scheduler, with the per-vessel work
// of each pass.
#include "frame/scheduler.h"

#include "control/docking.h"
#include "control/holds.h"
#include "control/profile.h"
#include "control/thrusters.h"
#include "frame/registry.h"
#include "frame/state.h"
#include "frame/step.h"
#include "landing/autopilot.h"
#include "mfd/tessarc_mfd.h"

double schedLastTime = 0.0;
double schedNextTime = 0.0;

void ResetModule() {
    schedNextTime = schedLastTime = 0.0;
    liveMfdCount = 0;
    moduleActive = false;
    pendingAttachMask = 0;
    storedPositionMask = 0;
    positionIdCursor = 0;
    for (int p = 0; p < kMaxPositions; ++p) positionVessel[p] = nullptr;
    for (int p = 0; p < kMaxPositions; ++p) positionIds[p] = p;
    ForgetAllSlots();
    vesselSlotMask = 0;
    SetStateStart(FirstStep);
    SetProfileStart(CreateThrusterProfile);
    // What no MFD object and no open input box can point at any more is freed.
    FreeUnreachableForgotten(StateReachable);
}

void SchedulerPostStep(double simt, double simdt) {
    if (!moduleActive) return;
    if (ForgottenObjectCount() > 0) FreeUnreachableForgotten(StateReachable);
    // Due on schedule, or at once when simulation time stood still or went back.
    if (!(simt >= schedNextTime || simt <= schedLastTime)) return;
    schedLastTime = simt;
    schedNextTime = simt + kPassInterval;
    for (int slot = 0; slot < kMaxSlots; ++slot) {
        // A position waiting for re-attachment holds the rest of the pass back.
        if (pendingAttachMask & PositionBit(slot)) return;
        if (vesselSlotMask & PositionBit(slot)) UpdateVessel(vesselRecords[slot], simt, simdt, slot);
    }
}

namespace {

// Something of the state drives its vessel: HOLD, a translation hold, an armed burn.
bool Engaged(const MfdState *S) { return S->holdOn || S->transAxes != kTransAxesNone || S->burnArmed; }

// Only one position drives a vessel. The lockout stands on the masks of the last
// pass, so two positions can engage between two passes (keys on two displays
// within one interval, a scenario with two engaged displays) and would then fight
// over the thrusters: the position that drove at the last pass keeps the vessel,
// else the lowest one, and the others let go.
void KeepOneDriver(VesselRecord *record) {
    int driver = -1;
    for (int p = 0; p < kMaxPositions; ++p) {
        const MfdState *S = record->states[p];
        if (!S || !Engaged(S)) continue;
        const bool drove = (record->positionMask & PositionBit(p)) != 0;
        if (driver < 0 || (drove && !(record->positionMask & PositionBit(driver)))) driver = p;
    }
    for (int p = 0; p < kMaxPositions; ++p) {
        MfdState *S = record->states[p];
        if (p != driver && S && Engaged(S)) AllAutopilotsOff(S);
    }
}

}  // namespace

void SchedulerPreStep(double simdt) {
    if (!moduleActive) return;
    // The levels a pass set are held until the next pass. A frame much longer than
    // the pass foresaw (time acceleration raised in between) would hold them the
    // whole of it: a translation meant to take 0.1 s of acceleration took 50 s
    // at 1000x and threw the ship kilometres off, a turn spun it up.
    for (int slot = 0; slot < kMaxSlots; ++slot) {
        const VesselRecord *record = (vesselSlotMask & PositionBit(slot)) ? vesselRecords[slot] : nullptr;
        if (record && record->modeMask != 0 && record->vesselHandle && oapiIsVessel(record->vesselHandle))
            FitLevelsToFrame(vesselProfiles[slot], simdt);
    }
}

void UpdateVessel(VesselRecord *record, double simt, double simdt, int slot) {
    if (!record) return;
    // A vessel deleted while the module was inactive still has its slot; its
    // interface is gone, so nothing of it may run.
    if (!record->vesselHandle || !oapiIsVessel(record->vesselHandle)) return;
    ThrusterProfile *profile = (slot >= 0 && slot < kMaxSlots) ? vesselProfiles[slot] : nullptr;
    if (profile && profile->vessel) RefreshThrusterProfile(profile);
    if (!record->stopAllRequest) KeepOneDriver(record);
    uint32_t newModes = 0, newPositions = 0;
    for (int p = 0; p < kMaxPositions; ++p) {
        MfdState *S = record->states[p];
        if (!S) continue;
        if (record->stopAllRequest) AllAutopilotsOff(S);
        if (S->holdOn) {
            newModes |= kModeBitHold;
            newPositions |= PositionBit(p);
        }
        if (S->transAxes != kTransAxesNone) {
            newModes |= PositionBit(S->transAxes);
            newPositions |= PositionBit(p);
        }
        if (S->burnArmed) {
            newModes |= kModeBitBurn;
            newPositions |= PositionBit(p);
        }
        if (S->vessel) AutopilotStep(S, simt, simdt, record->modeMask, record->positionMask);
    }
    record->modeMask = newModes;
    record->positionMask = newPositions;
    record->stopAllRequest = false;
}

void SchedulerWarpChanged() {
    if (!moduleActive) return;
    for (int slot = 0; slot < kMaxSlots; ++slot) {
        VesselRecord *record = (vesselSlotMask & PositionBit(slot)) ? vesselRecords[slot] : nullptr;
        if (!record || !record->vesselHandle || !oapiIsVessel(record->vesselHandle)) continue;
        for (int p = 0; p < kMaxPositions; ++p) {
            MfdState *S = record->states[p];
            if (!S || !S->vessel) continue;
            if (S->refMode == AP_LANDING) ApplyLandingWarpLimit(S);
            if (S->refMode == AP_DOCKING) ApplyDockingWarpLimit(S);
        }
    }
}
