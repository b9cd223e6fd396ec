// Cost of one landing step while waiting for the brake (phase 0) with a
// full-width passage search, the heaviest step the landing autopilot takes: up
// to 32 orbit predictions for the pass, 32 for the brake point, the 200-sample
// trajectory check; with the efficient descent (argument 1) also its braking
// run, its law's fit and cost and the orbit trim's check. Budget 50 us.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "landing/autopilot.h"
#include "landing/target.h"
#include "mfd/dialogs.h"
#include "mfd/setters.h"
#include "sim/scenario.h"
#include "sim/world.h"

namespace {

void BM_LandingStepFullSearch(benchmark::State &state) {
    sim::World world;
    sim::Scenario scn;
    std::string err;
    const std::string text =
        "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 60000.25\nEND_ENVIRONMENT\nBEGIN_FOCUS\n  Ship Eagle\n"
        "END_FOCUS\nBEGIN_SHIPS\nEagle:LunarLander\n  STATUS Orbiting Moon\n"
        "  ELEMENTS 1758.0 0.0 45.0 83.4912 83.4912 15.8775 EQU\nEND\nEND_SHIPS\n";
    if (!sim::parseScenario(text, "bench.scn", scn, err) || !sim::buildWorld(scn, world, err)) {
        state.SkipWithError(err.c_str());
        return;
    }
    world.syst = 10.0;
    sim::setWorld(&world);
    ResetModule();
    const int slot = LookupVesselSlot(oapiGetObjectByName(const_cast<char *>("Eagle")));
    MfdState *S = StateAtPosition(RecordForSlot(slot), slot, 0);
    S->refMode = AP_LANDING;
    if (!SetLandingBase(S, "Brighton Beach") || !SetPad(S, 1)) {
        state.SkipWithError("no pad");
        ResetModule();
        sim::setWorld(nullptr);
        return;
    }
    S->landingDescent = static_cast<int32_t>(state.range(0));
    S->holdOn = true;
    VESSEL *v = oapiGetVesselInterface(oapiGetObjectByName(const_cast<char *>("Eagle")));
    v->GetRelativePos(S->bodyRef, S->relPos);
    v->GetRelativeVel(S->bodyRef, S->relVel);
    for (auto _ : state) {
        S->landingPhase = LANDING_WAIT;
        S->landingRecalc = true;  // the search spans two orbits
        LandingStep(S, 0.1);
        benchmark::DoNotOptimize(S->landingWork[19]);
    }
    if (S->landingPhase != LANDING_WAIT || !S->holdOn || !(S->passTime > 0.0))
        state.SkipWithError("the step did not plan a pass while waiting");
    ResetModule();
    sim::setWorld(nullptr);
}

BENCHMARK(BM_LandingStepFullSearch)
    ->ArgName("descent")
    ->Arg(DESCENT_SPECIFIED)
    ->Arg(DESCENT_EFFICIENT)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
