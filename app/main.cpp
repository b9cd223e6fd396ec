// tessarc-sim: flies a scenario headless in the simulated host with a TessarcMFD
// module, driven by a pilot script, and reports what happened.
#include <cstdio>

#include "app/options.h"
#include "app/runner.h"

int main(int argc, char **argv) {
    app::Options o;
    std::string err;
    if (!app::parseOptions(argc, argv, o, err)) {
        std::fprintf(stderr, "tessarc-sim: %s\n", err.c_str());
        return 2;
    }
    if (o.help) {
        std::fputs(app::usage(), stdout);
        return 0;
    }
    return app::runSimulation(o, argv[0]);
}
