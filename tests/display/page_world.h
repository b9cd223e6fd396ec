// A small world for page tests: the Sun, the Earth, a probe class with one tank
// and one docking port, and vessels registered with the plug-in's registry. Pages
// are drawn straight into a recording surface, without the scheduler, so a test
// sets exactly the state fields it wants to see.
#ifndef TESSARC_TESTS_DISPLAY_PAGE_WORLD_H
#define TESSARC_TESTS_DISPLAY_PAGE_WORLD_H

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "frame/registry.h"
#include "frame/state.h"
#include "sim/sketchpad.h"
#include "sim/world.h"

class PageWorld : public ::testing::Test {
protected:
    sim::World w;
    sim::Body *sun = nullptr;
    sim::Body *earth = nullptr;
    sim::VesselClass *probe = nullptr;
    sim::RecordingSketchpad pad{256, 256};
    sim::TextScreen screen;

    PageWorld();
    ~PageWorld() override;

    // A vessel in a 300 km circular orbit, registered; its slot.
    int AddShip(const std::string &name, double phase = 0.0);
    ::Vessel *Ship(const std::string &name) const { return w.findVessel(name); }
    // The state at MFD position `position` of the vessel, created on first use.
    MfdState *State(const std::string &name, int position = 0);
    // A state past start-up and mode selection, in the given mode.
    MfdState *PageState(const std::string &name, int refMode);

    // Draws the state's page frame (or the summary page) and reads the grid.
    void Draw(MfdState *S);
    void DrawSummary(int32_t position, int32_t *line, int32_t *slot, const char *own);

    // Text at a 1-based row and column of the last drawing, n characters.
    std::string At(int row, int col, int n) const;
    DWORD ColourAt(int row, int col) const;
    bool Shows(const std::string &text) const;
    int TextCalls(const std::string &text) const;
};

#endif  // TESSARC_TESTS_DISPLAY_PAGE_WORLD_H
