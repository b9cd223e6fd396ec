// One run of tessarc-sim: scenario, module, script, reports.
#ifndef TESSARC_APP_RUNNER_H
#define TESSARC_APP_RUNNER_H

#include <string>

#include "options.h"

namespace app {

// Exit status: 0 done; 1 the module or an output file failed; 2 a bad option,
// scenario or script line; 3 the run ended but the host found faults in what the
// module did (tools not released, ...), listed on standard error and in the report.
int runSimulation(const Options &o, const std::string &programPath);

// The module built for a host generation: in the build's modules folder, else
// beside the program (or in a modules folder there).
std::string defaultModulePath(int generation, const std::string &programPath);

}  // namespace app

#endif  // TESSARC_APP_RUNNER_H
