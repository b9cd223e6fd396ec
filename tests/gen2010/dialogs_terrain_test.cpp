// The landing dialogs in the 2010 host generation, which has no terrain model:
// pads and manual locations lie on the mean radius.
#include <cmath>

#include "mfd/dialogs_landing.h"

namespace {

class LandingDialogs2010 : public pilot::LandingDialogs {};

TEST_F(LandingDialogs2010, TargetElevationIgnoresTheTerrain) { FlyLanding(false); }

}  // namespace
