// What the scenario reader's files share: words and numbers of a line, and the
// reader that reports a problem with the file and line.
#ifndef TESSARC_SIM_SCENARIO_PARSE_H
#define TESSARC_SIM_SCENARIO_PARSE_H

#include <string>
#include <vector>

#include "scenario.h"

namespace sim {
namespace scn {

struct Reader {
    const std::string &file;
    std::string &err;
    int line = 0;
    // Sets err to "file:line: what" and returns false.
    bool fail(const std::string &what);
    // Adds "file:line: what" to the scenario's notes.
    void note(Scenario &s, const std::string &what) const;
};

// The blank-separated words of a line.
std::vector<std::string> words(const std::string &s);
// Whether a equals b without regard to case.
bool same(const std::string &a, const char *b);
// A plain decimal number (no hexadecimal, inf or nan), finite.
bool number(const std::string &s, double &v);
// A decimal integer within the range of int.
bool integer(const std::string &s, int &v);
// Exactly n numbers after the key, each within +-limit when a limit is given.
bool numbers(Reader &r, const std::vector<std::string> &w, size_t n, double *out, double limit = 0);
// A name as the host keeps it: 1 to kScnMaxName characters, no blank or control character.
bool plainName(const std::string &n);
// One line of a ship's block (not its END), into v; what is read but not
// simulated goes to the scenario's notes.
bool shipLine(Reader &r, const std::vector<std::string> &w, ScnVessel &v, Scenario &s);

}  // namespace scn
}  // namespace sim

#endif  // TESSARC_SIM_SCENARIO_PARSE_H
