// Attitude hold under time acceleration, measured: every bundled vessel class in
// Velocity, Relative and Attitude HOLD (roll held), at time accelerations 1, 2,
// 10, 50, 100 and 1000 (where the laws coast) and at 20 and 60 frames a second.
//
// Each flight starts in a 300 km Earth orbit lined up with the wanted attitude
// and turning with it. Two kinds of flight:
//   hold  HOLD engaged at 1x and settled for two minutes, then the time
//         acceleration set: does the hold stay where it is?
//   turn  the vessel turned `--offset` degrees (default 5) about a slanted axis,
//         the time acceleration set, then HOLD engaged: does it settle, and at
//         what cost?
// Two minutes after the time acceleration is set (`--skip`), it measures over the
// `--minutes` that follow (default 10): the largest error, the largest error over
// the window's last fifth (an oscillation that lasts shows there as much as over
// the whole window), the propellant per simulated minute over the window and
// over the whole flight from HOLD on, and the largest angular rate over the
// window. The errors are measured from the
// simulator's own attitude against frames built from the orbit, not from what
// the plug-in reports.
//
//   tessarc_hold_survey [--kind hold|turn|landing] [--class NAME] [--mode velocity|relative|attitude]
//                       [--warp X]... [--fps N]... [--offset DEG] [--skip S] [--minutes M]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "control/attitude.h"
#include "control/math.h"
#include "control/modes.h"
#include "control/holds.h"
#include "control/thrusters.h"
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "landing/autopilot.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

const double kOrbitRadius = 6.371e6 + 300e3;  // m
const double kEarthMu = 3.986004418e14;       // m^3/s^2
const double kSettleAt1x = 120.0;             // s of HOLD at 1x before the time acceleration (hold)

struct Options {
    std::vector<std::string> classes{"ShuttlePB", "DeltaGlider", "LunarLander", "UCGO\\Vessels\\UCGOArrowFreighter",
                                     "ProjectAlpha_ISS"};
    std::vector<int> modes{AP_VELOCITY, AP_RELATIVE, AP_ATTITUDE};
    std::vector<double> warps{1, 2, 10, 50, 100, 1000};
    std::vector<double> fps{20, 60};
    bool turn = false;
    bool landing = false;
    double offsetDeg = 5;
    double skip = 120;  // s after the time acceleration is set before measuring
    double minutes = 10;
    bool trace = false;  // every frame of the window on standard error
};

struct Result {
    bool ok = false;
    double maxDeg = 0;    // largest error over the window
    double lastDeg = 0;   // largest error over its last fifth
    double kgPerMin = 0;  // propellant per simulated minute over the window
    double kgPerMinAll = 0;  // the same from HOLD on
    double maxRate = 0;   // largest angular rate of the vessel over the window, deg/s
};

std::string ScenarioText(const std::string &cls) {
    const double v = std::sqrt(kEarthMu / kOrbitRadius);
    char buf[1024];
    // AROT (0, 0, 90) lines a ship up with its orbit's velocity frame; the target
    // for Relative mode is a passive probe 1 km ahead in the same orbit.
    std::snprintf(buf, sizeof buf,
                  "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 51544.5\nEND_ENVIRONMENT\n"
                  "BEGIN_FOCUS\n  Ship AP\nEND_FOCUS\nBEGIN_SHIPS\n"
                  "AP:%s\n  STATUS Orbiting Earth\n  RPOS %.3f 0 0\n  RVEL 0 0 %.6f\n  AROT 0 0 90\nEND\n"
                  "TGT:Probe\n  STATUS Orbiting Earth\n  RPOS %.3f 0 1000\n  RVEL 0 0 %.6f\nEND\n"
                  "END_SHIPS\n",
                  cls.c_str(), kOrbitRadius, v, kOrbitRadius, v);
    return buf;
}

MfdState *StateOf(flight::Flight &f) {
    const int slot = FindVesselSlot(f.handle("AP"));
    VesselRecord *rec = slot >= 0 ? RecordForSlot(slot) : nullptr;
    return rec ? rec->states[0] : nullptr;
}

// The wanted frame by mode, from the simulator's own state of the vessels.
MATRIX3 WantedFrame(flight::Flight &f, int mode, const MATRIX3 &fixed, const MATRIX3 &offset) {
    ::Vessel *hv = f.vessel("AP");
    VESSEL *v = f.iface("AP");
    VECTOR3 p, vel;
    v->GetRelativePos(v->GetGravityRef(), p);
    v->GetRelativeVel(v->GetGravityRef(), vel);
    MATRIX3 W = fixed;
    if (mode == AP_VELOCITY) {
        W = EulerToMatrix(AxesToEuler(vel, CrossProduct(p, vel), 0));
    } else if (mode == AP_RELATIVE) {
        const VECTOR3 los = f.vessel("TGT")->pos - hv->pos;
        W = EulerToMatrix(AxesToEuler(los, CrossProduct(p, vel), 0));
    }
    return MatMat(W, offset);
}

double MaxDeg(const VECTOR3 &e) {
    return std::fmax(std::fabs(e.x), std::fmax(std::fabs(e.y), std::fabs(e.z))) / RAD;
}

Result Fly(const std::string &cls, int mode, double warp, double fps, const Options &o) {
    Result r;
    flight::Flight f;
    if (!f.loadText(ScenarioText(cls))) {
        std::fprintf(stderr, "%s\n", f.error().c_str());
        return r;
    }
    f.world.frameDt = 1.0 / fps;
    flight::useLinkedPlugin(f);
    if (!f.open(0, "TessarcMFD", "AP")) return r;
    MfdState *S = StateOf(f);
    ::Vessel *hv = f.vessel("AP");
    if (!S || !hv) return r;
    f.run(1.0);
    // Turn with the wanted frame from the start: the orbital rate for Velocity
    // mode, nearly so for Relative mode, none for Attitude mode.
    const double orbitRate = std::sqrt(kEarthMu / kOrbitRadius) / kOrbitRadius;
    if (mode != AP_ATTITUDE) hv->omega = _V(-orbitRate, 0, 0);
    if (mode != AP_VELOCITY) SelectMode(S, S->refMode, mode);
    if (mode == AP_RELATIVE) {
        S->targetRef = f.handle("TGT");
        std::snprintf(S->targetRefName, sizeof S->targetRefName, "TGT");
    }
    S->rollMode = 0;
    const MATRIX3 fixed = hv->R;
    if (mode == AP_ATTITUDE) CaptureCurrentAttitude(S);
    // The offset: a turn about a slanted axis the hold has to take out.
    const MATRIX3 none = identity();
    const double fuelOn = hv->propellantMass(), tOn = f.simt();
    if (o.turn) {
        hv->R = MatMat(hv->R, rotm(unit(_V(1, -2, 1.5)), o.offsetDeg * RAD));
        f.setWarp(warp);
        ToggleAttitudeHold(S);
    } else {
        ToggleAttitudeHold(S);
        f.run(kSettleAt1x);
        f.setWarp(warp);
    }
    f.run(o.skip);
    const double window = o.minutes * 60.0, t0 = f.simt(), fuel0 = hv->propellantMass();
    while (f.simt() < t0 + window) {
        f.frames(1);
        const double e = MaxDeg(MatrixToEuler(MatMat(MatTranspose(hv->R), WantedFrame(f, mode, fixed, none)), 0));
        r.maxDeg = std::fmax(r.maxDeg, e);
        r.maxRate = std::fmax(r.maxRate, length(hv->omega) / RAD);
        if (o.trace) {
            const VECTOR3 a = MatrixToEuler(MatMat(MatTranspose(hv->R), WantedFrame(f, mode, fixed, none)), 0) / RAD;
            const VECTOR3 w = hv->omega / RAD;
            VECTOR3 er = S->errorRates / RAD;
            if (std::getenv("TRACE_FD")) {
                const VECTOR3 fd = QuatRateToOmega(QuatFromArray(S->frameNow), QuatFromArray(S->frameRates), true);
                const VECTOR3 a1 = MatVec(S->errorMatrix, hv->omega), a2 = MatTVec(S->errorMatrix, hv->omega);
                std::fprintf(stderr, "fd %9.5f %9.5f %9.5f  E.w %9.5f %9.5f %9.5f  Et.w %9.5f %9.5f %9.5f\n",
                             fd.x / RAD, fd.y / RAD, fd.z / RAD, a1.x / RAD, a1.y / RAD, a1.z / RAD, a2.x / RAD,
                             a2.y / RAD, a2.z / RAD);
            }
            std::fprintf(stderr,
                         "%8.1f  err %9.4f %9.4f %9.4f  omega %9.5f %9.5f %9.5f  rate %9.5f %9.5f %9.5f"
                         "  cmd %8.5f %8.5f %8.5f\n",
                         f.simt() - t0, a.x, a.y, a.z, w.x, w.y, w.z, er.x, er.y, er.z, S->rotCmd.x, S->rotCmd.y,
                         S->rotCmd.z);
        }
        if (f.simt() > t0 + 0.8 * window) r.lastDeg = std::fmax(r.lastDeg, e);
    }
    r.kgPerMin = (fuel0 - hv->propellantMass()) / ((f.simt() - t0) / 60.0);
    r.kgPerMinAll = (fuelOn - hv->propellantMass()) / ((f.simt() - tOn) / 60.0);
    r.ok = S->holdOn;
    return r;
}

// The bundled lunar landing while it waits for its brake: Landing mode, Brighton
// Beach pad 1, HOLD, then the time acceleration; the whole wait is measured:
// the largest angular rate after its first minute, and the propellant per minute
// (the main engine is off until the brake).
void FlyLandingWait(double warp, double fps, const Options &o) {
    flight::Flight f;
    if (!f.load("scenarios/lunar_landing.scn")) {
        std::fprintf(stderr, "%s\n", f.error().c_str());
        return;
    }
    f.world.frameDt = 1.0 / fps;
    flight::useLinkedPlugin(f);
    if (!f.open(0) || !f.key(0, "5") || !f.key(0, "B") || !f.type(0, "Brighton Beach") || !f.key(0, "P") ||
        !f.type(0, "1"))
        return;
    TessarcMFD *m = dynamic_cast<TessarcMFD *>(f.mfd(0));
    MfdState *S = m ? m->state : nullptr;
    ::Vessel *hv = f.vessel("Eagle");
    if (!S || !hv) return;
    f.run(1);
    f.key(0, "H");
    f.setWarp(warp);
    const double t0 = f.simt(), fuel0 = hv->propellantMass();
    double maxRate = 0;
    while (S->landingPhase == LANDING_WAIT && S->holdOn && f.simt() < t0 + 6000) {
        f.frames(1);
        const double rate = length(hv->omega) / RAD;
        if (f.simt() > t0 + 60) maxRate = std::fmax(maxRate, rate);
        if (o.trace)
            std::fprintf(stderr, "%8.1f  omega %9.5f %9.5f %9.5f  cmd %8.5f %8.5f %8.5f  err %9.4f %9.4f %9.4f  used %8.4f kg\n",
                         f.simt() - t0, hv->omega.x / RAD, hv->omega.y / RAD, hv->omega.z / RAD, S->rotCmd.x,
                         S->rotCmd.y, S->rotCmd.z, S->attitudeAngles.x / RAD, S->attitudeAngles.y / RAD,
                         S->attitudeAngles.z / RAD, fuel0 - hv->propellantMass());
    }
    const double minutes = (f.simt() - t0) / 60.0;
    std::printf("%-19s %-9s %5g %4g %10.4g %10s %10.4g %10.1f s waited\n", "LunarLander", "landing", warp, fps,
                maxRate, "deg/s", (fuel0 - hv->propellantMass()) / minutes, f.simt() - t0);
}

const char *ModeName(int m) { return m == AP_VELOCITY ? "velocity" : m == AP_RELATIVE ? "relative" : "attitude"; }

bool ParseArgs(int argc, char **argv, Options &o) {
    bool warps = false, fps = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        const char *a = argv[i], *v = argv[i + 1];
        if (!std::strcmp(a, "--kind")) {
            o.turn = !std::strcmp(v, "turn");
            o.landing = !std::strcmp(v, "landing");
        } else if (!std::strcmp(a, "--class")) {
            o.classes = {v};
        } else if (!std::strcmp(a, "--mode")) {
            o.modes = {!std::strcmp(v, "relative") ? AP_RELATIVE : !std::strcmp(v, "attitude") ? AP_ATTITUDE
                                                                                                 : AP_VELOCITY};
        } else if (!std::strcmp(a, "--warp")) {
            if (!warps) o.warps.clear();
            warps = true;
            o.warps.push_back(std::atof(v));
        } else if (!std::strcmp(a, "--fps")) {
            if (!fps) o.fps.clear();
            fps = true;
            o.fps.push_back(std::atof(v));
        } else if (!std::strcmp(a, "--offset")) {
            o.offsetDeg = std::atof(v);
        } else if (!std::strcmp(a, "--trace")) {
            o.trace = !std::strcmp(v, "1");
        } else if (!std::strcmp(a, "--skip")) {
            o.skip = std::atof(v);
        } else if (!std::strcmp(a, "--minutes")) {
            o.minutes = std::atof(v);
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

}  // namespace

int main(int argc, char **argv) {
    Options o;
    if (!ParseArgs(argc, argv, o)) {
        std::fprintf(stderr, "usage: %s [--kind hold|turn|landing] [--class NAME] [--mode velocity|relative|attitude] [--warp X]... "
                             "[--fps N]... [--offset DEG] [--skip S] [--minutes M]\n", argv[0]);
        return 2;
    }
    if (o.landing) {
        std::printf("landing waits\n%-19s %-9s %5s %4s %10s %10s %10s\n", "class", "mode", "warp", "fps", "max rate",
                    "", "kg/min");
        for (double fps : o.fps)
            for (double warp : o.warps) FlyLandingWait(warp, fps, o);
        return 0;
    }
    std::printf("%s flights\n%-19s %-9s %5s %4s %10s %10s %10s %10s %10s\n", o.turn ? "turn" : "hold", "class", "mode",
                "warp", "fps", "max deg", "last deg", "kg/min", "all kg/min", "deg/s");
    for (const std::string &cls : o.classes)
        for (int mode : o.modes)
            for (double fps : o.fps)
                for (double warp : o.warps) {
                    const Result r = Fly(cls, mode, warp, fps, o);
                    const size_t cut = cls.find_last_of('\\');
                    const std::string name = cut == std::string::npos ? cls : cls.substr(cut + 1);
                    std::printf("%-19s %-9s %5g %4g %10.4g %10.4g %10.4g %10.4g %10.4g%s\n", name.c_str(),
                                ModeName(mode), warp, fps, r.maxDeg, r.lastDeg, r.kgPerMin, r.kgPerMinAll, r.maxRate,
                                r.ok ? "" : "  (HOLD off)");
                    std::fflush(stdout);
                }
    return 0;
}
