// The landing autopilot's refusals and limits in flight (no thrust, an open
// orbit, a target on another body, a zero step, time acceleration), the pilot's
// stop during the approach, and the thrust axis offset.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "control/math.h"
#include "control/profile.h"
#include "frame/state.h"
#include "landing/autopilot.h"
#include "landing/guidance.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

const char *kOrbit = "  STATUS Orbiting Moon\n  ELEMENTS 1758.0 0.0 45.0 83.4912 83.4912 15.8775 EQU\n";

class LandingCockpit : public ::testing::Test {
protected:
    flight::Flight f;
    MfdState *S = nullptr;

    void Fly(const std::string &ships, const char *target = "Brighton Beach") {
        const std::string text = "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 60000.25\nEND_ENVIRONMENT\n"
                                 "BEGIN_FOCUS\n  Ship Eagle\nEND_FOCUS\nBEGIN_SHIPS\n" + ships + "END_SHIPS\n";
        ASSERT_TRUE(f.loadText(text)) << f.error();
        flight::useLinkedPlugin(f);
        ASSERT_TRUE(f.open(0)) << f.error();
        ASSERT_TRUE(f.key(0, "5"));
        f.run(1);
        ASSERT_TRUE(f.key(0, "B"));
        ASSERT_TRUE(f.type(0, target)) << target;
        S = dynamic_cast<TessarcMFD *>(f.mfd(0))->state;
        f.run(1);
    }
    bool AllFinite() const {
        for (double w : S->landingWork)
            if (!std::isfinite(w)) return false;
        for (double c : S->landingCoefs)
            if (!std::isfinite(c)) return false;
        return std::isfinite(S->refAtt.x + S->refAtt.y + S->refAtt.z + S->relAtt.x + S->relAtt.y + S->relAtt.z);
    }
};

TEST_F(LandingCockpit, VesselWithoutThrustIsRefused) {
    ASSERT_NO_FATAL_FAILURE(Fly(std::string("Eagle:Probe\n") + kOrbit + "END\n"));
    ASSERT_TRUE(f.key(0, "H"));
    f.run(1);
    EXPECT_FALSE(S->holdOn);
    EXPECT_EQ(S->landingPhase, LANDING_WAIT);
    EXPECT_TRUE(S->landingFlags & kLandNoThrust);
    EXPECT_TRUE(S->useHover);  // no main engine: the hover group was chosen
    EXPECT_TRUE(AllFinite());
}

TEST_F(LandingCockpit, OpenOrbitHasNoSolution) {
    ASSERT_NO_FATAL_FAILURE(Fly(std::string("Eagle:LunarLander\n") + kOrbit + "END\n"));
    ASSERT_TRUE(f.key(0, "H"));
    VECTOR3 v;
    f.iface("Eagle")->GetRelativeVel(oapiGetGbodyByName(const_cast<char *>("Moon")), v);
    f.vessel("Eagle")->vel += v * 0.5;  // 1.5 times circular speed: escape
    f.run(1);
    EXPECT_EQ(S->landingPhase, LANDING_NO_SOLUTION);
    EXPECT_TRUE(S->landingFlags & kLandEccentricity);
    EXPECT_FALSE(S->holdOn);
    EXPECT_EQ(f.iface("Eagle")->GetThrusterGroupLevel(THGROUP_HOVER), 0.0);
    EXPECT_TRUE(AllFinite());
}

TEST_F(LandingCockpit, TargetVesselOfAnotherBodyIsRefused) {
    ASSERT_NO_FATAL_FAILURE(Fly(std::string("Eagle:LunarLander\n") + kOrbit +
                                "END\nRelay:Probe\n  STATUS Orbiting Earth\n"
                                "  ELEMENTS 6771.0 0.0 51.6 0.0 0.0 0.0\nEND\n",
                                "Relay"));
    ASSERT_TRUE(f.key(0, "H"));
    f.run(1);
    EXPECT_EQ(S->landingPhase, LANDING_NO_SOLUTION);
    EXPECT_TRUE(S->landingFlags & kLandTargetInvalid);
    EXPECT_TRUE(S->landingFlags & kLandTargetNotLanded);
    EXPECT_EQ(S->targetRef, S->bodyRef);
    EXPECT_FALSE(S->holdOn);
}

TEST_F(LandingCockpit, ZeroStepStaysFiniteAndWarpIsLimitedEvenDisengaged) {
    ASSERT_NO_FATAL_FAILURE(Fly(std::string("Eagle:LunarLander\n") + kOrbit + "END\n"));
    ASSERT_FALSE(S->holdOn);
    LandingStep(S, 0.0);
    EXPECT_TRUE(AllFinite());
    EXPECT_EQ(S->landingPhase, LANDING_WAIT);
    EXPECT_GT(S->brakeStartMjd, oapiGetSimMJD());  // planned even while disengaged

    f.setWarp(1000);
    f.run(20);
    EXPECT_EQ(oapiGetTimeAcceleration(), 100.0);
    EXPECT_STREQ(oapiDebugString(), "TessarcMFD: Eagle is waiting for landing brake --> limiting time acceleration");
    EXPECT_TRUE(S->debugLineSet);
    // Blanked once three seconds of system time have passed without a new notice.
    f.run(400);
    EXPECT_STREQ(oapiDebugString(), "");
    EXPECT_FALSE(S->debugLineSet);
}

// The pilot's stop during the approach: the lander kills its motion and hovers;
// pressing HOLD again lets the approach go on.
TEST_F(LandingCockpit, StopDuringTheApproachHovers) {
    ASSERT_NO_FATAL_FAILURE(Fly(std::string("Eagle:LunarLander\n") + kOrbit + "END\n"));
    ASSERT_TRUE(f.key(0, "P"));
    ASSERT_TRUE(f.type(0, "1"));
    ASSERT_TRUE(f.key(0, "H"));
    f.setWarp(100);
    while (S->landingPhase != LANDING_APPROACH && f.simt() < 4000) f.run(S->landingPhase == LANDING_WAIT ? 50 : 2);
    ASSERT_EQ(S->landingPhase, LANDING_APPROACH);
    f.run(20);
    ASSERT_GT(S->landingWork[1], 10.0);
    // Braked with the thrust tilted at most 45 degrees, it stops within this.
    const double stopsBefore = S->landingWork[0] + S->landingWork[1] * S->landingWork[1] / (2.0 * 1.62) + 50.0;
    ASSERT_TRUE(f.key(0, "H"));
    EXPECT_TRUE(S->holdOn);
    EXPECT_TRUE(S->landingFlags & kLandStopping);
    f.run(60);
    // Hovering where it stopped, the engines carrying its weight.
    EXPECT_TRUE(S->holdOn);
    EXPECT_LT(std::fabs(S->landingWork[3]), 0.3) << "vertical speed";
    EXPECT_LT(std::fabs(S->landingWork[1]), 0.5) << "closing speed";
    EXPECT_GT(S->landingWork[2], 300.0);
    EXPECT_LT(S->landingWork[0], stopsBefore);
    const double weight = f.vessel("Eagle")->mass() * 1.62 / 48000.0;
    EXPECT_NEAR(f.iface("Eagle")->GetThrusterGroupLevel(THGROUP_HOVER), weight, 0.05);
    // The second press ends the stop and the hold.
    ASSERT_TRUE(f.key(0, "H"));
    EXPECT_FALSE(S->landingFlags & kLandStopping);
    EXPECT_FALSE(S->holdOn);
}

// A place under the polar orbit's track 40 minutes ahead, chosen after the base
// (whose pass lies orbits away): its own pass is found, not the base's.
TEST_F(LandingCockpit, ANewTargetIsPassedOverThisOrbit) {
    ASSERT_NO_FATAL_FAILURE(Fly("Eagle:LunarLander\n  STATUS Orbiting Moon\n"
                                "  ELEMENTS 1758.0 0.0 90.0 83.4912 83.4912 15.8775 EQU\nEND\n"));
    f.run(5);
    ASSERT_TRUE(f.key(0, "T"));
    ASSERT_TRUE(f.type(0, "W94.2647 N63.1563"));
    ASSERT_TRUE(f.key(0, "H"));
    f.run(5);
    EXPECT_TRUE(S->holdOn);
    EXPECT_FALSE(S->landingFlags & kLandBeyondOrbit);
    EXPECT_NEAR(S->landingWork[LW_PASS_TIME], 2400.0, 60.0);
}

TEST_F(LandingCockpit, ThrustAxisIsTurnedOntoTheCommand) {
    ASSERT_NO_FATAL_FAILURE(Fly(std::string("Eagle:LunarLander\n") + kOrbit + "END\n"));
    const VECTOR3 hover = GroupThrustDirection(S->profile, THGROUP_HOVER);
    ASSERT_NEAR(hover.y, 1.0, 1e-9);
    const VECTOR3 dirs[] = {_V(0, 1, 0), _V(0.3, 0.8, -0.5), _V(0, 0, -1), _V(-0.6, 0.1, 0.2)};
    for (const VECTOR3 &d : dirs) {
        for (bool invert : {false, true}) {
            S->invertRotation = invert;
            const MATRIX3 M = EulerToMatrix(ThrustAxisOffset(S, THGROUP_HOVER, d));
            const VECTOR3 t = MatVec(M, hover);
            EXPECT_NEAR(dotp(t, unit(d)), 1.0, 1e-9) << d.x << " " << d.y << " " << d.z << " inv " << invert;
        }
        S->invertRotation = false;
        const VECTOR3 x0 = MatVec(EulerToMatrix(ThrustAxisOffset(S, THGROUP_HOVER, d)), _V(1, 0, 0));
        S->invertRotation = true;
        const VECTOR3 x1 = MatVec(EulerToMatrix(ThrustAxisOffset(S, THGROUP_HOVER, d)), _V(1, 0, 0));
        EXPECT_NEAR(dotp(x0, x1), -1.0, 1e-9) << "half turn about the thrust axis";
    }
}

}  // namespace
