// Input dialogs in flight: each box's title, what its text changes, and that a
// refused text changes nothing and keeps the box open.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "control/modes.h"
#include "control/profile.h"
#include "keys_fixture.h"
#include "landing/target.h"
#include "mfd/dialogs.h"
#include "mfd/setters.h"

namespace {

using pilot::Cockpit;

TEST_F(Cockpit, RemoteVesselByNameAndEmptyLineForTheFocus) {
    Fly(pilot::kOrbitScenario);
    const std::string title = "Select remote vessel( empty line to focus )";
    ASSERT_TRUE(Dialog("Tab", title, "ISS"));
    EXPECT_STREQ(S()->vesselName, "ISS");
    ASSERT_TRUE(Key("Tab"));
    EXPECT_FALSE(f.type(0, "Nobody"));
    EXPECT_TRUE(f.boxOpen(0));  // refused: the box stays
    EXPECT_STREQ(S()->vesselName, "ISS");
    ASSERT_TRUE(f.type(0, ""));
    EXPECT_STREQ(S()->vesselName, "SH-01");
}

// A host may keep a box open after the MFD that opened it is gone; its answer
// must then be refused instead of reaching the destroyed object.
TEST_F(Cockpit, BoxOutlivingItsMfdIsRefused) {
    Fly(pilot::kOrbitScenario);
    ASSERT_TRUE(Key("Tab"));
    const sim::InputBox box = f.host.display(0).box;
    ASSERT_TRUE(box.open && box.callback);
    ASSERT_TRUE(f.recreate(0));
    char text[] = "ISS";
    EXPECT_FALSE(box.callback(nullptr, text, box.userData));
    EXPECT_STREQ(S()->vesselName, "SH-01");
    // The new MFD's own box works.
    ASSERT_TRUE(Key("Tab"));
    ASSERT_TRUE(f.type(0, "ISS"));
    EXPECT_STREQ(S()->vesselName, "ISS");
}

TEST_F(Cockpit, ReferenceAndTargetNames) {
    Fly(pilot::kOrbitScenario);
    Mode("1");
    ASSERT_TRUE(Dialog("B", "TessarcMFD: Reference", "moon"));
    EXPECT_EQ(S()->bodyRef, oapiGetGbodyByName(const_cast<char *>("Moon")));
    EXPECT_STREQ(S()->bodyRefName, "Moon");
    // Vessels and names that match nothing are no reference bodies.
    EXPECT_FALSE(Dialog("B", "TessarcMFD: Reference", "ISS"));
    EXPECT_FALSE(Dialog("B", "TessarcMFD: Reference", std::string(255, 'M')));
    EXPECT_STREQ(S()->bodyRefName, "Moon");

    // A vessel target in the Velocity mode is followed; the vessel itself is refused.
    EXPECT_FALSE(Dialog("T", "TessarcMFD: Target", "SH-01"));
    EXPECT_FALSE(S()->targetSet);
    S()->targetPort = 2;
    ASSERT_TRUE(Dialog("T", "TessarcMFD: Target", "iss"));
    EXPECT_EQ(S()->targetRef, f.handle("ISS"));
    EXPECT_STREQ(S()->targetRefName, "ISS");
    EXPECT_TRUE(S()->targetSet);
    EXPECT_EQ(S()->targetPort, 0);
    // A full line of any bytes is looked up and refused without harm.
    std::string junk;
    for (int i = 0; i < 255; ++i) junk += static_cast<char>(1 + (i * 37) % 255);
    EXPECT_FALSE(Dialog("T", "TessarcMFD: Target", junk));
    EXPECT_STREQ(S()->targetRefName, "ISS");
}

TEST_F(Cockpit, AttitudeOffsetsInDegrees) {
    Fly(pilot::kOrbitScenario);
    Mode("3");
    ASSERT_TRUE(Dialog("P", "Select Pitch", "P12 5"));
    EXPECT_NEAR(S()->relAtt.x, 12.5 * RAD, 1e-12);
    EXPECT_TRUE(S()->showSetAttitude);
    ASSERT_TRUE(Dialog("Y", "Select Yaw", "-30"));
    EXPECT_NEAR(S()->relAtt.y, -30.0 * RAD, 1e-12);
    EXPECT_FALSE(Dialog("R", "Select Roll", "level"));
    EXPECT_FALSE(Dialog("R", "Select Roll", "nan"));
    EXPECT_EQ(S()->relAtt.z, 0.0);
    ASSERT_TRUE(Dialog("R", "Select Roll", "R90"));
    EXPECT_NEAR(S()->relAtt.z, 90.0 * RAD, 1e-12);
}

TEST_F(Cockpit, DockingOffsetFromTheLineOrTheCurrentPosition) {
    Fly(pilot::kOrbitScenario);
    Mode("4");
    ASSERT_TRUE(Dialog("T", "TessarcMFD: Target", "ISS"));
    const std::string title =
        "'X0.0' and/or 'Y0.0' and/or 'Z0.0' or '+x.x +x.x +x.x' , empty or 'U' to set to current";
    ASSERT_TRUE(Dialog("X", title, "1 2 3"));
    EXPECT_EQ(S()->dockXyz.x, 1.0);
    EXPECT_EQ(S()->dockXyz.y, 2.0);
    EXPECT_EQ(S()->dockXyz.z, 3.0);
    ASSERT_TRUE(Dialog("X", title, "X5"));
    EXPECT_EQ(S()->dockXyz.x, 5.0);
    EXPECT_EQ(S()->dockXyz.y, 2.0);
    EXPECT_FALSE(Dialog("X", title, "1 2"));
    EXPECT_EQ(S()->dockXyz.z, 3.0);
    S()->targetRelPos = _V(-7.0, 8.0, 1900.0);
    ASSERT_TRUE(Dialog("X", title, ""));
    EXPECT_EQ(S()->dockXyz.x, -7.0);
    EXPECT_EQ(S()->dockXyz.y, 8.0);
    EXPECT_EQ(S()->dockXyz.z, 1900.0);
}

TEST_F(Cockpit, SummaryRatesAndSwapActOnTheVesselUnderTheCursor) {
    Fly(pilot::kOrbitScenario);
    // Before the summary has been drawn there is no vessel under the cursor.
    Mfd()->summaryShown = true;
    ASSERT_TRUE(Key("R"));
    EXPECT_FALSE(f.boxOpen(0));
    f.draw(0);
    ASSERT_GE(Mfd()->summarySlot, 0);
    ThrusterProfile *P = S()->profile;
    const std::string rates = "Maximum rates (format: set 'r' for rotation or 'l' for linear,  then  x.x  x.x  x.x)";
    ASSERT_TRUE(Dialog("R", rates, "r 1 2 3"));
    EXPECT_NEAR(P->rateLimit[0], 1.0 * RAD, 1e-12);
    EXPECT_NEAR(P->rateLimit[2], 3.0 * RAD, 1e-12);
    ASSERT_TRUE(Dialog("R", rates, "r P10"));  // never raises
    EXPECT_NEAR(P->rateLimit[0], 1.0 * RAD, 1e-12);
    ASSERT_TRUE(Dialog("R", rates, "r Y0 5"));
    EXPECT_NEAR(P->rateLimit[1], 0.0, 1e-12);
    ASSERT_TRUE(Dialog("R", rates, "l -0.2 0.3 0.4"));
    EXPECT_NEAR(P->approachSpeed[0], 0.2, 1e-12);
    EXPECT_FALSE(Dialog("R", rates, "x 1 2 3"));
    EXPECT_NEAR(P->rateLimit[2], 3.0 * RAD, 1e-12);
    ASSERT_TRUE(Dialog("R", rates, "r a"));
    const VECTOR3 defaults = VesselClassLimits(P->vessel, kClassRates);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(P->rateLimit[k], defaults.data[k]);

    const std::string swap = "Swap MFD 01 with another MFD (max:32)";
    EXPECT_FALSE(Dialog("S", swap, "1"));  // its own position
    EXPECT_FALSE(Dialog("S", swap, "33"));
    EXPECT_FALSE(Dialog("S", swap, "none"));
    MfdState *mine = S();
    ASSERT_TRUE(Dialog("S", swap, "S2"));
    EXPECT_EQ(mine->position, 1);

    // Cut-off altitude and landing precision from the summary page.
    f.draw(0);
    ASSERT_TRUE(Dialog("A", "TessarcMFD: Set engine cut off altitude (in meters)", "0 25"));
    EXPECT_EQ(S()->cutoffAlt, 0.25);
    // What the Moon allows is too high a fall under Earth's gravity.
    EXPECT_FALSE(Dialog("A", "TessarcMFD: Set engine cut off altitude (in meters)", "2 5"));
    EXPECT_EQ(S()->cutoffAlt, 0.25);
    const int precision = S()->landingPrecision;
    ASSERT_TRUE(Key("P"));
    EXPECT_EQ(S()->landingPrecision, (precision + 1) % 3);
}

TEST_F(Cockpit, BurnTimeAndVelocityAlignmentConfirmation) {
    Fly(pilot::kOrbitScenario);
    SelectMode(S(), S()->refMode, AP_DIRECT_BURN);
    const std::string title = "Set Time to Burn (M xxx.xx for MJD format)";
    const double now = oapiGetSimMJD();
    ASSERT_TRUE(Dialog("T", title, "600"));
    EXPECT_NEAR((S()->burnMjd - now) * 86400.0, 600.0, 1e-3);
    ASSERT_TRUE(Dialog("T", title, "M60001 5"));
    EXPECT_DOUBLE_EQ(S()->burnMjd, 60001.5);
    EXPECT_FALSE(Dialog("T", title, "soon"));
    EXPECT_DOUBLE_EQ(S()->burnMjd, 60001.5);

    const std::string align = "Set Z-axis along velocity vector? (press Enter or Escape)";
    ASSERT_TRUE(Key("I"));
    ASSERT_TRUE(f.cancel(0));
    EXPECT_FALSE(S()->alignVelocityRequest);
    ASSERT_TRUE(Dialog("I", align, ""));
    EXPECT_TRUE(S()->alignVelocityRequest);
    ASSERT_TRUE(Key("I"));  // pending: the key withdraws it
    EXPECT_FALSE(S()->alignVelocityRequest);
    EXPECT_FALSE(f.boxOpen(0));
}

// Text that reads as a number but not as a value of its box: the box refuses,
// and nothing of the state or the vessel's rate limits changes. The last text of
// each row is one the box takes.
TEST_F(Cockpit, ValuesBeyondWhatTheyMeanAreRefused) {
    Fly(pilot::kMoonScenario);
    f.draw(0);
    Mfd()->summaryShown = true;
    f.draw(0);
    ASSERT_GE(Mfd()->summarySlot, 0);
    Mfd()->summaryShown = false;
    Mode("5");
    ASSERT_TRUE(ApplyDialogText(Mfd(), S(), DIALOG_LANDING_BASE, "Brighton Beach"));
    const std::string digits(300, '9');
    struct Row {
        DialogKind kind;
        std::vector<std::string> refused;
        const char *taken;
    } rows[] = {
        {DIALOG_ELEVATION, {"1e308", "0x10", digits, "-1800000", "1 e9"}, "250"},
        // The cut-off: a fall from beyond a few metres meets the Moon too hard.
        {DIALOG_CUTOFF, {"1e6", "-20000", "0x1p3", "1e308", "50", "3"}, "2 5"},
        {DIALOG_PITCH, {"1e9", "P0x10", "-400"}, "P12 5"},
        {DIALOG_DV_PROGRADE, {"1e7", digits}, "-150"},
        {DIALOG_BURN_TIME, {"1e12", "M1e9", "M-5"}, "600"},
        {DIALOG_INCLINATION, {"1000", "0X5"}, "51 6"},
        {DIALOG_DISTANCE, {"X1e9", "1 2 1e6", "Z0x10"}, "X5 Y-2 Z30"},
        {DIALOG_RATES, {"r 1e6 1 1", "l 1 1e5 1", "r P0x1"}, "r 1 2 3"},
    };
    ThrusterProfile *P = S()->profile;
    for (const Row &row : rows) {
        for (const std::string &text : row.refused) {
            MfdState before;
            ThrusterProfile profile;
            std::memcpy(&before, S(), sizeof before);
            std::memcpy(&profile, P, sizeof profile);
            EXPECT_FALSE(ApplyDialogText(Mfd(), S(), row.kind, text.c_str())) << row.kind << " " << text;
            EXPECT_EQ(std::memcmp(&before, S(), sizeof before), 0) << row.kind << " " << text;
            EXPECT_EQ(std::memcmp(&profile, P, sizeof profile), 0) << row.kind << " " << text;
        }
        EXPECT_TRUE(ApplyDialogText(Mfd(), S(), row.kind, row.taken)) << row.kind << " " << row.taken;
    }
    EXPECT_LT(std::fabs(S()->elevation), 2000.0);
    f.run(2);
    f.draw(0);
    EXPECT_EQ(f.screenText(0).find("nan"), std::string::npos);
    EXPECT_EQ(f.screenText(0).find("inf"), std::string::npos);
}

}  // namespace
