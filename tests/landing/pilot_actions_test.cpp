// The landing under a pilot's ordinary actions, from the bundled lunar landing:
// HOLD off while braking, a refusal (no attitude propellant, a pass too close,
// a miss beyond the limit), a new pad or a stop and re-engagement late in the
// descent, a final descent that has overshot the pad. The engines never stay lit for an autopilot that let go, a refusal
// keeps its reason on the page, and no change ends in a hard contact.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "frame/state.h"
#include "landing/autopilot.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

class PilotActions : public ::testing::Test {
public:
    std::unique_ptr<flight::Flight> flight;
    MfdState *S = nullptr;
    ::Vessel *eagle = nullptr;

    // A fresh flight from the bundled scenario, Landing on pad 1 selected.
    void SetUp() override {
        flight.reset();  // one flight at a time
        flight.reset(new flight::Flight());
        flight::Flight &f = *flight;
        ASSERT_TRUE(f.load("scenarios/lunar_landing.scn")) << f.error();
        flight::useLinkedPlugin(f);
        ASSERT_TRUE(f.open(0)) << f.error();
        for (const char *k : {"5", "B"}) ASSERT_TRUE(f.key(0, k));
        ASSERT_TRUE(f.type(0, "Brighton Beach"));
        ASSERT_TRUE(f.key(0, "P"));
        ASSERT_TRUE(f.type(0, "1"));
        S = dynamic_cast<TessarcMFD *>(f.mfd(0))->state;
        eagle = f.vessel("Eagle");
        f.run(1);
    }

    double Engines() {
        VESSEL *v = flight->iface("Eagle");
        return std::fmax(v->GetThrusterGroupLevel(THGROUP_MAIN), v->GetThrusterGroupLevel(THGROUP_HOVER));
    }
    // Runs with HOLD on until the phase is reached (false if it never is).
    bool FlyTo(int phase) {
        flight::Flight &f = *flight;
        f.setWarp(100);
        while (f.simt() < 6000.0 && S->landingPhase != phase && !eagle->touchedDown)
            f.run(S->landingPhase == LANDING_WAIT ? 20.0 : 0.5);
        return S->landingPhase == phase;
    }
    // Puts the lander `past` m beyond the target on the approach line, moving on
    // along it at `forward` and across it at `across` m/s over the ground: where
    // a final descent that overshoots ends up.
    void CarryPast(double past, double forward, double across) {
        VESSEL *v = flight->iface("Eagle");
        auto global = [v](double east, double north) {
            VECTOR3 local, g;
            v->HorizonInvRot(_V(east, 0, north), local);
            v->GlobalRot(local, g);
            return g;
        };
        const double h = S->approachHeading, along = S->landingWork[0], cross = S->landingWork[4];
        const double sh = std::sin(h), ch = std::cos(h);
        VECTOR3 ground;
        ASSERT_TRUE(v->GetAirspeedVector(FRAME_HORIZON, ground));
        eagle->pos += global((past - along) * sh - cross * ch, (past - along) * ch + cross * sh);
        eagle->vel += global(forward * sh + across * ch - ground.x, forward * ch - across * sh - ground.z);
    }
    void FlyDown() {
        flight::Flight &f = *flight;
        while (f.simt() < 8000.0 && !eagle->touchedDown) f.run(1.0);
    }
};

TEST_F(PilotActions, HoldOffWhileBrakingCutsTheEngineAtOnce) {
    flight::Flight &f = *flight;
    ASSERT_TRUE(f.key(0, "H"));
    ASSERT_TRUE(FlyTo(LANDING_BRAKE));
    f.run(20);
    ASSERT_GT(Engines(), 0.2);
    ASSERT_TRUE(f.key(0, "H"));  // in the braking phase HOLD goes straight off
    EXPECT_FALSE(S->holdOn);
    EXPECT_EQ(Engines(), 0.0);
    f.run(5);
    EXPECT_EQ(Engines(), 0.0);
}

// Each refusal: what the pilot does, then HOLD; the autopilot lets go with the
// engines off and the reason stays on the page a good while later.
TEST_F(PilotActions, RefusalsKeepTheirReasonOnThePage) {
    struct Case {
        const char *name;
        std::function<void(PilotActions &)> before;
        const char *reason;
        bool engage;  // HOLD pressed after `before`
    };
    const Case cases[] = {
        {"empty attitude tank", [](PilotActions &t) { t.eagle->tankMass[1] = 0.0; }, "no attitude propellant", true},
        {"two minutes before the pass",
         [](PilotActions &t) {
             t.flight->setWarp(100);
             while (t.S->landingWork[19] > 130.0 || t.S->landingWork[19] <= 0.0) t.flight->run(5.0);
             t.flight->setWarp(1);
             t.flight->run(10.0);
         },
         "pass too close to brake", true},
        {"a place far off the track chosen under HOLD",
         [](PilotActions &t) {
             ASSERT_TRUE(t.flight->key(0, "H"));
             ASSERT_TRUE(t.flight->key(0, "T"));
             ASSERT_TRUE(t.flight->type(0, "W28.9 N31.8"));
             t.flight->run(1.0);
         },
         "alignment not valid", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        flight::Flight &f = *flight;
        c.before(*this);
        const double t0 = f.simt();
        if (c.engage) {
            ASSERT_TRUE(f.key(0, "H"));
        }
        f.run(3.0);
        EXPECT_FALSE(S->holdOn);
        EXPECT_EQ(S->landingPhase, LANDING_WAIT);
        EXPECT_EQ(Engines(), 0.0);
        f.setWarp(10);
        f.run(300.0);
        f.draw(0);
        EXPECT_TRUE(f.screenContains(0, c.reason)) << f.screenText(0);
        EXPECT_FALSE(f.screenContains(0, "Burn start time")) << f.screenText(0);
        EXPECT_FALSE(S->holdOn);
        EXPECT_FALSE(eagle->touchedDown) << "t " << f.simt() - t0;
        // The pass the page shows is one of the next two.
        ELEMENTS el;
        ORBITPARAM prm;
        f.iface("Eagle")->GetElements(S->bodyRef, el, &prm, 0, FRAME_EQU);
        EXPECT_LT(S->landingWork[19], 2.0 * prm.T);
    }
}

// Changes late in the descent: the lander comes down softly on the pad it
// ends up aiming for.
TEST_F(PilotActions, LateChangesEndInASoftTouchdown) {
    struct Case {
        const char *name;
        int phase;
        std::function<void(PilotActions &)> change;
    };
    const Case cases[] = {
        {"pad 3 during the approach", LANDING_APPROACH,
         [](PilotActions &t) {
             ASSERT_TRUE(t.flight->key(0, "P"));
             ASSERT_TRUE(t.flight->type(0, "3"));
         }},
        {"pad 2 in the final phase", LANDING_FINAL,
         [](PilotActions &t) {
             ASSERT_TRUE(t.flight->key(0, "P"));
             ASSERT_TRUE(t.flight->type(0, "2"));
         }},
        {"stop, release and re-engage during the approach", LANDING_APPROACH,
         [](PilotActions &t) {
             ASSERT_TRUE(t.flight->key(0, "H"));  // stop: hover
             t.flight->run(15.0);
             ASSERT_TRUE(t.flight->key(0, "H"));  // release
             t.flight->run(3.0);
             ASSERT_TRUE(t.flight->key(0, "H"));  // engage again
         }},
        {"released low in the approach, engaged again 5 s later sinking fast", LANDING_APPROACH,
         [](PilotActions &t) {
             t.flight->run(47.0);  // some 100 m above the pad
             ASSERT_TRUE(t.flight->key(0, "H"));  // stop
             t.flight->run(1.0);
             ASSERT_TRUE(t.flight->key(0, "H"));  // release: it falls
             t.flight->run(5.0);
             ASSERT_TRUE(t.flight->key(0, "H"));  // engage again
         }},
        {"stop in the final phase, pad 3 behind, release and re-engage", LANDING_FINAL,
         [](PilotActions &t) {
             ASSERT_TRUE(t.flight->key(0, "H"));  // stop: hover
             t.flight->run(15.0);
             ASSERT_TRUE(t.flight->key(0, "P"));
             ASSERT_TRUE(t.flight->type(0, "3"));
             ASSERT_TRUE(t.flight->key(0, "H"));  // release
             t.flight->run(1.0);
             ASSERT_TRUE(t.flight->key(0, "H"));  // engage again
         }},
        {"carried 3 m past the pad in the final phase, moving on and drifting sideways", LANDING_FINAL,
         [](PilotActions &t) { t.CarryPast(3.0, 0.3, 0.1); }},
        {"carried 3 m past the pad in the final phase, at rest along it, drifting sideways", LANDING_FINAL,
         [](PilotActions &t) { t.CarryPast(3.0, 0.0, 0.1); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        flight::Flight &f = *flight;
        ASSERT_TRUE(f.key(0, "H"));
        ASSERT_TRUE(FlyTo(c.phase));
        f.run(10.0);
        c.change(*this);
        FlyDown();
        ASSERT_TRUE(eagle->touchedDown);
        EXPECT_GT(eagle->touchdownVs, -1.0) << "phase " << S->landingPhase;
        EXPECT_LT(eagle->touchdownHs, 1.0);
        double lon = 0, lat = 0, r = 0;
        f.iface("Eagle")->GetEquPos(lon, lat, r);
        EXPECT_LT(oapiOrthodome(lon, lat, S->targetLon, S->targetLat) * oapiGetSize(S->bodyRef), 10.0);
        EXPECT_EQ(Engines(), 0.0);
    }
}

// The pilot stops the descent and leaves the lander hovering on a low tank: it
// does not hover the tank dry and fall, but goes on to the pad from a stop in the
// approach and sets down where it stopped in the final phase.
TEST_F(PilotActions, AStopLeftHoveringSetsDownBeforeTheTankRunsDry) {
    for (int phase : {LANDING_APPROACH, LANDING_FINAL}) {
        SCOPED_TRACE(phase);
        SetUp();
        flight::Flight &f = *flight;
        ASSERT_TRUE(f.key(0, "H"));
        ASSERT_TRUE(FlyTo(phase));
        f.run(10.0);
        ASSERT_TRUE(f.key(0, "H"));  // stop: hover
        eagle->tankMass[0] = 1400.0;
        FlyDown();
        ASSERT_TRUE(eagle->touchedDown);
        EXPECT_GT(eagle->touchdownVs, -1.0);
        EXPECT_LT(eagle->touchdownHs, 1.0);
        EXPECT_GT(eagle->tankMass[0], 0.0);
        double lon = 0, lat = 0, r = 0;
        f.iface("Eagle")->GetEquPos(lon, lat, r);
        const double miss = oapiOrthodome(lon, lat, S->targetLon, S->targetLat) * oapiGetSize(S->bodyRef);
        EXPECT_LT(miss, phase == LANDING_APPROACH ? 10.0 : 2.0 * std::fabs(S->landingParams[LP_END_ALONG]));
        EXPECT_EQ(Engines(), 0.0);
    }
}

// The landed vessel the lander aims at is deleted in each phase of the descent:
// the lander comes down softly where it stood, the page naming that place.
TEST_F(PilotActions, ALandedVesselTargetDeletedInFlightIsLandedBeside) {
    for (int phase : {LANDING_BRAKE, LANDING_APPROACH, LANDING_FINAL}) {
        SCOPED_TRACE(phase);
        flight.reset();
        flight.reset(new flight::Flight());
        flight::Flight &f = *flight;
        ASSERT_TRUE(f.loadText("BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 60000.25\nEND_ENVIRONMENT\n"
                               "BEGIN_FOCUS\n  Ship Eagle\nEND_FOCUS\nBEGIN_SHIPS\nEagle:LunarLander\n"
                               "  STATUS Orbiting Moon\n  ELEMENTS 1758.0 0.0 45.0 83.4912 83.4912 15.8775 EQU\nEND\n"
                               "Base-1:Outpost\n  STATUS Landed Moon\n  POS -33.4275 41.1300\nEND\nEND_SHIPS\n"))
            << f.error();
        flight::useLinkedPlugin(f);
        ASSERT_TRUE(f.open(0)) << f.error();
        for (const char *k : {"5", "B"}) ASSERT_TRUE(f.key(0, k));
        ASSERT_TRUE(f.type(0, "Base-1"));
        S = dynamic_cast<TessarcMFD *>(f.mfd(0))->state;
        eagle = f.vessel("Eagle");
        ASSERT_TRUE(f.key(0, "H"));
        ASSERT_TRUE(FlyTo(phase));
        f.run(10.0);
        double lonB = 0, latB = 0, r = 0;
        f.iface("Base-1")->GetEquPos(lonB, latB, r);
        ASSERT_TRUE(f.remove("Base-1"));
        f.run(5.0);
        f.draw(0);
        EXPECT_TRUE(f.screenContains(0, "Manual Location")) << f.screenText(0);
        FlyDown();
        ASSERT_TRUE(eagle->touchedDown);
        EXPECT_GT(eagle->touchdownVs, -1.0);
        EXPECT_LT(eagle->touchdownHs, 1.0);
        double lon = 0, lat = 0;
        f.iface("Eagle")->GetEquPos(lon, lat, r);
        EXPECT_LT(oapiOrthodome(lon, lat, lonB, latB) * oapiGetSize(S->bodyRef), 10.0);
    }
}

}  // namespace
