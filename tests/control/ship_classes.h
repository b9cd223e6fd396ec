// Bundled vessel classes the control flight tests fly.
#ifndef TESSARC_TESTS_CONTROL_SHIP_CLASSES_H
#define TESSARC_TESTS_CONTROL_SHIP_CLASSES_H

namespace ctltest {

const char *const kPlainShip = "ShuttlePB";           // separate pitch and bank thrusters
const char *const kSharedShip = "DeltaGlider";        // pitch-up and bank-left share thrusters
const char *const kStationShip = "ProjectAlpha_ISS";  // the large station
const char *const kLanderShip = "LunarLander";

}  // namespace ctltest

#endif  // TESSARC_TESTS_CONTROL_SHIP_CLASSES_H
