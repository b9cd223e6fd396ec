// The functions the host calls by name. The module exports exactly these.
#ifndef TESSARC_FRAME_ENTRY_H
#define TESSARC_FRAME_ENTRY_H

#include "Orbitersdk.h"

DLLCLBK void InitModule(HINSTANCE hModule);
DLLCLBK void ExitModule(HINSTANCE hModule);
DLLCLBK void opcPreStep(double simt, double simdt, double mjd);
DLLCLBK void opcPostStep(double simt, double simdt, double mjd);
DLLCLBK void opcFocusChanged(OBJHANDLE newFocus, OBJHANDLE oldFocus);
DLLCLBK void opcTimeAccChanged(double newWarp, double oldWarp);
DLLCLBK void opcDeleteVessel(OBJHANDLE hVessel);
DLLCLBK void opcCloseRenderViewport();
DLLCLBK char *ModuleDate();
DLLCLBK int GetModuleVersion();

// The result type of the host's MFD mode callback, as the SDK in use declares it.
typedef decltype(MFDMODESPECEX().msgproc(0, 0, 0, 0)) ModeMessageResult;

// The "TessarcMFD" mode's message callback: creates the MFD on message 1.
ModeMessageResult ModeMessage(UINT msg, UINT mfdId, WPARAM wparam, LPARAM lparam);

#endif  // TESSARC_FRAME_ENTRY_H
