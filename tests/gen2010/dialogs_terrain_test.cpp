// The landing dialogs in the 2010 host generation, which has no terrain model:
// pads and manual locations lie on the mean radius.
#include <cmath>

#include "mfd/dialogs_landing.h"

namespace {

// The Moon's terrain is built, then the host runs as the 2010 one (its own table
// of the drawing surface): the module must ignore a terrain it cannot ask for.
class LandingDialogs2010 : public pilot::LandingDialogs {
protected:
    void SetUp() override { runAsVersion = 100830; }
};

TEST_F(LandingDialogs2010, TargetElevationIgnoresTheTerrain) { FlyLanding(false); }

}  // namespace
