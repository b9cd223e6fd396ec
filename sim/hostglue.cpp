// The host's module glue: library initialisation, the date-to-number encoding of
// module versions, and the log modules write to.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "module.h"

namespace sim {

static HINSTANCE initLibHandle = nullptr;

HINSTANCE lastInitLibHandle() { return initLibHandle; }

std::vector<std::string> &hostLog() {
    static std::vector<std::string> log;
    return log;
}

}  // namespace sim

void InitLib(HINSTANCE hModule) { sim::initLibHandle = hModule; }

// "Aug 28 2016" -> 160828 (YYMMDD), as the compiler's __DATE__ writes it (a day
// below 10 may be padded with a blank). Anything else gives 0.
int Date2Int(char *date) {
    static const char *months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (!date) return 0;
    char mon[4] = {0};
    int day = 0, year = 0, used = 0;
    if (std::sscanf(date, "%3s %d %d%n", mon, &day, &year, &used) != 3) return 0;
    for (const char *p = date + used; *p; ++p)
        if (!std::isspace((unsigned char)*p)) return 0;
    int month = 0;
    for (int i = 0; i < 12; ++i)
        if (std::strcmp(mon, months[i]) == 0) month = i + 1;
    if (month == 0 || day < 1 || day > 31 || year < 1900 || year > 9999) return 0;
    return (year % 100) * 10000 + month * 100 + day;
}

void oapiWriteLog(char *line) {
    std::vector<std::string> &log = sim::hostLog();
    if (log.size() >= 1000) log.erase(log.begin());
    log.push_back(line ? line : "");
}
