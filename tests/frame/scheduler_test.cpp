// The 0.1 s scheduler, the module's activation and the reset around focus changes.
#include "frame/frame_world.h"

namespace {

class Scheduler : public FrameWorld {
protected:
    VesselRecord *record = nullptr;
    MfdState *S = nullptr;

    void SetUp() override {
        FrameWorld::SetUp();
        int slot = -1;
        S = StateOf(AddVessel("Probe"), 0, &slot);
        record = RecordForSlot(slot);
        ASSERT_NE(S, nullptr);
    }

    // A pass is seen through the masks it collects: flip HOLD before each call and
    // look at what the record holds afterwards.
    bool PassRuns(double simt) {
        S->holdOn = !(record->modeMask & kModeBitHold);
        const uint32_t before = record->modeMask;
        opcPostStep(simt, 0.05, 0.0);
        const bool ran = record->modeMask != before;
        S->holdOn = false;
        return ran;
    }
};

TEST_F(Scheduler, RunsEveryTenthOfASecondOfSimulationTime) {
    moduleActive = true;
    EXPECT_TRUE(PassRuns(10.0));
    EXPECT_FALSE(PassRuns(10.05));  // 0.05 s later: not yet
    EXPECT_TRUE(PassRuns(schedNextTime));  // exactly on the boundary
    EXPECT_DOUBLE_EQ(schedLastTime, 10.1);
    // One long frame (high time acceleration) runs a single pass and re-bases.
    EXPECT_TRUE(PassRuns(25.0));
    EXPECT_DOUBLE_EQ(schedNextTime, 25.1);
    EXPECT_FALSE(PassRuns(25.09));
}

TEST_F(Scheduler, TimeGoingBackOrStandingStillRunsAPassAtOnce) {
    moduleActive = true;
    ASSERT_TRUE(PassRuns(50.0));
    EXPECT_TRUE(PassRuns(50.0));  // time stood still
    EXPECT_TRUE(PassRuns(20.0));  // a state loaded from earlier
    EXPECT_DOUBLE_EQ(schedLastTime, 20.0);
    EXPECT_DOUBLE_EQ(schedNextTime, 20.1);
    EXPECT_FALSE(PassRuns(20.05));
}

TEST_F(Scheduler, NothingRunsWhileTheModuleIsInactive) {
    moduleActive = false;
    EXPECT_FALSE(PassRuns(1.0));
    // A pre-step activates the module only once an MFD of the mode exists.
    opcPreStep(1.0, 0.05, 0.0);
    EXPECT_FALSE(moduleActive);
    liveMfdCount = 1;
    opcPreStep(1.05, 0.05, 0.0);
    EXPECT_TRUE(moduleActive);
    liveMfdCount = 0;
    opcPreStep(1.1, 0.05, 0.0);
    EXPECT_TRUE(moduleActive) << "only the reset switches the module inactive";
    EXPECT_TRUE(PassRuns(1.1));
}

TEST_F(Scheduler, PendingReattachmentStopsThePassAtThatSlotNumber) {
    moduleActive = true;
    // Vessels in slots 0, 1 and 2, each with HOLD on at position 0.
    MfdState *second = StateOf(AddVessel("Second"), 0);
    MfdState *third = StateOf(AddVessel("Third"), 0);
    ASSERT_TRUE(second && third);
    S->holdOn = second->holdOn = third->holdOn = true;

    pendingAttachMask = PositionBit(0);
    opcPostStep(1.0, 0.05, 0.0);
    EXPECT_EQ(vesselRecords[0]->modeMask, 0u) << "no vessel is stepped until position 0 redraws";
    EXPECT_EQ(vesselRecords[1]->modeMask, 0u);

    pendingAttachMask = PositionBit(2);
    opcPostStep(2.0, 0.05, 0.0);
    EXPECT_EQ(vesselRecords[0]->modeMask, kModeBitHold);
    EXPECT_EQ(vesselRecords[1]->modeMask, kModeBitHold);
    EXPECT_EQ(vesselRecords[2]->modeMask, 0u);

    pendingAttachMask = 0;
    opcPostStep(3.0, 0.05, 0.0);
    EXPECT_EQ(vesselRecords[2]->modeMask, kModeBitHold);
}

TEST_F(Scheduler, FocusChangesResetOnlyAtTheStartOfARun) {
    moduleActive = true;
    storedPositionMask = 0x5;
    pendingAttachMask = 0x2;
    // A focus change during the run keeps slots and states.
    opcFocusChanged(H(AddVessel("Other")), H(world.vessels[0].get()));
    EXPECT_EQ(storedPositionMask, 0u);
    EXPECT_EQ(pendingAttachMask, 0u);
    EXPECT_EQ(RecordForSlot(0), record);
    EXPECT_EQ(record->states[0], S);

    // While inactive the masks stay as they are.
    moduleActive = false;
    storedPositionMask = 0x5;
    opcFocusChanged(H(world.vessels[0].get()), H(world.vessels[1].get()));
    EXPECT_EQ(storedPositionMask, 0x5u);

    // The first focus of a run (no previous focus) resets everything.
    moduleActive = true;
    positionIds[12] = 4711;
    positionIdCursor = 5;
    opcFocusChanged(H(world.vessels[0].get()), nullptr);
    EXPECT_FALSE(moduleActive);
    EXPECT_EQ(vesselSlotMask, 0u);
    EXPECT_EQ(RecordForSlot(0), nullptr);
    EXPECT_EQ(storedPositionMask, 0u);
    EXPECT_EQ(positionIds[12], 12);
    EXPECT_EQ(positionIdCursor, 0);
    EXPECT_EQ(schedNextTime, 0.0);
}

TEST_F(Scheduler, StopAllSwitchesEveryPositionOffAtTheNextPass) {
    moduleActive = true;
    MfdState *other = StateOf(world.vessels[0].get(), 5);
    ASSERT_NE(other, nullptr);
    S->holdOn = true;
    S->transAxes = 3;
    opcPostStep(1.0, 0.05, 0.0);
    EXPECT_EQ(record->modeMask, kModeBitHold | PositionBit(3));
    EXPECT_EQ(record->positionMask, PositionBit(0));

    other->transAxes = 3;  // engaged in the same interval as the request
    StopAllAutopilots(RecordForSlot(0) ? 0 : -1);
    opcPostStep(1.1, 0.05, 0.0);
    EXPECT_FALSE(S->holdOn);
    EXPECT_EQ(S->transAxes, kTransAxesNone);
    EXPECT_EQ(other->transAxes, kTransAxesNone);
    EXPECT_FALSE(record->stopAllRequest);
    EXPECT_EQ(record->modeMask, 0u);
    EXPECT_EQ(record->positionMask, 0u);
}

}  // namespace

namespace {

TEST_F(Scheduler, AVesselDeletedWhileInactiveIsNoLongerStepped) {
    moduleActive = false;
    ::Vessel *v = world.vessels[0].get();
    opcDeleteVessel(H(v));  // inactive: the slot stays
    sim::deleteVessel(world, v);
    ASSERT_EQ(RecordForSlot(0), record);
    const double last = S->lastStepTime;
    S->holdOn = true;
    Pass(7.0);
    EXPECT_EQ(S->lastStepTime, last);
    EXPECT_EQ(record->modeMask, 0u);
}

}  // namespace
