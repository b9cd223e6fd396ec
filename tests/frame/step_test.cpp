// The autopilot step as the scheduler's passes run it: references that vanish,
// the control rights of a position that was re-initialised, long object names,
// a new docking, the landing autopilot's debug line and the error estimates.
#include <cstdio>
#include <cstring>
#include <string>

#include "frame/frame_world.h"
#include "landing/target.h"
#include "mfd/dialogs.h"
#include "mfd/setters.h"
#include "sim/docking.h"

namespace {

class Step : public FrameWorld {
protected:
    // A pass with the host's simulation time where the pass says it is.
    void PassAt(double simt) {
        world.simt = simt;
        Pass(simt);
    }
};

TEST_F(Step, AVanishedTargetReinitialisesThePositionAndTheLockoutStillHolds) {
    ::Vessel *own = AddVessel("Own");
    ::Vessel *buoy = AddVessel("Buoy");
    int slot = -1;
    MfdState *driver = StateOf(own, 0, &slot);
    MfdState *relative = StateOf(own, 1);
    MfdState *manual = StateOf(own, 2);
    ASSERT_TRUE(driver && relative && manual);
    relative->refMode = AP_RELATIVE;
    relative->modePage = false;
    ASSERT_TRUE(SetTarget(relative, "Buoy"));
    manual->refMode = AP_LANDING;
    ASSERT_TRUE(SetTarget(manual, "Buoy"));
    manual->manualTarget = 1;
    driver->holdOn = true;
    PassAt(10.0);
    PassAt(11.0);
    ASSERT_TRUE(relative->lockedOut);

    sim::deleteVessel(world, buoy);
    PassAt(12.0);
    // Back to the Velocity mode with the body as target, at the same position.
    EXPECT_EQ(relative->refMode, AP_VELOCITY);
    EXPECT_EQ(relative->targetRef, relative->bodyRef);
    EXPECT_STREQ(relative->targetRefName, "Earth");
    EXPECT_EQ(relative->position, 1);
    EXPECT_EQ(RecordForSlot(slot)->states[1], relative);
    // The pass went on with the fresh state: position 0 still drives the vessel,
    // so this one may not engage anything in between.
    EXPECT_TRUE(relative->lockedOut);
    EXPECT_DOUBLE_EQ(relative->lastStepTime, 12.0);
    // A manual landing location keeps its mode and only takes the body as target.
    EXPECT_EQ(manual->refMode, AP_LANDING);
    EXPECT_EQ(manual->manualTarget, 1);
    EXPECT_EQ(manual->targetRef, manual->bodyRef);
    EXPECT_STREQ(manual->targetRefName, "Earth");
    EXPECT_TRUE(driver->holdOn);
}

TEST_F(Step, LongNamesAreNotTakenForAVanishedTargetOrBody) {
    earth->name = std::string(110, 'E');
    const std::string targetName = "Station " + std::string(120, 'S');
    ::Vessel *station = AddVessel(targetName);
    MfdState *S = StateOf(AddVessel("Chaser"), 0);
    ASSERT_NE(S, nullptr);
    S->refMode = AP_RELATIVE;
    ASSERT_TRUE(SetReferenceBody(S, earth->name.c_str()));
    ASSERT_TRUE(SetTarget(S, targetName.c_str()));
    EXPECT_EQ(std::strlen(S->targetRefName), sizeof S->targetRefName - 1);
    S->holdOn = true;
    for (int i = 1; i <= 3; ++i) PassAt(i);
    EXPECT_EQ(S->refMode, AP_RELATIVE);
    EXPECT_EQ(S->targetRef, H(station));
    EXPECT_EQ(S->bodyRef, static_cast<OBJHANDLE>(earth));
    EXPECT_TRUE(S->holdOn);
}

TEST_F(Step, ANewDockingEndsTheHoldsAndAnUndockingChangesNothing) {
    ::Vessel *tug = AddVessel("Tug", dockingClass);
    ::Vessel *depot = AddVessel("Depot", dockingClass);
    MfdState *S = StateOf(tug, 0);
    ASSERT_NE(S, nullptr);
    PassAt(10.0);
    S->holdOn = true;
    S->transAxes = 3;
    S->axisMask = 7;
    tug->ports[0].docked = depot;
    tug->ports[0].otherPort = 0;
    depot->ports[0].docked = tug;
    depot->ports[0].otherPort = 0;
    sim::rebuildStacks(world);
    PassAt(11.0);
    EXPECT_FALSE(S->holdOn);
    EXPECT_EQ(S->transAxes, kTransAxesNone);
    EXPECT_GT(S->lastDockedCount, 0);

    // Engaged again while docked: the count did not rise, nothing is switched off.
    S->holdOn = true;
    S->transAxes = 3;
    PassAt(12.0);
    EXPECT_TRUE(S->holdOn);
    ASSERT_TRUE(sim::undock(*tug, 0));
    PassAt(13.0);
    EXPECT_TRUE(S->holdOn);
    EXPECT_EQ(S->transAxes, 3);
    EXPECT_EQ(S->lastDockedCount, 0);
}

TEST_F(Step, ADebugMessageIsBlankedAtTheFirstStepAfterItsSystemTime) {
    MfdState *S = StateOf(AddVessel("Lander"), 0);
    ASSERT_NE(S, nullptr);
    world.syst = 10.0;
    std::snprintf(oapiDebugString(), 64, "TessarcMFD: time acceleration limited");
    S->debugLineSet = true;
    S->debugLineUntil = world.syst + 3.0;
    // Simulation time runs far ahead; only system time counts.
    world.syst = 12.9;
    PassAt(100.0);
    EXPECT_STRNE(oapiDebugString(), "");
    EXPECT_TRUE(S->debugLineSet);
    world.syst = 13.05;
    PassAt(101.0);
    EXPECT_STREQ(oapiDebugString(), "");
    EXPECT_FALSE(S->debugLineSet);
}

TEST_F(Step, ErrorAngleChangesWrapIntoOneTurn) {
    MfdState *S = StateOf(AddVessel("Still"), 0);
    ASSERT_NE(S, nullptr);
    S->refMode = AP_ATTITUDE;  // nothing moves between passes: the error stays put
    PassAt(10.0);
    PassAt(11.0);
    const VECTOR3 a = S->attitudeAngles;
    S->angles = _V(a.x - 3.5, a.y + 3.5, a.z - 1.0);
    PassAt(12.0);
    EXPECT_NEAR(S->attErrorDelta.x, 3.5 - PI2, 1e-9);
    EXPECT_NEAR(S->attErrorDelta.y, PI2 - 3.5, 1e-9);
    EXPECT_NEAR(S->attErrorDelta.z, 1.0, 1e-9);
    EXPECT_NEAR(S->angleRates.x, (3.5 - PI2) / 1.0, 1e-6);
    EXPECT_NEAR(S->angles.y, a.y, 1e-12);
}

}  // namespace
