// Keys of the MFD in flight: what each page takes, what an engaged autopilot
// refuses, and the button refresh after every taken command.
#include <cmath>

#include "control/burn.h"
#include "control/modes.h"
#include "keys_fixture.h"
#include "mfd/buttons.h"

namespace {

using pilot::Cockpit;

TEST_F(Cockpit, HoldLocksTheModeAndMSwitchesToTheSummary) {
    Fly(pilot::kOrbitScenario);
    Mode("2");
    EXPECT_EQ(S()->refMode, AP_RELATIVE);
    ASSERT_TRUE(Key("H"));
    ASSERT_TRUE(S()->holdOn);
    // The mode page under HOLD: digits are taken but select nothing.
    S()->modePage = true;
    for (const char *digit : {"1", "3", "4", "5"}) {
        EXPECT_TRUE(Key(digit));
        EXPECT_EQ(S()->refMode, AP_RELATIVE) << digit;
    }
    S()->modePage = false;
    // M toggles the summary rather than the mode page while busy.
    ASSERT_TRUE(Key("M"));
    EXPECT_TRUE(Mfd()->summaryShown);
    EXPECT_FALSE(S()->modePage);
    ASSERT_TRUE(Key("M"));
    EXPECT_FALSE(Mfd()->summaryShown);
    // Released, M opens the mode page again.
    ASSERT_TRUE(Key("H"));
    ASSERT_TRUE(Key("M"));
    EXPECT_TRUE(S()->modePage);
}

TEST_F(Cockpit, ArrowsOpenTheSummaryBeforeTheyMoveItsCursor) {
    Fly(pilot::kOrbitScenario);
    const int line = Mfd()->summaryLine;
    ASSERT_TRUE(Key("Up"));
    EXPECT_TRUE(Mfd()->summaryShown);
    EXPECT_EQ(Mfd()->summaryLine, line);
    ASSERT_TRUE(Key("Down"));
    EXPECT_EQ(Mfd()->summaryLine, line + 1);
    ASSERT_TRUE(Key("Back"));
    ASSERT_TRUE(Key("Down"));
    EXPECT_EQ(Mfd()->summaryLine, line + 1);
}

TEST_F(Cockpit, TranslationKeysOnRelativeAndDockingPagesOnly) {
    Fly(pilot::kOrbitScenario);
    Mode("2");
    ASSERT_TRUE(Dialog("T", "TessarcMFD: Target", "ISS"));
    ASSERT_TRUE(Key("Delete"));
    EXPECT_EQ(S()->transAxes, 3);
    ASSERT_TRUE(Key("Delete"));
    EXPECT_EQ(S()->transAxes, 7);
    ASSERT_TRUE(Key("End"));
    EXPECT_EQ(S()->transAxes, 0);
    ASSERT_TRUE(Key("Delete"));  // not all three: all three
    EXPECT_EQ(S()->transAxes, 3);
    ASSERT_TRUE(Key("PgDn"));    // y off again
    EXPECT_EQ(S()->transAxes, 6);  // z and x
    ASSERT_TRUE(Key("Insert"));
    EXPECT_EQ(S()->transAxes, 7);
    // The Velocity page has no translation hold: taken, nothing changes.
    Mode("1");
    EXPECT_TRUE(Key("Delete"));
    EXPECT_EQ(S()->transAxes, 7);
}

TEST_F(Cockpit, SpinKeysAndTheirRefusalUnderHold) {
    Fly(pilot::kOrbitScenario);
    Mode("1");
    ASSERT_TRUE(Key("K"));
    EXPECT_EQ(S()->spinMode, 1);
    ASSERT_TRUE(Key("K"));
    EXPECT_EQ(S()->spinMode, 0);
    ASSERT_TRUE(Key("K"));
    ASSERT_TRUE(Key("L"));
    EXPECT_EQ(S()->spinMode, 2);
    ASSERT_TRUE(Key("L"));
    EXPECT_EQ(S()->spinMode, 0);
    // Under HOLD both read "---" and are refused, as are the reference, target
    // and follow commands; the refusal leaves the labels alone.
    ASSERT_TRUE(Key("H"));
    const int refreshes = f.host.display(0).invalidateButtons;
    for (const char *k : {"K", "L", "B", "T", "F", "E"}) EXPECT_FALSE(Key(k)) << k;
    EXPECT_EQ(S()->spinMode, 0);
    EXPECT_FALSE(f.boxOpen(0));
    EXPECT_EQ(f.host.display(0).invalidateButtons, refreshes);
    // A taken key refreshes them.
    ASSERT_TRUE(Key("O"));
    EXPECT_EQ(f.host.display(0).invalidateButtons, refreshes + 1);
}

TEST_F(Cockpit, KeysWithoutACommandAndKeysOfOtherPages) {
    Fly(pilot::kOrbitScenario);
    Mode("1");
    EXPECT_FALSE(f.key(0, 16));   // Q: no command anywhere
    EXPECT_FALSE(f.key(0, 1));    // below the key range
    EXPECT_FALSE(f.key(0, 212));  // above it
    EXPECT_TRUE(Key("Return"));
    // G and N belong to other pages: taken, nothing changes.
    const int graph = S()->graphStyle;
    EXPECT_TRUE(Key("G"));
    EXPECT_TRUE(Key("N"));
    EXPECT_EQ(S()->graphStyle, graph);
    EXPECT_FALSE(f.boxOpen(0));
}

TEST_F(Cockpit, LandingPageSwitches) {
    Fly(pilot::kMoonScenario);
    Mode("5");
    ASSERT_EQ(S()->refMode, AP_LANDING);
    EXPECT_EQ(S()->graphStyle, 1);
    ASSERT_TRUE(Key("G"));
    EXPECT_EQ(S()->graphStyle, 3);
    ASSERT_TRUE(Key("G"));
    EXPECT_EQ(S()->graphStyle, 1);
    const bool hover = S()->useHover;
    ASSERT_TRUE(Key("E"));
    EXPECT_NE(S()->useHover, hover);
    const bool brake = S()->landBrake;
    ASSERT_TRUE(Key("A"));
    EXPECT_NE(S()->landBrake, brake);
    ASSERT_TRUE(Key("R"));
    EXPECT_TRUE(S()->landingRecalc);
    // Recalculation only before the approach; the elevation not in touchdown.
    S()->landingPhase = 2;
    EXPECT_FALSE(Key("R"));
    S()->landingPhase = 5;
    EXPECT_FALSE(Key("L"));
    EXPECT_FALSE(f.boxOpen(0));
    // The manual location box opens even under HOLD.
    S()->landingPhase = 0;
    ASSERT_TRUE(Key("H"));
    ASSERT_TRUE(Key("T"));
    EXPECT_TRUE(f.boxOpen(0));
}

// The descent profile: Q switches it while nothing is engaged and the descent has
// not begun; the page says which one flies. The buttons stay as they were.
TEST_F(Cockpit, DescentProfileChosenBeforeTheDescentOnly) {
    Fly(pilot::kMoonScenario);
    Mode("5");
    f.run(1.0);  // past the rate measurement
    f.draw(0);
    EXPECT_TRUE(f.screenContains(0, "DESC STD")) << f.screenText(0);
    EXPECT_EQ(f.label(0, 6), "REM");
    ASSERT_TRUE(f.key(0, 16));
    EXPECT_EQ(S()->landingDescent, DESCENT_EFFICIENT);
    f.draw(0);
    EXPECT_TRUE(f.screenContains(0, "DESC EFF"));
    ASSERT_TRUE(f.key(0, 16));
    EXPECT_EQ(S()->landingDescent, DESCENT_SPECIFIED);
    // Engaged, or once the descent has begun: refused, and the button says so.
    ASSERT_TRUE(Key("H"));
    EXPECT_FALSE(f.key(0, 16));
    ASSERT_TRUE(Key("H"));
    S()->landingPhase = LANDING_BRAKE;
    EXPECT_FALSE(f.key(0, 16));
    EXPECT_EQ(S()->landingDescent, DESCENT_SPECIFIED);
    // Remote stays on its button and on Tab.
    EXPECT_TRUE(f.button(0, 6));
    EXPECT_TRUE(f.boxOpen(0));
}

TEST_F(Cockpit, BurnKeysAndTheTransXSynchronisation) {
    Fly(pilot::kOrbitScenario);
    SelectMode(S(), S()->refMode, AP_DIRECT_BURN);
    S()->burnMjd = 0.0;
    const double now = oapiGetSimMJD();
    ASSERT_TRUE(Key("X"));
    EXPECT_TRUE(S()->transXSync);
    EXPECT_NEAR((S()->burnMjd - now) * 86400.0, 200.0, 1e-3);
    // Switching it off keeps the time.
    S()->burnMjd = now + 1.0;
    ASSERT_TRUE(Key("X"));
    EXPECT_FALSE(S()->transXSync);
    EXPECT_DOUBLE_EQ(S()->burnMjd, now + 1.0);
    // Delta-v boxes only before the burn time.
    ASSERT_TRUE(Dialog("P", "Select Prograde Velocity", "12 5"));
    EXPECT_DOUBLE_EQ(S()->burnDv.x, 12.5);
    S()->burnMjd = now - 1.0;
    EXPECT_FALSE(Key("Y"));
    EXPECT_FALSE(f.boxOpen(0));
    // An armed burn makes the state busy: X is refused.
    ASSERT_TRUE(Key("G"));
    ASSERT_TRUE(S()->burnArmed);
    EXPECT_FALSE(Key("X"));
    EXPECT_FALSE(S()->transXSync);
}

TEST_F(Cockpit, DockingPortsTuneTheRadioToThePortTransmitter) {
    Fly(pilot::kOrbitScenario);
    Mode("4");
    ASSERT_TRUE(Dialog("T", "TessarcMFD: Target", "ISS"));
    VESSEL *own = f.iface("SH-01");
    // A vessel target alone: its transponder.
    EXPECT_EQ(own->GetNavChannel(0), 90u);
    EXPECT_EQ(f.world.hudMode, HUD_DOCKING);
    ASSERT_TRUE(Dialog("L", "Active Dock (01 - 01), 0 to remove", "U1"));
    // The station's five ports transmit on 400 to 404.
    ASSERT_TRUE(Dialog("D", "Target Dock (01 - 05), 0 to remove", "D2"));
    EXPECT_EQ(S()->ownPort, 1);
    EXPECT_EQ(S()->targetPort, 2);
    EXPECT_EQ(own->GetNavChannel(0), 401u);
    // Above the count: the last port.
    ASSERT_TRUE(Dialog("D", "Target Dock (01 - 05), 0 to remove", "9"));
    EXPECT_EQ(S()->targetPort, 5);
    own->SetNavChannel(0, 5);
    ASSERT_TRUE(Key("N"));
    EXPECT_EQ(own->GetNavChannel(0), 404u);
    // The approach switch engages both holds; busy, the port keys are refused.
    ASSERT_TRUE(Key("G"));
    EXPECT_TRUE(S()->dockApOn && S()->holdOn);
    EXPECT_EQ(S()->transAxes, 3);
    EXPECT_FALSE(Key("L"));
    EXPECT_FALSE(Key("D"));
    ASSERT_TRUE(Key("G"));
    EXPECT_FALSE(S()->dockApOn || S()->holdOn);
    EXPECT_EQ(S()->transAxes, 7);
}

}  // namespace
