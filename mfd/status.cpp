// Scenario lines of an MFD. For now the block names the MFD's position and the
// reader consumes the block without applying it.
#include "mfd/status.h"

#include <cstdio>

#include "mfd/tessarc_mfd.h"

void WriteMfdStatus(const TessarcMFD *mfd, FILEHANDLE scn) {
    if (!mfd || !scn) return;
    char key[] = "MFDIndex";
    char value[16];
    std::snprintf(value, sizeof value, "%i", static_cast<int>(mfd->position));
    oapiWriteScenario_string(scn, key, value);
}

void ReadMfdStatus(TessarcMFD *mfd, FILEHANDLE scn) {
    if (!mfd || !scn) return;
    char *line = nullptr;
    while (oapiReadScenario_nextline(scn, line)) {
    }
}
