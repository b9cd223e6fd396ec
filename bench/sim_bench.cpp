// The simulator's cost: ten vessels in low Earth orbit (the Moon and the Sun
// present, three vessels with thrusters firing) flown for one simulated hour at
// time acceleration 1, in frames of the nominal 0.05 s.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "world.h"

namespace {

void buildFleet(sim::World &w) {
    std::string err;
    if (!sim::loadSystem(w, std::string(TESSARC_SOURCE_DIR) + "/config/Sol.cfg", err) ||
        !sim::loadClassDir(w, std::string(TESSARC_SOURCE_DIR) + "/config/Vessels", err)) {
        fprintf(stderr, "%s\n", err.c_str());
        return;
    }
    sim::Body *earth = w.findBody("Earth");
    const char *classes[] = {"DeltaGlider", "ShuttlePB", "ProjectAlpha_ISS", "LunarLander", "Probe"};
    for (int i = 0; i < 10; i++) {
        Vessel *v = sim::addVessel(w, "V" + std::to_string(i), w.findClass(classes[i % 5]));
        double r = earth->radius + 300e3 + 20e3 * i, vc = std::sqrt(earth->mu() / r), a = 0.3 * i;
        sim::setOrbitState(*v, earth, _V(r * std::cos(a), 0, r * std::sin(a)),
                           _V(-vc * std::sin(a) * 0.9, 0.3 * vc, vc * std::cos(a) * 0.9), _V(0.1 * i, 0, 0),
                           _V(0.001, 0.002, 0.0));
        if (i < 3) {  // firing: a slow roll and a gentle main-engine burn
            v->iface->SetThrusterGroupLevel(THGROUP_ATT_BANKRIGHT, 0.2);
            v->iface->SetThrusterGroupLevel(THGROUP_MAIN, 0.01);
        }
    }
}

void BM_SimOneHourTenVessels(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        sim::World w;
        buildFleet(w);
        state.ResumeTiming();
        for (int f = 0; f < 72000; f++) sim::advance(w, w.frameDt);
        benchmark::DoNotOptimize(w.vessels[0]->pos);
    }
}
BENCHMARK(BM_SimOneHourTenVessels)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
