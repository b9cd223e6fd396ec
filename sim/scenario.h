// Scenario files in the host's format: environment, focus, ships and the MFD
// blocks that carry a mode's own lines. Reading reports file, line and problem.
#ifndef TESSARC_SIM_SCENARIO_H
#define TESSARC_SIM_SCENARIO_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "world.h"

namespace sim {

class Host;

struct ScnVessel {
    std::string name, className;  // a ship line of a bare name: the class of that name
    int line = 0;              // line of the "name:class" line
    int stateLine = 0;         // line of the RPOS, RVEL or ELEMENTS line that set the orbit
    int statusLine = 0;        // line of the STATUS line (0: none yet)
    bool landed = false;
    std::string body;          // STATUS Orbiting|Landed <body>
    bool hasRpos = false, hasRvel = false, hasElements = false;
    VECTOR3 rpos{}, rvel{};    // m, m/s, ecliptic axes relative to the body
    VECTOR3 arot{}, vrot{};    // deg, deg/s
    // ELEMENTS a e i node lpe L epoch: m, degrees and the MJD at which the mean
    // longitude L holds, in the ecliptic frame. The older form of this host has no
    // epoch (L holds at the scenario's date), a in km, and may end in EQU for the
    // body's equatorial frame; a is kept here in metres either way.
    double el[6] = {0, 0, 0, 0, 0, 0};
    bool elEquatorial = false;
    bool hasElEpoch = false;
    double elEpoch = 0;        // MJD
    bool hasPos = false;
    double lon = 0, lat = 0, heading = 0;  // deg, landed
    // BASE <base>:<pad>: a landed ship standing on that pad (numbered from 1) of a
    // base of its body; POS, when given too, says where exactly.
    std::string base;
    int pad = 0;
    int baseLine = 0;
    bool hasFuel = false, hasMainLevel = false, hasHoverLevel = false;
    double fuel = 0;           // FUEL: every tank's level, 0..1 (PRPLEVEL then sets single tanks)
    double mainLevel = 0;      // ENGINE_MAIN: main (> 0) or retro (< 0) group level, -1..1
    double hoverLevel = 0;     // ENGINE_HOVR: hover group level, 0..1
    std::vector<std::pair<int, double>> propellant;  // tank index, level 0..1
    std::vector<std::pair<int, double>> thrusters;   // thruster index, level 0..1
    std::vector<int> navFreq;  // channels
    bool hasXpdr = false;
    int xpdr = 0;
    struct Dock {
        int port = 0, otherPort = 0;
        std::string other;
    };
    std::vector<Dock> docks;   // DOCKINFO port:otherPort,vessel ...
};

struct ScnMfd {
    int display = 0;
    int line = 0;
    std::string type, mode;
    std::vector<std::string> lines;  // the mode's own lines, leading blanks removed
};

struct Scenario {
    std::string file;
    std::string system;        // configuration system name
    int systemLine = 0;        // line of the "System" line
    int focusLine = 0;         // line of the focus "Ship" line (0: none)
    bool hasMjd = false;
    double mjd = 51544.5;
    std::string focus;
    std::vector<ScnVessel> vessels;
    std::vector<ScnMfd> mfds;
    std::vector<std::string> notes;  // things read but not used (e.g. built-in MFD types)
};

// What the reader accepts. Values outside these are refused with the file and line.
const size_t kScnMaxLine = 1024;      // characters in one line
const size_t kScnMaxName = 255;       // characters in a vessel, class or system name
const double kScnMaxAngle = 3600;     // deg, any angle (AROT, POS, HEADING, ELEMENTS)
const double kScnMaxRate = 720;       // deg/s, VROT: two turns a second
const double kScnFirstMjd = 0;        // the dates the ephemeris is flown for
const double kScnLastMjd = 200000;    //   (1858 to 2406)
const double kScnSystemMargin = 10;   // ships stay within this many times the farthest body
const double kScnEscapeMargin = 10;   // speeds stay within this many times the escape speed
const double kScnSpeedFloor = 1e5;    // m/s, ... or this, where escape speed is small
const double kScnPadReach = 20;       // m from a pad's centre within which a saved landed ship is on it

bool parseScenario(const std::string &text, const std::string &file, Scenario &s, std::string &err);
bool readScenarioFile(const std::string &path, Scenario &s, std::string &err);

// Where configuration files are looked for: $TESSARC_CONFIG, else the source tree's config/.
std::string configDir();

// Loads the system and vessel classes and places the vessels; sets time and focus.
// A system is only looked for among the configuration folder's own .cfg files. A
// ship inside its body, beyond the system or faster than any orbit there is refused
// with the line that placed it; the world is finite whenever this returns true.
bool buildWorld(const Scenario &s, World &w, std::string &err);
// Opens the scenario's MFD blocks on the host's displays (after the run started).
bool openScenarioMfds(const Scenario &s, Host &h, std::string &err);

// Whether a vessel name can be written into a scenario and read back: 1 to
// kScnMaxName characters, no blank, control character or colon.
bool writableName(const std::string &name);
// Why the world cannot be saved so that it reads back (the first vessel whose name
// a scenario cannot carry); empty when it can.
std::string unwritableNames(const World &w);

// The current world and the host's open displays in the scenario format.
std::string writeScenario(Host &h, const std::string &systemName);
// Refuses, with the reason in err, a world that unwritableNames finds fault with.
bool saveScenario(Host &h, const std::string &systemName, const std::string &path, std::string &err);

// The FILEHANDLEs a mode's ReadStatus and WriteStatus receive.
struct BlockReader {
    static const uint32_t kMagic = 0x5343'4e52u;
    uint32_t magic = kMagic;
    const std::vector<std::string> *lines = nullptr;
    size_t next = 0;
    std::vector<char> buf;
};
struct BlockWriter {
    static const uint32_t kMagic = 0x5343'4e57u;
    uint32_t magic = kMagic;
    std::vector<std::string> lines;
};

}  // namespace sim

#endif  // TESSARC_SIM_SCENARIO_H
