// Module-wide globals, the module reset and the 0.1 s autopilot scheduler.
#include "frame/registry_storage.h"
#include "frame/state.h"

int modeId = 0;
bool moduleActive = false;
int liveMfdCount = 0;
uint32_t pendingAttachMask = 0;
uint32_t storedPositionMask = 0;
double schedLastTime = 0.0;
double schedNextTime = 0.0;

// Interval of the autopilot passes, seconds of simulation time.
static const double kPassInterval = 0.1;

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
    // What no MFD object and no open input box can point at any more is freed.
    FreeUnreachableForgotten();
}

void SchedulerPostStep(double simt, double simdt) {
    if (!moduleActive) return;
    if (ForgottenObjectCount() > 0) FreeUnreachableForgotten();
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
