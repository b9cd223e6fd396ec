// Vessels at the registry's edges in flight: one more vessel than there are
// slots, twins whose names differ only past the 98th character, and names too
// long for a scenario line, each flown, saved and loaded again.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "control/holds.h"
#include "control/thrusters.h"
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/plugin_flight.h"

namespace {

// Shuttles in one low orbit, a little apart, with the first as focus.
std::string Ships(const std::vector<std::string> &names, const std::string &focus) {
    std::string s = "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 60000.25\nEND_ENVIRONMENT\nBEGIN_FOCUS\n  Ship " + focus +
                    "\nEND_FOCUS\nBEGIN_SHIPS\n";
    for (size_t i = 0; i < names.size(); ++i)
        s += names[i] + ":ShuttlePB\n  STATUS Orbiting Earth\n  ELEMENTS 6771.0 0.0 51.6 40.0 40.0 " +
             std::to_string(120.0 + 0.01 * static_cast<double>(i)) + " EQU\n  AROT 20 -30 40\nEND\n";
    return s + "END_SHIPS\n";
}

// The display shows the vessel's own page without a state, and no key acts.
void ExpectNoSlotPage(flight::Flight &f, const std::string &vessel) {
    f.draw(0);
    EXPECT_EQ(flight::mfdObject(f, 0)->state, nullptr);
    EXPECT_TRUE(f.screenContains(0, "no free vessel slot")) << f.screenText(0);
    EXPECT_TRUE(f.screenContains(0, vessel)) << f.screenText(0);
    EXPECT_NE(std::string(oapiDebugString()).find("no free vessel slot for " + vessel), std::string::npos);
    for (const char *key : {"H", "M", "Back", "Up", "Tab", "1"}) EXPECT_FALSE(f.key(0, key)) << key;
    EXPECT_FALSE(f.boxOpen(0));
    EXPECT_EQ(f.label(0, 5), "");
}

void ExpectHolds(flight::Flight &f, const std::vector<std::string> &names) {
    for (const std::string &n : names) {
        const MfdState *S = flight::stateOf(n, 0);
        ASSERT_NE(S, nullptr) << n;
        EXPECT_TRUE(S->holdOn) << n;
        EXPECT_EQ(S->vesselHandle, f.handle(n)) << n;
    }
}

TEST(VesselSlots, The33rdVesselShowsItHasNoSlotAndTouchesNoOtherState) {
    std::vector<std::string> names;
    for (int i = 1; i <= 33; ++i) names.push_back((i < 10 ? "V0" : "V") + std::to_string(i));
    const std::vector<std::string> first32(names.begin(), names.end() - 1);
    std::string saved;
    {
        auto f = flight::flyLinked(Ships(names, "V33"));
        for (const std::string &n : first32) {
            const int slot = LookupVesselSlot(f->handle(n));
            MfdState *S = StateAtPosition(RecordForSlot(slot), slot, 0);
            ASSERT_NE(S, nullptr) << n;
            S->modePage = false;
            ToggleAttitudeHold(S);
        }
        ASSERT_TRUE(f->open(0)) << f->error();
        f->run(1);
        ExpectNoSlotPage(*f, "V33");
        ASSERT_TRUE(f->recreate(0));  // a panel switch
        ExpectNoSlotPage(*f, "V33");
        ExpectHolds(*f, first32);
        saved = f->save();
    }
    auto g = flight::flyLinked(saved);
    g->run(1);
    ExpectHolds(*g, first32);
    EXPECT_EQ(FindVesselSlot(g->handle("V33")), -1);
    ExpectNoSlotPage(*g, "V33");
    ASSERT_TRUE(g->recreate(0));
    ExpectNoSlotPage(*g, "V33");
    ExpectHolds(*g, first32);
    // A slot that comes free goes to the vessel shown without one at the next frame.
    ASSERT_TRUE(g->remove("V01"));
    g->draw(0);
    ASSERT_NE(flight::mfdObject(*g, 0)->state, nullptr);
    EXPECT_EQ(flight::mfdObject(*g, 0)->state->vesselHandle, g->handle("V33"));
    ExpectHolds(*g, std::vector<std::string>(first32.begin() + 1, first32.end()));
}

TEST(VesselSlots, TwinsAlikeFor98CharactersShowAndDriveThemselvesAcrossASave) {
    const std::string a = std::string(98, 'T') + "A", b = std::string(98, 'T') + "B";
    std::string saved;
    {
        auto f = flight::flyLinked(Ships({a, b}, a));
        ASSERT_TRUE(f->open(0) && f->open(1, "TessarcMFD", b)) << f->error();
        f->run(1);
        ASSERT_TRUE(f->key(1, "1") && f->key(1, "H"));  // Velocity HOLD on b only
        f->run(10);
        for (int d : {0, 1}) {
            const std::string &own = d == 0 ? a : b;
            const MfdState *S = flight::mfdObject(*f, d)->state;
            ASSERT_NE(S, nullptr);
            EXPECT_EQ(S->vesselName, own);
            EXPECT_EQ(S->vesselHandle, f->handle(own));
            EXPECT_EQ(S->holdOn, d == 1);
            EXPECT_EQ(length(f->vessel(own)->omega) > 1e-3, d == 1) << "only the held twin turns";
        }
        saved = f->save();
    }
    auto g = flight::flyLinked(saved);
    const MfdState *ra = flight::stateOf(a, 0), *rb = flight::stateOf(b, 1);
    ASSERT_TRUE(ra && rb);
    EXPECT_EQ(ra->vesselHandle, g->handle(a));
    EXPECT_EQ(rb->vesselHandle, g->handle(b));
    EXPECT_FALSE(ra->holdOn);
    EXPECT_TRUE(rb->holdOn);
    EXPECT_EQ(flight::mfdObject(*g, 1)->state, rb);
}

// Blocks written by earlier versions carry a longer name cut to 98 characters: it
// still finds its vessel when no other begins alike.
TEST(VesselSlots, NamesCutTo98CharactersFindOnlyAVesselOfTheirOwn) {
    const std::string stem(98, 'T');
    const std::string block = "BEGIN_MFD Left\n  TYPE User\n  MODE TessarcMFD\n  MFDIndex 0\n   REMOTE " + stem +
                              "\n    REFMODE VELOCITY\n     activeAP 1 7 0 2 0 0\nEND_MFD\n";
    const struct {
        std::vector<std::string> ships;
        int holds;
    } rows[] = {{{stem + "A"}, 1}, {{stem + "A", stem + "B"}, 0}};
    for (const auto &r : rows) {
        auto f = flight::flyLinked(Ships(r.ships, r.ships[0]) + block);
        int holds = 0;
        for (const std::string &n : r.ships) holds += flight::stateOf(n, 0) && flight::stateOf(n, 0)->holdOn;
        EXPECT_EQ(holds, r.holds) << r.ships.size() << " ship(s)";
    }
}

TEST(VesselSlots, LongNamesAreSavedWhereTheyReadBackAndRefusedClearlyElsewhere) {
    const struct {
        size_t length;
        bool groupWritten;  // the MFD's block carries the vessel's state
        bool saved;         // the host writes the scenario
    } rows[] = {{245, true, true}, {246, false, true}, {600, false, false}};
    for (const auto &r : rows) {
        const std::string name(r.length, 'L');
        auto f = flight::flyLinked(Ships({"SH-01"}, "SH-01"));
        f->vessel("SH-01")->name = name;
        ASSERT_TRUE(f->open(0)) << f->error();
        f->run(1);
        ASSERT_TRUE(f->key(0, "1") && f->key(0, "H"));
        ASSERT_EQ(flight::mfdObject(*f, 0)->state->vesselHandle, f->handle(name));
        oapiDebugString()[0] = '\0';
        const std::string saved = f->save();
        ASSERT_EQ(saved.empty(), !r.saved) << r.length;
        if (!r.saved) {
            EXPECT_NE(f->error().find("(600 characters) cannot be saved"), std::string::npos) << f->error();
            continue;
        }
        EXPECT_EQ(saved.find("REMOTE " + name + "\n") != std::string::npos, r.groupWritten) << r.length;
        EXPECT_EQ(std::string(oapiDebugString()).find("not saved") != std::string::npos, !r.groupWritten);
        auto g = flight::flyLinked(saved);
        const MfdState *S = flight::stateOf(name, 0);
        ASSERT_NE(S, nullptr) << r.length;
        EXPECT_EQ(S->holdOn, r.groupWritten) << r.length;
    }
}

}  // namespace
