// A frame's drawing calls as plain lines, in order: every text with its position
// and every shape with its points. What the Windows test host prints for the same
// pages, so the two can be compared line for line.
#ifndef TESSARC_SIM_CALLLOG_H
#define TESSARC_SIM_CALLLOG_H

#include <string>

#include "sketchpad.h"

namespace sim {

// "surface W x H, character width C", then one line per text, shape or font:
// text X Y "..." / line|rectangle|ellipse X0 Y0 X1 Y1 / pixel X Y /
// polygon|polyline N X,Y ... / font EM (its character height; none, or unknown
// for a font this host did not make). Pens, brushes and colours are left out.
std::string callLog(const Drawing &d);
bool writeCallLog(const Drawing &d, const std::string &path, std::string &err);

}  // namespace sim

#endif  // TESSARC_SIM_CALLLOG_H
