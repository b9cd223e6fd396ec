// Shapes on the character grid and small helpers shared with the rest of the plug-in.
//
// Shapes use 0-based grid points: point (c, r) is pixel (originX + c*cellWidth,
// originY + r*cellWidth). Every shape creates its own pen (and brush where it uses
// one), selects them, draws, puts the previous selection back and releases what it
// created, so nothing outlives the call.
#ifndef TESSARC_DISPLAY_PRIMITIVES_H
#define TESSARC_DISPLAY_PRIMITIVES_H

#include <cstdint>

#include "Orbitersdk.h"
#include "display/textgrid.h"

// Measures the surface's font once and centres the 37 columns in width x height.
TextGrid MakeTextGrid(oapi::Sketchpad *surface, int width, int height);

// A line between two grid points; y also takes the grid's third-row offset.
void GridLine(TextGrid g, int c0, int r0, int c1, int r1, int penStyle, int penWidth, DWORD colour);

// A rectangle between two grid points, filled with the colour or painted black inside.
void GridRect(TextGrid g, int c0, int r0, int c1, int r1, int penStyle, int penWidth, bool filled,
              DWORD colour);

// A bar from the centre of a box toward its edge: value 1 reaches the edge (right or
// down). Horizontal when the box is at least as wide as high. |value| < 0.01 draws
// nothing; values past 1 draw past the box.
void CentreBar(TextGrid g, int c0, int r0, int c1, int r1, int penStyle, int penWidth, double value,
               bool filled, DWORD colour);

// A ring sector around grid point (c, r) from angle a0 to a1 (radians,
// counter-clockwise on screen, 0 to the right), radius and thickness in cells.
void RingSector(TextGrid g, int c, int r, int radius, int thickness, double a0, double a1, int penStyle,
                int penWidth, bool filled, DWORD colour);

double VecLength(const VECTOR3 &v);

// 2^n as a 32-bit mask bit (found by doubling n times); 1 for n < 1.
uint32_t SlotBit(int n);

DWORD Pick(uint8_t flag, DWORD a, DWORD b);

#endif  // TESSARC_DISPLAY_PRIMITIVES_H
