// The MFD's block in a saved scenario. The block begins with "MFDIndex" (the
// MFD's position) and carries one group of lines per registered vessel with a
// state at that position, each opened by " REMOTE <vessel>". Reading attaches
// the MFD to each named vessel in turn (registering it), applies the group to
// that vessel's state, and ends on a vessel whose HOLD is on, else the focus
// vessel. A block of another position is consumed without being applied.
//
// Three files stand behind this interface: scenario_write.cpp writes the block,
// scenario_read.cpp reads it back and applies it, and scenario_lines.cpp decodes
// one line into plain values. Decoding only reads the line (up to its NUL) and
// never touches the host or any state. A value that does not read cleanly is
// never guessed: the line, or the rest of it where its values are independent,
// is dropped instead.
#ifndef TESSARC_MFD_SCENARIO_H
#define TESSARC_MFD_SCENARIO_H

#include <cstddef>

#include "Orbitersdk.h"

struct MfdView;

// --- the block

// Writes the block of the MFD's position; leaves every state as it is.
void WriteMfdStatus(const MfdView *mfd, FILEHANDLE scn);
// Reads a block and applies it to the states of the MFD's position.
void ReadMfdStatus(MfdView *mfd, FILEHANDLE scn);

// --- one line

// The longest line looked at, NUL excluded (the host's scenario lines hold 255
// characters). A longer line is ignored whole rather than read cut short.
const size_t kStatusLineMax = 255;
// The longest name a line may carry: the state's name fields hold 99 characters.
const size_t kStatusNameMax = 99;
// The longest vessel name a "REMOTE" line carries: written by the host with two
// blanks before the key " REMOTE" and one after it, the line stays within
// kStatusLineMax. A vessel with a longer name cannot be saved.
const size_t kStatusVesselNameMax = kStatusLineMax - 10;
// The most numbers one line carries (the older "BurnData" form).
const int kStatusValueMax = 8;
// No value of a block is further from zero than this (1e12 m is beyond the
// planets, 1e12 days beyond any date): a larger one is not a value the state
// can hold, and its line is dropped like one that does not read.
const double kStatusValueLimit = 1.0e12;

enum StatusKey {
    STATUS_NONE = 0,  // not a line of this block, or nothing in it reads cleanly
    STATUS_MFDINDEX,
    STATUS_REMOTE,
    STATUS_REFMODE,
    STATUS_BODYREF,
    STATUS_TARGETREF,
    STATUS_DOCKINGREF,
    STATUS_PADBASE,
    STATUS_ELEVATION,
    STATUS_GRAPHSTYLE,
    STATUS_PORIG,
    STATUS_COEFS,
    STATUS_CONST,
    STATUS_DISPL,
    STATUS_REFATT,
    STATUS_RELATT,
    STATUS_ACTIVEAP,
    STATUS_DOCKXYZ,
    STATUS_RATES,
    STATUS_BURNDATA,
    STATUS_BURNDATA1,
    STATUS_BURNDATA3,
    STATUS_ASCDATA,
    STATUS_LANDING,
    STATUS_CUTOFFALT,
    STATUS_FORCELAND,
    STATUS_LANDBRAKE,
    STATUS_DESCENT,
    STATUS_KEY_COUNT
};

// One decoded line. Integers come back as exact whole values in the range of
// int32; every number is finite and within kStatusValueLimit.
//  MFDINDEX, GRAPHSTYLE, FORCELAND, LANDBRAKE: one integer.
//  ELEVATION, CUTOFFALT: one number.
//  REFMODE: the mode 0..6 from its word. LANDING: the precision 0..2 from its word.
//  DESCENT: the descent profile (LandingDescent) from its word; another word drops the line.
//  REMOTE, BODYREF, TARGETREF: the name (the rest of the line, trailing blanks dropped),
//   up to kStatusVesselNameMax characters for REMOTE and kStatusNameMax for the others.
//   A REMOTE line whose name does not read (blank, or longer than that)
//   still comes back as REMOTE, with an empty name: its vessel group is unknown.
//  DOCKINGREF: own and target port (count 2, or 0 when they do not read) and the name.
//  PADBASE: the pad index; for -1 also longitude and latitude in degrees (0 when
//   missing, count 3); for any other index 0 or above the base's name.
//  PORIG, COEFS, CONST, DISPL, REFATT, RELATT, DOCKXYZ, RATES, BURNDATA, BURNDATA1,
//   BURNDATA3: all their values or the line is dropped.
//  ACTIVEAP (up to six integers), ASCDATA (integer, two numbers): the values that
//   read, in order, up to the first that does not (count at least 1).
struct StatusLine {
    StatusKey key;
    int count;                       // values in value[0..count-1]
    double value[kStatusValueMax];
    char name[kStatusVesselNameMax + 1];  // always terminated; empty for keys without a name
};

// Decodes a line as the host hands it back (leading blanks removed). Keys are
// matched at the start of the line with one trailing blank, letter case counting,
// and only on a line longer than that. Returns out->key.
StatusKey DecodeStatusLine(const char *line, StatusLine *out);

// The key as it is written in the block, leading blanks included (" REMOTE",
// "  REFMODE", "   BODYREF", ...); "MFDIndex" for STATUS_MFDINDEX; "" for none.
const char *StatusKeyText(StatusKey key);

// The words of the modes 0..6 ("VELOCITY" ... "ASCENT"), of the landing
// precisions 0..2 ("FAR", "CLOSE", "ABOVE") and of the descent profiles 0..1
// ("SPECIFIED", "EFFICIENT"); "" outside.
const char *ModeWord(int mode);
const char *PrecisionWord(int precision);
const char *DescentWord(int descent);

#endif  // TESSARC_MFD_SCENARIO_H
