// Configuration loading errors, object lookup, and handles that outlive their
// objects.
#include <cstdio>
#include <fstream>

#include "sim_fixture.h"

namespace {

std::string writeTemp(const std::string &name, const std::string &text) {
    std::string path = ::testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}

const char *const goodClass =
    "CLASS Tiny\nEMPTYMASS 100\nPMI 1 1 1\nSIZE 1\nTANK 10\n"
    "THRUSTER A 0 0 -1  0 0 1  100 1000 0\nGROUP MAIN A\n"
    "TOUCHDOWN 0 -1 1\nTOUCHDOWN -1 -1 -1\nTOUCHDOWN 1 -1 -1\n";

TEST(Config, BadLinesAreReportedWithFileLineAndReason) {
    struct Case {
        const char *text;
        int line;          // 0: an error about the file as a whole
        const char *what;  // part of the message
    } cases[] = {
        {"CLASS X\nEMPTYMASS 100\nPMI 1 1 1\nSIZE 1\nTHRUSTER A 0 0 0 0 0 1 abc 100\n", 5, "'abc' is not a number"},
        {"CLASS X\nEMPTYMASS -3\n", 2, "EMPTYMASS must be positive"},
        {"CLASS X\nPMI 1 1\n", 2, "PMI needs 3 numbers"},
        {"CLASS X\nFLY 1\n", 2, "unknown keyword 'FLY'"},
        {"CLASS X\nTANK 5\nTHRUSTER A 0 0 0 0 0 1 10 100 3\n", 3, "tank '3'"},
        {"CLASS X\nTHRUSTER A 0 0 0 0 0 0 10 100\n", 2, "direction is zero"},
        {"CLASS X\nEMPTYMASS 1\nGROUP SIDEWAYS A\n", 3, "unknown thruster group 'SIDEWAYS'"},
        {"CLASS X\n# comment\n\nGROUP MAIN Q\n", 4, "unknown thruster 'Q'"},
        {"CLASS X\nDOCK 0 0 1 0 0 1 0 0 1\n", 2, "not orthogonal"},
        {"CLASS X\nEMPTYMASS 1\nPMI 1 1 1\nSIZE 1\nTOUCHDOWN 0 0 0\n", 0, "three TOUCHDOWN"},
        {"EMPTYMASS 1\n", 0, "no CLASS line"},
        {"CLASS X\nDRAG 1 2 3 4 5\n", 2, "DRAG needs 6 numbers"},
        {"CLASS X\nDRAG 1 2 3 4 5 -6\n", 2, "must not be negative"},
        {"CLASS X\nLIFT 60 2.5 95\n", 2, "stall angle"},
        {"CLASS X\nLIFT 60 x 20\n", 2, "'x' is not a number"},
        {"CLASS X\nISPREF M1 3000\n", 2, "unknown thruster 'M1'"},
        {"CLASS X\nTHRUSTER A 0 0 0 0 0 1 10 100\nISPREF A 120\n", 3, "vacuum Isp"},
        {"CLASS X\nTHRUSTER A 0 0 0 0 0 1 10 100\nISPREF A 90 sea\n", 3, "needs numbers"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        simtest::WorldGuard w;
        std::string path = writeTemp("bad_class.cfg", c.text), err;
        EXPECT_FALSE(sim::loadClass(*w, path, err));
        std::string where = c.line ? path + ":" + std::to_string(c.line) + ":" : path + ":";
        EXPECT_EQ(err.rfind(where, 0), 0u) << err;
        EXPECT_NE(err.find(c.what), std::string::npos) << err;
        EXPECT_TRUE(w->classes.empty());
    }
    simtest::WorldGuard w;
    std::string err;
    EXPECT_TRUE(sim::loadClass(*w, writeTemp("good.cfg", goodClass), err)) << err;
    EXPECT_FALSE(sim::loadClass(*w, writeTemp("good.cfg", goodClass), err));
    EXPECT_NE(err.find("already loaded"), std::string::npos) << err;
    EXPECT_FALSE(sim::loadClass(*w, "/nonexistent/x.cfg", err));
    EXPECT_NE(err.find("cannot open"), std::string::npos);
}

TEST(Config, BadSystemLinesAreReported) {
    struct Case {
        const char *text;
        int line;
        const char *what;
    } cases[] = {
        {"BODY A\nMASS 1\nRADIUS 1\nORBIT 1 1.5 0 0 0 0\nEND\n", 4, "0 <= e < 1"},
        {"BODY A\nMASS 1\nRADIUS 1\nPARENT Nowhere\nORBIT 1 0 0 0 0 0\nEND\n", 4, "unknown parent body"},
        {"BODY A\nMASS 1\nRADIUS 1\nPAD 1 2\nEND\n", 4, "PAD before any BASE"},
        {"BODY A\nMASS 1\nEND\n", 3, "needs MASS and RADIUS"},
        {"MASS 1\n", 1, "outside a BODY block"},
        {"BODY A\nTYPE COMET\n", 2, "unknown body type"},
        {"BODY A\nMASS 1\nRADIUS 1\nATMOSPHERE 610 0.02 210 11\nEND\n", 4, "ATMOSPHERE needs 5 numbers"},
        {"BODY A\nMASS 1\nRADIUS 1\nATMOSPHERE 610 0.02 210 0 200\nEND\n", 4, "must be positive"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        simtest::WorldGuard w;
        std::string path = writeTemp("bad_system.cfg", c.text), err;
        EXPECT_FALSE(sim::loadSystem(*w, path, err));
        EXPECT_EQ(err.rfind(path + ":" + std::to_string(c.line) + ":", 0), 0u) << err;
        EXPECT_NE(err.find(c.what), std::string::npos) << err;
        EXPECT_TRUE(w->bodies.empty());
    }
}

TEST(Config, BundledFilesGiveTheBodiesAndClassesTheHostNeeds) {
    simtest::WorldGuard w;
    simtest::loadBundled(*w);
    OBJHANDLE earth = oapiGetGbodyByName((char *)"earth");
    EXPECT_EQ(oapiGetObjectType(oapiGetGbodyByName((char *)"Sun")), OBJTP_STAR);
    EXPECT_EQ(oapiGetPlanetJCoeffCount(earth), 4u);  // J2 to J5
    EXPECT_EQ(oapiGetPlanetJCoeff(earth, 4), 0.0);
    EXPECT_EQ(oapiGetPlanetJCoeffCount(oapiGetGbodyByName((char *)"Moon")), 0u);
    EXPECT_NE(oapiGetBaseByName(earth, (char *)"Cape Canaveral"), nullptr);
    // Moon's distance from the Earth stays within its perigee and apogee as it
    // moves, over a month day by day.
    sim::Body *moon = w->findBody("Moon");
    for (int k = 0; k < 30; k++) {
        sim::setMjd(*w, 51544.5 + k);
        double d = length(moon->pos);
        EXPECT_GT(d, 3.56e8);
        EXPECT_LT(d, 4.07e8);
    }
    for (const char *name : {"DeltaGlider", "LunarLander", "ProjectAlpha_ISS", "Outpost", "ShuttlePB",
                             "UCGO\\Vessels\\UCGOArrowFreighter", "Probe", "MarsLander"})
        EXPECT_NE(w->findClass(name), nullptr) << name;
    EXPECT_TRUE(w->findClass("Probe")->thrusters.empty());
    EXPECT_GE(w->findClass("ProjectAlpha_ISS")->docks.size(), 2u);
    // Pitch up and bank left share thrusters on the shuttle (its four fore and
    // aft pairs serve pitch, bank and up/down at once; the glider's do not).
    const sim::VesselClass *pb = w->findClass("ShuttlePB");
    bool shared = false;
    for (int a : pb->groups[THGROUP_ATT_PITCHUP])
        for (int b : pb->groups[THGROUP_ATT_BANKLEFT]) shared = shared || a == b;
    EXPECT_TRUE(shared);
    // The lander's hover engines can lift it fully fuelled in lunar gravity.
    Vessel *ll = sim::addVessel(*w, "LL", w->findClass("LunarLander"));
    double hover = 0;
    for (DWORD i = 0; i < ll->iface->GetGroupThrusterCount(THGROUP_HOVER); i++)
        hover += ll->iface->GetThrusterMax(ll->iface->GetGroupThruster(THGROUP_HOVER, i));
    EXPECT_GT(hover, 2.0 * ll->iface->GetMass() * moon->mu() / (moon->radius * moon->radius));
    // The Mars lander's hover engines lift more than 1.5 times its full weight in
    // Mars's air (a tank a third larger than a descent needs weighs on it).
    sim::Body *mars = w->findBody("Mars");
    Vessel *ml = sim::addVessel(*w, "ML", w->findClass("MarsLander"));
    sim::setLandedState(*ml, mars, 77.45 * RAD, 18.44 * RAD, 0.0);
    hover = 0;
    for (DWORD i = 0; i < ml->iface->GetGroupThrusterCount(THGROUP_HOVER); i++)
        hover += ml->iface->GetThrusterMax(ml->iface->GetGroupThruster(THGROUP_HOVER, i));
    EXPECT_GT(ml->iface->GetAtmPressure(), 400.0);
    EXPECT_GT(hover, 1.5 * ml->iface->GetMass() * mars->mu() / (mars->radius * mars->radius));
}

TEST(Handles, StaleAndForeignHandlesAreRejected) {
    simtest::WorldGuard w;
    simtest::loadBundled(*w);
    Vessel *a = sim::addVessel(*w, "Alpha", w->findClass("ProjectAlpha_ISS"));
    Vessel *b = sim::addVessel(*w, "Bravo", w->findClass("ShuttlePB"));
    EXPECT_EQ(sim::addVessel(*w, "alpha", w->findClass("Probe")), nullptr);  // names are unique
    EXPECT_EQ(oapiGetFocusObject(), a);
    EXPECT_EQ(oapiSetFocusObject(b), a);
    VESSEL *bi = oapiGetVesselInterface(b);
    THRUSTER_HANDLE th = bi->GetThrusterHandleByIndex(0);
    DOCKHANDLE dock = bi->GetDockHandle(0);
    NAVHANDLE ids = bi->GetIDS(dock);
    PROPELLANT_HANDLE tank = bi->GetPropellantHandleByIndex(0);
    ASSERT_NE(th, nullptr);
    ASSERT_NE(ids, nullptr);
    EXPECT_EQ(oapiGetNavType(ids), (DWORD)TRANSMITTER_IDS);
    EXPECT_EQ(oapiGetNavChannel(ids), 300u);
    // Handles of one vessel mean nothing to another.
    VESSEL *ai = a->iface;
    EXPECT_EQ(ai->GetThrusterMax0(th), 0.0);
    EXPECT_EQ(ai->GetDockStatus(dock), nullptr);
    EXPECT_EQ(ai->GetPropellantMass(tank), 0.0);
    EXPECT_EQ(ai->GetGroupThrusterCount(bi->GetThrusterGroupHandle(THGROUP_MAIN)), 0u);
    EXPECT_EQ(bi->GetGroupThrusterCount(bi->GetThrusterGroupHandle(THGROUP_MAIN)), 1u);
    EXPECT_EQ(bi->GetThrusterGroupHandle(THGROUP_RETRO), nullptr);  // the class has none
    // Delete Bravo: its handles die with it, the focus moves on.
    sim::deleteVessel(*w, b);
    EXPECT_FALSE(oapiIsVessel(b));
    EXPECT_EQ(oapiGetObjectType(b), OBJTP_INVALID);
    EXPECT_EQ(oapiGetVesselInterface(b), nullptr);
    EXPECT_EQ(oapiGetVesselByName((char *)"Bravo"), nullptr);
    EXPECT_EQ(oapiGetVesselCount(), 1u);
    EXPECT_EQ(oapiGetFocusObject(), a);
    EXPECT_EQ(oapiSetFocusObject(b), nullptr);
    EXPECT_EQ(bi->GetMass(), 0.0);
    EXPECT_STREQ(bi->GetName(), "");
    EXPECT_EQ(bi->GetThrusterLevel(th), 0.0);
    bi->SetThrusterLevel(th, 1.0);
    EXPECT_EQ(oapiGetNavType(ids), (DWORD)TRANSMITTER_NONE);
    char name[8] = "x";
    oapiGetObjectName(b, name, sizeof name);
    EXPECT_STREQ(name, "");
    // Arbitrary addresses and null are refused everywhere.
    int local = 0;
    EXPECT_EQ(oapiGetObjectType(&local), OBJTP_INVALID);
    EXPECT_EQ(oapiGetSize(nullptr), 0.0);
    VECTOR3 p = _V(1, 2, 3);
    oapiGetRelativePos(&local, a, &p);
    EXPECT_EQ(length(p), 0.0);
    VESSEL bogus(&local);
    EXPECT_EQ(bogus.GetThrusterCount(), 0u);
    EXPECT_EQ(bogus.GetHandle(), nullptr);
    VESSELSTATUS2 vs = {};
    vs.version = 2;
    vs.flag = VS_FUELLIST;
    bogus.GetStatusEx(&vs);
    EXPECT_EQ(vs.fuel, nullptr);
    // Names are copied truncated and terminated.
    oapiGetObjectName(a, name, sizeof name);
    EXPECT_STREQ(name, "Alpha");
    char tiny[3];
    oapiGetObjectName(a, tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "Al");
}

TEST(Host, TimeAccelerationHudAndDebugLineFollowTheHostRules) {
    simtest::WorldGuard w;
    oapiSetTimeAcceleration(1e9);
    EXPECT_EQ(oapiGetTimeAcceleration(), 100000.0);
    oapiSetTimeAcceleration(0.0);
    EXPECT_EQ(oapiGetTimeAcceleration(), 0.1);
    oapiSetTimeAcceleration(std::nan(""));
    EXPECT_EQ(oapiGetTimeAcceleration(), 0.1);
    EXPECT_TRUE(oapiSetHUDMode(HUD_DOCKING));
    EXPECT_FALSE(oapiSetHUDMode(HUD_DOCKING));
    HUDPARAM prm = {};
    prm.HUDdocking.NavIdx = 1;
    oapiSetHUDMode(HUD_DOCKING, &prm);
    HUDPARAM got = {};
    EXPECT_EQ(oapiGetHUDMode(&got), HUD_DOCKING);
    EXPECT_EQ(got.HUDdocking.NavIdx, 1u);
    snprintf(oapiDebugString(), 256, "TessarcMFD: %s", "hello");
    EXPECT_STREQ(w->debugLine, "TessarcMFD: hello");
    sim::setMjd(*w, 60000.25);
    sim::advance(*w, 43200.0);
    EXPECT_NEAR(oapiGetSimMJD(), 60000.75, 1e-9);
    EXPECT_EQ(oapiGetSimStep(), 43200.0);
}

}  // namespace
