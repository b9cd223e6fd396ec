// Scenario files: what a bad line reports, orbits given as elements, MFD blocks
// handed to a mode and written back, and a saved world loading as the same world.
#include <gtest/gtest.h>

#include "app/fake_mode.h"
#include "sim/scenario.h"

namespace {

const char *kHead = "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 60000.5\nEND_ENVIRONMENT\n";

struct BadCase {
    const char *text;
    int line;
    const char *what;
};

TEST(ScenarioReading, ABadLineNamesFileLineAndProblem) {
    const std::string ship = "BEGIN_SHIPS\nA:Probe\n  STATUS Orbiting Earth\n";
    const BadCase cases[] = {
        {"BEGIN_SHIPS\nA:Probe\n  STATUS Orbiting Earth\n  RPOS 1 2\n", 8, "RPOS needs 3 numbers"},
        {"BEGIN_SHIPS\nA:Probe\n  STATUS Orbiting Earth\n  RVEL 1 2 x\n", 8, "\"x\" is not a number"},
        {"BEGIN_SHIPS\nA:Probe\n  STATUS Drifting Earth\n", 7, "STATUS must be"},
        {"BEGIN_SHIPS\nA:Probe\n  STATUS Orbiting Earth\n  RPOS 1 2 3\nEND\n", 9, "needs RPOS and RVEL, or ELEMENTS"},
        {"BEGIN_SHIPS\nA:Probe\n  STATUS Orbiting Earth\n  ELEMENTS 7000 1.2 0 0 0 0\n", 8, "0 <= e < 1"},
        {"BEGIN_SHIPS\nA:Probe\n  STATUS Landed Moon\n  PRPLEVEL 0:1.5\n", 8, "index:level"},
        {"BEGIN_SHIPS\nProbe only\n", 6, "<name>:<class>"},
        {"BEGIN_SHIPS\nA:Probe\n  STATUS Landed Moon\nEND\nA:Probe\n", 9, "a second ship named A"},
        {"BEGIN_MFD Middle\n", 5, "no display \"Middle\""},
        {"BEGIN_MFD Left\n  MODE TessarcMFD\nEND_MFD\n", 7, "without a TYPE"},
        {"Stray line\n", 5, "outside a section"},
        {"BEGIN_SHIPS\nA:Probe\n  STATUS Landed Moon\n", 8, "ends inside a section"},
    };
    for (const BadCase &c : cases) {
        sim::Scenario s;
        std::string err;
        EXPECT_FALSE(sim::parseScenario(std::string(kHead) + c.text, "bad.scn", s, err)) << c.text;
        std::string where = "bad.scn:" + std::to_string(c.line) + ": ";
        EXPECT_EQ(err.compare(0, where.size(), where), 0) << err;
        EXPECT_NE(err.find(c.what), std::string::npos) << err;
    }
    sim::Scenario s;
    std::string err;
    EXPECT_FALSE(sim::parseScenario("BEGIN_SHIPS\nA:Probe\n  STATUS Landed Moon\nEND\nEND_SHIPS\n", "x.scn", s, err));
    EXPECT_NE(err.find("System"), std::string::npos);
}

// Hostile files: each is the sound file below with one part replaced. Every one
// is refused, by the reader or when the world is built, naming file and line;
// what is accepted builds a finite world. Lines: 1-4 environment, 5 BEGIN_SHIPS,
// 6-10 ship A, 11-13 ship B, 14 END_SHIPS, 15-17 focus.
struct Hostile {
    const char *system, *date;
    std::string shipA;  // may hold a NUL
    const char *between, *shipB, *focus;
    int line;
    const char *what;
};

std::string HostileText(const Hostile &h) {
    return std::string("BEGIN_ENVIRONMENT\n  System ") + h.system + "\n  Date MJD " + h.date +
           "\nEND_ENVIRONMENT\nBEGIN_SHIPS\n" + h.shipA + h.between + h.shipB + "END_SHIPS\nBEGIN_FOCUS\n  Ship " +
           h.focus + "\nEND_FOCUS\n";
}

TEST(ScenarioReading, HostileFilesAreRefusedWithTheirLine) {
    const char *A = "A:Probe\n  STATUS Orbiting Earth\n  RPOS 6771000 0 0\n  RVEL 0 0 7672.6\nEND\n";
    const char *B = "B:Probe\n  STATUS Landed Moon\nEND\n";
    const std::string huge(10 << 20, 'x');
    const std::string hugeName = huge + ":Probe\n  STATUS Landed Moon\nEND\n";
    const std::string hugeLine = std::string("A:Probe\n  STATUS Landed Moon\n  ") + huge + " 1\nEND\n";
    const std::string nul = std::string("A:Probe\n  STATUS Orbiting Earth\n  RPOS 6771000 0") + '\0' +
                            " 0\n  RVEL 0 0 7672.6\nEND\n";
    const Hostile sound = {"Sol", "60000.5", A, "", B, "A", 0, ""};
    const Hostile malformed[] = {
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  RPOS 6771000 0 0\n  RVEL 0 0 7672.6\n", "", B, "A", 10,
         "ship A (line 6) has no END"},
        {"Sol", "60000.5", A, "", "B:Probe\n  STATUS Landed Moon\n", "A", 13, "has no END before \"END_SHIPS\""},
        {"Sol", "60000.5", A, "%%% garbage %%%\n", B, "A", 11, "<name>:<class>"},
        {"Sol", "60000.5", A, "junk:Probe\n", B, "A", 12, "ship junk (line 11) has no END"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Landed Moon\n  @@@ 1 2\nEND\n", "", B, "A", 8, "not a line of a ship"},
        {"Sol", "60000.5", nul, "", B, "A", 8, "control character (byte 0x00)"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Landed Moon\n  HEADING 1\x01\nEND\n", "", B, "A", 8, "byte 0x01"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  RPOS 0x1.9dp22 0 0\n  RVEL 0 0 7672.6\nEND\n", "", B,
         "A", 8, "is not a number"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  RPOS inf 0 0\n  RVEL 0 0 7672.6\nEND\n", "", B, "A",
         8, "is not a number"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  RPOS 6771000 0 0\n  RVEL nan 0 7672.6\nEND\n", "", B,
         "A", 9, "is not a number"},
        {"Sol", "60000.5", hugeLine, "", B, "A", 8, "longer than 1024"},
        {"Sol", "60000.5", hugeName, "", B, "A", 6, "longer than 1024"},
        {"Sol", "0x1d4c0", A, "", B, "A", 3, "Date must be"},
        {"Vulcan", "60000.5", A, "", B, "A", 2, "unknown planetary system \"Vulcan\""},
        {"../Sol", "60000.5", A, "", B, "A", 2, "is not a plain name"},
        {"/etc/passwd", "60000.5", A, "", B, "A", 2, "is not a plain name"},
        {"Vessels", "60000.5", A, "", B, "A", 2, "unknown planetary system"},
        {"Sol", "60000.5", A, "", B, "Ghost", 16, "the focus ship \"Ghost\""},
        {"Sol", "60000.5", "A:Probe\n  STATUS Landed Moon\n  DOCKINFO 0:0\nEND\n", "", B, "A", 8, "port:otherport"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Landed Moon\nMir\n  STATUS Orbiting Earth\nEND\n", "", B, "A", 9,
         "ship A (line 6) has a second STATUS line"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  ELEMENTS 6771000 0 0 0 0 0 60000 1\nEND\n", "", B, "A",
         8, "ELEMENTS needs 7 numbers"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Landed Moon\n  ENGINE_MAIN 2\nEND\n", "", B, "A", 8, "within -1..1"},
    };
    const Hostile absurd[] = {
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  RPOS 1e300 0 0\n  RVEL 0 0 7672.6\nEND\n", "", B,
         "A", 8, "beyond the system"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  RPOS 6771000 0 0\n  RVEL 0 0 1e300\nEND\n", "", B,
         "A", 8, "beyond any orbit"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  RPOS 6771000 0 0\n  RVEL 0 0 2e5\nEND\n", "", B, "A",
         8, "beyond any orbit"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  RPOS 1000 0 0\n  RVEL 0 0 7672.6\nEND\n", "", B, "A",
         8, "inside it"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  RPOS 2e13 0 0\n  RVEL 0 0 7672.6\nEND\n", "", B, "A",
         8, "beyond the system"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  ELEMENTS 0.001 0 0 0 0 0\nEND\n", "", B, "A", 8,
         "inside it"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  ELEMENTS 1e27 0.5 0 0 0 0\nEND\n", "", B, "A", 8,
         "beyond the system"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Orbiting Earth\n  ELEMENTS 7000 0 1e300 0 0 0\nEND\n", "", B, "A", 8,
         "angles"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Landed Moon\n  VROT 1e6 0 0\nEND\n", "", B, "A", 8, "beyond +-720"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Landed Moon\n  AROT 1e300 0 0\nEND\n", "", B, "A", 8, "beyond +-3600"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Landed Moon\n  POS 1e300 0\nEND\n", "", B, "A", 8, "beyond +-3600"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Landed Moon\n  HEADING -1e300\nEND\n", "", B, "A", 8, "beyond +-3600"},
        {"Sol", "1e300", A, "", B, "A", 3, "outside the ephemeris"},
        {"Sol", "5e6", A, "", B, "A", 3, "outside the ephemeris"},
        {"Sol", "60000.5", "Luna-OB1:Wheel\n  STATUS Landed Moon\nEND\n", "", B, "A", 6,
         "vessel class \"Wheel\" is not one this host simulates (it has "},
        {"Sol", "60000.5", "Mir\n  STATUS Landed Moon\nEND\n", "", B, "A", 6, "ship Mir: vessel class \"Mir\""},
        {"Sol", "60000.5", "A:Probe\n  STATUS Landed Moon\n  BASE Brighton Beach:99\nEND\n", "", B, "A", 8,
         "Brighton Beach has no pad 99"},
        {"Sol", "60000.5", "A:Probe\n  STATUS Landed Moon\n  BASE Olympus:1\nEND\n", "", B, "A", 8,
         "no base \"Olympus\" on Moon"},
    };
    auto refused = [](const Hostile &h) {
        sim::Scenario s;
        sim::World w;
        sim::setWorld(&w);
        std::string err;
        bool built = sim::parseScenario(HostileText(h), "h.scn", s, err) && sim::buildWorld(s, w, err);
        sim::setWorld(nullptr);
        const std::string where = "h.scn:" + std::to_string(h.line) + ": ";
        EXPECT_FALSE(built) << h.what;
        EXPECT_EQ(err.compare(0, where.size(), where), 0) << h.what << " -> " << err.substr(0, 200);
        EXPECT_NE(err.find(h.what), std::string::npos) << err.substr(0, 200);
        return !built;
    };
    sim::Scenario s;
    sim::World w;
    std::string err;
    ASSERT_TRUE(sim::parseScenario(HostileText(sound), "h.scn", s, err) && sim::buildWorld(s, w, err)) << err;
    int count = 0;
    for (const Hostile &h : malformed) count += refused(h);
    for (const Hostile &h : absurd) count += refused(h);
    RecordProperty("refused", count);
}

TEST(ScenarioReading, UnknownNamesAreReportedWhenTheWorldIsBuilt) {
    for (const char *ships : {"A:NoSuchClass\n  STATUS Landed Moon\nEND\n", "A:Probe\n  STATUS Landed Vulcan\nEND\n"}) {
        sim::Scenario s;
        sim::World w;
        std::string err;
        ASSERT_TRUE(sim::parseScenario(std::string(kHead) + "BEGIN_SHIPS\n" + ships + "END_SHIPS\n", "u.scn", s, err)) << err;
        EXPECT_FALSE(sim::buildWorld(s, w, err));
        EXPECT_EQ(err.compare(0, 8, "u.scn:6:"), 0) << err;
    }
}

TEST(ScenarioReading, ElementsInTheEquatorialFrameGiveThatOrbit) {
    sim::Scenario s;
    sim::World w;
    sim::setWorld(&w);
    std::string err;
    ASSERT_TRUE(sim::parseScenario(std::string(kHead) +
                                       "BEGIN_SHIPS\nA:Probe\n  STATUS Orbiting Earth\n"
                                       "  ELEMENTS 6771 0.01 51.6 40 70 120 EQU\nEND\nEND_SHIPS\n",
                                   "el.scn", s, err))
        << err;
    ASSERT_TRUE(sim::buildWorld(s, w, err)) << err;
    VESSEL *v = oapiGetVesselInterface(w.findVessel("A"));
    ELEMENTS el;
    ASSERT_TRUE(v->GetElements(w.findBody("Earth"), el, nullptr, 0, FRAME_EQU));
    EXPECT_NEAR(el.a, 6771e3, 1e-3);
    EXPECT_NEAR(el.e, 0.01, 1e-9);
    EXPECT_NEAR(el.i * DEG, 51.6, 1e-7);
    EXPECT_NEAR(el.theta * DEG, 40, 1e-7);
    EXPECT_NEAR(el.omegab * DEG, 70, 1e-6);
    sim::setWorld(nullptr);
}

// A file as the real host writes one (its sections, a bare ship name, a pad, the
// 7-number elements with their epoch, fuel and engine levels, lines of its own):
// what matters to a flight is read as it reads it, the rest is noted, and the
// world is written back the same way.
TEST(ScenarioReading, TheRealHostsFileIsReadAsItReadsIt) {
    const std::string text = R"(BEGIN_DESC
Saved the real host's way.
END_DESC

BEGIN_HYPERDESC
<h1>Three ships</h1><p>A <b>station</b>, a glider on its pad, a shuttle.</p>
END_HYPERDESC

BEGIN_ENVIRONMENT
  System Sol
  Date JD 2460001.0
  Help CurrentState_img
END_ENVIRONMENT

BEGIN_FOCUS
  Ship GL-01
END_FOCUS

BEGIN_CAMERA
  TARGET GL-01
  MODE Cockpit
  FOV 50.00
  BEGIN_PRESET
  Cockpit:GL-01:40.00
  END_PRESET
END_CAMERA

BEGIN_HUD
  TYPE Surface
END_HUD

BEGIN_MFD Left
  TYPE Orbit
  PROJ Ship
  FRAME Ecliptic
  REF Earth
END_MFD

BEGIN_PANEL
END_PANEL

BEGIN_SHIPS
ISS:ProjectAlpha_ISS
  STATUS Orbiting Earth
  ELEMENTS 6771000.0 0.0008 51.6 40.0 70.0 120.0 59999.75
  AROT 110.00 -10.00 80.00
  AFCMODE 7
  IDS 0:588 100 1:586 100
  NAVFREQ 0 0
  XPDR 466
END
GL-01:DeltaGlider
  STATUS Landed Moon
  BASE Brighton Beach:2
  ALT 2.575
  HEADING 150.00
  FUEL 0.5
  PRPLEVEL 1:0.25
  GEAR 1 1.0000
END
ShuttlePB
  STATUS Orbiting Earth
  RPOS 6771000.00 20000.00 0.00
  RVEL 0.000 0.000 7672.600
  RCSMODE 2
  ENGINE_MAIN 0.3
  ENGINE_HOVR 0.2
  FLIGHTDATA 1
  ATTACHED 0:0,ISS
END
END_SHIPS
)";
    sim::Scenario s;
    sim::World w;
    sim::setWorld(&w);
    std::string err;
    ASSERT_TRUE(sim::parseScenario(text, "real.scn", s, err)) << err;
    ASSERT_TRUE(sim::buildWorld(s, w, err)) << err;
    EXPECT_EQ(w.focus, w.findVessel("GL-01"));
    EXPECT_NEAR(w.mjd(), 60000.5, 1e-9);  // the Julian date's

    // The station's elements: the mean longitude written for the epoch is where the
    // host's own conversion puts it at that epoch, half a day before the date.
    OBJHANDLE earth = w.findBody("Earth");
    ELEMENTS el;
    ASSERT_TRUE(oapiGetVesselInterface(w.findVessel("ISS"))->GetElements(earth, el, nullptr, 59999.75, FRAME_ECL));
    EXPECT_NEAR(el.a, 6771000.0, 1e-2);      // metres
    EXPECT_NEAR(el.i * DEG, 51.6, 1e-7);     // to the ecliptic
    EXPECT_NEAR(normangle(el.L - 120.0 * RAD) * DEG, 0.0, 1e-5);

    // The glider on the base's second pad (the host's pad index 1), half its
    // propellant in every tank but the one PRPLEVEL sets.
    Vessel *gl = w.findVessel("GL-01");
    double padLng, padLat, lng, lat, rad;
    OBJHANDLE moon = w.findBody("Moon");
    ASSERT_TRUE(oapiGetBasePadEquPos(oapiGetBaseByName(moon, (char *)"Brighton Beach"), 1, &padLng, &padLat, &rad));
    ASSERT_EQ(oapiGetVesselInterface(gl)->GetEquPos(lng, lat, rad), moon);
    EXPECT_TRUE(gl->landed);
    EXPECT_NEAR(lng, padLng, 1e-9);
    EXPECT_NEAR(lat, padLat, 1e-9);
    EXPECT_NEAR(gl->landHdg * DEG, 150.0, 1e-9);
    ASSERT_EQ(gl->tankMass.size(), 2u);
    EXPECT_DOUBLE_EQ(gl->tankMass[0], 0.5 * gl->cls->tankMax[0]);
    EXPECT_DOUBLE_EQ(gl->tankMass[1], 0.25 * gl->cls->tankMax[1]);

    // The bare name is its class; the engine lines set the main and hover groups.
    VESSEL *pb = oapiGetVesselInterface(w.findVessel("ShuttlePB"));
    EXPECT_EQ(w.findVessel("ShuttlePB")->cls, w.findClass("ShuttlePB"));
    EXPECT_DOUBLE_EQ(pb->GetThrusterGroupLevel(THGROUP_MAIN), 0.3);
    EXPECT_DOUBLE_EQ(pb->GetThrusterGroupLevel(THGROUP_HOVER), 0.2);

    // Every line read but not simulated is noted with its line; the sections of the
    // view (camera, HUD, panel, other displays) are not.
    std::string notes;
    for (const std::string &n : s.notes) notes += n + "\n";
    for (const char *noted : {"real.scn:12: Help", "real.scn:47: AFCMODE", "real.scn:48: IDS", "real.scn:55: ALT",
                              "real.scn:59: GEAR", "real.scn:65: RCSMODE", "real.scn:68: FLIGHTDATA",
                              "real.scn:69: ATTACHED ignored: attachments are not simulated"})
        EXPECT_NE(notes.find(noted), std::string::npos) << noted << "\n" << notes;
    EXPECT_EQ(s.notes.size(), 8u) << notes;

    // Saved as the real host saves: the displays before the ships, the pad named.
    sim::Host host(&w);
    const std::string saved = sim::writeScenario(host, "Sol");
    EXPECT_NE(saved.find("GL-01:DeltaGlider\n  STATUS Landed Moon\n  BASE Brighton Beach:2\n"), std::string::npos)
        << saved;
    EXPECT_EQ(saved.find("BASE", saved.find("ShuttlePB")), std::string::npos) << saved;
    sim::setWorld(nullptr);
}

struct SavedWorld : ::testing::Test {
    void SetUp() override { fake::Reset(); }
};

TEST_F(SavedWorld, LoadsAsTheSameWorldWithTheSameMfdLines) {
    sim::Scenario s;
    std::string err;
    std::string text = std::string(kHead) +
                       "BEGIN_FOCUS\n  Ship Shuttle\nEND_FOCUS\n"
                       "BEGIN_SHIPS\n"
                       "Shuttle:ShuttlePB\n  STATUS Orbiting Earth\n  RPOS 6771000 1000 -2000\n"
                       "  RVEL 10 7600 300\n  AROT 10 20 30\n  VROT 0.5 -1 2\n  PRPLEVEL 0:0.25\n  THLEVEL 1:0.5\nEND\n"
                       "Eagle:LunarLander\n  STATUS Landed Moon\n  POS -33.43 41.13\n  HEADING 123\nEND\n"
                       "END_SHIPS\n"
                       "BEGIN_MFD Right\n  TYPE User\n  MODE Fake\n  MFDIndex 1\n   REMOTE Eagle\nEND_MFD\n";
    ASSERT_TRUE(sim::parseScenario(text, "a.scn", s, err)) << err;
    ASSERT_EQ(s.mfds.size(), 1u);
    EXPECT_EQ(s.mfds[0].display, MFD_RIGHT);
    EXPECT_EQ(s.mfds[0].lines, (std::vector<std::string>{"MFDIndex 1", "REMOTE Eagle"}));

    std::string saved;
    sim::World a;
    {
        sim::setWorld(&a);
        sim::Host host(&a);
        ASSERT_TRUE(sim::buildWorld(s, a, err)) << err;
        fake::Register();
        host.start();
        ASSERT_TRUE(sim::openScenarioMfds(s, host, err)) << err;
        fake::Mfd *m = dynamic_cast<fake::Mfd *>(host.display(1).mfd);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->lines, s.mfds[0].lines);  // handed over without their leading blanks
        host.run(5);
        saved = sim::writeScenario(host, s.system);
        host.shutdown();
    }
    EXPECT_NE(saved.find("\n  MFDIndex 1\n  REMOTE Eagle\n"), std::string::npos) << saved;

    sim::Scenario s2;
    ASSERT_TRUE(sim::parseScenario(saved, "saved.scn", s2, err)) << err;
    sim::World b;
    sim::setWorld(&b);
    ASSERT_TRUE(sim::buildWorld(s2, b, err)) << err;
    EXPECT_EQ(b.focus->name, "Shuttle");
    EXPECT_NEAR(b.mjd(), a.mjd(), 1e-9);
    for (const char *name : {"Shuttle", "Eagle"}) {
        Vessel *va = a.findVessel(name), *vb = b.findVessel(name);
        ASSERT_NE(vb, nullptr);
        EXPECT_EQ(va->cls, a.findClass(vb->cls->name));
        // The date carries about a microsecond: a vessel on the moving Moon lands within millimetres.
        EXPECT_LT(length(va->pos - vb->pos), 1e-2) << name;
        EXPECT_LT(length(va->vel - vb->vel), 1e-6) << name;
        for (int k = 0; k < 9; ++k) EXPECT_NEAR(va->R.data[k], vb->R.data[k], 1e-9) << name;
        EXPECT_LT(length(va->omega - vb->omega), 1e-9) << name;
        ASSERT_EQ(va->tankMass.size(), vb->tankMass.size());
        for (size_t k = 0; k < va->tankMass.size(); ++k) EXPECT_NEAR(va->tankMass[k], vb->tankMass[k], 1e-6);
        for (size_t k = 0; k < va->thrusters.size(); ++k)
            EXPECT_DOUBLE_EQ(va->thrusters[k].level, vb->thrusters[k].level);
        EXPECT_EQ(va->landed, vb->landed);
    }
    EXPECT_LT(a.findVessel("Shuttle")->tankMass[0], 0.25 * a.findVessel("Shuttle")->cls->tankMax[0]);  // it burned
    EXPECT_NEAR(b.findVessel("Eagle")->landHdg, 123 * RAD, 1e-9);
    EXPECT_NEAR(b.findVessel("Eagle")->landLng, a.findVessel("Eagle")->landLng, 1e-12);
    ASSERT_EQ(s2.mfds.size(), 1u);
    EXPECT_EQ(s2.mfds[0].lines, s.mfds[0].lines);
    sim::setWorld(nullptr);
}

}  // namespace

namespace {

TEST(ScenarioDocking, DockedShipsLoadAsOneStackAndAreSavedDocked) {
    const std::string ships =
        "ISS:ProjectAlpha_ISS\n  STATUS Orbiting Earth\n  RPOS 6771000 0 0\n  RVEL 0 0 7672.6\n"
        "  DOCKINFO 0:0,SH-01\nEND\n"
        "SH-01:ShuttlePB\n  STATUS Orbiting Earth\n  RPOS 6771000 0 30\n  RVEL 0 0 7672.6\n"
        "  AROT 0 180 0\n  DOCKINFO 0:0,ISS\nEND\n";
    sim::Scenario s;
    std::string err;
    ASSERT_TRUE(sim::parseScenario(std::string(kHead) + "BEGIN_SHIPS\n" + ships + "END_SHIPS\n", "d.scn", s, err))
        << err;
    sim::World w;
    sim::setWorld(&w);
    std::string saved;
    {
        sim::Host host(&w);
        ASSERT_TRUE(sim::buildWorld(s, w, err)) << err;
        Vessel *iss = w.findVessel("ISS"), *sh = w.findVessel("SH-01");
        ASSERT_EQ(iss->ports[0].docked, sh);
        ASSERT_EQ(sh->ports[0].docked, iss);
        double d0 = length(iss->pos - sh->pos);
        host.run(20);
        EXPECT_NEAR(length(iss->pos - sh->pos), d0, 1e-6);  // one rigid body
        saved = sim::writeScenario(host, "Sol");
    }
    EXPECT_NE(saved.find("  DOCKINFO 0:0,SH-01\n"), std::string::npos) << saved;
    sim::Scenario s2;
    sim::World w2;
    sim::setWorld(&w2);
    ASSERT_TRUE(sim::parseScenario(saved, "d2.scn", s2, err)) << err;
    ASSERT_TRUE(sim::buildWorld(s2, w2, err)) << err;
    EXPECT_EQ(w2.findVessel("SH-01")->ports[0].docked, w2.findVessel("ISS"));

    // A port that does not exist, or a vessel that is not there, is named.
    for (const char *bad : {"  DOCKINFO 7:0,SH-01\n", "  DOCKINFO 0:0,Nobody\n"}) {
        sim::World w3;
        sim::setWorld(&w3);
        std::string t = std::string(kHead) + "BEGIN_SHIPS\nISS:ProjectAlpha_ISS\n  STATUS Orbiting Earth\n"
                        "  RPOS 6771000 0 0\n  RVEL 0 0 7672.6\n" + bad + "END\nEND_SHIPS\n";
        ASSERT_TRUE(sim::parseScenario(t, "d3.scn", s2, err)) << err;
        EXPECT_FALSE(sim::buildWorld(s2, w3, err));
        EXPECT_NE(err.find("d3.scn:6: ship ISS: cannot dock"), std::string::npos) << err;
    }
    sim::setWorld(nullptr);
}

}  // namespace
