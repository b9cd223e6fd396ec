// Whole scenario files as anyone may write them: the simulated host's reader and
// world builder, and the decoder of the MFD blocks' lines, together. A file is
// either refused with "file:line: what" or gives a world whose every ship is
// finite and stays finite while it flies a few seconds, with block lines that
// decode to finite values within the block's bounds.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "mfd/scenario.h"
#include "sim/scenario.h"

namespace {

inline void Expect(bool condition) {
    if (!condition) __builtin_trap();
}

bool Finite(const VECTOR3 &v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

void ExpectFiniteShips(const sim::World &w) {
    for (const auto &vp : w.vessels) {
        if (!vp->alive) continue;
        Expect(Finite(vp->pos) && Finite(vp->vel) && Finite(vp->omega));
        for (double m : vp->R.data) Expect(std::isfinite(m));
    }
}

// A refusal names the file and a line: "fuzz.scn:<n>: ...".
void ExpectRefusal(const std::string &err) {
    const std::string head = "fuzz.scn:";
    Expect(err.compare(0, head.size(), head) == 0);
    size_t i = head.size(), digits = 0;
    while (i < err.size() && err[i] >= '0' && err[i] <= '9') ++i, ++digits;
    Expect(digits > 0 && i + 2 < err.size() && err[i] == ':' && err[i + 1] == ' ');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    sim::Scenario s;
    std::string err;
    if (!sim::parseScenario(text, "fuzz.scn", s, err)) {
        ExpectRefusal(err);
        return 0;
    }
    for (const sim::ScnMfd &m : s.mfds)
        for (const std::string &line : m.lines) {
            StatusLine L;
            DecodeStatusLine(line.c_str(), &L);
            for (int i = 0; i < L.count; ++i)
                Expect(std::isfinite(L.value[i]) && std::fabs(L.value[i]) <= kStatusValueLimit);
        }
    sim::World w;
    sim::setWorld(&w);
    if (!sim::buildWorld(s, w, err)) {
        ExpectRefusal(err);
    } else {
        ExpectFiniteShips(w);
        for (int k = 0; k < 5; ++k) sim::advance(w, 1.0);
        ExpectFiniteShips(w);
    }
    sim::setWorld(nullptr);
    return 0;
}
