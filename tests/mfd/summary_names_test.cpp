// The summary page's commands when the vessel under the cursor is gone or the
// MFD has no state of its own, the keys of other pages under an engaged
// autopilot, and vessel names that differ only in letter case.
#include <string>

#include "frame/registry.h"
#include "keys_fixture.h"
#include "sim/world.h"

namespace {

using pilot::Cockpit;

// A vessel of the class of `like`, named exactly `name` (the host refuses a
// second name that differs only in case, so it is renamed afterwards).
::Vessel *AddNamed(sim::World &world, const std::string &name, const std::string &like) {
    static int serial = 0;
    ::Vessel *model = world.findVessel(like);
    if (!model) return nullptr;
    ::Vessel *v = sim::addVessel(world, "extra-" + std::to_string(++serial), model->cls);
    if (v) v->name = name;
    return v;
}

TEST_F(Cockpit, SelectOnTheSummaryClosesItEvenWhenTheVesselIsGone) {
    Fly(pilot::kOrbitScenario);
    // Register the station through the remote box, then come back to the own ship.
    ASSERT_TRUE(Dialog("Tab", "Select remote vessel( empty line to focus )", "ISS"));
    ASSERT_TRUE(Dialog("Tab", "Select remote vessel( empty line to focus )", ""));
    MfdState *own = S();
    ASSERT_TRUE(Key("Up"));
    const int stationSlot = FindVesselSlot(f.handle("ISS"));
    ASSERT_GE(stationSlot, 0);
    for (int line = 1; line <= 2 && Mfd()->summarySlot != stationSlot; ++line) {
        Mfd()->summaryLine = line;
        f.draw(0);
    }
    ASSERT_EQ(Mfd()->summarySlot, stationSlot);
    // The station is deleted before the next redraw; Select finds no vessel there.
    ASSERT_TRUE(f.remove("ISS")) << f.error();
    ASSERT_TRUE(Key("Right"));
    EXPECT_FALSE(Mfd()->summaryShown);
    EXPECT_EQ(S(), own);
}

TEST_F(Cockpit, OtherPagesKeysStayTakenUnderHold) {
    Fly(pilot::kOrbitScenario);
    Mode("2");
    ASSERT_TRUE(Dialog("T", "TessarcMFD: Target", "ISS"));
    ASSERT_TRUE(Key("H"));
    ASSERT_TRUE(S()->holdOn);
    // The spin keys belong to the Velocity page: here they are not refused.
    EXPECT_TRUE(Key("K"));
    EXPECT_TRUE(Key("L"));
    EXPECT_EQ(S()->spinMode, 0);
    // Keys the Relative page refuses while busy stay refused.
    EXPECT_FALSE(Key("T"));
    EXPECT_FALSE(Key("B"));
}

TEST_F(Cockpit, AnMfdWithoutAStateOpensNoBoxOnAnotherVessel) {
    Fly(pilot::kOrbitScenario);
    // Fill every vessel slot; an MFD on one more vessel gets no state.
    for (int i = 0; vesselSlotMask != 0xFFFFFFFFu && i < 40; ++i)
        LookupVesselSlot(AddNamed(f.world, "Filler " + std::to_string(i), "SH-01"));
    ASSERT_EQ(vesselSlotMask, 0xFFFFFFFFu);
    ASSERT_NE(AddNamed(f.world, "Latecomer", "SH-01"), nullptr);
    ASSERT_TRUE(f.open(1, "TessarcMFD", "Latecomer")) << f.error();
    ASSERT_NE(Mfd(1), nullptr);
    ASSERT_EQ(S(1), nullptr);
    // Neither the summary nor its boxes, which would set up the vessels listed there.
    EXPECT_FALSE(Key("Back", 1));
    f.draw(1);
    EXPECT_FALSE(Mfd(1)->summaryShown);
    for (const char *key : {"R", "S", "A"}) {
        EXPECT_FALSE(Key(key, 1)) << key;
        EXPECT_FALSE(f.boxOpen(1)) << key;
    }
}

TEST_F(Cockpit, NamesDifferingOnlyInCaseNameTheirOwnVessel) {
    Fly(pilot::kOrbitScenario);
    ::Vessel *lower = AddNamed(f.world, "iss", "ISS");
    ASSERT_NE(lower, nullptr);
    const OBJHANDLE upper = f.handle("ISS");
    ASSERT_NE(upper, static_cast<OBJHANDLE>(lower));

    const std::string remote = "Select remote vessel( empty line to focus )";
    ASSERT_TRUE(Dialog("Tab", remote, "iss"));
    EXPECT_STREQ(S()->vesselName, "iss");
    EXPECT_EQ(S()->vesselHandle, static_cast<OBJHANDLE>(lower));
    ASSERT_TRUE(Dialog("Tab", remote, "ISS"));
    EXPECT_EQ(S()->vesselHandle, upper);
    ASSERT_TRUE(Dialog("Tab", remote, ""));

    Mode("2");
    ASSERT_TRUE(Dialog("T", "TessarcMFD: Target", "iss"));
    EXPECT_EQ(S()->targetRef, static_cast<OBJHANDLE>(lower));
    ASSERT_TRUE(Dialog("T", "TessarcMFD: Target", "ISS"));
    EXPECT_EQ(S()->targetRef, upper);
    // A name that matches no vessel exactly still goes to the host's lookup.
    ASSERT_TRUE(Dialog("T", "TessarcMFD: Target", "moon"));
    EXPECT_STREQ(S()->targetRefName, "Moon");
}

}  // namespace
