// The vessel registry: 32 vessel slots, each belonging to one vessel, and 32 MFD
// positions; the records and propulsion profiles it owns, the states it creates
// for a position, the attachment of an MFD position to a vessel, and the
// module-wide state of the MFD positions and objects.
#ifndef TESSARC_FRAME_REGISTRY_H
#define TESSARC_FRAME_REGISTRY_H

#include <cstddef>
#include <cstdint>

#include "Orbitersdk.h"
#include "frame/names.h"
#include "frame/state.h"

// Number of vessel slots and of MFD positions.
const int kMaxSlots = 32;
const int kMaxPositions = 32;
// Every slot taken.
const uint32_t kAllSlots = 0xFFFFFFFFu;

// A slot belongs to one vessel: the handle it was taken for, while that object
// still carries the name (a deleted vessel's handle may come back on another).
struct VesselRecord {
    char name[kVesselNameSize];  // the vessel's name as the host gives it, letter case counting
    bool stopAllRequest;
    uint32_t modeMask;           // engaged autopilots of all positions at the last pass
    uint32_t positionMask;       // positions with something engaged at the last pass
    MfdState *states[kMaxPositions];
    OBJHANDLE vesselHandle;      // the vessel the slot was taken for
};

// --- module-wide state of the MFD positions (zero before InitModule)
extern bool moduleActive;
extern int liveMfdCount;
extern uint32_t pendingAttachMask;
extern uint32_t storedPositionMask;

// --- the vessel registry
extern uint32_t vesselSlotMask;
extern VesselRecord *vesselRecords[kMaxSlots];
extern ThrusterProfile *vesselProfiles[kMaxSlots];
extern OBJHANDLE positionVessel[kMaxPositions];
extern int positionIds[kMaxPositions];
extern int positionIdCursor;
extern int summaryCount;

// Bit of slot or position n in a 32-bit mask (n in 0..31).
inline uint32_t PositionBit(int n) { return (n >= 0 && n < 32) ? (1u << n) : 0u; }

// The vessel's slot, allocating one on first sight; -1 when the handle is not a
// vessel or all slots are taken.
int LookupVesselSlot(OBJHANDLE hVessel);
// The vessel's slot without allocating; -1 when it has none.
int FindVesselSlot(OBJHANDLE hVessel);
// Forgets the slot's record and profile; with markPositions, every position showing
// the vessel re-attaches to the focus vessel at its next redraw. Slot -1 is ignored.
void ReleaseVesselSlot(int slot, bool markPositions);
VesselRecord *RecordForSlot(int slot);
// The state of a position (outside 0..31 taken as 0), created on first use and
// then started (SetStateStart).
MfdState *StateAtPosition(VesselRecord *record, int slot, int position);
// Exchanges the states of two positions of one vessel; false if either is missing.
bool SwapPositions(VesselRecord *record, int a, int b);
// Maps a host MFD identifier to an MFD position 0..31.
int PositionForId(int id);
// The summary page's MFD swap: the vessel in summarySlot, positions a and b.
bool SwapMfdPositions(int summarySlot, int a, int b);
// The summary page's Release: refused for the focus vessel and for a vessel with
// anything engaged. True when the slot was released.
bool ReleaseSummaryVessel(int slot);
// The summary page's "Stop Hold & Trim": all autopilots of the vessel off at the next pass.
void StopAllAutopilots(int slot);
// After a frame of the summary page: summaryCount becomes the number of tracked
// vessels, the length of the list the page showed.
void CountSummaryVessels();
// Frees every record, state and profile ever created. Only for module unload, once
// no MFD object can point at them any more.
void FreeRegistryStorage();

// What a state the registry creates runs once its defaults are set: the frame's
// first autopilot step, installed by the module reset. Null: nothing.
void SetStateStart(void (*start)(MfdState *S));
// What the registry runs on a new slot's blank propulsion profile: the control
// layer's first measurement of the vessel, installed by the module reset. Null:
// the profile stays blank.
void SetProfileStart(void (*start)(ThrusterProfile *profile, VESSEL *vessel));

enum AttachResult {
    ATTACH_DONE,     // the position shows the vessel's state (*state)
    ATTACH_NO_SLOT,  // every slot is taken: the position shows the vessel without a state
    ATTACH_FAILED    // no vessel, no position, or no memory: nothing changed
};
// MFD position `position` shows the vessel's state, the vessel registered on first
// sight.
AttachResult AttachPosition(int position, OBJHANDLE hVessel, MfdState **state);
// The same for the vessel of a slot; null without one.
MfdState *AttachPositionToSlot(int position, int slot);

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
// states `reachable` says an MFD object or an open input box may still point at.
// A long flight in which vessels are released and met again so keeps no more than
// it uses.
void FreeUnreachableForgotten(bool (*reachable)(const MfdState *S));

#endif  // TESSARC_FRAME_REGISTRY_H
