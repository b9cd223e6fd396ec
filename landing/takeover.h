// Taking a vessel over from wherever its pilot flies it (hovering, low and slow,
// sinking, on a short arc, standing on the ground within a hop of the target),
// giving it back near the ground without taking away what holds it up, and the
// ground the host reports under it.
#ifndef TESSARC_LANDING_TAKEOVER_H
#define TESSARC_LANDING_TAKEOVER_H

struct MfdState;
struct LandingStepValues;

// s a pilot is given to act after the engines cut: below the height from which a
// fall of this long can still be stopped on full thrust before the ground, a
// release hands the vessel back hovering instead.
const double kPilotReaction = 10.0;
// m: the target's level and the host's ground agree within this.
const double kGroundAgree = 3.0;

// m above the ground below which a release hovers: a fall of kPilotReaction from
// the present sink, then a stop at the engine group's acceleration less gravity.
// 0 for a vessel whose engines cannot hold its weight.
double ReleaseHeight(const LandingStepValues &V);

// Every step, after the measurements: the hover a release would leave
// (hoverLevel, hoverGroup), and, once the vessel is handed back hovering, the
// hold of its vertical speed on that group until the pilot moves the throttle,
// engages again or touches the ground.
void UpdateHandOver(MfdState *S, const LandingStepValues &V);

// Phase 0, engaged: the vessel stands on the ground or its path meets the ground
// (the periapsis lies below the target), so the landing is planned from here
// rather than from a pass of its orbit.
bool TakeoverStart(const MfdState *S, const LandingStepValues &V);

// The same, asked of the host as HOLD is pressed, before a step has measured: the
// vessel touches the ground or its periapsis lies below the target's level.
bool EngagingTakeover(const MfdState *S);

// Plans the landing from the present state: the final phase when already over the
// target, a fresh approach from a hover, a slow flight or the ground (a hop),
// a braking to the final-approach gate when faster; sets the phase the step goes
// on with. False, refused with the reason (too fast this low, out of reach, not
// enough fuel), when no landing is possible from here.
bool TakeOverFromHere(MfdState *S, LandingStepValues &V);

// The final descent near the target flies on the host's own height over the
// ground where it disagrees with the target's level; the disagreement of the
// target's elevation with the host's ground is kept for the page.
void TrustHostGround(MfdState *S, LandingStepValues &V);

// The landing flies a vessel that still stands on the ground (a hop lifting off):
// the host's landed state does not switch it off.
bool LiftingOff(const MfdState *S);

// The pilot's resume of a stopped descent: the approach is planned afresh from
// the hover, the final phase goes on with its own law. False when nothing is stopped.
bool ResumeStoppedDescent(MfdState *S);

#endif  // TESSARC_LANDING_TAKEOVER_H
