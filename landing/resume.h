// A landing picked up where the world no longer matches its plan: a scenario
// loaded at another date than it was saved at, say, puts the target elsewhere
// under the vessel and the plan's clock out of step with the vessel. Whether the
// trajectory in flight still fits, the braking planned afresh from the present
// state, and the check that a plan made in flight is within the vessel's reach.
#ifndef TESSARC_LANDING_RESUME_H
#define TESSARC_LANDING_RESUME_H

struct MfdState;
struct LandingStepValues;

// Phases 1 and 3: the stored trajectory still describes the flight: its clock has
// started, and (once it has run a little) the tracking does not ask for more
// correction than the engine group's whole acceleration.
bool PlanFits(const MfdState *S, const LandingStepValues &V);

// Phase 1 from the present state: a braking trajectory to the final-approach gate
// that starts now. False, refused with the reason, when there is none the vessel
// can fly (PlanWithinReach).
bool ReplanBraking(MfdState *S, LandingStepValues &V);

// The trajectory just stored, checked from its start: its largest acceleration is
// within reach of the engine group's and the tank pays for it, if need be out of
// the hover reserve. Otherwise the landing is refused ("target out of reach", "not
// enough fuel") and false comes back.
bool PlanWithinReach(MfdState *S, const LandingStepValues &V);

// A braking, approach or final phase that has no attitude frame of its own yet (it
// was just read from a scenario) takes up the one held when it was saved (refAtt),
// so the attitude turns from where the vessel points rather than at once.
void ResumeAttitudeFrame(MfdState *S);

#endif  // TESSARC_LANDING_RESUME_H
