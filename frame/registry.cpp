// The vessel registry: 32 vessel slots, each belonging to one vessel, and 32 MFD
// positions.
//
// Records, states and profiles are never destroyed while an MFD object may still
// point at them. Releasing a slot only forgets them: they move to a list of
// forgotten objects, which is freed when the module resets with no MFD object
// alive, and in full when the module unloads.
#include <cstdio>
#include <cstring>
#include <new>

#include "frame/registry.h"

#include "frame/names.h"
#include "frame/profile_data.h"

bool moduleActive = false;
int liveMfdCount = 0;
uint32_t pendingAttachMask = 0;
uint32_t storedPositionMask = 0;
int mfdObjectCount = 0;
int positionMfdObjects[kMaxPositions] = {};

uint32_t vesselSlotMask = 0;
VesselRecord *vesselRecords[kMaxSlots] = {};
ThrusterProfile *vesselProfiles[kMaxSlots] = {};
OBJHANDLE positionVessel[kMaxPositions] = {};
int positionIds[kMaxPositions] = {};
int positionIdCursor = 0;
int summaryCount = 0;

namespace {

// Forgotten objects, waiting until no MFD can reach them.
struct Forgotten {
    VesselRecord *record;
    ThrusterProfile *profile;
    Forgotten *next;
};
Forgotten *forgottenList = nullptr;
int forgottenCount = 0;
void (*stateStart)(MfdState *S) = nullptr;
void (*profileStart)(ThrusterProfile *profile, VESSEL *vessel) = nullptr;

void FreeRecordAndStates(VesselRecord *record) {
    if (!record) return;
    for (int p = 0; p < kMaxPositions; ++p) delete record->states[p];
    delete record;
}

void Forget(VesselRecord *record, ThrusterProfile *profile) {
    if (!record && !profile) return;
    Forgotten *f = new (std::nothrow) Forgotten{record, profile, forgottenList};
    if (!f) return;  // out of memory: the objects stay allocated until the process ends
    forgottenList = f;
    ++forgottenCount;
}

// Record creation for a new slot, for the vessel under the handle. False when
// memory runs out.
bool CreateRecord(OBJHANDLE h, const char *name, int slot) {
    VesselRecord *record = new (std::nothrow) VesselRecord();
    ThrusterProfile *profile = new (std::nothrow) ThrusterProfile();
    if (!record || !profile) {
        delete record;
        delete profile;
        return false;
    }
    std::snprintf(record->name, sizeof record->name, "%s", name);
    record->vesselHandle = h;
    VESSEL *v = oapiGetVesselInterface(h);
    if (v && profileStart) profileStart(profile, v);
    vesselProfiles[slot] = profile;
    record->stopAllRequest = false;
    record->modeMask = 0;
    record->positionMask = 0;
    for (int p = 0; p < kMaxPositions; ++p) record->states[p] = nullptr;
    vesselRecords[slot] = record;
    return true;
}

}  // namespace

void MarkPendingAttach(int position) {
    if (position >= 0 && position < kMaxPositions && positionMfdObjects[position] > 0)
        pendingAttachMask |= PositionBit(position);
}

int FindVesselSlot(OBJHANDLE hVessel) {
    if (!hVessel || !oapiIsVessel(hVessel)) return -1;
    char name[kVesselNameSize];
    ObjectNameInto(hVessel, name, sizeof name);
    for (int s = 0; s < kMaxSlots; ++s) {
        const VesselRecord *record = RecordForSlot(s);
        if (record && record->vesselHandle == hVessel && std::strcmp(record->name, name) == 0) return s;
    }
    return -1;
}

int LookupVesselSlot(OBJHANDLE hVessel) {
    int slot = FindVesselSlot(hVessel);
    if (slot >= 0 || !hVessel || !oapiIsVessel(hVessel)) return slot;
    char name[kVesselNameSize];
    ObjectNameInto(hVessel, name, sizeof name);
    for (int s = 0; s < kMaxSlots; ++s) {
        if (vesselSlotMask & PositionBit(s)) continue;
        if (!CreateRecord(hVessel, name, s)) return -1;
        vesselSlotMask |= PositionBit(s);
        return s;
    }
    return -1;
}

void ReleaseVesselSlot(int slot, bool markPositions) {
    if (slot < 0 || slot >= kMaxSlots) return;
    VesselRecord *record = vesselRecords[slot];
    if (markPositions && record) {
        for (int p = 0; p < kMaxPositions; ++p)
            if (positionVessel[p] && positionVessel[p] == record->vesselHandle) MarkPendingAttach(p);
    }
    Forget(record, vesselProfiles[slot]);
    vesselRecords[slot] = nullptr;
    vesselProfiles[slot] = nullptr;
    vesselSlotMask &= ~PositionBit(slot);
}

VesselRecord *RecordForSlot(int slot) {
    if (slot < 0 || slot >= kMaxSlots) return nullptr;
    if (!(vesselSlotMask & PositionBit(slot))) return nullptr;
    return vesselRecords[slot];
}

MfdState *StateAtPosition(VesselRecord *record, int slot, int position) {
    if (!record) return nullptr;
    if (position < 0 || position >= kMaxPositions) position = 0;
    if (record->states[position]) return record->states[position];
    MfdState *S = new (std::nothrow) MfdState();
    if (!S) return nullptr;
    S->position = position;
    // Stored before the initialiser runs its first step, so the record never holds
    // a state that the scheduler cannot reach.
    record->states[position] = S;
    S->vesselHandle = record->vesselHandle;
    ThrusterProfile *profile = (slot >= 0 && slot < kMaxSlots) ? vesselProfiles[slot] : nullptr;
    InitMfdState(S, record->name, profile);
    if (stateStart) stateStart(S);
    return S;
}

void SetStateStart(void (*start)(MfdState *S)) { stateStart = start; }

void SetProfileStart(void (*start)(ThrusterProfile *profile, VESSEL *vessel)) { profileStart = start; }

AttachResult AttachPosition(int position, OBJHANDLE hVessel, MfdState **state) {
    if (!hVessel || !oapiIsVessel(hVessel) || position < 0 || position >= kMaxPositions) return ATTACH_FAILED;
    const int slot = LookupVesselSlot(hVessel);
    VesselRecord *record = RecordForSlot(slot);
    if (!record) {
        // Every slot is taken: the position shows this vessel without a state.
        positionVessel[position] = hVessel;
        return ATTACH_NO_SLOT;
    }
    MfdState *S = StateAtPosition(record, slot, position);
    if (!S) return ATTACH_FAILED;
    *state = S;
    positionVessel[position] = hVessel;
    return ATTACH_DONE;
}

MfdState *AttachPositionToSlot(int position, int slot) {
    VesselRecord *record = RecordForSlot(slot);
    if (!record || position < 0 || position >= kMaxPositions) return nullptr;
    MfdState *S = StateAtPosition(record, slot, position);
    if (!S) return nullptr;
    positionVessel[position] = record->vesselHandle;
    return S;
}

bool SwapPositions(VesselRecord *record, int a, int b) {
    if (!record || a < 0 || a >= kMaxPositions || b < 0 || b >= kMaxPositions) return false;
    MfdState *sa = record->states[a];
    MfdState *sb = record->states[b];
    if (!sa || !sb) return false;
    record->states[a] = sb;
    record->states[b] = sa;
    sb->position = a;
    sa->position = b;
    return true;
}

int PositionForId(int id) {
    if (id >= 0 && id <= 9) return id;
    // Identifiers -9..-1 would give positions outside the tables; they are handed
    // out positions like any other foreign identifier.
    for (int p = 10; p < kMaxPositions; ++p)
        if (positionIds[p] == id) return p;
    if (positionIdCursor < 0 || positionIdCursor >= kMaxPositions - 10) positionIdCursor = 0;
    int p = 10 + positionIdCursor;
    positionIds[p] = id;
    if (++positionIdCursor >= kMaxPositions - 10) positionIdCursor = 0;
    return p;
}

bool SwapMfdPositions(int summarySlot, int a, int b) {
    if (a == b) return false;
    if (a < 0 || a >= kMaxPositions || b < 0 || b >= kMaxPositions) return false;
    VesselRecord *record = RecordForSlot(summarySlot);
    if (!record) return false;
    if (!StateAtPosition(record, summarySlot, b) || !StateAtPosition(record, summarySlot, a)) return false;
    MarkPendingAttach(a);
    MarkPendingAttach(b);
    return SwapPositions(record, a, b);
}

bool ReleaseSummaryVessel(int slot) {
    VesselRecord *record = RecordForSlot(slot);
    if (!record) return false;
    if (slot == FindVesselSlot(oapiGetFocusObject())) return false;
    if (record->modeMask != 0) return false;
    ReleaseVesselSlot(slot, true);
    --summaryCount;
    return true;
}

void CountSummaryVessels() {
    summaryCount = 0;
    for (const VesselRecord *record : vesselRecords)
        if (record != nullptr) ++summaryCount;
}

void StopAllAutopilots(int slot) {
    VesselRecord *record = RecordForSlot(slot);
    if (record) record->stopAllRequest = true;
}

void ForgetAllSlots() {
    for (int s = 0; s < kMaxSlots; ++s) ReleaseVesselSlot(s, false);
    vesselSlotMask = 0;
}

int ForgottenObjectCount() { return forgottenCount; }

void FreeForgottenObjects() {
    while (forgottenList) {
        Forgotten *f = forgottenList;
        forgottenList = f->next;
        FreeRecordAndStates(f->record);
        delete f->profile;
        delete f;
    }
    forgottenCount = 0;
}

void FreeUnreachableForgotten(bool (*reachable)(const MfdState *S)) {
    Forgotten **link = &forgottenList;
    while (Forgotten *f = *link) {
        bool reached = false;
        for (int p = 0; f->record && p < kMaxPositions && !reached; ++p)
            reached = f->record->states[p] && (!reachable || reachable(f->record->states[p]));
        if (reached) {
            link = &f->next;
            continue;
        }
        *link = f->next;
        FreeRecordAndStates(f->record);
        delete f->profile;
        delete f;
        --forgottenCount;
    }
}

void FreeRegistryStorage() {
    ForgetAllSlots();
    FreeForgottenObjects();
}

namespace {
// Module unload (or program exit when the plug-in is linked in): by then the host
// has destroyed every MFD object of this module.
struct StorageOwner {
    ~StorageOwner() { FreeRegistryStorage(); }
} storageOwner;
}  // namespace
