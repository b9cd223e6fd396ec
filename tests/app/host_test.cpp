// The host layer with a small mode of its own: displays, the pilot's actions,
// focus switching, vessel deletion, the frame loop and input boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

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
void ModCloseViewport() { fake::events().push_back("opcCloseRenderViewport"); }
void ModExit(HINSTANCE) { fake::events().push_back("ExitModule"); }

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
        api.opcCloseRenderViewport = ModCloseViewport;
        api.ExitModule = ModExit;
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
    EXPECT_EQ(ev(), (std::vector<std::string>{"OPENEDEX 1", "create 1 Alpha", "recall 1"}));
    MFD2 *m = dynamic_cast<MFD2 *>(host.display(1).mfd);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetWidth(), 300u);
    EXPECT_EQ(m->GetHeight(), 200u);
    // A mode that answers only OPENED is asked that next, with the size in one word.
    fake::settings().openedOnly = true;
    ev().clear();
    ASSERT_TRUE(host.open(3, "fake", nullptr, err)) << err;
    EXPECT_EQ(ev(), (std::vector<std::string>{"OPENEDEX 3", "OPENED 3", "create 3 Alpha", "recall 3"}));
    m = dynamic_cast<MFD2 *>(host.display(3).mfd);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetWidth(), 240u);
    fake::settings().openedOnly = false;
    EXPECT_EQ(host.display(1).labels[0], "ONE");
    EXPECT_EQ(host.display(1).labels[2], "");

    EXPECT_FALSE(host.open(0, "NoSuchMode", nullptr, err));
    EXPECT_NE(err.find("NoSuchMode"), std::string::npos);
    fake::settings().failOpen = true;
    EXPECT_FALSE(host.open(2, "Fake", nullptr, err));
    EXPECT_FALSE(host.display(2).open);
    EXPECT_FALSE(host.open(MAXMFD, "Fake", nullptr, err));
}

TEST_F(HostTest, LeavingTheModeStoresClosesAndDestroysAndAPanelSwitchRecalls) {
    ASSERT_TRUE(host.open(0, "Fake", nullptr, err)) << err;
    ASSERT_TRUE(host.open(1, "Fake", nullptr, err)) << err;
    ev().clear();
    EXPECT_TRUE(host.recreate(0));
    EXPECT_EQ(ev(), (std::vector<std::string>{"store 0", "CLOSED 0", "destroy 0", "OPENEDEX 0", "create 0 Alpha",
                                              "recall 0"}));
    ev().clear();
    EXPECT_TRUE(host.close(1));
    EXPECT_EQ(ev(), (std::vector<std::string>{"store 1", "CLOSED 1", "destroy 1"}));
    EXPECT_FALSE(host.close(1));
    EXPECT_FALSE(host.recreate(1));
    // Selecting a mode on an open display leaves the old one first.
    ev().clear();
    ASSERT_TRUE(host.open(0, "Fake", nullptr, err));
    EXPECT_EQ(ev(), (std::vector<std::string>{"store 0", "CLOSED 0", "destroy 0", "OPENEDEX 0", "create 0 Alpha",
                                              "recall 0"}));
}

TEST_F(HostTest, FocusSwitchStoresEveryCockpitMfdBeforeTheModulesHearOfIt) {
    ASSERT_TRUE(host.open(0, "Fake", nullptr, err));
    ASSERT_TRUE(host.open(1, "Fake", nullptr, err));
    ASSERT_TRUE(host.open(5, "Fake", w.findVessel("Gamma"), err));  // an external display stays
    ev().clear();
    ASSERT_TRUE(host.setFocus(w.findVessel("Beta")));
    EXPECT_EQ(ev(), (std::vector<std::string>{"store 0", "CLOSED 0", "destroy 0", "store 1", "CLOSED 1", "destroy 1",
                                              "focus Beta Alpha", "OPENEDEX 0", "create 0 Beta", "recall 0",
                                              "OPENEDEX 1", "create 1 Beta", "recall 1"}));
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
    EXPECT_EQ(ev(), (std::vector<std::string>{"opcDeleteVessel Gamma", "store 3", "CLOSED 3", "destroy 3"}));
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
    EXPECT_EQ(ev(), (std::vector<std::string>{"OPENEDEX 2", "create 2 Alpha", "recall 2", "key 35", "key 50",
                                              "button 0 1", "button 7 2"}));
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

}  // namespace

// ---------------------------------------------------------------------------
// The host against what was measured in the real host (tests/data/realhost/mfd.json).

std::string Facts() {
    std::ifstream f("tests/data/realhost/mfd.json");
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// The number after "key": inside the object named section (quoted or not, hex or decimal).
long FactNumber(const std::string &json, const std::string &section, const std::string &key) {
    size_t p = json.find("\"" + key + "\"", json.find("\"" + section + "\""));
    if (p == std::string::npos) return -1;
    p = json.find_first_not_of(" :\"", json.find(':', p));
    return std::strtol(json.c_str() + p, nullptr, 0);
}

// The calls one step of a measured call order names, in the names of the test mode's events.
std::vector<std::string> StepCalls(const std::string &step) {
    static const std::pair<const char *, const char *> vocabulary[] = {
        {"OPENEDEX", "OPENEDEX"},   {"OPENED=", "OPENED"},   {"constructor", "create"},
        {"constructs", "create"},   {"ReadStatus", "read"},  {"RecallStatus", "recall"},
        {"Update", "update"},       {"StoreStatus", "store"}, {"CLOSED", "CLOSED"},
        {"destructor", "destroy"},  {"WriteStatus", "write"}, {"opcCloseRenderViewport", "opcCloseRenderViewport"},
        {"ExitModule", "ExitModule"}};
    std::vector<std::pair<size_t, std::string>> found;
    for (const auto &v : vocabulary)
        for (size_t p = step.find(v.first); p != std::string::npos; p = step.find(v.first, p + 1))
            found.emplace_back(p, v.second);
    std::sort(found.begin(), found.end());
    std::vector<std::string> calls;
    for (const auto &f : found) calls.push_back(f.second);
    return calls;
}

// The measured order of one situation: the calls of every step of the array under the key.
std::vector<std::string> MeasuredOrder(const std::string &json, const std::string &key) {
    size_t a = json.find('[', json.find("\"" + key));
    size_t b = json.find(']', a);
    std::vector<std::string> calls;
    for (size_t q = json.find('"', a); q < b; q = json.find('"', json.find('"', q + 1) + 1)) {
        std::vector<std::string> c = StepCalls(json.substr(q + 1, json.find('"', q + 1) - q - 1));
        calls.insert(calls.end(), c.begin(), c.end());
    }
    return calls;
}

// The test mode's events since the last look, each cut to its first word.
std::vector<std::string> Calls() {
    std::vector<std::string> calls;
    for (const std::string &e : fake::events()) calls.push_back(e.substr(0, e.find(' ')));
    fake::events().clear();
    return calls;
}

TEST_F(HostTest, ModesAreOpenedAndClosedInTheRealHostsOrder) {
    const std::string facts = Facts();
    ASSERT_FALSE(facts.empty());
    fake::settings().logUpdates = true;
    const std::vector<std::string> block = {"LINE one"};
    ASSERT_TRUE(host.open(0, "Fake", nullptr, err, &block)) << err;
    host.draw(0);
    EXPECT_EQ(Calls(), MeasuredOrder(facts, "open_from_scenario"));
    ASSERT_TRUE(host.open(1, "Fake", nullptr, err)) << err;
    host.draw(1);
    EXPECT_EQ(Calls(), MeasuredOrder(facts, "open_at_run_time"));
    ASSERT_TRUE(host.close(1));
    EXPECT_EQ(Calls(), MeasuredOrder(facts, "close"));
    host.statusLines(0);
    host.shutdown();
    EXPECT_EQ(Calls(), MeasuredOrder(facts, "end of session"));
    EXPECT_TRUE(host.errors().empty());
}

// The default font is made once, for the first display, at 9/200 of its height.
// Character size exact, text widths within 1 px of the real host's.
TEST_F(HostTest, TheDefaultFontMeasuresAsTheRealHostsOnItsTwoDisplaySizes) {
    const std::string facts = Facts();
    const struct {
        int size;
        const char *section;
    } displays[] = {{240, "glass_cockpit_240"}, {144, "panel_2d_144"}};
    const char *widthKeys[] = {"GetTextWidth_37_blanks", "GetTextWidth_0123456789", "GetTextWidth_MMMMMMMMMM",
                               "GetTextWidth_iiiiiiiiii"};
    for (const auto &d : displays) {
        sim::Host fresh{&w};
        sim::setCurrentHost(&fresh);
        sim::ModuleApi api;
        api.InitModule = ModInit;
        fresh.addModule(sim::linkedModule("fake", api));
        fresh.setDisplaySize(0, d.size, d.size);
        fresh.setDisplaySize(1, 400, 400);
        ASSERT_TRUE(fresh.open(0, "Fake", nullptr, err)) << err;
        EXPECT_EQ(fake::settings().cwBuilt, 0u) << d.size;  // not known inside the constructor
        fresh.draw(0);
        const fake::Settings &s = fake::settings();
        EXPECT_EQ(static_cast<long>(s.charSize), FactNumber(facts, d.section, "GetCharSize")) << d.size;
        EXPECT_EQ(static_cast<long>(s.cwDrawn), FactNumber(facts, d.section, "cw")) << d.size;
        EXPECT_EQ(static_cast<long>(s.chDrawn), FactNumber(facts, d.section, "ch")) << d.size;
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(static_cast<long>(s.widths[i]), FactNumber(facts, d.section, widthKeys[i]), 1) << widthKeys[i];
        // A larger display opened later draws in the same font.
        DWORD first = s.charSize;
        ASSERT_TRUE(fresh.open(1, "Fake", nullptr, err)) << err;
        fresh.draw(1);
        EXPECT_EQ(fake::settings().charSize, first);
        fresh.shutdown();
        sim::setCurrentHost(&host);
    }
}
