// tessarc-sim as a user runs it: its command line, pilot scripts, and a run of
// every bundled scenario that must end well and leave its report.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/options.h"
#include "app/script.h"

namespace {

// ---------------------------------------------------------------------------
// Command line and scripts

bool parse(std::vector<const char *> args, app::Options &o, std::string &err) {
    args.insert(args.begin(), "tessarc-sim");
    return app::parseOptions((int)args.size(), args.data(), o, err);
}

TEST(Options, WrongOptionsAreRefusedWithTheReason) {
    struct Case {
        std::vector<const char *> args;
        const char *what;
    } cases[] = {
        {{}, "missing command"},
        {{"fly", "x.scn"}, "unknown command"},
        {{"run"}, "needs a scenario"},
        {{"run", "x.scn", "--host", "2012"}, "2010 or 2016"},
        {{"run", "x.scn", "--until", "-5"}, "--until"},
        {{"run", "x.scn", "--warp", "fast"}, "--warp"},
        {{"run", "x.scn", "--fps", "0.5"}, "--fps"},
        {{"run", "x.scn", "--fps", "5000"}, "--fps"},
        {{"run", "x.scn", "--report"}, "needs a value"},
        {{"run", "x.scn", "--colour"}, "unknown option --colour"},
        {{"run", "x.scn", "y.scn"}, "a second scenario"},
    };
    for (const Case &c : cases) {
        app::Options o;
        std::string err;
        EXPECT_FALSE(parse(c.args, o, err));
        EXPECT_NE(err.find(c.what), std::string::npos) << err;
    }
    app::Options o;
    std::string err;
    ASSERT_TRUE(parse({"run", "x.scn", "--host", "2010", "--until", "30", "--warp", "10", "--fps", "60", "--quiet"}, o,
                      err))
        << err;
    EXPECT_DOUBLE_EQ(o.fps, 60);
    EXPECT_EQ(o.host, 2010);
    EXPECT_EQ(app::hostVersion(o.host), 100830);
    EXPECT_EQ(app::hostVersion(2016), 160828);
    EXPECT_DOUBLE_EQ(o.until, 30);
    EXPECT_TRUE(o.quiet);
}

TEST(Script, ActionsAreReadInTimeOrderWithTheirArguments) {
    std::vector<app::ScriptAction> a;
    std::string err;
    ASSERT_TRUE(app::parseScript("# a comment\n"
                                 "AT 5 type Right  E10 N20 # not a comment\n"
                                 "at 1 key Left up   # keys by host name\n"
                                 "AT 1 button User1 11\n"
                                 "AT 2 type 3\n"
                                 "AT 3 open 4 SH-01\n"
                                 "AT 4 warp 0.5\n",
                                 "s.script", a, err))
        << err;
    ASSERT_EQ(a.size(), 6u);
    EXPECT_EQ(a[0].action, app::Action::Key);  // equal times keep the file's order
    EXPECT_EQ(a[0].key, (DWORD)OAPI_KEY_UP);
    EXPECT_EQ(a[1].action, app::Action::Button);
    EXPECT_EQ(a[1].display, 2);
    EXPECT_EQ(a[1].button, 11);
    EXPECT_EQ(a[2].text, "");  // empty text is allowed
    EXPECT_EQ(a[3].text, "SH-01");
    EXPECT_DOUBLE_EQ(a[4].warp, 0.5);
    EXPECT_EQ(a[5].display, MFD_RIGHT);
    EXPECT_EQ(a[5].text, "E10 N20 # not a comment");
    EXPECT_EQ(a[5].line, 2);
}

TEST(Script, BadLinesNameFileAndLine) {
    struct Case {
        const char *text;
        const char *what;
    } cases[] = {
        {"open Left\n", "must begin with AT"},
        {"AT soon open Left\n", "not a time"},
        {"AT 1 jump Left\n", "unknown action \"jump\""},
        {"AT 1 key Left Hyper\n", "unknown key \"Hyper\""},
        {"AT 1 key Middle H\n", "no display \"Middle\""},
        {"AT 1 key User0 H\n", "no display \"User0\""},
        {"AT 1 key User11 H\n", "no display \"User11\""},
        {"AT 1 key 12 H\n", "no display \"12\""},
        {"AT 1 button Left 12\n", "0..11"},
        {"AT 1 warp 0\n", "above 0"},
        {"AT 1 focus\n", "needs a vessel"},
        {"AT 1 render Left\n", "needs a file"},
        {"AT 1 close Left now\n", "unexpected \"now\""},
    };
    for (const Case &c : cases) {
        std::vector<app::ScriptAction> a;
        std::string err;
        EXPECT_FALSE(app::parseScript(std::string("# line 1\n") + c.text, "bad.script", a, err)) << c.text;
        EXPECT_EQ(err.compare(0, 13, "bad.script:2:"), 0) << err;
        EXPECT_NE(err.find(c.what), std::string::npos) << err;
    }
}

// ---------------------------------------------------------------------------
// The program

struct Result {
    int status = -1;
    std::string out, err;
};

std::string slurp(const std::string &path) {
    std::ifstream f(path);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// Runs the program in a fresh folder (its outputs land there).
Result runProgram(const std::string &args, const std::string &dir) {
    std::string cmd = "mkdir -p '" + dir + "' && cd '" + dir + "' && '" TESSARC_SIM_PROGRAM "' " + args +
                      " > stdout.txt 2> stderr.txt";
    Result r;
    int s = std::system(cmd.c_str());
    r.status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    r.out = slurp(dir + "/stdout.txt");
    r.err = slurp(dir + "/stderr.txt");
    return r;
}

std::string tempRoot() {
    const char *t = std::getenv("TMPDIR");
    return std::string(t && *t ? t : "/tmp") + "/tessarc_program_test_" + std::to_string(getpid());
}

std::string tempDir(const std::string &name) { return tempRoot() + "/" + name; }

// The runs' folders go when the test program ends.
struct TempCleanup : ::testing::Environment {
    void TearDown() override { std::system(("rm -rf '" + tempRoot() + "'").c_str()); }
};
::testing::Environment *const cleanup = ::testing::AddGlobalTestEnvironment(new TempCleanup);

TEST(Program, EveryBundledScenarioRunsAndReports) {
    std::string dir = std::string(TESSARC_SOURCE_DIR) + "/scenarios";
    DIR *d = opendir(dir.c_str());
    ASSERT_NE(d, nullptr);
    std::vector<std::string> names;
    while (dirent *e = readdir(d)) {
        std::string n = e->d_name;
        if (n.size() > 4 && n.compare(n.size() - 4, 4, ".scn") == 0) names.push_back(n.substr(0, n.size() - 4));
    }
    closedir(d);
    ASSERT_GE(names.size(), 4u);
    for (const std::string &n : names) {
        std::string args = "run '" + dir + "/" + n + ".scn' --report report.json --save end.scn --quiet";
        if (access((dir + "/" + n + ".script").c_str(), R_OK) == 0) args += " --script '" + dir + "/" + n + ".script'";
        else args += " --until 20";
        std::string out = tempDir(n);
        Result r = runProgram(args, out);
        EXPECT_EQ(r.status, 0) << n << ": " << r.err;
        EXPECT_NE(r.out.find("module TessarcMFD_2016: Nov 19 2017"), std::string::npos) << r.out;
        std::string report = slurp(out + "/report.json");
        EXPECT_NE(report.find("\"vessels\": ["), std::string::npos) << n;
        EXPECT_NE(report.find("\"hostErrors\": []"), std::string::npos) << n << ": " << report;
        EXPECT_EQ(report.find("\"simt\": 0,"), std::string::npos) << n;
        // What it saved loads again.
        Result again = runProgram("run end.scn --until 1 --quiet", out);
        EXPECT_EQ(again.status, 0) << n << ": " << again.err;
    }
}

TEST(Program, LoadsEitherHostGenerationsModuleAndSamplesEverySecond) {
    std::string scn = std::string(TESSARC_SOURCE_DIR) + "/scenarios/leo_station.scn";
    std::string dir = tempDir("gen2010");
    Result r = runProgram("run '" + scn + "' --host 2010 --until 5 --warp 2 --fps 40 --telemetry t.csv --report r.json --quiet", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("module TessarcMFD_2010: Jun 19 2017"), std::string::npos) << r.out;
    // The module's own load glue handed the host its handle while it was loaded.
    EXPECT_NE(slurp(dir + "/r.json").find("\"moduleLibraryInitialised\": true"), std::string::npos);
    // Two vessels at 0, 1, ..., 5 s.
    std::istringstream csv(slurp(dir + "/t.csv"));
    std::string line;
    std::vector<std::string> rows;
    while (std::getline(csv, line)) rows.push_back(line);
    ASSERT_EQ(rows.size(), 1u + 2 * 6);
    EXPECT_EQ(rows[0].compare(0, 17, "simt,mjd,vessel,c"), 0);
    EXPECT_EQ(rows[11].compare(0, 6, "5.000,"), 0) << rows[11];
    EXPECT_NE(slurp(dir + "/r.json").find("\"timeAcceleration\": 2,"), std::string::npos);
    EXPECT_NE(slurp(dir + "/r.json").find("\"frameRate\": 40,"), std::string::npos);
}

// Each host generation draws through its own table of the drawing surface (the
// 2010 one has no GetOrigin): each module draws the summary page in its own host
// as the other does in its own, while the 2016 module in the 2010 host reaches the
// method after the one it means and draws something else, or dies.
TEST(Program, EachHostGenerationDrawsThroughItsOwnTable) {
    const std::string scn = std::string(TESSARC_SOURCE_DIR) + "/scenarios/leo_station.scn";
    const std::string script = tempDir("tables.script");
    std::system(("mkdir -p '" + tempRoot() + "'").c_str());
    std::ofstream(script) << "AT 1 open Left\nAT 2 key Left Back\nAT 2.5 render Left summary.calls\n";
    std::string drawn[3];
    const char *runs[3] = {"--host 2016", "--host 2010",
                           "--host 2010 --plugin '" TESSARC_MODULE_DIR "/TessarcMFD_2016.so'"};
    for (int i = 0; i < 3; ++i) {
        std::string dir = tempDir("tables" + std::to_string(i));
        Result r = runProgram("run '" + scn + "' --script '" + script + "' --until 3 --quiet " + runs[i], dir);
        if (i < 2) {
            EXPECT_EQ(r.status, 0) << runs[i] << ": " << r.err;
        }
        drawn[i] = r.status == 0 ? slurp(dir + "/summary.calls") : "status " + std::to_string(r.status);
    }
    EXPECT_NE(drawn[0].find("line "), std::string::npos) << drawn[0];
    EXPECT_NE(drawn[0].find("text "), std::string::npos) << drawn[0];
    EXPECT_EQ(drawn[1], drawn[0]);
    EXPECT_NE(drawn[2], drawn[0]);
}

TEST(Program, BadInputStopsWithStatusTwoAndSaysWhere) {
    std::string dir = tempDir("bad");
    ASSERT_EQ(runProgram("--help", dir).status, 0);
    EXPECT_EQ(runProgram("run", dir).status, 2);
    {
        std::ofstream f(dir + "/bad.scn");
        f << "BEGIN_ENVIRONMENT\n  System Sol\nEND_ENVIRONMENT\nBEGIN_SHIPS\nA:Probe\n  STATUS Landed Moon\n"
             "  POS 1 200\nEND\nEND_SHIPS\n";
    }
    Result r = runProgram("run bad.scn", dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("bad.scn:7:"), std::string::npos) << r.err;
    {
        std::ofstream f(dir + "/bad.script");
        f << "AT 1 open Left\nAT 2 key Left NoKey\n";
    }
    std::string scn = std::string(TESSARC_SOURCE_DIR) + "/scenarios/demo.scn";
    r = runProgram("run '" + scn + "' --script bad.script", dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("bad.script:2:"), std::string::npos) << r.err;
    r = runProgram("run '" + scn + "' --plugin ./nothing.so", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("nothing"), std::string::npos) << r.err;
}

}  // namespace
