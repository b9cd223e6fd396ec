// A shuttle 2 km behind a station in low Earth orbit, with a second shuttle, and
// the plug-in linked in: the cockpit of the key and dialog tests.
#ifndef TESSARC_TESTS_MFD_KEYS_FIXTURE_H
#define TESSARC_TESTS_MFD_KEYS_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "frame/state.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace pilot {

inline const char *kOrbitScenario = R"(BEGIN_ENVIRONMENT
  System Sol
  Date MJD 60000.25
END_ENVIRONMENT

BEGIN_FOCUS
  Ship SH-01
END_FOCUS

BEGIN_SHIPS
ISS:ProjectAlpha_ISS
  STATUS Orbiting Earth
  ELEMENTS 6771.0 0.0 51.6 40.0 40.0 120.0 EQU
END
SH-01:ShuttlePB
  STATUS Orbiting Earth
  ELEMENTS 6771.0 0.0 51.6 40.0 40.0 119.983076 EQU
END
Tug:ShuttlePB
  STATUS Orbiting Earth
  ELEMENTS 6771.0 0.0 51.6 40.0 40.0 119.98 EQU
END
END_SHIPS
)";

inline const char *kMoonScenario = R"(BEGIN_ENVIRONMENT
  System Sol
  Date MJD 60000.25
END_ENVIRONMENT

BEGIN_FOCUS
  Ship Eagle
END_FOCUS

BEGIN_SHIPS
Eagle:LunarLander
  STATUS Landed Moon
  POS -33.30 41.00
  HEADING 90
END
Base-1:Outpost
  STATUS Landed Moon
  POS -33.4200 41.1350
  HEADING 0
END
END_SHIPS
)";

class Cockpit : public ::testing::Test {
protected:
    flight::Flight f;

    void Fly(const char *scenario) {
        ASSERT_TRUE(f.loadText(scenario)) << f.error();
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
