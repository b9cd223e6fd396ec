// One landing of the campaign, flown in the simulated host with the plug-in
// linked in, the pilot pressing the Landing page's keys as a person would.
#ifndef TESSARC_CAMPAIGN_FLY_H
#define TESSARC_CAMPAIGN_FLY_H

#include <string>

#include "campaign/dispersion.h"

struct MfdState;
class Vessel;
namespace flight {
class Flight;
}

namespace campaign {

// How the campaign flies its starts, beyond what a start draws.
struct FlyOptions {
    // The tank carries this much more propellant (kg) in place of as much dry
    // mass: the lander weighs and flies the same, but the fuel check cannot
    // refuse, so what a descent really uses can be set against the prediction.
    double spareFuel = 0.0;
    double warp = 0.0;  // time acceleration the pilot asks for; 0: the start's own
    bool efficient = false;  // the pilot chooses the efficient descent profile before engaging
};

// Flies the start to its end (touchdown, refusal, loss or the time allowed).
// Uses the process's simulated host: one landing per process at a time.
Result FlyLanding(const Start &start, const FlyOptions &options = FlyOptions());
// A takeover start (start.kind not START_ORBIT) flown the same way.
Result FlyTakeover(const Start &start, const FlyOptions &options);

// The campaign's world with the lander of the class in it, flown at fps frames
// per second; null, with the reason, when there is none (or no tank to fill).
::Vessel *LoadLander(flight::Flight &f, const LanderClass &lc, double fps, std::string *reason);
// The pilot on display 0: the Landing page, the base, the pad and, when asked
// for, the efficient descent profile. False, with the reason, when one is refused.
bool SelectLanding(flight::Flight &f, const LanderClass &lc, int pad, const FlyOptions &options,
                   std::string *reason);

// The Landing page's status line as the pilot reads it on display 0.
std::string PageStatus(flight::Flight &f);
// The autopilot state of display 0; null without one.
MfdState *StateOf(flight::Flight &f);

}  // namespace campaign

#endif  // TESSARC_CAMPAIGN_FLY_H
