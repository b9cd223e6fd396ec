// The sample scenarios a pilot installs (scenarios/orbiter/, the real host's
// format), flown by tessarc-sim as the pilot would: each reads without a warning
// (noting only the glider's gear line, which the real host's glider reads) and
// ends where its description says.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "sim/scenario.h"
#include "support/program.h"

namespace {

std::string Sample(const char *name) { return std::string(TESSARC_SOURCE_DIR) + "/scenarios/orbiter/" + name + ".scn"; }

// The number after "key": of the first vessel in the report; NaN when absent.
double Field(const std::string &report, const std::string &key) {
    const size_t at = report.find("\"" + key + "\":");
    return at == std::string::npos ? NAN : std::atof(report.c_str() + at + key.size() + 3);
}

// A flight of the sample with the pilot's script (may be empty) to simulation
// time `until`; its report, and its standard error in `err`.
struct Flown {
    int status = -1;
    std::string report, err;
};

Flown Fly(const char *sample, const std::string &script, double until) {
    Flown f;
    const std::string dir = program::TempDir("sample");
    if (dir.empty()) return f;
    std::string args = "run '" + Sample(sample) + "' --until " + std::to_string(until) + " --report report.json";
    if (!script.empty()) {
        std::ofstream(dir + "/pilot.script") << script;
        args += " --script pilot.script";
    }
    f.status = program::Run(dir, args);
    f.report = program::Slurp(dir + "/report.json");
    f.err = program::Slurp(dir + "/err.txt");
    program::RemoveDir(dir);
    return f;
}

// No warning; a note only for the one line of the vessel class's own module that
// the sample carries for the real host (`classLine`, e.g. the glider's GEAR; "" none).
void ExpectReadCleanly(const Flown &f, const std::string &classLine) {
    ASSERT_EQ(f.status, 0) << f.err;
    EXPECT_EQ(f.err.find("warning:"), std::string::npos) << f.err;
    int notes = 0;
    for (size_t at = f.err.find("note:"); at != std::string::npos; at = f.err.find("note:", at + 1)) {
        const std::string line = f.err.substr(at, f.err.find('\n', at) - at);
        EXPECT_NE(line.find(": " + classLine + " ignored: a line of the vessel class's own module"), std::string::npos)
            << line;
        ++notes;
    }
    EXPECT_EQ(notes, classLine.empty() ? 0 : 1) << f.err;
}

// m from pad `pad` (numbered from 1) of Brighton Beach to (lon, lat) in degrees,
// the pad as the world the sample builds has it.
double MissFromPad(const char *sample, int pad, double lon, double lat) {
    sim::Scenario s;
    sim::World w;
    sim::setWorld(&w);
    std::string err;
    double padLng = NAN, padLat = NAN, rad = NAN;
    if (sim::readScenarioFile(Sample(sample), s, err) && sim::buildWorld(s, w, err))
        oapiGetBasePadEquPos(oapiGetBaseByName(w.findBody("Moon"), (char *)"Brighton Beach"), pad - 1, &padLng, &padLat,
                             &rad);
    sim::setWorld(nullptr);
    return std::hypot((lon * RAD - padLng) * std::cos(padLat), lat * RAD - padLat) * rad;
}

TEST(Samples, DockingApproachEndsDockedToTheStation) {
    ASSERT_EQ(access(program::Path().c_str(), X_OK), 0) << "build tessarc-sim first: " << program::Path();
    const Flown f = Fly("TessarcMFD docking approach to the ISS", "", 900);
    ExpectReadCleanly(f, "");
    EXPECT_NE(f.report.find("\"docked\": [{\"port\": 0, \"vessel\": \"PB-01\"}]"), std::string::npos) << f.report;
    EXPECT_NE(f.report.find("\"vessel\": \"ISS\"}]"), std::string::npos) << f.report;
}

TEST(Samples, LunarLandingFromOrbitEndsOnPadOne) {
    ASSERT_EQ(access(program::Path().c_str(), X_OK), 0) << "build tessarc-sim first: " << program::Path();
    const Flown f = Fly("TessarcMFD lunar landing at Brighton Beach", "AT 1 key Left H\nAT 2 warp 100\n", 3400);
    ExpectReadCleanly(f, "GEAR");
    EXPECT_NE(f.report.find("\"landed\": true"), std::string::npos) << f.report;
    const double miss = MissFromPad("TessarcMFD lunar landing at Brighton Beach", 1, Field(f.report, "lon"),
                                    Field(f.report, "lat"));
    std::printf("lunar landing sample: %.2f m from pad 1, touchdown %.2f m/s\n", miss,
                Field(f.report, "touchdownVerticalSpeed"));
    EXPECT_LT(miss, 50.0);
    EXPECT_GT(Field(f.report, "touchdownVerticalSpeed"), -2.0);
}

// H taken at once: the autopilot takes the hovering glider over and sets it
// down on the pad 300 m away.
TEST(Samples, HoverTakeoverEndsOnPadOne) {
    ASSERT_EQ(access(program::Path().c_str(), X_OK), 0) << "build tessarc-sim first: " << program::Path();
    const char *sample = "TessarcMFD hover takeover at Brighton Beach";
    const Flown start = Fly(sample, "", 1);
    ExpectReadCleanly(start, "GEAR");
    EXPECT_NEAR(MissFromPad(sample, 1, Field(start.report, "lon"), Field(start.report, "lat")), 300.0, 10.0);
    const Flown f = Fly(sample, "AT 0.5 key Left H\n", 400);
    ExpectReadCleanly(f, "GEAR");
    EXPECT_NE(f.report.find("\"landed\": true"), std::string::npos) << f.report;
    const double miss = MissFromPad(sample, 1, Field(f.report, "lon"), Field(f.report, "lat"));
    std::printf("hover takeover sample: %.2f m from pad 1, touchdown %.2f m/s\n", miss,
                Field(f.report, "touchdownVerticalSpeed"));
    EXPECT_LT(miss, 50.0);
    EXPECT_GT(Field(f.report, "touchdownVerticalSpeed"), -2.0);
}

}  // namespace
