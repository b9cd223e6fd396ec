// The summary page: every tracked vessel with its engaged autopilots, and the
// setup of the vessel under the cursor.
#include <cstdio>
#include <cstring>

#include "control/profile.h"
#include "display/format.h"
#include "display/pages.h"
#include "display/primitives.h"
#include "display/text_font.h"
#include "frame/registry.h"
#include "frame/state.h"

namespace {

const int listLines = 10;   // vessel lines per page of the list
const int listScroll = 9;   // lines a page scrolls by: a page's last line opens the next
const int listTopRow = 21;  // the row above the first list line

void DrawPageBody(TextGrid g, int32_t position) {
    PutText(g, 1, 1, "TessarcMFD Summary", colYellow);
    GridLine(g, 0, 2, 36, 2, 1, 1, colYellow);
    PutLabelled(g, 1, 35, "", "%02i", position + 1, colGrey);
    GridLine(g, 0, 19, 36, 19, 1, 1, colYellow);
    GridLine(g, 30, 19, 30, 36, 1, 1, colYellow);
    PutText(g, 20, 1, "Active vessels:", colYellow);
}

// Keeps the selected line within the count of the previous frame, wrapping around.
int32_t SelectedLine(int32_t line) {
    int n = summaryCount;
    if (n < 1 || n > kMaxSlots) n = 1;
    if (line > kMaxSlots) line = 1;
    if (line > n) line = 1;
    if (line < 1) line = n;
    return line;
}

int ScrollOffset(int32_t line) {
    if (line <= listLines) return 0;
    return listScroll * ((line - listLines + listScroll - 1) / listScroll);
}

// The engaged autopilots as letters; the tests compare the mask as a number.
void PutStatusLetters(TextGrid g, int row, uint32_t m) {
    if (m > kModeBitHold) PutText(g, row, 36, "B", colRed);
    if (m >= kModeBitHold) PutText(g, row, 32, "H", colLightBlue);
    if (m != kModeBitHold) PutText(g, row, 34, "T", colOrangeRed);
}

// Lists the vessels; returns the slot of the MFD's own vessel, or -1.
int DrawVesselList(TextGrid g, int offset, int selectedRow, int32_t *summarySlot, const char *ownName) {
    int ownSlot = -1;
    int row = listTopRow;
    g.thirdRows = 0;
    int listed = 0;
    for (int s = 0; s < kMaxSlots; ++s) {
        const VesselRecord *rec = vesselRecords[s];
        if (rec == nullptr) continue;
        ++listed;
        if (listed <= offset) continue;
        if (listed > offset + listLines) {
            PutText(g, row + 1, 5, "...", colGrey);
            continue;
        }
        ++row;
        ++g.thirdRows;
        if (ownName != nullptr && std::strncmp(rec->name, ownName, sizeof rec->name) == 0) {
            ownSlot = s;
            PutText(g, row, 3, "*", colWhite);
        }
        char name[textBufferSize];
        CopyClipped(name, rec->name, 26);
        if (row == selectedRow) {
            *summarySlot = s;
            PutText(g, row, 1, "->", colWhite);
            PutText(g, row, 4, name, colWhite);
        } else if (offset > 0 && row == listTopRow + 1) {
            PutText(g, row, 5, "...", colGrey);
        } else {
            PutText(g, row, 4, name, Pick(rec->modeMask != 0, colOrange, colGrey));
        }
        if (rec->modeMask != 0) PutStatusLetters(g, row, rec->modeMask);
    }
    return ownSlot;
}

// The target line of a state's mode; false for the modes that show none. A mode
// that shows one shows its label even when the target has no name.
bool TargetText(char *out, const MfdState *st) {
    out[0] = '\0';
    switch (st->refMode) {
    case AP_VELOCITY:
    case AP_RELATIVE:
        CopyClipped(out, st->targetRefName, gridColumns);
        return true;
    case AP_DOCKING:
        if (st->ownPort >= 1 && st->targetPort >= 1 && oapiIsVessel(st->targetRef))
            std::snprintf(out, textBufferSize, "%.20s,%02i->%02i", st->targetRefName, st->ownPort, st->targetPort);
        else
            CopyClipped(out, st->targetRefName, gridColumns);
        return true;
    case AP_LANDING:
        if (st->padIndex >= 1)
            std::snprintf(out, textBufferSize, "%.22s - %02i", st->targetRefName, st->padIndex);
        else
            CopyClipped(out, st->targetRefName, gridColumns);
        return true;
    default:
        return false;
    }
}

const char *ModeName(int32_t refMode) {
    static const char *const names[7] = {"Velocity", "Relative",    "Attitude", "Docking",
                                         "Landing",  "Direct Burn", "Ascent"};
    return (refMode >= 0 && refMode <= 6) ? names[refMode] : "(not set)";
}

void DrawVesselDetail(TextGrid g, int32_t position, int slot, int ownSlot) {
    const VesselRecord *rec = (slot >= 0 && slot < kMaxSlots) ? vesselRecords[slot] : nullptr;
    if (rec == nullptr) return;
    const MfdState *first = nullptr;
    for (int p = 0; p < kMaxPositions && first == nullptr; ++p) first = rec->states[p];
    if (first == nullptr) return;
    const DWORD c = slot == ownSlot ? colWhite : colGrey;
    char text[textBufferSize];

    g.thirdRows = 2;
    PutText(g, 3, 1, rec->name, c);
    const MfdState *st = (position >= 0 && position < kMaxPositions) ? rec->states[position] : nullptr;
    if (st == nullptr) {
        std::snprintf(text, sizeof text, "MFD %02i mode: (not set)", position + 1);
        PutText(g, 6, 3, text, c);
    } else {
        char target[textBufferSize];
        if (TargetText(target, st)) PutLabelled(g, 7, 3, "target: ", "%s", target, c);
        g.thirdRows = 0;
        std::snprintf(text, sizeof text, "MFD %02i mode: %s", position + 1, ModeName(st->refMode));
        PutText(g, 6, 3, text, c);
    }

    g.thirdRows = 0;
    PutText(g, 10, 2, "max rate:", c);
    const ThrusterProfile *pr = first->profile;
    if (pr != nullptr) {
        g.thirdRows = 2;
        std::snprintf(text, sizeof text, "rotation: %.3f %.3f %.3f \xB0/s", pr->rateLimit[0] * DEG,
                      pr->rateLimit[1] * DEG, pr->rateLimit[2] * DEG);
        PutText(g, 11, 4, text, c);
        g.thirdRows = 1;
        std::snprintf(text, sizeof text, "linear:   %.3f %.3f %.3f m/s", pr->approachSpeed[0],
                      pr->approachSpeed[1], pr->approachSpeed[2]);
        PutText(g, 13, 4, text, c);
    }
    g.thirdRows = 2;
    PutText(g, 15, 2, "Landing:", c);
    static const char *const precision[3] = {"decision:   FAR", "decision:   CLOSE", "decision:   ABOVE"};
    if (first->landingPrecision >= 0 && first->landingPrecision <= 2)
        PutText(g, 15, 11, precision[first->landingPrecision], c);
    g.thirdRows = 1;
    std::snprintf(text, sizeof text, "cutoff alt: %.1f m", first->cutoffAlt);
    PutText(g, 17, 11, text, c);
}

}  // namespace

void DrawSummaryPage(int32_t position, int32_t *summaryLine, int32_t *summarySlot, oapi::Sketchpad *skp,
                     int width, int height, const char *ownVesselName, oapi::Font *textFont) {
    if (skp == nullptr || summaryLine == nullptr || summarySlot == nullptr) return;
    TextGrid g = MakeTextGrid(skp, width, height);
    oapi::Font *previous = UseTextFont(g, textFont);
    DrawPageBody(g, position);
    *summaryLine = SelectedLine(*summaryLine);
    const int offset = ScrollOffset(*summaryLine);
    const int selectedRow = *summaryLine - offset + listTopRow;
    const int ownSlot = DrawVesselList(g, offset, selectedRow, summarySlot, ownVesselName);
    DrawVesselDetail(g, position, *summarySlot, ownSlot);
    RestoreTextFont(g, textFont, previous);
}
