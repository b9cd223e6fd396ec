// Save, load, save: the second file is the first, byte for byte, for cockpits
// holding every mode, HOLD and TRIM together, remote vessels, landings in each
// phase (a base, a pad, a manual location, a landed vessel as the target) and a
// docking approach. Each cockpit is loaded from a block, flown a little, saved,
// loaded again and saved at once.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

const char kLeo[] = R"(BEGIN_ENVIRONMENT
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

// A lander in a low lunar orbit, another on the pad, and an outpost.
const char kMoon[] = R"(BEGIN_ENVIRONMENT
  System Sol
  Date MJD 60000.25
END_ENVIRONMENT
BEGIN_FOCUS
  Ship LM-1
END_FOCUS
BEGIN_SHIPS
LM-1:LunarLander
  STATUS Orbiting Moon
  ELEMENTS 1758.0 0.0 45.0 83.4912 83.4912 15.8775 EQU
END
LM-2:LunarLander
  STATUS Orbiting Moon
  ELEMENTS 1768.0 0.0 45.0 83.4912 83.4912 15.1603 EQU
END
Eagle:LunarLander
  STATUS Landed Moon
  POS -33.4375 41.118407
  HEADING 90
END
Base-1:Outpost
  STATUS Landed Moon
  POS -33.4275 41.1300
  HEADING 0
END
END_SHIPS
)";

std::string Block(const char *display, const std::string &lines) {
    return std::string("BEGIN_MFD ") + display + "\n  TYPE User\n  MODE TessarcMFD\n" + lines + "END_MFD\n";
}

// A landing group: target line, phase, and the autopilot switches.
std::string Landing(const char *vessel, const char *padbase, int phase, const char *activeAP) {
    std::ostringstream o;
    o << "REMOTE " << vessel << "\nREFMODE ENTRY\nPADBASE " << padbase << "\nelevation 120.5\ngraphstyle 2\n"
      << "Porig -33.0 41.0 +75.5 60000.240000 " << phase << " 1 0\n"
      << "Coefs 1.5e-03 -2.5e-05 3.0e-07 -4.0e-03 5.0e-05 -6.0e-07\nConst 1.6 420.0 95000.0 1650.0 15000.0 -5.0\n"
      << "Displ 7.0 10.0 11.0 12.0 13.0 14.0 15.0\nactiveAP " << activeAP << "\nLanding ABOVE\nFORCELAND 1\n";
    return o.str();
}

struct Cockpit {
    const char *what;
    const char *world;
    std::string blocks;
    double seconds;          // flown before the first save
    const char *focusAtSave;  // the pilot's vessel when saving: not the one registered first
};

// The first line where two files differ, for the failure message.
std::string FirstDifference(const std::string &a, const std::string &b) {
    std::istringstream x(a), y(b);
    std::string l, m;
    for (int n = 1;; ++n) {
        bool more = static_cast<bool>(std::getline(x, l)), other = static_cast<bool>(std::getline(y, m));
        if (!more && !other) return "";
        if (!more || !other || l != m) return "line " + std::to_string(n) + ": \"" + l + "\" / \"" + m + "\"";
    }
}

std::string SaveOf(const std::string &text, double seconds, const char *focus, std::string *err) {
    flight::Flight f;
    if (!f.loadText(text)) {
        *err = f.error();
        return "";
    }
    flight::useLinkedPlugin(f);
    if (!f.start()) {
        *err = f.error();
        return "";
    }
    if (seconds > 0) f.run(seconds);
    if (focus && !f.focus(focus)) {
        *err = "no vessel " + std::string(focus);
        return "";
    }
    return f.save();
}

TEST(ScenarioRoundTrip, SaveLoadSaveGivesTheSameFile) {
    const Cockpit cockpits[] = {
        {"Velocity HOLD with spin and offsets; a remote Relative with HOLD and TRIM on x and y; "
         "Attitude without HOLD, roll free; Docking approach on ports",
         kLeo,
         Block("Left", "MFDIndex 0\nREMOTE SH-01\nREFMODE VELOCITY\nBODYREF Earth\nRelAtt 10 -5 0\n"
                       "activeAP 1 7 0 2 1 1\nREMOTE SH-02\nREFMODE RELATIVE\nTARGETREF ISS\nactiveAP 1 4 0 0 0 0\n") +
             Block("Right", "MFDIndex 1\nREMOTE ISS\nREFMODE GLOBAL\nRefAtt 5 6 7\nactiveAP 0 7 0 0 0 2\n") +
             Block("2", "MFDIndex 2\nREMOTE SH-01\nREFMODE DOCKING\nDOCKINGREF 1:2,ISS\nactiveAP 1 3 1 2 0 0\n"
                        "DockXYZ 5.000 -2.000 30.000\n"),
         2.0, "SH-02"},
        {"Velocity following a vessel; TRIM on z alone with HOLD off; Direct Burn armed with insertion; "
         "Ascent; Relative with HOLD and every axis",
         kLeo,
         Block("Left", "MFDIndex 0\nREMOTE SH-02\nREFMODE VELOCITY\nBODYREF Earth\nTARGETREF ISS\n"
                       "activeAP 0 2 0 0 2 0\n") +
             Block("Right", "MFDIndex 1\nREMOTE ISS\nREFMODE BURNDATA\nBurnData1 60000.3 12.5 -1 2 1 1\n"
                            "BurnData3 1 2 3 4\nactiveAP 1 7 0 2 0 1\nREMOTE SH-02\nREFMODE ASCENT\n"
                            "AscData 2 80000 51.6\nactiveAP 0 7 0 0 0 0\n") +
             Block("3", "MFDIndex 3\nREMOTE SH-02\nREFMODE RELATIVE\nTARGETREF SH-01\nactiveAP 1 3 0 0 0 0\n"
                        "Rates 1.5 1.25 2.0 0.2 0.2 0.3\nCutoffAlt 3.5\nLANDBRAKE 0\n"),
         2.0, nullptr},
        {"Landings in each phase: a manual location, a base, a pad, a landed vessel as the target",
         kMoon,
         Block("Left", "MFDIndex 0\n" + Landing("LM-1", "-1,-033.400000 +041.100000", 0, "0 7 0 2 0 0") +
                           Landing("LM-2", "1,Brighton Beach", 2, "1 7 0 0 0 0")) +
             Block("Right", "MFDIndex 1\n" + Landing("LM-2", "0,Brighton Beach", 4, "0 7 0 0 0 0") +
                                Landing("LM-1", "2,Brighton Beach", 7, "1 7 0 2 0 0")) +
             Block("2", "MFDIndex 2\n" + Landing("LM-1", "0,Eagle", 3, "1 7 0 0 0 0") +
                            Landing("LM-2", "0,Base-1", 9, "0 7 0 2 0 0")),
         5.0, "Eagle"},
        {"Landing guidance flown from the largest values a block holds, and from larger ones",
         kMoon,
         Block("Left", "MFDIndex 0\nREMOTE LM-1\nREFMODE ENTRY\nPADBASE 1,Brighton Beach\nelevation 1e300\n"
                       "Porig -33 41 75 60000.24 3 0 0\nCoefs 1e12 -1e12 1e12 -1e12 1e12 -1e12\n"
                       "Const 1e12 1e12 -1e12 1e12 1e12 -1e12\nDispl 1e12 1e12 1e12 1e12 1e12 1e12 1e12\n"
                       "activeAP 1 7 0 2 0 0\nREMOTE LM-2\nREFMODE ENTRY\nPADBASE -1,1e300 1e300\n"
                       "Coefs 1e300 1e300 1e300 1e300 1e300 1e300\nConst 1e300 1e300 1e300 1e300 1e300 1e300\n"
                       "CutoffAlt 1e300\nDockXYZ 1e300 0 0\nRates 1e300 1 1 1 1 1\nactiveAP 1 7 0 0 0 0\n"),
         5.0, nullptr},
    };
    for (const Cockpit &c : cockpits) {
        std::string err;
        const std::string first = SaveOf(std::string(c.world) + c.blocks, c.seconds, c.focusAtSave, &err);
        ASSERT_FALSE(first.empty()) << c.what << ": " << err;
        const std::string second = SaveOf(first, 0.0, nullptr, &err);
        ASSERT_FALSE(second.empty()) << c.what << ": " << err;
        for (const char *bad : {"nan", "inf", "NAN", "INF"})
            EXPECT_EQ(first.find(bad), std::string::npos) << c.what << ": " << bad << " in\n" << first;
        EXPECT_EQ(first, second) << c.what << "\n" << FirstDifference(first, second) << "\n" << first;
    }
}

}  // namespace
