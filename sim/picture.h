// Pictures of what a display drew: the recorded calls of a frame replayed through
// Cairo with the host's MFD look (black screen, 0x00BBGGRR colours, a monospace
// font whose 37 blanks fill the width), or the text grid with its colours as a
// plain dump for reading and diffing.
#ifndef TESSARC_SIM_PICTURE_H
#define TESSARC_SIM_PICTURE_H

#include <string>

#include "sketchpad.h"

namespace sim {

// Pixels of the picture per pixel of the display.
const double kPictureScale = 2.0;

bool writePng(const Drawing &d, const std::string &path, std::string &err, double scale = kPictureScale);
bool writeSvg(const Drawing &d, const std::string &path, std::string &err, double scale = kPictureScale);
bool writeTextDump(const Drawing &d, const std::string &path, std::string &err);
// PNG, SVG or TXT by the file's extension (case-insensitive); anything else is refused.
bool writePicture(const Drawing &d, const std::string &path, std::string &err);

// The text grid: one line per row between bars, then each row's colour runs.
std::string textDump(const Drawing &d);
// Name of a page colour ("yellow", "light blue", ...) or its 0xBBGGRR value.
std::string colourName(DWORD colour);

}  // namespace sim

#endif  // TESSARC_SIM_PICTURE_H
