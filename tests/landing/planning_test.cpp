// Trajectory planning: the quintic and approach solutions, the final-approach
// gate, the trajectory check, and the plan a lander in low lunar orbit gets
// (brake point, trajectory, thrust and fuel), including a refusal for want of fuel.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "control/profile.h"
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "landing/autopilot.h"
#include "landing/planning.h"
#include "landing/trajectory.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

std::unique_ptr<MfdState> BlankState() {
    std::unique_ptr<MfdState> S(new MfdState());
    const double params[6] = {30, -25, 1, 60, 25, 15};
    for (int i = 0; i < 6; ++i) S->landingParams[i] = params[i];
    return S;
}

void Store(MfdState *S, const Quintic &h, const Quintic &z, const double consts[6]) {
    const double c[6] = {h.c3, h.c4, h.c5, z.c3, z.c4, z.c5};
    for (int i = 0; i < 6; ++i) {
        S->landingCoefs[i] = c[i];
        S->landingConsts[i] = consts[i];
    }
}

TEST(Quintic, MeetsBothEndStatesAndTheApproachIsAQuartic) {
    auto S = BlankState();
    // A braking-like case and a climbing one.
    const double cases[2][7] = {{-480000, -1247, 1650, 41.6, -2.5, 0, 760}, {20, 400, -3, 0.5, 0.2, -0.1, 35}};
    for (const auto &c : cases) {
        const Quintic h = QuinticCoefficients(c[0], c[1], c[2], c[3], c[4], c[5], c[6]);
        const double consts[6] = {c[4], c[6], c[0], c[2], 0, 0};
        Store(S.get(), h, Quintic{0, 0, 0}, consts);
        double x[3];
        AlongReference(S.get(), 0.0, x);
        EXPECT_DOUBLE_EQ(x[0], c[0]);
        EXPECT_DOUBLE_EQ(x[1], c[2]);
        EXPECT_DOUBLE_EQ(x[2], c[4]);
        AlongReference(S.get(), c[6], x);
        EXPECT_NEAR(x[0], c[1], 1e-6 * std::fabs(c[0] - c[1]));
        EXPECT_NEAR(x[1], c[3], 1e-6 * std::fabs(c[2] - c[3]) + 1e-9);
        EXPECT_NEAR(x[2], c[5], 1e-6);
    }
    const Quintic none = QuinticCoefficients(1, 2, 3, 4, 5, 6, 0.0);
    EXPECT_EQ(none.c3 + none.c4 + none.c5, 0.0);

    double a0 = 0;
    ASSERT_TRUE(SolveApproachAccel(-1000, -25, 20, 1, &a0));
    EXPECT_NEAR(a0, -0.047, 0.001);
    const double T = ApproachDuration(-1000, 20, a0);
    EXPECT_NEAR(T, 96.3, 0.2);
    const Quintic q = QuinticCoefficients(-1000, -25, 20, 1, a0, 0, T);
    EXPECT_NEAR(q.c5 * T * T * T * T * T, 0.0, 1e-6);  // negligible over the whole approach
    const double consts[6] = {a0, T, -1000, 20, 0, 0};
    Store(S.get(), q, Quintic{0, 0, 0}, consts);
    double x[3];
    AlongReference(S.get(), T, x);
    EXPECT_NEAR(x[0], -25.0, 1e-6);
    EXPECT_NEAR(x[1], 1.0, 1e-6);

    EXPECT_FALSE(SolveApproachAccel(0, -25, 20, 1, &a0));
    EXPECT_FALSE(SolveApproachAccel(NAN, -25, 20, 1, &a0));
    EXPECT_LT(ApproachDuration(-1000, 20, 0.0), 0.0);
}

TEST(Gate, LiesShortOfAndAboveTheTarget) {
    auto S = BlankState();
    ThrusterProfile profile{};
    S->profile = &profile;
    GateState g = FinalApproachGate(S.get(), 1.62);
    EXPECT_NEAR(g.x, -1246.6, 1.0);
    EXPECT_NEAR(g.h, 440.0, 1.5);
    EXPECT_NEAR(g.v, 41.55, 0.05);
    EXPECT_NEAR(g.vz, -14.66, 0.05);
    // Slow attitude control (pitch and bank on shared thrusters): three minutes.
    profile.pitchBankShared = true;
    g = FinalApproachGate(S.get(), 1.62);
    EXPECT_EQ(S->landingParams[3], 180.0);
    EXPECT_NEAR(g.x, -1246.6 * 9.0, 9.0);
}

TEST(TrajectoryCheck, DeltaVHeightWarningsAndReserve) {
    auto S = BlankState();
    S->landingPhase = LANDING_APPROACH;
    // Constant deceleration of 1 m/s^2 at a constant height for 100 s, on a
    // surface so large that the horizontal speed gives no relief.
    const double consts[6] = {-1.0, 100.0, -5000.0, 100.0, 1000.0, 0.0};
    Store(S.get(), Quintic{0, 0, 0}, Quintic{0, 0, 0}, consts);
    double largest = 0.0;
    CheckTrajectory(S.get(), 1e15, 1.62, 0.0, &largest);
    EXPECT_NEAR(largest, std::hypot(1.0, 1.62), 1e-9);
    EXPECT_NEAR(S->landingDv, 100.0 * std::hypot(1.0, 1.62) + 90.0 * 1.62, 1e-6);
    EXPECT_EQ(S->landingFlags & (kLandTooLow | kLandCollision), 0u);
    // Half-way on, only the rest counts.
    CheckTrajectory(S.get(), 1e15, 1.62, 50.0, &largest);
    EXPECT_NEAR(S->landingDv, 50.0 * std::hypot(1.0, 1.62) + 90.0 * 1.62, 1e-6);
    // Past its end nothing is left but the reserve.
    CheckTrajectory(S.get(), 1e15, 1.62, 150.0, &largest);
    EXPECT_NEAR(S->landingDv, 90.0 * 1.62, 1e-9);

    // A height plan from 1000 m down through the ground and back up.
    const Quintic dip = QuinticCoefficients(1000.0, 1000.0, -300.0, 0.0, 0.0, 0.0, 100.0);
    const double dipConsts[6] = {-1.0, 100.0, -5000.0, 100.0, 1000.0, -300.0};
    Store(S.get(), Quintic{0, 0, 0}, dip, dipConsts);
    CheckTrajectory(S.get(), 1e15, 1.62, 0.0, &largest);
    EXPECT_TRUE(S->landingFlags & kLandCollision);
    // The next plan that stays above takes the warning back.
    Store(S.get(), Quintic{0, 0, 0}, Quintic{0, 0, 0}, consts);
    CheckTrajectory(S.get(), 1e15, 1.62, 0.0, &largest);
    EXPECT_EQ(S->landingFlags & (kLandTooLow | kLandCollision), 0u);
    // The braking plan's reference is the gate's height: dipping to 80 % of it warns.
    S->landingFlags = 0;
    S->landingPhase = LANDING_BRAKE;
    ThrusterProfile profile{};
    S->profile = &profile;
    const double hg = FinalApproachGate(S.get(), 1.62).h;
    const double low[6] = {-1.0, 100.0, -5000.0, 100.0, 0.8 * hg, 0.0};
    Store(S.get(), Quintic{0, 0, 0}, Quintic{0, 0, 0}, low);
    CheckTrajectory(S.get(), 1e15, 1.62, 0.0, &largest);
    EXPECT_TRUE(S->landingFlags & kLandTooLow);
    EXPECT_FALSE(S->landingFlags & kLandCollision);
}

class LunarPlan : public ::testing::Test {
protected:
    flight::Flight f;
    MfdState *S = nullptr;

    void Fly(const std::string &extraShipLine) {
        std::string text =
            "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 60000.25\nEND_ENVIRONMENT\n"
            "BEGIN_FOCUS\n  Ship Eagle\nEND_FOCUS\nBEGIN_SHIPS\nEagle:LunarLander\n  STATUS Orbiting Moon\n"
            "  ELEMENTS 1758.0 0.0 45.0 83.4912 83.4912 15.8775 EQU\n" +
            extraShipLine + "END\nEND_SHIPS\n";
        ASSERT_TRUE(f.loadText(text)) << f.error();
        flight::useLinkedPlugin(f);
        ASSERT_TRUE(f.open(0)) << f.error();
        ASSERT_TRUE(f.key(0, "5"));
        f.run(1);
        ASSERT_TRUE(f.key(0, "B"));
        ASSERT_TRUE(f.type(0, "Brighton Beach"));
        ASSERT_TRUE(f.key(0, "P"));
        ASSERT_TRUE(f.type(0, "1"));
        S = dynamic_cast<TessarcMFD *>(f.mfd(0))->state;
        f.run(2);
    }
};

TEST_F(LunarPlan, BrakePointAndTrajectoryFitTheLandersThrustAndFuel) {
    ASSERT_NO_FATAL_FAILURE(Fly(""));
    ASSERT_TRUE(f.key(0, "H"));
    f.run(2);
    ASSERT_EQ(S->landingPhase, LANDING_WAIT);
    ASSERT_TRUE(S->holdOn) << "flags " << S->landingFlags;
    const double amax = S->landingWork[9];
    const double gT = 1.62;
    // Hover engines: 48 kN on 12.5 t.
    EXPECT_NEAR(amax, 48000.0 / 12500.0, 0.05);
    EXPECT_NEAR(S->landingWork[7], 0.75 * std::fmin(amax, 2.5 * gT), 0.02);
    EXPECT_GT(S->passTime, 0.0);
    EXPECT_LT(std::fabs(S->landingWork[4]), S->passHalfWidth);
    EXPECT_LE(S->landingWork[8], amax);
    const double fuel = f.vessel("Eagle")->tankMass[0];
    EXPECT_GT(S->landingValues[6], 3000.0);
    EXPECT_LT(S->landingValues[6], fuel);
    // The plan starts at the brake point and ends at the gate.
    const double T = S->landingConsts[1];
    ASSERT_GT(T, 0.0);
    double x[3], z[3];
    AlongReference(S, T, x);
    HeightReference(S, T, z);
    const GateState gate = FinalApproachGate(S, gT);
    EXPECT_NEAR(x[0], gate.x, 20.0);
    EXPECT_NEAR(x[1], gate.v, 1.0);
    EXPECT_NEAR(z[0], gate.h, 10.0);
    const double waitS = (S->brakeStartMjd - oapiGetSimMJD()) * 86400.0;
    EXPECT_GT(waitS, 600.0);
    EXPECT_LT(waitS, S->passTime);
    EXPECT_EQ(S->landingAttMode, 1);  // prograde while waiting long

    // The braking starts where it was planned.
    f.setWarp(100);
    const double planned = S->brakeStartMjd;
    while (S->landingPhase == LANDING_WAIT && f.simt() < 4000) {
        f.run(5);
        if ((S->brakeStartMjd - oapiGetSimMJD()) * 86400.0 > 20.0) continue;
        f.setWarp(1);
    }
    ASSERT_EQ(S->landingPhase, LANDING_BRAKE);
    EXPECT_NEAR((S->brakeStartMjd - planned) * 86400.0, 0.0, 20.0);
    EXPECT_EQ(S->landingAttMode, 3);  // thrust axis pre-aligned just before
    EXPECT_GT(f.iface("Eagle")->GetThrusterGroupLevel(THGROUP_HOVER), 0.3);
}

TEST_F(LunarPlan, TooLittleFuelIsRefused) {
    ASSERT_NO_FATAL_FAILURE(Fly("  PRPLEVEL 0:0.25 1:1\n"));
    ASSERT_TRUE(f.key(0, "H"));
    f.run(2);
    EXPECT_FALSE(S->holdOn);
    EXPECT_EQ(S->landingPhase, LANDING_WAIT);
    EXPECT_TRUE(S->landingFlags & kLandNoFuel);
    EXPECT_GT(S->landingValues[6], f.vessel("Eagle")->tankMass[0]);
    EXPECT_EQ(f.iface("Eagle")->GetThrusterGroupLevel(THGROUP_HOVER), 0.0);
}

}  // namespace
