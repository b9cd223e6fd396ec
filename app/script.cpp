// Reading pilot scripts.
#include "script.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <strings.h>

#include "keynames.h"
#include "sim/mfdhost.h"

namespace app {

namespace {

const struct {
    const char *name;
    Action action;
} actions[] = {{"open", Action::Open},     {"close", Action::Close},   {"recreate", Action::Recreate},
               {"key", Action::Key},       {"button", Action::Button}, {"type", Action::Type},
               {"cancel", Action::Cancel}, {"focus", Action::Focus},   {"warp", Action::Warp},
               {"delete", Action::Delete}, {"save", Action::Save},     {"render", Action::Render}};

// Splits off the next blank-separated word; rest keeps what follows, leading blanks removed.
std::string nextWord(std::string &rest) {
    size_t a = rest.find_first_not_of(" \t");
    if (a == std::string::npos) {
        rest.clear();
        return "";
    }
    size_t b = rest.find_first_of(" \t", a);
    std::string w = rest.substr(a, b == std::string::npos ? std::string::npos : b - a);
    rest = b == std::string::npos ? "" : rest.substr(b);
    size_t c = rest.find_first_not_of(" \t");
    rest = c == std::string::npos ? "" : rest.substr(c);
    return w;
}

bool toNumber(const std::string &s, double &v) {
    if (s.empty()) return false;
    char *end = nullptr;
    errno = 0;
    v = std::strtod(s.c_str(), &end);
    return *end == '\0' && errno != ERANGE && std::isfinite(v);
}

}  // namespace

const char *actionName(Action a) {
    for (const auto &x : actions)
        if (x.action == a) return x.name;
    return "?";
}

bool parseScript(const std::string &text, const std::string &file, std::vector<ScriptAction> &out, std::string &err) {
    out.clear();
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    auto fail = [&](const std::string &what) {
        err = file + ":" + std::to_string(line) + ": " + what;
        return false;
    };
    while (std::getline(in, raw)) {
        line++;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::string rest = raw;
        std::string first = nextWord(rest);
        if (first.empty() || first[0] == '#') continue;
        if (strcasecmp(first.c_str(), "AT") != 0) return fail("a line must begin with AT <time>");
        ScriptAction a;
        a.line = line;
        std::string ts = nextWord(rest);
        if (!toNumber(ts, a.t) || a.t < 0) return fail("\"" + ts + "\" is not a time in seconds");
        std::string name = nextWord(rest);
        bool known = false;
        for (const auto &x : actions)
            if (strcasecmp(x.name, name.c_str()) == 0) {
                a.action = x.action;
                known = true;
            }
        if (!known) return fail(name.empty() ? "missing action" : "unknown action \"" + name + "\"");
        // Typed text runs to the end of the line, '#' included; elsewhere '#' starts a comment.
        if (a.action != Action::Type) {
            size_t hash = rest.find('#');
            if (hash != std::string::npos) rest.erase(hash);
            size_t end = rest.find_last_not_of(" \t");
            rest.erase(end == std::string::npos ? 0 : end + 1);
        }
        bool needsDisplay = a.action == Action::Open || a.action == Action::Close || a.action == Action::Recreate ||
                            a.action == Action::Key || a.action == Action::Button || a.action == Action::Type ||
                            a.action == Action::Cancel || a.action == Action::Render;
        if (needsDisplay) {
            std::string d = nextWord(rest);
            a.display = sim::displayByName(d);
            if (a.display < 0) return fail(d.empty() ? "missing display" : "no display \"" + d + "\" (0..11, Left, Right, User1..User10)");
        }
        switch (a.action) {
        case Action::Open:
            a.text = nextWord(rest);
            break;
        case Action::Key: {
            std::string k = nextWord(rest);
            a.key = keyCode(k.c_str());
            if (!a.key) return fail(k.empty() ? "missing key" : "unknown key \"" + k + "\"");
            break;
        }
        case Action::Button: {
            std::string b = nextWord(rest);
            double n;
            if (!toNumber(b, n) || n != std::floor(n) || n < 0 || n > 11) return fail("button must be 0..11");
            a.button = (int)n;
            break;
        }
        case Action::Type:
            a.text = rest;
            rest.clear();
            break;
        case Action::Focus:
        case Action::Delete:
            a.text = nextWord(rest);
            if (a.text.empty()) return fail(std::string(actionName(a.action)) + " needs a vessel name");
            break;
        case Action::Warp: {
            std::string f = nextWord(rest);
            if (!toNumber(f, a.warp) || a.warp <= 0) return fail("warp needs a factor above 0");
            break;
        }
        case Action::Save:
        case Action::Render:
            a.text = nextWord(rest);
            if (a.text.empty()) return fail(std::string(actionName(a.action)) + " needs a file name");
            break;
        default:
            break;
        }
        if (!rest.empty()) return fail("unexpected \"" + rest + "\" after the " + actionName(a.action) + " action");
        out.push_back(a);
    }
    std::stable_sort(out.begin(), out.end(), [](const ScriptAction &x, const ScriptAction &y) { return x.t < y.t; });
    return true;
}

bool readScriptFile(const std::string &path, std::vector<ScriptAction> &out, std::string &err) {
    std::ifstream f(path);
    if (!f) {
        err = path + ": cannot open the script";
        return false;
    }
    std::stringstream ss;
    ss << f.rdbuf();
    return parseScript(ss.str(), path, out, err);
}

}  // namespace app
