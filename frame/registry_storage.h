// Frame-internal: the lifetime of registry objects and of MFD objects.
#ifndef TESSARC_FRAME_REGISTRY_STORAGE_H
#define TESSARC_FRAME_REGISTRY_STORAGE_H

// TessarcMFD objects alive now (constructor +1, destructor -1). Unlike
// liveMfdCount, which follows the store-status operation, this counts objects
// that may still hold a pointer into the registry.
extern int mfdObjectCount;
// The same per MFD position.
extern int positionMfdObjects[32];

// Asks the MFD at a position to re-attach to the focus vessel at its next redraw.
// Only a position with an MFD object can redraw: marking one without would hold
// every later scheduler pass back at that slot number until a focus change.
void MarkPendingAttach(int position);

// Releases every slot without marking positions.
void ForgetAllSlots();
// Records, states and profiles forgotten but not yet freed.
int ForgottenObjectCount();
// Frees the forgotten objects. Only safe once no MFD object and no input box is
// left (the module's unloading).
void FreeForgottenObjects();
// Frees the forgotten records (with their states and profiles) none of whose
// states an MFD object or an open input box may still point at. A long flight in
// which vessels are released and met again so keeps no more than it uses.
void FreeUnreachableForgotten();
// Whether an MFD object or an input box may still point at the state (the MFD
// side keeps that account).
struct MfdState;
bool StateReachable(const MfdState *S);

#endif  // TESSARC_FRAME_REGISTRY_STORAGE_H
