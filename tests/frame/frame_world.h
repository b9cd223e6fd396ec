// A minimal world for the frame and MFD tests: one planet, a few vessel classes,
// vessels in low orbit, and the plug-in's module state reset around each test.
#ifndef TESSARC_TESTS_FRAME_FRAME_WORLD_H
#define TESSARC_TESTS_FRAME_FRAME_WORLD_H

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <string>

#include "frame/entry.h"
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "sim/world.h"
#include "support/earth.h"

class FrameWorld : public ::testing::Test {
protected:
    sim::World world;
    sim::Body *earth = nullptr;
    const sim::VesselClass *plainClass = nullptr;    // no docking ports
    const sim::VesselClass *dockingClass = nullptr;  // two docking ports

    void SetUp() override {
        sim::setWorld(&world);
        earth = support::AddEarth(world);
        plainClass = AddClass("Plain", 0);
        dockingClass = AddClass("Station", 2);
        ResetModule();
    }

    void TearDown() override {
        for (int &n : positionMfdObjects) n = 0;
        ResetModule();
        sim::setWorld(nullptr);
    }

    const sim::VesselClass *AddClass(const std::string &name, int docks) {
        auto c = std::make_unique<sim::VesselClass>();
        c->name = name;
        c->emptyMass = 10000;
        c->pmi = _V(10, 10, 5);
        c->size = 10;
        for (int i = 0; i < docks; ++i) {
            sim::DockSpec d;
            d.pos = _V(0, 0, 10.0 + i);
            d.dir = _V(0, 0, 1);
            d.rot = _V(0, 1, 0);
            c->docks.push_back(d);
        }
        c->touchdown = {_V(0, -2, 5), _V(-3, -2, -3), _V(3, -2, -3)};
        const sim::VesselClass *p = c.get();
        world.classes.push_back(std::move(c));
        return p;
    }

    // A vessel in a circular low orbit; the host refuses a name it already has
    // (letter case ignored), so a name differing only in case is set afterwards.
    ::Vessel *AddVessel(const std::string &name, const sim::VesselClass *cls = nullptr) {
        static int serial = 0;
        std::string temp = "tmp-vessel-" + std::to_string(++serial);
        ::Vessel *v = sim::addVessel(world, temp, cls ? cls : plainClass);
        if (!v) return nullptr;
        v->name = name;
        double r = earth->radius + 300e3;
        sim::setOrbitState(*v, earth, _V(r, 0, 0), _V(0, 0, std::sqrt(earth->mu() / r)), _V(0, 0, 0),
                           _V(0, 0, 0));
        return v;
    }

    static OBJHANDLE H(::Vessel *v) { return static_cast<OBJHANDLE>(v); }

    // The slot and the state at a position, registering the vessel as an MFD would.
    MfdState *StateOf(::Vessel *v, int position, int *slotOut = nullptr) {
        int slot = LookupVesselSlot(H(v));
        if (slotOut) *slotOut = slot;
        return StateAtPosition(RecordForSlot(slot), slot, position);
    }

    // Positions with an MFD object open (as far as the registry can tell).
    static void OpenMfdAt(std::initializer_list<int> positions) {
        for (int p : positions) positionMfdObjects[p] = 1;
    }

    // One scheduler pass at the given simulation time (the module switched active).
    void Pass(double simt) {
        moduleActive = true;
        opcPostStep(simt, 0.1, 0.0);
    }
};

#endif  // TESSARC_TESTS_FRAME_FRAME_WORLD_H
