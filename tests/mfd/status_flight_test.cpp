// Scenario blocks in flight: a cockpit full of autopilots saved and loaded again,
// the block of a known state line by line, blocks with bad lines, and the two
// modes that only a scenario can select.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "control/math.h"
#include "frame/state.h"
#include "mfd/dialogs.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

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

std::unique_ptr<flight::Flight> Fly(const std::string &text) {
    std::unique_ptr<flight::Flight> f(new flight::Flight);
    EXPECT_TRUE(f->loadText(text)) << f->error();
    flight::useLinkedPlugin(*f);
    EXPECT_TRUE(f->start()) << f->error();
    return f;
}

TessarcMFD *Mfd(flight::Flight &f, int d) { return dynamic_cast<TessarcMFD *>(f.mfd(d)); }

MfdState *StateOf(const char *vessel, int position) {
    for (int slot = 0; slot < kMaxSlots; ++slot) {
        VesselRecord *r = RecordForSlot(slot);
        if (r && std::string(r->name) == vessel) return r->states[position];
    }
    return nullptr;
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
        auto f = Fly(std::string(kWorld) +
                     Block("3", "  MFDIndex 3\n   REMOTE ISS\n    REFMODE BURNDATA\n"
                                "     BurnData1 60000.3000000000 12.500 -1.000 2.000 1 1\n"
                                "     BurnData3 1.000 2.000 3.000 4.000\n     activeAP 1 7 0 2 0 1\n"));
        ASSERT_TRUE(f->open(0) && f->open(1) && f->open(2)) << f->error();
        f->frames(1);
        ASSERT_TRUE(f->key(1, "Tab"));
        ASSERT_TRUE(f->type(1, "SH-02"));
        auto mode = [&](int d, const char *digit) {
            Mfd(*f, d)->state->modePage = true;
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
        ASSERT_TRUE(SetProfileRates(StateOf("SH-02", 1)->profile, lower));
        f->run(20);
        ASSERT_TRUE(StateOf("SH-01", 0)->holdOn);
        ASSERT_EQ(StateOf("SH-02", 1)->transAxes, 4);  // x and y
        ASSERT_TRUE(StateOf("ISS", 3)->burnArmed && StateOf("ISS", 3)->holdOn);
        holdError = ErrorDeg(StateOf("SH-01", 0));
        before = Snapshot();
        saved = f->save();
    }
    ASSERT_GE(before.size(), 6u);

    auto g = Fly(saved);
    for (const Saved &s : before) {
        const MfdState *S = StateOf(s.vessel.c_str(), s.position);
        ASSERT_NE(S, nullptr) << s.vessel << " at " << s.position;
        ExpectSameCarriedFields(s, *S);
    }
    // Each display shows the vessel whose HOLD is on, else the focus vessel.
    EXPECT_STREQ(Mfd(*g, 0)->state->vesselName, "SH-01");
    EXPECT_STREQ(Mfd(*g, 1)->state->vesselName, "SH-02");
    EXPECT_STREQ(Mfd(*g, 2)->state->vesselName, "SH-01");
    EXPECT_STREQ(Mfd(*g, 3)->state->vesselName, "ISS");

    g->run(120);
    const MfdState *hold = StateOf("SH-01", 0);
    EXPECT_TRUE(hold->holdOn);
    EXPECT_GT(holdError, 2.0);  // still turning when saved
    EXPECT_LT(ErrorDeg(hold), 0.5);
    const MfdState *trim = StateOf("SH-02", 1);
    EXPECT_EQ(trim->transAxes, 4);
    EXPECT_LT(std::hypot(trim->targetRelVel.x, trim->targetRelVel.y), 0.05);
    EXPECT_TRUE(StateOf("ISS", 3)->holdOn);
    g->draw(3);
    EXPECT_TRUE(g->screenContains(3, "Orbit Insert"));
}

}  // namespace
