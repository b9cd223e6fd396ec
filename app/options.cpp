// tessarc-sim's command line.
#include "options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace app {

const char *usage() {
    return "usage: tessarc-sim run SCENARIO [options]\n"
           "       tessarc-sim --help\n"
           "\n"
           "Flies a scenario headless in the simulated host with the TessarcMFD module.\n"
           "\n"
           "options:\n"
           "  --plugin MODULE       module to load (default: the one built for --host)\n"
           "  --host 2010|2016      host generation to simulate (default 2016)\n"
           "  --until SECONDS       simulation time to run (default: 10 s after the last\n"
           "                        script action, or 60 s without a script)\n"
           "  --warp FACTOR         initial time acceleration (default 1)\n"
           "  --fps RATE            frames a second (default 20; real hosts run 30 to 120):\n"
           "                        a frame covers (time acceleration) / RATE s of simulation\n"
           "                        time, and the module is called once a frame\n"
           "  --script FILE         pilot actions: lines \"AT <simt> <action> <arguments>\"\n"
           "                        (open, close, recreate, key, button, type, cancel,\n"
           "                        focus, warp, delete, save, render)\n"
           "  --report FILE.json    state of the world and the displays at the end\n"
           "  --telemetry FILE.csv  every vessel's state every second of simulation time\n"
           "  --save FILE.scn       the scenario as it stands at the end\n"
           "  --render-every SECONDS DIR\n"
           "                        every open display as DIR/mfd<d>_<simt>.png and .txt\n"
           "  --quiet               no progress on standard error\n"
           "\n"
           "exit status: 0 done; 1 the module or an output file failed; 2 a bad option,\n"
           "scenario or script line; 3 the host found faults in what the module did\n"
           "(pens or brushes not released, ...: listed on standard error and in the report)\n";
}

namespace {
const double kMinFps = 1.0;     // frames a second: one frame a second at the slowest
const double kMaxFps = 1000.0;  // and a millisecond a frame at the fastest
}  // namespace

int hostVersion(int generation) { return generation == 2010 ? 100830 : 160828; }

static bool positive(const char *s, double &v) {
    char *end = nullptr;
    errno = 0;
    v = std::strtod(s, &end);
    return *s && *end == '\0' && errno != ERANGE && std::isfinite(v) && v > 0;
}

bool parseOptions(int argc, const char *const *argv, Options &o, std::string &err) {
    o = Options();
    if (argc < 2) {
        err = "missing command (try --help)";
        return false;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        o.help = true;
        return true;
    }
    if (std::strcmp(argv[1], "run") != 0) {
        err = std::string("unknown command \"") + argv[1] + "\" (try --help)";
        return false;
    }
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char *&v) {
            if (i + 1 >= argc) {
                err = a + " needs a value";
                return false;
            }
            v = argv[++i];
            return true;
        };
        const char *v = nullptr;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--quiet") {
            o.quiet = true;
        } else if (a == "--plugin") {
            if (!value(v)) return false;
            o.plugin = v;
        } else if (a == "--host") {
            if (!value(v)) return false;
            if (std::strcmp(v, "2010") == 0) o.host = 2010;
            else if (std::strcmp(v, "2016") == 0) o.host = 2016;
            else {
                err = std::string("--host must be 2010 or 2016, not \"") + v + "\"";
                return false;
            }
        } else if (a == "--until") {
            if (!value(v)) return false;
            if (!positive(v, o.until)) {
                err = std::string("--until needs a number of seconds above 0, not \"") + v + "\"";
                return false;
            }
            o.hasUntil = true;
        } else if (a == "--warp") {
            if (!value(v)) return false;
            if (!positive(v, o.warp)) {
                err = std::string("--warp needs a factor above 0, not \"") + v + "\"";
                return false;
            }
            o.hasWarp = true;
        } else if (a == "--fps") {
            if (!value(v)) return false;
            if (!positive(v, o.fps) || o.fps < kMinFps || o.fps > kMaxFps) {
                err = std::string("--fps needs a frame rate from 1 to 1000, not \"") + v + "\"";
                return false;
            }
            o.hasFps = true;
        } else if (a == "--script" || a == "--report" || a == "--telemetry" || a == "--save") {
            if (!value(v)) return false;
            std::string &dst = a == "--script" ? o.script : a == "--report" ? o.report : a == "--telemetry" ? o.telemetry : o.save;
            dst = v;
        } else if (a == "--render-every") {
            if (!value(v)) return false;
            if (!positive(v, o.renderEvery)) {
                err = std::string("--render-every needs a number of seconds above 0, not \"") + v + "\"";
                return false;
            }
            if (!value(v)) return false;
            o.renderDir = v;
        } else if (!a.empty() && a[0] == '-') {
            err = "unknown option " + a + " (try --help)";
            return false;
        } else if (o.scenario.empty()) {
            o.scenario = a;
        } else {
            err = "a second scenario \"" + a + "\" (only one is run)";
            return false;
        }
    }
    if (!o.help && o.scenario.empty()) {
        err = "run needs a scenario file (try --help)";
        return false;
    }
    return true;
}

}  // namespace app
