// Drawing cost of each page kind into the host's recording surface.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "display/pages.h"
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "mfd/frame_draw.h"
#include "sim/sketchpad.h"
#include "sim/world.h"
#include "support/earth.h"
#include "support/probe_class.h"

extern "C" char *ModuleDate();

namespace {

// The Earth, a probe class with a tank and a port, and two registered vessels.
struct BenchWorld {
    sim::World w;
    sim::Body *earth = nullptr;
    MfdState *ship = nullptr;

    BenchWorld() {
        sim::setWorld(&w);
        earth = support::AddEarth(w);
        const sim::VesselClass *cls = support::AddProbeClass(w);
        ResetModule();
        const double r = 6.671e6, v = std::sqrt(earth->mu() / r);
        for (const char *name : {"Ship", "Station"}) {
            ::Vessel *vessel = sim::addVessel(w, name, cls);
            sim::setOrbitState(*vessel, earth, _V(r, 0, name[1] == 't' ? 30.0 : 0.0), _V(0, 0, v), _V(0, 0, 0),
                               _V(0, 0, 0));
            if (!w.focus) w.focus = vessel;
            LookupVesselSlot(vessel);
        }
        int slot = FindVesselSlot(w.findVessel("Ship"));
        ship = StateAtPosition(RecordForSlot(slot), slot, 0);
        ship->warmUp = false;
        ship->modePage = false;
        ship->holdOn = true;
        ship->rotCmd = _V(0.4, -0.3, 0.5);
        ship->linCmd = _V(0.2, 0.1, -0.6);
        ship->angles = _V(0.1, -0.05, 0.2);
        ship->targetRef = w.findVessel("Station");
        std::snprintf(ship->targetRefName, sizeof ship->targetRefName, "Station");
        ship->targetPort = 1;
        summaryCount = 2;
    }
    ~BenchWorld() {
        ResetModule();
        sim::setWorld(nullptr);
    }
};

void DrawMode(benchmark::State &st, int refMode) {
    BenchWorld bw;
    bw.ship->refMode = refMode;
    sim::RecordingSketchpad pad(256, 256);
    int32_t line = 1, slot = -1;
    for (auto _ : st) {
        DrawMfdFrame(&pad, 256, 256, bw.ship, false, 0, &line, &slot);
        benchmark::DoNotOptimize(pad.takeDrawing());
    }
}

void BM_VelocityPage(benchmark::State &st) { DrawMode(st, AP_VELOCITY); }
void BM_RelativePage(benchmark::State &st) { DrawMode(st, AP_RELATIVE); }
void BM_AttitudePage(benchmark::State &st) { DrawMode(st, AP_ATTITUDE); }
void BM_DockingPage(benchmark::State &st) { DrawMode(st, AP_DOCKING); }
void BM_DirectBurnPage(benchmark::State &st) { DrawMode(st, AP_DIRECT_BURN); }
void BM_AscentPage(benchmark::State &st) { DrawMode(st, AP_ASCENT); }

// The Landing page while braking along a planned descent, with its full graph.
void BM_LandingPage(benchmark::State &st) {
    BenchWorld bw;
    MfdState *S = bw.ship;
    S->refMode = AP_LANDING;
    S->targetRef = S->bodyRef;
    std::snprintf(S->targetRefName, sizeof S->targetRefName, "%s", S->bodyRefName);
    const double consts[6] = {-32.0, 50.0, -40000.0, 1600.0, 15000.0, -450.0};
    for (int i = 0; i < 6; ++i) {
        S->landingConsts[i] = consts[i];
        S->landingCoefs[i] = i == 3 ? 0.06 : 0.0;
    }
    S->landingWork[12] = 0.0;
    S->landingWork[13] = 1.0;
    S->landingWork[15] = -40000.0;
    S->landingWork[0] = -14400.0;
    S->landingWork[2] = 6480.0;
    S->landingPhase = 1;
    S->landingFlags = 0;
    S->graphStyle = 3;
    S->brakeStartMjd = oapiGetSimMJD() - 20.0 / 86400.0;
    sim::RecordingSketchpad pad(256, 256);
    int32_t line = 1, slot = -1;
    DrawMfdFrame(&pad, 256, 256, S, false, 0, &line, &slot);
    int points = 0;  // the curve is really drawn: reported beside the time
    for (const sim::DrawCall &c : pad.takeDrawing().calls) points += c.kind == sim::DrawKind::Pixel;
    st.counters["curve_points"] = points;
    for (auto _ : st) {
        DrawMfdFrame(&pad, 256, 256, S, false, 0, &line, &slot);
        benchmark::DoNotOptimize(pad.takeDrawing());
    }
}

void BM_WelcomePage(benchmark::State &st) {
    BenchWorld bw;
    bw.ship->modePage = true;
    sim::RecordingSketchpad pad(256, 256);
    benchmark::DoNotOptimize(ModuleDate());
    int32_t line = 1, slot = -1;
    for (auto _ : st) {
        DrawMfdFrame(&pad, 256, 256, bw.ship, false, 0, &line, &slot);
        benchmark::DoNotOptimize(pad.takeDrawing());
    }
}

void BM_SummaryPage(benchmark::State &st) {
    BenchWorld bw;
    sim::RecordingSketchpad pad(256, 256);
    int32_t line = 1, slot = -1;
    for (auto _ : st) {
        DrawMfdFrame(&pad, 256, 256, bw.ship, true, 0, &line, &slot);
        benchmark::DoNotOptimize(pad.takeDrawing());
    }
}

}  // namespace

BENCHMARK(BM_VelocityPage);
BENCHMARK(BM_RelativePage);
BENCHMARK(BM_AttitudePage);
BENCHMARK(BM_DockingPage);
BENCHMARK(BM_DirectBurnPage);
BENCHMARK(BM_AscentPage);
BENCHMARK(BM_LandingPage);
BENCHMARK(BM_WelcomePage);
BENCHMARK(BM_SummaryPage);
