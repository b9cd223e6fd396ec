// Dispersed starts and the results table.
#include "campaign/dispersion.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace campaign {

namespace {

const double kPi = 3.14159265358979323846;

// splitmix64: a small generator whose stream depends only on the seed.
struct Rng {
    unsigned long long s;
    double next() {
        unsigned long long z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return (z >> 11) * (1.0 / 9007199254740992.0);
    }
    double in(double lo, double hi) { return lo + (hi - lo) * next(); }
};

}  // namespace

const std::vector<LanderClass> &landerClasses() {
    static const std::vector<LanderClass> classes = {
        {"LunarLander", "Moon", "Brighton Beach", 0, 10e3, 100e3},
        // Mars's air still brakes an orbit noticeably at 100 km (a scale height of
        // 11 km): its landers start above 120 km.
        {"MarsLander", "Mars", "Jezero", 0, 120e3, 200e3},
    };
    return classes;
}

Start DrawStart(unsigned seed, int index, int classCount) {
    Rng rng{(static_cast<unsigned long long>(seed) << 32) ^ static_cast<unsigned long long>(index) * 7919ull};
    Start s;
    std::memset(&s, 0, sizeof s);
    s.index = index;
    s.lander = classCount > 0 ? index % classCount : 0;
    s.pad = 1 + static_cast<int>(rng.in(0.0, 4.0)) % 4;
    const LanderClass &lc = landerClasses()[static_cast<size_t>(s.lander) % landerClasses().size()];
    s.periapsisAlt = rng.in(lc.periapsisMin, lc.periapsisMax);
    s.ecc = rng.in(0.0, 0.03);
    s.anomalyAtPass = rng.in(0.0, 2.0 * kPi);
    s.heading = rng.in(0.0, 2.0 * kPi);
    // A fraction of the orbit period; the flight turns it into seconds.
    s.timeToPass = rng.in(0.03, 1.1);
    // A fraction of the limit, with its side; the flight turns it into metres.
    s.crossRange = rng.in(-1.0, 1.0);
    s.fuel = rng.in(0.75, 1.0);
    s.warp = std::pow(10.0, rng.in(0.0, 3.0));
    s.fps = rng.in(20.0, 60.0);
    return s;
}

Start DrawTakeoverStart(unsigned seed, int index, int classCount) {
    Rng rng{(static_cast<unsigned long long>(seed) << 32) ^ static_cast<unsigned long long>(index) * 104729ull};
    Start s;
    std::memset(&s, 0, sizeof s);
    s.index = index;
    const int kinds = START_KINDS - 1;
    s.kind = 1 + index % kinds;
    s.lander = classCount > 0 ? (index / kinds) % classCount : 0;
    s.pad = 1 + static_cast<int>(rng.in(0.0, 4.0)) % 4;
    s.bearing = rng.in(0.0, 2.0 * kPi);
    switch (s.kind) {
    case START_HOVER:
    case START_STOP_RESUME:
        s.dist = rng.in(0.0, 800.0);
        s.height = rng.in(30.0, 300.0);
        s.stopAfter = rng.in(3.0, 30.0);
        break;
    case START_LOW_SLOW:
        s.dist = rng.in(5e3, 25e3);
        s.height = rng.in(1e3, 3e3);
        s.toward = rng.in(50.0, 150.0);
        s.climb = rng.in(-20.0, 0.0);
        break;
    case START_ARC:
        s.dist = rng.in(20e3, 50e3);
        s.height = rng.in(2e3, 5e3);
        s.toward = rng.in(200.0, 400.0);
        s.climb = rng.in(0.0, 40.0);
        break;
    default:  // START_HOP
        s.dist = rng.in(300.0, 3000.0);
        break;
    }
    s.fuel = rng.in(0.2, 1.0);
    // 1-100: at 1000x a frame lasts up to 50 s, longer than a low start has before
    // the ground, and the limits act only at the end of the first frame.
    s.warp = std::pow(10.0, rng.in(0.0, 2.0));
    s.fps = rng.in(20.0, 60.0);
    return s;
}

const char *StartKindName(int kind) {
    static const char *const names[START_KINDS] = {"orbit", "hover", "low-slow", "arc", "hop", "stop-resume"};
    return kind >= 0 && kind < START_KINDS ? names[kind] : "?";
}

bool Succeeded(const Result &r) {
    return r.outcome == OUT_LANDED && r.vs >= -1.0 && std::fabs(r.missAlong) < r.boxAlong &&
           std::fabs(r.missCross) < r.boxCross;
}

std::string ResultHeader() {
    return "index,lander,start,pad,periapsis_km,ecc,time_to_pass_s,cross_km,cross_limit_km,fuel,warp,fps,"
           "outcome,miss_along_m,miss_cross_m,vs,hs,dv_used,dv_ideal,fuel_used_kg,flight_s,box_along,box_cross,"
           "fuel_kg,fuel_predicted_kg,fuel_at_hold_kg,fuel_from_brake_kg,pass_miss_km,pass_stop_km,brake_decel,reason";
}

std::string ResultLine(const Result &r) {
    const Start &s = r.start;
    static const char *const names[] = {"landed", "hard", "refused", "lost", "aborted"};
    char buf[640];
    std::snprintf(buf, sizeof buf,
                  "%d,%d,%d,%d,%.3f,%.5f,%.1f,%.3f,%.3f,%.3f,%.2f,%.1f,%s,%.3f,%.3f,%.3f,%.3f,%.1f,%.1f,%.1f,%.1f,%.1f,"
                  "%.1f,%.1f,%.1f,%.1f,%.1f,%.3f,%.3f,%.4f,%.200s",
                  s.index, s.lander, s.kind, s.pad, s.periapsisAlt / 1000.0, s.ecc, s.timeToPass, s.crossRange / 1000.0,
                  s.crossLimit / 1000.0, s.fuel, s.warp, s.fps, names[r.outcome], r.missAlong, r.missCross, r.vs,
                  r.hs, r.dvUsed, r.dvIdeal, r.fuelUsed, r.flightTime, r.boxAlong, r.boxCross, r.fuelOnBoard,
                  r.fuelPredicted, r.fuelAtHold, r.fuelFromBrake, r.passMiss / 1000.0, r.passStop / 1000.0, r.brakeDecel, r.reason.c_str());
    return buf;
}

bool ParseResultLine(const std::string &line, Result *r) {
    char outcome[16] = {0};
    int used = 0;
    Start &s = r->start;
    std::memset(&s, 0, sizeof s);
    const int n = std::sscanf(line.c_str(),
                              "%d,%d,%d,%d,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%15[a-z],%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,"
                              "%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%n",
                              &s.index, &s.lander, &s.kind, &s.pad, &s.periapsisAlt, &s.ecc, &s.timeToPass, &s.crossRange,
                              &s.crossLimit, &s.fuel, &s.warp, &s.fps, outcome, &r->missAlong, &r->missCross, &r->vs,
                              &r->hs, &r->dvUsed, &r->dvIdeal, &r->fuelUsed, &r->flightTime, &r->boxAlong,
                              &r->boxCross, &r->fuelOnBoard, &r->fuelPredicted, &r->fuelAtHold, &r->fuelFromBrake, &r->passMiss, &r->passStop,
                              &r->brakeDecel, &used);
    if (n != 30) return false;
    r->passMiss *= 1000.0;
    r->passStop *= 1000.0;
    s.periapsisAlt *= 1000.0;
    s.crossRange *= 1000.0;
    s.crossLimit *= 1000.0;
    static const char *const names[] = {"landed", "hard", "refused", "lost", "aborted"};
    r->outcome = OUT_ABORTED;
    for (int i = 0; i < 5; ++i)
        if (std::strcmp(outcome, names[i]) == 0) r->outcome = static_cast<Outcome>(i);
    r->reason = line.substr(static_cast<size_t>(used));
    while (!r->reason.empty() && (r->reason.back() == '\n' || r->reason.back() == '\r')) r->reason.pop_back();
    return true;
}

}  // namespace campaign
