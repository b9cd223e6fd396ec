// The MFD in the simulated host: displays opened and re-created, focus changes,
// a remote vessel deleted while shown, and the label refresh per vessel class.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "landing/target.h"
#include "mfd/dialogs.h"
#include "mfd/setters.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

const char *kScenario = R"(BEGIN_ENVIRONMENT
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

class MfdFlight : public ::testing::Test {
protected:
    flight::Flight f;

    void SetUp() override {
        ASSERT_TRUE(f.loadText(kScenario)) << f.error();
        flight::useLinkedPlugin(f);
    }

    TessarcMFD *Mfd(int d) const { return dynamic_cast<TessarcMFD *>(f.mfd(d)); }

    // The vessel whose state display d shows.
    std::string Shows(int d) const {
        TessarcMFD *m = Mfd(d);
        return (m && m->state && m->state->vesselName) ? m->state->vesselName : "";
    }
};

TEST_F(MfdFlight, DisplaysKeepTheirStatesAcrossRecreationFocusAndDeletion) {
    ASSERT_TRUE(f.open(0)) << f.error();
    ASSERT_TRUE(f.open(1)) << f.error();
    f.frames(3);
    ASSERT_TRUE(Mfd(0) && Mfd(1));
    EXPECT_EQ(Mfd(0)->position, 0);
    EXPECT_EQ(Mfd(1)->position, 1);
    EXPECT_EQ(Shows(0), "SH-01");
    EXPECT_NE(Mfd(0)->state, Mfd(1)->state) << "one state per MFD position";
    MfdState *own0 = Mfd(0)->state;
    own0->holdOn = true;

    // Display 1 drives the remote vessel Tug; a panel switch keeps it.
    ASSERT_TRUE(Mfd(1)->attachToVessel(f.handle("Tug")));
    MfdState *tug1 = Mfd(1)->state;
    ASSERT_TRUE(f.recreate(1));
    f.frames(1);
    EXPECT_EQ(Shows(1), "Tug");
    EXPECT_EQ(Mfd(1)->state, tug1);
    // The host stores the status when the pilot leaves the mode too: selecting it
    // again keeps the remote vessel.
    ASSERT_TRUE(f.close(1));
    ASSERT_TRUE(f.open(1));
    f.frames(1);
    EXPECT_EQ(Shows(1), "Tug");

    // To the station and back: each vessel's states stay where they were.
    ASSERT_TRUE(f.focus("ISS"));
    f.frames(2);
    EXPECT_EQ(Shows(0), "ISS");
    ASSERT_TRUE(f.focus("SH-01"));
    f.frames(2);
    EXPECT_EQ(Mfd(0)->state, own0);
    EXPECT_TRUE(own0->holdOn);

    // The remote vessel shown on display 1 is deleted: the display returns to
    // the focus vessel at its next redraw, and the pass goes on.
    ASSERT_TRUE(Mfd(1)->attachToVessel(f.handle("Tug")));
    f.frames(1);
    ASSERT_TRUE(f.remove("Tug")) << f.error();
    EXPECT_EQ(pendingAttachMask & PositionBit(1), PositionBit(1));
    f.frames(1);
    EXPECT_EQ(Shows(1), "SH-01");
    EXPECT_EQ(pendingAttachMask, 0u);
    EXPECT_TRUE(f.screenContains(1, "Select Mode")) << "the display draws again: " << f.screenText(1);
    EXPECT_TRUE(f.hostErrors().empty());
}

TEST_F(MfdFlight, ForgottenStatesOutliveTheMfdsThatPointAtThem) {
    ASSERT_TRUE(f.open(0));
    f.frames(2);
    MfdState *S = Mfd(0)->state;
    ASSERT_NE(S, nullptr);
    // A reset while the MFD is still open forgets the state but must not free it.
    ResetModule();
    EXPECT_EQ(vesselSlotMask, 0u);
    EXPECT_EQ(Mfd(0)->state, S);
    EXPECT_TRUE(f.key(0, "M"));  // acts on the forgotten state
    EXPECT_FALSE(S->modePage);
    f.frames(2);
    EXPECT_GT(ForgottenObjectCount(), 0);
    // Once the MFD is gone, the next reset reclaims the forgotten objects.
    ASSERT_TRUE(f.close(0));
    ResetModule();
    EXPECT_EQ(ForgottenObjectCount(), 0);
}

// A vessel met and released again and again (a remote vessel cycled through,
// deleted vessels) leaves nothing behind once no display and no input box can
// reach its states; while one can, they are kept.
TEST_F(MfdFlight, ReleasedVesselsAreFreedOnceNothingReachesThem) {
    ASSERT_TRUE(f.open(0));
    f.frames(2);
    const OBJHANDLE iss = f.handle("ISS"), own = f.handle("SH-01");
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(Mfd(0)->attachToVessel(iss));
        ASSERT_TRUE(Mfd(0)->attachToVessel(own));
        ReleaseVesselSlot(FindVesselSlot(iss), true);
        f.frames(3);
    }
    EXPECT_EQ(ForgottenObjectCount(), 0);

    // A display showing the released vessel keeps its state until it re-attaches.
    ASSERT_TRUE(Mfd(0)->attachToVessel(iss));
    ReleaseVesselSlot(FindVesselSlot(iss), true);
    EXPECT_EQ(ForgottenObjectCount(), 1);
    f.frames(3);  // the display went back to the focus vessel
    EXPECT_EQ(Shows(0), "SH-01");
    EXPECT_EQ(ForgottenObjectCount(), 0);

    // An input box opened on it may still answer: its state stays until the next
    // box of that kind at that position.
    ASSERT_TRUE(Mfd(0)->attachToVessel(iss));
    ASSERT_TRUE(OpenDialog(Mfd(0), DIALOG_CUTOFF));
    MfdState *held = Mfd(0)->state;
    ASSERT_TRUE(Mfd(0)->attachToVessel(own));
    ReleaseVesselSlot(FindVesselSlot(iss), true);
    f.frames(3);
    EXPECT_EQ(ForgottenObjectCount(), 1);
    EXPECT_TRUE(f.type(0, "0.3"));
    EXPECT_EQ(held->cutoffAlt, 0.3);
    ASSERT_TRUE(OpenDialog(Mfd(0), DIALOG_CUTOFF));
    f.frames(3);
    EXPECT_EQ(ForgottenObjectCount(), 0);
}

// The session's input boxes close with it: one left open on a state does not
// keep that state's vessel record beyond the session, into the next one.
TEST_F(MfdFlight, ASessionsInputBoxesDoNotOutliveIt) {
    ASSERT_TRUE(f.open(0));
    f.frames(2);
    ASSERT_TRUE(OpenDialog(Mfd(0), DIALOG_CUTOFF));
    f.host.shutdown();
    EXPECT_EQ(ForgottenObjectCount(), 0);
}

TEST_F(MfdFlight, ArrowFreighterPanelsAreNotAskedToRereadLabels) {
    auto cls = std::make_unique<sim::VesselClass>(*f.world.findClass("ShuttlePB"));
    cls->name = "UCGO\\Vessels\\UCGOArrowFreighter";
    const sim::VesselClass *freighterClass = cls.get();
    f.world.classes.push_back(std::move(cls));
    ::Vessel *freighter = sim::addVessel(f.world, "Freighter", freighterClass);
    ASSERT_NE(freighter, nullptr);
    ::Vessel *shuttle = f.vessel("SH-01");
    sim::setOrbitState(*freighter, f.world.findBody("Earth"), shuttle->pos - f.world.findBody("Earth")->pos,
                       shuttle->vel - f.world.findBody("Earth")->vel, _V(0, 0, 0), _V(0, 0, 0));

    ASSERT_TRUE(f.open(0));
    f.frames(3);
    int before = f.host.display(0).invalidateButtons;
    f.frames(5);
    EXPECT_GE(f.host.display(0).invalidateButtons - before, 5) << "every redraw refreshes the labels";

    ASSERT_TRUE(f.focus("Freighter"));
    f.frames(2);
    ASSERT_NE(Mfd(0), nullptr);
    before = f.host.display(0).invalidateButtons;
    f.frames(5);
    EXPECT_EQ(f.host.display(0).invalidateButtons, before);
    // Keys still refresh them.
    EXPECT_TRUE(f.key(0, "M"));
    EXPECT_EQ(f.host.display(0).invalidateButtons, before + 1);
}

}  // namespace
