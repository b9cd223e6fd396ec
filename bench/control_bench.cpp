// Cost of the scheduler's autopilot work: every vessel's profile refresh and the
// steps of all its MFD positions, all holding attitude in Velocity mode.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "control/modes.h"
#include "control/thrusters.h"
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "sim/scenario.h"
#include "sim/world.h"

namespace {

// A world of `vessels` ShuttlePBs in low orbit, each registered with `positions`
// MFD positions holding attitude in Velocity mode.
struct Fleet {
    sim::World world;
    std::vector<int> slots;

    Fleet(int vessels, int positions) {
        std::string ships;
        for (int i = 0; i < vessels; ++i) {
            char buf[256];
            std::snprintf(buf, sizeof(buf),
                          "V%02d:ShuttlePB\n  STATUS Orbiting Earth\n  RPOS 6671000 %d 0\n  RVEL 0 0 7730\n"
                          "  AROT 0 %d 90\nEND\n",
                          i, 100 * i, i);
            ships += buf;
        }
        const std::string text = "BEGIN_ENVIRONMENT\n  System Sol\nEND_ENVIRONMENT\nBEGIN_FOCUS\n  Ship V00\n"
                                 "END_FOCUS\nBEGIN_SHIPS\n" + ships + "END_SHIPS\n";
        sim::Scenario scn;
        std::string err;
        if (!sim::parseScenario(text, "bench.scn", scn, err) || !sim::buildWorld(scn, world, err)) {
            std::fprintf(stderr, "bench world: %s\n", err.c_str());
            return;
        }
        world.syst = 10.0;  // past the host's start-up second
        sim::setWorld(&world);
        ResetModule();
        for (int i = 0; i < vessels; ++i) {
            char name[8];
            std::snprintf(name, sizeof(name), "V%02d", i);
            const int slot = LookupVesselSlot(oapiGetObjectByName(name));
            slots.push_back(slot);
            for (int p = 0; p < positions; ++p) {
                MfdState *S = StateAtPosition(RecordForSlot(slot), slot, p);
                S->rollMode = 0;
                S->holdOn = true;
            }
        }
    }
    ~Fleet() {
        ResetModule();
        sim::setWorld(nullptr);
    }
    void Pass(double simt) {
        for (int slot : slots) UpdateVessel(RecordForSlot(slot), simt, 0.1, slot);
    }
};

void RunPasses(benchmark::State &state, int vessels, int positions) {
    Fleet fleet(vessels, positions);
    if (fleet.slots.size() != static_cast<size_t>(vessels)) {
        state.SkipWithError("world not built");
        return;
    }
    double simt = 1.0;
    for (auto _ : state) {
        simt += 0.1;
        fleet.Pass(simt);
    }
    state.counters["steps"] = vessels * positions;
}

// 32 vessels x 32 positions: the whole registry at once (budget 3 ms).
void BM_SchedulerPassFull(benchmark::State &state) { RunPasses(state, 32, 32); }
// 4 vessels x 2 positions: a typical session (budget 30 us).
void BM_SchedulerPassTypical(benchmark::State &state) { RunPasses(state, 4, 2); }

BENCHMARK(BM_SchedulerPassFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SchedulerPassTypical)->Unit(benchmark::kMicrosecond);

}  // namespace
