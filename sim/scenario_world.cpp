// From a read scenario to a world and open displays, and from the world back to a
// scenario file; the scenario-block functions modes read and write through.
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <strings.h>
#include <sys/stat.h>

#include "docking.h"
#include "host.h"
#include "scenario.h"

namespace sim {

std::string configDir() {
    const char *env = std::getenv("TESSARC_CONFIG");
    if (env && *env) return env;
    return std::string(TESSARC_SOURCE_DIR) + "/config";
}

static bool isDir(const std::string &p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Closed-orbit elements (a, e, i, node, longitude of periapsis, mean longitude; m and
// rad) to position and velocity, in the frame whose pole is y.
static void elementsToState(double mu, const double el[6], VECTOR3 &pos, VECTOR3 &vel) {
    double a = el[0], e = el[1], i = el[2], node = el[3];
    double argp = el[4] - node, M = el[5] - el[4];
    M = std::fmod(M, PI2);
    double E = e < 0.8 ? M : PI;
    for (int k = 0; k < 50; ++k) {
        double dE = (E - e * std::sin(E) - M) / (1 - e * std::cos(E));
        E -= dE;
        if (std::fabs(dE) < 1e-15) break;
    }
    double nu = 2 * std::atan2(std::sqrt(1 + e) * std::sin(E / 2), std::sqrt(1 - e) * std::cos(E / 2));
    double r = a * (1 - e * std::cos(E));
    double p = a * (1 - e * e);
    double u = argp + nu;
    double cu = std::cos(u), su = std::sin(u), cW = std::cos(node), sW = std::sin(node);
    double ci = std::cos(i), si = std::sin(i);
    VECTOR3 rhat = _V(cu * cW - su * sW * ci, su * si, cu * sW + su * cW * ci);
    VECTOR3 that = _V(-su * cW - cu * sW * ci, cu * si, -su * sW + cu * cW * ci);
    double vr = std::sqrt(mu / p) * e * std::sin(nu), vt = std::sqrt(mu / p) * (1 + e * std::cos(nu));
    pos = rhat * r;
    vel = rhat * vr + that * vt;
}

static std::string at(const Scenario &s, int line) { return s.file + ":" + std::to_string(line) + ": "; }

// The system file of that name among the configuration folder's own .cfg files
// (names compared without regard to case); "" when there is none.
static std::string systemFile(const std::string &dir, const std::string &name) {
    std::string found;
    DIR *d = opendir(dir.c_str());
    if (!d) return found;
    while (struct dirent *e = readdir(d)) {
        std::string f = e->d_name;
        if (f.size() != name.size() + 4 || strcasecmp(f.c_str() + name.size(), ".cfg") != 0 ||
            strncasecmp(f.c_str(), name.c_str(), name.size()) != 0)
            continue;
        struct stat st;
        if (stat((dir + "/" + f).c_str(), &st) == 0 && S_ISREG(st.st_mode)) found = dir + "/" + f;
    }
    closedir(d);
    return found;
}

static bool finite3(const VECTOR3 &v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// Whether a ship placed at rpos, rvel about the body is one the world can fly:
// above the surface, within the system, no faster than well beyond escape there.
static bool flyable(const Scenario &s, const ScnVessel &sv, const World &w, const Body &b, const VECTOR3 &rpos,
                    const VECTOR3 &rvel, std::string &err) {
    double reach = 0;
    for (const auto &bp : w.bodies) reach = std::max(reach, length(bp->pos));
    reach = kScnSystemMargin * std::max(reach, 1e9);
    // hypot: a component of 1e300 gives its size, not an overflow.
    double r = std::hypot(std::hypot(rpos.x, rpos.y), rpos.z), v = std::hypot(std::hypot(rvel.x, rvel.y), rvel.z);
    char buf[200];
    const char *what = sv.hasElements ? "ELEMENTS" : "RPOS";
    if (!finite3(rpos) || !finite3(rvel)) {
        std::snprintf(buf, sizeof buf, "%s give no finite state", what);
    } else if (r < b.radius) {
        std::snprintf(buf, sizeof buf, "%s puts the ship %.0f m from the centre of %s, inside it (radius %.0f m)", what,
                      r, b.name.c_str(), b.radius);
    } else if (r > reach) {
        std::snprintf(buf, sizeof buf, "%s puts the ship %.3g m from %s, beyond the system (%.3g m)", what, r,
                      b.name.c_str(), reach);
    } else if (v > std::max(kScnEscapeMargin * std::sqrt(2 * b.mu() / r), kScnSpeedFloor)) {
        std::snprintf(buf, sizeof buf, "a speed of %.3g m/s about %s is beyond any orbit there", v, b.name.c_str());
    } else {
        return true;
    }
    err = at(s, sv.stateLine ? sv.stateLine : sv.line) + "ship " + sv.name + ": " + buf;
    return false;
}

// Every ship's state finite: the last guard before the world flies.
static bool finiteWorld(const Scenario &s, World &w, std::string &err) {
    for (const ScnVessel &sv : s.vessels) {
        const ::Vessel *v = w.findVessel(sv.name);
        bool ok = v && finite3(v->pos) && finite3(v->vel) && finite3(v->omega);
        for (int k = 0; ok && k < 9; ++k) ok = std::isfinite(v->R.data[k]);
        if (!ok) {
            err = at(s, sv.line) + "ship " + sv.name + " has no finite state in this world";
            return false;
        }
    }
    return true;
}

// The classes the world has, for a refusal that names a class it lacks.
static std::string classNames(const World &w) {
    std::string out;
    for (size_t i = 0; i < w.classes.size(); ++i)
        out += (i == 0 ? "" : i + 1 == w.classes.size() ? " and " : ", ") + w.classes[i]->name;
    return out;
}

// Where a landed ship stands (rad): its POS, else the pad its BASE line names.
static bool landedPlace(const Scenario &s, const ScnVessel &sv, const Body &body, double &lng, double &lat,
                        std::string &err) {
    lng = sv.lon * RAD;
    lat = sv.lat * RAD;
    if (sv.base.empty()) return true;
    for (const std::unique_ptr<Base> &b : body.bases) {
        if (strcasecmp(b->name.c_str(), sv.base.c_str()) != 0) continue;
        if (sv.pad > (int)b->pads.size()) {
            err = at(s, sv.baseLine) + "ship " + sv.name + ": " + b->name + " has no pad " + std::to_string(sv.pad) +
                  " (its pads are 1 to " + std::to_string(b->pads.size()) + ")";
            return false;
        }
        if (!sv.hasPos) {
            lng = b->pads[sv.pad - 1].lng;
            lat = b->pads[sv.pad - 1].lat;
        }
        return true;
    }
    err = at(s, sv.baseLine) + "ship " + sv.name + ": no base \"" + sv.base + "\" on " + body.name;
    return false;
}

// The levels of a ship's tanks and thrusters: FUEL for every tank, then
// PRPLEVEL's; ENGINE_MAIN (main, or retro when negative) and ENGINE_HOVR for
// their groups, then THLEVEL's single thrusters.
static bool applyLevels(const Scenario &s, const ScnVessel &sv, ::Vessel &v, std::string &err) {
    const VesselClass &cls = *v.cls;
    if (sv.hasFuel)
        for (size_t i = 0; i < v.tankMass.size(); ++i) v.tankMass[i] = sv.fuel * cls.tankMax[i];
    for (const auto &pl : sv.propellant) {
        if (pl.first >= (int)v.tankMass.size()) {
            err = at(s, sv.line) + "ship " + sv.name + ": no tank " + std::to_string(pl.first);
            return false;
        }
        v.tankMass[pl.first] = pl.second * cls.tankMax[pl.first];
    }
    auto setGroup = [&](int group, double level) {
        for (int t : cls.groups[group])
            if (t >= 0 && t < (int)v.thrusters.size()) v.thrusters[t].level = level;
    };
    if (sv.hasMainLevel) {
        setGroup(THGROUP_MAIN, std::max(sv.mainLevel, 0.0));
        setGroup(THGROUP_RETRO, std::max(-sv.mainLevel, 0.0));
    }
    if (sv.hasHoverLevel) setGroup(THGROUP_HOVER, sv.hoverLevel);
    for (const auto &tl : sv.thrusters) {
        if (tl.first >= (int)v.thrusters.size()) {
            err = at(s, sv.line) + "ship " + sv.name + ": no thruster " + std::to_string(tl.first);
            return false;
        }
        v.thrusters[tl.first].level = tl.second;
    }
    return true;
}

// One ship of the scenario added to the world: its class, levels, radios and place.
static bool placeShip(const Scenario &s, const ScnVessel &sv, World &w, std::string &err) {
    const VesselClass *cls = w.findClass(sv.className);
    if (!cls) {
        err = at(s, sv.line) + "ship " + sv.name + ": vessel class \"" + sv.className +
              "\" is not one this host simulates (it has " + classNames(w) + ")";
        return false;
    }
    Body *body = w.findBody(sv.body);
    if (!body) {
        err = at(s, sv.line) + "ship " + sv.name + ": unknown body \"" + sv.body + "\"";
        return false;
    }
    ::Vessel *v = addVessel(w, sv.name, cls);
    if (!v) {
        err = at(s, sv.line) + "cannot add ship " + sv.name;
        return false;
    }
    if (!applyLevels(s, sv, *v, err)) return false;
    for (size_t i = 0; i < sv.navFreq.size() && i < v->navChannel.size(); ++i) v->navChannel[i] = sv.navFreq[i];
    if (sv.hasXpdr) v->transponder.channel = (DWORD)sv.xpdr;
    if (sv.landed) {
        double lng, lat;
        if (!landedPlace(s, sv, *body, lng, lat, err)) return false;
        setLandedState(*v, body, lng, lat, sv.heading * RAD);
        return true;
    }
    VECTOR3 rpos = sv.rpos, rvel = sv.rvel;
    if (sv.hasElements) {
        double el[6] = {sv.el[0], sv.el[1], sv.el[2] * RAD, sv.el[3] * RAD, sv.el[4] * RAD, sv.el[5] * RAD};
        // The mean longitude moves on from its epoch to the scenario's date.
        if (sv.hasElEpoch) el[5] += std::sqrt(body->mu() / (el[0] * el[0] * el[0])) * (w.mjd() - sv.elEpoch) * 86400.0;
        elementsToState(body->mu(), el, rpos, rvel);
        if (sv.elEquatorial) {
            MATRIX3 obl = body->obliquityMatrix();
            rpos = mul(obl, rpos);
            rvel = mul(obl, rvel);
        }
    }
    if (!flyable(s, sv, w, *body, rpos, rvel, err)) return false;
    setOrbitState(*v, body, rpos, rvel, sv.arot * RAD, sv.vrot * RAD);
    return true;
}

bool buildWorld(const Scenario &s, World &w, std::string &err) {
    std::string dir = configDir();
    std::string system = systemFile(dir, s.system);
    if (system.empty()) {
        err = at(s, s.systemLine) + "unknown planetary system \"" + s.system + "\" (no such .cfg in " + dir + ")";
        return false;
    }
    if (!loadSystem(w, system, err)) {
        err = at(s, s.systemLine) + "system \"" + s.system + "\" does not load: " + err;
        return false;
    }
    if (w.bodies.empty()) {
        err = at(s, s.systemLine) + "\"" + s.system + "\" is not a planetary system (it has no BODY)";
        return false;
    }
    // The 2010 host generation has no terrain: its bodies are spheres at their
    // mean radius, and bases and pads stand on them.
    if (w.hostVersion < kFirstTerrainHostVersion)
        for (const std::unique_ptr<Body> &b : w.bodies) b->terrain.clear();
    std::string classDir = isDir(dir + "/vessels") ? dir + "/vessels" : dir + "/Vessels";
    if (!loadClassDir(w, classDir, err)) return false;
    if (s.hasMjd) setMjd(w, s.mjd);
    for (const ScnVessel &sv : s.vessels)
        if (!placeShip(s, sv, w, err)) return false;
    // Docked pairs, once every ship is in place (both sides name each other).
    bool docked = false;
    for (const ScnVessel &sv : s.vessels) {
        ::Vessel *v = w.findVessel(sv.name);
        for (const ScnVessel::Dock &d : sv.docks) {
            ::Vessel *o = w.findVessel(d.other);
            if (!o || o == v || d.port >= (int)v->ports.size() || d.otherPort >= (int)o->ports.size() || v->landed ||
                o->landed) {
                err = at(s, sv.line) + "ship " + sv.name + ": cannot dock port " + std::to_string(d.port) + " to " +
                      d.other + " port " + std::to_string(d.otherPort);
                return false;
            }
            sim::DockPort &a = v->ports[d.port], &b = o->ports[d.otherPort];
            if ((a.docked && (a.docked != o || a.otherPort != d.otherPort)) ||
                (b.docked && (b.docked != v || b.otherPort != d.port))) {
                err = at(s, sv.line) + "ship " + sv.name + ": port " + std::to_string(d.port) + " docked twice";
                return false;
            }
            a.docked = o;
            a.otherPort = d.otherPort;
            b.docked = v;
            b.otherPort = d.port;
            docked = true;
        }
    }
    if (docked) rebuildStacks(w);
    w.focus = s.focus.empty() ? w.findVessel(s.vessels.front().name) : w.findVessel(s.focus);
    if (!w.focus) {
        err = at(s, s.focusLine) + "the focus ship \"" + s.focus + "\" is not among the ships";
        return false;
    }
    return finiteWorld(s, w, err);
}

bool openScenarioMfds(const Scenario &s, Host &h, std::string &err) {
    for (const ScnMfd &m : s.mfds) {
        if (strcasecmp(m.type.c_str(), "User") != 0) continue;  // the host's own modes are not simulated
        std::string e;
        if (!h.open(m.display, m.mode, nullptr, e, &m.lines)) {
            err = at(s, m.line) + e;
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// Writing

// Appends formatted text of any length: a long name is never cut.
static void add(std::string &out, const char *fmt, ...) __attribute__((format(printf, 2, 3)));
static void add(std::string &out, const char *fmt, ...) {
    va_list ap, again;
    va_start(ap, fmt);
    va_copy(again, ap);
    const int n = std::vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    if (n > 0) {
        const size_t at = out.size();
        out.resize(at + (size_t)n + 1);
        std::vsnprintf(&out[at], (size_t)n + 1, fmt, again);
        out.resize(at + (size_t)n);
    }
    va_end(again);
}

static VECTOR3 matrixToEuler(const MATRIX3 &R) {
    double s = R.m13 > 1 ? 1 : R.m13 < -1 ? -1 : R.m13;
    return _V(std::atan2(R.m23, R.m33), -std::asin(s), std::atan2(R.m12, R.m11));
}

// The pad a landed vessel stands on (numbered from 1, as BASE lines give it) and
// its base; null when it stands on none.
static const Base *padUnder(const ::Vessel &v, int &pad) {
    const Body *b = v.landedOn;
    for (const std::unique_ptr<Base> &base : b->bases)
        for (size_t i = 0; i < base->pads.size(); ++i) {
            const Pad &p = base->pads[i];
            const double east = normangle(v.landLng - p.lng) * std::cos(p.lat), north = v.landLat - p.lat;
            if (std::hypot(east, north) * b->radius <= kScnPadReach) {
                pad = (int)i + 1;
                return base.get();
            }
        }
    return nullptr;
}

// The real host's layout: description, environment, focus, the displays, the ships.
std::string writeScenario(Host &h, const std::string &systemName) {
    World &w = h.world();
    std::string out;
    out += "BEGIN_DESC\nSaved by tessarc-sim\nEND_DESC\n\n";
    add(out, "BEGIN_ENVIRONMENT\n  System %s\n  Date MJD %.12f\nEND_ENVIRONMENT\n\n", systemName.c_str(), w.mjd());
    if (w.focus) add(out, "BEGIN_FOCUS\n  Ship %s\nEND_FOCUS\n\n", w.focus->name.c_str());
    for (int d = 0; d < MAXMFD; ++d) {
        const Display &D = h.display(d);
        if (!D.open || !D.mfd) continue;
        add(out, "BEGIN_MFD %s\n  TYPE User\n  MODE %s\n", displayName(d).c_str(), D.modeName.c_str());
        for (const std::string &l : h.statusLines(d)) out += l + "\n";
        out += "END_MFD\n\n";
    }
    out += "BEGIN_SHIPS\n";
    for (const auto &vp : w.vessels) {
        const ::Vessel &v = *vp;
        if (!v.alive || !v.cls) continue;
        add(out, "%s:%s\n", v.name.c_str(), v.cls->name.c_str());
        if (v.landed && v.landedOn) {
            add(out, "  STATUS Landed %s\n", v.landedOn->name.c_str());
            int pad = 0;
            if (const Base *b = padUnder(v, pad)) add(out, "  BASE %s:%d\n", b->name.c_str(), pad);
            add(out, "  POS %.10f %.10f\n  HEADING %.8f\n", v.landLng * DEG, v.landLat * DEG, v.landHdg * DEG);
        } else {
            const Body *ref = v.gravityRef;
            VECTOR3 rp = ref ? ref->pos : _V(0, 0, 0), rv = ref ? ref->vel : _V(0, 0, 0);
            VECTOR3 p = v.pos - rp, u = v.vel - rv, e = matrixToEuler(v.R) * DEG, o = v.omega * DEG;
            add(out, "  STATUS Orbiting %s\n", ref ? ref->name.c_str() : "Sun");
            add(out, "  RPOS %.6f %.6f %.6f\n  RVEL %.9f %.9f %.9f\n", p.x, p.y, p.z, u.x, u.y, u.z);
            add(out, "  AROT %.12f %.12f %.12f\n  VROT %.12f %.12f %.12f\n", e.x, e.y, e.z, o.x, o.y, o.z);
        }
        if (!v.tankMass.empty()) {
            out += "  PRPLEVEL";
            for (size_t i = 0; i < v.tankMass.size(); ++i) {
                double max = i < v.cls->tankMax.size() ? v.cls->tankMax[i] : 0;
                add(out, " %zu:%.12f", i, max > 0 ? v.tankMass[i] / max : 0.0);
            }
            out += "\n";
        }
        std::string th;
        for (size_t i = 0; i < v.thrusters.size(); ++i)
            if (v.thrusters[i].level > 0) add(th, " %zu:%.12f", i, v.thrusters[i].level);
        if (!th.empty()) out += "  THLEVEL" + th + "\n";
        if (!v.navChannel.empty()) {
            out += "  NAVFREQ";
            for (DWORD ch : v.navChannel) add(out, " %u", (unsigned)ch);
            out += "\n";
        }
        std::string dk;
        for (size_t i = 0; i < v.ports.size(); ++i)
            if (v.ports[i].docked && v.ports[i].docked->alive)
                add(dk, " %zu:%d,%s", i, v.ports[i].otherPort, v.ports[i].docked->name.c_str());
        if (!dk.empty()) out += "  DOCKINFO" + dk + "\n";
        if (v.cls->hasTransponder) add(out, "  XPDR %u\n", (unsigned)v.transponder.channel);
        out += "END\n";
    }
    out += "END_SHIPS\n";
    return out;
}

std::string unwritableNames(const World &w) {
    for (const auto &vp : w.vessels) {
        if (!vp->alive || !vp->cls || writableName(vp->name)) continue;
        const std::string &n = vp->name;
        return "vessel \"" + n.substr(0, 40) + (n.size() > 40 ? "..." : "") + "\" (" + std::to_string(n.size()) +
               " characters) cannot be saved: a scenario holds names of 1 to " + std::to_string(kScnMaxName) +
               " characters without blanks or colons";
    }
    return "";
}

bool saveScenario(Host &h, const std::string &systemName, const std::string &path, std::string &err) {
    const std::string unwritable = unwritableNames(h.world());
    if (!unwritable.empty()) {
        err = path + ": " + unwritable;
        return false;
    }
    std::ofstream f(path);
    if (!f) {
        err = path + ": cannot write the scenario";
        return false;
    }
    f << writeScenario(h, systemName);
    if (!f) {
        err = path + ": write failed";
        return false;
    }
    return true;
}

}  // namespace sim

// ---------------------------------------------------------------------------
// Scenario blocks as modes see them

static sim::BlockWriter *writerOf(FILEHANDLE scn) {
    sim::BlockWriter *w = static_cast<sim::BlockWriter *>(scn);
    return w && w->magic == sim::BlockWriter::kMagic ? w : nullptr;
}

static void writeLine(FILEHANDLE scn, const char *item, const char *value) {
    sim::BlockWriter *w = writerOf(scn);
    if (!w || !item) return;
    std::string l = "  ";
    l += item;
    if (value) {
        l += ' ';
        l += value;
    }
    w->lines.push_back(l);
}

void oapiWriteScenario_string(FILEHANDLE scn, char *item, char *string) { writeLine(scn, item, string); }

void oapiWriteScenario_int(FILEHANDLE scn, char *item, int i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d", i);
    writeLine(scn, item, buf);
}

void oapiWriteScenario_float(FILEHANDLE scn, char *item, double d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%0.10g", d);
    writeLine(scn, item, buf);
}

void oapiWriteScenario_vec(FILEHANDLE scn, char *item, const VECTOR3 &vec) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%0.10g %0.10g %0.10g", vec.x, vec.y, vec.z);
    writeLine(scn, item, buf);
}

bool oapiReadScenario_nextline(FILEHANDLE scn, char *&line) {
    sim::BlockReader *r = static_cast<sim::BlockReader *>(scn);
    if (!r || r->magic != sim::BlockReader::kMagic || !r->lines || r->next >= r->lines->size()) return false;
    const std::string &l = (*r->lines)[r->next++];
    size_t start = l.find_first_not_of(" \t");
    std::string t = start == std::string::npos ? std::string() : l.substr(start);
    r->buf.assign(t.begin(), t.end());
    r->buf.push_back('\0');
    line = r->buf.data();
    return true;
}
