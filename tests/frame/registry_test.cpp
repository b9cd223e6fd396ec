// Vessel slots, MFD positions, swaps, release, lockout and the state's defaults.
#include <cstring>

#include "frame/frame_world.h"

namespace {

using Registry = FrameWorld;

TEST_F(Registry, NamesDifferingInCaseTakeTwoSlotsAndKeepTheirOwnVessel) {
    ::Vessel *lower = AddVessel("Alpha");
    ::Vessel *upper = AddVessel("ALPHA");
    int a = -1, b = -1;
    MfdState *sa = StateOf(lower, 0, &a);
    MfdState *sb = StateOf(upper, 0, &b);
    ASSERT_TRUE(sa && sb);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(LookupVesselSlot(H(upper)), 1) << "the same name finds the same slot";
    EXPECT_STREQ(sb->vesselName, "ALPHA");
    // The host's lookup by name ignores case; each state must still drive its own vessel.
    EXPECT_EQ(sa->vesselHandle, H(lower));
    EXPECT_EQ(sb->vesselHandle, H(upper));

    // Deleting "ALPHA" marks only the open positions that show it: a position
    // without an MFD could never re-attach and would hold the passes back.
    positionVessel[1] = H(lower);
    positionVessel[3] = H(upper);
    positionVessel[5] = H(upper);
    OpenMfdAt({1, 3});
    moduleActive = true;
    opcDeleteVessel(H(upper));
    EXPECT_EQ(pendingAttachMask, PositionBit(3));
    EXPECT_EQ(vesselSlotMask, PositionBit(0));
}

TEST_F(Registry, The33rdVesselIsRefusedAndTheFirst32StayIntact) {
    for (int i = 0; i < 32; ++i) {
        std::string name = "Ship" + std::to_string(i);
        ASSERT_EQ(LookupVesselSlot(H(AddVessel(name))), i);
    }
    EXPECT_EQ(vesselSlotMask, 0xFFFFFFFFu);
    ::Vessel *extra = AddVessel("Ship32");
    EXPECT_EQ(LookupVesselSlot(H(extra)), -1);
    EXPECT_EQ(FindVesselSlot(H(extra)), -1);
    for (int i = 0; i < 32; ++i) {
        ASSERT_NE(vesselRecords[i], nullptr);
        EXPECT_EQ(std::string(vesselRecords[i]->name), "Ship" + std::to_string(i));
    }
    // A freed slot is taken again by the next new vessel.
    moduleActive = true;
    opcDeleteVessel(H(world.vessels[7].get()));
    EXPECT_EQ(LookupVesselSlot(H(extra)), 7);
}

TEST_F(Registry, NonVesselsAndUnknownVesselsChangeNothing) {
    EXPECT_EQ(LookupVesselSlot(static_cast<OBJHANDLE>(earth)), -1);
    EXPECT_EQ(LookupVesselSlot(nullptr), -1);
    ::Vessel *v = AddVessel("Lone");
    moduleActive = true;
    positionVessel[2] = H(v);
    opcDeleteVessel(H(v));  // no slot: nothing to release
    EXPECT_EQ(pendingAttachMask, 0u);
    ReleaseVesselSlot(-1, true);
    EXPECT_EQ(vesselSlotMask, 0u);
}

TEST_F(Registry, HostIdentifiersAreHandedOutRoundRobinFromPosition10) {
    for (int id = 0; id <= 9; ++id) EXPECT_EQ(PositionForId(id), id);
    EXPECT_EQ(PositionForId(12), 12) << "an unassigned identifier 10..31 maps to itself";
    for (int i = 0; i < 22; ++i) EXPECT_EQ(PositionForId(100 * (i + 1)), 10 + i);
    EXPECT_EQ(PositionForId(300), 12) << "a known identifier keeps its position";
    EXPECT_NE(PositionForId(12), 12) << "position 12 now belongs to identifier 300";
    // The 22 positions are reused from the start: identifier 12 took position 10.
    EXPECT_EQ(PositionForId(100), 11);
    // Negative identifiers get a position inside the tables.
    int p = PositionForId(-3);
    EXPECT_GE(p, 10);
    EXPECT_LT(p, 32);
    EXPECT_EQ(PositionForId(-3), p);

    ResetModule();
    EXPECT_EQ(PositionForId(12), 12);
    EXPECT_EQ(PositionForId(100), 10);
}

TEST_F(Registry, SwapsExchangeStatesAndTheirPositions) {
    int slot = -1;
    ::Vessel *v = AddVessel("Swapper");
    MfdState *s0 = StateOf(v, 0, &slot);
    MfdState *s1 = StateOf(v, 1);
    VesselRecord *rec = RecordForSlot(slot);
    s0->holdOn = true;
    ASSERT_TRUE(SwapPositions(rec, 0, 1));
    EXPECT_EQ(rec->states[1], s0);
    EXPECT_EQ(rec->states[0], s1);
    EXPECT_EQ(s0->position, 1);
    EXPECT_EQ(s1->position, 0);
    EXPECT_TRUE(rec->states[1]->holdOn);

    EXPECT_FALSE(SwapPositions(rec, 0, 5)) << "no state at position 5";
    EXPECT_FALSE(SwapPositions(rec, 0, 32));
    EXPECT_FALSE(SwapPositions(rec, -1, 0));
    EXPECT_EQ(rec->states[0], s1);

    // The summary page's MFD swap creates missing states and marks both positions.
    EXPECT_FALSE(SwapMfdPositions(slot, 4, 4));
    EXPECT_FALSE(SwapMfdPositions(-1, 4, 0)) << "nothing under the summary cursor";
    EXPECT_EQ(pendingAttachMask, 0u);
    OpenMfdAt({0, 6});
    ASSERT_TRUE(SwapMfdPositions(slot, 6, 0));
    EXPECT_EQ(pendingAttachMask, PositionBit(0) | PositionBit(6));
    pendingAttachMask = 0;
    ASSERT_TRUE(SwapMfdPositions(slot, 9, 0)) << "position 9 has no MFD open";
    EXPECT_EQ(pendingAttachMask, PositionBit(0));
    EXPECT_EQ(rec->states[6], s1);
    ASSERT_NE(rec->states[0], nullptr);
    EXPECT_EQ(rec->states[0]->position, 0);
}

TEST_F(Registry, HoldOnOnePositionLocksTheOthersOutOnePassLater) {
    ::Vessel *v = AddVessel("Shared");
    MfdState *s0 = StateOf(v, 0);
    MfdState *s1 = StateOf(v, 1);
    Pass(1.0);
    s0->holdOn = true;
    Pass(2.0);  // collects HOLD; its steps still saw the previous masks
    EXPECT_FALSE(s1->lockedOut);
    Pass(3.0);
    EXPECT_TRUE(s1->lockedOut);
    EXPECT_FALSE(s0->lockedOut) << "the driving position is not locked out";
    s0->holdOn = false;
    Pass(4.0);
    EXPECT_TRUE(s1->lockedOut);
    Pass(5.0);
    EXPECT_FALSE(s1->lockedOut);
}

TEST_F(Registry, ReleaseIsRefusedForTheFocusVesselAndForEngagedVessels) {
    ::Vessel *own = AddVessel("Own");
    ::Vessel *remote = AddVessel("Remote");
    world.focus = own;
    int ownSlot = -1, remoteSlot = -1;
    StateOf(own, 0, &ownSlot);
    MfdState *rs = StateOf(remote, 0, &remoteSlot);
    summaryCount = 2;
    EXPECT_FALSE(ReleaseSummaryVessel(ownSlot));
    rs->holdOn = true;
    Pass(1.0);
    EXPECT_FALSE(ReleaseSummaryVessel(remoteSlot));
    rs->holdOn = false;
    Pass(2.0);
    positionVessel[4] = H(remote);
    OpenMfdAt({4});
    EXPECT_TRUE(ReleaseSummaryVessel(remoteSlot));
    EXPECT_EQ(RecordForSlot(remoteSlot), nullptr);
    EXPECT_EQ(summaryCount, 1);
    EXPECT_EQ(pendingAttachMask, PositionBit(4));
    EXPECT_FALSE(ReleaseSummaryVessel(remoteSlot)) << "already released";
}

TEST_F(Registry, NewStateDefaults) {
    world.simt = 1234.5;
    const double mjd = world.mjd();
    MfdState *plain = StateOf(AddVessel("NoPorts"), 3);
    MfdState *station = StateOf(AddVessel("Ports", dockingClass), 3);
    ASSERT_TRUE(plain && station);
    EXPECT_EQ(plain->ownPort, 0);
    EXPECT_EQ(station->ownPort, 1);
    EXPECT_EQ(station->targetPort, 0);
    EXPECT_EQ(plain->position, 3);
    EXPECT_NEAR(plain->lastStepTime, 1234.4, 1e-9);
    EXPECT_NEAR((plain->burnMjd - mjd) * 86400.0, 200.0, 1e-3);
    EXPECT_EQ(plain->bodyRef, static_cast<OBJHANDLE>(earth));
    EXPECT_STREQ(plain->targetRefName, "Earth");
    EXPECT_EQ(plain->refSlot[2].target, plain->bodyRef);
    EXPECT_EQ(plain->profile, vesselProfiles[0]);

    // Re-initialisation keeps the position and drops everything engaged.
    plain->holdOn = true;
    plain->refMode = AP_DOCKING;
    InitMfdState(plain, plain->vesselName, plain->profile);
    EXPECT_EQ(plain->position, 3);
    EXPECT_FALSE(plain->holdOn);
    EXPECT_EQ(plain->refMode, AP_VELOCITY);
}

TEST_F(Registry, ForgottenObjectsLiveUntilNoMfdCanReachThem) {
    ::Vessel *v = AddVessel("Gone");
    MfdState *S = StateOf(v, 0);
    ASSERT_NE(S, nullptr);
    moduleActive = true;
    opcDeleteVessel(H(v));
    EXPECT_GE(ForgottenObjectCount(), 1);
    // An MFD object may still point at the forgotten state: a reset keeps it.
    mfdObjectCount = 1;
    ResetModule();
    EXPECT_STREQ(S->vesselName, "Gone");
    EXPECT_GE(ForgottenObjectCount(), 1);
    mfdObjectCount = 0;
    ResetModule();
    EXPECT_EQ(ForgottenObjectCount(), 0);
}

}  // namespace
