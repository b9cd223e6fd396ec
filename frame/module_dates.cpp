// What differs between the two host generations: the build date texts.
//
// Built with the SDK's static library (TESSARC_ORBITERSDK_LIB set, Windows only),
// ModuleDate and GetModuleVersion are the SDK's own: the header defines ModuleDate
// when ORBITER_MODULE is set in exactly one source, and the library brings
// GetModuleVersion and the library entry point. This file is that source.
#if TESSARC_ORBITERSDK_LIB
#define ORBITER_MODULE
#endif
#include "frame/glue.h"

#if !TESSARC_ORBITERSDK_LIB

#ifndef TESSARC_HOST_2016
#define TESSARC_HOST_2016 1
#endif

#if TESSARC_HOST_2016
static char moduleDate[] = "Nov 19 2017";
static char sdkDate[] = "Aug 28 2016";
#else
static char moduleDate[] = "Jun 19 2017";
static char sdkDate[] = "Aug 30 2010";
#endif

DLLCLBK char *ModuleDate() { return moduleDate; }

// As the SDK's library does: the SDK's date, encoded by the host on the first call.
DLLCLBK int GetModuleVersion() {
    static int version = 0;
    if (version == 0) version = Date2Int(sdkDate);
    return version;
}

#endif  // !TESSARC_ORBITERSDK_LIB
