// MFD hosting: the registered MFD modes, the twelve displays of the cockpit, the
// MFD base classes' host side, and the input box of each display.
#ifndef TESSARC_SIM_MFDHOST_H
#define TESSARC_SIM_MFDHOST_H

#include <string>
#include <vector>

#include "Orbitersdk.h"
#include "sketchpad.h"

class Vessel;

namespace sim {
struct Display;
}

// The host's instrument behind an MFD object: ties the object to its display.
class Instrument_User {
public:
    sim::Display *display = nullptr;
    // The MFD's character size, from the default font, known once it is made.
    static void setCharSize(MFD *mfd, DWORD cw, DWORD ch);
};

namespace sim {

struct MfdMode {
    int id = 0;
    std::string name;
    DWORD key = 0;
    void *context = nullptr;
    OAPI_MSGTYPE (*msgproc)(UINT, UINT, WPARAM, LPARAM) = nullptr;
};

// A single-line text box opened by oapiOpenInputBox for one display.
struct InputBox {
    bool open = false;
    int id = 0;  // handed to the callback as its first argument (by address)
    std::string title;
    std::string initial;
    int visLen = 20;
    bool (*callback)(void *, char *, void *) = nullptr;
    void *userData = nullptr;
};

struct MenuEntry {
    std::string line1, line2;
    char selchar = 0;
};

struct Display {
    int index = 0;
    int width = 240, height = 240;  // the glass cockpit's displays (a 2D panel's are smaller)
    bool open = false;       // a mode is selected on it (its MFD object may be rebuilt)
    int modeId = 0;
    std::string modeName;
    MFD *mfd = nullptr;      // the mode's object, owned by the host once created
    ::Vessel *vessel = nullptr;
    bool external = false;   // opened for a named vessel: stays with it across focus changes
    Instrument_User instrument;

    std::string labels[12];  // as last read with ButtonLabel
    int labelQueries = 0;    // times the labels were read
    int invalidateButtons = 0;
    int invalidateDisplay = 0;

    Drawing lastFrame;       // what the last Update drew
    long frames = 0;         // Updates so far
    InputBox box;
};

// Display names in scenario files: "Left", "Right", "User1".."User10", or the number.
int displayByName(const std::string &name);
std::string displayName(int index);

// Colours of the host's default pens: 0 green, 1 yellow, 2 white, 3 red, 4 blue;
// intensity 0 bright, 1 dark. 0xBBGGRR.
DWORD defaultColour(DWORD colidx, DWORD intens);

// InvalidateButtons calls of MFD objects that belong to no display (made outside
// the host, e.g. by a test).
long strayInvalidateButtons();

}  // namespace sim

#endif  // TESSARC_SIM_MFDHOST_H
