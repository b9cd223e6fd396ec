// A landing picked up where the world no longer matches its plan: a scenario
// loaded at another date than it was saved at, say, puts the target elsewhere
// under the vessel and the plan's clock out of step with the vessel. Whether the
// trajectory in flight still fits, the braking planned afresh from the present
// state, and the check that a plan made in flight is within the vessel's reach;
// and a pilot's stop that would hover the tank dry.
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
// can fly (PlanWithinReach, landing/trajectory.h).
bool ReplanBraking(MfdState *S, LandingStepValues &V);

// A braking, approach or final phase that has no attitude frame of its own yet (it
// was just read from a scenario) takes up the one held when it was saved (refAtt),
// so the attitude turns from where the vessel points rather than at once.
void ResumeAttitudeFrame(MfdState *S);

// The pilot's stop (phases 3 and 5) hovers on the tank: once what is left only
// just carries the vessel down from here, the stop ends rather than hovering dry
// and falling. Near the target in the final phase it sets down where it is
// (finalDescent); true when the approach is to be planned afresh from the hover
// instead (phase 2 set: the caller measures again).
bool EndStopBeforeTheTankRunsDry(MfdState *S, const LandingStepValues &V);

#endif  // TESSARC_LANDING_RESUME_H
