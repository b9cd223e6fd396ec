// Input boxes are kept per display (see Display::box in mfdhost.h); the pilot's
// typing and cancelling are Host::type and Host::cancel.
#ifndef TESSARC_SIM_INPUTBOX_H
#define TESSARC_SIM_INPUTBOX_H

#include <string>

namespace sim {

// Longest text a box takes; longer typed text is cut.
const size_t kInputBoxMaxText = 255;

}  // namespace sim

#endif  // TESSARC_SIM_INPUTBOX_H
