// The 0.1 s autopilot scheduler behind opcPostStep and the module reset.
#ifndef TESSARC_FRAME_SCHEDULER_H
#define TESSARC_FRAME_SCHEDULER_H

#include <cstdint>

struct VesselRecord;

// Simulation time of the last pass and of the next one due, s.
extern double schedLastTime;
extern double schedNextTime;

// One scheduler pass's work for one vessel.
void UpdateVessel(VesselRecord *record, double simt, double simdt, int slot);

// Module reset: globals cleared, all positions unmapped, all slots forgotten.
void ResetModule();
// The 0.1 s scheduler behind opcPostStep.
void SchedulerPostStep(double simt, double simdt);
// Before a frame of simdt seconds: the levels of every vessel an autopilot drives
// are fitted to it (FitLevelsToFrame).
void SchedulerPreStep(double simdt);
// The host announced a new time acceleration, before any frame runs at it: the
// Landing and Docking modes' limits act on it at once (their steps would act only
// after a frame at the new factor).
void SchedulerWarpChanged();

#endif  // TESSARC_FRAME_SCHEDULER_H
