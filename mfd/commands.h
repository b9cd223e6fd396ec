// The navigation radio tuning the keys and the port setters share.
#ifndef TESSARC_MFD_COMMANDS_H
#define TESSARC_MFD_COMMANDS_H

struct MfdState;

// Tunes navigation radio 0 of the focus vessel to the target's docking-port IDS
// (with a port pair set) or else its transponder, and switches the HUD to its
// docking mode. Does nothing for another vessel than the focus, a vessel without
// radios, or a target without either transmitter.
void TuneNavRadio(MfdState *S);

#endif  // TESSARC_MFD_COMMANDS_H
