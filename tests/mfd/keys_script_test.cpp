// The pilot's keys and typed text through tessarc-sim --script: Relative mode
// against the station, HOLD and all-axis TRIM, flown in both host generations;
// a script line naming an unknown key stops the run before it starts.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/flight.h"

namespace {

struct Outcome {
    int status = -1;
    std::string err;
};

class ScriptFlight : public ::testing::Test {
protected:
    std::string dir;

    void SetUp() override {
        char tmpl[] = "/tmp/tessarc-keys-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    Outcome Fly(const std::string &script, const std::string &extra) {
        const std::string cmd = "cd '" + dir + "' && '" TESSARC_SIM_PROGRAM "' run '" +
                                flight::sourcePath("tests/mfd/flights/station_trim.scn") + "' --script '" + script +
                                "' " + extra + " --quiet 2>err.txt";
        Outcome r;
        const int s = std::system(cmd.c_str());
        r.status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
        std::ifstream e(dir + "/err.txt");
        std::getline(e, r.err, '\0');
        return r;
    }
};

// The first or last telemetry row of each vessel, split at the commas.
std::map<std::string, std::vector<std::string>> Rows(const std::string &csv, bool last) {
    std::map<std::string, std::vector<std::string>> rows;
    std::ifstream in(csv);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::stringstream ss(line);
        std::string c;
        while (std::getline(ss, c, ',')) cells.push_back(c);
        if (cells.size() > 17 && (last || !rows.count(cells[2]))) rows[cells[2]] = cells;
    }
    return rows;
}

VECTOR3 Cells(const std::vector<std::string> &row, int first) {
    return _V(std::atof(row[first].c_str()), std::atof(row[first + 1].c_str()), std::atof(row[first + 2].c_str()));
}

TEST_F(ScriptFlight, RelativeHoldAndTrimPointAtTheStationAndNullTheDrift) {
    const std::string script = flight::sourcePath("tests/mfd/flights/station_trim.script");
    for (const char *host : {"2016", "2010"}) {
        Outcome r = Fly(script, std::string("--host ") + host + " --until 600 --telemetry t.csv");
        ASSERT_EQ(r.status, 0) << host << ": " << r.err;
        for (bool last : {false, true}) {
            auto rows = Rows(dir + "/t.csv", last);
            ASSERT_TRUE(rows.count("\"ISS\"") && rows.count("\"SH-01\"")) << host;
            const auto &iss = rows["\"ISS\""], &own = rows["\"SH-01\""];
            ASSERT_EQ(own[0], last ? "600.000" : "0.000") << host;
            // Line of sight and the vessel's z axis (third column of its rotation matrix).
            VECTOR3 los = Cells(iss, 9) - Cells(own, 9);
            VECTOR3 a = Cells(own, 15) * RAD;
            VECTOR3 z = _V(-std::sin(a.y), std::sin(a.x) * std::cos(a.y), std::cos(a.x) * std::cos(a.y));
            const double angle = std::acos(dotp(los, z) / length(los)) * DEG;
            const double drift = length(Cells(iss, 12) - Cells(own, 12));
            if (last) {
                EXPECT_LT(angle, 0.5) << host;
                EXPECT_LT(drift, 0.01) << host;
            } else {  // far from both at the start: turned away, drifting
                EXPECT_GT(angle, 45.0) << host;
                EXPECT_GT(drift, 0.5) << host;
            }
        }
        std::ifstream page(dir + "/station_trim.txt");
        std::string text((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
        EXPECT_NE(text.find("Target: ISS"), std::string::npos) << host;
        EXPECT_NE(text.find("HOLD"), std::string::npos) << host;
        EXPECT_NE(text.find("TRIM"), std::string::npos) << host;
    }
}

TEST_F(ScriptFlight, UnknownKeyStopsTheRunWithItsLine) {
    std::ifstream in(flight::sourcePath("tests/mfd/flights/station_trim.script"));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string good = "key Left Delete";
    const size_t at = text.find(good);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, good.size(), "key Left Deleet");
    std::ofstream(dir + "/bad.script") << text;
    Outcome r = Fly(dir + "/bad.script", "--until 10 --telemetry t.csv");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("bad.script:9: unknown key \"Deleet\""), std::string::npos) << r.err;
    std::ifstream telemetry(dir + "/t.csv");
    std::string first;
    std::getline(telemetry, first);
    std::string sample;
    EXPECT_FALSE(std::getline(telemetry, sample)) << "the run should not have started";
}

}  // namespace
