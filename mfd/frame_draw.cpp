// One frame of an MFD: the state the frame settles, then the drawing.
#include "mfd/frame_draw.h"

#include "display/landing_page.h"
#include "display/pages.h"
#include "frame/registry.h"
#include "frame/state.h"

void SettleReadoutChoice(MfdState *S) {
    if (S == nullptr || !ShowsModePage(S)) return;
    switch (S->refMode) {
    case AP_DOCKING: S->showSetAttitude = false; break;
    case AP_VELOCITY:
    case AP_ATTITUDE:
    case AP_DIRECT_BURN:
    case AP_ASCENT: S->showSetAttitude = true; break;
    default: break;  // Relative keeps the pilot's choice; Landing has no readout
    }
}

void DrawMfdFrame(oapi::Sketchpad *skp, int width, int height, MfdState *state, bool summaryShown,
                  int32_t position, int32_t *summaryLine, int32_t *summarySlot, oapi::Font *textFont) {
    if (skp == nullptr) return;
    if (!summaryShown) {
        SettleReadoutChoice(state);
        if (state != nullptr && state->refMode == AP_LANDING && ShowsModePage(state) && LandingProfileShown(state))
            RescaleLandingGraph(state, LandingPageTime(state));
    }
    DrawMfdPage(skp, width, height, state, summaryShown, position, summaryLine, summarySlot, textFont);
    if (summaryShown && summaryLine != nullptr && summarySlot != nullptr) CountSummaryVessels();
}
