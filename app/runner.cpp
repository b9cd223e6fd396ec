// tessarc-sim's run: load, fly the script, write what was asked for.
#include "runner.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <sys/stat.h>

#include "report.h"
#include "sim/collision.h"
#include "script.h"
#include "sim/picture.h"
#include "sim/scenario.h"

namespace app {

namespace {

bool exists(const std::string &p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0;
}

std::string folderOf(const std::string &path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

struct Run {
    const Options &o;
    sim::Host &host;
    sim::Scenario &scn;
    RunInfo &info;
    std::string fatal;  // a script action that cannot be carried out

    void warn(const std::string &msg) {
        info.warnings.push_back(msg);
        if (!o.quiet) std::fprintf(stderr, "warning: %s\n", msg.c_str());
    }

    ::Vessel *vesselNamed(const ScriptAction &a) {
        ::Vessel *v = host.world().findVessel(a.text);
        if (!v) fatal = o.script + ":" + std::to_string(a.line) + ": no vessel \"" + a.text + "\"";
        return v;
    }

    void perform(const ScriptAction &a) {
        std::string where = o.script + ":" + std::to_string(a.line) + ": ";
        std::string err;
        sim::Display &D = host.display(a.display >= 0 ? a.display : 0);
        switch (a.action) {
        case Action::Open: {
            ::Vessel *v = nullptr;
            if (!a.text.empty() && !(v = vesselNamed(a))) return;
            const std::vector<sim::MfdMode> &modes = host.registeredModes();
            if (modes.empty()) return warn(where + "no MFD mode is registered");
            if (!host.open(a.display, modes.front().name, v, err)) warn(where + err);
            break;
        }
        case Action::Close:
            if (!host.close(a.display)) warn(where + "display " + std::to_string(a.display) + " is not open");
            break;
        case Action::Recreate:
            if (!host.recreate(a.display)) warn(where + "display " + std::to_string(a.display) + " did not reopen");
            break;
        case Action::Key:
            if (!D.mfd) warn(where + "display " + std::to_string(a.display) + " is not open");
            else host.key(a.display, a.key);
            break;
        case Action::Button:
            if (!D.mfd) warn(where + "display " + std::to_string(a.display) + " is not open");
            else host.button(a.display, a.button);
            break;
        case Action::Type: {
            bool accepted = false;
            if (!host.type(a.display, a.text, &accepted)) warn(where + "no input box is open on that display");
            else if (!accepted) warn(where + "the input box refused \"" + a.text + "\"");
            break;
        }
        case Action::Cancel:
            if (!host.cancel(a.display)) warn(where + "no input box is open on that display");
            break;
        case Action::Focus:
            if (::Vessel *v = vesselNamed(a)) host.setFocus(v);
            break;
        case Action::Warp:
            sim::setWarp(host.world(), a.warp);
            break;
        case Action::Delete:
            if (::Vessel *v = vesselNamed(a))
                if (!host.deleteVessel(v, err)) warn(where + err);
            break;
        case Action::Save:
            if (!sim::saveScenario(host, scn.system, a.text, err)) warn(where + err);
            break;
        case Action::Render:
            if (!D.mfd) return warn(where + "display " + std::to_string(a.display) + " is not open");
            if (D.frames == 0) host.draw(a.display);
            if (!sim::writePicture(D.lastFrame, a.text, err)) warn(where + err);
            break;
        }
    }
};

// Every open display's last frame as DIR/mfd<d>_<simt>.png and .txt.
void renderDisplays(sim::Host &host, const Options &o, double simt, RunInfo &info) {
    for (int d = 0; d < MAXMFD; ++d) {
        sim::Display &D = host.display(d);
        if (!D.mfd) continue;
        if (D.frames == 0) host.draw(d);
        char name[64];
        std::snprintf(name, sizeof name, "/mfd%d_%08.1f", d, simt);
        std::string err, base = o.renderDir + name;
        if (!sim::writePicture(D.lastFrame, base + ".png", err) || !sim::writePicture(D.lastFrame, base + ".txt", err)) {
            info.warnings.push_back(err);
            if (!o.quiet) std::fprintf(stderr, "warning: %s\n", err.c_str());
        }
    }
}

// Flies the world frame by frame to the end of the run (the option's time, else
// 10 s after the script's last action, else 60 s), performing the script's actions
// at their times, sampling telemetry each second and rendering the displays.
// Returns the action that could not be carried out ("" when none).
std::string fly(const Options &o, sim::World &world, sim::Host &host, sim::Scenario &scn,
                const std::vector<ScriptAction> &script, RunInfo &info, Telemetry &tm) {
    const double until = o.hasUntil ? o.until : script.empty() ? 60.0 : script.back().t + 10.0;
    Run run{o, host, scn, info, ""};
    size_t next = 0;
    double nextSample = 0, nextPicture = 0;
    size_t told = 0;  // collisions printed so far
    auto lastProgress = std::chrono::steady_clock::now();
    for (;;) {
        while (next < script.size() && script[next].t <= world.simt + 1e-9 && run.fatal.empty())
            run.perform(script[next++]);
        if (!run.fatal.empty()) break;
        if (world.simt >= nextSample - 1e-9) {
            tm.sample(world);
            nextSample = std::floor(world.simt + 1e-9) + 1.0;
        }
        if (o.renderEvery > 0 && world.simt >= nextPicture - 1e-9) {
            renderDisplays(host, o, world.simt, info);
            nextPicture = world.simt + o.renderEvery;
        }
        if (world.simt >= until - 1e-9) break;
        host.frame();
        for (; told < world.collisions.size(); ++told)
            std::fprintf(stderr, "%s\n", sim::describeCollision(world.collisions[told]).c_str());
        auto now = std::chrono::steady_clock::now();
        if (!o.quiet && now - lastProgress > std::chrono::seconds(2)) {
            lastProgress = now;
            std::fprintf(stderr, "t = %.1f s, time acceleration %gx, focus %s\n", world.simt, world.warp,
                         world.focus ? world.focus->name.c_str() : "-");
        }
    }
    return run.fatal;
}

// The report and the saved scenario of a finished run; the run's status after them
// (1 for a failed output when nothing failed before).
int writeOutputs(const Options &o, sim::Host &host, const sim::Scenario &scn, RunInfo &info, int status) {
    std::string err;
    if (!o.report.empty()) {
        if (writeReport(host, info, o.report, err)) {
            if (!o.quiet) std::fprintf(stderr, "report: %s\n", o.report.c_str());
        } else {
            std::fprintf(stderr, "tessarc-sim: %s\n", err.c_str());
            if (status == 0) status = 1;
        }
    }
    if (!o.save.empty() && !sim::saveScenario(host, scn.system, o.save, err)) {
        std::fprintf(stderr, "tessarc-sim: %s\n", err.c_str());
        if (status == 0) status = 1;
    }
    return status;
}

}  // namespace

std::string defaultModulePath(int generation, const std::string &programPath) {
    std::string file = "TessarcMFD_" + std::to_string(generation) + ".so";
    std::string built = std::string(TESSARC_MODULE_DIR) + "/" + file;
    if (exists(built)) return built;
    std::string dir = folderOf(programPath);
    if (exists(dir + "/modules/" + file)) return dir + "/modules/" + file;
    return dir + "/" + file;
}

int runSimulation(const Options &o, const std::string &programPath) {
    std::string err;
    sim::World world;
    sim::setWorld(&world);
    world.hostVersion = hostVersion(o.host);
    sim::Scenario scn;
    std::vector<ScriptAction> script;
    if (!sim::readScenarioFile(o.scenario, scn, err) || !sim::buildWorld(scn, world, err) ||
        (!o.script.empty() && !readScriptFile(o.script, script, err))) {
        std::fprintf(stderr, "tessarc-sim: %s\n", err.c_str());
        sim::setWorld(nullptr);
        return 2;
    }
    if (!o.quiet)
        for (const std::string &n : scn.notes) std::fprintf(stderr, "note: %s\n", n.c_str());
    RunInfo info;
    info.scenario = o.scenario;
    info.hostGeneration = o.host;
    int status = 0;
    {
        sim::Host host(&world);
        std::string modulePath = o.plugin.empty() ? defaultModulePath(o.host, programPath) : o.plugin;
        if (!host.loadModule(modulePath, err)) {
            std::fprintf(stderr, "tessarc-sim: %s\n", err.c_str());
            host.shutdown();
            sim::setWorld(nullptr);
            return 1;
        }
        const sim::Module &m = host.loadedModules().front();
        info.module = m.name;
        info.moduleDate = sim::moduleDate(m);
        info.moduleLibraryInitialised = m.libraryInitialised;
        std::printf("module %s: %s\n", info.module.c_str(), info.moduleDate.empty() ? "(no date)" : info.moduleDate.c_str());
        std::fflush(stdout);
        if (o.hasWarp) sim::setWarp(world, o.warp);
        if (o.hasFps) world.frameDt = 1.0 / o.fps;
        host.start();
        if (!sim::openScenarioMfds(scn, host, err)) {
            std::fprintf(stderr, "tessarc-sim: %s\n", err.c_str());
            host.shutdown();
            sim::setWorld(nullptr);
            return 2;
        }
        Telemetry tm;
        if (!o.telemetry.empty() && !tm.open(o.telemetry, err)) {
            std::fprintf(stderr, "tessarc-sim: %s\n", err.c_str());
            status = 1;
        }
        if (o.renderEvery > 0) mkdir(o.renderDir.c_str(), 0777);  // an existing folder is fine
        const std::string fatal = fly(o, world, host, scn, script, info, tm);
        if (!fatal.empty()) {
            std::fprintf(stderr, "tessarc-sim: %s\n", fatal.c_str());
            status = 2;
        }
        for (const std::string &e : host.errors()) std::fprintf(stderr, "host: %s\n", e.c_str());
        if (status == 0 && !host.errors().empty()) status = 3;
        status = writeOutputs(o, host, scn, info, status);
        if (!o.quiet)
            std::fprintf(stderr, "done: t = %.1f s, MJD %.6f, %zu warning(s)\n", world.simt, world.mjd(),
                         info.warnings.size());
        host.shutdown();
    }
    sim::releaseOutstandingTools();
    sim::setWorld(nullptr);
    return status;
}

}  // namespace app
