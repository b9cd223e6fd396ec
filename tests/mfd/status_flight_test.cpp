// Scenario blocks in flight: a cockpit full of autopilots saved and loaded again,
// the block of a known state line by line, blocks with bad lines, and the two
// modes that only a scenario can select.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "control/math.h"
#include "control/profile.h"
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "landing/target.h"
#include "mfd/dialogs.h"
#include "mfd/setters.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/plugin_flight.h"

namespace {

const char kWorld[] = R"(BEGIN_ENVIRONMENT
  System Sol
  Date MJD 60000.25
END_ENVIRONMENT
BEGIN_FOCUS
  Ship SH-01
END_FOCUS
BEGIN_SHIPS
ISS:ProjectAlpha_ISS
  STATUS Orbiting Earth
  ELEMENTS 6771.0 0.0 51.6 40.0 40.0 120.0 EQU
END
SH-01:ShuttlePB
  STATUS Orbiting Earth
  ELEMENTS 6771.0 0.0 51.6 40.0 40.0 119.983076 EQU
  AROT 0 90 0
END
SH-02:ShuttlePB
  STATUS Orbiting Earth
  ELEMENTS 6771.0 0.0 51.6 40.0 40.0 119.99 EQU
  AROT 20 -30 40
END
END_SHIPS
)";

std::string Block(const char *display, const std::string &lines) {
    return std::string("BEGIN_MFD ") + display + "\n  TYPE User\n  MODE TessarcMFD\n" + lines + "END_MFD\n";
}

struct Saved {
    std::string vessel;
    int position;
    MfdState state;
    ThrusterProfile profile;
};

std::vector<Saved> Snapshot() {
    std::vector<Saved> out;
    for (int slot = 0; slot < kMaxSlots; ++slot) {
        VesselRecord *r = RecordForSlot(slot);
        for (int p = 0; r && p < kMaxPositions; ++p)
            if (r->states[p]) out.push_back({r->name, p, *r->states[p], *r->states[p]->profile});
    }
    return out;
}

void ExpectNear3(const VECTOR3 &a, const VECTOR3 &b, double tol, const std::string &what) {
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(a.data[k], b.data[k], tol) << what << " [" << k << "]";
}

// The fields a block carries, as loaded against as saved.
void ExpectSameCarriedFields(const Saved &s, const MfdState &b) {
    const MfdState &a = s.state;
    const std::string at = s.vessel + " at " + std::to_string(s.position);
    EXPECT_EQ(a.refMode, b.refMode) << at;
    EXPECT_STREQ(a.targetRefName, b.targetRefName) << at;
    if (a.refMode == AP_VELOCITY) {
        EXPECT_STREQ(a.bodyRefName, b.bodyRefName) << at;
    }
    EXPECT_EQ(a.targetSet, b.targetSet) << at;
    if (a.refMode == AP_DOCKING) {
        EXPECT_EQ(a.ownPort, b.ownPort) << at;
        EXPECT_EQ(a.targetPort, b.targetPort) << at;
    }
    const double angle = 2e-6 * RAD;
    ExpectNear3(a.refAtt, b.refAtt, angle, at + " refAtt");
    ExpectNear3(a.relAtt, b.relAtt, angle, at + " relAtt");
    EXPECT_EQ(a.holdOn, b.holdOn) << at;
    EXPECT_EQ(a.transAxes, b.transAxes) << at;
    EXPECT_EQ(a.dockApOn, b.dockApOn) << at;
    EXPECT_EQ(a.eulerConvention, b.eulerConvention) << at;
    EXPECT_EQ(a.spinMode, b.spinMode) << at;
    EXPECT_EQ(a.rollMode, b.rollMode) << at;
    ExpectNear3(a.dockXyz, b.dockXyz, 1e-3, at + " dockXyz");
    if (a.refMode == AP_DIRECT_BURN) {
        EXPECT_NEAR(a.burnMjd, b.burnMjd, 1e-9) << at;
        ExpectNear3(a.burnDv, b.burnDv, 1e-3, at + " burnDv");
        EXPECT_EQ(a.burnArmed, b.burnArmed) << at;
        EXPECT_EQ(a.orbitInsert, b.orbitInsert) << at;
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(a.burnData3[k], b.burnData3[k], 1e-3) << at;
    }
    EXPECT_EQ(a.landingPrecision, b.landingPrecision) << at;
    EXPECT_NEAR(a.cutoffAlt, b.cutoffAlt, 0.005) << at;
    EXPECT_EQ(a.forceLand, b.forceLand) << at;
    EXPECT_EQ(a.landBrake, b.landBrake) << at;
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(s.profile.rateLimit[k], b.profile->rateLimit[k], 1e-3 * RAD) << at;
        EXPECT_NEAR(s.profile.approachSpeed[k], b.profile->approachSpeed[k], 1e-3) << at;
    }
}

// Pitch and yaw error; the Velocity mode leaves the bank free ("KILL ROLL").
double ErrorDeg(const MfdState *S) { return std::hypot(S->attitudeAngles.x, S->attitudeAngles.y) * DEG; }

// Velocity HOLD with pitch and yaw offsets on the left display; SH-02 as a remote
// vessel on the right in Relative mode on the station with HOLD and TRIM on x
// and y; a Docking setup on display 2; the station's Direct Burn, armed from the
// scenario, on display 3; SH-02's rate limits lowered. Saved, loaded, compared,
// flown on.
TEST(ScenarioBlocks, RoundTripKeepsEveryAutopilotFlying) {
    std::string saved;
    std::vector<Saved> before;
    double holdError = 0.0;
    {
        auto f = flight::flyLinked(std::string(kWorld) +
                     Block("3", "  MFDIndex 3\n   REMOTE ISS\n    REFMODE BURNDATA\n"
                                "     BurnData1 60000.3000000000 12.500 -1.000 2.000 1 1\n"
                                "     BurnData3 1.000 2.000 3.000 4.000\n     activeAP 1 7 0 2 0 1\n"));
        ASSERT_TRUE(f->open(0) && f->open(1) && f->open(2)) << f->error();
        f->frames(1);
        ASSERT_TRUE(f->key(1, "Tab"));
        ASSERT_TRUE(f->type(1, "SH-02"));
        auto mode = [&](int d, const char *digit) {
            flight::mfdObject(*f, d)->state->modePage = true;
            ASSERT_TRUE(f->key(d, digit));
        };
        mode(0, "1");
        ASSERT_TRUE(f->key(0, "P") && f->type(0, "10"));
        ASSERT_TRUE(f->key(0, "Y") && f->type(0, "-5 5"));
        ASSERT_TRUE(f->key(0, "H"));
        mode(1, "2");
        ASSERT_TRUE(f->key(1, "T") && f->type(1, "ISS"));
        ASSERT_TRUE(f->key(1, "H") && f->key(1, "End") && f->key(1, "PgDn"));
        mode(2, "4");
        ASSERT_TRUE(f->key(2, "T") && f->type(2, "ISS"));
        ASSERT_TRUE(f->key(2, "L") && f->type(2, "1"));
        ASSERT_TRUE(f->key(2, "D") && f->type(2, "2"));
        ASSERT_TRUE(f->key(2, "X") && f->type(2, "X5 Y-2 Z30"));
        RatesInput lower = {};
        lower.direct = true;
        lower.value[0] = 1.5, lower.value[1] = 1.25, lower.value[2] = 2;
        ASSERT_TRUE(SetProfileRates(flight::stateOf("SH-02", 1)->profile, lower));
        f->run(20);
        ASSERT_TRUE(flight::stateOf("SH-01", 0)->holdOn);
        ASSERT_EQ(flight::stateOf("SH-02", 1)->transAxes, 4);  // x and y
        ASSERT_TRUE(flight::stateOf("ISS", 3)->burnArmed && flight::stateOf("ISS", 3)->holdOn);
        holdError = ErrorDeg(flight::stateOf("SH-01", 0));
        before = Snapshot();
        saved = f->save();
    }
    ASSERT_GE(before.size(), 6u);

    auto g = flight::flyLinked(saved);
    for (const Saved &s : before) {
        const MfdState *S = flight::stateOf(s.vessel.c_str(), s.position);
        ASSERT_NE(S, nullptr) << s.vessel << " at " << s.position;
        ExpectSameCarriedFields(s, *S);
    }
    // Each display shows the vessel whose HOLD is on, else the focus vessel.
    EXPECT_STREQ(flight::mfdObject(*g, 0)->state->vesselName, "SH-01");
    EXPECT_STREQ(flight::mfdObject(*g, 1)->state->vesselName, "SH-02");
    EXPECT_STREQ(flight::mfdObject(*g, 2)->state->vesselName, "SH-01");
    EXPECT_STREQ(flight::mfdObject(*g, 3)->state->vesselName, "ISS");

    g->run(120);
    const MfdState *hold = flight::stateOf("SH-01", 0);
    EXPECT_TRUE(hold->holdOn);
    EXPECT_GT(holdError, 2.0);  // still turning when saved
    EXPECT_LT(ErrorDeg(hold), 0.5);
    const MfdState *trim = flight::stateOf("SH-02", 1);
    EXPECT_EQ(trim->transAxes, 4);
    EXPECT_LT(std::hypot(trim->targetRelVel.x, trim->targetRelVel.y), 0.05);
    EXPECT_TRUE(flight::stateOf("ISS", 3)->holdOn);
    g->draw(3);
    EXPECT_TRUE(g->screenContains(3, "Orbit Insert"));
}

}  // namespace

namespace {

// A Landing state on a manual location at position 2, written line by line, then
// read back into another vessel's state at the same position.
TEST(ScenarioBlocks, LandingBlockTextAndReadBack) {
    auto f = flight::flyLinked(kWorld);
    ASSERT_TRUE(f->open(2)) << f->error();
    MfdState *S = flight::mfdObject(*f, 2)->state;
    ASSERT_NE(S, nullptr);
    S->refMode = AP_LANDING;
    S->padIndex = -1;
    S->targetLon = 10.5 * RAD;
    S->targetLat = -20.25 * RAD;
    S->elevation = 12.34;
    S->graphStyle = 3;
    S->refPointLon = 1.5 * RAD;
    S->refPointLat = -2.25 * RAD;
    S->approachHeading = 90 * RAD;
    S->brakeStartMjd = 60000.125;
    S->landingPhase = 3;
    S->invertRotation = true;
    S->useHover = false;
    const double coefs[6] = {1e-3, -25, 0, 1.5e5, 2, -3};
    for (int k = 0; k < 6; ++k) S->landingCoefs[k] = coefs[k], S->landingConsts[k] = k + 1;
    S->landingWork[2] = 7;
    for (int k = 10; k <= 15; ++k) S->landingWork[k] = k;
    S->refAtt = _V(10 * RAD, -20 * RAD, 30 * RAD);
    S->relAtt = _V(0, 0, -45 * RAD);
    S->holdOn = false, S->transAxes = 7, S->dockApOn = false;
    S->eulerConvention = 2, S->spinMode = 0, S->rollMode = 0;
    S->dockXyz = _V(0, 0, 500);
    const double rates[3] = {2, 2.5, 5}, speeds[3] = {0.5, 0.25, 0.125};
    for (int k = 0; k < 3; ++k) S->profile->rateLimit[k] = rates[k] * RAD, S->profile->approachSpeed[k] = speeds[k];
    S->landingPrecision = 1, S->cutoffAlt = 0.2, S->forceLand = false, S->landBrake = true;

    const std::vector<std::string> expected = {
        "  MFDIndex 2",
        "   REMOTE SH-01",
        "    REFMODE ENTRY",
        "     PADBASE -1,+010.500000 -020.250000",
        "     elevation 12.3",
        "     graphstyle 3",
        "     Porig +1.500000 -2.250000 +90.000000 60000.125000 3 1 0",
        "     Coefs 1.000000e-03 -2.500000e+01 0.000000e+00 1.500000e+05 2.000000e+00 -3.000000e+00",
        "     Const 1.000 2.000 3.000 4.000 5.000 6.000",
        "     Displ 7.000 10.000 11.000 12.000 13.000 14.000 15.000",
        "     RefAtt +10.000000 -20.000000 +30.000000",
        "     RelAtt +0.000000 +0.000000 -45.000000",
        "     activeAP 0 7 0 2 0 0",
        "     DockXYZ 0.000 0.000 500.000",
        "     Rates 2.000 2.500 5.000 0.500 0.250 0.125",
        "     Landing CLOSE",
        "     CutoffAlt 0.20",
        "     FORCELAND 0",
        "     LANDBRAKE 1",
    };
    const std::vector<std::string> written = f->host.statusLines(2);
    EXPECT_EQ(written, expected);

    // The same lines name SH-02 and come back on a new MFD at position 2.
    std::vector<std::string> lines;
    for (std::string l : written) {
        l.erase(0, l.find_first_not_of(' '));
        lines.push_back(l == "REMOTE SH-01" ? "REMOTE SH-02" : l);
    }
    std::string err;
    ASSERT_TRUE(f->host.open(2, "TessarcMFD", nullptr, err, &lines)) << err;
    const MfdState *R = flight::stateOf("SH-02", 2);
    ASSERT_NE(R, nullptr);
    EXPECT_STREQ(flight::mfdObject(*f, 2)->state->vesselName, "SH-01");  // no HOLD: back to the focus vessel
    EXPECT_EQ(R->refMode, AP_LANDING);
    EXPECT_EQ(R->manualTarget, 1);
    EXPECT_EQ(R->padIndex, -1);
    EXPECT_NEAR(R->targetLon, S->targetLon, 1e-8);
    EXPECT_NEAR(R->targetLat, S->targetLat, 1e-8);
    EXPECT_NEAR(R->elevation, 12.3, 1e-9);
    EXPECT_EQ(R->graphStyle, 3);
    EXPECT_NEAR(R->refPointLon, S->refPointLon, 1e-8);
    EXPECT_NEAR(R->refPointLat, S->refPointLat, 1e-8);
    EXPECT_NEAR(R->approachHeading, S->approachHeading, 1e-8);
    EXPECT_NEAR(R->brakeStartMjd, S->brakeStartMjd, 1e-9);
    EXPECT_EQ(R->landingPhase, 3);
    EXPECT_TRUE(R->invertRotation);
    EXPECT_FALSE(R->useHover);
    for (int k = 0; k < 6; ++k) {
        EXPECT_NEAR(R->landingCoefs[k], S->landingCoefs[k], 1e-6 * std::fabs(S->landingCoefs[k])) << k;
        EXPECT_EQ(R->landingConsts[k], S->landingConsts[k]) << k;
    }
    for (int k : {2, 10, 11, 12, 13, 14, 15}) EXPECT_EQ(R->landingWork[k], S->landingWork[k]) << k;
    ExpectNear3(R->refAtt, S->refAtt, 1e-8, "refAtt");
    ExpectNear3(R->relAtt, S->relAtt, 1e-8, "relAtt");
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(R->profile->rateLimit[k], S->profile->rateLimit[k], 1e-9) << k;
        EXPECT_EQ(R->profile->approachSpeed[k], S->profile->approachSpeed[k]) << k;
    }
    EXPECT_FALSE(R->modePage);  // the Landing page, not the mode selection
}

// A saved Landing group as a module choosing its descent profile writes it, and
// the same group without the profile's line, for two vessels at one position. A
// module that knows the line reads the profile; one that does not passes the
// line over: both groups give the same state in everything else.
TEST(ScenarioBlocks, DescentProfileLineRoundTripsAndIsPassedOverWithoutIt) {
    const std::string group = "REFMODE ENTRY\nPADBASE -1,+010.500000 -020.250000\nelevation 12.3\ngraphstyle 3\n"
                              "Porig +1.500000 -2.250000 +90.000000 60000.125000 0 1 0\n"
                              "Coefs 1.0e-03 -2.5e+01 0.0e+00 1.5e+05 2.0e+00 -3.0e+00\n"
                              "Const 1.000 2.000 3.000 4.000 5.000 6.000\n"
                              "Displ 7.000 10.000 11.000 12.000 13.000 14.000 15.000\n"
                              "RefAtt +10.000000 -20.000000 +30.000000\nactiveAP 0 7 0 2 0 1\n"
                              "Rates 2.000 2.500 5.000 0.500 0.250 0.125\nLanding FAR\n";
    const std::string tail = "CutoffAlt 0.70\nFORCELAND 1\nLANDBRAKE 0\n";
    auto f = flight::flyLinked(std::string(kWorld) +
                               Block("2", "MFDIndex 2\nREMOTE SH-01\n" + group + "DESCENT EFFICIENT\n" + tail +
                                              "REMOTE SH-02\n" + group + tail));
    const MfdState *A = flight::stateOf("SH-01", 2), *B = flight::stateOf("SH-02", 2);
    ASSERT_TRUE(A && B);
    const Saved withLine = {"SH-01", 2, *A, *A->profile};
    ExpectSameCarriedFields(withLine, *B);
    EXPECT_EQ(B->landingPrecision, 0);
    EXPECT_EQ(B->landBrake, false);
    EXPECT_EQ(A->manualTarget, B->manualTarget);
    EXPECT_EQ(A->targetLon, B->targetLon);
    EXPECT_EQ(A->targetLat, B->targetLat);
    EXPECT_EQ(A->elevation, B->elevation);
    EXPECT_EQ(A->graphStyle, B->graphStyle);
    EXPECT_EQ(A->approachHeading, B->approachHeading);
    EXPECT_EQ(A->brakeStartMjd, B->brakeStartMjd);
    EXPECT_EQ(A->invertRotation, B->invertRotation);
    EXPECT_EQ(A->useHover, B->useHover);
    for (int k = 0; k < 6; ++k)
        EXPECT_TRUE(A->landingCoefs[k] == B->landingCoefs[k] && A->landingConsts[k] == B->landingConsts[k]) << k;
    for (int k : {2, 10, 11, 12, 13, 14, 15}) EXPECT_EQ(A->landingWork[k], B->landingWork[k]) << k;

    // This module reads the profile, writes it again for SH-01 alone, and reads
    // that back.
    EXPECT_EQ(A->landingDescent, DESCENT_EFFICIENT);
    EXPECT_EQ(B->landingDescent, DESCENT_SPECIFIED);
    const std::string saved = f->save();
    size_t at = saved.find("DESCENT");
    ASSERT_NE(at, std::string::npos) << saved;
    EXPECT_EQ(saved.substr(at, 18), "DESCENT EFFICIENT\n");
    EXPECT_LT(saved.find("REMOTE SH-01"), at);
    EXPECT_LT(at, saved.find("REMOTE SH-02"));
    EXPECT_EQ(saved.find("DESCENT", at + 1), std::string::npos);
    auto g = flight::flyLinked(saved);
    EXPECT_EQ(flight::stateOf("SH-01", 2)->landingDescent, DESCENT_EFFICIENT);
    EXPECT_EQ(flight::stateOf("SH-02", 2)->landingDescent, DESCENT_SPECIFIED);
}

// Lines a damaged file may hold: only what reads cleanly is applied.
TEST(ScenarioBlocks, DamagedBlocksApplyOnlyWhatReadsCleanly) {
    const std::string longName(150, 'Q');
    auto f = flight::flyLinked(std::string(kWorld) +
                 Block("Left", "MFDIndex 0\nREMOTE SH-02\nREFMODE RELATIVE\nTARGETREF ISS\n"
                               "RelAtt 10 20 zz\nRefAtt 1e999 0 0\nDockXYZ 1 2 3\nRates nan 1 1 1 1 1\n"
                               "activeAP 1 99999999999 0 2\nCutoffAlt 12abc\nelevation\n" +
                               std::string(400, 'A') + "\nPADBASE 1,\x01\x02\xff\n"
                               "graphstyle 77\nPorig 1 2 3 4 42 0 0\nLanding ABOVE\nFORCELAND 5\n"
                               "AscData -3 1e400 9\nDOCKINGREF 9:9,Nobody\n"
                               // Groups of vessels that are not there: passed over.
                               "REMOTE " + longName + "\nREFMODE GLOBAL\nRelAtt 1 2 3\n"
                               "REMOTE Ghost\nREFMODE DOCKING\nactiveAP 0 3\n") +
                 // Not this position's lines: nothing of them applies.
                 Block("Right", "MFDIndex 0\nREMOTE ISS\nREFMODE GLOBAL\nactiveAP 1\n") +
                 // A second vessel without HOLD: the display ends on the focus vessel.
                 Block("2", "MFDIndex 2\nREMOTE ISS\nREFMODE GLOBAL\nRelAtt 1 2 3\nactiveAP 0\n"));
    const MfdState *S = flight::stateOf("SH-02", 0);
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(flight::mfdObject(*f, 0)->state, S);  // HOLD on: the display stays on SH-02
    EXPECT_EQ(S->refMode, AP_RELATIVE);
    EXPECT_STREQ(S->targetRefName, "ISS");
    ExpectNear3(S->relAtt, _V(0, 0, 0), 0, "relAtt");
    ExpectNear3(S->dockXyz, _V(1, 2, 3), 0, "dockXyz");
    for (int k = 0; k < 3; ++k) EXPECT_EQ(S->profile->approachSpeed[k], 0.5);
    EXPECT_TRUE(S->holdOn);
    EXPECT_EQ(S->transAxes, 7);
    EXPECT_EQ(S->cutoffAlt, 0.2);
    EXPECT_EQ(S->graphStyle, 1);
    EXPECT_EQ(S->landingPhase, 0);
    EXPECT_EQ(S->padIndex, 0);
    EXPECT_EQ(S->landingPrecision, 2);
    EXPECT_TRUE(S->forceLand);
    EXPECT_EQ(S->ascentMode, 0);
    EXPECT_EQ(S->ascentAlt, 50000);

    EXPECT_EQ(flight::stateOf("ISS", 1), nullptr);
    EXPECT_EQ(flight::mfdObject(*f, 1)->state->refMode, AP_VELOCITY);
    EXPECT_STREQ(flight::mfdObject(*f, 2)->state->vesselName, "SH-01");
    ASSERT_NE(flight::stateOf("ISS", 2), nullptr);
    EXPECT_EQ(flight::stateOf("ISS", 2)->refMode, AP_ATTITUDE);
    ExpectNear3(flight::stateOf("ISS", 2)->relAtt, _V(1 * RAD, 2 * RAD, 3 * RAD), 1e-12, "ISS relAtt");

    f->run(30);  // and the flight goes on
    EXPECT_TRUE(S->holdOn);
    EXPECT_TRUE(f->hostErrors().empty());
}

// Direct Burn and Ascent have no key on the mode page: a scenario selects them
// and the display opens on their pages.
TEST(ScenarioBlocks, ScenarioOnlyModesOpenOnTheirPages) {
    auto f = flight::flyLinked(std::string(kWorld) +
                 Block("Left", "MFDIndex 0\nREMOTE SH-01\nREFMODE ASCENT\nAscData 2 80000 51.6\nactiveAP 1 7 0 2 0 0\n") +
                 Block("Right", "MFDIndex 1\nREMOTE SH-02\nREFMODE BURNDATA\n"
                                "BurnData1 60000.5 15 0 -2 0 0\n"));
    f->run(3);
    f->draw(0);
    f->draw(1);
    const MfdState *A = flight::mfdObject(*f, 0)->state;
    EXPECT_EQ(A->refMode, AP_ASCENT);
    EXPECT_EQ(A->ascentMode, 2);
    EXPECT_EQ(A->ascentAlt, 80000);
    EXPECT_NEAR(A->ascentAngle, 51.6 * RAD, 1e-12);
    EXPECT_TRUE(A->holdOn);
    EXPECT_TRUE(f->screenContains(0, "Ascent - ASCENT"));
    // SH-02 has no HOLD: the right display is on the focus vessel's state, which
    // the block never reached; SH-02's Direct Burn waits at position 1.
    EXPECT_STREQ(flight::mfdObject(*f, 1)->state->vesselName, "SH-01");
    const MfdState *B = flight::stateOf("SH-02", 1);
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->refMode, AP_DIRECT_BURN);
    ASSERT_TRUE(flight::mfdObject(*f, 1)->attachToVessel(f->handle("SH-02")));
    f->draw(1);
    EXPECT_TRUE(f->screenContains(1, "Direct Burn"));
    EXPECT_NEAR(B->burnDv.z, -2, 1e-12);
}

// A burn synchronised with another module is written disarmed and without HOLD;
// saving does not touch the running flight.
TEST(ScenarioBlocks, SavingASynchronisedBurnLeavesTheFlightAlone) {
    auto f = flight::flyLinked(std::string(kWorld) +
                 Block("Left", "MFDIndex 0\nREMOTE SH-01\nREFMODE BURNDATA\nBurnData1 60000.5 15 0 0 1 0\n"
                               "activeAP 1 7 0 2 0 1\n"));
    MfdState *S = flight::mfdObject(*f, 0)->state;
    ASSERT_TRUE(S->holdOn && S->burnArmed);
    S->transXSync = true;  // the X key is refused while HOLD is on
    std::string block;
    for (const std::string &l : f->host.statusLines(0)) block += l + "\n";
    EXPECT_NE(block.find("activeAP 0 7 0 2 0 1\n"), std::string::npos) << block;
    EXPECT_NE(block.find(" 0 0\n     BurnData3"), std::string::npos) << block;
    EXPECT_TRUE(S->holdOn && S->burnArmed);
}

}  // namespace
