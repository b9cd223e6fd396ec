// The 37-column character grid of one frame, passed by value to every drawing primitive.
#ifndef TESSARC_DISPLAY_TEXTGRID_H
#define TESSARC_DISPLAY_TEXTGRID_H

#include <cstdint>

namespace oapi {
class Sketchpad;
}

struct TextGrid {
    oapi::Sketchpad *surface;  // the host drawing surface of the current frame
    int32_t width;             // drawing width, pixels
    int32_t height;            // drawing height, pixels
    int32_t cellWidth;         // pixels per grid column (and per grid row for shapes)
    int32_t lineHeight;        // pixels per text row
    int32_t originX;           // pixel x of the grid's left edge
    int32_t originY;           // pixel y of the grid's top edge
    int32_t thirdRows;         // extra downward text offset, thirds of lineHeight
};

#endif  // TESSARC_DISPLAY_TEXTGRID_H
