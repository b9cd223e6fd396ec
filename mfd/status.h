// The MFD's lines in a saved scenario. The block begins with "MFDIndex" (the
// MFD's position) and carries one group of lines per registered vessel with a
// state at that position, each opened by " REMOTE <vessel>". Reading attaches
// the MFD to each named vessel in turn (registering it), applies the group to
// that vessel's state, and ends on a vessel whose HOLD is on, else the focus
// vessel. A block of another position is consumed without being applied.
#ifndef TESSARC_MFD_STATUS_H
#define TESSARC_MFD_STATUS_H

#include "Orbitersdk.h"

class TessarcMFD;

void WriteMfdStatus(const TessarcMFD *mfd, FILEHANDLE scn);
void ReadMfdStatus(TessarcMFD *mfd, FILEHANDLE scn);

#endif  // TESSARC_MFD_STATUS_H
