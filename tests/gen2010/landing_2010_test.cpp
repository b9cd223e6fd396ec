// A landing in the 2010 host generation: no terrain model, so the pad and the
// ground under it lie on the Moon's mean radius, where the autopilot aims.
#include <gtest/gtest.h>

#include "frame/state.h"
#include "landing/autopilot.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"
#include "support/surface_start.h"

namespace {

// The bundled lunar lander in a 2010 host, the Landing page on Brighton Beach.
void LandingAtBrightonBeach(flight::Flight &f) {
    f.world.hostVersion = 100830;
    ASSERT_TRUE(f.load("scenarios/lunar_landing.scn")) << f.error();
    flight::useLinkedPlugin(f);
    ASSERT_TRUE(f.open(0)) << f.error();
    for (const char *k : {"5", "B"}) ASSERT_TRUE(f.key(0, k));
    ASSERT_TRUE(f.type(0, "Brighton Beach"));
}

TEST(Landing2010, TouchesDownSoftlyOnThePadAtTheMeanRadius) {
    flight::Flight f;
    ASSERT_NO_FATAL_FAILURE(LandingAtBrightonBeach(f));
    ASSERT_TRUE(f.key(0, "P"));
    ASSERT_TRUE(f.type(0, "1"));
    MfdState *S = dynamic_cast<TessarcMFD *>(f.mfd(0))->state;
    OBJHANDLE moon = oapiGetGbodyByName(const_cast<char *>("Moon"));
    EXPECT_EQ(S->elevation, 0.0);
    EXPECT_EQ(oapiSurfaceElevation(moon, S->targetLon, S->targetLat), 0.0);
    ASSERT_TRUE(f.key(0, "H"));
    f.setWarp(100);
    ::Vessel *eagle = f.vessel("Eagle");
    while (f.simt() < 6000.0 && !eagle->touchedDown) f.run(S->landingPhase == LANDING_WAIT ? 50.0 : 2.0);
    ASSERT_TRUE(eagle->touchedDown) << "phase " << S->landingPhase << " flags " << S->landingFlags;
    EXPECT_GT(eagle->touchdownVs, -1.0);
    EXPECT_LT(eagle->touchdownHs, 0.5);
    double lon = 0, lat = 0, r = 0;
    f.iface("Eagle")->GetEquPos(lon, lat, r);
    EXPECT_LT(oapiOrthodome(lon, lat, S->targetLon, S->targetLat) * oapiGetSize(moon), 5.0);
}

// With no terrain the host's altitude over the mean radius is the height over the
// ground: an elevation typed 400 m up is shown as off the ground, and the lander,
// taken over hovering near the pad, comes down to the ground before its engines cut.
TEST(Landing2010, TheHostsAltitudeBeatsATypedElevation) {
    flight::Flight f;
    ASSERT_NO_FATAL_FAILURE(LandingAtBrightonBeach(f));
    MfdState *S = dynamic_cast<TessarcMFD *>(f.mfd(0))->state;
    flight::SurfaceStart at;
    at.dist = 200.0;
    at.height = 100.0;
    ASSERT_TRUE(flight::PlaceNear(f, "Eagle", "Moon", S->targetLon, S->targetLat, at));
    ASSERT_TRUE(f.key(0, "L"));
    ASSERT_TRUE(f.type(0, "400"));
    ASSERT_TRUE(f.key(0, "H"));
    f.run(3.0);
    f.draw(0);
    EXPECT_TRUE(f.screenContains(0, "elevation is off host ground")) << f.screenText(0);
    ::Vessel *eagle = f.vessel("Eagle");
    while (f.simt() < 3000.0 && !eagle->touchedDown) f.run(1.0);
    ASSERT_TRUE(eagle->touchedDown);
    EXPECT_GT(eagle->touchdownVs, -1.0);
}

}  // namespace
