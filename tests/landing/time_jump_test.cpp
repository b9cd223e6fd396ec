// A landing saved in flight and loaded again at another date: the Moon has turned
// under the vessel (600 s is 2 km at Brighton Beach, a day 300 km) and the plan's
// clock is out of step with it. The landing flies on from where the vessel is to
// a soft touchdown on the pad, or lets go with its reason on the page; a contact
// harder than a touchdown allows is never called landed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <regex>
#include <string>

#include "frame/state.h"
#include "landing/autopilot.h"
#include "landing/touchdown.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

MfdState *StateOf(flight::Flight &f) {
    TessarcMFD *m = dynamic_cast<TessarcMFD *>(f.mfd(0));
    return m ? m->state : nullptr;
}

// The bundled lunar landing flown with HOLD to each phase and saved a while into it.
std::map<int, std::string> SavedInFlight() {
    std::map<int, std::string> saved;
    flight::Flight f;
    if (!f.load("scenarios/lunar_landing.scn")) return saved;
    flight::useLinkedPlugin(f);
    if (!f.open(0)) return saved;
    for (const char *k : {"5", "B"}) f.key(0, k);
    f.type(0, "Brighton Beach");
    f.key(0, "P");
    f.type(0, "1");
    f.key(0, "H");
    f.setWarp(100);
    const struct {
        int phase;
        double into;  // s
    } points[] = {{LANDING_BRAKE, 180.0}, {LANDING_APPROACH, 10.0}, {LANDING_FINAL, 10.0}};
    for (const auto &p : points) {
        while (f.simt() < 6000.0 && StateOf(f)->landingPhase != p.phase) f.run(0.5);
        f.run(p.into);
        if (StateOf(f)->landingPhase == p.phase) saved[p.phase] = f.save();
    }
    return saved;
}

std::string MoveDate(const std::string &scenario, double seconds) {
    std::smatch m;
    static const std::regex date("Date MJD ([0-9.]+)");
    if (!std::regex_search(scenario, m, date)) return scenario;
    char line[64];
    std::snprintf(line, sizeof line, "Date MJD %.12f", std::stod(m[1]) + seconds / 86400.0);
    return m.prefix().str() + line + m.suffix().str();
}

TEST(TimeJump, AResumedLandingReplansOrRefusesAndNeverCallsAHardContactLanded) {
    const std::map<int, std::string> saved = SavedInFlight();
    ASSERT_EQ(saved.size(), 3u);
    struct Case {
        const char *name;
        int phase;
        double shift;        // s
        const char *reason;  // nullptr: lands on the pad
    };
    const Case cases[] = {
        {"braking, 600 s back", LANDING_BRAKE, -600.0, nullptr},
        {"braking, a day on", LANDING_BRAKE, 86400.0, nullptr},
        {"braking, a day back: the pad is behind", LANDING_BRAKE, -86400.0, "target out of reach"},
        {"approach, 600 s back: the pad is behind", LANDING_APPROACH, -600.0, nullptr},
        {"final, a day back: the pad is 300 km off", LANDING_FINAL, -86400.0, "not enough fuel"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<flight::Flight> fp(new flight::Flight());
        flight::Flight &f = *fp;
        ASSERT_TRUE(f.loadText(MoveDate(saved.at(c.phase), c.shift))) << f.error();
        flight::useLinkedPlugin(f);
        f.run(3.0);
        MfdState *S = StateOf(f);
        ASSERT_NE(S, nullptr);
        ::Vessel *eagle = f.vessel("Eagle");
        f.draw(0);
        if (c.reason) {
            EXPECT_FALSE(S->holdOn);
            EXPECT_TRUE(f.screenContains(0, c.reason)) << f.screenText(0);
        }
        f.setWarp(10);
        while (f.simt() < 1500.0 && !eagle->touchedDown) f.run(1.0);
        f.run(2.0);
        ASSERT_TRUE(eagle->touchedDown);
        f.draw(0);
        const bool hard = eagle->touchdownVs < -kHardContactVertical || eagle->touchdownHs > kHardContactHorizontal;
        if (hard) {
            EXPECT_NE(S->landingPhase, LANDING_LANDED);
            EXPECT_FALSE(f.screenContains(0, "Landing complete")) << f.screenText(0);
            EXPECT_TRUE(f.screenContains(0, "hard contact at touchdown")) << f.screenText(0);
        }
        if (c.reason) continue;
        EXPECT_GT(eagle->touchdownVs, -1.0);
        EXPECT_LT(eagle->touchdownHs, 1.0);
        double lon = 0, lat = 0, r = 0;
        f.iface("Eagle")->GetEquPos(lon, lat, r);
        EXPECT_LT(oapiOrthodome(lon, lat, S->targetLon, S->targetLat) * oapiGetSize(S->bodyRef), 10.0);
        EXPECT_TRUE(f.screenContains(0, "Landing complete")) << f.screenText(0);
    }
}

}  // namespace
