// The landing target: a surface base, one of its pads, a landed vessel or a
// surface location, and the height above the target the descent aims at. The
// setters report whether the value was accepted; a refused value changes nothing.
#ifndef TESSARC_LANDING_TARGET_H
#define TESSARC_LANDING_TARGET_H

#include "Orbitersdk.h"

struct MfdState;

// Base n (1-based) of the reference body; null when there is none.
OBJHANDLE LandingBaseByIndex(const MfdState *S, int n);
// The base of that name on the reference body, else any object of that name (a
// vessel carrying exactly the name first); null when there is none.
OBJHANDLE LandingTargetByName(const MfdState *S, const char *name);
// The landing target becomes the object: pad 0, phase 0, the stored trajectory
// and the flags cleared, the target's place taken from the object where it has
// one on the surface. False without an object.
bool SetLandingTarget(MfdState *S, OBJHANDLE obj);
// Pads of a surface base; 0 for anything else.
int BasePadCount(OBJHANDLE base);
// Pad n of the landing base (clamped to the pads there); 0 returns to the base.
bool SetPad(MfdState *S, int n);
// Landing target at a surface location (degrees), pad -1, elevation of the terrain there.
bool SetManualLocation(MfdState *S, double lonDeg, double latDeg);
// The target object is gone: the landing, in whatever phase, aims on at the place
// where it stood, now a surface location (the reference body as the target).
void KeepLandingPlace(MfdState *S);
// Whether an elevation above the mean radius is one the reference body can have.
bool ElevationWithinBody(const MfdState *S, double metres);
// Metres above the target; with a terrain model, above the terrain there. The
// result stays within the reference body's radius of its mean surface.
bool SetLandingElevation(MfdState *S, double metres);

#endif  // TESSARC_LANDING_TARGET_H
