// The propulsion profile: thrust and torque sums, the class table, the rate
// limits, the pitch/bank split and the inertia of a docked stack.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "control/profile.h"
#include "control/thrusters.h"
#include "control_world.h"

namespace {

using ctltest::TestWorld;

TEST(Profile, SumsThrustAndTorquePerPairAndScalesTheSharedPairs) {
    TestWorld tw;
    sim::VesselClass *c = tw.AddClass("Tug", 9000.0, _V(5, 4, 2));
    TestWorld::AddThruster(c, _V(0, 0, -3), _V(0, 0, 1), 20000, 1u << 0);
    TestWorld::AddThruster(c, _V(0, -1, 0), _V(0, 1, 0), 5000, 1u << 2);
    // pitch up 2 x 20 N at 4 m; pitch down 1 x 20 N at 3 m
    TestWorld::AddThruster(c, _V(0, 0, 4), _V(0, 1, 0), 20, 1u << 3);
    TestWorld::AddThruster(c, _V(0, 0, -4), _V(0, -1, 0), 20, 1u << 3);
    TestWorld::AddThruster(c, _V(0, 0, 3), _V(0, -1, 0), 20, 1u << 4);
    // forward 300 N, back nothing
    TestWorld::AddThruster(c, _V(0, 0, 0), _V(0, 0, 1), 300, 1u << 13);
    VESSEL *v = tw.AddVessel("Tug", c);
    ThrusterProfile P;
    CreateThrusterProfile(&P, v);
    EXPECT_EQ(P.thrust[0], 20000.0);
    EXPECT_EQ(P.thrust[2], 5000.0);
    EXPECT_EQ(P.torque[0] + P.torque[1] + P.torque[2], 0.0);
    EXPECT_DOUBLE_EQ(P.thrust[3], 30.0);
    EXPECT_DOUBLE_EQ(P.torque[3], 0.5 * (160.0 + 60.0));
    EXPECT_DOUBLE_EQ(P.thrust[8], 150.0);
    EXPECT_EQ(P.thrust[4], 0.0);
    EXPECT_EQ(P.mass, 10000.0);  // with the full tank
    EXPECT_NEAR(P.pmi[0], 5.0, 1e-9);
    EXPECT_NEAR(P.pmi[2], 2.0, 1e-9);
    // Three distinct attitude thrusters, the first two in group 3 (bit 0).
    EXPECT_EQ(P.thrusterGroups[0], 1u);
    EXPECT_EQ(P.thrusterGroups[2], 2u);
    EXPECT_EQ(P.thrusterGroups[3], 1u << 10);
    EXPECT_EQ(P.thrusters[4], nullptr);
    // The step's share of the previous pass scales pairs 3..7, not forward/back.
    P.cmdScale = 0.5;
    RefreshThrusterProfile(&P);
    EXPECT_DOUBLE_EQ(P.thrust[3], 15.0);
    EXPECT_DOUBLE_EQ(P.thrust[8], 150.0);
    // Rate limits: no yaw or bank thrusters -> 0; pitch: 8 s of full
    // acceleration, 8 * 110 / 50000 rad/s (1.01 deg/s, below the class's 2.5),
    // then half that with the halved torque; the limits never rise again.
    EXPECT_EQ(P.rateLimit[1], 0.0);
    EXPECT_EQ(P.rateLimit[2], 0.0);
    EXPECT_NEAR(P.rateLimit[0], 8.0 * 55.0 / 50000.0, 1e-12);
    P.cmdScale = 1.0;
    RefreshThrusterProfile(&P);
    EXPECT_NEAR(P.rateLimit[0], 8.0 * 55.0 / 50000.0, 1e-12);
    EXPECT_NEAR(P.undockedRate[0], P.rateLimit[0], 0.0);
}

TEST(Profile, ClassTableMatchesByPrefixInOrder) {
    TestWorld tw;
    struct Case {
        const char *cls;
        double pitch, yaw, bank;
    } cases[] = {{"ShuttlePB", 0.75, 0.75, 0.75},
                 {"XR5Vanguard", 0.75, 0.75, 1.0},
                 {"UCGO\\Vessels\\UCGOArrowFreighter", 2, 2, 2},
                 {"ProjectAlpha_ISS", 0.25, 0.25, 0.5},
                 {"Daedalus2", 0.15, 0.15, 0.5},
                 {"Shuttl", 2.5, 2.5, 5.0},
                 {"DeltaGlider", 1, 1, 2}};
    for (const Case &k : cases) {
        VESSEL *v = tw.AddVessel(std::string("v_") + k.cls, tw.AddClass(k.cls));
        const VECTOR3 r = VesselClassLimits(v, kClassRates);
        EXPECT_NEAR(r.x, k.pitch * RAD, 1e-15) << k.cls;
        EXPECT_NEAR(r.y, k.yaw * RAD, 1e-15) << k.cls;
        EXPECT_NEAR(r.z, k.bank * RAD, 1e-15) << k.cls;
        EXPECT_EQ(VesselClassLimits(v, kClassApproachSpeeds).y, 0.5);
    }
    // The ion tug's row also sets the vessel's default exhaust speed.
    VESSEL *ion = tw.AddVessel("ion", tw.AddClass("IonTug Mk2"));
    VesselClassLimits(ion, kClassRates);
    EXPECT_EQ(sim::world().vesselOf(ion->GetHandle())->isp, 150000.0);
}

TEST(Profile, VesselWithoutThrustersIsInertAndNeverGetsNaN) {
    TestWorld tw;
    VESSEL *v = tw.AddVessel("Probe", tw.AddClass("Probe", 500.0, _V(1, 1, 1)));
    ThrusterProfile P;
    CreateThrusterProfile(&P, v);
    for (int k = 0; k < 9; ++k) EXPECT_EQ(P.thrust[k] + P.torque[k], 0.0);
    for (int a = 0; a < 3; ++a) EXPECT_EQ(P.rateLimit[a], 0.0);
    EXPECT_EQ(P.thrusters[0], nullptr);
    for (int a = 0; a < 3; ++a) {
        const double u = AxisAttitudeLaw(&P, a, 0.0, 1.0, 0.1, 0.0, 10.0);
        EXPECT_EQ(u, 0.0);
        EXPECT_EQ(AxisRateLaw(&P, a, 0.1, 0.0, 0.0), 0.0);
    }
    EXPECT_EQ(ApplyThrusterCommands(&P, _V(1, 1, 1), _V(1, 1, 1)), 0);
    EXPECT_EQ(GroupThrustDirection(&P, 0).x, 0.0);
}

TEST(Profile, PitchBankSharingSplitsTheSharedThrusters) {
    TestWorld tw;
    // Two thrusters each serving pitch up and bank left (and down/right), with
    // equal angular authority about x and z: the split is half and half.
    auto build = [&](const char *name, VECTOR3 pmi) {
        sim::VesselClass *c = tw.AddClass(name, 1000.0, pmi);
        TestWorld::AddThruster(c, _V(3, 0, 3), _V(0, 1, 0), 100, (1u << 3) | (1u << 7));
        TestWorld::AddThruster(c, _V(-3, 0, 3), _V(0, -1, 0), 100, (1u << 4) | (1u << 8));
        TestWorld::AddThruster(c, _V(-3, 0, -3), _V(0, 1, 0), 100, (1u << 4) | (1u << 7));
        TestWorld::AddThruster(c, _V(3, 0, -3), _V(0, -1, 0), 100, (1u << 3) | (1u << 8));
        ThrusterProfile *P = new ThrusterProfile;
        CreateThrusterProfile(P, tw.AddVessel(name, c));
        RefreshThrusterProfile(P);  // the split needs the inertia of a previous refresh
        return P;
    };
    ThrusterProfile *even = build("Even", _V(2, 2, 2));
    EXPECT_TRUE(even->pitchBankShared);
    EXPECT_NEAR(even->pitchShare, 0.5, 1e-12);
    EXPECT_NEAR(even->torque[3], 0.5 * 2 * 100 * std::sqrt(18.0), 1e-9);
    // Pitch far weaker than bank: the share caps at 0.9.
    ThrusterProfile *stiff = build("Stiff", _V(200, 199.5, 1.5));
    EXPECT_NEAR(stiff->pitchShare, 0.9, 1e-12);
    // Commands are split the same way: full pitch gives 0.9 on the pitch-up pair.
    ApplyThrusterCommands(stiff, _V(1, 0, 0), _V(0, 0, 0));
    VESSEL *v = stiff->vessel;
    EXPECT_NEAR(v->GetThrusterLevel(v->GetThrusterHandleByIndex(0)), 0.9, 1e-12);
    delete even;
    delete stiff;
}

TEST(Profile, TableHoldsSixtyFourAttitudeThrusters) {
    TestWorld tw;
    sim::VesselClass *c = tw.AddClass("Hedgehog");
    for (int i = 0; i < 70; ++i) TestWorld::AddThruster(c, _V(i, 0, 1), _V(0, 1, 0), 10, 1u << (3 + i % 12));
    ThrusterProfile P;
    CreateThrusterProfile(&P, tw.AddVessel("Hedgehog", c));
    EXPECT_FALSE(ScanThrusters(&P));
    EXPECT_NE(P.thrusters[63], nullptr);
    // All 70 still count in the sums.
    EXPECT_NEAR(P.thrust[3], 0.5 * (60.0 + 60.0), 1e-12);
}

TEST(Profile, DockedStackAddsMassAndInertiaAndSwapsTheRateSets) {
    TestWorld tw;
    sim::VesselClass *c = tw.AddClass("Dockable", 1000.0, _V(1, 1, 1));
    sim::DockSpec port;
    port.pos = _V(0, 0, 2);
    port.dir = _V(0, 0, 1);
    port.rot = _V(0, 1, 0);
    c->docks.push_back(port);
    c->tankMax = {};
    TestWorld::AddThruster(c, _V(0, 0, 2), _V(0, 1, 0), 100, (1u << 3) | (1u << 4) | (1u << 5) | (1u << 6));
    TestWorld::AddThruster(c, _V(2, 0, 0), _V(0, 1, 0), 100, (1u << 7) | (1u << 8));
    for (sim::ThrusterSpec &t : c->thrusters) t.tank = -1;
    VESSEL *a = tw.AddVessel("A", c);
    VESSEL *b = tw.AddVessel("B", c, _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 4));
    ThrusterProfile P;
    CreateThrusterProfile(&P, a);
    EXPECT_NEAR(P.pmi[0], 1.0, 1e-12);
    const double undockedPitch = P.rateLimit[0];
    // Dock B nose to nose, 4 m ahead along z.
    Vessel *ha = sim::world().vesselOf(a->GetHandle());
    Vessel *hb = sim::world().vesselOf(b->GetHandle());
    ha->ports[0].docked = hb;
    ha->ports[0].otherPort = 0;
    hb->ports[0].docked = ha;
    hb->ports[0].otherPort = 0;
    P.dockedRate[0] = 0.001;
    RefreshThrusterProfile(&P);
    EXPECT_EQ(P.dockedCount, 1);
    EXPECT_DOUBLE_EQ(P.mass, 2000.0);
    // About x and y the second body sits 4 m off: (1 + 1 + 16) / 2 per unit mass
    // (its offset counted once, as for any rigid body).
    EXPECT_NEAR(P.pmi[0], 9.0, 1e-6);
    EXPECT_NEAR(P.pmi[2], 1.0, 1e-6);
    EXPECT_EQ(P.rateLimit[0], 0.001);
    ha->ports[0].docked = nullptr;
    hb->ports[0].docked = nullptr;
    RefreshThrusterProfile(&P);
    EXPECT_EQ(P.dockedCount, 0);
    EXPECT_EQ(P.rateLimit[0], undockedPitch);
}

}  // namespace
