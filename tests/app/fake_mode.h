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
    }
    ~Mfd() { events().push_back("destroy " + std::to_string(id)); }

    bool Update(oapi::Sketchpad *skp) override {
        int ox, oy;
        sim::gridOrigin((int)W, (int)H, &ox, &oy);
        skp->SetTextColor(0x00FFFF);
        skp->Text(ox, oy, "FAKE", 4);
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
        for (const std::string &l : lines) {
            std::string key = l.substr(0, l.find(' '));
            std::string value = l.find(' ') == std::string::npos ? "" : l.substr(l.find(' ') + 1);
            oapiWriteScenario_string(scn, const_cast<char *>(key.c_str()), const_cast<char *>(value.c_str()));
        }
    }
    void ReadStatus(FILEHANDLE scn) override {
        char *line;
        while (oapiReadScenario_nextline(scn, line)) lines.push_back(line);
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
    if (msg != OAPI_MSG_MFD_OPENED || settings().failOpen) return 0;
    return reinterpret_cast<OAPI_MSGTYPE>(
        new Mfd(wparam & 0xFFFF, (wparam >> 16) & 0xFFFF, reinterpret_cast<VESSEL *>(lparam), (int)id));
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
