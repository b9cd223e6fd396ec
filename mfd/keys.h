// The buffered-key operation of the MFD: every key typed on the MFD and every
// button press (translated into its key code) ends here.
#ifndef TESSARC_MFD_KEYS_H
#define TESSARC_MFD_KEYS_H

#include "Orbitersdk.h"

struct MfdView;

// True when the key was taken (also for keys that change nothing on this page);
// false for a refused command or a key without a command. After a taken key the
// MFD object refreshes its button labels so they follow the new state.
bool HandleMfdKey(MfdView *mfd, DWORD key);

#endif  // TESSARC_MFD_KEYS_H
