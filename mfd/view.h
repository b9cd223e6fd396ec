// What one MFD object shows and where: its position, the state it is attached to
// and the summary page's selection. The keys, dialogs, setters and the scenario
// block work on this part of the MFD object only; TessarcMFD carries it as a base.
#ifndef TESSARC_MFD_VIEW_H
#define TESSARC_MFD_VIEW_H

#include <cstdint>

#include "Orbitersdk.h"

struct MfdState;

struct MfdView {
    bool summaryShown;     // the summary page replaces the state's page
    MfdState *state;       // null until an attachment succeeds
    int32_t position;      // MFD position 0..31
    int32_t summarySlot;   // vessel slot under the summary cursor; -1 until drawn
    int32_t summaryLine;   // selected line of the summary list, 1-based
};

// Bytes of the host's debug line, and how much of a vessel name a notice there shows.
const int kDebugLineSize = 256;
const int kDebugNameShown = 120;

// The view shows the vessel's state at its position, the vessel registered if new.
// With every slot taken the view shows the vessel without a state (state null)
// and the debug line says so; false then and when there is no such vessel.
bool AttachViewToVessel(MfdView *view, OBJHANDLE hVessel);
// The view shows the state at its position of the vessel in the slot; false,
// and nothing changed, when the slot has no vessel.
bool AttachViewToSlot(MfdView *view, int slot);
// Says on the debug line that the vessel found every slot taken.
void SayNoFreeSlot(OBJHANDLE hVessel);

#endif  // TESSARC_MFD_VIEW_H
