// The host layer with a small mode of its own: displays, the pilot's actions,
// focus switching, vessel deletion, the frame loop and input boxes.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/fake_mode.h"
#include "sim/host.h"
#include "support/earth.h"

namespace {

// Module callbacks write into the same event list as the mode.
void ModFocus(OBJHANDLE n, OBJHANDLE o) {
    fake::events().push_back(std::string("focus ") + (n ? static_cast<Vessel *>(n)->name : "-") + " " +
                             (o ? static_cast<Vessel *>(o)->name : "-"));
}
void ModDelete(OBJHANDLE h) { fake::events().push_back("opcDeleteVessel " + static_cast<Vessel *>(h)->name); }
double preT = -1, postT = -1, preDt = -1;
void ModPre(double simt, double simdt, double) {
    preT = simt;
    preDt = simdt;
}
void ModPost(double simt, double, double) { postT = simt; }
void ModInit(HINSTANCE) { fake::Register(); }
// Time-acceleration notices heard; the module caps the factor, or (flipping)
// answers every notice with another change.
std::vector<std::pair<double, double>> warpNotices;
double warpCap = 1e9;
bool warpFlip = false;
void ModWarp(double now, double before) {
    warpNotices.push_back({now, before});
    if (warpFlip) oapiSetTimeAcceleration(now == 2 ? 3 : 2);
    else if (now > warpCap) oapiSetTimeAcceleration(warpCap);
}

struct HostTest : ::testing::Test {
    sim::World w;
    sim::Host host{&w};
    std::string err;

    void SetUp() override {
        fake::Reset();
        sim::setWorld(&w);
        sim::setCurrentHost(&host);
        sim::Body *earth = support::AddEarth(w);
        auto c = std::make_unique<sim::VesselClass>();
        c->name = "Probe";
        c->emptyMass = 1000;
        c->pmi = _V(1, 1, 1);
        c->size = 2;
        c->touchdown = {_V(0, -1, 1), _V(-1, -1, -1), _V(1, -1, -1)};
        sim::deriveTouchdownPlane(*c);
        const sim::VesselClass *cls = c.get();
        w.classes.push_back(std::move(c));
        double r = 6.771e6;
        for (const char *n : {"Alpha", "Beta", "Gamma"}) {
            Vessel *v = sim::addVessel(w, n, cls);
            sim::setOrbitState(*v, earth, _V(r, 0, 0), _V(0, 0, std::sqrt(earth->mu() / r)), _V(0, 0, 0), _V(0, 0, 0));
            r += 1000;
        }
        w.focus = w.findVessel("Alpha");
        sim::ModuleApi api;
        api.InitModule = ModInit;
        api.opcFocusChanged = ModFocus;
        api.opcDeleteVessel = ModDelete;
        api.opcPreStep = ModPre;
        api.opcPostStep = ModPost;
        api.opcTimeAccChanged = ModWarp;
        host.addModule(sim::linkedModule("fake", api));
        host.start();
        fake::events().clear();
    }
    void TearDown() override {
        host.shutdown();
        sim::releaseOutstandingTools();
        sim::setCurrentHost(nullptr);
        sim::setWorld(nullptr);
    }
    std::vector<std::string> &ev() { return fake::events(); }
};

TEST_F(HostTest, OpeningHandsTheModeItsDisplaySizeAndVessel) {
    host.setDisplaySize(1, 300, 200);
    ASSERT_TRUE(host.open(1, "fake", nullptr, err)) << err;
    EXPECT_EQ(ev(), std::vector<std::string>{"create 1 Alpha"});
    MFD2 *m = dynamic_cast<MFD2 *>(host.display(1).mfd);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetWidth(), 300u);
    EXPECT_EQ(m->GetHeight(), 200u);
    EXPECT_EQ(host.display(1).labels[0], "ONE");
    EXPECT_EQ(host.display(1).labels[2], "");

    EXPECT_FALSE(host.open(0, "NoSuchMode", nullptr, err));
    EXPECT_NE(err.find("NoSuchMode"), std::string::npos);
    fake::settings().failOpen = true;
    EXPECT_FALSE(host.open(2, "Fake", nullptr, err));
    EXPECT_FALSE(host.display(2).open);
    EXPECT_FALSE(host.open(MAXMFD, "Fake", nullptr, err));
}

TEST_F(HostTest, LeavingTheModeDestroysWithoutStoringAndAPanelSwitchStoresAndRecalls) {
    ASSERT_TRUE(host.open(0, "Fake", nullptr, err)) << err;
    ASSERT_TRUE(host.open(1, "Fake", nullptr, err)) << err;
    ev().clear();
    EXPECT_TRUE(host.recreate(0));
    EXPECT_EQ(ev(), (std::vector<std::string>{"store 0", "destroy 0", "create 0 Alpha", "recall 0"}));
    ev().clear();
    EXPECT_TRUE(host.close(1));
    EXPECT_EQ(ev(), std::vector<std::string>{"destroy 1"});
    EXPECT_FALSE(host.close(1));
    EXPECT_FALSE(host.recreate(1));
    // Selecting a mode on an open display leaves the old one first.
    ev().clear();
    ASSERT_TRUE(host.open(0, "Fake", nullptr, err));
    EXPECT_EQ(ev(), (std::vector<std::string>{"destroy 0", "create 0 Alpha"}));
}

TEST_F(HostTest, FocusSwitchStoresEveryCockpitMfdBeforeTheModulesHearOfIt) {
    ASSERT_TRUE(host.open(0, "Fake", nullptr, err));
    ASSERT_TRUE(host.open(1, "Fake", nullptr, err));
    ASSERT_TRUE(host.open(5, "Fake", w.findVessel("Gamma"), err));  // an external display stays
    ev().clear();
    ASSERT_TRUE(host.setFocus(w.findVessel("Beta")));
    EXPECT_EQ(ev(), (std::vector<std::string>{"store 0", "destroy 0", "store 1", "destroy 1", "focus Beta Alpha",
                                              "create 0 Beta", "recall 0", "create 1 Beta", "recall 1"}));
    EXPECT_EQ(w.focus, w.findVessel("Beta"));
    EXPECT_EQ(host.display(5).vessel, w.findVessel("Gamma"));
    ev().clear();
    EXPECT_TRUE(host.setFocus(w.findVessel("Beta")));  // already there: nothing happens
    EXPECT_TRUE(ev().empty());
}

TEST_F(HostTest, DeletingAVesselTellsModulesFirstAndClosesItsDisplays) {
    ASSERT_TRUE(host.open(0, "Fake", nullptr, err));
    ASSERT_TRUE(host.open(3, "Fake", w.findVessel("Gamma"), err));
    Vessel *gamma = w.findVessel("Gamma");
    ev().clear();
    ASSERT_TRUE(host.deleteVessel(gamma, err)) << err;
    EXPECT_EQ(ev(), (std::vector<std::string>{"opcDeleteVessel Gamma", "destroy 3"}));
    EXPECT_FALSE(host.display(3).open);
    EXPECT_TRUE(host.display(0).open);
    EXPECT_FALSE(gamma->alive);
    EXPECT_FALSE(host.deleteVessel(gamma, err));

    // The focus vessel: the pilot moves on to another vessel before it goes.
    ev().clear();
    ASSERT_TRUE(host.deleteVessel(w.findVessel("Alpha"), err)) << err;
    EXPECT_EQ(w.focus, w.findVessel("Beta"));
    ASSERT_FALSE(ev().empty());
    EXPECT_EQ(ev().back(), "opcDeleteVessel Alpha");
    EXPECT_TRUE(std::find(ev().begin(), ev().end(), "create 0 Beta") != ev().end());
    // The last vessel cannot go.
    EXPECT_FALSE(host.deleteVessel(w.findVessel("Beta"), err));
    EXPECT_NE(err.find("only vessel"), std::string::npos);
}

TEST_F(HostTest, AFrameStepsModulesAroundThePhysicsAndDrawsAfterwards) {
    ASSERT_TRUE(host.open(0, "Fake", nullptr, err));
    sim::setWarp(w, 10);
    double t0 = w.simt, sys0 = w.syst;
    host.frame();
    EXPECT_DOUBLE_EQ(preT, t0);
    EXPECT_NEAR(preDt, w.frameDt * 10, 1e-12);
    EXPECT_NEAR(postT, t0 + w.frameDt * 10, 1e-9);
    EXPECT_NEAR(w.simt, postT, 1e-12);
    EXPECT_NEAR(w.syst - sys0, w.frameDt, 1e-12);  // wall-clock time ignores time acceleration
    EXPECT_EQ(host.display(0).frames, 1);
    sim::TextScreen s = sim::textScreen(host.display(0).lastFrame);
    EXPECT_EQ(s.lines[0].substr(0, 4), "FAKE");

    host.run(2.0);
    EXPECT_GE(w.simt, t0 + 2.0);
    EXPECT_LT(w.simt, t0 + 2.0 + w.frameDt * 10 + 1e-9);
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(HostTest, PensLeftOverAfterAFrameAreReportedOnce) {
    ASSERT_TRUE(host.open(0, "Fake", nullptr, err));
    host.draw(0);
    EXPECT_TRUE(host.errors().empty());
    fake::settings().leakPen = true;
    host.draw(0);
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_NE(host.errors()[0].find("1 pen(s)"), std::string::npos) << host.errors()[0];
    fake::settings().leakPen = false;
    host.draw(0);  // the earlier leak is not counted again
    EXPECT_EQ(host.errors().size(), 1u);
}

TEST_F(HostTest, InputBoxCallsBackUntilTheModeAcceptsAndGoesWithItsMfd) {
    ASSERT_TRUE(host.open(0, "Fake", nullptr, err));
    ASSERT_TRUE(host.open(1, "Fake", nullptr, err));
    bool accepted = true;
    EXPECT_FALSE(host.type(1, "nothing open", &accepted));
    EXPECT_TRUE(host.key(1, OAPI_KEY_T));
    ASSERT_TRUE(host.display(1).box.open);
    EXPECT_FALSE(host.display(0).box.open);
    EXPECT_EQ(host.display(1).box.title, "Type something");

    fake::settings().acceptTyped = false;
    EXPECT_TRUE(host.type(1, "12 5", &accepted));
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(host.display(1).box.open);  // refused: the box waits for better text
    fake::settings().acceptTyped = true;
    EXPECT_TRUE(host.type(1, "", &accepted));
    EXPECT_TRUE(accepted);
    EXPECT_FALSE(host.display(1).box.open);
    EXPECT_EQ(fake::settings().typed, (std::vector<std::string>{"12 5", ""}));

    // Cancel closes without a call; a box never outlives the MFD it belongs to.
    host.key(1, OAPI_KEY_T);
    EXPECT_TRUE(host.cancel(1));
    EXPECT_FALSE(host.cancel(1));
    host.key(1, OAPI_KEY_T);
    host.recreate(1);
    EXPECT_FALSE(host.display(1).box.open);
    EXPECT_EQ(fake::settings().typed.size(), 2u);
}

TEST_F(HostTest, KeysButtonsAndButtonLabelRefreshReachTheDisplaysMfd) {
    ASSERT_TRUE(host.open(2, "Fake", nullptr, err));
    EXPECT_TRUE(host.key(2, OAPI_KEY_H));
    EXPECT_FALSE(host.key(2, OAPI_KEY_M));
    EXPECT_TRUE(host.button(2, 0));
    EXPECT_FALSE(host.button(2, 7, PANEL_MOUSE_RBDOWN));
    EXPECT_EQ(ev(), (std::vector<std::string>{"create 2 Alpha", "key 35", "key 50", "button 0 1", "button 7 2"}));
    int queries = host.display(2).labelQueries;
    host.key(2, OAPI_KEY_B);
    EXPECT_EQ(host.display(2).invalidateButtons, 1);
    EXPECT_EQ(host.display(2).labelQueries, queries + 1);
    EXPECT_FALSE(host.key(4, OAPI_KEY_H));  // nothing open there
}

TEST_F(HostTest, ModesAreNumberedFromTheUserRangeAndUnregisteringClosesTheirDisplays) {
    ASSERT_EQ(host.registeredModes().size(), 1u);
    int id = host.registeredModes()[0].id;
    EXPECT_GE(id, MFD_USERTYPE);
    EXPECT_GT(fake::Register(), id);
    ASSERT_TRUE(host.open(0, "Fake", nullptr, err));
    EXPECT_FALSE(oapiUnregisterMFDMode(12345));
    EXPECT_TRUE(oapiUnregisterMFDMode(host.display(0).modeId));
    EXPECT_FALSE(host.display(0).open);
}

// A new factor is announced before a frame runs at it, and so is the module's own
// change from the notice; a module that answers every notice with another change
// is cut off (the frame still runs) and reported.
TEST_F(HostTest, TimeAccelerationChangesAreAnnouncedBeforeAFrameRunsAtThem) {
    warpNotices.clear();
    warpCap = 10;
    host.frame();
    EXPECT_TRUE(warpNotices.empty());
    sim::setWarp(w, 1000);
    host.frame();
    EXPECT_EQ(warpNotices, (std::vector<std::pair<double, double>>{{1000, 1}, {10, 1000}}));
    EXPECT_NEAR(preDt, w.frameDt * 10, 1e-12);
    warpNotices.clear();
    warpFlip = true;
    sim::setWarp(w, 2);
    host.frame();
    warpFlip = false;
    warpCap = 1e9;
    EXPECT_EQ(warpNotices.size(), 8u);
    ASSERT_FALSE(host.errors().empty());
    EXPECT_NE(host.errors().back().find("kept changing the time acceleration"), std::string::npos);
}

}  // namespace

