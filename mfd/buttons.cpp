// Button labels, key tables and menus of every page.
#include "mfd/buttons.h"

#include "frame/state.h"

namespace {

typedef const char *LabelRow[kButtonCount];

const LabelRow kSummaryLabels = {"BCK", "SWP", "   ", "PRV", "NXT", "SET",
                                 "REM", "RAT", "PCN", "ALT", "STP", "DEL"};
const LabelRow kModeSelectLabels = {"BCK", "VEL", "REL", "ATT", "   ", "CFG",
                                    "REM", "   ", "DOC", "LAN", "   ", "   "};

// Mode pages: normal, locked, busy, in progress (Landing only; others repeat normal).
const LabelRow kVelocityLabels[4] = {
    {"MOD", "REF", "PIT", "YAW", "ROL", "HLD", "NOR", "TGT", "   ", "FOL", "RPM", "TOR"},
    {"MOD", "REF", "PIT", "YAW", "ROL", "---", "NOR", "TGT", "   ", "FOL", "---", "---"},
    {"CFG", "---", "PIT", "YAW", "ROL", "HLD", "NOR", "---", "   ", "---", "---", "---"},
    {"MOD", "REF", "PIT", "YAW", "ROL", "HLD", "NOR", "TGT", "   ", "FOL", "RPM", "TOR"}};
const LabelRow kRelativeLabels[4] = {
    {"MOD", "V/A", "PIT", "YAW", "ROL", "HLD", "NOR", "TGT", "TRA", "TRL", "TRV", "TFA"},
    {"MOD", "V/A", "PIT", "YAW", "ROL", "---", "NOR", "TGT", "---", "---", "---", "---"},
    {"CFG", "V/A", "PIT", "YAW", "ROL", "HLD", "NOR", "---", "TRA", "TRL", "TRV", "TFA"},
    {"MOD", "V/A", "PIT", "YAW", "ROL", "HLD", "NOR", "TGT", "TRA", "TRL", "TRV", "TFA"}};
const LabelRow kAttitudeLabels[4] = {
    {"MOD", "REF", "PIT", "YAW", "ROL", "HLD", "NOR", "   ", "   ", "   ", "   ", "   "},
    {"MOD", "REF", "PIT", "YAW", "ROL", "---", "NOR", "   ", "   ", "   ", "   ", "   "},
    {"CFG", "---", "PIT", "YAW", "ROL", "HLD", "NOR", "   ", "   ", "   ", "   ", "   "},
    {"MOD", "REF", "PIT", "YAW", "ROL", "HLD", "NOR", "   ", "   ", "   ", "   ", "   "}};
const LabelRow kDockingLabels[4] = {
    {"MOD", "LDK", "TDK", "DIS", "APD", "HLD", "NOR", "TGT", "TRA", "TRL", "TRV", "TFA"},
    {"MOD", "LDK", "TDK", "DIS", "---", "---", "NOR", "TGT", "---", "---", "---", "---"},
    {"CFG", "---", "---", "DIS", "APD", "HLD", "NOR", "---", "TRA", "TRL", "TRV", "TFA"},
    {"MOD", "LDK", "TDK", "DIS", "APD", "HLD", "NOR", "TGT", "TRA", "TRL", "TRV", "TFA"}};
const LabelRow kLandingLabels[4] = {
    {"MOD", "GPH", "ENG", "RFH", "BRK", "HLD", "REM", "MAN", "TGT", "PAD", "ELV", "INV"},
    {"MOD", "GPH", "ENG", "RFH", "BRK", "---", "REM", "MAN", "TGT", "PAD", "ELV", "INV"},
    {"CFG", "GPH", "---", "   ", "BRK", "HLD", "REM", "MAN", "---", "PAD", "ELV", "INV"},
    {"MOD", "GPH", "ENG", "   ", "BRK", "HLD", "REM", "MAN", "TGT", "PAD", "---", "INV"}};

// Key tables; the beta pages have none.
const DWORD kKeys[PAGE_BETA][kButtonCount] = {
    // summary
    {KEY_M, KEY_S, kNoKey, KEY_UP, KEY_DOWN, KEY_RIGHT, KEY_TAB, KEY_R, KEY_P, KEY_A, KEY_H, KEY_LEFT},
    // mode selection
    {KEY_M, KEY_1, KEY_2, KEY_3, kNoKey, KEY_BACK, KEY_TAB, kNoKey, KEY_4, KEY_5, KEY_6, KEY_7},
    // velocity
    {KEY_M, KEY_B, KEY_P, KEY_Y, KEY_R, KEY_H, KEY_O, KEY_T, kNoKey, KEY_F, KEY_K, KEY_L},
    // relative
    {KEY_M, KEY_V, KEY_P, KEY_Y, KEY_R, KEY_H, KEY_O, KEY_T, KEY_DELETE, KEY_END, KEY_PGDN, KEY_PGUP},
    // attitude
    {KEY_M, KEY_B, KEY_P, KEY_Y, KEY_R, KEY_H, KEY_O, kNoKey, kNoKey, kNoKey, kNoKey, kNoKey},
    // docking
    {KEY_M, KEY_L, KEY_D, KEY_X, KEY_G, KEY_H, KEY_O, KEY_T, KEY_DELETE, KEY_END, KEY_PGDN, KEY_PGUP},
    // landing
    {KEY_M, KEY_G, KEY_E, KEY_R, KEY_A, KEY_H, KEY_TAB, KEY_T, KEY_B, KEY_P, KEY_L, KEY_D}};

const char *const kBlank = "   ";

const MFDBUTTONMENU kSummaryMenu[kButtonCount] = {
    {"Go Back", "Shift + Back", 'M'},  {"Swap MFD", nullptr, 'S'},
    {kBlank, nullptr, 0},              {"Previous", "Shift + Up", 0},
    {"Next", "Shift + Down", 0},       {"Select", "Shift + Right", 0},
    {"Remote", "Shift + Tab", 0},      {"Change Rate", nullptr, 'R'},
    {"Landing Precision", nullptr, 'P'}, {"CutOff Altitude", nullptr, 'A'},
    {"Stop Hold & Trim", nullptr, 'H'}, {"Release", "Shift + Left", 0}};
const MFDBUTTONMENU kModeSelectMenu[kButtonCount] = {
    {"Go Back", nullptr, 'M'},   {"Velocity", nullptr, '1'},
    {"Relative", nullptr, '2'},  {"Absolute", nullptr, '3'},
    {kBlank, nullptr, 0},        {"Summary", "Shift + Back", 0},
    {"Remote", "Shift + Tab", 0}, {kBlank, nullptr, 0},
    {"Docking", nullptr, '4'},   {"Landing", nullptr, '5'},
    {kBlank, nullptr, 0},        {kBlank, nullptr, 0}};
const MFDBUTTONMENU kVelocityMenu[kButtonCount] = {
    {"Mode/Summary", nullptr, 'M'},    {"Select Reference", nullptr, 'B'},
    {"Set Pitch Angle", nullptr, 'P'}, {"Set Yaw Angle", nullptr, 'Y'},
    {"Set Roll Angle", nullptr, 'R'},  {"Hold Mode", "Spacebar", 'H'},
    {"Roll Mode", nullptr, 'O'},       {"Select Target", nullptr, 'T'},
    {kBlank, nullptr, 0},              {"Follow Vessel", nullptr, 'F'},
    {"Rdzv Pitch Manvr", nullptr, 'K'}, {"Twice Orb Rate", nullptr, 'L'}};
const MFDBUTTONMENU kRelativeMenu[kButtonCount] = {
    {"Mode/Summary", nullptr, 'M'},    {"Vel/Att Mode", nullptr, 'V'},
    {"Set Pitch Angle", nullptr, 'P'}, {"Set Yaw Angle", nullptr, 'Y'},
    {"Set Roll Angle", nullptr, 'R'},  {"Hold Mode", "Spacebar", 'H'},
    {"Roll Mode", nullptr, 'O'},       {"Select Target", nullptr, 'T'},
    {"Trim All Axis", "Delete", 0},    {"Trim Lateral", "End", 0},
    {"Trim Vertical", "PgDown", 0},    {"Trim Fore/Aft", "PgUp", 0}};
const MFDBUTTONMENU kAttitudeMenu[kButtonCount] = {
    {"Mode/Summary", nullptr, 'M'},    {"Set Global Ref", nullptr, 'B'},
    {"Set Pitch Angle", nullptr, 'P'}, {"Set Yaw Angle", nullptr, 'Y'},
    {"Set Roll Angle", nullptr, 'R'},  {"Hold Mode", "Spacebar", 'H'},
    {"Roll Mode", nullptr, 'O'},       {kBlank, nullptr, 0},
    {kBlank, nullptr, 0},              {kBlank, nullptr, 0},
    {kBlank, nullptr, 0},              {kBlank, nullptr, 0}};
const MFDBUTTONMENU kDockingMenu[kButtonCount] = {
    {"Mode/Summary", nullptr, 'M'},     {"Set Local Dock", nullptr, 'L'},
    {"Set Target Dock", nullptr, 'D'},  {"Set Distance", "Vector XYZ", 'X'},
    {"Docking Auto", "keep Alignement", 'G'}, {"Hold Mode", "Spacebar", 'H'},
    {"Roll Mode", nullptr, 'O'},        {"Select Target", nullptr, 'T'},
    {"Trim All Axis", "Delete", 0},     {"Trim Lateral", "End", 0},
    {"Trim Vertical", "PgDown", 0},     {"Trim Fore/Aft", "PgUp", 0}};
const MFDBUTTONMENU kLandingMenu[kButtonCount] = {
    {"Mode/Summary", nullptr, 'M'},       {"Graph mode", nullptr, 'G'},
    {"Engine choice", nullptr, 'E'},      {"Calc refresh", nullptr, 'R'},
    {"Set Brakes", nullptr, 'A'},         {"Hold Mode", "Spacebar", 'H'},
    {"Remote", "Shift + Tab", 0},         {"Set Manual Location", nullptr, 'T'},
    {"Select Target", nullptr, 'B'},      {"Pad Number", nullptr, 'P'},
    {"Set new elevation", nullptr, 'L'},  {"Invert Rot Dir", nullptr, 'D'}};

const MFDBUTTONMENU *const kMenus[PAGE_BETA] = {kSummaryMenu,  kModeSelectMenu, kVelocityMenu, kRelativeMenu,
                                                kAttitudeMenu, kDockingMenu,    kLandingMenu};

}  // namespace

bool StateBusy(const MfdState *S) {
    return S && (S->holdOn || S->transAxes != kTransAxesNone || S->burnArmed);
}

bool DescentChoiceOpen(const MfdState *S) {
    return S && !StateBusy(S) && S->landingPhase == LANDING_WAIT;
}

MfdPage CurrentPage(bool summaryShown, const MfdState *S) {
    if (summaryShown || !S) return PAGE_SUMMARY;
    if (S->modePage) return PAGE_MODE_SELECT;
    switch (S->refMode) {
        case AP_VELOCITY: return PAGE_VELOCITY;
        case AP_RELATIVE: return PAGE_RELATIVE;
        case AP_ATTITUDE: return PAGE_ATTITUDE;
        case AP_DOCKING: return PAGE_DOCKING;
        case AP_LANDING: return PAGE_LANDING;
        default: return PAGE_BETA;
    }
}

LabelSet CurrentLabelSet(MfdPage page, const MfdState *S) {
    if (!S) return LABELS_NORMAL;
    if (StateBusy(S)) return LABELS_BUSY;
    if (S->lockedOut) return LABELS_LOCKED;
    if (page == PAGE_LANDING && S->landingPhase != LANDING_WAIT) return LABELS_IN_PROGRESS;
    return LABELS_NORMAL;
}

const char *ButtonLabelText(bool summaryShown, const MfdState *S, int bt) {
    if (bt < 0 || bt >= kButtonCount) return nullptr;
    MfdPage page = CurrentPage(summaryShown, S);
    int set = CurrentLabelSet(page, S);
    switch (page) {
        case PAGE_MODE_SELECT: return kModeSelectLabels[bt];
        case PAGE_VELOCITY: return kVelocityLabels[set][bt];
        case PAGE_RELATIVE: return kRelativeLabels[set][bt];
        case PAGE_ATTITUDE: return kAttitudeLabels[set][bt];
        case PAGE_DOCKING: return kDockingLabels[set][bt];
        case PAGE_LANDING: return kLandingLabels[set][bt];
        default: return kSummaryLabels[bt];
    }
}

DWORD ButtonKeyCode(bool summaryShown, const MfdState *S, int bt) {
    if (bt < 0 || bt >= kButtonCount) return 0;
    MfdPage page = CurrentPage(summaryShown, S);
    if (page >= PAGE_BETA) return 0;
    return kKeys[page][bt];
}

const MFDBUTTONMENU *ButtonMenuTable(bool summaryShown, const MfdState *S) {
    MfdPage page = CurrentPage(summaryShown, S);
    if (page >= PAGE_BETA) return nullptr;
    return kMenus[page];
}
