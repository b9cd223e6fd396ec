// Operations the keys and dialogs share: the navigation radio tuning and the
// docking approach switch.
#ifndef TESSARC_MFD_COMMANDS_H
#define TESSARC_MFD_COMMANDS_H

struct MfdState;

// Tunes navigation radio 0 of the focus vessel to the target's docking-port IDS
// (with a port pair set) or else its transponder, and switches the HUD to its
// docking mode. Does nothing for another vessel than the focus, a vessel without
// radios, or a target without either transmitter.
void TuneNavRadio(MfdState *S);

// The docking approach switch ("ZERO" without a port pair, "DOCK" with one):
// on, it engages attitude hold and translation hold on all axes; off, it
// releases both. Refused while another MFD position drives the vessel; a target
// that is not a vessel keeps it off.
void ToggleDockingApproach(MfdState *S);

#endif  // TESSARC_MFD_COMMANDS_H
