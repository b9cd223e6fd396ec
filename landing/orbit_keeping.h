// Keeping the orbit against the air while the landing waits for its pass.
#ifndef TESSARC_LANDING_ORBIT_KEEPING_H
#define TESSARC_LANDING_ORBIT_KEEPING_H

struct MfdState;
struct LandingStepValues;

// The waiting step, after the brake point is planned. Engaged over a body with
// air, once the drag measured now would take the orbit's lowest point into dense
// air before the pass, the orbit's energy is held where it was then: short
// prograde burns of the landing engines near the orbit's highest point make good
// what the air takes, under the active time-acceleration limit, and the fuel
// check counts them (refused "not enough fuel" when the tank cannot pay for both).
// Anywhere else (hold off, no air, no pass) it forgets the orbit it kept.
void KeepOrbit(MfdState *S, LandingStepValues &V);

#endif  // TESSARC_LANDING_ORBIT_KEEPING_H
