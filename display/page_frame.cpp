// The drawing entry, the page frame around every mode page, and the build date.
#include <cstdio>
#include <cstring>

#include "display/format.h"
#include "display/landing_page.h"
#include "display/mode_pages.h"
#include "display/pages.h"
#include "display/primitives.h"
#include "display/sections.h"
#include "display/text_font.h"
#include "frame/names.h"
#include "frame/state.h"

// The module's compile date ("Jun 19 2017"), defined once per host generation.
extern "C" char *ModuleDate();

namespace {

const char monthNames[] = "JanFebMarAprMayJunJulAugSepOctNovDec";

// True while the object under handle still carries the name the state recorded.
// The host's name is cut to the recorded field's 99 characters, as it was cut when
// it was recorded, so a long name never looks like another object's.
bool StillNamed(OBJHANDLE handle, const char *recorded) {
    const size_t field = sizeof(MfdState::targetRefName);
    char name[2 * field] = "";
    if (handle != nullptr) oapiGetObjectName(handle, name, static_cast<int>(sizeof name));
    name[field - 1] = '\0';
    return std::strncmp(name, recorded, field) == 0;
}

void DrawStartUp(const MfdState *S, TextGrid &g) {
    PutText(g, 18, 12, "Initializing...", colWhite);
    PutNumber(g, 20, 18, "%.0f%%", S->sampleCount * 100.0 / 5.0, colWhite);
}

void DrawWelcome(TextGrid &g) {
    char date[8];
    BuildDateText(date);
    PutText(g, 10, 16, "Welcome", colYellow);
    PutText(g, 18, 14, "Select Mode", colYellow);
    PutLabelled(g, 35, 18, "TessarcMFD ", "%s", date, colGrey);
}

// Vessel name, "(*)" for a vessel other than the focus, MFD number, separator.
void DrawHeader(TextGrid &grid, const char *vesselName, OBJHANDLE vessel, int position) {
    char name[textBufferSize];
    CopyClipped(name, vesselName, 31);
    PutText(grid, 1, 1, name, colGrey);
    PutLabelled(grid, 1, 35, "", "%02i", position + 1, colGrey);
    if (vessel != oapiGetFocusObject()) PutText(grid, 1, static_cast<int>(std::strlen(name)) + 1, "(*)", colGrey);
    GridLine(grid, 0, 2, 36, 2, 1, 1, colYellow);
}

}  // namespace

void DateTextOf(const char *compileDate, char *out) {
    char month[4] = "";
    int day = 0, year = 0;
    std::snprintf(out, 7, "000000");
    if (compileDate == nullptr || std::sscanf(compileDate, "%3s %d 20%d", month, &day, &year) != 3) return;
    const char *at = std::strlen(month) == 3 ? std::strstr(monthNames, month) : nullptr;
    if (at == nullptr || (at - monthNames) % 3 != 0) return;
    int monthNumber = static_cast<int>(at - monthNames) / 3 + 1;
    if (day < 1 || day > 31 || year < 0 || year > 99) return;
    std::snprintf(out, 7, "%02u%02u%02u", static_cast<unsigned>(year) % 100u,
                  static_cast<unsigned>(monthNumber) % 100u, static_cast<unsigned>(day) % 100u);
}

void BuildDateText(char *out) { DateTextOf(ModuleDate(), out); }

bool ShowsModePage(const MfdState *S) {
    // A target or reference that vanished or changed gives an empty frame until the
    // next step has re-initialised the state.
    return S != nullptr && !S->warmUp && !S->modePage && StillNamed(S->targetRef, S->targetRefName) &&
           StillNamed(S->bodyRef, S->bodyRefName) && !S->alignVelocityRequest;
}

namespace {

void DrawPageFrameIn(const MfdState *S, TextGrid g) {
    if (S->warmUp) {
        DrawStartUp(S, g);
        return;
    }
    if (S->modePage) {
        DrawWelcome(g);
        return;
    }
    if (!StillNamed(S->targetRef, S->targetRefName) || !StillNamed(S->bodyRef, S->bodyRefName)) return;

    DrawHeader(g, S->vesselName, S->vesselHandle, S->position);
    if (S->alignVelocityRequest) {
        PutText(g, 18, 7, "!!! ISS control mode !!!", colRed);
        return;
    }
    g.thirdRows = 2;
    if (S->lastDockedCount != 0) PutText(g, 33, 30, "Docked", colGrey);
    g.thirdRows = 0;
    PutText(g, 3, 1, "Att.Mode :", colYellow);

    switch (S->refMode) {
    case AP_VELOCITY: DrawVelocityPage(S, g); break;
    case AP_RELATIVE: DrawRelativePage(S, g); break;
    case AP_ATTITUDE: DrawAttitudePage(S, g); break;
    case AP_DOCKING: DrawDockingPage(S, g); break;
    case AP_DIRECT_BURN: DrawBurnPage(S, g); break;
    case AP_ASCENT: DrawAscentPage(S, g); break;
    case AP_LANDING: DrawLandingPage(S, g); return;  // draws its own lower part
    default: return;
    }

    DrawAttitudeReadout(S, g);
    DrawThrusterLevels(S, g);
    DrawStatusColumn(S, g);
}

}  // namespace

void DrawPageFrame(const MfdState *S, oapi::Sketchpad *skp, int width, int height, oapi::Font *textFont) {
    if (S == nullptr || skp == nullptr) return;
    TextGrid g = MakeTextGrid(skp, width, height);
    oapi::Font *previous = UseTextFont(g, textFont);
    DrawPageFrameIn(S, g);
    RestoreTextFont(g, textFont, previous);
}

void DrawNoSlotPage(oapi::Sketchpad *skp, int width, int height, OBJHANDLE vessel, int32_t position,
                    oapi::Font *textFont) {
    if (skp == nullptr) return;
    TextGrid grid = MakeTextGrid(skp, width, height);
    oapi::Font *previous = UseTextFont(grid, textFont);
    char name[kVesselNameSize];
    ObjectNameInto(vessel, name, sizeof name);
    DrawHeader(grid, name, vessel, position);
    PutText(grid, 18, 9, "no free vessel slot", colRed);
    RestoreTextFont(grid, textFont, previous);
}

void DrawMfdPage(oapi::Sketchpad *skp, int width, int height, const MfdState *state, bool summaryShown,
                 int32_t position, int32_t *summaryLine, int32_t *summarySlot, oapi::Font *textFont) {
    if (skp == nullptr) return;
    if (summaryShown) {
        DrawSummaryPage(position, summaryLine, summarySlot, skp, width, height,
                        state != nullptr ? state->vesselName : nullptr, textFont);
    } else if (state != nullptr) {
        DrawPageFrame(state, skp, width, height, textFont);
    }
}
