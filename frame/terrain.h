// The landing target's height above the body's mean radius, as the host
// generation allows: the 2016 host has a terrain model, the 2010 host has none.
#ifndef TESSARC_FRAME_TERRAIN_H
#define TESSARC_FRAME_TERRAIN_H

#include "Orbitersdk.h"

// True when the host can tell the terrain elevation at a point.
bool TargetTerrainKnown();
// Terrain elevation of the body at the point (radians), metres above its mean
// radius; 0 where the host has no terrain model.
double TargetElevation(OBJHANDLE body, double lng, double lat);

#endif  // TESSARC_FRAME_TERRAIN_H
