// MFD hosting: mode registration, the MFD base classes, and the pilot's actions on
// the displays (select a mode, leave it, panel switch, keys, buttons, drawing).
#include "mfdhost.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "host.h"
#include "scenario.h"

namespace sim {

// The display whose MFD object is being constructed now (MFD::MFD reads it).
static Display *constructing = nullptr;
static long strayInvalidates = 0;

long strayInvalidateButtons() { return strayInvalidates; }

int displayByName(const std::string &name) {
    if (strcasecmp(name.c_str(), "Left") == 0) return MFD_LEFT;
    if (strcasecmp(name.c_str(), "Right") == 0) return MFD_RIGHT;
    const char *s = name.c_str();
    if (strncasecmp(s, "User", 4) == 0) s += 4;
    if (!*s) return -1;
    for (const char *p = s; *p; ++p)
        if (!std::isdigit((unsigned char)*p)) return -1;
    if (std::strlen(s) > 2) return -1;
    int n = std::atoi(s);
    if (s != name.c_str()) {
        if (n < 1) return -1;
        n += 1;  // User1 is display 2
    }
    return Host::validDisplay(n) ? n : -1;
}

std::string displayName(int index) {
    if (index == MFD_LEFT) return "Left";
    if (index == MFD_RIGHT) return "Right";
    return "User" + std::to_string(index - 1);
}

DWORD defaultColour(DWORD colidx, DWORD intens) {
    static const DWORD bright[5] = {0x00FF00, 0x00FFFF, 0xFFFFFF, 0x0000FF, 0xFF0000};
    static const DWORD dark[5] = {0x008000, 0x008080, 0x808080, 0x000080, 0x800000};
    if (colidx > 4) colidx = 0;
    return intens ? dark[colidx] : bright[colidx];
}

// ---------------------------------------------------------------------------
// Mode registration

int Host::registerMode(const MFDMODESPECEX &spec) {
    if (!spec.name || !spec.msgproc) return 0;
    MfdMode m;
    m.id = nextModeId++;
    m.name = spec.name;
    m.key = spec.key;
    m.context = spec.context;
    m.msgproc = spec.msgproc;
    modes.push_back(m);
    return m.id;
}

bool Host::unregisterMode(int id) {
    for (size_t i = 0; i < modes.size(); ++i) {
        if (modes[i].id != id) continue;
        // A display still showing the mode must not call into it again.
        for (int d = 0; d < MAXMFD; ++d)
            if (displays[d].open && displays[d].modeId == id) close(d);
        modes.erase(modes.begin() + (long)i);
        return true;
    }
    return false;
}

const MfdMode *Host::findMode(const std::string &name) const {
    for (const MfdMode &m : modes)
        if (strcasecmp(m.name.c_str(), name.c_str()) == 0) return &m;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Displays

void Host::setDisplaySize(int d, int w, int h) {
    if (!validDisplay(d) || w < 1 || h < 1 || w > 0xFFFF || h > 0xFFFF) return;
    displays[d].width = w;
    displays[d].height = h;
}

void Host::queryLabels(int d) {
    Display &D = displays[d];
    if (!D.mfd) return;
    ActiveScope scope(*this, d);
    for (int b = 0; b < 12; ++b) {
        const char *l = D.mfd->ButtonLabel(b);
        D.labels[b] = l ? std::string(l, strnlen(l, 16)) : std::string();
    }
    D.labelQueries++;
}

// The mode is asked with OPENEDEX (the display's size and the mode's registration)
// and, only when that gives no MFD, with OPENED (the size packed in one word). The
// first display ever opened decides the default font's size for all of them.
MFD *Host::createMfd(int d, const MfdMode &mode, ::Vessel *v) {
    Display &D = displays[d];
    VESSEL *iface = v ? oapiGetVesselInterface(v) : nullptr;
    if (!iface) return nullptr;
    if (!defaultFont)
        defaultFont.reset(new HostFont(-mfdFontHeight(D.height), false, "Fixed", oapi::Font::NORMAL));
    D.instrument.display = &D;
    Display *saved = constructing;
    constructing = &D;
    OAPI_MSGTYPE r;
    {
        ActiveScope scope(*this, d);
        MFDMODESPECEX reg;
        reg.name = const_cast<char *>(mode.name.c_str());
        reg.key = mode.key;
        reg.context = mode.context;
        reg.msgproc = mode.msgproc;
        MFDMODEOPENSPEC spec;
        spec.w = D.width;
        spec.h = D.height;
        spec.spec = &reg;
        r = mode.msgproc(OAPI_MSG_MFD_OPENEDEX, (UINT)d, (WPARAM)&spec, (LPARAM)iface);
        if (!r) {
            WPARAM wp = (WPARAM)((D.width & 0xFFFF) | ((D.height & 0xFFFF) << 16));
            r = mode.msgproc(OAPI_MSG_MFD_OPENED, (UINT)d, wp, (LPARAM)iface);
        }
    }
    constructing = saved;
    D.mfd = reinterpret_cast<MFD *>(r);
    D.vessel = v;
    if (!D.mfd) return nullptr;
    const FontMetrics &fm = defaultFont->metrics;
    Instrument_User::setCharSize(D.mfd, (DWORD)fm.averageWidth, (DWORD)fm.cellHeight);
    queryLabels(d);
    return D.mfd;
}

// The MFD stores its status, its mode hears CLOSED, then the object goes.
void Host::destroyMfd(int d) {
    Display &D = displays[d];
    // An open box may carry the MFD object as its user data: it goes with it.
    D.box = InputBox();
    if (!D.mfd) return;
    ActiveScope scope(*this, d);
    D.mfd->StoreStatus();
    for (const MfdMode &m : modes)
        if (m.id == D.modeId) m.msgproc(OAPI_MSG_MFD_CLOSED, (UINT)d, 0, 0);
    MFD *m = D.mfd;
    D.mfd = nullptr;
    delete m;
}

bool Host::open(int d, const std::string &modeName, ::Vessel *v, std::string &err,
                const std::vector<std::string> *scenarioLines) {
    if (!validDisplay(d)) {
        err = "no display " + std::to_string(d) + " (0.." + std::to_string(MAXMFD - 1) + ")";
        return false;
    }
    const MfdMode *mode = findMode(modeName);
    if (!mode) {
        err = "no MFD mode \"" + modeName + "\" is registered";
        return false;
    }
    ::Vessel *focus = world().focus;
    if (!v) v = focus;
    if (!v || !v->alive) {
        err = "no vessel to open the display on";
        return false;
    }
    if (displays[d].open) close(d);
    Display &D = displays[d];
    MfdMode m = *mode;
    if (!createMfd(d, m, v)) {
        err = "MFD mode \"" + m.name + "\" did not open on display " + std::to_string(d);
        D.open = false;
        return false;
    }
    D.open = true;
    D.modeId = m.id;
    D.modeName = m.name;
    D.external = v != focus;
    ActiveScope scope(*this, d);
    if (scenarioLines) {
        readScenarioBlock(d, *scenarioLines);
    } else {
        D.mfd->RecallStatus();
    }
    return true;
}

// The host's scenario reader does not stop at the block's END_MFD: a mode that
// reads on is handed the scenario's next lines, which the host then never sees.
void Host::readScenarioBlock(int d, const std::vector<std::string> &block) {
    Display &D = displays[d];
    std::vector<std::string> lines = block;
    lines.push_back("END_MFD");
    const size_t endAt = lines.size();
    lines.push_back("END");  // what follows the block in the scenario
    BlockReader r;
    r.lines = &lines;
    D.mfd->ReadStatus(&r);
    if (r.next > endAt)
        error("display " + std::to_string(d) + " (" + D.modeName +
              "): ReadStatus read past END_MFD, taking scenario lines that are not its own");
}

bool Host::close(int d) {
    if (!validDisplay(d) || !displays[d].open) return false;
    destroyMfd(d);
    Display &D = displays[d];
    D.open = false;
    D.modeId = 0;
    D.modeName.clear();
    D.vessel = nullptr;
    D.external = false;
    return true;
}

bool Host::recreate(int d) {
    if (!validDisplay(d) || !displays[d].open) return false;
    Display &D = displays[d];
    const MfdMode *mode = nullptr;
    for (const MfdMode &m : modes)
        if (m.id == D.modeId) mode = &m;
    ::Vessel *v = D.vessel;
    destroyMfd(d);
    if (!mode || !v || !v->alive) {
        close(d);
        return false;
    }
    MfdMode m = *mode;
    if (!createMfd(d, m, v)) {
        error("display " + std::to_string(d) + ": mode " + m.name + " did not reopen");
        close(d);
        return false;
    }
    ActiveScope scope(*this, d);
    D.mfd->RecallStatus();
    return true;
}

bool Host::key(int d, DWORD k) {
    if (!validDisplay(d) || !displays[d].mfd) return false;
    ActiveScope scope(*this, d);
    return displays[d].mfd->ConsumeKeyBuffered(k);
}

bool Host::button(int d, int bt, int event) {
    if (!validDisplay(d) || !displays[d].mfd) return false;
    ActiveScope scope(*this, d);
    return displays[d].mfd->ConsumeButton(bt, event);
}

std::vector<MenuEntry> Host::buttonMenu(int d) {
    std::vector<MenuEntry> out;
    if (!validDisplay(d) || !displays[d].mfd) return out;
    ActiveScope scope(*this, d);
    const MFDBUTTONMENU *menu = nullptr;
    int n = displays[d].mfd->ButtonMenu(&menu);
    if (!menu || n <= 0) return out;
    if (n > 12) n = 12;
    for (int i = 0; i < n; ++i) {
        MenuEntry e;
        if (menu[i].line1) e.line1 = std::string(menu[i].line1, strnlen(menu[i].line1, 64));
        if (menu[i].line2) e.line2 = std::string(menu[i].line2, strnlen(menu[i].line2, 64));
        e.selchar = menu[i].selchar;
        out.push_back(e);
    }
    return out;
}

void Host::draw(int d) {
    if (!validDisplay(d) || !displays[d].mfd) return;
    Display &D = displays[d];
    ToolLedger &ledger = toolLedger();
    std::set<const oapi::Pen *> pensBefore = ledger.pens;
    std::set<const oapi::Brush *> brushesBefore = ledger.brushes;
    long badBefore = ledger.badReleases;
    RecordingSketchpad skp(D.width, D.height, defaultFont.get());
    {
        ActiveScope scope(*this, d);
        if (MFD2 *m2 = dynamic_cast<MFD2 *>(D.mfd))
            m2->Update(&skp);
        else
            D.mfd->Update((HDC)nullptr);
    }
    D.lastFrame = skp.takeDrawing();
    D.frames++;
    int pens = 0, brushes = 0;
    for (const oapi::Pen *p : ledger.pens)
        if (!pensBefore.count(p)) pens++;
    for (const oapi::Brush *b : ledger.brushes)
        if (!brushesBefore.count(b)) brushes++;
    if (pens || brushes) {
        char msg[160];
        std::snprintf(msg, sizeof msg, "display %d (%s): %d pen(s) and %d brush(es) created in a frame were not released",
                      d, D.modeName.c_str(), pens, brushes);
        error(msg);
    }
    if (skp.selectedFont() != defaultFont.get()) {
        char msg[160];
        std::snprintf(msg, sizeof msg, "display %d (%s): the frame ended with a font other than the host's selected",
                      d, D.modeName.c_str());
        error(msg);
    }
    if (ledger.badReleases != badBefore) {
        char msg[160];
        std::snprintf(msg, sizeof msg, "display %d (%s): %ld release(s) of a pen or brush the host did not hand out",
                      d, D.modeName.c_str(), ledger.badReleases - badBefore);
        error(msg);
    }
}

std::vector<std::string> Host::statusLines(int d) {
    BlockWriter w;
    if (validDisplay(d) && displays[d].mfd) {
        ActiveScope scope(*this, d);
        displays[d].mfd->WriteStatus(&w);
    }
    return w.lines;
}

}  // namespace sim

// ---------------------------------------------------------------------------
// The MFD base classes

// The character size is not known inside the constructor: the host sets it after.
MFD::MFD(DWORD w, DWORD h, VESSEL *vessel) : W(w), H(h), cw(0), ch(0), pV(vessel) {
    instr = sim::constructing ? &sim::constructing->instrument : nullptr;
}

void Instrument_User::setCharSize(MFD *mfd, DWORD cw, DWORD ch) {
    mfd->cw = cw;
    mfd->ch = ch;
}

MFD::~MFD() {}

void MFD::InvalidateDisplay() {
    if (instr && instr->display) instr->display->invalidateDisplay++;
}

void MFD::InvalidateButtons() {
    sim::Display *d = instr ? instr->display : nullptr;
    if (!d) {
        sim::strayInvalidates++;
        return;
    }
    d->invalidateButtons++;
    // The host reads the labels again at once, from this object (which may not yet
    // be the display's when its constructor calls this).
    for (int b = 0; b < 12; ++b) {
        const char *l = ButtonLabel(b);
        d->labels[b] = l ? std::string(l, strnlen(l, 16)) : std::string();
    }
    d->labelQueries++;
}

DWORD MFD2::GetDefaultColour(DWORD colidx, DWORD intens) const { return sim::defaultColour(colidx, intens); }

int oapiRegisterMFDMode(MFDMODESPECEX &spec) { return sim::currentHost()->registerMode(spec); }

bool oapiUnregisterMFDMode(int mode) { return sim::currentHost()->unregisterMode(mode); }
