// Direct Burn and Ascent pages.
#include <cstdio>

#include "display/format.h"
#include "display/mode_pages.h"
#include "display/primitives.h"
#include "frame/state.h"

namespace {

const double secondsPerDay = 86400.0;
// Seconds before the burn from which its time turns red.
const double burnWarning = 7.0;

// A value in degrees with the given format after a label, through "%s".
void PutDegrees(TextGrid &g, int row, const char *label, const char *format, double radians) {
    char text[textBufferSize];
    std::snprintf(text, sizeof text, format, radians * DEG);
    PutLabelled(g, row, 1, label, "%s", text, colYellow);
}

}  // namespace

void DrawBurnPage(const MfdState *S, TextGrid &g) {
        PutText(g, 3, 12, S->orbitInsert ? "Orbit Insert" : "Direct Burn", colWhite);
    if (S->transXSync) PutText(g, 3, 24, "(TX sync)", colGrey);

    g.thirdRows = 2;
    const double tEj = (S->burnMjd - oapiGetSimMJD()) * secondsPerDay;
    PutLabelScaled(g, 5, 1, "TEj:", tEj, colYellow);
    const double tBurn = tEj - S->landingValues[LV_BURN_LEAD];
    PutLabelScaled(g, 5, 23, "TBurn:", tBurn, tBurn < burnWarning ? colRed : colYellow);
    const DWORD imminent = (tBurn < burnWarning && S->landingValues[LV_BURN_LEFT] > 0.0) ? colSkyBlue : colYellow;

    g.thirdRows = 0;
    PutLabelledNumber(g, 7, 1, "MJD: ", "%.7f", S->burnMjd, colYellow);
    PutLabelScaled(g, 7, 24, "TRem:", S->landingValues[LV_BURN_LEFT], imminent);
    if (S->transXSync && S->ejectDateDiff != 0.0) {
        g.thirdRows = 2;
        PutLabelledNumber(g, 8, 1, "EjD: ", "%.2f", S->ejectDateDiff, colGrey);
    }
    g.thirdRows = 0;
    PutLabelScaled(g, 11, 23, "dVRem:", VecLength(S->burnDvLeft), imminent);
    g.thirdRows = 1;
    PutLabelScaled(g, 12, 24, "Fuel:", S->landingValues[LV_FUEL], imminent);

    g.thirdRows = 2;
    const double onBoard = S->vessel != nullptr ? S->vessel->GetFuelMass() : 0.0;
    if (onBoard > 0.0)
        PutNumber(g, 13, 30, "%05.1f", S->landingValues[LV_FUEL] * 100.0 / onBoard, imminent);
    else
        PutText(g, 13, 30, "---.-", imminent);  // no fuel on board: no share to show
    PutText(g, 13, 35, "%", imminent);
}

void DrawAscentPage(const MfdState *S, TextGrid &g) {
    static const char *const phases[5] = {"- WAIT", "- HOVER", "- ASCENT", "- WAIT CIRC", "- CIRC"};
    PutText(g, 3, 12, "Ascent", colWhite);
    if (S->ascentMode >= 0 && S->ascentMode <= 4) PutText(g, 3, 19, phases[S->ascentMode], colWhite);

    g.thirdRows = 2;
    PutDegrees(g, 11, "TgtAzimuth: ", "%0+7.2f", S->landingValues[LV_TARGET_AZIMUTH]);
    PutLabelScaled(g, 6, 1, "TgtAltitude:", S->ascentAlt, colYellow);
    PutDegrees(g, 14, "tgtPitch :  ", "%0+6.3f", S->ascentPitch);
    g.thirdRows = 0;
    PutDegrees(g, 13, "FlightPath: ", "%0+6.3f", S->landingValues[LV_FLIGHT_PATH]);
    PutDegrees(g, 8, "TgtEquInc:  ", "%0+7.3f", S->ascentAngle);
}
