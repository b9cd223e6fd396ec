// Docking ports: capture as the host does it, the docked stack moving as one
// body, and undocking.
#include <cmath>

#include "sim_fixture.h"
#include "simmath.h"

namespace {

struct Approach {
    simtest::WorldGuard w;
    Vessel *iss = nullptr, *pb = nullptr;

    // The shuttle's port 1 m in front of the station's port 0 and
    // `offset` m to its side, facing it, closing at `speed`, its up vector turned
    // by `roll` about the station port's axis.
    explicit Approach(double speed, double roll = 0.0, double offset = 0.0) {
        simtest::loadClasses(*w);
        iss = sim::addVessel(*w, "ISS", w->findClass("ProjectAlpha_ISS"));
        pb = sim::addVessel(*w, "PB", w->findClass("ShuttlePB"));
        sim::setOrbitState(*iss, nullptr, _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 0));
        // Turned so its port faces the station's, up vectors `roll` apart.
        const sim::DockSpec &di = iss->cls->docks[0], &dp = pb->cls->docks[0];
        const VECTOR3 gd = -di.dir, gr = di.rot * std::cos(roll) + crossp(di.dir, di.rot) * std::sin(roll);
        const MATRIX3 R = mul(sim::matFromColumns(gd, gr, crossp(gd, gr)),
                              sim::transpose(sim::matFromColumns(dp.dir, dp.rot, crossp(dp.dir, dp.rot))));
        const VECTOR3 port = di.pos + di.dir * 1.0 + _V(offset, 0, 0);
        sim::setOrbitState(*pb, nullptr, port - mul(R, pb->cls->docks[0].pos), _V(0, 0, -speed), _V(0, 0, 0),
                           _V(0, 0, 0));
        pb->R = R;
    }
    bool fly(double seconds) {
        for (int k = 0; k < (int)(seconds / 0.5) && !pb->iface->DockingStatus(0); k++) sim::advance(*w, 0.5);
        return pb->iface->DockingStatus(0) == 1;
    }
};

// As in the host: a pair of free ports closer than half a metre is marked while
// they close and docks once they no longer do; neither their alignment nor their
// speed is asked.
TEST(Docking, PortsCaptureOnceTheyStopClosingWithinHalfAMetre) {
    {
        Approach a(0.1);
        ASSERT_TRUE(a.fly(20.0));
        EXPECT_EQ(a.iss->iface->DockingStatus(0), 1u);
        EXPECT_EQ(a.iss->iface->GetDockStatus(a.iss->iface->GetDockHandle(0)), a.pb);
        EXPECT_EQ(a.pb->iface->GetDockStatus(a.pb->iface->GetDockHandle(0)), a.iss);
        EXPECT_EQ(a.iss->iface->DockingStatus(1), 0u);
        EXPECT_EQ(a.pb->iface->GetFlightStatus() & 2u, 2u);
        // The ports meet exactly; momentum is shared.
        VECTOR3 pp, pi;
        a.pb->iface->Local2Global(a.pb->cls->docks[0].pos, pp);
        a.iss->iface->Local2Global(a.iss->cls->docks[0].pos, pi);
        EXPECT_LT(dist(pp, pi), 1e-9);
        double mt = a.iss->iface->GetMass() + a.pb->iface->GetMass();
        EXPECT_NEAR(a.iss->vel.z, -0.1 * a.pb->iface->GetMass() / mt, 1e-12);
    }
    EXPECT_TRUE(Approach(0.8).fly(20.0));             // fast: past each other between two frames
    EXPECT_TRUE(Approach(0.1, PI05).fly(20.0));       // up vectors crossed
    EXPECT_TRUE(Approach(0.1, 0.0, 0.4).fly(20.0));   // beside the port, but within reach
    EXPECT_FALSE(Approach(0.1, 0.0, 0.6).fly(20.0));  // never within half a metre
    {
        Approach a(0.0);  // at rest 1 m out: never closer, never marked
        EXPECT_FALSE(a.fly(5.0));
        a.pb->vel = _V(0, 0, -0.02);  // creeping in to 0.4 m: marked, docks when it stops
        for (int k = 0; k < 60 && !a.pb->iface->DockingStatus(0); k++) sim::advance(*a.w, 0.5);
        EXPECT_FALSE(a.pb->iface->DockingStatus(0));
        a.pb->vel = a.iss->vel;
        EXPECT_TRUE(a.fly(1.0));
    }
}

TEST(Docking, StackMovesAsOneBodyAndUndocks) {
    Approach a(0.1);
    ASSERT_TRUE(a.fly(20.0));
    VECTOR3 cg;
    EXPECT_TRUE(a.iss->iface->GetSuperstructureCG(cg));
    double mi = a.iss->iface->GetMass(), mp = a.pb->iface->GetMass();
    VECTOR3 offset = tmul(a.iss->R, a.pb->pos - a.iss->pos);
    EXPECT_NEAR(length(cg), length(offset) * mp / (mi + mp), 1e-6);
    VECTOR3 cgp;
    EXPECT_TRUE(a.pb->iface->GetSuperstructureCG(cgp));
    EXPECT_NEAR(length(cgp), length(offset) * mi / (mi + mp), 1e-6);
    // The shuttle fires its main engine and yaws: the stack accelerates and turns
    // together, the shuttle staying at its place on the station.
    VECTOR3 v0 = a.iss->vel;
    a.pb->iface->SetThrusterGroupLevel(THGROUP_MAIN, 1.0);
    a.pb->iface->SetThrusterGroupLevel(THGROUP_ATT_YAWLEFT, 1.0);
    for (int k = 0; k < 100; k++) sim::advance(*a.w, 0.5);
    a.pb->iface->SetThrusterGroupLevel(THGROUP_MAIN, 0.0);
    a.pb->iface->SetThrusterGroupLevel(THGROUP_ATT_YAWLEFT, 0.0);
    EXPECT_GT(length(a.iss->vel - v0), 0.5 * 3e4 * 50.0 / (mi + mp));
    EXPECT_GT(length(a.iss->omega), 1e-5);
    EXPECT_LT(dist(tmul(a.iss->R, a.pb->pos - a.iss->pos), offset), 1e-9);
    VECTOR3 wp = mul(a.pb->R, a.pb->omega), wi = mul(a.iss->R, a.iss->omega);
    EXPECT_LT(dist(wp, wi), 1e-12);
    // The record lists the dock.
    VESSELSTATUS2 vs = {};
    vs.version = 2;
    vs.flag = VS_DOCKINFOLIST;
    a.iss->iface->GetStatusEx(&vs);
    ASSERT_EQ(vs.ndockinfo, 1u);
    EXPECT_EQ(vs.dockinfo[0].rvessel, a.pb);
    delete[] vs.dockinfo;
    // Undocked, the two drift apart without docking again at once.
    ASSERT_TRUE(a.pb->iface->Undock(0));
    EXPECT_FALSE(a.pb->iface->Undock(0));
    EXPECT_FALSE(a.iss->iface->GetSuperstructureCG(cg));
    a.pb->vel += mul(a.pb->R, a.pb->cls->docks[0].dir * -0.05);  // a gentle push apart, along the port axis
    for (int k = 0; k < 40; k++) sim::advance(*a.w, 0.5);
    EXPECT_EQ(a.iss->iface->DockingStatus(0), 0u);
    EXPECT_GT(dist(a.pb->pos, a.iss->pos), length(offset) + 0.5);
}

}  // namespace
