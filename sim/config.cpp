// Configuration files: planetary systems and vessel classes (config/).
//
// Both are line files: a keyword and its values, '#' starts a comment. Every
// error names the file, the line and what is wrong.
#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <strings.h>

#include "simmath.h"
#include "world.h"

namespace sim {

namespace {

struct Line {
    std::string file;
    int number = 0;
    std::vector<std::string> tok;
    std::string rest;  // text after the keyword, trimmed (names with blanks)
};

std::string trim(const std::string &s) {
    size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

bool readLines(const std::string &path, std::vector<Line> &out, std::string &err) {
    std::ifstream in(path);
    if (!in) {
        err = path + ": cannot open the file";
        return false;
    }
    std::string text;
    int n = 0;
    while (std::getline(in, text)) {
        n++;
        size_t hash = text.find('#');
        if (hash != std::string::npos) text.erase(hash);
        text = trim(text);
        if (text.empty()) continue;
        Line l;
        l.file = path;
        l.number = n;
        std::istringstream ss(text);
        std::string t;
        while (ss >> t) l.tok.push_back(t);
        l.rest = trim(text.substr(l.tok[0].size()));
        out.push_back(std::move(l));
    }
    return true;
}

bool fail(const Line &l, const std::string &what, std::string &err) {
    err = l.file + ":" + std::to_string(l.number) + ": " + what;
    return false;
}

bool isKey(const Line &l, const char *k) { return strcasecmp(l.tok[0].c_str(), k) == 0; }

bool number(const std::string &s, double &v) {
    char *end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return end && *end == '\0' && !s.empty() && std::isfinite(v);
}

// Reads exactly n numbers after the keyword (or at least n when atLeast).
bool numbers(const Line &l, size_t n, std::vector<double> &v, std::string &err, bool atLeast = false) {
    size_t have = l.tok.size() - 1;
    if (have < n || (!atLeast && have != n))
        return fail(l, l.tok[0] + " needs " + std::to_string(n) + (atLeast ? " or more" : "") + " number" +
                           (n == 1 ? "" : "s"),
                    err);
    v.assign(have, 0.0);
    for (size_t i = 0; i < have; i++)
        if (!number(l.tok[i + 1], v[i])) return fail(l, "'" + l.tok[i + 1] + "' is not a number", err);
    return true;
}

const char *const groupNames[15] = {"MAIN",         "RETRO",         "HOVER",       "ATT_PITCHUP", "ATT_PITCHDOWN",
                                    "ATT_YAWLEFT",  "ATT_YAWRIGHT",  "ATT_BANKLEFT", "ATT_BANKRIGHT", "ATT_RIGHT",
                                    "ATT_LEFT",     "ATT_UP",        "ATT_DOWN",    "ATT_FORWARD", "ATT_BACK"};

int groupIndex(const std::string &s) {
    for (int g = 0; g < 15; g++)
        if (strcasecmp(s.c_str(), groupNames[g]) == 0) return g;
    double v;
    if (number(s, v) && v >= 0 && v <= 14 && v == std::floor(v)) return (int)v;
    return -1;
}

// ---------------------------------------------------------------------------
// Planetary system

struct PendingBody {
    Body *body;
    std::string parent;
    Line parentLine;
    std::vector<std::pair<Line, std::vector<double>>> bumps;  // lng, lat (deg), radius (km), height (m)
};

bool bodyLine(const Line &l, PendingBody &pb, std::string &err) {
    Body &b = *pb.body;
    std::vector<double> v;
    if (isKey(l, "TYPE")) {
        if (l.tok.size() != 2) return fail(l, "TYPE needs STAR or PLANET", err);
        const std::string &t = l.tok[1];
        if (strcasecmp(t.c_str(), "STAR") == 0 || t == "3") b.objType = OBJTP_STAR;
        else if (strcasecmp(t.c_str(), "PLANET") == 0 || t == "4") b.objType = OBJTP_PLANET;
        else return fail(l, "unknown body type '" + t + "' (STAR or PLANET)", err);
        return true;
    }
    struct Scalar {
        const char *key;
        double *dst;
        bool positive;
    } scalars[] = {{"MASS", &b.mass, true},          {"RADIUS", &b.radius, true},  {"ROTPERIOD", &b.rotPeriod, false},
                   {"OBLIQUITY", &b.obliquity, false}, {"THETA", &b.theta, false}, {"ROTOFFSET", &b.rotOffset, false},
                   {"ROTEPOCH", &b.rotEpochMjd, false}, {"EPOCH", &b.orbit.epochMjd, false}};
    for (const Scalar &s : scalars)
        if (isKey(l, s.key)) {
            if (!numbers(l, 1, v, err)) return false;
            if (s.positive && !(v[0] > 0)) return fail(l, std::string(s.key) + " must be positive", err);
            *s.dst = v[0];
            return true;
        }
    if (isKey(l, "JCOEFF")) {
        if (!numbers(l, 1, v, err, true)) return false;
        b.jcoeff = v;
        return true;
    }
    if (isKey(l, "PRECESSION")) {  // reference plane's node and tilt (rad), period (days)
        if (!numbers(l, 3, v, err)) return false;
        if (v[2] == 0) return fail(l, "PRECESSION period must not be 0", err);
        b.precLan = v[0], b.precObliquity = v[1], b.precPeriod = v[2];
        return true;
    }
    if (isKey(l, "EPHEMERIS")) {
        if (l.tok.size() != 2 || strcasecmp(l.tok[1].c_str(), "LUNAR") != 0)
            return fail(l, "EPHEMERIS needs LUNAR (the Moon about the Earth)", err);
        b.orbit.lunarTheory = true;
        return true;
    }
    if (isKey(l, "POS") || isKey(l, "VEL")) {
        if (!numbers(l, 3, v, err)) return false;
        (isKey(l, "POS") ? b.pos : b.vel) = _V(v[0], v[1], v[2]);
        return true;
    }
    if (isKey(l, "PARENT")) {
        if (l.tok.size() != 2) return fail(l, "PARENT needs a body name", err);
        pb.parent = l.tok[1];
        pb.parentLine = l;
        return true;
    }
    if (isKey(l, "ORBIT")) {  // a (m), e, i, node, longitude of periapsis, mean longitude (deg)
        if (!numbers(l, 6, v, err)) return false;
        if (!(v[0] > 0) || v[1] < 0 || v[1] >= 1) return fail(l, "ORBIT needs a > 0 and 0 <= e < 1", err);
        b.orbit.el = ELEMENTS{v[0], v[1], v[2] * RAD, v[3] * RAD, v[4] * RAD, v[5] * RAD};
        return true;
    }
    if (isKey(l, "BUMP")) {
        if (!numbers(l, 4, v, err)) return false;
        if (!(v[2] > 0)) return fail(l, "BUMP radius must be positive", err);
        pb.bumps.push_back({l, v});
        return true;
    }
    if (isKey(l, "ATMOSPHERE")) {  // pressure (Pa), density (kg/m^3), temperature (K), scale height, top (km)
        if (!numbers(l, 5, v, err)) return false;
        if (!(v[0] > 0 && v[1] > 0 && v[2] > 0 && v[3] > 0 && v[4] > 0))
            return fail(l, "ATMOSPHERE values must be positive", err);
        b.atm = Atmosphere{true, v[0], v[1], v[2], v[3] * 1000.0, v[4] * 1000.0};
        return true;
    }
    if (isKey(l, "BASE")) {  // BASE lng lat Name of the base
        if (l.tok.size() < 4) return fail(l, "BASE needs longitude, latitude (deg) and a name", err);
        double lng, lat;
        if (!number(l.tok[1], lng) || !number(l.tok[2], lat) || std::fabs(lat) > 90)
            return fail(l, "BASE needs longitude and latitude in degrees", err);
        auto base = std::make_unique<Base>();
        base->objType = OBJTP_SURFBASE;
        base->planet = &b;
        base->lng = normangle(lng * RAD);
        base->lat = lat * RAD;
        size_t at = l.rest.find(l.tok[1]) + l.tok[1].size();
        at = l.rest.find(l.tok[2], at) + l.tok[2].size();
        base->name = trim(l.rest.substr(at));
        b.bases.push_back(std::move(base));
        return true;
    }
    if (isKey(l, "PAD")) {
        if (b.bases.empty()) return fail(l, "PAD before any BASE", err);
        if (!numbers(l, 2, v, err)) return false;
        if (std::fabs(v[1]) > 90) return fail(l, "PAD latitude out of range", err);
        b.bases.back()->pads.push_back(Pad{normangle(v[0] * RAD), v[1] * RAD});
        return true;
    }
    return fail(l, "unknown keyword '" + l.tok[0] + "' in a BODY block", err);
}

// A TERRAIN block's BUMP line, on a body already loaded.
bool terrainLine(const Line &l, Body &b, std::string &err) {
    std::vector<double> v;
    if (!isKey(l, "BUMP")) return fail(l, "a TERRAIN block holds BUMP lines only", err);
    if (!numbers(l, 4, v, err)) return false;
    if (!(v[2] > 0)) return fail(l, "BUMP radius must be positive", err);
    b.terrain.push_back(TerrainBump{normangle(v[0] * RAD), v[1] * RAD, v[2] * 1000.0 / b.radius, v[3]});
    return true;
}

const int kMaxIncludeDepth = 4;

bool loadSystemAt(World &w, const std::string &path, int depth, std::string &err);

// INCLUDE file: another system file (beside this one) loaded first.
bool includeLine(World &w, const Line &l, const std::string &path, int depth, std::string &err) {
    if (l.rest.empty()) return fail(l, "INCLUDE needs a file name", err);
    if (depth >= kMaxIncludeDepth) return fail(l, "INCLUDE nested too deep", err);
    const size_t slash = path.find_last_of('/');
    return loadSystemAt(w, (slash == std::string::npos ? "" : path.substr(0, slash + 1)) + l.rest, depth + 1, err);
}

bool loadSystemAt(World &w, const std::string &path, int depth, std::string &err) {
    std::vector<Line> lines;
    if (!readLines(path, lines, err)) return false;
    std::vector<PendingBody> pending;
    std::vector<std::unique_ptr<Body>> made;
    PendingBody *cur = nullptr;
    Body *terrain = nullptr;  // the body of an open TERRAIN block
    for (const Line &l : lines) {
        if (terrain) {
            if (isKey(l, "END")) terrain = nullptr;
            else if (!terrainLine(l, *terrain, err)) return false;
        } else if (isKey(l, "INCLUDE") && !cur) {
            if (!includeLine(w, l, path, depth, err)) return false;
        } else if (isKey(l, "TERRAIN") && !cur) {
            if (l.tok.size() != 2 || !(terrain = w.findBody(l.tok[1])))
                return fail(l, "TERRAIN needs the name of a body loaded before it", err);
        } else if (isKey(l, "BODY")) {
            if (cur) return fail(l, "BODY inside a BODY block (missing END)", err);
            if (l.tok.size() != 2) return fail(l, "BODY needs one name", err);
            for (auto &m : made)
                if (strcasecmp(m->name.c_str(), l.tok[1].c_str()) == 0) return fail(l, "body defined twice", err);
            if (w.findBody(l.tok[1])) return fail(l, "body '" + l.tok[1] + "' already exists", err);
            made.push_back(std::make_unique<Body>());
            made.back()->name = l.tok[1];
            made.back()->objType = OBJTP_PLANET;
            made.back()->world = &w;
            pending.push_back(PendingBody{made.back().get(), "", Line{}, {}});
            cur = &pending.back();
        } else if (isKey(l, "END")) {
            if (!cur) return fail(l, "END without BODY", err);
            if (!(cur->body->mass > 0) || !(cur->body->radius > 0))
                return fail(l, "body '" + cur->body->name + "' needs MASS and RADIUS", err);
            cur = nullptr;
        } else if (!cur) {
            return fail(l, "'" + l.tok[0] + "' outside a BODY block", err);
        } else if (!bodyLine(l, *cur, err)) {
            return false;
        }
    }
    if (cur) {
        err = path + ": body '" + cur->body->name + "' has no END";
        return false;
    }
    for (PendingBody &pb : pending) {
        Body &b = *pb.body;
        for (auto &bump : pb.bumps)
            b.terrain.push_back(TerrainBump{normangle(bump.second[0] * RAD), bump.second[1] * RAD,
                                            bump.second[2] * 1000.0 / b.radius, bump.second[3]});
        if (pb.parent.empty()) continue;
        for (auto &m : made)
            if (strcasecmp(m->name.c_str(), pb.parent.c_str()) == 0) b.parent = m.get();
        if (!b.parent) b.parent = w.findBody(pb.parent);
        if (!b.parent || b.parent == &b) return fail(pb.parentLine, "unknown parent body '" + pb.parent + "'", err);
        if (!(b.orbit.el.a > 0)) return fail(pb.parentLine, "a body with a PARENT needs an ORBIT line", err);
    }
    // Parents before their children, so a body's state can be formed from its parent's.
    while (!made.empty()) {
        size_t before = made.size();
        for (size_t i = 0; i < made.size(); i++) {
            Body *par = made[i]->parent;
            if (par && !w.bodyOf(par)) continue;
            w.bodies.push_back(std::move(made[i]));
            made.erase(made.begin() + (long)i);
            i--;
        }
        if (made.size() == before) {
            err = path + ": the bodies' PARENT lines form a loop";
            return false;
        }
    }
    // Spheres of influence: a body lighter than its parent rules a sphere a (m/M)^0.4;
    // a heavier "parent-orbiting" body (the Sun seen from a fixed Earth) limits its parent's instead.
    for (auto &bp : w.bodies) bp->soi = 1e300;
    for (auto &bp : w.bodies) {
        Body &b = *bp;
        if (!b.parent) continue;
        double a = b.orbit.el.a;
        if (b.mass < b.parent->mass) b.soi = a * std::pow(b.mass / b.parent->mass, 0.4);
        else b.parent->soi = std::min(b.parent->soi, a * std::pow(b.parent->mass / b.mass, 0.4));
    }
    for (auto &bp : w.bodies) bp->stateMjd = -1e300;
    updateBodies(w);
    // Bases stand on the terrain; nothing to store, the elevation model gives it.
    if (terrain) {
        err = path + ": TERRAIN block has no END";
        return false;
    }
    return true;
}

}  // namespace

bool loadSystem(World &w, const std::string &path, std::string &err) { return loadSystemAt(w, path, 0, err); }

// ---------------------------------------------------------------------------
// Vessel classes

namespace {

// THRUSTER name px py pz dx dy dz thrust isp [tank]
bool thrusterLine(const Line &l, VesselClass &c, std::string &err) {
    if (l.tok.size() != 10 && l.tok.size() != 11)
        return fail(l, "THRUSTER needs a name, position (3), direction (3), thrust, Isp and an optional tank", err);
    ThrusterSpec t;
    t.name = l.tok[1];
    for (auto &o : c.thrusters)
        if (o.name == t.name) return fail(l, "thruster '" + t.name + "' defined twice", err);
    double x[9];
    for (size_t i = 0; i < 9 && i + 2 < l.tok.size(); i++)
        if (!number(l.tok[i + 2], x[i])) return fail(l, "'" + l.tok[i + 2] + "' is not a number", err);
    t.pos = _V(x[0], x[1], x[2]);
    t.dir = _V(x[3], x[4], x[5]);
    if (length(t.dir) < 1e-9) return fail(l, "thruster direction is zero", err);
    t.dir = unit(t.dir);
    t.maxThrust = x[6];
    t.isp = x[7];
    if (!(t.maxThrust >= 0) || !(t.isp > 0)) return fail(l, "thrust must be >= 0 and Isp > 0", err);
    t.tank = 0;
    if (l.tok.size() == 11) {
        double tk;
        if (!number(l.tok[10], tk) || tk != std::floor(tk) || tk < -1 || tk >= (double)c.tankMax.size())
            return fail(l, "tank '" + l.tok[10] + "' is not a defined tank index (or -1)", err);
        t.tank = (int)tk;
    } else if (c.tankMax.empty()) {
        t.tank = -1;
    }
    c.thrusters.push_back(t);
    return true;
}

// DOCK pos (3) dir (3) rot (3) [IDS channel]
bool dockLine(const Line &l, VesselClass &c, std::string &err) {
    std::vector<double> v;
    if (!numbers(l, 9, v, err, true)) return false;
    if (v.size() > 10) return fail(l, "DOCK needs 9 numbers and an optional IDS channel", err);
    DockSpec d;
    d.pos = _V(v[0], v[1], v[2]);
    d.dir = _V(v[3], v[4], v[5]);
    d.rot = _V(v[6], v[7], v[8]);
    if (length(d.dir) < 1e-9 || length(d.rot) < 1e-9) return fail(l, "DOCK direction vectors are zero", err);
    d.dir = unit(d.dir);
    d.rot = unit(d.rot);
    if (std::fabs(dotp(d.dir, d.rot)) > 1e-6) return fail(l, "DOCK direction and up vector not orthogonal", err);
    if (v.size() == 10) d.idsChannel = (DWORD)std::clamp(v[9], 0.0, 639.0);
    c.docks.push_back(d);
    return true;
}

// ISPREF thruster, Isp (m/s) at a pressure (Pa, default the host's sea level)
bool ispRefLine(const Line &l, VesselClass &c, std::string &err) {
    if (l.tok.size() != 3 && l.tok.size() != 4)
        return fail(l, "ISPREF needs a thruster, an Isp and an optional pressure", err);
    ThrusterSpec *t = nullptr;
    for (auto &o : c.thrusters)
        if (o.name == l.tok[1]) t = &o;
    if (!t) return fail(l, "unknown thruster '" + l.tok[1] + "' (ISPREF follows its THRUSTER line)", err);
    double isp = 0, p = ATMP;
    if (!number(l.tok[2], isp) || (l.tok.size() == 4 && !number(l.tok[3], p)))
        return fail(l, "ISPREF needs numbers after the thruster's name", err);
    if (!(isp > 0 && isp <= t->isp) || !(p > 0))
        return fail(l, "ISPREF needs 0 < Isp <= the vacuum Isp and a pressure above 0", err);
    t->ispRef = isp;
    t->pRef = p;
    return true;
}

// DRAG (Cd and reference area, m^2, per axis x, y, z) and LIFT (reference area,
// m^2, slope per rad, stall angle in deg).
bool aeroLine(const Line &l, VesselClass &c, std::string &err) {
    std::vector<double> v;
    if (isKey(l, "DRAG")) {
        if (!numbers(l, 6, v, err)) return false;
        if (*std::min_element(v.begin(), v.end()) < 0) return fail(l, "DRAG values must not be negative", err);
        c.aero.dragArea = _V(v[0] * v[1], v[2] * v[3], v[4] * v[5]);
        return true;
    }
    if (!numbers(l, 3, v, err)) return false;
    if (!(v[0] > 0) || !(v[1] > 0) || !(v[2] > 0 && v[2] < 90))
        return fail(l, "LIFT needs an area and a slope above 0 and a stall angle within 0..90 deg", err);
    c.aero.liftArea = v[0];
    c.aero.liftSlope = v[1];
    c.aero.stallAoa = v[2] * RAD;
    return true;
}

// The lines of one number, three or four: EMPTYMASS, SIZE, PMI, TANK, HULL, TOUCHDOWN,
// TRANSPONDER, NAVCOUNT. False with the reason in err, also for an unknown key.
bool valueLine(const Line &l, VesselClass &c, std::string &err) {
    std::vector<double> v;
    if (isKey(l, "EMPTYMASS") || isKey(l, "SIZE")) {
        if (!numbers(l, 1, v, err)) return false;
        if (!(v[0] > 0)) return fail(l, l.tok[0] + " must be positive", err);
        (isKey(l, "SIZE") ? c.size : c.emptyMass) = v[0];
    } else if (isKey(l, "PMI")) {
        if (!numbers(l, 3, v, err)) return false;
        if (!(v[0] > 0 && v[1] > 0 && v[2] > 0)) return fail(l, "PMI values must be positive", err);
        c.pmi = _V(v[0], v[1], v[2]);
    } else if (isKey(l, "TANK")) {
        if (!numbers(l, 1, v, err)) return false;
        if (v[0] < 0) return fail(l, "TANK capacity must not be negative", err);
        c.tankMax.push_back(v[0]);
    } else if (isKey(l, "HULL")) {
        if (!numbers(l, 4, v, err)) return false;
        if (!(v[3] > 0)) return fail(l, "HULL radius must be positive", err);
        c.hull.push_back(HullSphere{_V(v[0], v[1], v[2]), v[3]});
    } else if (isKey(l, "TOUCHDOWN")) {
        if (!numbers(l, 3, v, err)) return false;
        c.touchdown.push_back(_V(v[0], v[1], v[2]));
    } else if (isKey(l, "TRANSPONDER")) {
        if (!numbers(l, 1, v, err)) return false;
        c.hasTransponder = true;
        c.xpdrChannel = (DWORD)std::clamp(v[0], 0.0, 639.0);
    } else if (isKey(l, "NAVCOUNT")) {
        if (!numbers(l, 1, v, err)) return false;
        if (v[0] < 0 || v[0] > 16) return fail(l, "NAVCOUNT out of range 0..16", err);
        c.navCount = (int)v[0];
    } else {
        return fail(l, "unknown keyword '" + l.tok[0] + "'", err);
    }
    return true;
}

// The GROUP lines' thrusters, by name, once every thruster is known.
bool resolveGroups(const std::vector<std::pair<Line, int>> &groupLines, VesselClass &c, std::string &err) {
    for (auto &gl : groupLines) {
        const Line &l = gl.first;
        for (size_t i = 2; i < l.tok.size(); i++) {
            int found = -1;
            for (size_t k = 0; k < c.thrusters.size(); k++)
                if (c.thrusters[k].name == l.tok[i]) found = (int)k;
            if (found < 0) return fail(l, "unknown thruster '" + l.tok[i] + "'", err);
            c.groups[gl.second].push_back(found);
        }
    }
    return true;
}

// What every class needs, and a name not loaded yet.
bool checkClass(const World &w, const std::string &path, const VesselClass &c, std::string &err) {
    if (c.name.empty()) {
        err = path + ": no CLASS line";
        return false;
    }
    if (!(c.emptyMass > 0) || !(c.size > 0) || !(c.pmi.x > 0)) {
        err = path + ": class '" + c.name + "' needs EMPTYMASS, SIZE and PMI";
        return false;
    }
    if (c.touchdown.size() < 3) {
        err = path + ": class '" + c.name + "' needs at least three TOUCHDOWN points";
        return false;
    }
    if (w.findClass(c.name)) {
        err = path + ": class '" + c.name + "' is already loaded";
        return false;
    }
    return true;
}

}  // namespace

bool loadClass(World &w, const std::string &path, std::string &err) {
    std::vector<Line> lines;
    if (!readLines(path, lines, err)) return false;
    auto c = std::make_unique<VesselClass>();
    std::vector<std::pair<Line, int>> groupLines;  // resolved after all thrusters are known
    for (const Line &l : lines) {
        bool ok = true;
        if (isKey(l, "CLASS")) {
            if (l.rest.empty()) return fail(l, "CLASS needs a name", err);
            if (!c->name.empty()) return fail(l, "a second CLASS line", err);
            c->name = l.rest;
        } else if (isKey(l, "THRUSTER")) {
            ok = thrusterLine(l, *c, err);
        } else if (isKey(l, "GROUP")) {
            if (l.tok.size() < 3) return fail(l, "GROUP needs a group and thruster names", err);
            int g = groupIndex(l.tok[1]);
            if (g < 0) return fail(l, "unknown thruster group '" + l.tok[1] + "'", err);
            groupLines.push_back({l, g});
        } else if (isKey(l, "DOCK")) {
            ok = dockLine(l, *c, err);
        } else if (isKey(l, "DRAG") || isKey(l, "LIFT")) {
            ok = aeroLine(l, *c, err);
        } else if (isKey(l, "ISPREF")) {
            ok = ispRefLine(l, *c, err);
        } else {
            ok = valueLine(l, *c, err);
        }
        if (!ok) return false;
    }
    if (!resolveGroups(groupLines, *c, err) || !checkClass(w, path, *c, err)) return false;
    deriveTouchdownPlane(*c);
    w.classes.push_back(std::move(c));
    return true;
}

bool loadClassDir(World &w, const std::string &dir, std::string &err) {
    DIR *d = opendir(dir.c_str());
    if (!d) {
        err = dir + ": cannot open the folder";
        return false;
    }
    std::vector<std::string> files;
    while (dirent *e = readdir(d)) {
        std::string n = e->d_name;
        if (n.size() > 4 && strcasecmp(n.c_str() + n.size() - 4, ".cfg") == 0) files.push_back(dir + "/" + n);
    }
    closedir(d);
    std::sort(files.begin(), files.end());
    for (const std::string &f : files)
        if (!loadClass(w, f, err)) return false;
    return true;
}

}  // namespace sim
