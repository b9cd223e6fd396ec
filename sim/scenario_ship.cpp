// The lines of a ship's block as the real host writes them: the state that
// matters to a flight is read (status, orbit, pad, attitude, propellant, engine
// and thruster levels, radios, docking), the rest is noted and skipped.
#include <cctype>
#include <cmath>
#include <cstdio>

#include "scenario_parse.h"

namespace sim {
namespace scn {

namespace {

// A key of a ship line: letters, digits and underscores.
bool keyWord(const std::string &k) {
    for (unsigned char c : k)
        if (!std::isalnum(c) && c != '_') return false;
    return !k.empty();
}

// "idx:level" pairs with the level in 0..1.
bool levels(Reader &r, const std::vector<std::string> &w, std::vector<std::pair<int, double>> &out) {
    for (size_t i = 1; i < w.size(); ++i) {
        size_t colon = w[i].find(':');
        int idx;
        double lvl;
        if (colon == std::string::npos || !integer(w[i].substr(0, colon), idx) || idx < 0 ||
            !number(w[i].substr(colon + 1), lvl) || lvl < 0 || lvl > 1)
            return r.fail(w[0] + ": \"" + w[i] + "\" is not index:level with a level from 0 to 1");
        out.emplace_back(idx, lvl);
    }
    return true;
}

// One number after the key within [lo, hi].
bool level(Reader &r, const std::vector<std::string> &w, double lo, double hi, double &out) {
    if (!numbers(r, w, 1, &out)) return false;
    if (out < lo || out > hi) {
        char buf[80];
        std::snprintf(buf, sizeof buf, " must be within %g..%g", lo, hi);
        return r.fail(w[0] + buf);
    }
    return true;
}

// ELEMENTS in the real host's 7-number form, or this host's older 6-number form
// (a in km, no epoch, an optional EQU), which is read with a note.
bool elements(Reader &r, const std::vector<std::string> &w, ScnVessel &v, Scenario &s) {
    std::vector<std::string> ww = w;
    const bool equ = ww.size() == 8 && same(ww[7], "EQU");
    if (equ) ww.pop_back();
    const bool older = ww.size() == 7;
    double n[7];
    if (!older && ww.size() != 8)
        return r.fail("ELEMENTS needs 7 numbers: a [m], e, i, node, longitude of periapsis, mean longitude [deg], "
                      "epoch [MJD]");
    if (!numbers(r, ww, older ? 6 : 7, n)) return false;
    if (n[0] <= 0 || n[1] < 0 || n[1] >= 1) return r.fail("ELEMENTS needs a > 0 and 0 <= e < 1 (closed orbits only)");
    for (int i = 2; i < 6; ++i)
        if (std::fabs(n[i]) > kScnMaxAngle) return r.fail("ELEMENTS: the angles must be within +-3600 degrees");
    if (!older && (n[6] < kScnFirstMjd || n[6] > kScnLastMjd))
        return r.fail("ELEMENTS: the epoch is outside the ephemeris (MJD 0 to 200000)");
    for (int i = 0; i < 6; ++i) v.el[i] = n[i];
    if (older) {
        v.el[0] *= 1000.0;
        r.note(s, "ELEMENTS in this host's older form (6 numbers, a in km, the mean longitude at the scenario's "
                  "date); the real host writes 7 (a in m, ..., the epoch)");
    }
    v.elEquatorial = equ;
    v.hasElEpoch = !older;
    v.elEpoch = older ? 0 : n[6];
    v.hasElements = true;
    v.stateLine = r.line;
    return true;
}

// BASE <base>:<pad>, the base's name possibly of several words.
bool basePad(Reader &r, const std::vector<std::string> &w, ScnVessel &v) {
    std::string rest;
    for (size_t i = 1; i < w.size(); ++i) rest += (i > 1 ? " " : "") + w[i];
    const size_t colon = rest.rfind(':');
    int pad = 0;
    if (colon == std::string::npos || colon == 0 || colon > kScnMaxName || !integer(rest.substr(colon + 1), pad) ||
        pad < 1)
        return r.fail("BASE must be \"<base>:<pad>\" with the pad numbered from 1");
    v.base = rest.substr(0, colon);
    v.pad = pad;
    v.baseLine = r.line;
    return true;
}

// Lines the real host writes that this host does not simulate, and why.
const char *skippedReason(const std::string &k) {
    static const struct {
        const char *key, *why;
    } kSkipped[] = {
        {"ALT", "a landed ship rests on its touchdown points here"},
        {"RCSMODE", "the RCS mode switch is not simulated"},
        {"AFCMODE", "control surfaces are not simulated"},
        {"IDS", "docking ports keep their vessel class's IDS channels here"},
        {"ATTACHED", "attachments are not simulated: the ship flies free"},
        {"FLIGHTDATA", "flight data recording is not simulated"},
    };
    for (const auto &e : kSkipped)
        if (same(k, e.key)) return e.why;
    return "a line of the vessel class's own module, which is not simulated";
}

// The status, position and attitude lines: false with err set on a bad line;
// handled false when the key is none of them.
bool placeLine(Reader &r, const std::vector<std::string> &w, ScnVessel &v, bool &handled) {
    const std::string &k = w[0];
    double n[3];
    handled = true;
    if (same(k, "STATUS")) {
        if (v.statusLine)
            return r.fail("ship " + v.name + " (line " + std::to_string(v.line) + ") has a second STATUS line (line " +
                          std::to_string(v.statusLine) + " was the first): is an END missing?");
        if (w.size() != 3 || !(same(w[1], "Orbiting") || same(w[1], "Landed")))
            return r.fail("STATUS must be \"Orbiting <body>\" or \"Landed <body>\"");
        v.landed = same(w[1], "Landed");
        v.body = w[2];
        v.statusLine = r.line;
    } else if (same(k, "RPOS") || same(k, "RVEL")) {
        if (!numbers(r, w, 3, n)) return false;
        const bool pos = same(k, "RPOS");
        (pos ? v.rpos : v.rvel) = _V(n[0], n[1], n[2]);
        (pos ? v.hasRpos : v.hasRvel) = true;
        if (!v.hasElements && (pos || !v.stateLine)) v.stateLine = r.line;
    } else if (same(k, "AROT")) {
        if (!numbers(r, w, 3, n, kScnMaxAngle)) return false;
        v.arot = _V(n[0], n[1], n[2]);
    } else if (same(k, "VROT")) {
        if (!numbers(r, w, 3, n, kScnMaxRate)) return false;
        v.vrot = _V(n[0], n[1], n[2]);
    } else if (same(k, "POS")) {
        if (!numbers(r, w, 2, n, kScnMaxAngle)) return false;
        if (n[1] < -90 || n[1] > 90) return r.fail("POS latitude must be within -90..90 degrees");
        v.lon = n[0];
        v.lat = n[1];
        v.hasPos = true;
    } else if (same(k, "HEADING")) {
        if (!numbers(r, w, 1, n, kScnMaxAngle)) return false;
        v.heading = n[0];
    } else {
        handled = false;
    }
    return true;
}

}  // namespace

bool shipLine(Reader &r, const std::vector<std::string> &w, ScnVessel &v, Scenario &s) {
    const std::string &k = w[0];
    bool handled = false;
    if (!placeLine(r, w, v, handled)) return false;
    if (handled) return true;
    if (same(k, "ELEMENTS")) return elements(r, w, v, s);
    if (same(k, "BASE")) return basePad(r, w, v);
    if (same(k, "FUEL")) {
        v.hasFuel = true;
        return level(r, w, 0, 1, v.fuel);
    }
    if (same(k, "ENGINE_MAIN")) {
        v.hasMainLevel = true;
        return level(r, w, -1, 1, v.mainLevel);
    }
    if (same(k, "ENGINE_HOVR")) {
        v.hasHoverLevel = true;
        return level(r, w, 0, 1, v.hoverLevel);
    }
    if (same(k, "PRPLEVEL")) return levels(r, w, v.propellant);
    if (same(k, "THLEVEL")) return levels(r, w, v.thrusters);
    if (same(k, "NAVFREQ")) {
        for (size_t i = 1; i < w.size(); ++i) {
            int ch;
            if (!integer(w[i], ch) || ch < 0 || ch > 639) return r.fail("NAVFREQ: channels are 0..639");
            v.navFreq.push_back(ch);
        }
    } else if (same(k, "DOCKINFO")) {
        for (size_t i = 1; i < w.size(); ++i) {
            size_t colon = w[i].find(':'), comma = w[i].find(',');
            ScnVessel::Dock d;
            if (colon == std::string::npos || comma == std::string::npos || comma < colon ||
                !integer(w[i].substr(0, colon), d.port) || !integer(w[i].substr(colon + 1, comma - colon - 1), d.otherPort) ||
                d.port < 0 || d.otherPort < 0 || comma + 1 == w[i].size())
                return r.fail("DOCKINFO: \"" + w[i] + "\" is not port:otherport,vessel");
            d.other = w[i].substr(comma + 1);
            if (!plainName(d.other)) return r.fail("DOCKINFO: the vessel name is too long");
            v.docks.push_back(d);
        }
    } else if (same(k, "XPDR")) {
        if (w.size() != 2 || !integer(w[1], v.xpdr) || v.xpdr < 0 || v.xpdr > 639)
            return r.fail("XPDR needs one channel 0..639");
        v.hasXpdr = true;
    } else if (keyWord(k)) {
        r.note(s, k + " ignored: " + skippedReason(k));
    } else {
        return r.fail("\"" + k + "\" is not a line of a ship block");
    }
    return true;
}

}  // namespace scn
}  // namespace sim
