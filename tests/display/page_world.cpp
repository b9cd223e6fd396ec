// Page-test world.
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "page_world.h"

#include "support/earth.h"
#include "support/probe_class.h"

#include <cmath>

#include "display/pages.h"
#include "frame/state.h"
#include "mfd/frame_draw.h"

PageWorld::PageWorld() {
    sim::setWorld(&w);
    auto s = std::make_unique<sim::Body>();
    s->objType = OBJTP_STAR;
    s->name = "Sun";
    s->world = &w;
    s->mass = 1.989e30;
    s->radius = 6.96e8;
    sun = s.get();
    w.bodies.push_back(std::move(s));

    earth = support::AddEarth(w, 86164.1);
    earth->pos = _V(1.496e11, 0, 0);
    earth->soi = 9.2e8;

    probe = support::AddProbeClass(w);
    ResetModule();
}

PageWorld::~PageWorld() {
    ResetModule();
    sim::setWorld(nullptr);
}

int PageWorld::AddShip(const std::string &name, double phase) {
    ::Vessel *v = sim::addVessel(w, name, probe);
    const double r = earth->radius + 300e3, speed = std::sqrt(earth->mu() / r);
    sim::setOrbitState(*v, earth, _V(r * std::cos(phase), 0, r * std::sin(phase)),
                       _V(-speed * std::sin(phase), 0, speed * std::cos(phase)), _V(0, 0, 0), _V(0, 0, 0));
    if (w.focus == nullptr) w.focus = v;
    return LookupVesselSlot(v);
}

MfdState *PageWorld::State(const std::string &name, int position) {
    int slot = FindVesselSlot(Ship(name));
    return slot < 0 ? nullptr : StateAtPosition(RecordForSlot(slot), slot, position);
}

MfdState *PageWorld::PageState(const std::string &name, int refMode) {
    MfdState *S = State(name);
    S->warmUp = false;
    S->modePage = false;
    S->refMode = refMode;
    return S;
}

void PageWorld::Draw(MfdState *S) {
    pad.takeDrawing();
    int32_t line = 1, slot = -1;  // the summary cursor, unused by a state's page
    DrawMfdFrame(&pad, 256, 256, S, false, S != nullptr ? S->position : 0, &line, &slot);
    screen = sim::textScreen(pad.drawing());
}

void PageWorld::DrawSummary(int32_t position, int32_t *line, int32_t *slot, const char *own) {
    pad.takeDrawing();
    DrawSummaryPage(position, line, slot, &pad, 256, 256, own);
    if (line != nullptr && slot != nullptr) CountSummaryVessels();  // as the MFD does after the page
    screen = sim::textScreen(pad.drawing());
}

std::string PageWorld::At(int row, int col, int n) const {
    if (row < 1 || row > screen.rows) return "";
    return screen.lines[row - 1].substr(col - 1, n);
}

DWORD PageWorld::ColourAt(int row, int col) const { return screen.colours[row - 1][col - 1]; }

bool PageWorld::Shows(const std::string &text) const {
    for (const std::string &l : screen.lines)
        if (l.find(text) != std::string::npos) return true;
    return false;
}

int PageWorld::TextCalls(const std::string &text) const {
    int n = 0;
    for (const sim::DrawCall &c : pad.drawing().calls) n += c.kind == sim::DrawKind::Text && c.text == text;
    return n;
}
