// Touchdown: the limits of a soft first contact with the ground, the highest
// engine cut-off they allow, and the judgement of each first contact.
#ifndef TESSARC_LANDING_TOUCHDOWN_H
#define TESSARC_LANDING_TOUCHDOWN_H

struct MfdState;
struct LandingStepValues;

// A first contact faster than either limit is a hard contact.
const double kHardContactVertical = 3.0;    // m/s, downwards
const double kHardContactHorizontal = 2.0;  // m/s, along the ground

// Ground contact as the last landing step saw it (MfdState::contactState).
// CONTACT_HARD_PENDING: a first contact faster than the limits, not yet at rest.
enum ContactState { CONTACT_UNKNOWN = 0, CONTACT_AIRBORNE = 1, CONTACT_GROUND = 2, CONTACT_HARD_PENDING = 3 };

// m: the highest engine cut-off (either sign) the surface of the vessel's gravity
// body allows: a fall from it, starting at rest, meets the ground at
// kHardContactVertical. Standard gravity stands in for a state without a vessel.
double CutoffAltitudeLimit(const MfdState *S);

// Follows the vessel's contact with the ground from one landing step to the next.
// True once for a first contact (the previous landing step, just before, saw the
// vessel off the ground) faster than the touchdown limits, when the vessel rests
// on the ground or is still on it at the next step (a crest brushed in passing
// does not count). A host may hold the vessel still on the very step it touches,
// so the surface speeds of the previous step count as well as this step's.
bool HardContact(MfdState *S, const LandingStepValues &V);

#endif  // TESSARC_LANDING_TOUCHDOWN_H
