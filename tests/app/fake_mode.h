// A small MFD mode for the host-layer tests: it writes what the host asks of it
// into one shared event list, draws a fixed page, and can be told to leak a pen or
// to open an input box on a key.
#ifndef TESSARC_TESTS_APP_FAKE_MODE_H
#define TESSARC_TESTS_APP_FAKE_MODE_H

#include <string>
#include <vector>

#include "sim/host.h"

namespace fake {

inline std::vector<std::string> &events() {
    static std::vector<std::string> e;
    return e;
}

struct Settings {
    bool leakPen = false;         // draw without releasing one pen
    bool failOpen = false;        // the callback refuses to create the MFD
    bool openedOnly = false;      // the callback answers OAPI_MSG_MFD_OPENED only (as older modes do)
    bool logUpdates = false;      // every Update goes into the event list too
    // What the MFD saw of the host's font: cw, ch in its constructor and at its last
    // Update, and the surface's GetCharSize and GetTextWidth of a few strings there.
    DWORD cwBuilt = 1, chBuilt = 1, cwDrawn = 0, chDrawn = 0, charSize = 0;
    std::vector<DWORD> widths;
    std::vector<std::string> measured = {std::string(37, ' '), "0123456789", "MMMMMMMMMM", "iiiiiiiiii"};
    bool acceptTyped = true;      // what the input box callback answers
    std::vector<std::string> typed;  // texts the box callback received
};

inline Settings &settings() {
    static Settings s;
    return s;
}

class Mfd : public MFD2 {
public:
    Mfd(DWORD w, DWORD h, VESSEL *v, int id) : MFD2(w, h, v), id(id) {
        events().push_back("create " + std::to_string(id) + " " + std::string(v->GetName()));
        settings().cwBuilt = cw;
        settings().chBuilt = ch;
    }
    ~Mfd() { events().push_back("destroy " + std::to_string(id)); }

    bool Update(oapi::Sketchpad *skp) override {
        Settings &s = settings();
        if (s.logUpdates) events().push_back("update " + std::to_string(id));
        s.cwDrawn = cw;
        s.chDrawn = ch;
        s.charSize = skp->GetCharSize();
        s.widths.clear();
        for (const std::string &m : s.measured) s.widths.push_back(skp->GetTextWidth(m.c_str(), (int)m.size()));
        int ox = ((int)W - (int)s.widths[0]) / 2;  // the 37 columns centred, as the plug-in lays them
        skp->SetTextColor(0x00FFFF);
        skp->Text(ox > 0 ? ox : 0, 0, "FAKE", 4);
        oapi::Pen *p = oapiCreatePen(1, 1, 0xFFFFFF);
        skp->SetPen(p);
        skp->Line(0, 10, 100, 10);
        skp->SetPen(nullptr);
        if (!settings().leakPen) oapiReleasePen(p);
        return true;
    }
    char *ButtonLabel(int bt) override {
        static char labels[12][4] = {"ONE", "TWO"};
        return bt >= 0 && bt < 2 ? labels[bt] : nullptr;
    }
    bool ConsumeKeyBuffered(DWORD key) override {
        events().push_back("key " + std::to_string(key));
        if (key == OAPI_KEY_T) {
            static char title[] = "Type something";
            oapiOpenInputBox(title, Typed, nullptr, 20, this);
            return true;
        }
        if (key == OAPI_KEY_B) InvalidateButtons();
        return key == OAPI_KEY_H;
    }
    bool ConsumeButton(int bt, int event) override {
        events().push_back("button " + std::to_string(bt) + " " + std::to_string(event));
        return bt == 0;
    }
    void WriteStatus(FILEHANDLE scn) const override {
        events().push_back("write " + std::to_string(id));
        for (const std::string &l : lines) {
            std::string key = l.substr(0, l.find(' '));
            std::string value = l.find(' ') == std::string::npos ? "" : l.substr(l.find(' ') + 1);
            oapiWriteScenario_string(scn, const_cast<char *>(key.c_str()), const_cast<char *>(value.c_str()));
        }
    }
    void ReadStatus(FILEHANDLE scn) override {
        char *line;
        while (oapiReadScenario_nextline(scn, line) && std::string(line) != "END_MFD") lines.push_back(line);
        events().push_back("read " + std::to_string(lines.size()));
    }
    void StoreStatus() const override { events().push_back("store " + std::to_string(id)); }
    void RecallStatus() override { events().push_back("recall " + std::to_string(id)); }

    static bool Typed(void *, char *text, void *user) {
        Mfd *self = static_cast<Mfd *>(user);
        settings().typed.push_back(text);
        events().push_back("typed " + std::to_string(self->id) + " " + text);
        return settings().acceptTyped;
    }

    int id;
    std::vector<std::string> lines;
};

inline OAPI_MSGTYPE MsgProc(UINT msg, UINT id, WPARAM wparam, LPARAM lparam) {
    const char *names[] = {"?", "OPENED", "CLOSED", "UPDATE", "OPENEDEX"};
    events().push_back(std::string(names[msg <= 4 ? msg : 0]) + " " + std::to_string(id));
    if (settings().failOpen) return 0;
    VESSEL *v = reinterpret_cast<VESSEL *>(lparam);
    if (msg == OAPI_MSG_MFD_OPENEDEX && !settings().openedOnly) {
        const MFDMODEOPENSPEC *spec = reinterpret_cast<const MFDMODEOPENSPEC *>(wparam);
        return reinterpret_cast<OAPI_MSGTYPE>(new Mfd((DWORD)spec->w, (DWORD)spec->h, v, (int)id));
    }
    if (msg != OAPI_MSG_MFD_OPENED) return 0;
    return reinterpret_cast<OAPI_MSGTYPE>(new Mfd(wparam & 0xFFFF, (wparam >> 16) & 0xFFFF, v, (int)id));
}

// Registers the mode "Fake" with the current host; returns its id.
inline int Register() {
    static char name[] = "Fake";
    MFDMODESPECEX spec;
    spec.name = name;
    spec.key = OAPI_KEY_F;
    spec.context = nullptr;
    spec.msgproc = MsgProc;
    return oapiRegisterMFDMode(spec);
}

inline void Reset() {
    events().clear();
    settings() = Settings();
}

}  // namespace fake

#endif  // TESSARC_TESTS_APP_FAKE_MODE_H
