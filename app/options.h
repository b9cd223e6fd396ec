// The command line of tessarc-sim.
#ifndef TESSARC_APP_OPTIONS_H
#define TESSARC_APP_OPTIONS_H

#include <string>

namespace app {

struct Options {
    bool help = false;
    std::string scenario;
    std::string plugin;         // module file; empty: the one built for the host generation
    int host = 2016;            // 2010 or 2016
    bool hasUntil = false;
    double until = 0;           // simulation seconds to run
    bool hasWarp = false;
    double warp = 1;
    bool hasFps = false;
    double fps = 20;            // frames per second of wall-clock time (the host's frame rate)
    std::string script, report, telemetry, save;
    double renderEvery = 0;     // s of simulation time between pictures; 0: none
    std::string renderDir;      // folder of those pictures
    bool quiet = false;
};

// False with a message in err for anything that is not a valid command line.
bool parseOptions(int argc, const char *const *argv, Options &o, std::string &err);
const char *usage();

// oapiGetOrbiterVersion's value for a host generation.
int hostVersion(int generation);

}  // namespace app

#endif  // TESSARC_APP_OPTIONS_H
