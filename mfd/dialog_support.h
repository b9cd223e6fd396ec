// Shared by the dialogs and their setters.
#ifndef TESSARC_MFD_DIALOG_SUPPORT_H
#define TESSARC_MFD_DIALOG_SUPPORT_H

#include "Orbitersdk.h"

struct MfdState;

// Docking ports of a vessel; 0 for anything else.
int VesselPortCount(OBJHANDLE vessel);
// Pads of a surface base; 0 for anything else.
int BasePadCount(OBJHANDLE base);
// The burn values may change until the burn time.
bool BurnValuesOpen(const MfdState *S);

#endif  // TESSARC_MFD_DIALOG_SUPPORT_H
