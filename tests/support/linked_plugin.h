// The plug-in linked into a test program, as a module of the simulated host.
// Only test areas that link the plug-in include this (tests/sim and tests/app
// do not).
#ifndef TESSARC_TESTS_SUPPORT_LINKED_PLUGIN_H
#define TESSARC_TESTS_SUPPORT_LINKED_PLUGIN_H

#include "frame/entry.h"
#include "sim/module.h"
#include "support/flight.h"

namespace flight {

inline sim::ModuleApi linkedPluginApi() {
    sim::ModuleApi a;
    a.InitModule = InitModule;
    a.ExitModule = ExitModule;
    a.opcPreStep = opcPreStep;
    a.opcPostStep = opcPostStep;
    a.opcFocusChanged = opcFocusChanged;
    a.opcTimeAccChanged = opcTimeAccChanged;
    a.opcDeleteVessel = opcDeleteVessel;
    a.opcCloseRenderViewport = opcCloseRenderViewport;
    a.ModuleDate = ModuleDate;
    a.GetModuleVersion = GetModuleVersion;
    return a;
}

// The plug-in as the flight's module (InitModule runs now).
inline void useLinkedPlugin(Flight &f) { f.useModule(linkedPluginApi(), "TessarcMFD_2016"); }

}  // namespace flight

#endif  // TESSARC_TESTS_SUPPORT_LINKED_PLUGIN_H
