// One landing of the campaign, flown in the simulated host with the plug-in
// linked in, the pilot pressing the Landing page's keys as a person would.
#ifndef TESSARC_CAMPAIGN_FLY_H
#define TESSARC_CAMPAIGN_FLY_H

#include "campaign/dispersion.h"

namespace campaign {

// Flies the start to its end (touchdown, refusal, loss or the time allowed).
// Uses the process's simulated host: one landing per process at a time.
Result FlyLanding(const Start &start);

}  // namespace campaign

#endif  // TESSARC_CAMPAIGN_FLY_H
