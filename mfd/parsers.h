// Parsers of the text typed into the MFD's input boxes. They only read the text
// (up to its terminating NUL, never beyond kInputLineMax - 1 characters) and fill
// plain values; the dialogs apply them. A false result means the text is refused
// and nothing may change.
#ifndef TESSARC_MFD_PARSERS_H
#define TESSARC_MFD_PARSERS_H

#include <cstddef>

// The longest line a parser looks at, terminating NUL included. The host's box
// holds a full line of 255 characters.
const size_t kInputLineMax = 256;

// Copies text into dst (size dstSize >= 1), cut to what fits; always terminated.
// Null text copies as an empty string. Returns the copied length.
size_t CopyBounded(char *dst, size_t dstSize, const char *text);

// True when the text is empty or only blanks (the "empty line" of the boxes).
bool BlankLine(const char *text);

// One number with the decimal-space rule: leading blanks are skipped, then the
// first space stands for the decimal point ('12 5' is 12.5).
bool ParseDecimalSpace(const char *text, double *value);

// Pitch, yaw or roll in degrees: the letters P, Y and R before the first space
// are ignored ('P12' is 12), and that space is the decimal point ('P12 5' is 12.5).
bool ParseAngle(const char *text, double *degrees);

// Burn time: seconds from now, or with an M before the first space an MJD whose
// integer part and fraction may be separated by a space ('M60000 25').
bool ParseBurnTime(const char *text, bool *mjdForm, double *value);

// Landing location in degrees: letters E/W (longitude) and N/S (latitude),
// either case, each followed by its number ('E10 N20', 'W10 S20'); without any
// of them, the longitude and latitude as two numbers ('10 20', '10,20'). A value not
// given is 0. A letter without a number after it refuses the text. The
// longitude comes back in (-180, 180]; a latitude beyond 90 degrees is refused.
bool ParseLocation(const char *text, double *lonDeg, double *latDeg);

// Docking approach offset: 'X5', 'Y-2 Z30' (letters either case) set the named
// axes; '1 2 3' sets all three; an empty line or one starting with U takes all
// three from the current target-relative position; a U right after the first
// letter ('XU') takes the named axes from it.
struct DistanceInput {
    bool select[3];       // x, y, z given
    bool fromCurrent[3];  // take the value from the current relative position
    double value[3];      // m, for selected axes not from current
};
bool ParseDistance(const char *text, DistanceInput *out);

// Maximum rates: 'r' or 'rot' (degrees per second about pitch, yaw, roll) or
// 'l' or 'lin' (metres per second along x, y, z), a space, then either a/A/q/Q
// (back to the class defaults), letters with numbers that may only lower the
// limits ('r P10', 'l Z0.5'), or three numbers that set all three ('r 1 2 3').
// Values are taken as absolute values, in the typed units.
struct RatesInput {
    bool linear;          // false: rotation rates
    bool reset;           // back to the class defaults
    bool direct;          // three numbers set all three axes
    bool select[3];       // with letters: axes given (never raising their limit)
    double value[3];      // |value| in deg/s or m/s
};
bool ParseRates(const char *text, RatesInput *out);

// Pads, docking ports, MFD swaps: a decimal number, or, when that reads 0 or
// nothing, the form letter + number ('P3', 'U2', 'D1', 'S4'; the number in C
// integer notation). False when the text holds no number at all. Values beyond
// the range of int are clamped.
bool ParseIndex(const char *text, char letter, int *n);

#endif  // TESSARC_MFD_PARSERS_H
