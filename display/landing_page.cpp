// The Landing page: texts, navigation values, attitude, engine level and the
// graph's frame. The profile inside the frame is in landing_graph.cpp.
#include "display/landing_page.h"

#include <cmath>
#include <cstdio>

#include "display/format.h"
#include "display/primitives.h"
#include "frame/state.h"

namespace {

const DWORD colBrown = 0x2A2AA5;
const DWORD colSalmon = 0x7A96E9;
const DWORD colDarkGreen = 0x008000;

const double halfPi = 1.5707963267948966;
const double secondsPerDay = 86400.0;

// Planning failures, no thrust, no attitude propellant, a pass too close or
// beyond one orbit, a target out of reach, a hard contact: no burn or end times
// to show.
const uint32_t planningFailedBits = kLandNoAttitudeFuel | kLandDetNegative | kLandBtNegative | kLandTooLate |
                                    kLandAlignment | kLandNoThrust | kLandNoFuel | kLandBeyondOrbit |
                                    kLandOutOfReach | kLandHardContact | kLandTooFastLow;
// landingFlags bits that stop the autopilot (shown in red, no profile).
const uint32_t errorBits = planningFailedBits | kLandNoBase | kLandTargetNotLanded | kLandTargetInvalid |
                           kLandNoTarget | kLandEccentricity;
// The trajectory could not be solved: no tracking values.
const uint32_t noSolutionBits = kLandDetNegative | kLandBtNegative;

bool Bit(uint32_t flags, int n) { return (flags >> n & 1u) != 0; }

// What an orbit's pass plan finds wrong, which HOLD does not rely on where it
// would land from here.
const uint32_t orbitPlanBits = kLandDetNegative | kLandBtNegative | kLandCollision | kLandTooLow | kLandTooLate |
                               kLandAlignment | kLandNoFuel | kLandBeyondOrbit | kLandEccentricity;

// The bits the page shows: the planner's, and the reasons the autopilot let go
// for, which stay until the pilot acts.
uint32_t ShownFlags(const MfdState *S) {
    const uint32_t planner = S->landingFlags & kLandFromHere ? S->landingFlags & ~orbitPlanBits : S->landingFlags;
    return planner | S->landingRefusal;
}

// The status line: each condition that holds replaces the text, so the last wins.
const char *StatusMessage(uint32_t flags, int32_t phase) {
    struct Rule {
        int bit;
        const char *text;
    };
    static const Rule rules[] = {
        {7, "WARNING:trajectory too low"}, {2, "critical landing phase"},     {1, "no base on gravity ref"},
        {10, "target vessel not valid"},   {11, "target not valid"},          {5, "bt negative"},
        {4, "det negative"},               {9, "target vessel not landed"},   {16, "eccentricity too high"},
        {12, "stopping descent"},          {14, "no thrust available"},       {6, "DANGER:collision trajectory"},
        {13, "alignment not valid"},       {15, "not enough fuel"},            {3, "no attitude propellant"},
        {8, "pass too close to brake"},    {17, "pass beyond one orbit"},      {18, "target out of reach"},
        {19, "hard contact at touchdown"}, {21, "too fast, too low to stop"}, {22, "elevation is off host ground"},
        {24, "HLD lands from here"},
    };
    const char *text = "no error";
    for (const Rule &r : rules)
        if (Bit(flags, r.bit)) text = r.text;
    if (phase == LANDING_TOUCHDOWN) text = "Touchdown:applying full brakes";
    if (phase == LANDING_LANDED) text = "Landing complete";
    return text;
}

void DrawTargetLine(const MfdState *S, TextGrid &g) {
        char text[textBufferSize];
    g.thirdRows = 1;
    if (S->manualTarget != 0) {
        PutText(g, 5, 1, "Manual Location:", colYellow);
        std::snprintf(text, sizeof text, "%0+6.3f %0+6.3f", S->targetLon * DEG, S->targetLat * DEG);
        PutText(g, 5, 18, text, colWhite);
        return;
    }
    const int type = oapiGetObjectType(S->targetRef);
    if (type == OBJTP_SURFBASE || type == OBJTP_VESSEL) {
        PutText(g, 5, 1, "Target:", colYellow);
        if (S->padIndex > 0)
            std::snprintf(text, sizeof text, "%.22s - %02i", S->targetRefName, static_cast<int>(S->padIndex));
        else
            std::snprintf(text, sizeof text, "%.*s", textBufferSize - 1, S->targetRefName);
        PutText(g, 5, 9, text, colWhite);
    } else {
        PutLabelled(g, 5, 1, "Ref.Body: ", "%s", S->bodyRefName, colYellow);
    }
}

// "yzdV:" and "Fuel:" on row 16.
void DrawBudget(const MfdState *S, TextGrid &g) {
    PutText(g, 16, 9, "yzdV:", colWhite);
    PutScaled(g, 16, 14, S->landingDv, colWhite);
    PutText(g, 16, 23, "Fuel:", colWhite);
    PutScaled(g, 16, 28, S->landingValues[LV_FUEL], colWhite);
}

// Two labelled values on row 30, a third of a row lower, orange-red.
void DrawRow30(TextGrid &g, const char *l1, int v1Col, double v1, const char *l2, int v2Col, double v2) {
    g.thirdRows = 1;
    PutText(g, 30, 10, l1, colOrangeRed);
    PutScaled(g, 30, v1Col, v1, colOrangeRed);
    PutText(g, 30, 23, l2, colOrangeRed);
    PutScaled(g, 30, v2Col, v2, colOrangeRed);
    g.thirdRows = 0;
}

void DrawWaiting(const MfdState *S, TextGrid &g, double t, DWORD c) {
        PutText(g, 3, 28, "WAIT", c);
    if (S->holdOn) {
        static const char *const attModes[4] = {nullptr, "PRO", "FOR", "BRK"};
        if (S->landingAttMode >= 1 && S->landingAttMode <= 3) PutText(g, 3, 34, attModes[S->landingAttMode], colBrown);
    }
    if ((S->landingFlags & kLandFromHere) != 0) {
        // No pass to wait for: HOLD plans from where the vessel is.
    } else if ((ShownFlags(S) & planningFailedBits) == 0) {
        PutText(g, 14, 4, "Burn start time:", colYellow);
        PutScaled(g, 14, 20, -t, colYellow);
        PutScaled(g, 14, 28, S->landingWork[LW_PASS_TIME], colGrey);
        DrawBudget(S, g);
        DrawRow30(g, "areq:", 14, S->landingWork[LW_ACCEL_NEEDED], "trig:", 27, S->landingWork[LW_ACCEL_TRIGGER]);
    } else {
        PutText(g, 14, 6, "Next closest passage:", colGrey);
        PutScaled(g, 14, 27, S->landingWork[LW_PASS_TIME], colGrey);
    }
    g.thirdRows = 2;
    PutText(g, 12, 1, "(max :        )", colGrey);
    PutScaled(g, 12, 8, S->passHalfWidth, colGrey);
    g.thirdRows = 0;
}

// The phase word on row 3 and the phase's line on row 14 (or 18).
void DrawPhase(const MfdState *S, TextGrid &g, double t, DWORD c) {
        const bool timesShown = (ShownFlags(S) & planningFailedBits) == 0;
    const double endTime = S->landingConsts[LC_DURATION];
    switch (S->landingPhase) {
    case LANDING_WAIT: DrawWaiting(S, g, t, c); break;
    case LANDING_BRAKE:
        PutText(g, 3, 28, "BRAKE", c);
        if (timesShown) {
            PutText(g, 14, 4, "Brake end time:", colYellow);
            PutScaled(g, 14, 19, (endTime - S->landingParams[LP_BRAKE_LEAD]) - t, colYellow);
        }
        break;
    case LANDING_APPROACH:
        PutText(g, 3, 28, "APPROACH", c);
        if (timesShown) {
            PutText(g, 14, 4, "Approach end time:", colYellow);
            PutScaled(g, 14, 22, (endTime - S->landingParams[LP_APPROACH_LEAD]) - t, colYellow);
        }
        break;
    case LANDING_FINAL:
        PutText(g, 3, 28, "FINAL", c);
        PutText(g, 14, 4, "Landing phase", colYellow);
        break;
    case LANDING_TOUCHDOWN:
        PutText(g, 3, 27, "TOUCHDOWN", c);
        PutText(g, 14, 4, "Waiting full stop.", colYellow);
        break;
    case LANDING_LANDED:
        PutText(g, 3, 27, "LANDED", colWhite);
        PutText(g, 14, 4, "Landed.", colYellow);
        break;
    case LANDING_NO_SOLUTION: PutText(g, 18, 8, "! unable to find a solution !", colRed); break;
    default: break;  // REPLAN, FINAL_START and BRAKE_NOW last one step each
    }
    if (S->landingPhase >= LANDING_BRAKE && S->landingPhase <= LANDING_FINAL_START &&
        (S->landingFlags & noSolutionBits) == 0) {
        DrawBudget(S, g);
        DrawRow30(g, "errY:", 15, S->landingWork[LW_FIX_HEIGHT], "errZ:", 28, S->landingWork[LW_FIX_ALONG]);
    }
}

void DrawNavigation(const MfdState *S, TextGrid &g) {
        struct Row {
        int row, thirds;
        const char *left;
        int leftValue;
        const char *right;
        int rightValue;
    };
    static const Row rows[3] = {
        {8, 0, "GrdD :", 0, "velZ:", 1}, {9, 2, "HgtD :", 2, "velY:", 3}, {11, 1, "Algn :", 4, "velX:", 5}};
    for (const Row &r : rows) {
        g.thirdRows = r.thirds;
        PutText(g, r.row, 1, r.left, colYellow);
        PutScaled(g, r.row, 8, S->landingWork[r.leftValue], colYellow);
        PutText(g, r.row, 19, r.right, colYellow);
        PutScaled(g, r.row, 25, S->landingWork[r.rightValue], colYellow);
    }
    PutScaled(g, 28, 9, S->elevation, colGrey);
    g.thirdRows = 2;
    if (S->invertRotation) PutText(g, 33, 30, "InvMode", colGrey);
    g.thirdRows = 0;
}

void DrawAttitudeAndEngine(const MfdState *S, TextGrid &g) {
        double pitch = 0.0, bank = 0.0, level = 0.0;
    if (S->vessel != nullptr) {
        pitch = S->vessel->GetPitch();
        bank = S->vessel->GetBank();
        level = S->vessel->GetThrusterGroupLevel(S->useHover ? THGROUP_HOVER : THGROUP_MAIN);
    }
    if (std::fabs(bank) > halfPi) pitch = PI - pitch;  // upside down: pitch seen from the horizon
    PutText(g, 32, 10, "cp:", colDarkGreen);
    PutNumber(g, 32, 13, "%0+8.3f", pitch * DEG, colDarkGreen);
    PutText(g, 32, 23, "cr:", colDarkGreen);
    PutNumber(g, 32, 26, "%0+8.3f", bank * DEG, colDarkGreen);

    PutText(g, 17, 1, S->useHover ? "Hover" : "Main", colWhite);
    GridRect(g, 1, 18, 4, 29, 1, 1, false, colWhite);
    CentreBar(g, 1, 18, 4, 40, 1, 1, -level, true, colWhite);  // grows up from row 29
    PutNumber(g, 30, 1, "%.3f", level, colWhite);
}

void DrawGraphFrame(TextGrid &g) {
    GridLine(g, 7, 29, 35, 29, 1, 1, colYellow);
    GridLine(g, 7, 29, 7, 17, 1, 1, colYellow);
    g.thirdRows = 0;
    PutText(g, 17, 7, "y", colYellow);
    g.thirdRows = 2;
    PutText(g, 29, 35, "z", colYellow);
    g.thirdRows = 0;
}

}  // namespace

bool LandingProfileShown(const MfdState *S) {
    return (ShownFlags(S) & errorBits) == 0 && (S->landingFlags & kLandFromHere) == 0;
}

double LandingPageTime(const MfdState *S) { return (oapiGetSimMJD() - S->brakeStartMjd) * secondsPerDay; }

void DrawLandingPage(const MfdState *S, TextGrid &g) {
    if (S == nullptr) return;
    g.thirdRows = 1;
    PutNumber(g, 35, 32, "%0.2f", S->stepDt, colBrown);

    g.thirdRows = 0;
    PutText(g, 3, 12, "Landing AP", colWhite);
    const bool on = S->holdOn || S->landingPhase == LANDING_TOUCHDOWN;  // touchdown counts as engaged
    const DWORD c = on ? colSalmon : colWhite;
    if (on)
        PutText(g, 3, 24, "ON", colLightBlue);
    else
        PutText(g, 3, 23, "OFF", colWhite);
    PutText(g, 32, 1, S->landBrake ? "BRK ON" : "NO BRK", colWhite);
    PutText(g, 33, 1, S->landingDescent == DESCENT_EFFICIENT ? "DESC EFF" : "DESC STD", colWhite);

    DrawTargetLine(S, g);
    g.thirdRows = 0;
    const double t = LandingPageTime(S);

    const uint32_t flags = ShownFlags(S);
    const bool failed = (flags & errorBits) != 0;
    // The reason the autopilot let go comes before the planner's warnings.
    const char *message = StatusMessage(S->landingRefusal != 0 ? S->landingRefusal : flags, S->landingPhase);
    if (failed) {
        g.thirdRows = 1;
        PutText(g, 22, 9, message, colRed);
    } else {
        PutText(g, 35, 1, message, colGrey);
    }
    if ((flags & kLandLockedOut) != 0) PutText(g, 35, 21, "Other MFD AP on", colGreen);

    g.thirdRows = 0;
    if ((flags & kLandStopping) != 0) {
        PutText(g, 3, 28, "ABORTED", c);
        PutText(g, 14, 4, "R:resume  H:let go", colYellow);
    } else if ((flags & kLandPilotHover) != 0 && !S->holdOn) {
        PutText(g, 3, 28, "HOVER", c);
        PutText(g, 14, 4, "PILOT FLIES: hover held", colGreen);
    } else
        DrawPhase(S, g, t, c);

    DrawNavigation(S, g);
    DrawAttitudeAndEngine(S, g);
    DrawGraphFrame(g);
    if (!failed) DrawLandingProfile(S, g);
}
