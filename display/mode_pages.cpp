// Velocity, Relative, Docking and Attitude pages.
#include "display/mode_pages.h"

#include <cstdio>

#include "display/format.h"
#include "display/primitives.h"
#include "frame/state.h"

namespace {

const int vesselObjectType = 10;

// Three signed, scaled components with labels at column 24 and values at 29.
void PutComponents(TextGrid &g, int firstRow, const char *const labels[3], const VECTOR3 &v) {
    const double values[3] = {v.x, v.y, v.z};
    for (int i = 0; i < 3; ++i) {
        g.thirdRows = i;
        PutText(g, firstRow + i, 24, labels[i], colYellow);
        PutScaled(g, firstRow + i, 29, values[i], SignColour(values[i]));
    }
    g.thirdRows = 0;
}

bool IsGravityRef(const MfdState *S, OBJHANDLE h) { return S->vessel != nullptr && h == S->vessel->GetGravityRef(); }

bool IsSurfaceRef(const MfdState *S, OBJHANDLE h) { return S->vessel != nullptr && h == S->vessel->GetSurfaceRef(); }

// Three angles in degrees as one text, "+012.35 -001.50 +000.00".
void AttitudeText(char *out, const VECTOR3 &radians) {
    std::snprintf(out, textBufferSize, "%0+7.2f %0+7.2f %0+7.2f", radians.x * DEG, radians.y * DEG,
                  radians.z * DEG);
}

// The Docking page's name of a leg of the approach ("" for none).
const char *DockLegText(int32_t leg) {
    switch (leg) {
    case DOCK_LEG_HOLD: return "to hold point";
    case DOCK_LEG_AROUND: return "going around";
    case DOCK_LEG_AXIS: return "to the axis";
    case DOCK_LEG_CORRIDOR: return "in corridor";
    case DOCK_LEG_BACK_OUT: return "backing out";
    default: return "";
    }
}

}  // namespace

void DrawVelocityPage(const MfdState *S, TextGrid &g) {
        PutText(g, 3, 12, "Velocity", colWhite);
    if (S->spinMode == 1)
        PutText(g, 3, 21, "- RPM", colWhite);
    else if (S->spinMode == 2)
        PutText(g, 3, 21, "- TOR", colWhite);

    g.thirdRows = 2;
    if (S->targetSet)
        PutLabelled(g, 5, 1, "Ref.Object: ", "%s", S->targetRefName, colYellow);
    else
        PutLabelled(g, 5, 1, "Ref.Frame:  ", "%s", S->bodyRefName, colYellow);
    g.thirdRows = 0;

    if (!IsSurfaceRef(S, S->bodyRef) && !IsGravityRef(S, S->bodyRef)) {
        PutLabelScaled(g, 8, 1, "Distance : ", VecLength(S->relPos), colYellow);
    } else {
        PutLabelScaled(g, 8, 1, "Altitude : ", VecLength(S->relPos) - oapiGetSize(S->bodyRef), colYellow);
        if (S->targetSet) {
            PutLabelScaled(g, 8, 23, "Rpos: ", VecLength(S->targetRelPos), colYellow);
            g.thirdRows = 2;
            PutLabelScaled(g, 9, 23, "Rvel: ", VecLength(S->targetRelVel), colYellow);
        } else {
            ELEMENTS el = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
            S->vessel->GetElements(S->bodyRef, el, nullptr, 0.0, FRAME_ECL);
            PutLabelledNumber(g, 8, 23, "Ecc.: ", "%.4f", el.e, colYellow);
            g.thirdRows = 2;
            PutLabelScaled(g, 9, 23, "Spd.:", S->vessel->GetAirspeed(), colYellow);
        }
    }
    g.thirdRows = 2;
    PutLabelScaled(g, 9, 1, "Velocity : ", VecLength(S->relVel), colYellow);
    g.thirdRows = 0;
}

void DrawRelativePage(const MfdState *S, TextGrid &g) {
        const bool surfaceRelative = IsGravityRef(S, S->targetRef);
    if (S->refMode == AP_RELATIVE) PutText(g, 3, 12, surfaceRelative ? "Surface Relative" : "Relative", colWhite);

    g.thirdRows = 2;
    PutLabelled(g, 5, 1, "Target: ", "%s", S->targetRefName, colYellow);
    g.thirdRows = 0;
    PutLabelScaled(g, 8, 1, "Distance : ", VecLength(S->targetRelPos), colYellow);
    g.thirdRows = 2;
    PutLabelScaled(g, 9, 1, surfaceRelative ? "Hor.Vel. : " : "Rad.Vel. : ", S->targetRelSpeed, colYellow);
    g.thirdRows = 0;

    if (oapiIsVessel(S->targetRef)) {
        static const char *const labels[3] = {"rX:", "rY:", "rZ:"};
        PutComponents(g, 12, labels, S->targetRelPos);
    }
    if (S->refMode == AP_RELATIVE) {
        g.thirdRows = 2;
        PutText(g, 22, 28, "loc frame", colGrey);
        g.thirdRows = 0;
    }
}

void DrawDockingPage(const MfdState *S, TextGrid &g) {
    DrawRelativePage(S, g);
    PutText(g, 3, 12, "Docking Relative", colWhite);
    if (oapiGetObjectType(S->targetRef) != vesselObjectType) {
        PutText(g, 8, 23, "Invalid Target", colRed);
        g.thirdRows = 0;
        return;
    }
    if (S->ownPort != 0 && S->targetPort != 0) {
        PutLabelled(g, 8, 24, "Local Dock:", "%02i", S->ownPort, colYellow);
        g.thirdRows = 2;
        PutLabelled(g, 9, 23, "Target Dock:", "%02i", S->targetPort, colYellow);
        PutText(g, 22, 28, "tgt frame", colGrey);
    } else {
        if (S->targetRelSpeed < 0.005) {
            g.thirdRows = 2;
            PutText(g, 9, 23, "Rvel", colYellow);
        } else {
            if (S->ownPort == 0)
                PutText(g, 8, 24, "local not set", colYellow);
            else
                PutLabelled(g, 8, 24, "Local Dock:", "%02i", S->ownPort, colYellow);
            g.thirdRows = 2;
            PutText(g, 9, 23, "Rvel Alignment", colYellow);
        }
        PutText(g, 22, 28, "loc frame", colGrey);
    }
    g.thirdRows = 0;
    // The leg the approach is flying ("going around", ...).
    if (S->dockApOn && DockLegText(S->dockLeg)[0] != '\0') PutText(g, 10, 23, DockLegText(S->dockLeg), colOrangeRed);
    static const char *const labels[3] = {"pX:", "pY:", "pZ:"};
    PutComponents(g, 17, labels, S->dockXyz);
}

void DrawAttitudePage(const MfdState *S, TextGrid &g) {
        char text[textBufferSize];
    PutText(g, 3, 12, "Set Attitude", colWhite);
    g.thirdRows = 2;
    AttitudeText(text, S->refAtt);
    PutLabelled(g, 6, 1, "Ref Att:  ", "%s", text, colYellow);
    g.thirdRows = 0;
    AttitudeText(text, S->globalOrientation);
    PutLabelled(g, 9, 1, "Cur Att:  ", "%s", text, colYellow);
}
