// The test host's drawing surface: what an MFD drew into one frame.
#ifndef TESSARC_WIN_SURFACE_H
#define TESSARC_WIN_SURFACE_H

#include "fonts.h"
#include "host.h"

namespace host {

struct Frame {
    char text[kFrameTextLength];  // every text drawn, one per line
    int textLength;               // characters in text
    int texts;                    // Text calls
    int shapes;                   // lines, pixels, rectangles, ellipses, polygons
    char calls[kFrameCallsLength];  // every text, shape and font selection, in order, one a line
    int callsLength;                // characters in calls
};

// Draws one frame of the MFD on a recording surface; the frame stays valid until
// the next call.
const Frame &DrawFrame(MFD *mfd);

// True when the frame's text contains the given text.
bool FrameShows(const Frame &frame, const char *text);

}  // namespace host

#endif  // TESSARC_WIN_SURFACE_H
