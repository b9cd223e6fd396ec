// Flight tests in the simulated host: a world from a scenario, a module (usually
// the plug-in linked into the test program, see linked_plugin.h), the cockpit's
// displays with a pilot's keys, buttons and typed text, time, and what the pilot
// sees (the text grid of a display) and what the vessels do.
//
//   flight::Flight f;
//   ASSERT_TRUE(f.load("scenarios/leo.scn")) << f.error();
//   flight::useLinkedPlugin(f);
//   ASSERT_TRUE(f.open(0)) << f.error();
//   f.key(0, "H");
//   f.run(30);
//   EXPECT_NE(f.screenText(0).find("HOLD"), std::string::npos);
//
// One Flight at a time: it makes its world and host the current ones.
#ifndef TESSARC_TESTS_SUPPORT_FLIGHT_H
#define TESSARC_TESTS_SUPPORT_FLIGHT_H

#include <string>
#include <vector>

#include "sim/host.h"
#include "sim/scenario.h"
#include "sim/sketchpad.h"

namespace flight {

class Flight {
public:
    Flight();
    ~Flight();
    Flight(const Flight &) = delete;
    Flight &operator=(const Flight &) = delete;

    // --- The world ------------------------------------------------------------
    // A scenario file (absolute, or relative to the source tree) or scenario text.
    // The scenario's MFD blocks open at start(). False: see error().
    bool load(const std::string &path);
    bool loadText(const std::string &text, const std::string &name = "inline.scn");

    // --- Modules --------------------------------------------------------------
    // Add a module whose entry points are linked into the test (InitModule runs now).
    void useModule(const sim::ModuleApi &api, const std::string &name);
    bool loadModule(const std::string &path);  // a shared library, through dlopen

    // The run starts (modules told the first focus, scenario MFDs opened) at the
    // first of start(), open(), run() or frames().
    bool start();

    // --- The pilot ----------------------------------------------------------------
    // Select a mode on display d (0 left, 1 right, 2.. user), for the focus vessel
    // or the named one.
    bool open(int d, const std::string &mode = "TessarcMFD", const std::string &vessel = "");
    bool close(int d);
    bool recreate(int d);
    bool key(int d, DWORD code);
    bool key(int d, const char *name);  // host key name: "H", "Up", "Delete", "1"...
    bool button(int d, int bt);
    // Text into the display's open input box; returns whether the mode accepted it
    // (false also when no box is open: see boxOpen).
    bool type(int d, const std::string &text);
    bool cancel(int d);
    bool boxOpen(int d) const;
    std::string boxTitle(int d) const;
    bool focus(const std::string &vessel);
    bool remove(const std::string &vessel);  // delete a vessel
    void setWarp(double warp);
    void setDisplaySize(int d, int w, int h);

    // --- Time -----------------------------------------------------------------------
    void run(double seconds);
    void frames(int n);
    double simt() const { return world.simt; }

    // --- What the pilot sees -------------------------------------------------------
    // The display's last frame on the 37-column grid; draw(d) draws it now.
    void draw(int d);
    sim::TextScreen screen(int d) const;
    std::vector<std::string> screenLines(int d) const;
    std::string screenText(int d) const;
    bool screenContains(int d, const std::string &text) const;
    const sim::Drawing &drawing(int d) const;
    std::string label(int d, int bt) const;
    MFD *mfd(int d) const;

    // --- The vessels -----------------------------------------------------------------
    ::Vessel *vessel(const std::string &name) const;
    VESSEL *iface(const std::string &name) const;
    OBJHANDLE handle(const std::string &name) const;
    VESSEL *focusVessel() const;

    // --- Results ------------------------------------------------------------------------
    std::string save();  // the current state as scenario text; "" and error() when it cannot be saved
    const std::string &error() const { return err; }
    // Problems the host found (pens or brushes not released in a frame, ...).
    const std::vector<std::string> &hostErrors() { return host.errors(); }

    sim::World world;
    sim::Host host;
    sim::Scenario scenario;

private:
    std::string err;
    bool haveScenario = false;
};

// Absolute path of a file in the source tree.
std::string sourcePath(const std::string &relative);

}  // namespace flight

#endif  // TESSARC_TESTS_SUPPORT_FLIGHT_H
