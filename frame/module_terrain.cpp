// What differs between the two host generations: the landing target's terrain.
#include "frame/terrain.h"

#ifndef TESSARC_HOST_2016
#define TESSARC_HOST_2016 1
#endif

#if TESSARC_HOST_2016

bool TargetTerrainKnown() { return true; }

double TargetElevation(OBJHANDLE body, double lng, double lat) {
    return body ? oapiSurfaceElevation(body, lng, lat) : 0.0;
}

#else

bool TargetTerrainKnown() { return false; }

double TargetElevation(OBJHANDLE, double, double) { return 0.0; }

#endif
