// The MFD's lines in a saved scenario.
#ifndef TESSARC_MFD_STATUS_H
#define TESSARC_MFD_STATUS_H

#include "Orbitersdk.h"

class TessarcMFD;

void WriteMfdStatus(const TessarcMFD *mfd, FILEHANDLE scn);
void ReadMfdStatus(TessarcMFD *mfd, FILEHANDLE scn);

#endif  // TESSARC_MFD_STATUS_H
