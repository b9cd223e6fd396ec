// The thruster command layer: the per-axis laws, the distribution onto the
// attitude thrusters, translation hold and the hold switches.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "control/profile.h"
#include "control/holds.h"
#include "control/thrusters.h"
#include "control_world.h"
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"

namespace {

using ctltest::TestWorld;

// The profile of the worked example: T = 1000 N m, I = 10000 kg m^2, 2.5 deg/s.
ThrusterProfile ExampleProfile() {
    ThrusterProfile P;
    std::memset(static_cast<void *>(&P), 0, sizeof(P));
    P.cmdScale = 1.0;
    P.mass = 10000.0;
    for (int a = 0; a < 3; ++a) {
        P.pmi[a] = 1.0;
        P.torque[3 + a] = 1000.0;
        P.rateLimit[a] = 2.5 * RAD;
    }
    for (int k = 6; k < 9; ++k) P.thrust[k] = 500.0;
    return P;
}

TEST(AxisLaws, WorkedExampleDeadbandAndTenthRule) {
    TestWorld tw;
    ThrusterProfile P = ExampleProfile();
    EXPECT_NEAR(AxisAttitudeLaw(&P, 0, 0.0, 0.01, 0.0, 0.0, 10.0), 0.01, 1e-12);
    // Beyond L the wanted rate saturates at the limit: I * L / T = 0.436.
    EXPECT_NEAR(AxisAttitudeLaw(&P, 0, 0.0, 0.05, 0.0, 0.0, 10.0), 10.0 * 2.5 * RAD, 1e-12);
    EXPECT_NEAR(P.effRate[0], 2.5 * RAD, 1e-15);
    // Strictly inside the dead-band nothing; exactly on its edge the law acts.
    EXPECT_EQ(AxisAttitudeLaw(&P, 1, 0.0, 0.0009, 0.5, 0.001, 10.0), 0.0);
    EXPECT_NE(AxisAttitudeLaw(&P, 1, 0.0, 0.001, 0.5, 0.001, 10.0), 0.0);
    // Within a tenth of the wanted rate: no command. Wanted -0.001 rad/s.
    EXPECT_EQ(AxisAttitudeLaw(&P, 2, 0.0, 0.01, -0.00095, 0.0, 10.0), 0.0);
    EXPECT_NE(AxisAttitudeLaw(&P, 2, 0.0, 0.01, -0.00085, 0.0, 10.0), 0.0);
    // Large rate errors saturate at full thrust.
    EXPECT_EQ(AxisAttitudeLaw(&P, 0, 0.0, 0.01, 5.0, 0.0, 10.0), 1.0);
    // Rate law drives toward the wanted rate; rate damp toward zero.
    EXPECT_NEAR(AxisRateLaw(&P, 0, 0.01, 0.0105, 0.0), 0.005, 1e-12);
    EXPECT_EQ(AxisRateLaw(&P, 0, 0.01, 0.0105, 0.001), 0.0);
    EXPECT_NEAR(AxisRateDamp(&P, 2, -0.0002, 0.0), -0.002, 1e-12);
}

// The levels a pass sets are held until the next pass: 0.1 s at the nominal
// cadence, a whole frame when frames are longer. Whatever the interval, the rate
// the held level takes out is a tenth of the rate error per 0.1 s at most and
// never more than half of it, and the translation level cancels the velocity
// over the interval (not within 0.1 s, which overshoots a longer one).
TEST(AxisLaws, WhatAPassTakesOutFitsTheIntervalItsLevelsAreHeldFor) {
    TestWorld tw;
    ThrusterProfile P = ExampleProfile();
    const double alpha = 1000.0 / 10000.0;  // T / I, rad/s^2
    const double rateError = 0.0005;        // rad/s, with no angle error to speak of
    struct Case {
        double warp, frameDt, interval;  // s of simulation time between passes
    } cases[] = {{1, 0.05, 0.1},   {2, 0.05, 0.1},       {2, 1.0 / 60, 0.1}, {10, 0.05, 0.5},
                 {50, 0.05, 2.5},  {100, 1.0 / 60, 100.0 / 60}, {100, 0.05, 5.0}, {0.5, 0.05, 0.1}};
    for (const Case &c : cases) {
        tw.w.warp = c.warp;
        tw.w.frameDt = c.frameDt;
        EXPECT_NEAR(PassInterval(), c.interval, 1e-9) << c.warp << "x, frames of " << c.frameDt << " s";
        const double taken = alpha * AxisAttitudeLaw(&P, 0, 0.0, 1e-9, rateError, 0.0, 10.0) * c.interval;
        const double share = std::fmin(0.1 * c.interval / kPassInterval, kRateShare);
        EXPECT_NEAR(taken, share * rateError, 1e-4 * rateError) << c.warp << "x, frames of " << c.frameDt << " s";
        EXPECT_NEAR(alpha * AxisRateLaw(&P, 0, 0.0, rateError, 0.0) * c.interval, share * rateError, 1e-12);
    }
    tw.w.warp = 101.0;
    EXPECT_EQ(AxisAttitudeLaw(&P, 0, 0.0, 0.05, 0.0, 0.0, 10.0), 0.0);
    EXPECT_EQ(AxisRateLaw(&P, 0, 0.0, 0.05, 0.0), 0.0);
    EXPECT_EQ(AxisRateDamp(&P, 0, 0.05, 0.0), 0.0);
}

// Far from the target the law turns at the rate limit, and hands over to the
// slow approach while the rate loop still has room to take that rate out: with
// passes 5 s apart it may not come on at full rate within 10 s of the target.
TEST(AxisLaws, TheTurnAtTheRateLimitEndsWhereTheIntervalCanStopIt) {
    TestWorld tw;
    ThrusterProfile P = ExampleProfile();  // L = 2.5 deg/s
    const double L = 2.5 * RAD, error = 4.0 * L;  // 4 s away at the rate limit
    tw.w.warp = 1.0;
    EXPECT_EQ(AxisAttitudeLaw(&P, 0, 0.0, error, -L, 0.0, 10.0), 0.0);  // coming on at L: as wanted
    tw.w.warp = 100.0;                                                   // 5 s frames
    EXPECT_LT(AxisAttitudeLaw(&P, 0, 0.0, error, -L, 0.0, 10.0), 0.0);  // coming on at L: braked
    EXPECT_GT(AxisAttitudeLaw(&P, 0, 0.0, error, 0.0, 0.0, 10.0), 0.0);  // at rest: it turns
}

TEST(AxisLaws, NoAuthorityGivesNoCommandRatherThanNaN) {
    TestWorld tw;
    ThrusterProfile P = ExampleProfile();
    P.torque[4] = 0.0;  // no yaw thrusters
    P.pmi[2] = 0.0;     // degenerate inertia about z
    EXPECT_EQ(AxisAttitudeLaw(&P, 1, 0.0, 1.0, 0.0, 0.0, 10.0), 0.0);
    EXPECT_EQ(AxisRateLaw(&P, 1, 0.0, 1.0, 0.0), 0.0);
    EXPECT_EQ(AxisAttitudeLaw(&P, 2, 0.0, 1.0, 0.0, 0.0, 10.0), 0.0);
    EXPECT_EQ(AxisAttitudeLaw(&P, 5, 0.0, 1.0, 0.0, 0.0, 10.0), 0.0);  // not an axis
    EXPECT_EQ(AxisAttitudeLaw(&P, 0, 0.0, 1.0, 0.0, 0.0, 0.0), 0.0);   // no time constant
}

// A vessel whose thruster 0 serves pitch-up and bank-right, with one thruster for
// every other attitude group.
struct CommandRig {
    TestWorld tw;
    VESSEL *v = nullptr;
    ThrusterProfile P;
    int both, pitchUp, pitchDown, bankLeft, bankRight, yawLeft, yawRight, right, left, up, down, fwd, back;

    CommandRig() {
        sim::VesselClass *c = tw.AddClass("RigClass");
        both = TestWorld::AddThruster(c, _V(2, 0, 5), _V(0, 1, 0), 100, (1u << 3) | (1u << 8));
        pitchUp = TestWorld::AddThruster(c, _V(0, 0, 5), _V(0, 1, 0), 100, 1u << 3);
        pitchDown = TestWorld::AddThruster(c, _V(0, 0, 5), _V(0, -1, 0), 100, 1u << 4);
        yawLeft = TestWorld::AddThruster(c, _V(0, 0, 5), _V(-1, 0, 0), 100, 1u << 5);
        yawRight = TestWorld::AddThruster(c, _V(0, 0, 5), _V(1, 0, 0), 100, 1u << 6);
        bankLeft = TestWorld::AddThruster(c, _V(2, 0, 0), _V(0, 1, 0), 100, 1u << 7);
        bankRight = TestWorld::AddThruster(c, _V(-2, 0, 0), _V(0, 1, 0), 100, 1u << 8);
        right = TestWorld::AddThruster(c, _V(0, 0, 0), _V(1, 0, 0), 100, 1u << 9);
        left = TestWorld::AddThruster(c, _V(0, 0, 0), _V(-1, 0, 0), 100, 1u << 10);
        up = TestWorld::AddThruster(c, _V(0, 0, 0), _V(0, 1, 0), 100, 1u << 11);
        down = TestWorld::AddThruster(c, _V(0, 0, 0), _V(0, -1, 0), 100, 1u << 12);
        fwd = TestWorld::AddThruster(c, _V(0, 0, 0), _V(0, 0, 1), 100, 1u << 13);
        back = TestWorld::AddThruster(c, _V(0, 0, 0), _V(0, 0, -1), 100, 1u << 14);
        v = tw.AddVessel("Rig", c);
        CreateThrusterProfile(&P, v);
    }
    double Level(int i) { return v->GetThrusterLevel(v->GetThrusterHandleByIndex(i)); }
};

TEST(CommandDistribution, GroupsReceiveTheirShareAndSharedThrustersTheSum) {
    CommandRig rig;
    EXPECT_FALSE(rig.P.pitchBankShared);
    EXPECT_EQ(ApplyThrusterCommands(&rig.P, _V(0.5, 0, 0.5), _V(0, 0, 0)), 13);
    EXPECT_DOUBLE_EQ(rig.Level(rig.pitchUp), 0.5);
    EXPECT_DOUBLE_EQ(rig.Level(rig.bankRight), 0.5);
    EXPECT_DOUBLE_EQ(rig.Level(rig.both), 1.0);
    EXPECT_EQ(rig.Level(rig.pitchDown), 0.0);
    EXPECT_EQ(rig.Level(rig.bankLeft), 0.0);
    // Negative commands fire the opposite groups; demands beyond full are capped.
    ApplyThrusterCommands(&rig.P, _V(-2.0, -0.3, -0.4), _V(-0.2, 0.7, -0.9));
    EXPECT_EQ(rig.Level(rig.pitchDown), 1.0);
    EXPECT_DOUBLE_EQ(rig.Level(rig.yawRight), 0.3);
    EXPECT_DOUBLE_EQ(rig.Level(rig.bankLeft), 0.4);
    EXPECT_EQ(rig.Level(rig.both), 0.0);
    EXPECT_DOUBLE_EQ(rig.Level(rig.left), 0.2);
    EXPECT_DOUBLE_EQ(rig.Level(rig.up), 0.7);
    EXPECT_DOUBLE_EQ(rig.Level(rig.back), 0.9);
    // With the holds sharing the thrusters: x and y halved, z (forward/back) not.
    rig.P.cmdScale = 0.5;
    ApplyThrusterCommands(&rig.P, _V(0.8, 0, 0), _V(0.6, -0.6, 0.6));
    EXPECT_DOUBLE_EQ(rig.Level(rig.pitchUp), 0.4);
    EXPECT_DOUBLE_EQ(rig.Level(rig.right), 0.3);
    EXPECT_DOUBLE_EQ(rig.Level(rig.down), 0.3);
    EXPECT_DOUBLE_EQ(rig.Level(rig.fwd), 0.6);
    AttitudeGroupsOff(&rig.P);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(rig.Level(i), 0.0);
}

// A state on the rig vessel with another vessel as target.
struct HoldRig : CommandRig {
    MfdState S{};
    VESSEL *target = nullptr;
    HoldRig() {
        sim::VesselClass *tc = tw.AddClass("TargetClass");
        target = tw.AddVessel("Target", tc, _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 100));
        S.vessel = v;
        S.vesselHandle = v->GetHandle();
        S.profile = &P;
        S.targetRef = target->GetHandle();
        S.bodyRef = tw.earth;
        S.transAxes = 7;
        S.refMode = AP_RELATIVE;
    }
};

TEST(TranslationHold, AxisSwitchesFollowTheAxisTable) {
    HoldRig r;
    ToggleTranslationAxis(&r.S, 0);
    EXPECT_EQ(r.S.transAxes, 0);
    ToggleTranslationAxis(&r.S, 2);
    EXPECT_EQ(r.S.transAxes, 6);
    ToggleTranslationAxis(&r.S, 1);
    EXPECT_EQ(r.S.transAxes, 3);
    ToggleTranslationAxis(&r.S, 2);
    EXPECT_EQ(r.S.transAxes, 4);
    ToggleTranslationAxis(&r.S, 1);
    // Toggling x off again: nothing left, groups off.
    r.v->SetThrusterLevel(r.v->GetThrusterHandleByIndex(r.right), 0.7);
    ToggleTranslationAxis(&r.S, 0);
    EXPECT_EQ(r.S.axisMask, 0u);
    EXPECT_EQ(r.S.transAxes, 7);
    EXPECT_EQ(r.Level(r.right), 0.0);
    ToggleTranslationAxis(&r.S, 3);
    EXPECT_EQ(r.S.transAxes, 3);
    ToggleTranslationAxis(&r.S, 7);
    EXPECT_EQ(r.S.transAxes, 7);
    // The docking approach without a port pair takes all three axes at once.
    r.S.dockApOn = true;
    ToggleTranslationAxis(&r.S, 1);
    EXPECT_EQ(r.S.transAxes, 3);
    r.S.dockApOn = false;
    // Locked out: nothing changes.
    r.S.lockedOut = true;
    ToggleTranslationAxis(&r.S, 7);
    EXPECT_EQ(r.S.transAxes, 3);
    r.S.lockedOut = false;
    // A target that is not a vessel: any toggle switches the hold off.
    r.S.targetRef = r.tw.earth;
    ToggleTranslationAxis(&r.S, 1);
    EXPECT_EQ(r.S.transAxes, 7);
}

TEST(TranslationHold, LevelCancelsTheVelocityByTheNextPass) {
    HoldRig r;
    ToggleTranslationAxis(&r.S, 3);
    const double m = r.P.mass;  // 10000 kg + 1000 kg of propellant
    const VECTOR3 v = _V(0.0008, -1.0, 0.0004);
    r.S.linCmd = _V(0, 0, 0);
    ApplyTranslationHold(&r.S, v);
    EXPECT_NEAR(r.S.linCmd.x, m * 0.0008 / 100.0 / 0.1, 1e-12);
    EXPECT_EQ(r.S.linCmd.y, -1.0);
    EXPECT_EQ(r.S.linCmd.z, 0.0);  // below 0.0005 m/s
    // The last pass came a frame late (0.2 s): aimed at 0.1 s again, the level
    // would double the change each such pass and swing the velocity from side to
    // side. It is aimed at the interval that came, up to twice the foretold one.
    for (const double late : {0.2, 5.0}) {
        r.S.stepDt = late;
        ApplyTranslationHold(&r.S, v);
        EXPECT_NEAR(r.S.linCmd.x, m * 0.0008 / 100.0 / 0.2, 1e-12) << late;
    }
    r.S.stepDt = 0.1;
    // At 1000x a frame of 0.05 s is 50 s long: the level cancels the velocity
    // over it. The rotation laws stop above 100x; this one does not.
    r.tw.w.warp = 1000.0;
    r.S.linCmd = _V(0, 0, 0);
    ApplyTranslationHold(&r.S, v);
    EXPECT_NEAR(r.S.linCmd.x, m * 0.0008 / 100.0 / 50.0, 1e-12);
    // No thrust along an axis: no level rather than a division by zero.
    r.P.thrust[7] = 0.0;
    r.S.linCmd = _V(0, 0, 0);
    ApplyTranslationHold(&r.S, v);
    EXPECT_EQ(r.S.linCmd.y, 0.0);
    // The target stops being a vessel: the hold and the approach end.
    r.S.dockApOn = true;
    r.S.targetRef = r.tw.earth;
    ApplyTranslationHold(&r.S, v);
    EXPECT_EQ(r.S.transAxes, 7);
    EXPECT_FALSE(r.S.dockApOn);
}

TEST(HoldSwitches, HoldTogglesUnlessLockedAndLandingKeepsItThroughThePhases) {
    HoldRig r;
    ToggleAttitudeHold(&r.S);
    EXPECT_TRUE(r.S.holdOn);
    r.v->SetThrusterLevel(r.v->GetThrusterHandleByIndex(r.pitchUp), 0.5);
    ToggleAttitudeHold(&r.S);
    EXPECT_FALSE(r.S.holdOn);
    EXPECT_EQ(r.Level(r.pitchUp), 0.0);
    r.S.lockedOut = true;
    ToggleAttitudeHold(&r.S);
    EXPECT_FALSE(r.S.holdOn);
    r.S.lockedOut = false;
    // Landing: during the powered phases a first press only marks the request.
    r.S.refMode = AP_LANDING;
    r.S.landingPhase = 3;
    ToggleAttitudeHold(&r.S);
    EXPECT_TRUE(r.S.holdOn);
    ToggleAttitudeHold(&r.S);
    EXPECT_TRUE(r.S.holdOn);
    EXPECT_TRUE(r.S.landingFlags & (1u << 12));
    ToggleAttitudeHold(&r.S);
    EXPECT_FALSE(r.S.holdOn);
    EXPECT_FALSE(r.S.landingFlags & (1u << 12));
    // All off: hold, trim and an armed burn.
    r.S.refMode = AP_RELATIVE;
    ToggleAttitudeHold(&r.S);
    ToggleTranslationAxis(&r.S, 3);
    r.S.burnArmed = true;
    AllAutopilotsOff(&r.S);
    EXPECT_FALSE(r.S.holdOn || r.S.burnArmed);
    EXPECT_EQ(r.S.transAxes, 7);
    EXPECT_EQ(r.S.axisMask, 0u);
}

TEST(AxisLaws, RateDampOpposesTheMeasuredSpin) {
    // With no error rate to hand the damp reads the vessel's angular velocity,
    // whose sign is opposite to the error rate's: a vessel pitching up (w.x > 0)
    // must be given a pitch-down command, and a rolling one a counter-roll.
    CommandRig rig;
    Vessel *hv = sim::world().vesselOf(rig.v->GetHandle());
    hv->omega = _V(0.01, 0, -0.02);
    EXPECT_LT(AxisRateDamp(&rig.P, 0, 0.0, 0.0), 0.0);
    EXPECT_GT(AxisRateDamp(&rig.P, 2, 0.0, 0.0), 0.0);
}

}  // namespace
