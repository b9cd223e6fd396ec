// The page frame and the mode pages, read from the recorded text grid.
#include <cmath>
#include <limits>
#include <string>

#include "display/format.h"
#include "display/pages.h"
#include "page_world.h"

extern "C" char *ModuleDate();

namespace {

const double kDeg = PI / 180.0;

class Pages : public PageWorld {
protected:
    void SetUp() override {
        AddShip("Ship");
        AddShip("Station", 0.0001);
    }
    OBJHANDLE Handle(const std::string &name) const { return Ship(name); }
    void Target(MfdState *S, const std::string &name) {
        S->targetRef = Handle(name);
        std::snprintf(S->targetRefName, sizeof S->targetRefName, "%s", name.c_str());
    }
    // Every text call ends at or before the grid's column 36.
    bool AllTextInsideGrid() const {
        for (const sim::DrawCall &c : pad.drawing().calls)
            if (c.kind == sim::DrawKind::Text && c.x0 + static_cast<int>(c.text.size()) * 6 > 17 + 36 * 6) return false;
        return true;
    }
};

TEST_F(Pages, StartUpProgressAndWelcomeScreen) {
    MfdState *S = State("Ship");
    S->warmUp = true;
    S->sampleCount = 3;
    Draw(S);
    EXPECT_EQ(At(18, 12, 15), "Initializing...");
    EXPECT_EQ(At(20, 18, 4), "60% ");
    EXPECT_FALSE(Shows("Att.Mode"));

    S->warmUp = false;
    S->modePage = true;
    Draw(S);
    EXPECT_EQ(At(10, 16, 7), "Welcome");
    char date[8];
    DateTextOf(ModuleDate(), date);  // this build's own date
    EXPECT_STREQ(date, "171119");
    EXPECT_EQ(At(35, 18, 17), std::string("TessarcMFD ") + date);
    EXPECT_EQ(ColourAt(35, 18), colGrey);
}

TEST_F(Pages, BuildDateFromCompileDate) {
    char text[8];
    DateTextOf("Jun 19 2017", text);
    EXPECT_STREQ(text, "170619");
    DateTextOf("Jan  3 2009", text);
    EXPECT_STREQ(text, "090103");
    DateTextOf("Foo 19 2017", text);
    EXPECT_STREQ(text, "000000");
}

TEST_F(Pages, HeaderCutsLongNamesAndMarksARemoteVessel) {
    const std::string name = "A-vessel-name-that-runs-to-forty-letters";
    AddShip(name);
    MfdState *S = PageState(name, AP_ATTITUDE);
    S->position = 6;
    Draw(S);
    EXPECT_EQ(At(1, 1, 34), name.substr(0, 31) + "(*)");
    EXPECT_EQ(At(1, 35, 2), "07");
    EXPECT_EQ(At(3, 1, 24), "Att.Mode : Set Attitude ");

    MfdState *own = PageState("Ship", AP_ATTITUDE);
    Draw(own);
    EXPECT_EQ(At(1, 1, 8), "Ship    ");  // the focus vessel: no marker
}

TEST_F(Pages, RenamedReferenceGivesAnEmptyFrameAndIssModeStopsThePage) {
    MfdState *S = PageState("Ship", AP_RELATIVE);
    Target(S, "Station");
    std::snprintf(S->targetRefName, sizeof S->targetRefName, "Old name");
    Draw(S);
    EXPECT_TRUE(screen.lines[0].find_first_not_of(' ') == std::string::npos);
    EXPECT_TRUE(pad.drawing().calls.empty());

    Target(S, "Station");
    S->alignVelocityRequest = true;
    Draw(S);
    EXPECT_EQ(At(18, 7, 24), "!!! ISS control mode !!!");
    EXPECT_FALSE(Shows("Att.Mode"));
}

TEST_F(Pages, ReferenceNamesAsLongAsTheirFieldsStillMatch) {
    // A name fills the 99 characters of its field, or is cut to them: either way the
    // host's current name, read the same way, is the same object's.
    for (size_t length : {98u, 99u, 120u}) {
        const std::string name(length, 'T');
        AddShip(name);
        MfdState *S = PageState("Ship", AP_RELATIVE);
        S->targetRef = Handle(name);
        std::snprintf(S->targetRefName, sizeof S->targetRefName, "%s", name.c_str());
        Draw(S);
        EXPECT_EQ(At(3, 1, 10), "Att.Mode :") << length;
        EXPECT_EQ(At(5, 1, 12), "Target: TTTT") << length;
    }
}

TEST_F(Pages, ReadoutDrawsNegativesInSilver) {
    MfdState *S = PageState("Ship", AP_VELOCITY);
    S->relAtt = _V(-2.5 * kDeg, 0.0, 12.345 * kDeg);
    S->angles = _V(0.0, -0.5 * kDeg, 0.0);
    S->angleRates = _V(0.25 * kDeg, 0.0, 0.0);
    Draw(S);
    EXPECT_EQ(At(12, 1, 20), "Set Pitch:  -002.500");
    EXPECT_EQ(ColourAt(12, 13), colSilver);
    EXPECT_EQ(At(13, 13, 8), "+000.000");
    EXPECT_EQ(ColourAt(13, 13), colYellow);
    EXPECT_EQ(At(14, 13, 8), "+012.345");
    EXPECT_EQ(At(18, 13, 8), "-000.500");
    EXPECT_EQ(ColourAt(18, 13), colSilver);
    EXPECT_EQ(At(17, 25, 8), "+000.250");
    EXPECT_EQ(ColourAt(17, 1), colYellow);  // no HOLD: yellow labels
}

TEST_F(Pages, DockingInvalidTargetAndRelativeSpeedBoundary) {
    MfdState *S = PageState("Ship", AP_DOCKING);
    Draw(S);  // the Earth is no docking target
    EXPECT_EQ(At(3, 12, 16), "Docking Relative");
    EXPECT_EQ(At(8, 23, 14), "Invalid Target");
    EXPECT_EQ(ColourAt(8, 23), colRed);
    EXPECT_FALSE(Shows("pX:"));
    EXPECT_FALSE(Shows("loc frame"));

    Target(S, "Station");
    S->ownPort = 1;
    S->targetPort = 0;
    S->targetRelSpeed = 0.005;
    S->angleRates = _V(0.1, 0.1, 0.1);
    Draw(S);
    EXPECT_EQ(At(9, 23, 14), "Rvel Alignment");
    EXPECT_EQ(At(8, 24, 13), "Local Dock:01");
    EXPECT_EQ(At(22, 28, 9), "loc frame");
    EXPECT_EQ(At(19, 24, 3), "pZ:");
    EXPECT_EQ(TextCalls("+005.730"), 0);  // no rate column in the Docking mode (0.1 rad/s)
    EXPECT_EQ(At(17, 24, 11), "pX:   0.000");
    EXPECT_EQ(At(12, 1, 10), "Lateral  :");  // translation readout, not set offsets
    EXPECT_EQ(At(12, 24, 3), "rX:");

    S->targetRelSpeed = 0.00499;
    Draw(S);
    EXPECT_EQ(At(9, 23, 14), "Rvel          ");
    S->targetPort = 2;
    Draw(S);
    EXPECT_EQ(At(9, 23, 14), "Target Dock:02");
    EXPECT_EQ(At(22, 28, 9), "tgt frame");
}

TEST_F(Pages, StatusColumnUnderLockoutNamesTheDrivingMfd) {
    MfdState *S = PageState("Ship", AP_VELOCITY);
    S->holdOn = true;
    S->transAxes = 3;
    S->targetSet = true;
    S->rollMode = 1;
    Draw(S);
    EXPECT_EQ(At(26, 33, 4), "HOLD");
    EXPECT_EQ(At(28, 33, 4), "TRIM");
    EXPECT_EQ(At(22, 30, 6), "FOLLOW");
    EXPECT_EQ(ColourAt(17, 1), colLightBlue);

    S->lockedOut = true;
    S->vesselPosMask = 0x0C;  // positions 2 and 3 drive the vessel
    Draw(S);
    EXPECT_EQ(At(27, 28, 9), "AP active");
    EXPECT_EQ(At(29, 28, 9), "on mfd 03");
    EXPECT_EQ(ColourAt(29, 28), colGreen);
    EXPECT_FALSE(Shows("HOLD"));
    EXPECT_FALSE(Shows("TRIM"));
    EXPECT_FALSE(Shows("FOLLOW"));
    EXPECT_EQ(At(35, 28, 9), "KILL ROLL");
}

TEST_F(Pages, DockApproachAndArmedBurnInTheStatusColumn) {
    MfdState *S = PageState("Ship", AP_RELATIVE);
    S->dockApOn = true;
    S->burnArmed = true;
    S->rollMode = 2;
    Draw(S);
    EXPECT_EQ(At(27, 28, 4), "ZERO");  // no port pair
    EXPECT_FALSE(Shows("GO"));          // a burn never shows while docking
    EXPECT_EQ(At(35, 29, 7), "NO ROLL");
    S->dockApOn = false;
    Draw(S);
    EXPECT_EQ(At(31, 35, 2), "GO");
}

TEST_F(Pages, VelocityPageAltitudeAboveGravityBodyDistanceOtherwise) {
    MfdState *S = PageState("Ship", AP_VELOCITY);
    S->relPos = _V(earth->radius + 300e3, 0, 0);
    Draw(S);
    EXPECT_EQ(At(8, 1, 18), "Altitude :  300.0k");
    EXPECT_NE(At(8, 23, 14).find("Ecc.: 0.0"), std::string::npos);
    EXPECT_EQ(At(8, 29, 6).size(), 6u);
    EXPECT_EQ(At(8, 29, 6).find('.'), 1u);  // four decimals
    EXPECT_EQ(At(5, 1, 17), "Ref.Frame:  Earth");

    S->bodyRef = sun;
    std::snprintf(S->bodyRefName, sizeof S->bodyRefName, "Sun");
    S->relPos = _V(1.496e11, 0, 0);
    Draw(S);
    EXPECT_EQ(At(8, 1, 19), "Distance :  1.000AU");
    EXPECT_FALSE(Shows("Ecc.:"));
    EXPECT_FALSE(Shows("Spd.:"));
}

TEST_F(Pages, AttitudePageAnglesInDegrees) {
    MfdState *S = PageState("Ship", AP_ATTITUDE);
    S->refAtt = _V(12.3456 * kDeg, -1.5 * kDeg, 0.0);
    Draw(S);
    EXPECT_EQ(At(6, 1, 33), "Ref Att:  +012.35 -001.50 +000.00");
    EXPECT_EQ(At(9, 1, 10), "Cur Att:  ");
}

TEST_F(Pages, DirectBurnWarningColoursAndFuelShare) {
    MfdState *S = PageState("Ship", AP_DIRECT_BURN);
    S->burnMjd = oapiGetSimMJD() + 6.0 / 86400.0;
    S->landingValues[6] = 425.0;  // of 1000 kg on board
    Draw(S);
    EXPECT_EQ(At(3, 12, 11), "Direct Burn");
    EXPECT_EQ(At(5, 23, 6), "TBurn:");
    EXPECT_EQ(ColourAt(5, 23), colRed);
    EXPECT_EQ(ColourAt(5, 1), colYellow);
    EXPECT_EQ(ColourAt(11, 23), colYellow);  // nothing left to burn: no sky blue
    EXPECT_EQ(At(11, 23, 12), "dVRem: 10.00");
    EXPECT_EQ(At(13, 30, 6), "042.5%");
    EXPECT_EQ(At(13, 35, 1), "%");
    EXPECT_EQ(At(11, 2, 9), "-dY,dVf :");  // the burn vector replaces the set offsets

    S->landingValues[4] = 3.0;
    S->orbitInsert = true;
    S->transXSync = true;
    S->ejectDateDiff = 1.25;
    Draw(S);
    EXPECT_EQ(At(3, 12, 21), "Orbit Insert(TX sync)");
    EXPECT_EQ(ColourAt(11, 23), colSkyBlue);
    EXPECT_EQ(At(8, 1, 9), "EjD: 1.25");

    Ship("Ship")->tankMass[0] = 0.0;
    S->burnMjd = oapiGetSimMJD() + 60.0 / 86400.0;
    Draw(S);
    EXPECT_EQ(ColourAt(5, 23), colYellow);
    EXPECT_EQ(At(13, 30, 5), "---.-");
}

TEST_F(Pages, AscentPhaseWordsAndTargets) {
    MfdState *S = PageState("Ship", AP_ASCENT);
    S->ascentAngle = 51.6 * kDeg;
    S->landingValues[1] = 90.0 * kDeg;
    S->ascentMode = 2;
    Draw(S);
    EXPECT_EQ(At(3, 12, 15), "Ascent - ASCENT");
    EXPECT_EQ(At(8, 1, 19), "TgtEquInc:  +51.600");
    EXPECT_EQ(At(11, 1, 19), "TgtAzimuth: +090.00");
    EXPECT_EQ(At(6, 1, 18), "TgtAltitude: 50.00");
    EXPECT_FALSE(Shows("Set Pitch"));
    S->ascentMode = 7;
    Draw(S);
    EXPECT_EQ(At(3, 12, 15), "Ascent         ");
}

TEST_F(Pages, ExtremeValuesStayOnTheGridAndEveryToolIsReleased) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::string longName(98, 'Q'), longTarget = std::string(97, 'Q') + "R";
    AddShip(longName);
    AddShip(longTarget);
    for (int mode : {AP_VELOCITY, AP_RELATIVE, AP_ATTITUDE, AP_DOCKING, AP_DIRECT_BURN, AP_ASCENT}) {
        MfdState *S = PageState(longName, mode);
        Target(S, longTarget);
        S->targetSet = true;
        S->relPos = _V(1e300, nan, 0);
        S->relVel = _V(nan, 0, 0);
        S->targetRelSpeed = 1e300;
        S->relAtt = _V(1e300, -1e300, nan);
        S->angles = _V(nan, 1e300, -1e300);
        S->angleRates = _V(1e300, nan, 0);
        S->rotCmd = _V(nan, 1e300, -1e300);
        S->linCmd = _V(1e300, nan, 1e300);
        S->burnMjd = 1e300;
        S->landingValues[6] = nan;
        S->ascentAlt = 1e300;
        S->dockXyz = _V(-1e300, nan, 1e300);
        S->globalOrientation = _V(nan, 1e300, -1e300);
        Draw(S);
        EXPECT_TRUE(AllTextInsideGrid()) << mode;
        EXPECT_TRUE(sim::toolLedger().pens.empty()) << mode;
        EXPECT_TRUE(sim::toolLedger().brushes.empty()) << mode;
        EXPECT_TRUE(Shows(longName.substr(0, 31) + "(*)")) << mode;
    }
    summaryCount = 4;
    int32_t line = 4, slot = -1;
    DrawSummary(0, &line, &slot, longName.c_str());
    EXPECT_TRUE(AllTextInsideGrid());
    EXPECT_EQ(slot, 3);
}

TEST_F(Pages, VelocityPageFollowingATargetAndSpinWords) {
    MfdState *S = PageState("Ship", AP_VELOCITY);
    Target(S, "Station");
    S->targetSet = true;
    S->targetRelPos = _V(300, 400, 0);
    S->targetRelVel = _V(0, 0, -2.5);
    S->spinMode = 1;
    Draw(S);
    EXPECT_EQ(At(3, 12, 14), "Velocity - RPM");
    EXPECT_EQ(At(5, 1, 19), "Ref.Object: Station");
    EXPECT_EQ(At(8, 23, 12), "Rpos:  500.0");
    EXPECT_EQ(At(9, 23, 12), "Rvel:  2.500");
    EXPECT_FALSE(Shows("Ecc.:"));
    EXPECT_EQ(At(22, 30, 6), "FOLLOW");
    S->spinMode = 2;
    Draw(S);
    EXPECT_EQ(At(3, 12, 14), "Velocity - TOR");
    S->spinMode = 0;
    Draw(S);
    EXPECT_EQ(At(3, 12, 14), "Velocity      ");
}

TEST_F(Pages, RelativePageAgainstTheGravityBodyOrAVessel) {
    MfdState *S = PageState("Ship", AP_RELATIVE);
    S->targetRelSpeed = 12.5;
    S->targetSet = true;  // follows only in the Velocity mode
    Draw(S);               // the target is still the Earth
    EXPECT_EQ(At(3, 12, 16), "Surface Relative");
    EXPECT_EQ(At(9, 1, 17), "Hor.Vel. :  12.50");
    EXPECT_FALSE(Shows("rX:"));
    EXPECT_FALSE(Shows("FOLLOW"));
    EXPECT_EQ(At(22, 28, 9), "loc frame");

    Target(S, "Station");
    S->targetRelPos = _V(-1500, 20, 0);
    Draw(S);
    EXPECT_EQ(At(3, 12, 16), "Relative        ");
    EXPECT_EQ(At(9, 1, 17), "Rad.Vel. :  12.50");
    EXPECT_EQ(At(12, 24, 12), "rX:  -1.500k");
    EXPECT_EQ(ColourAt(12, 29), colSilver);
    EXPECT_EQ(At(13, 24, 11), "rY:   20.00");
    EXPECT_EQ(ColourAt(13, 29), colYellow);
}

TEST_F(Pages, ReadoutShowsOffsetsOrTranslationByModeAndHeldAxesInOrangeRed) {
    MfdState *S = PageState("Ship", AP_RELATIVE);
    S->showSetAttitude = false;  // the pilot's choice holds in the Relative mode
    S->axisMask = 0x5;           // x and z under translation hold
    S->targetRelVel = _V(0.25, -0.5, 1200);
    Draw(S);
    EXPECT_EQ(S->showSetAttitude, 0);
    EXPECT_EQ(At(12, 1, 18), "Lateral  :   0.250");
    EXPECT_EQ(ColourAt(12, 1), colOrangeRed);
    EXPECT_EQ(ColourAt(13, 1), colYellow);
    EXPECT_EQ(ColourAt(13, 13), colSilver);
    EXPECT_EQ(ColourAt(14, 1), colOrangeRed);
    EXPECT_EQ(At(14, 13, 6), " 1.200");

    S->refMode = AP_VELOCITY;  // every other mode but Docking shows the set offsets
    Draw(S);
    EXPECT_EQ(S->showSetAttitude, 1);
    EXPECT_EQ(At(12, 1, 10), "Set Pitch:");
    S->refMode = AP_DOCKING;
    Draw(S);
    EXPECT_EQ(S->showSetAttitude, 0);
}

TEST_F(Pages, DockingApproachWithAPortPairAndTheDockedNotice) {
    MfdState *S = PageState("Ship", AP_DOCKING);
    Target(S, "Station");
    S->dockApOn = true;
    S->ownPort = 1;
    S->targetPort = 1;
    S->lastDockedCount = 1;
    Draw(S);
    EXPECT_EQ(At(27, 28, 4), "DOCK");
    EXPECT_EQ(ColourAt(27, 28), colRed);
    EXPECT_EQ(At(8, 24, 13), "Local Dock:01");
    EXPECT_EQ(At(9, 23, 14), "Target Dock:01");
    EXPECT_EQ(At(22, 28, 9), "tgt frame");
    EXPECT_EQ(At(33, 30, 6), "Docked");  // lowered by two thirds of a row: still row 33
    EXPECT_EQ(ColourAt(33, 30), colGrey);
}

}  // namespace
