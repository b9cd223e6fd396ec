// The host's single-line input box: opened by a mode for the display whose MFD is
// handling a key or button (or the last one that did), answered by typed text.
#include "inputbox.h"

#include <cstring>
#include <vector>

#include "host.h"

namespace sim {

InputBox *Host::openInputBox(const std::string &title, bool (*cb)(void *, char *, void *), const char *initial,
                             int visLen, void *userData) {
    int d = currentDisplay();
    if (!validDisplay(d) || !displays[d].mfd) {
        error("input box \"" + title + "\" opened while no display is handling a key");
        return nullptr;
    }
    Display &D = displays[d];
    // One box per display: a new one takes the place of an unanswered one.
    D.box = InputBox();
    D.box.open = true;
    D.box.id = nextBoxId++;
    D.box.title = title;
    D.box.initial = initial ? std::string(initial, strnlen(initial, kInputBoxMaxText)) : std::string();
    D.box.visLen = visLen;
    D.box.callback = cb;
    D.box.userData = userData;
    return &D.box;
}

bool Host::type(int d, const std::string &text, bool *accepted) {
    if (accepted) *accepted = false;
    if (!validDisplay(d) || !displays[d].box.open) return false;
    Display &D = displays[d];
    // The box leaves the display while its callback runs: the callback may open the
    // next box of a dialogue on the same display.
    InputBox box = D.box;
    D.box = InputBox();
    bool ok = true;
    if (box.callback) {
        // The callback may edit the text in place (and write a longer name back).
        std::vector<char> buf(kInputBoxMaxText + 1, '\0');
        std::memcpy(buf.data(), text.data(), text.size() < kInputBoxMaxText ? text.size() : kInputBoxMaxText);
        ActiveScope scope(*this, d);
        ok = box.callback(&box.id, buf.data(), box.userData);
    }
    if (accepted) *accepted = ok;
    // Refused: the box stays open, unless the callback opened another one or the
    // display's MFD went away meanwhile.
    if (!ok && !D.box.open && D.mfd) D.box = box;
    return true;
}

bool Host::cancel(int d) {
    if (!validDisplay(d) || !displays[d].box.open) return false;
    displays[d].box = InputBox();
    return true;
}

}  // namespace sim

void oapiOpenInputBox(char *title, bool (*Clbk)(void *, char *, void *), char *buf, int vislen, void *usrdata) {
    sim::currentHost()->openInputBox(title ? title : "", Clbk, buf, vislen, usrdata);
}
