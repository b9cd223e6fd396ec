// The landing taken over where a pilot flies, near the pad of the bundled lunar
// landing: each start ends softly on the pad, and letting go near the ground
// leaves the lander hovering.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>

#include "frame/state.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"
#include "support/surface_start.h"

namespace {

class Takeover : public ::testing::Test {
public:
    std::unique_ptr<flight::Flight> flight;
    MfdState *S = nullptr;
    ::Vessel *eagle = nullptr;

    // The lander at the start, pad 1 of Brighton Beach selected on the Landing
    // page, its hover engines at `hover` (the weight they carry: 1).
    void Start(const flight::SurfaceStart &at, double hover) {
        flight.reset();
        flight.reset(new flight::Flight());
        flight::Flight &f = *flight;
        ASSERT_TRUE(f.load("scenarios/lunar_landing.scn")) << f.error();
        flight::useLinkedPlugin(f);
        ASSERT_TRUE(f.open(0)) << f.error();
        for (const char *k : {"5", "B"}) ASSERT_TRUE(f.key(0, k));
        ASSERT_TRUE(f.type(0, "Brighton Beach"));
        ASSERT_TRUE(f.key(0, "P"));
        ASSERT_TRUE(f.type(0, "1"));
        S = dynamic_cast<TessarcMFD *>(f.mfd(0))->state;
        eagle = f.vessel("Eagle");
        ASSERT_TRUE(flight::PlaceNear(f, "Eagle", "Moon", S->targetLon, S->targetLat, at));
        VESSEL *v = f.iface("Eagle");
        const double g = oapiGetMass(S->bodyRef) * GGRAV / std::pow(oapiGetSize(S->bodyRef), 2);
        double thrust = 0.0;
        for (int t : eagle->cls->groups[THGROUP_HOVER]) thrust += eagle->cls->thrusters[static_cast<size_t>(t)].maxThrust;
        v->SetThrusterGroupLevel(THGROUP_HOVER, hover * v->GetMass() * g / thrust);
        f.run(3.0);
    }
    // m above the mean radius and m/s upwards, as the host tells the pilot.
    double Altitude() { return flight->iface("Eagle")->GetAltitude(); }
    double Climb() {
        VECTOR3 v;
        flight->iface("Eagle")->GetAirspeedVector(FRAME_HORIZON, v);
        return v.y;
    }
    double Hover() { return flight->iface("Eagle")->GetThrusterGroupLevel(THGROUP_HOVER); }
    double Miss() {
        double lon = 0, lat = 0, r = 0;
        flight->iface("Eagle")->GetEquPos(lon, lat, r);
        return oapiOrthodome(lon, lat, S->targetLon, S->targetLat) * oapiGetSize(S->bodyRef);
    }
    void FlyDown(double most) {
        const double t0 = flight->simt();
        while (flight->simt() < t0 + most && !eagle->touchedDown) flight->run(1.0);
    }
};

// Each start a pilot flies near the pad: the page offers HOLD from here, which
// takes it over with the page naming
// a flying phase, the time acceleration held to that phase's limit, and the
// lander comes down softly on the pad.
TEST_F(Takeover, EveryStartNearThePadEndsSoftlyOnIt) {
    struct Case {
        const char *name;
        flight::SurfaceStart at;
        double hover;
    };
    const Case cases[] = {
        {"hovering 150 m up, 300 m off", {1.0, 300, 150, 0, 0}, 1.0},
        {"low and slow: 2 km up, 20 km uprange, 100 m/s towards it, sinking", {1.0, 20000, 2000, 100, -10}, 0.0},
        {"sinking 25 m/s 400 m up", {1.0, 1500, 400, 20, -25}, 0.0},
        {"a short arc, 3 km up, 40 km off, climbing 30 m/s at 300 m/s", {1.0, 40000, 3000, 300, 30}, 0.0},
        {"standing on the ground 2 km off", {1.0, 2000, 0, 0, 0}, 0.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.at, c.hover);
        flight::Flight &f = *flight;
        // Before HOLD the page says it would land from here, with no orbit's plan
        // or its failures in red.
        f.draw(0);
        EXPECT_TRUE(f.screenContains(0, "HLD lands from here")) << f.screenText(0);
        EXPECT_FALSE(f.screenContains(0, "Burn start time:") || f.screenContains(0, "beyond one orbit"));
        f.setWarp(20);
        ASSERT_TRUE(f.key(0, "H"));
        f.run(3.0);
        f.draw(0);
        EXPECT_TRUE(S->holdOn) << f.screenText(0);
        EXPECT_TRUE(f.screenContains(0, "APPROACH") || f.screenContains(0, "BRAKE") || f.screenContains(0, "FINAL"))
            << f.screenText(0);
        EXPECT_LE(oapiGetTimeAcceleration(), 10.0);
        FlyDown(2000.0);
        ASSERT_TRUE(eagle->touchedDown);
        EXPECT_GT(eagle->touchdownVs, -1.0);
        EXPECT_LT(eagle->touchdownHs, 1.0);
        EXPECT_LT(Miss(), 5.0);
        EXPECT_EQ(Hover(), 0.0);
    }
}

// A pilot already at 1000x engages from a low, slowly sinking hover, 20 frames a second (a 50 s
// frame at that factor): the takeover's limit acts as HOLD is pressed, so not
// even the first frame after it runs faster, and the lander sets down softly.
TEST_F(Takeover, EngagedAtAThousandTimesNoFrameRunsAboveTheLimit) {
    Start({1.0, 300, 60, 0, -2}, 1.0);
    flight::Flight &f = *flight;
    ASSERT_DOUBLE_EQ(f.world.frameDt, 0.05);
    f.setWarp(1000);
    double first = 0.0, fastest = 0.0;
    f.host.afterFrame = [&] {
        const double warp = f.world.simdt / f.world.frameDt;
        if (first == 0.0) first = warp;
        fastest = std::fmax(fastest, warp);
    };
    ASSERT_TRUE(f.key(0, "H"));
    FlyDown(2000.0);
    f.host.afterFrame = nullptr;
    std::printf("engaged at 1000x 60 m up: first frame at %.0fx, fastest %.0fx; touchdown %.2f m/s down, %.2f m/s "
                "across, %.2f m from pad 1\n",
                first, fastest, eagle->touchdownVs, eagle->touchdownHs, Miss());
    EXPECT_LE(first, 10.0);
    EXPECT_LE(fastest, 10.0);
    ASSERT_TRUE(eagle->touchedDown);
    EXPECT_GT(eagle->touchdownVs, -1.0);
    EXPECT_LT(Miss(), 5.0);
}

// Refused as it engages, the autopilot leaves the engines as the pilot had them:
// a lander hovering on its own throttle goes on hovering.
TEST_F(Takeover, ARefusalLeavesTheEnginesAsFound) {
    struct Case {
        const char *name;
        flight::SurfaceStart at;
        double hover, fuel;
        const char *reason;
    };
    const Case cases[] = {
        {"hovering on a near-empty tank 2 km off", {1.0, 2000, 150, 0, 0}, 1.0, 150.0, "not enough fuel"},
        {"falling 60 m/s some 300 m up", {1.0, 500, 500, 0, -60}, 0.3, 8000.0, "too fast, too low"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.at, c.hover);
        eagle->tankMass[0] = c.fuel;
        const double found = Hover();
        ASSERT_TRUE(flight->key(0, "H"));
        flight->run(1.0);
        flight->draw(0);
        EXPECT_FALSE(S->holdOn);
        EXPECT_TRUE(flight->screenContains(0, c.reason)) << flight->screenText(0);
        EXPECT_NEAR(Hover(), found, 1e-9);
    }
}

// Let go near the ground (the pilot stops the descent and lets go, or the
// autopilot gives up on a target beyond its tank), the lander hovers on its
// engines with the page saying the pilot flies, until the pilot moves the throttle.
TEST_F(Takeover, LetGoNearTheGroundTheLanderHovers) {
    for (bool pilot : {true, false}) {
        SCOPED_TRACE(pilot ? "the pilot lets go" : "the autopilot gives up");
        Start({1.0, 300, 150, 0, 0}, 1.0);
        flight::Flight &f = *flight;
        ASSERT_TRUE(f.key(0, "H"));
        f.run(1.0);
        const double t0 = f.simt();
        while (f.simt() < t0 + 300.0 && S->landingWork[2] > 40.0) f.run(0.5);
        if (pilot) {
            for (int i = 0; i < 2; ++i) ASSERT_TRUE(f.key(0, "H"));  // stop, let go
        } else {
            eagle->tankMass[0] = 300.0;
            ASSERT_TRUE(f.key(0, "T"));
            ASSERT_TRUE(f.type(0, "W30.0 N40.0"));  // far beyond what is left
        }
        f.run(2.0);
        EXPECT_FALSE(S->holdOn);
        const double h0 = Altitude();
        f.run(30.0);
        f.draw(0);
        EXPECT_TRUE(f.screenContains(0, "PILOT FLIES")) << f.screenText(0);
        EXPECT_FALSE(eagle->touchedDown);
        EXPECT_NEAR(Altitude(), h0, 5.0);
        EXPECT_LT(std::fabs(Climb()), 0.3);
        f.iface("Eagle")->SetThrusterGroupLevel(THGROUP_HOVER, 0.5);  // the pilot's throttle
        f.run(2.0);
        EXPECT_EQ(Hover(), 0.5);
    }
}

// Stopped late in the descent, the pilot resumes it with R: the lander lands on
// the pad.
TEST_F(Takeover, AStoppedDescentResumes) {
    Start({1.0, 300, 150, 0, 0}, 1.0);
    flight::Flight &f = *flight;
    ASSERT_TRUE(f.key(0, "H"));
    f.run(1.0);
    const double t0 = f.simt();
    while (f.simt() < t0 + 300.0 && S->landingWork[2] > 20.0) f.run(0.5);
    ASSERT_TRUE(f.key(0, "H"));  // stop
    f.run(15.0);
    f.draw(0);
    EXPECT_TRUE(f.screenContains(0, "R:resume  H:let go")) << f.screenText(0);
    ASSERT_TRUE(f.key(0, "R"));
    FlyDown(600.0);
    ASSERT_TRUE(eagle->touchedDown);
    EXPECT_GT(eagle->touchdownVs, -1.0);
    EXPECT_LT(Miss(), 5.0);
}

// An elevation typed 400 m above the ground: the page says so, and the final
// descent flies on to the host's ground rather than cutting the engines 400 m up.
TEST_F(Takeover, TheHostsGroundBeatsATypedElevation) {
    Start({1.0, 300, 150, 0, 0}, 1.0);
    flight::Flight &f = *flight;
    ASSERT_TRUE(f.key(0, "L"));
    ASSERT_TRUE(f.type(0, "400"));
    ASSERT_TRUE(f.key(0, "H"));
    f.run(1.0);
    f.draw(0);
    EXPECT_TRUE(f.screenContains(0, "elevation is off host ground")) << f.screenText(0);
    FlyDown(2000.0);
    ASSERT_TRUE(eagle->touchedDown);
    EXPECT_GT(eagle->touchdownVs, -1.0);
}

}  // namespace
