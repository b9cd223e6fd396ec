// Reading scenario files: sections, ship blocks and MFD blocks, with the file and
// line of anything that cannot be read.
#include "scenario.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <strings.h>

#include "mfdhost.h"
#include "scenario_parse.h"

namespace sim {

namespace scn {

bool Reader::fail(const std::string &what) {
    err = file + ":" + std::to_string(line) + ": " + what;
    return false;
}

void Reader::note(Scenario &s, const std::string &what) const {
    s.notes.push_back(file + ":" + std::to_string(line) + ": " + what);
}

std::vector<std::string> words(const std::string &s) {
    std::vector<std::string> out;
    std::istringstream in(s);
    std::string w;
    while (in >> w) out.push_back(w);
    return out;
}

bool same(const std::string &a, const char *b) { return strcasecmp(a.c_str(), b) == 0; }

namespace {

// A plain decimal number: sign, digits with at most one point, an optional
// exponent. Hexadecimal, "inf", "nan" and the like are not numbers here.
bool decimal(const std::string &s) {
    size_t i = 0, digits = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    for (; i < s.size() && std::isdigit((unsigned char)s[i]); ++i) ++digits;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && std::isdigit((unsigned char)s[i]); ++i) ++digits;
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        size_t exp = 0;
        for (; i < s.size() && std::isdigit((unsigned char)s[i]); ++i) ++exp;
        if (exp == 0) return false;
    }
    return i == s.size();
}

}  // namespace

bool number(const std::string &s, double &v) {
    if (!decimal(s)) return false;
    char *end = nullptr;
    errno = 0;
    v = std::strtod(s.c_str(), &end);
    return end && *end == '\0' && errno != ERANGE && std::isfinite(v);
}

bool integer(const std::string &s, int &v) {
    if (s.empty()) return false;
    char *end = nullptr;
    errno = 0;
    long l = std::strtol(s.c_str(), &end, 10);
    if (!end || *end != '\0' || errno == ERANGE || l < -2147483647L || l > 2147483647L) return false;
    v = (int)l;
    return true;
}

bool numbers(Reader &r, const std::vector<std::string> &w, size_t n, double *out, double limit) {
    if (w.size() != n + 1) return r.fail(w[0] + " needs " + std::to_string(n) + " numbers");
    for (size_t i = 0; i < n; ++i) {
        if (!number(w[i + 1], out[i])) return r.fail(w[0] + ": \"" + w[i + 1] + "\" is not a number");
        if (limit > 0 && std::fabs(out[i]) > limit) {
            char buf[96];
            std::snprintf(buf, sizeof buf, ": %.40s is beyond +-%g", w[i + 1].c_str(), limit);
            return r.fail(w[0] + buf);
        }
    }
    return true;
}

bool plainName(const std::string &n) {
    if (n.empty() || n.size() > kScnMaxName) return false;
    for (unsigned char c : n)
        if (c < 0x21 || c == 0x7f) return false;
    return true;
}

}  // namespace scn

namespace {

using namespace scn;

const double kJdOfMjdZero = 2400000.5;     // days: the Julian date of MJD 0
const double kMjdOfJ2000 = 51544.5;        // days: the epoch J2000
const double kDaysPerJulianYear = 365.25;  // days

std::string trim(const std::string &s) {
    size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return "";
    size_t b = s.find_last_not_of(" \t\r\n");
    return s.substr(a, b - a + 1);
}

// Every line of a file, whatever section it is in: of a bounded length and
// without control characters (a NUL in a line would cut it short unseen). The
// lines of an MFD block belong to its mode, which reads what it can of them: they
// only may not hold a NUL.
bool plainLine(Reader &r, const std::string &raw, bool modeLine) {
    if (raw.size() > kScnMaxLine) return r.fail("a line longer than " + std::to_string(kScnMaxLine) + " characters");
    for (unsigned char c : raw)
        if (modeLine ? c == 0 : (c < 0x20 && c != '\t' && c != '\r') || c == 0x7f) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "a control character (byte 0x%02x) in the line", c);
            return r.fail(buf);
        }
    return true;
}

// A system name names a file of the configuration folder: no folders, no dots.
bool systemName(const std::string &n) {
    if (n.empty() || n.size() > kScnMaxName) return false;
    for (unsigned char c : n)
        if (!std::isalnum(c) && c != '_' && c != '-') return false;
    return true;
}

bool finishShip(Reader &r, const ScnVessel &v) {
    if (v.body.empty()) return r.fail("ship " + v.name + " has no STATUS line");
    if (!v.landed && !v.hasElements && !(v.hasRpos && v.hasRvel))
        return r.fail("ship " + v.name + " in orbit needs RPOS and RVEL, or ELEMENTS");
    return true;
}

enum Section { None, Env, Focus, Ships, Ship, Mfd, Skip };

// Where the parse stands: the section it is in and the block being read.
struct Parse {
    Reader &r;
    Scenario &s;
    Section sec;
    std::string skipEnd;  // the line that ends a skipped section
    ScnVessel ship;       // the ship whose block is being read
    ScnMfd mfd;           // the MFD block being read
};

// A line inside an MFD block.
bool mfdBlockLine(Parse &p, const std::string &l) {
    Reader &r = p.r;
    Scenario &s = p.s;
    if (same(l, "END_MFD")) {
        if (p.mfd.type.empty()) return r.fail("MFD block without a TYPE line");
        if (same(p.mfd.type, "User") && p.mfd.mode.empty()) return r.fail("MFD block of TYPE User without a MODE line");
        s.mfds.push_back(p.mfd);
        p.sec = None;
        return true;
    }
    std::vector<std::string> w = words(l);
    if (!w.empty() && p.mfd.type.empty() && same(w[0], "TYPE")) {
        if (w.size() != 2) return r.fail("TYPE needs one word");
        p.mfd.type = w[1];
    } else if (!w.empty() && p.mfd.mode.empty() && same(w[0], "MODE")) {
        if (w.size() != 2) return r.fail("MODE needs the mode's name");
        p.mfd.mode = w[1];
    } else if (!l.empty()) {
        p.mfd.lines.push_back(l);
    }
    return true;
}

// A line outside every section: the start of one.
bool outsideLine(Parse &p, const std::vector<std::string> &w, const std::string &l) {
    Reader &r = p.r;
    Scenario &s = p.s;
    if (same(w[0], "BEGIN_ENVIRONMENT")) {
        p.sec = Env;
    } else if (same(w[0], "BEGIN_FOCUS")) {
        p.sec = Focus;
    } else if (same(w[0], "BEGIN_SHIPS")) {
        p.sec = Ships;
    } else if (same(w[0], "BEGIN_MFD")) {
        if (w.size() != 2) return r.fail("BEGIN_MFD needs the display (Left, Right, User1..User10 or 0..11)");
        p.mfd = ScnMfd();
        p.mfd.display = displayByName(w[1]);
        p.mfd.line = r.line;
        if (p.mfd.display < 0) return r.fail("no display \"" + w[1] + "\"");
        for (const ScnMfd &m : s.mfds)
            if (m.display == p.mfd.display) return r.fail("a second MFD block for display " + w[1]);
        p.sec = Mfd;
    } else if (w[0].compare(0, 6, "BEGIN_") == 0 && w.size() == 1) {
        p.skipEnd = "END_" + w[0].substr(6);
        p.sec = Skip;
    } else {
        return r.fail("unexpected \"" + l + "\" outside a section");
    }
    return true;
}

// A line of the environment section.
bool environmentLine(Parse &p, const std::vector<std::string> &w) {
    Reader &r = p.r;
    Scenario &s = p.s;
    if (same(w[0], "END_ENVIRONMENT")) {
        p.sec = None;
    } else if (same(w[0], "System")) {
        if (w.size() != 2) return r.fail("System needs one name");
        if (!systemName(w[1]))
            return r.fail("System \"" + w[1] + "\" is not a plain name (letters, digits, _ and -)");
        s.system = w[1];
        s.systemLine = r.line;
    } else if (same(w[0], "Date")) {
        // MJD, Julian date or Julian epoch (years), as the real host takes them.
        double mjd;
        if (w.size() != 3 || !(same(w[1], "MJD") || same(w[1], "JD") || same(w[1], "JE")) || !number(w[2], mjd))
            return r.fail("Date must be \"MJD <days>\", \"JD <days>\" or \"JE <years>\"");
        if (same(w[1], "JD")) mjd -= kJdOfMjdZero;
        if (same(w[1], "JE")) mjd = kMjdOfJ2000 + (mjd - 2000.0) * kDaysPerJulianYear;
        if (mjd < kScnFirstMjd || mjd > kScnLastMjd)
            return r.fail("Date MJD " + w[2] + " is outside the ephemeris (MJD 0 to 200000)");
        s.mjd = mjd;
        s.hasMjd = true;
    } else {
        s.notes.push_back(s.file + ":" + std::to_string(r.line) + ": " + w[0] + " ignored");
    }
    return true;
}

// A line of the focus section.
bool focusLine(Parse &p, const std::vector<std::string> &w, const std::string &l) {
    Reader &r = p.r;
    Scenario &s = p.s;
    if (same(w[0], "END_FOCUS")) {
        p.sec = None;
    } else if (same(w[0], "Ship")) {
        if (w.size() != 2 || !plainName(w[1])) return r.fail("Ship needs one vessel name");
        s.focus = w[1];
        s.focusLine = r.line;
    } else {
        return r.fail("unexpected \"" + l + "\" in the focus section");
    }
    return true;
}

// A line of the p.ship list between ships: the start of one.
bool shipsLine(Parse &p, const std::vector<std::string> &w, const std::string &l) {
    Reader &r = p.r;
    Scenario &s = p.s;
    if (same(w[0], "END_SHIPS")) {
        p.sec = None;
    } else {
        // "<name>:<class>", or a bare name that is the class's name as well.
        size_t colon = l.find(':');
        if (w.size() != 1 || colon == 0 || (colon != std::string::npos && colon + 1 == l.size()))
            return r.fail("expected \"<name>:<class>\" or a vessel name to begin a ship, found \"" + l + "\"");
        p.ship = ScnVessel();
        p.ship.name = l.substr(0, colon);
        p.ship.className = colon == std::string::npos ? l : l.substr(colon + 1);
        if (!plainName(p.ship.name) || !plainName(p.ship.className))
            return r.fail("a vessel or class name longer than " + std::to_string(kScnMaxName) + " characters");
        p.ship.line = r.line;
        for (const ScnVessel &o : s.vessels)
            if (strcasecmp(o.name.c_str(), p.ship.name.c_str()) == 0)
                return r.fail("a second ship named " + p.ship.name);
        p.sec = Ship;
    }
    return true;
}

// A line inside a p.ship's block.
bool shipBlockLine(Parse &p, const std::vector<std::string> &w) {
    Reader &r = p.r;
    Scenario &s = p.s;
    // A block that runs into the next p.ship or the end of the list lost its END.
    if ((w.size() == 1 && w[0].find(':') != std::string::npos) || strncasecmp(w[0].c_str(), "END_", 4) == 0 ||
        strncasecmp(w[0].c_str(), "BEGIN_", 6) == 0)
        return r.fail("ship " + p.ship.name + " (line " + std::to_string(p.ship.line) + ") has no END before \"" +
                      w[0].substr(0, 64) + "\"");
    if (same(w[0], "END")) {
        if (!finishShip(r, p.ship)) return false;
        s.vessels.push_back(p.ship);
        p.sec = Ships;
    } else if (!shipLine(r, w, p.ship, s)) {
        return false;
    }
    return true;
}

}  // namespace

bool writableName(const std::string &name) { return plainName(name) && name.find(':') == std::string::npos; }

bool parseScenario(const std::string &text, const std::string &file, Scenario &s, std::string &err) {
    s = Scenario();
    s.file = file;
    Reader r{file, err, 0};
    Parse p{r, s, None, "", ScnVessel(), ScnMfd()};
    std::istringstream in(text);
    std::string raw;
    while (std::getline(in, raw)) {
        r.line++;
        if (!plainLine(r, raw, p.sec == Mfd)) return false;
        std::string l = trim(raw);
        if (p.sec == Skip) {
            if (same(l, p.skipEnd.c_str())) p.sec = None;
            continue;
        }
        if (p.sec == Mfd) {
            if (!mfdBlockLine(p, l)) return false;
            continue;
        }
        if (l.empty() || l[0] == ';') continue;
        std::vector<std::string> w = words(l);
        bool ok = true;
        switch (p.sec) {
        case None: ok = outsideLine(p, w, l); break;
        case Env: ok = environmentLine(p, w); break;
        case Focus: ok = focusLine(p, w, l); break;
        case Ships: ok = shipsLine(p, w, l); break;
        case Ship: ok = shipBlockLine(p, w); break;
        default: break;
        }
        if (!ok) return false;
    }
    r.line++;
    if (p.sec != None) return r.fail("the file ends inside a section");
    if (s.system.empty()) return r.fail("no \"System\" line in an environment section");
    if (s.vessels.empty()) return r.fail("no ships");
    return true;
}

bool readScenarioFile(const std::string &path, Scenario &s, std::string &err) {
    std::ifstream f(path);
    if (!f) {
        err = path + ": cannot open the scenario";
        return false;
    }
    std::stringstream ss;
    ss << f.rdbuf();
    return parseScenario(ss.str(), path, s, err);
}

}  // namespace sim
