// The Docking mode in flight: the velocity-nulling approach without a port pair,
// the port-to-port approach and docking, and the hold point of a turning station.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "control/docking.h"
#include "control/profile.h"
#include "docking_rig.h"

namespace {

using ctltest::AngleDeg;
using ctltest::Axis;
using ctltest::DockRig;

TEST(DockingFlight, ZeroTurnsAlongTheRelativeVelocityNullsItAndSwitchesOff) {
    DockRig rig;
    ASSERT_TRUE(rig.StartPair(_V(60, 20, -150), _V(30, -20, 10), _V(3, -2, 4))) << rig.f.error();
    MfdState *S = rig.S;
    S->rollMode = 0;
    ASSERT_TRUE(rig.SelectDockingOnStation());
    ASSERT_TRUE(rig.f.key(0, "G"));
    ASSERT_TRUE(S->dockApOn && S->holdOn);
    ASSERT_EQ(S->transAxes, 3);
    const double fuel0 = rig.Propellant();
    const VECTOR3 rv0 = rig.stn->vel - rig.hv->vel;
    const double away0 = AngleDeg(Axis(rig.hv, 2), rv0);

    // The wanted z axis is the relative velocity's direction at the first pass;
    // then it follows that direction at no more than the pitch and yaw rate limit
    // (the shuttle's uneven thrusters turn it at 1.3 deg/s, above its 0.75 deg/s
    // limit); roll is only damped.
    rig.f.run(0.1);
    const MATRIX3 W0 = rig.WantedFrame();
    const VECTOR3 z0 = _V(W0.m13, W0.m23, W0.m33);
    EXPECT_LT(AngleDeg(z0, rig.stn->vel - rig.hv->vel), 0.05);
    rig.f.run(0.9);
    const MATRIX3 W = rig.WantedFrame();
    const VECTOR3 z1 = _V(W.m13, W.m23, W.m33), rv1 = rig.stn->vel - rig.hv->vel;
    ASSERT_GT(length(rv1), 0.5);
    const double limitDeg = std::fmin(S->profile->rateLimit[0], S->profile->rateLimit[1]) / RAD;
    EXPECT_LT(AngleDeg(z0, z1), 0.9 * limitDeg + 1e-6);
    EXPECT_LT(AngleDeg(z1, rv1), AngleDeg(z0, rv1));
    EXPECT_EQ(S->rollMode, 1);
    double t = 1.0, closest = away0, fastestTurn = 0;
    for (; t < 300 && S->dockApOn; t += 0.1) {
        rig.f.run(0.1);
        const VECTOR3 rv = rig.stn->vel - rig.hv->vel;
        if (length(rv) > 0.05) closest = std::fmin(closest, AngleDeg(Axis(rig.hv, 2), rv));
        for (int a = 0; a < 3; ++a)
            fastestTurn = std::fmax(fastestTurn, std::fabs(rig.hv->omega.data[a]) / S->profile->rateLimit[a]);
    }
    const double speed = length(rig.stn->vel - rig.hv->vel);
    std::printf("[ figures  ] ZERO: %.2f m/s nulled to %.4f m/s in %.1f s (z turned from %.0f to %.0f deg off "
                "it meanwhile), %.2f kg propellant, turning at up to %.1f times the rate limit\n",
                length(rv0), speed, t, away0, closest, fuel0 - rig.Propellant(), fastestTurn);
    EXPECT_LT(closest, away0 - 5.0) << "z turns towards the relative velocity";
    // The relative velocity's direction turns ever faster as it is nulled; the
    // ship does not chase it (it was left spinning at fifty times its limit).
    EXPECT_LT(fastestTurn, 3.0);
    EXPECT_FALSE(S->dockApOn);
    EXPECT_LT(speed, 0.005);
    EXPECT_FALSE(S->holdOn);
    EXPECT_EQ(S->transAxes, 7);
    // Everything off: no thruster fires any more, the ship coasts.
    rig.f.run(20.0);
    for (const sim::Thruster &th : rig.hv->thrusters) EXPECT_EQ(th.level, 0.0);
    EXPECT_LT(length(rig.stn->vel - rig.hv->vel), 0.01);
}

// The ship's docking port: on its nose as the class has it, or moved to its roof
// or its right side (ports whose frames are not half-turns of the ship's axes).
struct OwnPort {
    const char *name;
    VECTOR3 pos, dir, up;
};

class PortDocking : public ::testing::TestWithParam<OwnPort> {};

TEST_P(PortDocking, PortsFaceTheHoldPointIsReachedAtScheduledSpeedThenTheShipDocks) {
    DockRig rig;
    // 300 m from the station's forward port (255 m from the hold point), well off its
    // axis, turned away.
    ASSERT_TRUE(rig.StartPair(_V(120, -70, 290), _V(40, 120, 30))) << rig.f.error();
    MfdState *S = rig.S;
    for (auto &c : rig.f.world.classes)
        if (c.get() == rig.hv->cls) c->docks[0].pos = GetParam().pos, c->docks[0].dir = GetParam().dir,
                                    c->docks[0].rot = GetParam().up;
    ASSERT_TRUE(rig.SelectDockingOnStation());
    ASSERT_TRUE(rig.SetPorts(1, 1));
    ASSERT_TRUE(rig.SetDistance("0 0 50"));
    ASSERT_TRUE(rig.f.key(0, "G"));
    ASSERT_TRUE(S->dockApOn && S->holdOn);
    const double fuel0 = rig.Propellant();
    const double start = length(rig.PortMiss(0, 50));

    // To the hold point. The speed against the hold point never exceeds what the
    // schedule allows at the largest offset on any axis.
    double cap = 0;
    for (int k = 0; k < 3; ++k) cap += std::pow(DockingClosingSpeed(start, S->profile->approachSpeed[k]), 2);
    cap = std::sqrt(cap);
    double topSpeed = 0, t = 0, heldAt = -1;
    double fastestTurn = 0;  // largest rate as a share of the axis's limit
    VECTOR3 prev = rig.PortMiss(0, 50);
    for (; t < 900; t += 0.1) {
        rig.f.run(0.1);
        const VECTOR3 miss = rig.PortMiss(0, 50);
        topSpeed = std::fmax(topSpeed, length(miss - prev) / 0.1);
        for (int a = 0; a < 3; ++a)
            fastestTurn = std::fmax(fastestTurn, std::fabs(rig.hv->omega.data[a]) / S->profile->rateLimit[a]);
        prev = miss;
        if (length(miss) < 0.3 && rig.FacingDeg(0) > 179.5 && rig.UpDeg(0) < 0.5 &&
            length(rig.stn->vel - rig.hv->vel) < 0.02) {
            heldAt = t;
            break;
        }
    }
    std::printf("[ figures  ] DOCK (%s port): %.0f m to the hold point in %.0f s, top speed %.2f m/s (schedule "
                "%.2f), %.2f kg propellant\n",
                GetParam().name, start, heldAt, topSpeed, cap, fuel0 - rig.Propellant());
    ASSERT_GT(heldAt, 0.0) << "miss " << length(rig.PortMiss(0, 50)) << " m, facing " << rig.FacingDeg(0)
                           << " deg, up " << rig.UpDeg(0) << " deg";
    EXPECT_LE(topSpeed, cap + 0.1);
    EXPECT_GT(topSpeed, 0.5 * cap) << "the schedule's speed is used";
    // The ports' frame appears at once when the approach is switched on: a jump of
    // the wanted attitude on every axis, not a rate to chase (it spun the ship up
    // to ten and thirty times its limit).
    EXPECT_LT(fastestTurn, 1.2);
    // It stays there.
    rig.f.run(60.0);
    EXPECT_LT(length(rig.PortMiss(0, 50)), 0.3);
    EXPECT_FALSE(rig.Docked());

    // In to the port: the pilot sets the distance to 0.
    ASSERT_TRUE(rig.SetDistance("0 0 0"));
    const double t1 = t + 60.0;
    VECTOR3 miss = rig.PortMiss(0, 0), lastMiss = miss;
    double closing = 0, lateral = 0;
    for (t = 0; t < 400 && !rig.Docked(); t += 0.1) {
        lastMiss = miss;
        rig.f.run(0.1);
        miss = rig.PortMiss(0, 0);
        if (!rig.Docked()) {
            const VECTOR3 axis = rig.PortDir(rig.stn, 0);
            closing = -dotp(miss - lastMiss, axis) / 0.1;
            lateral = length(miss - axis * dotp(miss, axis));
        }
    }
    std::printf("[ figures  ] DOCK (%s port): docked %.0f s after the distance was set to 0 (%.0f s in all), closing "
                "%.3f m/s and %.3f m off the axis at contact, %.2f kg propellant in all\n",
                GetParam().name, t, t1 + t, closing, lateral, fuel0 - rig.Propellant());
    ASSERT_TRUE(rig.Docked());
    EXPECT_EQ(rig.v->GetDockStatus(rig.v->GetDockHandle(0)), rig.f.handle("ISS"));
    EXPECT_GT(closing, 0.0);
    EXPECT_LT(closing, 0.1);
    EXPECT_LT(lateral, 0.1);
    // The next pass sees the docking and lets go.
    rig.f.run(0.2);
    EXPECT_FALSE(S->holdOn);
    EXPECT_EQ(S->transAxes, 7);
    EXPECT_FALSE(S->dockApOn);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, PortDocking,
    ::testing::Values(OwnPort{"nose", _V(0, 0, 2.5), _V(0, 0, 1), _V(0, 1, 0)},
                      OwnPort{"roof", _V(0, 1.5, 0), _V(0, 1, 0), _V(0, 0, 1)},
                      OwnPort{"side", _V(1.5, 0, 0), _V(1, 0, 0), _V(0, 1, 0)}),
    [](const ::testing::TestParamInfo<OwnPort> &i) { return std::string(i.param.name); });

// The hold point of a station turning slowly, across its port axis or about it:
// the ship keeps its port on the moving point, facing the port and rolled with it.
class TurningStation : public ::testing::TestWithParam<VECTOR3> {};

TEST_P(TurningStation, HoldPointIsTrackedWithoutDrift) {
    DockRig rig;
    ASSERT_TRUE(rig.StartPair(_V(20, 10, 110), _V(10, 170, 0), _V(0, 0, 0), GetParam())) << rig.f.error();
    MfdState *S = rig.S;
    ASSERT_TRUE(rig.SelectDockingOnStation());
    ASSERT_TRUE(rig.SetPorts(1, 1));
    ASSERT_TRUE(rig.SetDistance("0 0 50"));
    ASSERT_TRUE(rig.f.key(0, "G"));
    rig.f.run(200.0);
    auto hold = [&rig] { return rig.PortPos(rig.stn, 0) + rig.PortDir(rig.stn, 0) * 50.0 - rig.stn->pos; };
    const VECTOR3 hold0 = hold();
    double worst = 0, worstFacing = 180, worstUp = 0;
    for (double t = 0; t < 300; t += 1.0) {
        rig.f.run(1.0);
        worst = std::fmax(worst, length(rig.PortMiss(0, 50)));
        worstFacing = std::fmin(worstFacing, rig.FacingDeg(0));
        worstUp = std::fmax(worstUp, rig.UpDeg(0));
    }
    const double moved = length(hold() - hold0);
    std::printf("[ figures  ] station turning at (%.2f %.2f %.2f) deg/s: hold point moved %.1f m in 300 s, port "
                "within %.3f m of it, facing within %.2f deg, up within %.2f deg\n",
                GetParam().x, GetParam().y, GetParam().z, moved, worst, 180.0 - worstFacing, worstUp);
    EXPECT_TRUE(S->dockApOn);
    EXPECT_LT(worst, 0.3);
    EXPECT_GT(worstFacing, 179.0);
    EXPECT_LT(worstUp, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Spins, TurningStation, ::testing::Values(_V(0, 0.1, 0), _V(0, 0, 0.1)));

// Docked to the station, the approach is refused: it would push and turn the
// stack for as long as the propellant lasts.
TEST(DockingFlight, TheApproachIsRefusedWhileDockedToTheTarget) {
    DockRig rig;
    // The shuttle's top port on the station's forward one: its nose up, its top
    // facing the station.
    ASSERT_TRUE(rig.StartPair(_V(0.08, -4.8, 17.0), _V(90, 0, 0))) << rig.f.error();
    ASSERT_TRUE(rig.Docked());
    ASSERT_TRUE(rig.SelectDockingOnStation());
    ASSERT_TRUE(rig.SetPorts(1, 1));
    ASSERT_TRUE(rig.SetDistance("0 0 50"));
    const double fuel = rig.Propellant();
    ASSERT_TRUE(rig.f.key(0, "G"));
    EXPECT_FALSE(rig.S->dockApOn);
    rig.f.run(60.0);
    EXPECT_EQ(rig.Propellant(), fuel);
    EXPECT_TRUE(rig.Docked());
}

// The ship some 300 m out with ports 1 and 1, the approach to a hold point 50 m
// out engaged and flown for 3 s; firing: the highest thruster level then.
bool StartApproach(DockRig &rig, double *firing) {
    if (!rig.StartPair(_V(120, -70, 290), _V(40, 120, 30)) || !rig.SelectDockingOnStation() || !rig.SetPorts(1, 1) ||
        !rig.SetDistance("0 0 50") || !rig.f.key(0, "G"))
        return false;
    rig.f.run(3.0);
    *firing = 0;
    for (const sim::Thruster &th : rig.hv->thrusters) *firing = std::fmax(*firing, th.level);
    return true;
}

// Time acceleration raised to 1000x while the approach fires its thrusters: the
// host's notice takes it back to the approach's limit before a frame runs at it,
// and that first long frame gives the impulse the last pass meant, not a hundred
// times it (the ship was thrown off at tens of m/s, spinning).
TEST(DockingFlight, RaisingTimeAccelerationMidApproachKeepsThePassImpulse) {
    DockRig rig;
    double firing = 0;
    ASSERT_TRUE(StartApproach(rig, &firing)) << rig.f.error();
    ASSERT_GT(firing, 0.1);
    const double speed0 = length(rig.stn->vel - rig.hv->vel);
    rig.f.setWarp(1000.0);
    rig.f.frames(1);
    EXPECT_NEAR(rig.f.world.simdt, kDockWarpLimit * rig.f.world.frameDt, 1e-9);
    double turn = 0;
    for (int a = 0; a < 3; ++a) turn = std::fmax(turn, std::fabs(rig.hv->omega.data[a]) / rig.S->profile->rateLimit[a]);
    EXPECT_LT(length(rig.stn->vel - rig.hv->vel), speed0 + 1.0);
    EXPECT_LT(turn, 2.0);
    // The approach then holds the acceleration where its port can still be
    // turned, says so, holds its point and docks (left at 1000x it passed the
    // station at 3 m/s and never docked; from here at 100x, as the pilot may
    // choose, it closes at up to 2.6 m/s, the top speed it flies at 1x too).
    rig.f.run(1.0);
    EXPECT_LE(oapiGetTimeAcceleration(), kDockWarpLimit);
    EXPECT_NE(std::string(oapiDebugString()).find("is docking --> limiting time acceleration"), std::string::npos);
    double fastest = 0;
    for (double t = 0; t < 2000; t += 10) {
        rig.f.run(10.0);
        fastest = std::fmax(fastest, length(rig.stn->vel - rig.hv->vel));
    }
    EXPECT_LT(length(rig.S->dockPosErr), 0.5);
    EXPECT_LT(length(rig.stn->vel - rig.hv->vel), 0.05);
    EXPECT_LT(fastest, 2.7);
    ASSERT_TRUE(rig.SetDistance("0 0 0"));
    double t = 0;
    for (; t < 2000 && !rig.Docked(); t += 10) rig.f.run(10.0);
    std::printf("[ figures  ] approach pushed to 1000x: held at 100x, top speed %.2f m/s, docked %.0f s after the "
                "distance was set to 0\n", fastest, t);
    EXPECT_TRUE(rig.Docked());
}

// Whatever ends a docking approach in flight lets go of every thruster it set:
// the ship then coasts and burns nothing.
struct LetGo {
    const char *name;
    bool (*act)(DockRig &rig);
};

class DockingLetGo : public ::testing::TestWithParam<LetGo> {};

TEST_P(DockingLetGo, NoThrusterIsLeftFiring) {
    DockRig rig;
    double firing = 0;
    ASSERT_TRUE(StartApproach(rig, &firing)) << rig.f.error();
    ASSERT_GT(firing, 0.0) << "the approach is under way";
    ASSERT_TRUE(GetParam().act(rig));
    rig.f.run(1.0);
    const double fuel = rig.Propellant();
    rig.f.run(20.0);
    for (const sim::Thruster &th : rig.hv->thrusters) EXPECT_EQ(th.level, 0.0) << "thruster " << th.index;
    EXPECT_EQ(rig.Propellant(), fuel);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, DockingLetGo,
    ::testing::Values(LetGo{"TargetDeleted", [](DockRig &rig) { return rig.f.remove("ISS"); }}),
    [](const ::testing::TestParamInfo<LetGo> &i) { return std::string(i.param.name); });

}  // namespace
