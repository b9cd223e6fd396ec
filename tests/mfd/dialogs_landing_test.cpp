// The landing dialogs in the 2016 host generation: the target follows the terrain.
#include <cmath>

#include "dialogs_landing.h"

namespace {

class LandingDialogs2016 : public pilot::LandingDialogs {};

TEST_F(LandingDialogs2016, TargetElevationFollowsTheTerrain) { FlyLanding(true); }

}  // namespace
