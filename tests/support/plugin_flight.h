// Test-side shorthands for a flight with the plug-in linked in: start one from
// scenario text, reach an MFD object and a vessel's state at a position.
#ifndef TESSARC_TESTS_SUPPORT_PLUGIN_FLIGHT_H
#define TESSARC_TESTS_SUPPORT_PLUGIN_FLIGHT_H

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "frame/registry.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace flight {

// A flight of the scenario text with the plug-in, started (failures reported).
inline std::unique_ptr<Flight> flyLinked(const std::string &text) {
    std::unique_ptr<Flight> f(new Flight);
    EXPECT_TRUE(f->loadText(text)) << f->error();
    useLinkedPlugin(*f);
    EXPECT_TRUE(f->start()) << f->error();
    return f;
}

// The plug-in's MFD object on display d, or null.
inline TessarcMFD *mfdObject(Flight &f, int d) { return dynamic_cast<TessarcMFD *>(f.mfd(d)); }

// The state of the named vessel at an MFD position, or null.
inline MfdState *stateOf(const std::string &vessel, int position) {
    for (int slot = 0; slot < kMaxSlots; ++slot) {
        VesselRecord *r = RecordForSlot(slot);
        if (r && r->name == vessel) return r->states[position];
    }
    return nullptr;
}

}  // namespace flight

#endif  // TESSARC_TESTS_SUPPORT_PLUGIN_FLIGHT_H
