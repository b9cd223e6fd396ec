// Landing trajectory planning: the next close pass over the target, the brake
// point, the braking trajectory to the final-approach gate, the brake schedule
// with the waiting attitude, and the approach re-plan after braking. The
// trajectories themselves are in landing/trajectory.h.
#ifndef TESSARC_LANDING_PLANNING_H
#define TESSARC_LANDING_PLANNING_H

struct MfdState;
struct LandingStepValues;

// m above the target where the approach ends (landingParams[0], until the final
// phase keeps its entry height there).
const double kApproachEndHeight = 30.0;

// m/s the fuel check asks beyond the descent's planned delta-v.
const double kFuelMarginDv = 25.0;

// m/s of closing speed below which an approach is planned from rest (and a
// vessel far short of the target in the final phase counts as stalled).
const double kSlowClosing = 2.0;

// Phase 0, before the measurements are published: the predicted pass replaces
// them. True when a pass was found; its surface point comes back in lonP, latP.
bool PassageSearch(MfdState *S, LandingStepValues &V, double *lonP, double *latP);
// Phase 0 after publishing: brake point, braking plan and schedule. Returns true
// when the brake must start now (the caller goes on as phase 8); false when the
// step ends here (waiting, or a planning failure that switched the hold off).
bool PlanBraking(MfdState *S, LandingStepValues &V, bool passValid, double lonP, double latP);
// The braking trajectory for the state predicted at tb s from now, stored with
// its check, delta-v and fuel; false (refused, hold off, phase 0) without one.
bool BrakingPlan(MfdState *S, LandingStepValues &V, double tb);
// ... the standard descent's braking only (the efficient descent's law not tried).
bool StandardBrakingPlan(MfdState *S, LandingStepValues &V, double tb);
// Phase 2: the approach trajectory from the present measurements. False (hold off,
// phase 0) when it has no solution.
bool ReplanApproach(MfdState *S, const LandingStepValues &V);

// s: the approach planned from a hover here, crossing at a gentle acceleration to
// where the approach ends and settling there.
double RestApproachTime(const MfdState *S, const LandingStepValues &V);

#endif  // TESSARC_LANDING_PLANNING_H
