// Text on the 37-column grid: the number format with unit suffixes, bounded copies,
// and the builders that format one value and draw one line of text.
//
// Every builder keeps its intermediate text in 40-byte buffers and formats with a
// bounded operation before cutting, so no value (1e300, NaN, a 98-character name)
// can write past them. A line drawn at column c holds at most 37 - c characters.
#ifndef TESSARC_DISPLAY_FORMAT_H
#define TESSARC_DISPLAY_FORMAT_H

#include <cstdint>

#include "Orbitersdk.h"
#include "display/textgrid.h"

// Colours of the pages, 0x00BBGGRR.
const DWORD colWhite = 0xFFFFFF;
const DWORD colYellow = 0x00FFFF;
const DWORD colGrey = 0x808080;
const DWORD colRed = 0x0000FF;
const DWORD colOrange = 0x008CFF;
const DWORD colLightBlue = 0xFF4D4D;
const DWORD colOrangeRed = 0x4763FF;
const DWORD colSilver = 0xC0C0C0;
const DWORD colOlive = 0x00C0C0;
const DWORD colGreen = 0x32CD32;
const DWORD colSkyBlue = 0xFFBF00;
const DWORD colBlack = 0x000000;

const int gridColumns = 37;   // columns of the character grid
const int textBufferSize = 40;  // bytes of every intermediate text buffer

// Writes value with six characters, one to three decimals and a k/M/G/AU suffix
// into dest, which holds at least textBufferSize bytes. Non-finite values print
// without a suffix ("   nan", "   inf").
void FormatScaled(char *dest, double value);

// Copies at most min(n, 37) characters of src, pads the rest of those positions
// with terminators and terminates at min(n, 37). dest holds at least 38 bytes.
// n <= 0 gives an empty string.
void CopyClipped(char *dest, const char *src, int n);

// Silver for negative values, yellow otherwise.
DWORD SignColour(double value);

void PutText(TextGrid g, int row, int col, const char *text, DWORD colour);
void PutNumber(TextGrid g, int row, int col, const char *format, double value, DWORD colour);
void PutLabelled(TextGrid g, int row, int col, const char *label, const char *format, int32_t value,
                 DWORD colour);
void PutLabelled(TextGrid g, int row, int col, const char *label, const char *format, const char *value,
                 DWORD colour);
void PutLabelledNumber(TextGrid g, int row, int col, const char *label, const char *format, double value,
                       DWORD colour);
void PutScaled(TextGrid g, int row, int col, double value, DWORD colour);
void PutLabelScaled(TextGrid g, int row, int col, const char *label, double value, DWORD colour);

// Pixel position of text cell (row, col), 1-based, including the third-row offset.
int TextX(const TextGrid &g, int col);
int TextY(const TextGrid &g, int row);

#endif  // TESSARC_DISPLAY_FORMAT_H
