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

const double degPerRad = 57.29577951308232;
const double halfPi = 1.5707963267948966;
const double secondsPerDay = 86400.0;

// landingFlags bits that stop the autopilot (shown in red, no profile).
const uint32_t errorBits = 0xFEF3A;
// Planning failures, no thrust, no attitude propellant, a pass too close or
// beyond one orbit, a target out of reach, a hard contact: no burn or end times
// to show.
const uint32_t planningFailedBits = 0xEE138;
// The trajectory could not be solved: no tracking values.
const uint32_t noSolutionBits = 0x30;
const uint32_t otherMfdBit = 1u << 0;
const uint32_t stoppingBit = 1u << 12;

bool Bit(uint32_t flags, int n) { return (flags >> n & 1u) != 0; }

// The bits the page shows: the planner's, and the reasons the autopilot let go
// for, which stay until the pilot acts.
uint32_t ShownFlags(const MfdState *S) { return S->landingFlags | S->landingRefusal; }

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
        {19, "hard contact at touchdown"},
    };
    const char *text = "no error";
    for (const Rule &r : rules)
        if (Bit(flags, r.bit)) text = r.text;
    if (phase == 9) text = "Touchdown:applying full brakes";
    if (phase == 6) text = "Landing complete";
    return text;
}

void DrawTargetLine(MfdState *S) {
    TextGrid &g = S->grid;
    char text[textBufferSize];
    g.thirdRows = 1;
    if (S->manualTarget != 0) {
        PutText(g, 5, 1, "Manual Location:", colYellow);
        std::snprintf(text, sizeof text, "%0+6.3f %0+6.3f", S->targetLon * degPerRad, S->targetLat * degPerRad);
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
void DrawBudget(const MfdState *S) {
    PutText(S->grid, 16, 9, "yzdV:", colWhite);
    PutScaled(S->grid, 16, 14, S->landingDv, colWhite);
    PutText(S->grid, 16, 23, "Fuel:", colWhite);
    PutScaled(S->grid, 16, 28, S->landingValues[6], colWhite);
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

void DrawWaiting(MfdState *S, double t, DWORD c) {
    TextGrid &g = S->grid;
    PutText(g, 3, 28, "WAIT", c);
    if (S->holdOn) {
        static const char *const attModes[4] = {nullptr, "PRO", "FOR", "BRK"};
        if (S->landingAttMode >= 1 && S->landingAttMode <= 3) PutText(g, 3, 34, attModes[S->landingAttMode], colBrown);
    }
    if ((ShownFlags(S) & planningFailedBits) == 0) {
        PutText(g, 14, 4, "Burn start time:", colYellow);
        PutScaled(g, 14, 20, -t, colYellow);
        PutScaled(g, 14, 28, S->landingWork[19], colGrey);
        DrawBudget(S);
        DrawRow30(g, "areq:", 14, S->landingWork[6], "trig:", 27, S->landingWork[7]);
    } else {
        PutText(g, 14, 6, "Next closest passage:", colGrey);
        PutScaled(g, 14, 27, S->landingWork[19], colGrey);
    }
    g.thirdRows = 2;
    PutText(g, 12, 1, "(max :        )", colGrey);
    PutScaled(g, 12, 8, S->passHalfWidth, colGrey);
    g.thirdRows = 0;
}

// The phase word on row 3 and the phase's line on row 14 (or 18).
void DrawPhase(MfdState *S, double t, DWORD c) {
    TextGrid &g = S->grid;
    const bool timesShown = (ShownFlags(S) & planningFailedBits) == 0;
    const double endTime = S->landingConsts[1];
    switch (S->landingPhase) {
    case 0: DrawWaiting(S, t, c); break;
    case 1:
        PutText(g, 3, 28, "BRAKE", c);
        if (timesShown) {
            PutText(g, 14, 4, "Brake end time:", colYellow);
            PutScaled(g, 14, 19, (endTime - S->landingParams[4]) - t, colYellow);
        }
        break;
    case 3:
        PutText(g, 3, 28, "APPROACH", c);
        if (timesShown) {
            PutText(g, 14, 4, "Approach end time:", colYellow);
            PutScaled(g, 14, 22, (endTime - S->landingParams[5]) - t, colYellow);
        }
        break;
    case 5:
        PutText(g, 3, 28, "FINAL", c);
        PutText(g, 14, 4, "Landing phase", colYellow);
        break;
    case 9:
        PutText(g, 3, 27, "TOUCHDOWN", c);
        PutText(g, 14, 4, "Waiting full stop.", colYellow);
        break;
    case 6:
        PutText(g, 3, 27, "LANDED", colWhite);
        PutText(g, 14, 4, "Landed.", colYellow);
        break;
    case 7: PutText(g, 18, 8, "! unable to find a solution !", colRed); break;
    default: break;  // 2, 4 and 8 last one step each
    }
    if (S->landingPhase >= 1 && S->landingPhase <= 4 && (S->landingFlags & noSolutionBits) == 0) {
        DrawBudget(S);
        DrawRow30(g, "errY:", 15, S->landingWork[11], "errZ:", 28, S->landingWork[10]);
    }
}

void DrawNavigation(MfdState *S) {
    TextGrid &g = S->grid;
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

void DrawAttitudeAndEngine(MfdState *S) {
    TextGrid &g = S->grid;
    double pitch = 0.0, bank = 0.0, level = 0.0;
    if (S->vessel != nullptr) {
        pitch = S->vessel->GetPitch();
        bank = S->vessel->GetBank();
        level = S->vessel->GetThrusterGroupLevel(S->useHover ? THGROUP_HOVER : THGROUP_MAIN);
    }
    if (std::fabs(bank) > halfPi) pitch = PI - pitch;  // upside down: pitch seen from the horizon
    PutText(g, 32, 10, "cp:", colDarkGreen);
    PutNumber(g, 32, 13, "%0+8.3f", pitch * degPerRad, colDarkGreen);
    PutText(g, 32, 23, "cr:", colDarkGreen);
    PutNumber(g, 32, 26, "%0+8.3f", bank * degPerRad, colDarkGreen);

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

void DrawLandingPage(MfdState *S) {
    if (S == nullptr) return;
    TextGrid &g = S->grid;
    g.thirdRows = 1;
    PutNumber(g, 35, 32, "%0.2f", S->stepDt, colBrown);

    g.thirdRows = 0;
    PutText(g, 3, 12, "Landing AP", colWhite);
    const bool on = S->holdOn || S->landingPhase == 9;  // touchdown counts as engaged
    const DWORD c = on ? colSalmon : colWhite;
    if (on)
        PutText(g, 3, 24, "ON", colLightBlue);
    else
        PutText(g, 3, 23, "OFF", colWhite);
    PutText(g, 32, 1, S->landBrake ? "BRK ON" : "NO BRK", colWhite);

    DrawTargetLine(S);
    g.thirdRows = 0;
    const double t = (oapiGetSimMJD() - S->brakeStartMjd) * secondsPerDay;

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
    if ((flags & otherMfdBit) != 0) PutText(g, 35, 21, "Other MFD AP on", colGreen);

    g.thirdRows = 0;
    if ((flags & stoppingBit) != 0)
        PutText(g, 3, 28, "ABORTED", c);
    else
        DrawPhase(S, t, c);

    DrawNavigation(S);
    DrawAttitudeAndEngine(S);
    DrawGraphFrame(g);
    if (!failed) DrawLandingProfile(S, t);
}
