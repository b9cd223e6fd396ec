// Objects by name: the one reading of a host name the plug-in remembers and
// compares, and the vessel carrying exactly a name.
#ifndef TESSARC_FRAME_NAMES_H
#define TESSARC_FRAME_NAMES_H

#include <cstddef>

#include "Orbitersdk.h"

// Bytes of a vessel name as the plug-in keeps it: the longest name a scenario
// gives a vessel (255 characters) and its NUL.
const size_t kVesselNameSize = 256;

// Whether the object under the handle is a vessel carrying exactly the name (the
// host's name read into a registry name field).
bool VesselNamed(OBJHANDLE h, const char *name);
// The vessel carrying exactly this name (letter case counts), else the host's
// lookup by name; null when there is none.
OBJHANDLE VesselByExactName(const char *name);
// The host's name of an object cut to fit `size` (always terminated; empty for
// null). Names are remembered and compared through this one reading, so a long
// name is cut the same way each time and never looks like a different object.
void ObjectNameInto(OBJHANDLE obj, char *out, size_t size);

#endif  // TESSARC_FRAME_NAMES_H
