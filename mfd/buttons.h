// The MFD's pages as the buttons see them: which page is current, its label set,
// the key each button stands for, and the button menu.
#ifndef TESSARC_MFD_BUTTONS_H
#define TESSARC_MFD_BUTTONS_H

#include "Orbitersdk.h"

struct MfdState;

enum MfdPage {
    PAGE_SUMMARY = 0,
    PAGE_MODE_SELECT,
    PAGE_VELOCITY,
    PAGE_RELATIVE,
    PAGE_ATTITUDE,
    PAGE_DOCKING,
    PAGE_LANDING,
    PAGE_BETA,  // Direct Burn and Ascent: summary labels, no buttons, no menu
    PAGE_COUNT
};

enum LabelSet { LABELS_NORMAL = 0, LABELS_LOCKED, LABELS_BUSY, LABELS_IN_PROGRESS };

const int kButtonCount = 12;
// Key code that no command uses.
const DWORD kNoKey = 99;

// Key codes (keyboard scan codes, set 1).
enum MfdKey : DWORD {
    KEY_1 = 2, KEY_2 = 3, KEY_3 = 4, KEY_4 = 5, KEY_5 = 6, KEY_6 = 7, KEY_7 = 8,
    KEY_BACK = 14, KEY_TAB = 15, KEY_Q = 16, KEY_E = 18, KEY_R = 19, KEY_T = 20, KEY_Y = 21, KEY_I = 23,
    KEY_O = 24, KEY_P = 25, KEY_ENTER = 28, KEY_A = 30, KEY_S = 31, KEY_D = 32, KEY_F = 33,
    KEY_G = 34, KEY_H = 35, KEY_K = 37, KEY_L = 38, KEY_X = 45, KEY_C = 46, KEY_V = 47, KEY_B = 48,
    KEY_N = 49, KEY_M = 50, KEY_SLASH = 53, KEY_SPACE = 57, KEY_OEM_102 = 86,
    KEY_UP = 200, KEY_PGUP = 201, KEY_LEFT = 203, KEY_RIGHT = 205, KEY_END = 207, KEY_DOWN = 208,
    KEY_PGDN = 209, KEY_INSERT = 210, KEY_DELETE = 211
};

// HOLD, translation hold or an armed burn engaged on the state.
bool StateBusy(const MfdState *S);
// The pilot may choose how the landing descends: nothing engaged and the descent
// not begun (a profile changed under way would leave the flight on a plan the
// other profile made).
bool DescentChoiceOpen(const MfdState *S);
// The page the buttons act on. Without a state, the summary page.
MfdPage CurrentPage(bool summaryShown, const MfdState *S);
// The label set of a mode page for the state's engagement.
LabelSet CurrentLabelSet(MfdPage page, const MfdState *S);

// Label of button bt (0..11) of the current page; null beyond 11.
const char *ButtonLabelText(bool summaryShown, const MfdState *S, int bt);
// Key code of button bt (0..11) on the current page; 0 when the page has no key
// table or the button is out of range.
DWORD ButtonKeyCode(bool summaryShown, const MfdState *S, int bt);
// The current page's menu of 12 entries; null for pages without one.
const MFDBUTTONMENU *ButtonMenuTable(bool summaryShown, const MfdState *S);

#endif  // TESSARC_MFD_BUTTONS_H
