// Attitude readout, thruster-level display and status column.
#include "display/sections.h"

#include <cmath>

#include "control/thrusters.h"
#include "display/format.h"
#include "display/primitives.h"
#include "frame/state.h"

namespace {

const char angleFormat[] = "%0+8.3f";

struct ReadoutLine {
    int row;
    const char *label;
};

// Three angle lines one third of a row further apart than the rows: line i with
// thirdRows i, label at column 1 (when given), value in degrees at valueCol.
void PutAngleTriple(TextGrid &g, const ReadoutLine lines[3], DWORD labelColour, int valueCol,
                    const VECTOR3 &radians) {
    const double values[3] = {radians.x * DEG, radians.y * DEG, radians.z * DEG};
    for (int i = 0; i < 3; ++i) {
        g.thirdRows = i;
        if (lines[i].label != nullptr) PutText(g, lines[i].row, 1, lines[i].label, labelColour);
        PutNumber(g, lines[i].row, valueCol, angleFormat, values[i], SignColour(values[i]));
    }
}

void DrawUpperLines(const MfdState *S, TextGrid &g) {
        if (S->refMode >= AP_VELOCITY && S->refMode <= AP_DOCKING) {
        if (S->showSetAttitude) {
            const ReadoutLine lines[3] = {{12, "Set Pitch:"}, {13, "Set Yaw  :"}, {14, "Set Roll :"}};
            PutAngleTriple(g, lines, colYellow, 13, S->relAtt);
        } else {
            const ReadoutLine lines[3] = {{12, "Lateral  :"}, {13, "Vertical :"}, {14, "Fore/Aft :"}};
            const double values[3] = {S->targetRelVel.x, S->targetRelVel.y, S->targetRelVel.z};
            for (int i = 0; i < 3; ++i) {
                g.thirdRows = i;
                bool held = (S->axisMask & (1u << i)) != 0;
                PutText(g, lines[i].row, 1, lines[i].label, Pick(held, colOrangeRed, colYellow));
                PutScaled(g, lines[i].row, 13, values[i], SignColour(values[i]));
            }
        }
    } else if (S->refMode == AP_DIRECT_BURN) {
        const ReadoutLine lines[3] = {{11, "-dY,dVf :"}, {12, " dZ,dVp :"}, {13, " dX,dVi :"}};
        const double values[3] = {S->burnDvLeft.x, S->burnDvLeft.y, S->burnDvLeft.z};
        for (int i = 0; i < 3; ++i) {
            g.thirdRows = i;
            PutText(g, lines[i].row, 2, lines[i].label, colYellow);
            PutScaled(g, lines[i].row, 13, values[i], SignColour(values[i]));
        }
    }
    g.thirdRows = 0;
}

// Scale applied by the command layer to every command but fore/aft translation;
// a missing or unusable value counts as no scaling.
double CommandScale(const ThrusterProfile *profile) {
    if (profile == nullptr) return 1.0;
    double s = profile->cmdScale;
    return (std::isfinite(s) && s != 0.0) ? s : 1.0;
}

void BoxBars(TextGrid g, int c0, int r0, int c1, int r1, double level, double trans, double cmd,
             double transCmd) {
    CentreBar(g, c0, r0, c1, r1, 1, 1, level, true, colYellow);
    CentreBar(g, c0, r0, c1, r1, 1, 1, trans, true, colOlive);
    CentreBar(g, c0, r0, c1, r1, 1, 1, cmd, false, colLightBlue);
    CentreBar(g, c0, r0, c1, r1, 1, 1, transCmd, false, colOrangeRed);
}

void Sector(TextGrid g, int c, double fromDeg, double toDeg, bool filled, DWORD colour) {
    RingSector(g, c, 29, 12, 2, fromDeg * RAD, toDeg * RAD, 1, 1, filled, colour);
}

}  // namespace

void DrawAttitudeReadout(const MfdState *S, TextGrid &g) {
    DrawUpperLines(S, g);
    const ReadoutLine angleLines[3] = {{17, "Pitch:"}, {18, "Yaw  :"}, {19, "Roll :"}};
    PutAngleTriple(g, angleLines, Pick(S->holdOn, colLightBlue, colYellow), 13, S->angles);
    g.thirdRows = 0;
    if (S->refMode != AP_DOCKING) {
        const ReadoutLine rateLines[3] = {{17, nullptr}, {18, nullptr}, {19, nullptr}};
        PutAngleTriple(g, rateLines, colYellow, 25, S->angleRates);
    }
    g.thirdRows = 0;
}

void DrawThrusterLevels(const MfdState *S, TextGrid g) {
    GridLine(g, 0, 21, 36, 21, 1, 1, colYellow);
    GridLine(g, 26, 21, 26, 36, 1, 1, colYellow);

    VECTOR3 r = {{0.0, 0.0, 0.0}};
    VECTOR3 t = {{0.0, 0.0, 0.0}};
    if (S->profile != nullptr) ReadManualLevels(S->profile, &r, &t);
    const double scale = CommandScale(S->profile);
    r.x /= scale;
    r.y /= scale;
    r.z /= scale;
    t.x /= scale;
    t.y /= scale;
    const VECTOR3 &c = S->rotCmd;
    const VECTOR3 &k = S->linCmd;

    GridRect(g, 1, 23, 3, 35, 1, 1, false, colYellow);
    GridRect(g, 21, 23, 23, 35, 1, 1, false, colYellow);
    BoxBars(g, 1, 23, 3, 35, -r.x, t.y, -c.x, k.y);
    BoxBars(g, 21, 23, 23, 35, r.x, t.y, c.x, k.y);
    GridRect(g, 5, 22, 19, 24, 1, 1, false, colYellow);
    GridRect(g, 5, 34, 19, 36, 1, 1, false, colYellow);
    BoxBars(g, 5, 22, 19, 24, r.y, -t.x, c.y, -k.x);
    BoxBars(g, 5, 34, 19, 36, -r.y, -t.x, -c.y, -k.x);
    GridRect(g, 11, 25, 13, 33, 1, 1, false, colYellow);
    CentreBar(g, 11, 25, 13, 33, 1, 1, t.z, true, colOlive);
    CentreBar(g, 11, 25, 13, 33, 1, 1, k.z, false, colOrangeRed);

    // Bank: the arc of the circle around (18, 29) on the left, of (6, 29) on the right.
    Sector(g, 18, 180.0, 160.0, false, colYellow);
    Sector(g, 18, 180.0, 200.0, false, colYellow);
    Sector(g, 6, 0.0, 20.0, false, colYellow);
    Sector(g, 6, 0.0, -20.0, false, colYellow);
    Sector(g, 18, 180.0, 180.0 - 20.0 * r.z, true, colYellow);
    Sector(g, 18, 180.0, 180.0 - 20.0 * c.z, false, colLightBlue);
    Sector(g, 6, 0.0, -20.0 * r.z, true, colYellow);
    Sector(g, 6, 0.0, -20.0 * c.z, false, colLightBlue);
}

void DrawStatusColumn(const MfdState *S, TextGrid &g) {
        if (S->lockedOut) {
        int p = 0;
        while (p < 32 && (S->vesselPosMask & (1u << p)) == 0) ++p;
        PutText(g, 27, 28, "AP active", colGreen);
        PutLabelled(g, 29, 28, "", "on mfd %02i", p + 1, colGreen);
    } else {
        if (S->holdOn) PutText(g, 26, 33, "HOLD", colLightBlue);
        g.thirdRows = 1;
        if (S->dockApOn) {
            if (S->ownPort != 0 && S->targetPort != 0)
                PutText(g, 27, 28, "DOCK", colRed);
            else
                PutText(g, 27, 28, "ZERO", colOlive);
        } else if (S->burnArmed) {
            PutText(g, 31, 35, "GO", colRed);
        }
        g.thirdRows = 2;
        if (S->transAxes != kTransAxesNone) PutText(g, 28, 33, "TRIM", colOrangeRed);
        if (S->refMode == AP_VELOCITY && S->targetSet) PutText(g, 22, 30, "FOLLOW", colGrey);
    }
    g.thirdRows = 0;
    if (S->rollMode == 1)
        PutText(g, 35, 28, "KILL ROLL", colGrey);
    else if (S->rollMode == 2)
        PutText(g, 35, 29, "NO ROLL", colGrey);
}
