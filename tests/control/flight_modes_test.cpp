// The reference modes in flight: Velocity through an orbit, Relative on a
// station, the pitch spins, the ISS control mode, TRIM on a drifting target.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "control/attitude.h"
#include "control/modes.h"
#include "control/holds.h"
#include "control/thrusters.h"
#include "flight_rig.h"
#include "ship_classes.h"
#include "sim/simmath.h"

namespace {

using ctltest::AngleDeg;
using ctltest::Axis;
using ctltest::Rig;

double OrbitPeriod(VESSEL *v) {
    ELEMENTS el;
    ORBITPARAM prm;
    v->GetElements(v->GetGravityRef(), el, &prm, 0, FRAME_ECL);
    return prm.T;
}

// AROT (0, 0, 90) lines the ship up with the velocity frame of its orbit (z along
// the velocity, x along the orbit normal).
bool StartShip(Rig &rig, VECTOR3 arotDeg = _V(0, 0, 90), const std::string &extra = "",
               VECTOR3 vrotDeg = _V(0, 0, 0)) {
    return rig.Start(
        ctltest::ScenarioText("AP", ctltest::OrbitingShip("AP", ctltest::kPlainShip, arotDeg, vrotDeg) + extra), "AP",
        0.1);
}

void SetTarget(MfdState *S, Rig &rig, const char *name) {
    S->targetRef = rig.f.handle(name);
    std::snprintf(S->targetRefName, sizeof(S->targetRefName), "%s", name);
}

TEST(FlightModes, VelocityHoldFollowsTheOrbitWithItsLagAndHoldsAnOffset) {
    Rig rig;
    ASSERT_TRUE(StartShip(rig, _V(10, -20, 5))) << rig.f.error();
    MfdState *S = rig.S;
    S->rollMode = 0;
    rig.f.run(1.0);
    ToggleAttitudeHold(S);
    for (double t = 0; t < 300; t += 1) rig.f.run(1.0);
    const double T = OrbitPeriod(rig.v);
    double maxZ = 0, maxX = 0, lagSum = 0;
    int n = 0;
    for (double t = 0; t < T; t += 1.0) {
        rig.f.run(1.0);
        const MATRIX3 W = rig.VelocityFrame();
        maxZ = std::fmax(maxZ, AngleDeg(Axis(rig.hv, 2), _V(W.m13, W.m23, W.m33)));
        maxX = std::fmax(maxX, AngleDeg(Axis(rig.hv, 0), _V(W.m11, W.m21, W.m31)));
        lagSum += rig.ErrorTo(W).x;
        ++n;
    }
    const double lag = lagSum / n / RAD;
    std::printf("[ figures  ] velocity hold over one orbit (%.0f s): z within %.3f deg, x within %.3f deg, "
                "pitch lag %.4f deg (10 s x orbital rate = %.3f deg)\n",
                T, maxZ, maxX, lag, 10.0 * PI2 / T / RAD);
    EXPECT_LT(maxZ, 1.0);
    EXPECT_LT(maxX, 1.0);
    EXPECT_LT(std::fabs(lag), 1.0);

    // A pitch offset of 30 degrees is held as such.
    S->relAtt = _V(30 * RAD, 0, 0);
    for (double t = 0; t < 400; t += 1) rig.f.run(1.0);
    const MATRIX3 W = rig.VelocityFrame();
    EXPECT_NEAR(AngleDeg(Axis(rig.hv, 2), _V(W.m13, W.m23, W.m33)), 30.0, 1.0);
    EXPECT_LT(AngleDeg(Axis(rig.hv, 0), _V(W.m11, W.m21, W.m31)), 1.0);
}

TEST(FlightModes, RelativeHoldPointsAtADriftingStationAndBodyTargetGivesAirspeed) {
    Rig rig;
    // The station 2 km ahead, drifting 1 m/s outward and 0.5 m/s sideways.
    const std::string station =
        ctltest::OrbitingShip("STN", ctltest::kStationShip, _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 2000), _V(1, 0.5, 0));
    ASSERT_TRUE(StartShip(rig, _V(0, 0, 0), station)) << rig.f.error();
    MfdState *S = rig.S;
    SelectMode(S, S->refMode, AP_RELATIVE);
    SetTarget(S, rig, "STN");
    rig.f.run(1.0);
    ToggleAttitudeHold(S);
    for (double t = 0; t < 200; t += 1) rig.f.run(1.0);
    double worst = 0;
    VECTOR3 p0;
    rig.v->GetRelativePos(rig.f.handle("STN"), p0);
    for (double t = 0; t < 400; t += 1) {
        rig.f.run(1.0);
        VECTOR3 p;
        oapiGetRelativePos(rig.f.handle("STN"), rig.f.handle("AP"), &p);
        worst = std::fmax(worst, AngleDeg(Axis(rig.hv, 2), p));
    }
    VECTOR3 p1;
    rig.v->GetRelativePos(rig.f.handle("STN"), p1);
    std::printf("[ figures  ] relative hold: line of sight turned %.1f deg, z axis within %.3f deg of it\n",
                AngleDeg(p0, p1), worst);
    EXPECT_GT(AngleDeg(p0, p1), 5.0);  // the two really drifted
    EXPECT_LT(worst, 0.5);

    // With the gravity body as target the velocity reported is the air-relative one.
    SelectMode(S, AP_RELATIVE, AP_RELATIVE);
    S->targetRef = rig.v->GetGravityRef();
    oapiGetObjectName(S->targetRef, S->targetRefName, 99);
    rig.f.run(0.2);
    VECTOR3 air;
    rig.v->GetShipAirspeedVector(air);
    EXPECT_LT(length(S->targetRelVel - air), 1e-3 * length(air) + 1e-6);
    EXPECT_GT(length(air), 7000.0);
}

TEST(FlightModes, RelativeModeOnTheEarthShowsTheSpeedThroughItsTurningAir) {
    Rig rig;
    ASSERT_TRUE(StartShip(rig)) << rig.f.error();
    // 10 km over Cape Canaveral, drifting a few m/s (and falling) through the air
    // that turns with the Earth 400 m/s eastward.
    sim::Body *earth = rig.f.world.findBody("Earth");
    const VECTOR3 r = mul(earth->rotationMatrix(rig.f.simt()), sim::equToUnit(-80.6 * RAD, 28.6 * RAD)) *
                      (earth->radius + 1.0e4);
    sim::setOrbitState(*rig.hv, earth, r, earth->surfaceVelocity(r, rig.f.simt()) + _V(3.0, -4.0, 2.0),
                       _V(0.4, 0.1, -0.3), _V(0, 0, 0));
    MfdState *S = rig.S;
    SelectMode(S, S->refMode, AP_RELATIVE);
    S->targetRef = earth;
    std::snprintf(S->targetRefName, sizeof(S->targetRefName), "Earth");
    rig.f.run(1.0);
    VECTOR3 air, inertial;
    rig.v->GetShipAirspeedVector(air);
    rig.v->GetRelativeVel(earth, inertial);
    EXPECT_GT(length(inertial), 300.0);
    // Measured at the last step, up to 0.1 s ago: gravity has added up to 1 m/s since.
    EXPECT_LT(length(S->targetRelVel - air), 1.5);
    rig.f.draw(0);
    const std::string page = rig.f.screenText(0);
    const size_t at = page.find("Hor.Vel. :");
    ASSERT_NE(at, std::string::npos) << page;
    EXPECT_NEAR(std::atof(page.c_str() + at + 10), S->targetRelSpeed, 0.01) << page;
    EXPECT_LT(S->targetRelSpeed, 30.0);
    // TRIM has no vessel to match speeds with: it is refused.
    ToggleTranslationAxis(S, 3);
    EXPECT_EQ(S->transAxes, 7);
}

TEST(FlightModes, TrimNullsTheVelocityRelativeToADriftingVessel) {
    Rig rig;
    const std::string target =
        ctltest::OrbitingShip("TGT", ctltest::kPlainShip, _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 200), _V(0.6, 0.0, 0.8));
    ASSERT_TRUE(StartShip(rig, _V(0, 0, 0), target)) << rig.f.error();
    MfdState *S = rig.S;
    SelectMode(S, S->refMode, AP_RELATIVE);
    SetTarget(S, rig, "TGT");
    rig.f.run(1.0);
    const double fuel0 = rig.Propellant();
    ToggleTranslationAxis(S, 3);
    double t = 0;
    VECTOR3 dv;
    for (; t < 300; t += 0.1) {
        rig.f.run(0.1);
        rig.v->GetRelativeVel(rig.f.handle("TGT"), dv);
        if (length(dv) < 0.01) break;
    }
    std::printf("[ figures  ] trim of 1 m/s: below 0.01 m/s after %.1f s, %.2f kg propellant\n", t,
                fuel0 - rig.Propellant());
    EXPECT_LT(length(dv), 0.01);
    for (int i = 0; i < 100; ++i) rig.f.run(0.1);
    rig.v->GetRelativeVel(rig.f.handle("TGT"), dv);
    EXPECT_LT(length(dv), 0.01);

    // Following the target in Velocity mode, TRIM works on the same vessel-axes
    // velocity of the target relative to this vessel.
    ToggleTranslationAxis(S, 7);
    SelectMode(S, AP_RELATIVE, AP_VELOCITY);
    SetTarget(S, rig, "TGT");
    S->targetSet = true;
    rig.f.run(0.2);
    EXPECT_TRUE(S->targetSet);
    VECTOR3 tv;
    oapiGetRelativeVel(rig.f.handle("TGT"), rig.f.handle("AP"), &tv);
    MATRIX3 R;
    rig.v->GetRotationMatrix(R);
    EXPECT_LT(length(S->targetRelVel - MatTVec(R, tv)), 1e-6);
}

TEST(FlightModes, IssControlModeAlignsAndSpinsInOneStep) {
    for (const char *cls : {ctltest::kPlainShip, "ProjectAlpha_ISS"}) {
        SCOPED_TRACE(cls);
        Rig rig;
        ASSERT_TRUE(rig.Start(ctltest::ScenarioText("AP", ctltest::OrbitingShip("AP", cls, _V(40, 10, -70))), "AP", 0.1))
            << rig.f.error();
        rig.f.run(1.0);
        rig.S->alignVelocityRequest = true;
        rig.f.run(0.1);
        EXPECT_FALSE(rig.S->alignVelocityRequest);
        const bool iss = std::string(cls) == "ProjectAlpha_ISS";
        VECTOR3 p, v;
        rig.v->GetRelativePos(rig.v->GetGravityRef(), p);
        rig.v->GetRelativeVel(rig.v->GetGravityRef(), v);
        const VECTOR3 h = CrossProduct(p, v);
        EXPECT_LT(AngleDeg(Axis(rig.hv, 2), iss ? -v : v), 0.05);
        EXPECT_LT(AngleDeg(Axis(rig.hv, 0), iss ? -h : h), 0.05);
        const double rate = PI2 / OrbitPeriod(rig.v);
        EXPECT_NEAR(rig.Omega().x, iss ? rate : -rate, 1e-6);
        EXPECT_NEAR(rig.Omega().y, 0.0, 1e-9);
        // No hold: the spin alone keeps the attitude through a quarter orbit.
        EXPECT_FALSE(rig.S->holdOn);
        for (double t = 0; t < 0.25 * OrbitPeriod(rig.v); t += 10) rig.f.run(10);
        rig.v->GetRelativeVel(rig.v->GetGravityRef(), v);
        EXPECT_LT(AngleDeg(Axis(rig.hv, 2), iss ? -v : v), 1.0);
    }
}

// Pitch spin in Velocity mode: wanted error rate W about x, yaw and bank held.
struct SpinResult {
    double rateDeg = 0;      // settled |pitch rate|, deg/s
    double turnedDeg = 0;    // pitch turned against the velocity frame
    double yawBankMax = 0;   // worst yaw or bank error during the turn, deg
};

SpinResult FlySpin(int spinMode, double seconds) {
    SpinResult r;
    Rig rig;
    // A slight tumble in yaw and bank, which the spin must keep taking out.
    if (!StartShip(rig, _V(0, 0, 90), "", _V(0, 0.05, -0.05))) {
        ADD_FAILURE() << rig.f.error();
        return r;
    }
    MfdState *S = rig.S;
    rig.f.run(1.0);
    ToggleAttitudeHold(S);  // convention chosen for a zero error: 2
    SetSpinMode(S, spinMode);
    for (double t = 0; t < 60; t += 1) rig.f.run(1.0);
    r.rateDeg = std::fabs(rig.Omega().x) / RAD;
    for (double t = 0; t < seconds; t += 1) {
        const double before = rig.Omega().x;
        rig.f.run(1.0);
        r.turnedDeg += 0.5 * (before + rig.Omega().x) / RAD;  // turned in space about x
        const VECTOR3 e = rig.ErrorTo(rig.VelocityFrame());
        r.yawBankMax = std::fmax(r.yawBankMax, std::fmax(std::fabs(e.y), std::fabs(e.z)) / RAD);
    }
    return r;
}

TEST(FlightModes, RpmSpinTurnsAWholeRevolutionWithYawAndBankHeld) {
    const SpinResult r = FlySpin(1, 480.0);
    std::printf("[ figures  ] RPM spin: %.4f deg/s, turned %.1f deg in 480 s, yaw/bank within %.3f deg\n", r.rateDeg,
                r.turnedDeg, r.yawBankMax);
    EXPECT_NEAR(r.rateDeg, 0.75, 0.01);
    EXPECT_GT(std::fabs(r.turnedDeg), 340.0);
    EXPECT_LT(r.yawBankMax, 1.0);
}

TEST(FlightModes, TorSpinSettlesAtTwiceTheOrbitalRate) {
    Rig probe;
    ASSERT_TRUE(StartShip(probe));
    const double T = OrbitPeriod(probe.v);
    const SpinResult r = FlySpin(2, 0.5 * T);
    const double want = 4 * PI / T / RAD;
    std::printf("[ figures  ] TOR spin: %.5f deg/s (4 pi / T = %.5f), turned %.1f deg in T/2, yaw/bank within %.3f deg\n",
                r.rateDeg, want, r.turnedDeg, r.yawBankMax);
    EXPECT_NEAR(r.rateDeg, want, 0.006);
    EXPECT_GT(std::fabs(r.turnedDeg), 340.0);
    EXPECT_LT(r.yawBankMax, 1.0);
}

TEST(FlightModes, SpinTakesOutALargeYawErrorFirst) {
    Rig rig;
    ASSERT_TRUE(StartShip(rig)) << rig.f.error();
    MfdState *S = rig.S;
    S->relAtt = _V(0, 12 * RAD, 0);  // wanted 12 degrees of yaw away from where the nose is
    rig.f.run(1.0);
    ToggleAttitudeHold(S);
    SetSpinMode(S, 1);
    int yawOnly = 0;
    for (double t = 0; t < 30; t += 0.1) {
        rig.f.run(0.1);
        const VECTOR3 e = rig.ErrorTo(rig.WantedFrame());
        if (std::fabs(e.y) > 10.5 * RAD) {
            EXPECT_EQ(S->rotCmd.x, 0.0);
            EXPECT_EQ(S->rotCmd.z, 0.0);
            yawOnly += S->rotCmd.y != 0.0;
        }
    }
    EXPECT_GT(yawOnly, 0);
}

}  // namespace
