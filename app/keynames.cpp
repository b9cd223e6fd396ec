// The host's key names and scan codes.
#include "keynames.h"

#include <strings.h>

namespace app {

namespace {
struct KeyName {
    const char *name;
    DWORD code;
};
// The OAPI_KEY_ names; a few common spellings follow at the end.
const KeyName keys[] = {
    {"Escape", OAPI_KEY_ESCAPE},
    {"1", OAPI_KEY_1},
    {"2", OAPI_KEY_2},
    {"3", OAPI_KEY_3},
    {"4", OAPI_KEY_4},
    {"5", OAPI_KEY_5},
    {"6", OAPI_KEY_6},
    {"7", OAPI_KEY_7},
    {"8", OAPI_KEY_8},
    {"9", OAPI_KEY_9},
    {"0", OAPI_KEY_0},
    {"MINUS", OAPI_KEY_MINUS},
    {"EQUALS", OAPI_KEY_EQUALS},
    {"Back", OAPI_KEY_BACK},
    {"Tab", OAPI_KEY_TAB},
    {"Q", OAPI_KEY_Q},
    {"W", OAPI_KEY_W},
    {"E", OAPI_KEY_E},
    {"R", OAPI_KEY_R},
    {"T", OAPI_KEY_T},
    {"Y", OAPI_KEY_Y},
    {"U", OAPI_KEY_U},
    {"I", OAPI_KEY_I},
    {"O", OAPI_KEY_O},
    {"P", OAPI_KEY_P},
    {"LBRACKET", OAPI_KEY_LBRACKET},
    {"RBRACKET", OAPI_KEY_RBRACKET},
    {"Return", OAPI_KEY_RETURN},
    {"LCONTROL", OAPI_KEY_LCONTROL},
    {"A", OAPI_KEY_A},
    {"S", OAPI_KEY_S},
    {"D", OAPI_KEY_D},
    {"F", OAPI_KEY_F},
    {"G", OAPI_KEY_G},
    {"H", OAPI_KEY_H},
    {"J", OAPI_KEY_J},
    {"K", OAPI_KEY_K},
    {"L", OAPI_KEY_L},
    {"SEMICOLON", OAPI_KEY_SEMICOLON},
    {"APOSTROPHE", OAPI_KEY_APOSTROPHE},
    {"GRAVE", OAPI_KEY_GRAVE},
    {"LSHIFT", OAPI_KEY_LSHIFT},
    {"BACKSLASH", OAPI_KEY_BACKSLASH},
    {"Z", OAPI_KEY_Z},
    {"X", OAPI_KEY_X},
    {"C", OAPI_KEY_C},
    {"V", OAPI_KEY_V},
    {"B", OAPI_KEY_B},
    {"N", OAPI_KEY_N},
    {"M", OAPI_KEY_M},
    {"COMMA", OAPI_KEY_COMMA},
    {"PERIOD", OAPI_KEY_PERIOD},
    {"SLASH", OAPI_KEY_SLASH},
    {"RSHIFT", OAPI_KEY_RSHIFT},
    {"MULTIPLY", OAPI_KEY_MULTIPLY},
    {"LALT", OAPI_KEY_LALT},
    {"Space", OAPI_KEY_SPACE},
    {"CAPITAL", OAPI_KEY_CAPITAL},
    {"F1", OAPI_KEY_F1},
    {"F2", OAPI_KEY_F2},
    {"F3", OAPI_KEY_F3},
    {"F4", OAPI_KEY_F4},
    {"F5", OAPI_KEY_F5},
    {"F6", OAPI_KEY_F6},
    {"F7", OAPI_KEY_F7},
    {"F8", OAPI_KEY_F8},
    {"F9", OAPI_KEY_F9},
    {"F10", OAPI_KEY_F10},
    {"NUMLOCK", OAPI_KEY_NUMLOCK},
    {"SCROLL", OAPI_KEY_SCROLL},
    {"NUMPAD7", OAPI_KEY_NUMPAD7},
    {"NUMPAD8", OAPI_KEY_NUMPAD8},
    {"NUMPAD9", OAPI_KEY_NUMPAD9},
    {"SUBTRACT", OAPI_KEY_SUBTRACT},
    {"NUMPAD4", OAPI_KEY_NUMPAD4},
    {"NUMPAD5", OAPI_KEY_NUMPAD5},
    {"NUMPAD6", OAPI_KEY_NUMPAD6},
    {"ADD", OAPI_KEY_ADD},
    {"NUMPAD1", OAPI_KEY_NUMPAD1},
    {"NUMPAD2", OAPI_KEY_NUMPAD2},
    {"NUMPAD3", OAPI_KEY_NUMPAD3},
    {"NUMPAD0", OAPI_KEY_NUMPAD0},
    {"DECIMAL", OAPI_KEY_DECIMAL},
    {"OEM_102", OAPI_KEY_OEM_102},
    {"F11", OAPI_KEY_F11},
    {"F12", OAPI_KEY_F12},
    {"NUMPADENTER", OAPI_KEY_NUMPADENTER},
    {"RCONTROL", OAPI_KEY_RCONTROL},
    {"DIVIDE", OAPI_KEY_DIVIDE},
    {"RALT", OAPI_KEY_RALT},
    {"Home", OAPI_KEY_HOME},
    {"Up", OAPI_KEY_UP},
    {"Prior", OAPI_KEY_PRIOR},
    {"Left", OAPI_KEY_LEFT},
    {"Right", OAPI_KEY_RIGHT},
    {"End", OAPI_KEY_END},
    {"Down", OAPI_KEY_DOWN},
    {"Next", OAPI_KEY_NEXT},
    {"Insert", OAPI_KEY_INSERT},
    {"Delete", OAPI_KEY_DELETE},
    {"PgUp", OAPI_KEY_PRIOR},
    {"PgDn", OAPI_KEY_NEXT},
    {"PageUp", OAPI_KEY_PRIOR},
    {"PageDown", OAPI_KEY_NEXT},
    {"Backspace", OAPI_KEY_BACK},
    {"Enter", OAPI_KEY_RETURN},
    {"Esc", OAPI_KEY_ESCAPE},
};
}  // namespace

DWORD keyCode(const char *name) {
    if (!name) return 0;
    for (const KeyName &k : keys)
        if (strcasecmp(k.name, name) == 0) return k.code;
    return 0;
}

const char *keyName(DWORD code) {
    for (const KeyName &k : keys)
        if (k.code == code) return k.name;
    return "";
}

}  // namespace app
