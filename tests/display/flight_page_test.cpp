// What a pilot sees while HOLD flies the vessel: the mode's name, "HOLD" and the
// attitude error angles of the readout coming down frame after frame.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "control/modes.h"
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

struct ModeCase {
    const char *modeKey;  // the key that selects the mode on the mode-selection page
    int mode;
    const char *title;
    bool targetsStation;
};

class HoldOnPage : public ::testing::TestWithParam<ModeCase> {
protected:
    flight::Flight f;

    MfdState *StateOnDisplay0(const std::string &ship) {
        int slot = FindVesselSlot(f.handle(ship));
        VesselRecord *rec = slot >= 0 ? RecordForSlot(slot) : nullptr;
        return rec != nullptr ? rec->states[0] : nullptr;
    }
    // The largest attitude angle the readout shows on the held axes, degrees (roll
    // only while the roll mode holds it).
    double ShownError(const MfdState *S) {
        double worst = 0;
        for (int row = 17; row <= (S->rollMode == 0 ? 19 : 18); ++row) {
            std::string text = f.screenLines(0)[row - 1].substr(12, 8);
            char *end = nullptr;
            double v = std::strtod(text.c_str(), &end);
            EXPECT_EQ(end, text.c_str() + 8) << "row " << row << ": \"" << text << "\"";
            worst = std::fmax(worst, std::fabs(v));
        }
        return worst;
    }
};

TEST_P(HoldOnPage, ErrorAnglesComeDownUnderHold) {
    const ModeCase &c = GetParam();
    ASSERT_TRUE(f.load("scenarios/leo_station.scn")) << f.error();
    flight::useLinkedPlugin(f);
    ASSERT_TRUE(f.open(0)) << f.error();
    f.run(1.0);  // past start-up
    MfdState *S = StateOnDisplay0("SH-01");
    ASSERT_NE(S, nullptr);
    // The pilot's own keys: the mode from the mode-selection page, the station as
    // target through its input box, then H.
    ASSERT_EQ(S->modePage, 1);
    ASSERT_TRUE(f.key(0, c.modeKey));
    ASSERT_EQ(S->refMode, c.mode);
    if (c.targetsStation) {
        ASSERT_TRUE(f.key(0, "T"));
        ASSERT_TRUE(f.type(0, "ISS")) << f.boxTitle(0);
        ASSERT_EQ(S->targetRef, f.handle("ISS"));
    }
    f.run(0.5);
    ASSERT_TRUE(f.key(0, "H"));
    ASSERT_EQ(S->holdOn, 1);
    f.run(0.5);
    f.draw(0);
    std::vector<std::string> lines = f.screenLines(0);
    EXPECT_EQ(lines[2].substr(11, std::string(c.title).size()), c.title);
    EXPECT_EQ(lines[25].substr(32, 4), "HOLD");
    EXPECT_EQ(f.screen(0).colours[16][0], 0xFF4D4Du);  // attitude labels turn light blue

    double previous = ShownError(S);
    const double first = previous;
    EXPECT_GT(first, 2.0) << "the scenario starts off the wanted attitude";
    int rising = 0;
    for (int i = 0; i < 100 && previous > 1.0; ++i) {
        f.run(2.0);
        f.draw(0);
        double now = ShownError(S);
        rising += now > previous + 0.01;
        previous = now;
    }
    EXPECT_EQ(rising, 0) << c.title;
    EXPECT_LT(previous, 1.0) << c.title << " from " << first;
    if (S->rollMode == 1) {
        EXPECT_EQ(f.screenLines(0)[34].substr(27, 9), "KILL ROLL");
    }
    EXPECT_TRUE(f.hostErrors().empty()) << f.hostErrors().front();
}

INSTANTIATE_TEST_SUITE_P(Modes, HoldOnPage,
                         ::testing::Values(ModeCase{"1", AP_VELOCITY, "Velocity", false},
                                           ModeCase{"2", AP_RELATIVE, "Relative", true},
                                           ModeCase{"3", AP_ATTITUDE, "Set Attitude", false},
                                           ModeCase{"4", AP_DOCKING, "Docking Relative", true}),
                         [](const ::testing::TestParamInfo<ModeCase> &info) {
                             std::string n = info.param.title;
                             for (char &ch : n)
                                 if (ch == ' ') ch = '_';
                             return n;
                         });

}  // namespace
