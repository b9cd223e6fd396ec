// The host executable's exports for module glue. No SDK header declares them: the
// SDK's own entry-point source declares them locally, as here.
#ifndef TESSARC_FRAME_GLUE_H
#define TESSARC_FRAME_GLUE_H

#include "Orbitersdk.h"

// Hands the loaded module's handle to the host's library initialisation.
DLLIMPORT void InitLib(HINSTANCE hModule);

// The host's encoding of a date text ("Aug 28 2016" gives 160828).
DLLIMPORT int Date2Int(char *date);

#endif  // TESSARC_FRAME_GLUE_H
