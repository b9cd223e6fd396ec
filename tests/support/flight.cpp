// The flight-test fixture.
#include "support/flight.h"

#include "app/keynames.h"

namespace flight {

std::string sourcePath(const std::string &relative) {
    if (!relative.empty() && relative[0] == '/') return relative;
    return std::string(TESSARC_SOURCE_DIR) + "/" + relative;
}

Flight::Flight() : host(&world) {
    sim::setWorld(&world);
    sim::setCurrentHost(&host);
}

Flight::~Flight() {
    // MFDs and modules go while the world they point into still exists.
    host.shutdown();
    sim::releaseOutstandingTools();
    sim::setCurrentHost(nullptr);
    sim::setWorld(nullptr);
}

bool Flight::load(const std::string &path) {
    if (!sim::readScenarioFile(sourcePath(path), scenario, err)) return false;
    if (!sim::buildWorld(scenario, world, err)) return false;
    haveScenario = true;
    return true;
}

bool Flight::loadText(const std::string &text, const std::string &name) {
    if (!sim::parseScenario(text, name, scenario, err)) return false;
    if (!sim::buildWorld(scenario, world, err)) return false;
    haveScenario = true;
    return true;
}

void Flight::useModule(const sim::ModuleApi &api, const std::string &name) {
    host.addModule(sim::linkedModule(name, api));
}

bool Flight::loadModule(const std::string &path) { return host.loadModule(path, err); }

bool Flight::start() {
    if (host.started()) return true;
    host.start();
    if (haveScenario && !sim::openScenarioMfds(scenario, host, err)) return false;
    return true;
}

bool Flight::open(int d, const std::string &mode, const std::string &vessel) {
    if (!start()) return false;
    ::Vessel *v = nullptr;
    if (!vessel.empty()) {
        v = world.findVessel(vessel);
        if (!v) {
            err = "no vessel " + vessel;
            return false;
        }
    }
    return host.open(d, mode, v, err);
}

bool Flight::close(int d) { return host.close(d); }
bool Flight::recreate(int d) { return host.recreate(d); }
bool Flight::key(int d, DWORD code) { return host.key(d, code); }

bool Flight::key(int d, const char *name) {
    DWORD code = app::keyCode(name);
    if (!code) {
        err = std::string("unknown key name ") + (name ? name : "(null)");
        return false;
    }
    return host.key(d, code);
}

bool Flight::button(int d, int bt) { return host.button(d, bt); }

bool Flight::type(int d, const std::string &text) {
    bool accepted = false;
    if (!host.type(d, text, &accepted)) {
        err = "no input box open on display " + std::to_string(d);
        return false;
    }
    return accepted;
}

bool Flight::cancel(int d) { return host.cancel(d); }

bool Flight::boxOpen(int d) const { return sim::Host::validDisplay(d) && host.display(d).box.open; }

std::string Flight::boxTitle(int d) const { return boxOpen(d) ? host.display(d).box.title : std::string(); }

bool Flight::focus(const std::string &vessel) {
    ::Vessel *v = world.findVessel(vessel);
    if (!v) {
        err = "no vessel " + vessel;
        return false;
    }
    return host.setFocus(v);
}

bool Flight::remove(const std::string &vessel) {
    ::Vessel *v = world.findVessel(vessel);
    if (!v) {
        err = "no vessel " + vessel;
        return false;
    }
    return host.deleteVessel(v, err);
}

void Flight::setWarp(double warp) { sim::setWarp(world, warp); }
void Flight::setDisplaySize(int d, int w, int h) { host.setDisplaySize(d, w, h); }

void Flight::run(double seconds) {
    if (!start()) return;
    host.run(seconds);
}

void Flight::frames(int n) {
    if (!start()) return;
    for (int i = 0; i < n; ++i) host.frame();
}

void Flight::draw(int d) { host.draw(d); }

const sim::Drawing &Flight::drawing(int d) const {
    static const sim::Drawing none;
    return sim::Host::validDisplay(d) ? host.display(d).lastFrame : none;
}

sim::TextScreen Flight::screen(int d) const { return sim::textScreen(drawing(d)); }

std::vector<std::string> Flight::screenLines(int d) const { return screen(d).lines; }

std::string Flight::screenText(int d) const { return sim::screenText(screen(d)); }

bool Flight::screenContains(int d, const std::string &text) const {
    for (const std::string &l : screenLines(d))
        if (l.find(text) != std::string::npos) return true;
    return false;
}

std::string Flight::label(int d, int bt) const {
    if (!sim::Host::validDisplay(d) || bt < 0 || bt >= 12) return "";
    return host.display(d).labels[bt];
}

MFD *Flight::mfd(int d) const { return sim::Host::validDisplay(d) ? host.display(d).mfd : nullptr; }

::Vessel *Flight::vessel(const std::string &name) const { return world.findVessel(name); }

VESSEL *Flight::iface(const std::string &name) const {
    ::Vessel *v = vessel(name);
    return v ? oapiGetVesselInterface(v) : nullptr;
}

OBJHANDLE Flight::handle(const std::string &name) const { return vessel(name); }

VESSEL *Flight::focusVessel() const { return world.focus ? oapiGetVesselInterface(world.focus) : nullptr; }

std::string Flight::save() {
    err = sim::unwritableNames(world);
    if (!err.empty()) return "";
    return sim::writeScenario(host, scenario.system.empty() ? "Sol" : scenario.system);
}

}  // namespace flight
