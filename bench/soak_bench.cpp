// The long flight: 32 vessels (a station and shuttles in low Earth orbit, landers
// about and on the Moon) with the plug-in on all twelve displays and a pilot
// pressing random keys and typing random text, for 24 simulated hours at time
// acceleration 20. Reports the process's resident memory and the heap in use at
// 1 h and at 24 h. The registry grows while the pilot meets new (vessel, MFD
// position) pairs, up to 32 x 32 states by design; what the heap grew beyond
// those records and states ("unaccounted") must stay near zero: a long flight
// accumulates nothing.
//   tessarc_bench --benchmark_filter=Soak   (a few minutes)
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "app/keynames.h"
#include "control/profile.h"
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "sim/host.h"
#include "sim/scenario.h"
#include "sim/sketchpad.h"
#include "support/linked_plugin.h"

namespace {

const int kShips = 32;
const double kHour = 3600.0;

std::string Fleet() {
    std::string t = "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 60000.25\nEND_ENVIRONMENT\n"
                    "BEGIN_FOCUS\n  Ship S00\nEND_FOCUS\nBEGIN_SHIPS\n"
                    "ISS:ProjectAlpha_ISS\n  STATUS Orbiting Earth\n  ELEMENTS 6771.0 0.0 51.6 40.0 40.0 120.0 EQU\nEND\n";
    char buf[256];
    for (int i = 0; i < kShips - 1; ++i) {
        if (i < 22) {  // shuttles and gliders along the station's orbit and near it
            std::snprintf(buf, sizeof buf,
                          "S%02d:%s\n  STATUS Orbiting Earth\n  ELEMENTS %.1f 0.001 51.6 40.0 40.0 %.4f EQU\n"
                          "  AROT %d 0 0\nEND\n",
                          i, i % 3 ? "ShuttlePB" : "DeltaGlider", 6771.0 + 2.0 * (i % 5), 119.98 - 0.01 * i, 10 * i);
        } else if (i < 28) {
            std::snprintf(buf, sizeof buf,
                          "S%02d:LunarLander\n  STATUS Orbiting Moon\n  ELEMENTS %.1f 0.0 45.0 83.4912 83.4912 %.4f "
                          "EQU\nEND\n",
                          i, 1758.0 + 5.0 * (i - 22), 15.8775 - 3.0 * (i - 22));
        } else {
            std::snprintf(buf, sizeof buf, "S%02d:%s\n  STATUS Landed Moon\n  POS %.6f %.6f\n  HEADING %d\nEND\n", i,
                          i % 2 ? "Outpost" : "LunarLander", -33.4375 + 0.004 * (i - 28), 41.125 + 0.003 * (i - 28),
                          30 * i);
        }
        t += buf;
    }
    return t + "END_SHIPS\n";
}

// What the pilot may press, and type into whatever box opens.
const char *const kKeys[] = {"H", "1", "2", "3", "4", "5", "T", "B", "P", "Y", "R", "L", "D", "X", "I", "A",
                             "S", "End", "PgDn", "PgUp", "Home", "Tab", "Up", "Down", "Delete", "Insert", "M", "N"};
const char *const kTexts[] = {"ISS", "S03", "S25", "Moon", "Earth", "Brighton Beach", "2", "P3", "10 5", "-20",
                              "X5 Y-2 Z30", "", "E10 N20", "M60000 5", "600", "r 1 2 3", "l 0.2 0.3 0.4", "r a",
                              "Nobody", "1e308", "0x10", "S29", "U1", "D2"};

struct Memory {
    double rssMb, peakMb, heapMb;
    int states;     // autopilot states of (vessel, MFD position) pairs met so far
    int slots;      // registered vessels
    int forgotten;  // released records not yet freed
};

int StateCount(int *slots) {
    int n = 0;
    *slots = 0;
    for (int slot = 0; slot < kMaxSlots; ++slot)
        if (const VesselRecord *r = RecordForSlot(slot)) {
            ++*slots;
            for (const MfdState *S : r->states) n += S != nullptr;
        }
    return n;
}

Memory Measure() {
    Memory m{0, 0, 0, 0, 0, ForgottenObjectCount()};
    m.states = StateCount(&m.slots);
    if (FILE *f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            long kb = 0;
            if (std::sscanf(line, "VmRSS: %ld", &kb) == 1) m.rssMb = kb / 1024.0;
            if (std::sscanf(line, "VmHWM: %ld", &kb) == 1) m.peakMb = kb / 1024.0;
        }
        std::fclose(f);
    }
    m.heapMb = mallinfo2().uordblks / (1024.0 * 1024.0);
    return m;
}

void BM_Soak32Vessels24Hours(benchmark::State &state) {
    for (auto _ : state) {
        sim::World w;
        sim::setWorld(&w);
        sim::Scenario s;
        std::string err;
        if (!sim::parseScenario(Fleet(), "soak.scn", s, err) || !sim::buildWorld(s, w, err)) {
            state.SkipWithError(err.c_str());
            sim::setWorld(nullptr);
            return;
        }
        Memory hour{0, 0, 0, 0, 0, 0}, half{0, 0, 0, 0, 0, 0}, day{0, 0, 0, 0, 0, 0};
        size_t errorsAtHour = 0;
        {
            sim::Host host(&w);
            host.addModule(sim::linkedModule("TessarcMFD_2016", flight::linkedPluginApi()));
            host.drawEvery = 10;
            host.start();
            sim::setWarp(w, 20);
            std::mt19937 rng(11);
            auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
            for (int d = 0; d < MAXMFD; ++d) host.open(d, "TessarcMFD", w.vessels[pick(kShips)].get(), err);
            double nextInput = 0;
            while (w.simt < 24 * kHour) {
                if (w.simt >= nextInput) {
                    nextInput = w.simt + 5.0 + pick(60);
                    const int d = pick(MAXMFD);
                    if (host.display(d).box.open) {
                        host.type(d, kTexts[pick(sizeof kTexts / sizeof *kTexts)]);
                        if (host.display(d).box.open) host.cancel(d);
                    } else if (pick(40) == 0) {
                        host.setFocus(w.vessels[pick(kShips)].get());
                    } else if (pick(60) == 0) {
                        host.open(d, "TessarcMFD", w.vessels[pick(kShips)].get(), err);  // a display re-opened
                    } else {
                        host.key(d, app::keyCode(kKeys[pick(sizeof kKeys / sizeof *kKeys)]));
                    }
                }
                host.frame();
                if (hour.rssMb == 0 && w.simt >= kHour) {
                    hour = Measure();
                    errorsAtHour = host.errors().size();
                }
                if (half.rssMb == 0 && w.simt >= 12 * kHour) half = Measure();
            }
            day = Measure();
            state.counters["host_errors_1h"] = static_cast<double>(errorsAtHour);
            state.counters["host_errors_24h"] = static_cast<double>(host.errors().size());
            host.shutdown();
        }
        sim::releaseOutstandingTools();
        sim::setWorld(nullptr);
        state.counters["rss_1h_MB"] = hour.rssMb;
        state.counters["rss_24h_MB"] = day.rssMb;
        state.counters["peak_rss_24h_MB"] = day.peakMb;
        state.counters["heap_1h_MB"] = hour.heapMb;
        state.counters["heap_24h_MB"] = day.heapMb;
        state.counters["states_1h"] = hour.states;
        state.counters["states_24h"] = day.states;
        state.counters["slots_1h"] = hour.slots;
        state.counters["slots_24h"] = day.slots;
        state.counters["forgotten_24h"] = day.forgotten;
        // Each state, and each vessel's record and profile, is one heap block: the
        // heap's growth between two times that these do not account for.
        auto unaccounted = [](const Memory &a, const Memory &b) {
            const double block = 16.0, kB = 1024.0;
            const double registry = (b.states - a.states) * (sizeof(MfdState) + block) +
                                    (b.slots - a.slots) * (sizeof(VesselRecord) + sizeof(ThrusterProfile) + 2 * block);
            return (b.heapMb - a.heapMb) * kB - registry / kB;
        };
        state.counters["unaccounted_1h_12h_kB"] = unaccounted(hour, half);
        state.counters["unaccounted_12h_24h_kB"] = unaccounted(half, day);
        state.counters["heap_12h_MB"] = half.heapMb;
    }
}
BENCHMARK(BM_Soak32Vessels24Hours)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
