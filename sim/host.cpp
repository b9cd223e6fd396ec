// The host's frame loop, module table, focus switching and vessel deletion.
#include "host.h"

namespace sim {

static Host *current = nullptr;

Host *currentHost() {
    if (current) return current;
    static Host *fallback = new Host();  // lives as long as the program
    return fallback;
}

void setCurrentHost(Host *h) { current = h; }

Host::Host(World *world) : w(world) {
    for (int d = 0; d < MAXMFD; ++d) {
        displays[d].index = d;
        displays[d].instrument.display = &displays[d];
    }
    current = this;
}

Host::~Host() {
    shutdown();
    if (current == this) current = nullptr;
}

World &Host::world() const { return w ? *w : sim::world(); }

double Host::frameDt() const { return world().frameDt; }

void Host::error(const std::string &msg) {
    if (errorList.size() < 1000) errorList.push_back(msg);
}

bool Host::loadModule(const std::string &path, std::string &err) {
    Module m;
    if (!sim::loadModule(path, m, err)) return false;
    addModule(m);
    return true;
}

void Host::addModule(const Module &m) {
    modules.push_back(m);
    Module &mod = modules.back();
    Host *saved = current;
    current = this;
    mod.api.InitModule(mod.instance);
    mod.initialised = true;
    current = saved ? saved : this;
}

void Host::start() {
    if (isStarted) return;
    isStarted = true;
    OBJHANDLE focus = world().focus;
    for (Module &m : modules)
        if (m.api.opcFocusChanged) m.api.opcFocusChanged(focus, nullptr);
}

void Host::frame() {
    World &wd = world();
    if (!isStarted) start();
    double simdt = wd.frameDt * wd.warp;
    for (Module &m : modules)
        if (m.api.opcPreStep) m.api.opcPreStep(wd.simt, simdt, wd.mjd());
    wd.simdt = simdt;
    advance(wd, simdt);
    wd.syst += wd.frameDt;
    for (Module &m : modules)
        if (m.api.opcPostStep) m.api.opcPostStep(wd.simt, simdt, wd.mjd());
    frameCount++;
    if (drawEvery <= 1 || frameCount % drawEvery == 0)
        for (int d = 0; d < MAXMFD; ++d)
            if (displays[d].mfd) draw(d);
    if (afterFrame) afterFrame();
}

void Host::run(double seconds) {
    World &wd = world();
    double end = wd.simt + seconds;
    while (wd.simt < end - 1e-9) {
        if (!(wd.frameDt * wd.warp > 0)) {
            error("frames do not advance time (frame interval x time acceleration is not above 0)");
            return;
        }
        frame();
    }
}

void Host::shutdown() {
    if (isShutDown) return;
    isShutDown = true;
    // The modes' objects go first: modules free what MFDs point at when they exit.
    for (int d = 0; d < MAXMFD; ++d) close(d);
    for (Module &m : modules)
        if (m.initialised && m.api.opcCloseRenderViewport) m.api.opcCloseRenderViewport();
    Host *saved = current;
    current = this;
    for (Module &m : modules) unloadModule(m);
    current = saved;
    modules.clear();
}

bool Host::setFocus(::Vessel *v) {
    World &wd = world();
    if (!v || !v->alive || !wd.isObject(v)) return false;
    ::Vessel *old = wd.focus;
    if (v == old) return true;
    // The cockpit's MFDs store their status and go; they come back on the new vessel.
    std::vector<int> reopen;
    for (int d = 0; d < MAXMFD; ++d) {
        Display &D = displays[d];
        if (!D.open || D.external) continue;
        destroyMfd(d);
        reopen.push_back(d);
    }
    wd.focus = v;
    for (Module &m : modules)
        if (m.api.opcFocusChanged) m.api.opcFocusChanged(v, old);
    for (int d : reopen) {
        Display &D = displays[d];
        const MfdMode *mode = nullptr;
        for (const MfdMode &m : modes)
            if (m.id == D.modeId) mode = &m;
        if (!mode) {
            close(d);
            continue;
        }
        MfdMode m = *mode;
        if (!createMfd(d, m, v)) {
            error("display " + std::to_string(d) + ": mode " + m.name + " did not reopen on the new focus vessel");
            close(d);
            continue;
        }
        ActiveScope scope(*this, d);
        D.mfd->RecallStatus();
    }
    return true;
}

bool Host::deleteVessel(::Vessel *v, std::string &err) {
    World &wd = world();
    if (!v || !wd.isObject(v) || !v->alive) {
        err = "no such vessel";
        return false;
    }
    if (wd.focus == v) {
        // The pilot moves to another vessel first; without one the run cannot go on.
        ::Vessel *next = nullptr;
        for (const auto &o : wd.vessels)
            if (o.get() != v && o->alive) {
                next = o.get();
                break;
            }
        if (!next) {
            err = "cannot delete " + v->name + ": it is the only vessel";
            return false;
        }
        setFocus(next);
    }
    for (Module &m : modules)
        if (m.api.opcDeleteVessel) m.api.opcDeleteVessel(v);
    for (int d = 0; d < MAXMFD; ++d)
        if (displays[d].open && displays[d].vessel == v) close(d);
    sim::deleteVessel(wd, v);
    return true;
}

}  // namespace sim
