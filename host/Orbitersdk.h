// Host API umbrella header.
#ifndef __ORBITERSDK_H
#define __ORBITERSDK_H

#include "DrawAPI.h"
#include "OrbiterAPI.h"
#include "VesselAPI.h"
#include "MFDAPI.h"

#endif  // __ORBITERSDK_H
