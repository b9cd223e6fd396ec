// The bundled docking scenario flown by tessarc-sim with its pilot script, in both
// host generations: the report at the end shows the shuttle and the station
// docked, and the pages show the approach holding 50 m out, then released.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "support/flight.h"
#include "support/program.h"

namespace {

using program::Slurp;

// The text from a vessel's entry in the report to the end of its "docked" list.
std::string DockedList(const std::string &report, const std::string &vessel) {
    const size_t at = report.find("{\"name\": \"" + vessel + "\"");
    if (at == std::string::npos) return "";
    const size_t list = report.find("\"docked\": [", at);
    if (list == std::string::npos) return "";
    return report.substr(list, report.find(']', list) - list + 1);
}

TEST(DockingScript, BundledScenarioEndsDockedInBothHostGenerations) {
    ASSERT_EQ(access(program::Path().c_str(), X_OK), 0) << "build tessarc-sim first: " << program::Path();
    const std::string dir = program::TempDir("docking");
    ASSERT_FALSE(dir.empty());
    for (const char *host : {"2016", "2010"}) {
        const int status = program::Run(dir, "run '" + flight::sourcePath("scenarios/leo_docking.scn") +
                                                 "' --script '" + flight::sourcePath("scenarios/leo_docking.script") +
                                                 "' --host " + host + " --until 570 --report report.json --quiet");
        ASSERT_EQ(status, 0) << host << ": " << Slurp(dir + "/err.txt");
        const std::string report = Slurp(dir + "/report.json");
        EXPECT_EQ(DockedList(report, "SH-01"), "\"docked\": [{\"port\": 0, \"vessel\": \"ISS\"}]") << host;
        EXPECT_EQ(DockedList(report, "ISS"), "\"docked\": [{\"port\": 0, \"vessel\": \"SH-01\"}]") << host;

        const std::string hold = Slurp(dir + "/leo_docking_hold.txt");
        EXPECT_NE(hold.find("Distance :  50.00"), std::string::npos) << hold;
        for (const char *flag : {"HOLD", "DOCK", "TRIM"}) EXPECT_NE(hold.find(flag), std::string::npos) << flag;
        const std::string docked = Slurp(dir + "/leo_docking_docked.txt");
        for (const char *flag : {"HOLD", "DOCK", "TRIM"}) EXPECT_EQ(docked.find(flag), std::string::npos) << flag;
    }
    program::RemoveDir(dir);
}

}  // namespace
