// The bundled landing scenario flown by tessarc-sim with its pilot script: the
// report at the end shows the lander landed on pad 1 of Brighton Beach, and the
// Landing page says so.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "support/flight.h"

namespace {

// tessarc-sim is built at the top of the build folder, this program in tests/.
std::string ProgramPath() {
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (n <= 0) return "";
    std::string path(exe, static_cast<size_t>(n));
    path = path.substr(0, path.rfind('/'));
    return path.substr(0, path.rfind('/')) + "/tessarc-sim";
}

std::string Slurp(const std::string &path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The number after "key": in the report's text; NaN when absent.
double Field(const std::string &report, const std::string &key) {
    const size_t at = report.find("\"" + key + "\":");
    if (at == std::string::npos) return NAN;
    return std::atof(report.c_str() + at + key.size() + 3);
}

TEST(LandingScript, BundledScenarioEndsLandedOnPadOne) {
    const std::string program = ProgramPath();
    ASSERT_EQ(access(program.c_str(), X_OK), 0) << "build tessarc-sim first: " << program;
    char tmpl[] = "/tmp/tessarc-landing-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    const std::string cmd = "cd '" + dir + "' && '" + program + "' run '" +
                            flight::sourcePath("scenarios/lunar_landing.scn") + "' --script '" +
                            flight::sourcePath("scenarios/lunar_landing.script") +
                            "' --report report.json --quiet 2>err.txt";
    const int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Slurp(dir + "/err.txt");
    const std::string report = Slurp(dir + "/report.json");
    EXPECT_NE(report.find("\"landed\": true"), std::string::npos) << report;
    // Pad 1 of Brighton Beach (sim config): -33.432626 E, 41.131978 N.
    const double lon = Field(report, "lon"), lat = Field(report, "lat");
    const double metresPerDegree = 1.738e6 * RAD;
    const double miss = std::hypot((lon + 33.432626) * std::cos(lat * RAD), lat - 41.131978) * metresPerDegree;
    std::printf("tessarc-sim: landed %.2f m from pad 1, touchdown %.2f m/s\n", miss,
                Field(report, "touchdownVerticalSpeed"));
    EXPECT_LT(miss, 50.0);
    EXPECT_GT(Field(report, "touchdownVerticalSpeed"), -2.0);

    const std::string approach = Slurp(dir + "/lunar_landing_approach.txt");
    EXPECT_NE(approach.find("APPROACH"), std::string::npos) << approach;
    const std::string landed = Slurp(dir + "/lunar_landing_landed.txt");
    EXPECT_NE(landed.find("Landing complete"), std::string::npos) << landed;
    std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
