// The autopilot step's guards in flight (lockout, landed vessel, time
// acceleration), its allocation-free passes, and two numerical checks of the
// pitch spin: the sense of the measured angular velocity, and the Euler
// convention whose pitch angle covers the full circle.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "control/attitude.h"
#include "control/burn.h"
#include "control/modes.h"
#include "control/holds.h"
#include "control/thrusters.h"
#include "flight_rig.h"
#include "ship_classes.h"

// Heap allocation counter for the allocation test (not with AddressSanitizer,
// which brings its own allocator).
#if defined(__SANITIZE_ADDRESS__)
#define TESSARC_COUNT_ALLOCATIONS 0
#else
#define TESSARC_COUNT_ALLOCATIONS 1
namespace {
bool gCounting = false;
long gAllocations = 0;
}  // namespace
void *operator new(std::size_t n) {
    if (gCounting) ++gAllocations;
    if (void *p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t n) { return operator new(n); }
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
#endif

namespace {

using ctltest::Rig;

std::string Ship(const char *cls = ctltest::kPlainShip) {
    return ctltest::ScenarioText("AP", ctltest::OrbitingShip("AP", cls, _V(0, 0, 90)));
}

// The ship with TessarcMFD on displays 0 and 1, flown 1 s; S0 and S1: its
// states at the two positions.
bool StartTwoDisplays(Rig &rig, MfdState **S0, MfdState **S1) {
    if (!rig.Start(Ship(), "AP", 0.1) || !rig.f.open(1, "TessarcMFD", "AP")) return false;
    *S0 = rig.S;
    *S1 = rig.StateOf("AP", 1);
    rig.f.run(1.0);
    return *S1 != nullptr;
}

TEST(FlightGuards, OnePositionDrivesTheVesselAtATime) {
    Rig rig;
    MfdState *S0 = nullptr, *S1 = nullptr;
    ASSERT_TRUE(StartTwoDisplays(rig, &S0, &S1)) << rig.f.error();
    ToggleAttitudeHold(S0);
    rig.f.run(0.1);  // the pass that records HOLD at position 0
    rig.f.run(0.1);  // the next pass locks position 1 out
    EXPECT_TRUE(S1->lockedOut);
    EXPECT_FALSE(S0->lockedOut);
    ToggleAttitudeHold(S1);
    ToggleTranslationAxis(S1, 3);
    ToggleBurnArmed(S1);
    EXPECT_FALSE(S1->holdOn || S1->burnArmed);
    EXPECT_EQ(S1->transAxes, 7);
    ToggleAttitudeHold(S0);
    rig.f.run(0.1);
    EXPECT_TRUE(S1->lockedOut);  // still the masks of the pass before
    rig.f.run(0.1);
    EXPECT_FALSE(S1->lockedOut);
    // An armed burn drives the vessel the same way.
    ToggleBurnArmed(S0);
    rig.f.run(0.2);
    EXPECT_TRUE(S1->lockedOut);
    ToggleBurnArmed(S0);
    rig.f.run(0.2);
    EXPECT_FALSE(S1->lockedOut);
}

// Two displays engaging between two passes (the lockout stands on the last
// pass's masks): after the next pass one position drives and the other has let go.
TEST(FlightGuards, TwoPositionsEngagedInOneIntervalLeaveOneDriving) {
    Rig rig;
    MfdState *S0 = nullptr, *S1 = nullptr;
    ASSERT_TRUE(StartTwoDisplays(rig, &S0, &S1)) << rig.f.error();
    ToggleAttitudeHold(S1);
    ToggleAttitudeHold(S0);
    ASSERT_TRUE(S0->holdOn && S1->holdOn);
    rig.f.run(0.2);
    EXPECT_TRUE(S0->holdOn);
    EXPECT_FALSE(S1->holdOn);
    EXPECT_TRUE(S1->lockedOut);
}

TEST(FlightGuards, HoldOnALandedVesselIsSwitchedOffAfterWarmUp) {
    Rig rig;
    const std::string ship = std::string("LND:") + ctltest::kLanderShip +
                             "\n  STATUS Landed Earth\n  POS -80.6 28.5\n  HEADING 90\nEND\n";
    ASSERT_TRUE(rig.Start(ctltest::ScenarioText("LND", ship), "LND", 0.1)) << rig.f.error();
    MfdState *S = rig.S;
    ASSERT_TRUE(rig.v->GetFlightStatus() & 1);
    ToggleAttitudeHold(S);  // engaged while the warm-up still runs
    EXPECT_TRUE(S->holdOn);
    EXPECT_TRUE(S->warmUp);
    while (S->warmUp && rig.f.simt() < 5) rig.f.run(0.1);
    EXPECT_FALSE(S->holdOn);
    for (DWORD i = 0; i < rig.v->GetThrusterCount(); ++i)
        EXPECT_EQ(rig.v->GetThrusterLevel(rig.v->GetThrusterHandleByIndex(i)), 0.0);
}

TEST(FlightGuards, AboveHundredTimesOnlyTheTranslationLawActs) {
    Rig rig;
    const std::string ships = ctltest::OrbitingShip("AP", ctltest::kPlainShip, _V(0, 0, 90)) +
                              ctltest::OrbitingShip("TGT", ctltest::kPlainShip, _V(0, 0, 0), _V(0, 0, 0),
                                                    _V(100, 0, 0), _V(0, 0.05, 0));
    ASSERT_TRUE(rig.Start(ctltest::ScenarioText("AP", ships), "AP", 0.1)) << rig.f.error();
    MfdState *S = rig.S;
    SelectMode(S, S->refMode, AP_RELATIVE);
    S->targetRef = rig.f.handle("TGT");
    std::snprintf(S->targetRefName, sizeof(S->targetRefName), "TGT");
    rig.f.run(1.0);
    ToggleAttitudeHold(S);  // a large error to the target: rotation wanted
    ToggleTranslationAxis(S, 0);
    rig.f.setWarp(200);
    rig.f.frames(1);
    EXPECT_EQ(S->rotCmd.x, 0.0);
    EXPECT_EQ(S->rotCmd.y, 0.0);
    EXPECT_EQ(S->rotCmd.z, 0.0);
    // Translation: the level that cancels the velocity over the next 20 s frame.
    const double v = S->targetRelVel.x;
    ASSERT_GT(std::fabs(v), 0.0005);
    const double level = S->profile->mass * v / S->profile->thrust[6] / 20.0;
    EXPECT_NEAR(S->linCmd.x, level > 1 ? 1 : (level < -1 ? -1 : level), 1e-9);
    EXPECT_NE(S->linCmd.x, 0.0);
}

TEST(FlightGuards, AutopilotPassesAllocateNothing) {
#if !TESSARC_COUNT_ALLOCATIONS
    GTEST_SKIP() << "allocation counting is off under AddressSanitizer";
#else
    Rig rig;
    const std::string ships = ctltest::OrbitingShip("AP", ctltest::kPlainShip, _V(10, 20, 30)) +
                              ctltest::OrbitingShip("TGT", ctltest::kPlainShip, _V(0, 0, 0), _V(0, 0, 0),
                                                    _V(0, 0, 100), _V(0.5, 0, 0));
    ASSERT_TRUE(rig.Start(ctltest::ScenarioText("AP", ships), "AP", 0.1)) << rig.f.error();
    ASSERT_TRUE(rig.f.open(1, "TessarcMFD", "TGT"));
    MfdState *S = rig.S, *T = rig.StateOf("TGT", 1);
    ASSERT_NE(T, nullptr);
    rig.f.run(1.0);
    SelectMode(S, S->refMode, AP_RELATIVE);
    S->targetRef = rig.f.handle("TGT");
    std::snprintf(S->targetRefName, sizeof(S->targetRefName), "TGT");
    ToggleAttitudeHold(S);
    ToggleTranslationAxis(S, 3);
    ToggleAttitudeHold(T);  // Velocity mode
    SetSpinMode(T, 1);
    const int slotA = FindVesselSlot(rig.f.handle("AP")), slotT = FindVesselSlot(rig.f.handle("TGT"));
    VesselRecord *a = RecordForSlot(slotA), *t = RecordForSlot(slotT);
    double simt = rig.f.simt();
    gAllocations = 0;
    gCounting = true;
    for (int i = 0; i < 1000; ++i) {
        simt += 0.1;
        UpdateVessel(a, simt, 0.1, slotA);
        UpdateVessel(t, simt, 0.1, slotT);
    }
    gCounting = false;
    EXPECT_EQ(gAllocations, 0);
    EXPECT_TRUE(S->holdOn && T->holdOn);
    EXPECT_NE(S->transAxes, 7);
#endif
}

// The pitch spin as written with the measured angular velocity taken as the
// error rate: fed positive feedback, the spin runs away. Fed its negative (what
// the attitude controller does) it settles at the wanted rate.
double FlySpinLaw(double sense, double seconds) {
    Rig rig;
    if (!rig.Start(Ship(), "AP", 0.1)) {
        ADD_FAILURE() << rig.f.error();
        return 0;
    }
    rig.f.run(1.0);
    ThrusterProfile *P = rig.S->profile;
    double peak = 0;
    for (double t = 0; t < seconds; t += 0.1) {
        const double u = AxisRateLaw(P, 0, kRpmSpinRate, sense * rig.Omega().x, kRollRateDeadband);
        ApplyThrusterCommands(P, _V(u, 0, 0), _V(0, 0, 0));
        rig.f.run(0.1);
        peak = std::fmax(peak, std::fabs(rig.Omega().x));
    }
    AttitudeGroupsOff(P);
    return peak / RAD;
}

TEST(SpinChecks, MeasuredAngularVelocityEntersTheSpinLawNegated) {
    const double asWritten = FlySpinLaw(+1.0, 120.0);
    const double mended = FlySpinLaw(-1.0, 120.0);
    std::printf("[ figures  ] pitch spin law over 120 s: Omega as the error rate reaches %.1f deg/s, "
                "its negative peaks at %.3f deg/s\n", asWritten, mended);
    EXPECT_GT(asWritten, 20.0 * 0.75);
    EXPECT_LT(mended, 0.80);
}

// The attitude error of a vessel pitched by theta (and turned by phi about its
// own y axis) against a fixed reference.
Quat PitchedError(double theta, double phi) {
    const MATRIX3 R = MatMat(EulerToMatrix(_V(theta, 0, 0)), EulerToMatrix(_V(0, phi, 0)));
    const Quat g = EulerToQuat(MatrixToEuler(R, 0));
    return Quat{g.w, -g.x, -g.y, -g.z};
}

TEST(SpinChecks, OnlyReferenceSidePitchKeepsYawAndBankUsableAllRound) {
    double jump0 = 0, jump2 = 0, jumpSpin = 0;
    VECTOR3 prev0 = _V(0, 0, 0), prev2 = prev0, prevSpin = prev0;
    int reversed0 = 0, reversedSpin = 0;
    for (int k = 1; k <= 359; ++k) {
        const double theta = k * RAD;
        const Quat q = PitchedError(theta, 0.0);
        const VECTOR3 e0 = QuatToEuler(q, 0), e2 = QuatToEuler(q, 2), es = SpinErrorAngles(q);
        auto jump = [](const VECTOR3 &a, const VECTOR3 &b) { return std::fmax(std::fabs(a.y - b.y), std::fabs(a.z - b.z)); };
        jump0 = std::fmax(jump0, jump(e0, prev0));
        jump2 = std::fmax(jump2, jump(e2, prev2));
        jumpSpin = std::fmax(jumpSpin, jump(es, prevSpin));
        prev0 = e0;
        prev2 = e2;
        prevSpin = es;
        // How the yaw reading answers a small turn of the vessel about its own y
        // axis (what the yaw thrusters do): it must keep its sign all the way round.
        const double h = 1e-4;
        const double d0 = QuatToEuler(PitchedError(theta, h), 0).y - QuatToEuler(PitchedError(theta, -h), 0).y;
        const double ds = SpinErrorAngles(PitchedError(theta, h)).y - SpinErrorAngles(PitchedError(theta, -h)).y;
        reversed0 += d0 > 0;
        reversedSpin += ds > 0;
    }
    // Convention 2: yaw and bank flip by half a turn where the pitch passes 90
    // degrees. Convention 0 keeps them continuous, but beyond 90 degrees its yaw
    // answers the yaw thrusters backwards. The spin's angles do neither.
    EXPECT_GT(jump2 / RAD, 170.0);
    EXPECT_LT(jump0 / RAD, 1e-6);
    EXPECT_GT(reversed0, 170);
    EXPECT_LT(jumpSpin / RAD, 1e-6);
    EXPECT_EQ(reversedSpin, 0);
    // For small errors the spin's angles are the usual ones.
    const Quat small = EulerToQuat(_V(0.01, -0.02, 0.015));
    const VECTOR3 a = SpinErrorAngles(small), b = QuatToEuler(small, 0);
    EXPECT_NEAR(a.x, b.x, 1e-3);
    EXPECT_NEAR(a.y, b.y, 1e-3);
    EXPECT_NEAR(a.z, b.z, 1e-3);
}

}  // namespace
