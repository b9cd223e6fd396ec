// Landings flown in the simulated host: from low lunar orbit to pad 1 of
// Brighton Beach with the pilot's keys, and the engaged autopilot's refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "frame/state.h"
#include "landing/autopilot.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

class LandingFlight : public ::testing::Test {
protected:
    flight::Flight f;
    MfdState *S = nullptr;

    void SetUp() override {
        ASSERT_TRUE(f.load("scenarios/lunar_landing.scn")) << f.error();
        flight::useLinkedPlugin(f);
        ASSERT_TRUE(f.open(0)) << f.error();
        ASSERT_TRUE(f.key(0, "5"));
        ASSERT_TRUE(f.key(0, "B"));
        ASSERT_TRUE(f.type(0, "Brighton Beach"));
        ASSERT_TRUE(f.key(0, "P"));
        ASSERT_TRUE(f.type(0, "1"));
        TessarcMFD *m = dynamic_cast<TessarcMFD *>(f.mfd(0));
        ASSERT_NE(m, nullptr);
        S = m->state;
        ASSERT_NE(S, nullptr);
        f.run(1);
    }

    // Ground distance from the vessel to pad 1, m.
    double MissFromPad() {
        OBJHANDLE moon = oapiGetGbodyByName(const_cast<char *>("Moon"));
        OBJHANDLE base = oapiGetBaseByName(moon, const_cast<char *>("Brighton Beach"));
        double plon = 0, plat = 0, lon = 0, lat = 0, rad = 0;
        oapiGetBasePadEquPos(base, 0, &plon, &plat);
        f.iface("Eagle")->GetEquPos(lon, lat, rad);
        return oapiOrthodome(lon, lat, plon, plat) * oapiGetSize(moon);
    }
};

TEST_F(LandingFlight, BrakesApproachesAndTouchesDownOnPadOne) {
    ::Vessel *eagle = f.vessel("Eagle");
    const double fuel0 = eagle->propellantMass();
    const double t0 = f.simt();
    ASSERT_TRUE(f.key(0, "H"));
    f.setWarp(100);

    // Phases seen on the way, and the time acceleration each allowed.
    bool seen[10] = {};
    double warpIn[10] = {};
    double minHeightBeforeFinal = 1e9;
    while (f.simt() - t0 < 6000.0 && S->landingPhase != LANDING_LANDED) {
        f.run(S->landingPhase == LANDING_WAIT ? 50.0 : 2.0);
        const int ph = S->landingPhase;
        ASSERT_TRUE(ph >= 0 && ph <= 9);
        ASSERT_NE(ph, LANDING_NO_SOLUTION) << "flags " << S->landingFlags;
        if (ph == LANDING_WAIT) {
            ASSERT_TRUE(S->holdOn) << "planning refused: flags " << S->landingFlags;
        }
        seen[ph] = true;
        warpIn[ph] = std::fmax(warpIn[ph], oapiGetTimeAcceleration());
        if (ph < LANDING_FINAL) minHeightBeforeFinal = std::fmin(minHeightBeforeFinal, S->landingWork[2]);
    }
    ASSERT_EQ(S->landingPhase, LANDING_LANDED);
    EXPECT_TRUE(seen[LANDING_BRAKE] && seen[LANDING_APPROACH] && seen[LANDING_FINAL]);
    EXPECT_LE(warpIn[LANDING_WAIT], 100.0);
    EXPECT_LE(warpIn[LANDING_BRAKE], 10.0);
    EXPECT_LE(warpIn[LANDING_APPROACH], 10.0);
    EXPECT_LE(warpIn[LANDING_FINAL], 1.0);
    // The approach never went below the target level before the final phase.
    EXPECT_GT(minHeightBeforeFinal, 0.0);

    EXPECT_TRUE(eagle->landed);
    EXPECT_TRUE(f.iface("Eagle")->GetFlightStatus() & 1);
    ASSERT_TRUE(eagle->touchedDown);
    EXPECT_FALSE(S->holdOn);
    for (int g : {THGROUP_MAIN, THGROUP_HOVER, THGROUP_RETRO})
        EXPECT_EQ(f.iface("Eagle")->GetThrusterGroupLevel(static_cast<THGROUP_TYPE>(g)), 0.0) << "group " << g;

    const double miss = MissFromPad();
    const double used = fuel0 - eagle->propellantMass();
    std::printf("touchdown: %.2f m from pad 1, vertical %.2f m/s, horizontal %.2f m/s, "
                "propellant %.0f kg of %.0f, %.0f s after HOLD\n",
                miss, eagle->touchdownVs, eagle->touchdownHs, used, fuel0, eagle->touchdownSimt - t0);
    EXPECT_LT(miss, 50.0);
    EXPECT_GT(eagle->touchdownVs, -2.0);
    EXPECT_LT(eagle->touchdownHs, 1.0);
    EXPECT_GT(used, 1000.0);       // a real descent from orbit was flown
    EXPECT_LT(used, fuel0);        // with propellant to spare

    // Landed: the engines stay off and the wheel brakes are released.
    f.run(20);
    EXPECT_EQ(S->landingPhase, LANDING_LANDED);
    EXPECT_EQ(f.iface("Eagle")->GetThrusterGroupLevel(THGROUP_HOVER), 0.0);
    EXPECT_NEAR(MissFromPad(), miss, 0.5);
}


// The pilot raises the time acceleration to 1000 in the final descent, 20 frames a
// second (a 50 s frame at 1000x). The host's notice takes the factor back to the
// phase's limit before a frame runs at it: no frame of the final phase runs faster,
// and the lander touches down soft on the pad.
TEST_F(LandingFlight, ThousandTimesInTheFinalDescentRunsNoFrameAboveTheLimit) {
    ASSERT_DOUBLE_EQ(f.world.frameDt, 0.05);
    ASSERT_TRUE(f.key(0, "H"));
    f.setWarp(100);
    while (f.simt() < 6000.0 && S->landingPhase != LANDING_FINAL) f.run(S->landingPhase == LANDING_WAIT ? 50.0 : 2.0);
    ASSERT_EQ(S->landingPhase, LANDING_FINAL);
    f.run(2.0);
    double fastest = 0.0;
    int frames = 0;
    f.host.afterFrame = [&] {
        fastest = std::fmax(fastest, f.world.simdt / f.world.frameDt);
        ++frames;
    };
    f.setWarp(1000);
    ::Vessel *eagle = f.vessel("Eagle");
    const double t0 = f.simt();
    while (f.simt() - t0 < 600.0 && !eagle->touchedDown) f.run(1.0);
    f.host.afterFrame = nullptr;
    std::printf("1000x in the final descent: %d frames to touchdown, fastest at %.0fx; touchdown %.2f m from pad 1, "
                "vertical %.2f m/s, horizontal %.2f m/s\n",
                frames, fastest, MissFromPad(), eagle->touchdownVs, eagle->touchdownHs);
    EXPECT_GT(frames, 0);
    EXPECT_LE(fastest, kWarpFinal * kWarpBase);
    ASSERT_TRUE(eagle->touchedDown);
    EXPECT_LT(MissFromPad(), 50.0);
    EXPECT_GT(eagle->touchdownVs, -2.0);
    EXPECT_LT(eagle->touchdownHs, 1.0);
}

// Attitude propellant (kg) per simulated minute while the lander waits for its
// brake with HOLD on at the time acceleration given, 20 frames a second.
double WaitingRcsPerMinute(double warp) {
    flight::Flight f;
    if (!f.load("scenarios/lunar_landing.scn")) return -1;
    flight::useLinkedPlugin(f);
    if (!f.open(0) || !f.key(0, "5") || !f.key(0, "B") || !f.type(0, "Brighton Beach") || !f.key(0, "P") ||
        !f.type(0, "1"))
        return -1;
    TessarcMFD *m = dynamic_cast<TessarcMFD *>(f.mfd(0));
    ::Vessel *eagle = f.vessel("Eagle");
    if (!m || !m->state || !eagle) return -1;
    f.run(1);
    f.key(0, "H");
    f.setWarp(warp);
    const double t0 = f.simt(), rcs0 = eagle->tankMass[1];
    while (m->state->landingPhase == LANDING_WAIT && m->state->holdOn && f.simt() < t0 + 6000) f.frames(1);
    return (rcs0 - eagle->tankMass[1]) / ((f.simt() - t0) / 60.0);
}

// The wait at 100x turns the lander to its attitude and holds it there with 5 s
// frames on about what it takes at 1x (it spent twice as much, swinging to
// and fro about the attitude on rates half a frame old).
TEST(LandingWait, HundredTimesAccelerationHoldsOnTheRcsOfOneTimes) {
    const double at1 = WaitingRcsPerMinute(1.0), at100 = WaitingRcsPerMinute(100.0);
    std::printf("[ figures  ] waiting for the brake: %.4f kg/min of RCS at 1x, %.4f at 100x\n", at1, at100);
    ASSERT_GT(at1, 0.0);
    EXPECT_LT(at100, 1.5 * at1);
}

}  // namespace
