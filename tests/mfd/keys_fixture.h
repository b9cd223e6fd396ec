// The cockpit of the key and dialog tests: a bundled scenario, the plug-in linked
// in, its MFD on the left display.
#ifndef TESSARC_TESTS_MFD_KEYS_FIXTURE_H
#define TESSARC_TESTS_MFD_KEYS_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "frame/state.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace pilot {

// Bundled scenarios: a shuttle 2 km behind the station in low Earth orbit; a
// lander on the Moon beside Brighton Beach and an outpost.
inline const char *kOrbitScenario = "scenarios/leo_station.scn";
inline const char *kMoonScenario = "scenarios/lunar_base.scn";
// The same on a plateau of our own terrain (the real host's Moon is smooth there).
inline const char *kMoonTerrainScenario = "tests/mfd/flights/lunar_base_terrain.scn";

class Cockpit : public ::testing::Test {
protected:
    flight::Flight f;

    void Fly(const char *scenario) {
        ASSERT_TRUE(f.load(scenario)) << f.error();
        flight::useLinkedPlugin(f);
        ASSERT_TRUE(f.open(0)) << f.error();
        f.frames(2);
        ASSERT_NE(Mfd(), nullptr);
        ASSERT_NE(S(), nullptr);
    }

    TessarcMFD *Mfd(int d = 0) const { return dynamic_cast<TessarcMFD *>(f.mfd(d)); }
    MfdState *S(int d = 0) const { return Mfd(d) ? Mfd(d)->state : nullptr; }
    bool Key(const char *name, int d = 0) { return f.key(d, name); }
    // Opens the box with the key, checks its title, types the text.
    bool Dialog(const char *key, const std::string &title, const std::string &text, int d = 0) {
        EXPECT_TRUE(f.key(d, key)) << key;
        EXPECT_TRUE(f.boxOpen(d)) << key;
        EXPECT_EQ(f.boxTitle(d), title);
        bool ok = f.type(d, text);
        if (!ok && f.boxOpen(d)) f.cancel(d);
        return ok;
    }
    // Selects a mode from its page (1 Velocity .. 5 Landing).
    void Mode(const char *digit) {
        S()->modePage = true;
        ASSERT_TRUE(Key(digit));
        ASSERT_FALSE(S()->modePage);
    }
};

}  // namespace pilot

#endif  // TESSARC_TESTS_MFD_KEYS_FIXTURE_H
