// Bundled vessel classes the control flight tests fly.
#ifndef TESSARC_TESTS_CONTROL_SHIP_CLASSES_H
#define TESSARC_TESTS_CONTROL_SHIP_CLASSES_H

namespace ctltest {

// The small shuttle most flights fly: its fore and aft thruster pairs serve
// pitch, bank and up/down at once (pitch-up and bank-left share thrusters).
const char *const kPlainShip = "ShuttlePB";
const char *const kSeparateShip = "DeltaGlider";      // pitch and bank thrusters apart
const char *const kStationShip = "ProjectAlpha_ISS";  // the large station
const char *const kLanderShip = "LunarLander";

}  // namespace ctltest

#endif  // TESSARC_TESTS_CONTROL_SHIP_CLASSES_H
