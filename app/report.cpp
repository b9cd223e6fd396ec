// The JSON report and the telemetry table.
#include "report.h"

#include <cmath>
#include <cstdarg>
#include <cstring>
#include <fstream>

#include "sim/sketchpad.h"

namespace app {

namespace {

std::string fmt(const char *f, ...) __attribute__((format(printf, 1, 2)));
std::string fmt(const char *f, ...) {
    char buf[256];
    va_list ap;
    va_start(ap, f);
    std::vsnprintf(buf, sizeof buf, f, ap);
    va_end(ap);
    return buf;
}

std::string num(double v) { return std::isfinite(v) ? fmt("%.12g", v) : "null"; }
std::string vec(const VECTOR3 &v) { return "[" + num(v.x) + ", " + num(v.y) + ", " + num(v.z) + "]"; }

std::string objectName(OBJHANDLE h) {
    if (!h) return "";
    char buf[256] = {0};
    oapiGetObjectName(h, buf, sizeof buf);
    return buf;
}

}  // namespace

std::string jsonString(const std::string &s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c >= 0x7F) out += fmt("\\u%04x", c);
            else out += (char)c;
        }
    }
    return out + "\"";
}

VesselSample sampleVessel(::Vessel *v) {
    VesselSample s;
    VESSEL *vi = v ? oapiGetVesselInterface(v) : nullptr;
    if (!vi) return s;
    s.name = v->name;
    s.className = v->cls ? v->cls->name : "";
    OBJHANDLE ref = vi->GetGravityRef();
    s.body = objectName(ref);
    s.landed = v->landed;
    double lon = 0, lat = 0, rad = 0;
    vi->GetEquPos(lon, lat, rad);
    s.lon = lon * DEG;
    s.lat = lat * DEG;
    s.alt = vi->GetAltitude();
    if (ref) {
        vi->GetRelativePos(ref, s.rpos);
        vi->GetRelativeVel(ref, s.rvel);
    }
    vi->GetGlobalOrientation(s.arot);
    s.arot *= DEG;
    vi->GetAngularVel(s.avel);
    s.avel *= DEG;
    s.mass = vi->GetMass();
    s.propellant = vi->GetTotalPropellantMass();
    for (UINT i = 0; i < vi->DockCount(); ++i) {
        OBJHANDLE other = vi->GetDockStatus(vi->GetDockHandle(i));
        if (other) s.docked.emplace_back((int)i, objectName(other));
    }
    s.touchedDown = v->touchedDown;
    s.touchdownVs = v->touchdownVs;
    s.touchdownHs = v->touchdownHs;
    return s;
}

std::string reportJson(sim::Host &h, const RunInfo &info) {
    sim::World &w = h.world();
    std::string o = "{\n";
    o += "  \"scenario\": " + jsonString(info.scenario) + ",\n";
    o += "  \"module\": " + jsonString(info.module) + ",\n";
    o += "  \"moduleDate\": " + jsonString(info.moduleDate) + ",\n";
    o += std::string("  \"moduleLibraryInitialised\": ") + (info.moduleLibraryInitialised ? "true" : "false") + ",\n";
    o += "  \"host\": " + std::to_string(info.hostGeneration) + ",\n";
    o += "  \"simt\": " + num(w.simt) + ",\n";
    o += "  \"mjd\": " + num(w.mjd()) + ",\n";
    o += "  \"timeAcceleration\": " + num(w.warp) + ",\n";
    o += "  \"frameRate\": " + num(w.frameDt > 0 ? 1.0 / w.frameDt : 0.0) + ",\n";
    o += "  \"debugLine\": " + jsonString(std::string(w.debugLine, strnlen(w.debugLine, sizeof w.debugLine))) + ",\n";
    o += "  \"focus\": " + jsonString(w.focus ? w.focus->name : "") + ",\n";
    o += "  \"vessels\": [";
    bool first = true;
    for (const auto &vp : w.vessels) {
        if (!vp->alive) continue;
        VesselSample s = sampleVessel(vp.get());
        o += first ? "\n" : ",\n";
        first = false;
        o += "    {\"name\": " + jsonString(s.name) + ", \"class\": " + jsonString(s.className) +
             ", \"gravityBody\": " + jsonString(s.body) + ", \"landed\": " + (s.landed ? "true" : "false") + ",\n";
        o += "     \"lon\": " + num(s.lon) + ", \"lat\": " + num(s.lat) + ", \"alt\": " + num(s.alt) + ",\n";
        o += "     \"rpos\": " + vec(s.rpos) + ", \"rvel\": " + vec(s.rvel) + ",\n";
        o += "     \"orientation\": " + vec(s.arot) + ", \"angularVelocity\": " + vec(s.avel) + ",\n";
        o += "     \"mass\": " + num(s.mass) + ", \"propellant\": " + num(s.propellant) + ",\n";
        o += "     \"docked\": [";
        for (size_t i = 0; i < s.docked.size(); ++i)
            o += (i ? ", " : "") + std::string("{\"port\": ") + std::to_string(s.docked[i].first) +
                 ", \"vessel\": " + jsonString(s.docked[i].second) + "}";
        o += "]";
        if (s.landed && s.touchedDown)
            o += ",\n     \"touchdownVerticalSpeed\": " + num(s.touchdownVs) +
                 ", \"touchdownHorizontalSpeed\": " + num(s.touchdownHs);
        o += "}";
    }
    o += "\n  ],\n  \"mfds\": [";
    first = true;
    for (int d = 0; d < MAXMFD; ++d) {
        const sim::Display &D = h.display(d);
        if (!D.open) continue;
        o += first ? "\n" : ",\n";
        first = false;
        o += "    {\"display\": " + std::to_string(d) + ", \"name\": " + jsonString(sim::displayName(d)) +
             ", \"mode\": " + jsonString(D.modeName) + ", \"vessel\": " + jsonString(D.vessel ? D.vessel->name : "") +
             ", \"frames\": " + std::to_string(D.frames) + ",\n     \"labels\": [";
        for (int b = 0; b < 12; ++b) o += (b ? ", " : "") + jsonString(D.labels[b]);
        o += "],\n     \"screen\": [";
        sim::TextScreen scr = sim::textScreen(D.lastFrame);
        int last = -1;
        for (int r = 0; r < scr.rows; ++r)
            if (scr.lines[r].find_first_not_of(' ') != std::string::npos) last = r;
        for (int r = 0; r <= last; ++r) o += std::string(r ? ",\n       " : "\n       ") + jsonString(scr.lines[r]);
        o += "]}";
    }
    o += "\n  ],\n  \"collisions\": [";
    for (size_t i = 0; i < w.collisions.size(); ++i) {
        const sim::Collision &c = w.collisions[i];
        o += std::string(i ? ",\n    " : "\n    ") + "{\"simt\": " + num(c.simt) + ", \"vessels\": [" + jsonString(c.a) +
             ", " + jsonString(c.b) + "], \"closingSpeed\": " + num(c.closingSpeed) + ", \"whereA\": " + vec(c.whereA) +
             ", \"whereB\": " + vec(c.whereB) + "}";
    }
    o += std::string(w.collisions.empty() ? "" : "\n  ") + "],\n  \"hostErrors\": [";
    for (size_t i = 0; i < h.errors().size(); ++i) o += (i ? ", " : "") + jsonString(h.errors()[i]);
    o += "],\n  \"warnings\": [";
    for (size_t i = 0; i < info.warnings.size(); ++i) o += (i ? ", " : "") + jsonString(info.warnings[i]);
    o += "],\n  \"log\": [";
    const std::vector<std::string> &log = sim::hostLog();
    for (size_t i = 0; i < log.size(); ++i) o += (i ? ", " : "") + jsonString(log[i]);
    o += "]\n}\n";
    return o;
}

bool writeReport(sim::Host &h, const RunInfo &info, const std::string &path, std::string &err) {
    std::ofstream f(path);
    if (f) f << reportJson(h, info);
    if (!f) {
        err = path + ": cannot write the report";
        return false;
    }
    return true;
}

bool Telemetry::open(const std::string &path, std::string &err) {
    f = std::fopen(path.c_str(), "w");
    if (!f) {
        err = path + ": cannot write the telemetry";
        return false;
    }
    std::fputs("simt,mjd,vessel,class,body,landed,lon_deg,lat_deg,alt_m,rpos_x,rpos_y,rpos_z,rvel_x,rvel_y,rvel_z,"
               "arot_a_deg,arot_b_deg,arot_g_deg,avel_x_dps,avel_y_dps,avel_z_dps,mass_kg,propellant_kg\n",
               f);
    return true;
}

// Vessel and class names go into the table quoted, with quotes doubled.
static std::string csvText(const std::string &s) {
    std::string o = "\"";
    for (char c : s) o += c == '"' ? std::string("\"\"") : std::string(1, c);
    return o + "\"";
}

void Telemetry::sample(sim::World &w) {
    if (!f) return;
    for (const auto &vp : w.vessels) {
        if (!vp->alive) continue;
        VesselSample s = sampleVessel(vp.get());
        std::fprintf(f, "%.3f,%.8f,%s,%s,%s,%d,%.8f,%.8f,%.3f,%.3f,%.3f,%.3f,%.5f,%.5f,%.5f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.3f,%.3f\n",
                     w.simt, w.mjd(), csvText(s.name).c_str(), csvText(s.className).c_str(), csvText(s.body).c_str(),
                     s.landed ? 1 : 0, s.lon, s.lat, s.alt, s.rpos.x, s.rpos.y, s.rpos.z, s.rvel.x, s.rvel.y, s.rvel.z,
                     s.arot.x, s.arot.y, s.arot.z, s.avel.x, s.avel.y, s.avel.z, s.mass, s.propellant);
    }
}

void Telemetry::close() {
    if (f) std::fclose(f);
    f = nullptr;
}

}  // namespace app
