// tessarc-campaign: a dispersion campaign of landings. Each landing runs in a
// process of its own (the simulated host is one per process), JOBS at a time;
// one progress line per landing, then the summary, and the results table for
// the picture (tools/campaign_plot.py).
//
//   tessarc-campaign [--count N] [--jobs J] [--seed S] [--out DIR] [--only I]
//                    [--warp W] [--spare-fuel KG] [--takeover]
//                    [--descent specified|efficient]
//
// --descent chooses the descent profile the pilot sets on the Landing page before
// engaging: the specified one (the default) or the efficient one; the same starts
// either way, so two campaigns set the profiles side by side.
// --takeover flies the takeover starts in place of the orbits: hovering near the
// pad, low and slow uprange, a short arc, standing on the ground within a hop, and
// a stop and resume late in the descent, the kinds and lander classes in turn.
// --warp W flies every start with the pilot asking for time acceleration W;
// --spare-fuel KG gives the tank KG more in place of as much dry mass (the same
// lander, which the fuel check cannot refuse: the table then sets the propellant
// used against the prediction and the start's own fuel).
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "campaign/dispersion.h"
#include "campaign/fly.h"

namespace {

struct Options {
    int count = 200;
    int jobs = 2;
    unsigned seed = 1;
    int only = -1;  // fly this landing alone, in this process
    bool takeover = false;  // the takeover starts in place of the orbits
    campaign::FlyOptions fly;
    std::string out = "out/campaign";
};

const char kUsage[] = "usage: tessarc-campaign [--count N] [--jobs J] [--seed S] [--out DIR] [--only I]\n"
                      "                        [--warp W] [--spare-fuel KG] [--takeover]\n"
                      "                        [--descent specified|efficient]\n";

// The descent profile named on the command line; false for another word.
bool ParseDescent(const std::string &word, campaign::FlyOptions *fly) {
    if (word != "specified" && word != "efficient") return false;
    fly->efficient = word == "efficient";
    return true;
}

// The options; false, with the complaint on standard error, for a command line
// that does not read.
bool Parse(int argc, char **argv, Options *o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--descent" && more) {
            const std::string word = argv[++i];
            if (ParseDescent(word, &o->fly)) continue;
            std::fprintf(stderr, "tessarc-campaign: unknown descent profile \"%.60s\": specified or efficient\n",
                         word.c_str());
            return false;
        }
        if (a == "--count" && more) o->count = std::atoi(argv[++i]);
        else if (a == "--jobs" && more) o->jobs = std::atoi(argv[++i]);
        else if (a == "--seed" && more) o->seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (a == "--only" && more) o->only = std::atoi(argv[++i]);
        else if (a == "--out" && more) o->out = argv[++i];
        else if (a == "--warp" && more) o->fly.warp = std::atof(argv[++i]);
        else if (a == "--spare-fuel" && more) o->fly.spareFuel = std::atof(argv[++i]);
        else if (a == "--takeover") o->takeover = true;
        else {
            std::fprintf(stderr, "%s", kUsage);
            return false;
        }
    }
    if (o->count > 0 && o->jobs > 0) return true;
    std::fprintf(stderr, "%s", kUsage);
    return false;
}

campaign::Start StartOf(const Options &o, int index) {
    const int classes = static_cast<int>(campaign::landerClasses().size());
    return o.takeover ? campaign::DrawTakeoverStart(o.seed, index, classes) : campaign::DrawStart(o.seed, index, classes);
}

std::string ResultFile(const Options &o, int index) {
    char name[32];
    std::snprintf(name, sizeof name, "/landing_%04d.csv", index);
    return o.out + name;
}

std::string Progress(const campaign::Result &r) {
    const campaign::Start &s = r.start;
    char head[200];
    if (s.kind != campaign::START_ORBIT)
        std::snprintf(head, sizeof head, "#%03d %s %s pad %d, %5.0f m off, %5.0f m up, %4.0f m/s in, %4.0f m/s up, "
                      "fuel %3.0f%%, %5.1fx, %2.0f fps: ",
                      s.index, campaign::landerClasses()[static_cast<size_t>(s.lander)].name.c_str(),
                      campaign::StartKindName(s.kind), s.pad, s.dist, s.height, s.toward, s.climb, s.fuel * 100.0,
                      s.warp, s.fps);
    else
    std::snprintf(head, sizeof head, "#%03d %s pad %d, %3.0f km e %.3f, pass in %5.0f s, cross %6.1f km of %5.1f, "
                  "fuel %3.0f%%, %6.1fx, %2.0f fps: ",
                  s.index, campaign::landerClasses()[static_cast<size_t>(s.lander)].name.c_str(), s.pad,
                  s.periapsisAlt / 1000.0, s.ecc, s.timeToPass, s.crossRange / 1000.0, s.crossLimit / 1000.0,
                  s.fuel * 100.0, s.warp, s.fps);
    char tail[320];
    switch (r.outcome) {
    case campaign::OUT_LANDED:
    case campaign::OUT_HARD:
        std::snprintf(tail, sizeof tail, "%s %.1f m (%.1f, %.1f), %.2f m/s down, %.2f m/s across, dv %.0f of ideal %.0f",
                      campaign::Succeeded(r) ? "LANDED" : (r.outcome == campaign::OUT_HARD ? "HARD CONTACT" : "LANDED OFF"),
                      std::hypot(r.missAlong, r.missCross), r.missAlong, r.missCross, -r.vs, r.hs, r.dvUsed,
                      r.dvIdeal);
        break;
    case campaign::OUT_REFUSED:
        std::snprintf(tail, sizeof tail, "REFUSED \"%.120s\"", r.reason.c_str());
        break;
    default:
        std::snprintf(tail, sizeof tail, "%s %.200s", r.outcome == campaign::OUT_LOST ? "LOST" : "ABORTED",
                      r.reason.c_str());
    }
    return std::string(head) + tail;
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5));
    return v[i];
}

// The Landing page's status line of a start refused because the tank cannot pay
// for the descent.
const char kFuelRefusal[] = "not enough fuel";

// " dv/ideal median M (10-90% A-B)" of the ratios, or "" without any.
std::string RatioFigures(const std::vector<double> &ratio) {
    if (ratio.empty()) return "";
    char text[96];
    std::snprintf(text, sizeof text, "; dv/ideal median %.3f (10-90%% %.3f-%.3f)", Percentile(ratio, 0.5),
                  Percentile(ratio, 0.1), Percentile(ratio, 0.9));
    return text;
}

// The propellant the plan asked (its reserve included) at HOLD, or as the brake
// started, over what the landing used from then: under 1 the fuel check then
// took a descent it had underestimated.
std::string PlannedFigures(const char *when, const std::vector<double> &planned) {
    if (planned.empty()) return "";
    char text[112];
    std::snprintf(text, sizeof text, "; propellant planned %s / used: median %.2f, min %.2f", when,
                  Percentile(planned, 0.5), Percentile(planned, 0.0));
    return text;
}

// One line per lander class: its landings flown and refused (for fuel among
// them), the soft ones, the worst of its misses and touchdowns, and the
// delta-v it used over the ideal (orbits only: a takeover has no ideal).
std::string ClassLines(const std::vector<campaign::Result> &rs) {
    std::string out;
    const auto &classes = campaign::landerClasses();
    for (size_t k = 0; k < classes.size() * campaign::START_KINDS; ++k) {
        const size_t c = k / campaign::START_KINDS;
        const int kind = static_cast<int>(k % campaign::START_KINDS);
        int flown = 0, refused = 0, fuel = 0, success = 0, hard = 0;
        std::vector<double> miss, vs, ratio, planned, atBrake;
        for (const campaign::Result &r : rs) {
            if (static_cast<size_t>(r.start.lander) != c || r.start.kind != kind) continue;
            if (r.outcome == campaign::OUT_HARD) ++hard;
            if (r.outcome == campaign::OUT_REFUSED) {
                ++refused;
                if (r.reason == kFuelRefusal) ++fuel;
                continue;
            }
            ++flown;
            if (campaign::Succeeded(r)) ++success;
            if (r.outcome == campaign::OUT_LANDED || r.outcome == campaign::OUT_HARD) {
                miss.push_back(std::hypot(r.missAlong, r.missCross));
                vs.push_back(-r.vs);
                if (r.dvIdeal > 0.0) ratio.push_back(r.dvUsed / r.dvIdeal);
                if (r.fuelAtHold > 0.0 && r.fuelUsed > 0.0) planned.push_back(r.fuelAtHold / r.fuelUsed);
                if (r.fuelPredicted > 0.0 && r.fuelFromBrake > 0.0) atBrake.push_back(r.fuelPredicted / r.fuelFromBrake);
            }
        }
        if (flown + refused == 0) continue;
        char line[300];
        std::snprintf(line, sizeof line,
                      "%.40s at %.40s, %s: flown %d, refused %d (fuel %d), success %d, hard %d; miss m median %.2f "
                      "max %.2f; down m/s median %.2f max %.2f",
                      classes[c].name.c_str(), classes[c].body.c_str(), campaign::StartKindName(kind), flown, refused,
                      fuel, success, hard, Percentile(miss, 0.5), Percentile(miss, 1.0), Percentile(vs, 0.5),
                      Percentile(vs, 1.0));
        out += line + RatioFigures(ratio) + PlannedFigures("at HOLD", planned) + PlannedFigures("at the brake", atBrake) + "\n";
    }
    return out;
}

// The summary, as printed and as stored beside the table.
std::string Summary(const std::vector<campaign::Result> &rs, bool efficient) {
    int landed = 0, success = 0, hard = 0, refused = 0, lost = 0, aborted = 0, silent = 0;
    std::map<std::string, int> reasons, losses;
    std::vector<double> miss, vs, hs, dvRatio;
    for (const campaign::Result &r : rs) {
        switch (r.outcome) {
        case campaign::OUT_LANDED: ++landed; break;
        case campaign::OUT_HARD: ++hard; break;
        case campaign::OUT_REFUSED:
            ++refused;
            ++reasons[r.reason];
            if (r.reason == "no error" || r.reason == "(no status line)") ++silent;
            break;
        case campaign::OUT_LOST: ++lost; ++losses[r.reason.substr(0, r.reason.find(';'))]; break;
        default: ++aborted;
        }
        if (campaign::Succeeded(r)) ++success;
        if (r.outcome == campaign::OUT_LANDED || r.outcome == campaign::OUT_HARD) {
            miss.push_back(std::hypot(r.missAlong, r.missCross));
            vs.push_back(-r.vs);
            hs.push_back(r.hs);
            if (r.dvIdeal > 0.0) dvRatio.push_back(r.dvUsed / r.dvIdeal);
        }
    }
    const int flown = static_cast<int>(rs.size()) - refused;
    std::string out = efficient ? "descent profile: efficient\n" : "descent profile: specified\n";
    char line[400];
    std::snprintf(line, sizeof line,
                  "landings: %zu; refused %d (%d for fuel, %d without a reason on the page); flown %d\n", rs.size(),
                  refused, reasons.count(kFuelRefusal) ? reasons[kFuelRefusal] : 0, silent, flown);
    out += line;
    std::snprintf(line, sizeof line,
                  "success (soft, <= 1 m/s down, inside the precision box): %d of %d flown = %.1f%%\n", success, flown,
                  flown > 0 ? 100.0 * success / flown : 0.0);
    out += line;
    std::snprintf(line, sizeof line,
                  "touched down %d (%d outside the box or faster than 1 m/s); hard contact %d; lost %d; aborted %d\n",
                  landed + hard, landed - success, hard, lost, aborted);
    out += line;
    if (!miss.empty()) {
        std::snprintf(line, sizeof line, "miss m: median %.2f, 95%% %.2f, max %.2f\n", Percentile(miss, 0.5),
                      Percentile(miss, 0.95), Percentile(miss, 1.0));
        out += line;
        std::snprintf(line, sizeof line, "touchdown down m/s: median %.2f, max %.2f; across m/s: median %.2f, max %.2f\n",
                      Percentile(vs, 0.5), Percentile(vs, 1.0), Percentile(hs, 0.5), Percentile(hs, 1.0));
        out += line;
        // Takeover starts have no ideal to set against (a hover's is its fall).
        std::snprintf(line, sizeof line, "delta-v used / ideal: median %.3f, 10-90%% %.3f-%.3f, max %.3f\n",
                      Percentile(dvRatio, 0.5), Percentile(dvRatio, 0.1), Percentile(dvRatio, 0.9),
                      Percentile(dvRatio, 1.0));
        if (!dvRatio.empty()) out += line;
    }
    out += ClassLines(rs);
    for (const auto &kv : reasons) {
        std::snprintf(line, sizeof line, "refused \"%.100s\": %d\n", kv.first.c_str(), kv.second);
        out += line;
    }
    for (const auto &kv : losses) {
        std::snprintf(line, sizeof line, "lost \"%.100s\": %d\n", kv.first.c_str(), kv.second);
        out += line;
    }
    return out;
}

// The output folder with its parents, as mkdir -p makes it; false when it cannot
// be made (every landing's result would then be lost).
bool MakeFolder(const std::string &path) {
    for (size_t cut = path.find('/', 1); cut != std::string::npos; cut = path.find('/', cut + 1))
        if (mkdir(path.substr(0, cut).c_str(), 0777) != 0 && errno != EEXIST) return false;
    struct stat st;
    return (mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// One landing in a child process: its result line goes to its own file.
pid_t Launch(const Options &o, int index) {
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const campaign::Result r =
        campaign::FlyLanding(StartOf(o, index), o.fly);
    std::ofstream file(ResultFile(o, index));
    file << campaign::ResultLine(r) << "\n";
    file.close();
    _exit(file ? 0 : 1);
}

}  // namespace

int main(int argc, char **argv) {
    Options o;
    if (!Parse(argc, argv, &o)) return 2;
    if (o.only >= 0) {
        const campaign::Result r = campaign::FlyLanding(StartOf(o, o.only), o.fly);
        std::printf("%s\n%s\n", Progress(r).c_str(), campaign::ResultLine(r).c_str());
        return 0;
    }
    if (!MakeFolder(o.out)) {
        std::fprintf(stderr, "tessarc-campaign: cannot make the output folder %s: %s\n", o.out.c_str(),
                     std::strerror(errno));
        return 1;
    }
    std::map<pid_t, int> running;
    std::vector<campaign::Result> results;
    int next = 0, done = 0;
    while (next < o.count || !running.empty()) {
        while (next < o.count && static_cast<int>(running.size()) < o.jobs) {
            const pid_t pid = Launch(o, next);
            if (pid < 0) {
                std::perror("fork");
                return 1;
            }
            running[pid] = next++;
        }
        int status = 0;
        const pid_t pid = wait(&status);
        if (pid < 0) break;
        const auto it = running.find(pid);
        if (it == running.end()) continue;
        const int index = it->second;
        running.erase(it);
        campaign::Result r;
        std::ifstream file(ResultFile(o, index));
        std::string line;
        if (!std::getline(file, line) || !campaign::ParseResultLine(line, &r)) {
            r = campaign::Result();
            r.start = StartOf(o, index);
            r.outcome = campaign::OUT_ABORTED;
            r.reason = "the flight program failed";
        } else if (o.takeover) {
            // The table keeps no takeover geometry: it is drawn again, as flown.
            const double warp = r.start.warp;
            r.start = StartOf(o, index);
            r.start.warp = warp;
        }
        results.push_back(r);
        std::fprintf(stderr, "[%3d/%d] %s\n", ++done, o.count, Progress(r).c_str());
    }
    std::sort(results.begin(), results.end(),
              [](const campaign::Result &a, const campaign::Result &b) { return a.start.index < b.start.index; });
    std::ofstream names(o.out + "/classes.txt");
    for (const campaign::LanderClass &c : campaign::landerClasses()) names << c.name << " at " << c.body << "\n";
    std::ofstream table(o.out + "/results.csv");
    table << campaign::ResultHeader() << "\n";
    for (const campaign::Result &r : results) table << campaign::ResultLine(r) << "\n";
    const std::string summary = Summary(results, o.fly.efficient);
    std::ofstream(o.out + "/summary.txt") << summary;
    std::printf("%s", summary.c_str());
    return table ? 0 : 1;
}
