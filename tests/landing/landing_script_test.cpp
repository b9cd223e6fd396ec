// The bundled landing scenarios flown by tessarc-sim with their pilot scripts:
// the report at the end shows the lander landed on pad 1 of Brighton Beach, or of
// Jezero on Mars in both host generations, and the Landing page says so.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/flight.h"
#include "support/program.h"

namespace {

using program::Slurp;

// The number after "key": in the report's text; NaN when absent.
double Field(const std::string &report, const std::string &key) {
    const size_t at = report.find("\"" + key + "\":");
    if (at == std::string::npos) return NAN;
    return std::atof(report.c_str() + at + key.size() + 3);
}

TEST(LandingScript, BundledScenarioEndsLandedOnPadOne) {
    ASSERT_EQ(access(program::Path().c_str(), X_OK), 0) << "build tessarc-sim first: " << program::Path();
    const std::string dir = program::TempDir("landing");
    ASSERT_FALSE(dir.empty());
    const int status = program::Run(dir, "run '" + flight::sourcePath("scenarios/lunar_landing.scn") + "' --script '" +
                                             flight::sourcePath("scenarios/lunar_landing.script") +
                                             "' --report report.json --quiet");
    ASSERT_EQ(status, 0) << Slurp(dir + "/err.txt");
    const std::string report = Slurp(dir + "/report.json");
    EXPECT_NE(report.find("\"landed\": true"), std::string::npos) << report;
    // Pad 1 of Brighton Beach (as the real host has it): -33.4375 E, 41.118407 N.
    const double lon = Field(report, "lon"), lat = Field(report, "lat");
    const double metresPerDegree = 1.738e6 * RAD;
    const double miss = std::hypot((lon + 33.4375) * std::cos(lat * RAD), lat - 41.118407) * metresPerDegree;
    std::printf("tessarc-sim: landed %.2f m from pad 1, touchdown %.2f m/s\n", miss,
                Field(report, "touchdownVerticalSpeed"));
    EXPECT_LT(miss, 50.0);
    EXPECT_GT(Field(report, "touchdownVerticalSpeed"), -2.0);

    const std::string approach = Slurp(dir + "/lunar_landing_approach.txt");
    EXPECT_NE(approach.find("APPROACH"), std::string::npos) << approach;
    const std::string landed = Slurp(dir + "/lunar_landing_landed.txt");
    EXPECT_NE(landed.find("Landing complete"), std::string::npos) << landed;
    program::RemoveDir(dir);
}

// Through Mars's air onto Jezero's pad 1 (sim config: 77.448945 E, 18.441 N); the
// 2010 host has no terrain, the 2016 one sets the pad on its rise.
TEST(LandingScript, MarsScenarioEndsLandedOnPadOneInBothHostGenerations) {
    ASSERT_EQ(access(program::Path().c_str(), X_OK), 0) << "build tessarc-sim first: " << program::Path();
    for (const char *host : {"2016", "2010"}) {
        SCOPED_TRACE(host);
        const std::string dir = program::TempDir("mars");
        ASSERT_FALSE(dir.empty());
        const int status = program::Run(dir, "run '" + flight::sourcePath("scenarios/mars_landing.scn") +
                                                 "' --script '" + flight::sourcePath("scenarios/mars_landing.script") +
                                                 "' --host " + host + " --report report.json --quiet");
        ASSERT_EQ(status, 0) << Slurp(dir + "/err.txt");
        const std::string report = Slurp(dir + "/report.json");
        EXPECT_NE(report.find("\"landed\": true"), std::string::npos) << report;
        const double lon = Field(report, "lon"), lat = Field(report, "lat");
        const double metresPerDegree = 3.3895e6 * RAD;
        const double miss = std::hypot((lon - 77.448945) * std::cos(lat * RAD), lat - 18.441) * metresPerDegree;
        std::printf("tessarc-sim %s: landed %.2f m from Jezero's pad 1, touchdown %.2f m/s\n", host, miss,
                    Field(report, "touchdownVerticalSpeed"));
        EXPECT_LT(miss, 10.0);
        EXPECT_GT(Field(report, "touchdownVerticalSpeed"), -2.0);
        const std::string landed = Slurp(dir + "/mars_landing_landed.txt");
        EXPECT_NE(landed.find("Landing complete"), std::string::npos) << landed;
        program::RemoveDir(dir);
    }
}

}  // namespace
