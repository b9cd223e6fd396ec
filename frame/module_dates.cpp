// What differs between the two host generations: the build date texts.
#include "Orbitersdk.h"

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

DLLCLBK int GetModuleVersion() {
    static int version = 0;
    if (version == 0) version = Date2Int(sdkDate);
    return version;
}
