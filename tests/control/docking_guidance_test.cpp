// Docking guidance on its edges: the speed schedule, inputs it cannot use (ports
// that do not exist, a target without ports, zero thrust, mass, vectors or step),
// the velocity-nulling approach without attitude hold, and the station-keeping
// that a plain TRIM flies in Docking mode without a port pair.
#include <gtest/gtest.h>

#include <cmath>

#include "control/docking.h"
#include "control/profile.h"
#include "docking_rig.h"

namespace {

using ctltest::DockRig;

bool Finite(const VECTOR3 &v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool StateFinite(const MfdState *S) {
    return Finite(S->dockPosErr) && Finite(S->dockRelVel) && Finite(S->targetRelPos) && Finite(S->targetRelVel) &&
           std::isfinite(S->targetRelSpeed) && Finite(S->refAtt) && Finite(S->relAtt) &&
           Finite(S->attitudeAngles) && Finite(S->linCmd) && Finite(S->rotCmd);
}

TEST(DockingSchedule, SpeedGrowsInWholeStepsOfTheLimitAndStopsWithoutOne) {
    // Within ten seconds' travel at the limit: a ten-second time constant.
    EXPECT_DOUBLE_EQ(DockingClosingSpeed(4.0, 0.5), 0.4);
    EXPECT_DOUBLE_EQ(DockingClosingSpeed(-4.0, 0.5), -0.4);
    EXPECT_DOUBLE_EQ(DockingClosingSpeed(5.0, 0.5), 0.5);  // both rules meet at 10 vmax
    // Beyond: n vmax from 20 n^2 vmax on.
    EXPECT_DOUBLE_EQ(DockingClosingSpeed(6.0, 0.5), 0.5);
    EXPECT_DOUBLE_EQ(DockingClosingSpeed(39.9, 0.5), 0.5);
    EXPECT_DOUBLE_EQ(DockingClosingSpeed(40.0, 0.5), 1.0);
    EXPECT_DOUBLE_EQ(DockingClosingSpeed(-500.0, 0.5), -3.5);
    for (double vmax : {0.0, -1.0, double(NAN), double(INFINITY)}) EXPECT_EQ(DockingClosingSpeed(100.0, vmax), 0.0) << vmax;
    EXPECT_EQ(DockingClosingSpeed(NAN, 0.5), 0.0);
}

// The approach on with ports that cannot be used: nothing is flown towards the
// station, the attitude is held where it is, every value stays finite.
class UnusablePorts : public ::testing::TestWithParam<int> {};

TEST_P(UnusablePorts, ApproachHoldsStillAndFliesNothing) {
    DockRig rig;
    const bool portless = GetParam() == 2;
    const std::string ships = ctltest::OrbitingShip("ISS", portless ? "Probe" : ctltest::kStationShip) +
                              ctltest::OrbitingShip("SH", ctltest::kPlainShip, _V(20, 30, 0), _V(0, 0, 0),
                                                    _V(40, 0, 200), _V(0, 0, -0.2));
    ASSERT_TRUE(rig.Start(ctltest::ScenarioText("SH", ships), "SH", 0.1)) << rig.f.error();
    rig.stn = rig.f.vessel("ISS");
    MfdState *S = rig.S;
    rig.f.run(1.0);
    ASSERT_TRUE(rig.SelectDockingOnStation());
    // As a scenario could set them: port 2 of a one-port ship, port 9 of a
    // three-port station, or any port of a vessel without ports.
    S->ownPort = GetParam() == 0 ? 2 : 1;
    S->targetPort = GetParam() == 1 ? 9 : 1;
    EXPECT_FALSE(DockingPortPairValid(S));
    ASSERT_TRUE(rig.f.key(0, "G"));
    ASSERT_TRUE(S->dockApOn && S->holdOn);
    const VECTOR3 drift = rig.stn->vel - rig.hv->vel;
    const MATRIX3 R0 = rig.hv->R;
    rig.f.run(30.0);
    EXPECT_TRUE(StateFinite(S));
    EXPECT_LT(length((rig.stn->vel - rig.hv->vel) - drift), 0.01) << "no translation";
    EXPECT_LT(ctltest::Rig::MaxDeg(MatrixToEuler(MatMat(MatTranspose(rig.hv->R), R0), 0)), 0.5) << "attitude held";
    EXPECT_EQ(S->dockPosErr.x, 0.0);
    EXPECT_GT(length(S->targetRelPos), 100.0) << "the target is still tracked for the page";
}

INSTANTIATE_TEST_SUITE_P(Cases, UnusablePorts, ::testing::Values(0, 1, 2));

TEST(DockingGuidance, DegenerateInputsGiveFiniteResults) {
    DockRig rig;
    ASSERT_TRUE(rig.StartPair(_V(20, 10, 110), _V(0, 180, 0))) << rig.f.error();
    MfdState *S = rig.S;
    ASSERT_TRUE(rig.SelectDockingOnStation());
    ASSERT_TRUE(rig.SetPorts(1, 1));

    // No time between two updates: no port rate rather than a division by zero.
    S->prevPortPos = _V(5, 5, 5);
    UpdateDockingMode(S, 0.0);
    EXPECT_TRUE(StateFinite(S));
    EXPECT_EQ(length(S->targetRelVel), 0.0);
    UpdateDockingMode(S, 0.1);
    EXPECT_LT(S->targetRelSpeed, 0.01) << "the next step's rate comes from this step's offset";

    // A port without a frame (zero-length or parallel vectors) is not used.
    sim::DockSpec &port = const_cast<sim::DockSpec &>(rig.hv->cls->docks[0]);
    const VECTOR3 up0 = port.rot;
    for (VECTOR3 up : {_V(0, 0, 0), port.dir * 2.0}) {
        port.rot = up;
        EXPECT_FALSE(DockingPortPairValid(S));
        UpdateDockingMode(S, 0.1);
        EXPECT_TRUE(StateFinite(S));
        EXPECT_EQ(length(S->dockPosErr), 0.0);
    }
    port.rot = up0;
    UpdateDockingMode(S, 0.1);
    ASSERT_GT(length(S->dockPosErr), 10.0);

    // No thrust at all: the limit falls to zero, the demand is just the hold
    // point's velocity, and nothing divides by the missing thrust.
    for (int i = 0; i < 9; ++i) S->profile->thrust[i] = 0.0;
    S->dockApOn = true;
    S->transAxes = 3;
    S->axisMask = 7;
    const VECTOR3 demand = DockingApproach(S);
    EXPECT_TRUE(Finite(demand));
    for (int k = 0; k < 3; ++k) EXPECT_EQ(S->profile->approachSpeed[k], 0.0);
    EXPECT_LT(length(demand - S->dockRelVel), 1e-12);
    EXPECT_TRUE(Finite(S->linCmd));

    // No mass: the limit is left as it was.
    S->profile->approachSpeed[0] = 0.5;
    S->profile->mass = 0.0;
    EXPECT_TRUE(Finite(DockingApproach(S)));
    EXPECT_EQ(S->profile->approachSpeed[0], 0.5);
}

TEST(DockingGuidance, ZeroEndsAtOnceWhenHoldIsSwitchedOff) {
    DockRig rig;
    ASSERT_TRUE(rig.StartPair(_V(60, 20, -150), _V(0, 0, 0), _V(2, 0, 1))) << rig.f.error();
    MfdState *S = rig.S;
    ASSERT_TRUE(rig.SelectDockingOnStation());
    ASSERT_TRUE(rig.f.key(0, "G"));
    rig.f.run(0.3);
    ASSERT_TRUE(S->dockApOn);
    ASSERT_TRUE(rig.f.key(0, "H"));
    rig.f.run(0.2);
    EXPECT_FALSE(S->dockApOn);
    EXPECT_EQ(S->transAxes, 7);
    EXPECT_GT(length(rig.stn->vel - rig.hv->vel), 0.5) << "it never nulls without attitude control";
}

// TRIM in Docking mode without a port pair keeps the target at dockXyz in the
// ship's axes: the target's own velocity is what the hold point moves at.
TEST(DockingGuidance, TrimWithoutPortPairKeepsTheTargetAtTheOffset) {
    DockRig rig;
    ASSERT_TRUE(rig.StartPair(_V(30, -20, -200), _V(0, 0, 0), _V(0.2, 0.1, 0.3))) << rig.f.error();
    MfdState *S = rig.S;
    ASSERT_TRUE(rig.SelectDockingOnStation());
    ASSERT_TRUE(rig.SetDistance("0 0 100"));
    ASSERT_TRUE(rig.f.key(0, "Delete"));
    ASSERT_EQ(S->transAxes, 3);
    ASSERT_FALSE(S->holdOn);
    rig.f.run(300.0);
    const VECTOR3 seen = tmul(rig.hv->R, rig.stn->pos - rig.hv->pos);
    EXPECT_LT(length(seen - _V(0, 0, 100)), 0.5) << seen.x << " " << seen.y << " " << seen.z;
    EXPECT_LT(length(rig.stn->vel - rig.hv->vel), 0.01);
}

}  // namespace
