// Cost of one landing step in flight over Mars with the efficient descent: a
// Mars landing is flown to the given number of seconds after its braking began,
// and the step at that state is timed (the state put back after each call).
// Through the air the braking may plan afresh from where the vessel is every
// step; this is the step's cost while it does. The bundled landing (its pass
// too near and too high for the law) flies the standard braking and coasts it
// (argument 0: the first step of a coast, the engines cut and a fresh plan made
// every step); bench/mars_law.scn, its pass further ahead, is trimmed down and
// flies the law through the air, planned afresh while it asks little.
// Budget 50 us.
#include <benchmark/benchmark.h>

#include "frame/state.h"
#include "landing/autopilot.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

// s of flight allowed before the braking must have reached the sampled time.
const double kLongestFlight = 6000.0;

void StepOverAir(benchmark::State &state, const char *scenario) {
    const double sinceBrake = static_cast<double>(state.range(0));
    flight::Flight f;
    if (!f.load(scenario)) {
        state.SkipWithError(f.error().c_str());
        return;
    }
    flight::useLinkedPlugin(f);
    if (!(f.open(0) && f.key(0, "5") && f.key(0, "B") && f.type(0, "Jezero") && f.key(0, "P") && f.type(0, "1"))) {
        state.SkipWithError("no Landing page on Jezero");
        return;
    }
    MfdState *S = static_cast<TessarcMFD *>(f.mfd(0))->state;
    S->landingDescent = DESCENT_EFFICIENT;
    f.run(1);
    f.key(0, "H");
    f.setWarp(100);
    double brakeAt = -1.0;
    while (f.simt() < kLongestFlight && S->holdOn && S->landingPhase != LANDING_LANDED) {
        f.run(S->landingPhase == LANDING_WAIT ? 10.0 : 0.5);
        if (brakeAt < 0.0 && S->landingPhase != LANDING_WAIT) brakeAt = f.simt();
        const bool coasting = (S->landingFlags & kLandCoasting) != 0;
        if (brakeAt >= 0.0 && (sinceBrake > 0.0 ? f.simt() - brakeAt >= sinceBrake : coasting)) break;
    }
    const bool reached = sinceBrake > 0.0 ? f.simt() - brakeAt >= sinceBrake : (S->landingFlags & kLandCoasting) != 0;
    if (brakeAt < 0.0 || !reached || !S->holdOn) {
        state.SkipWithError("the flight did not reach that time of its braking");
        return;
    }
    state.SetLabel(S->landingPhase != LANDING_BRAKE            ? "past the braking"
                   : (S->landingFlags & kLandCoasting) != 0   ? "braking, coasting"
                   : (S->landingFlags & kLandLawBraking) != 0 ? "braking, the law"
                                                               : "braking");
    const MfdState before = *S;
    for (auto _ : state) {
        LandingStep(S, 0.1);
        benchmark::DoNotOptimize(S->landingWork[0]);
        state.PauseTiming();
        *S = before;
        state.ResumeTiming();
    }
}

void BM_LandingStepBrakingOverAir(benchmark::State &state) { StepOverAir(state, "scenarios/mars_landing.scn"); }
void BM_LandingStepLawOverAir(benchmark::State &state) { StepOverAir(state, "bench/mars_law.scn"); }

BENCHMARK(BM_LandingStepBrakingOverAir)
    ->ArgName("s_after_brake")
    ->Arg(0)
    ->Arg(30)
    ->Arg(150)
    ->Arg(300)
    ->Arg(450)
    ->Arg(600)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LandingStepLawOverAir)
    ->ArgName("s_after_brake")
    ->Arg(30)
    ->Arg(150)
    ->Arg(300)
    ->Arg(450)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
