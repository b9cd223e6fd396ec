// Docking approach offset: accepted input selects at least one axis, and every
// value taken from the text is finite.
#include "fuzz_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzLine line(data, size);
    DistanceInput d;
    if (!ParseDistance(line.c_str(), &d)) return 0;
    Expect(d.select[0] || d.select[1] || d.select[2]);
    for (int k = 0; k < 3; ++k) {
        if (d.fromCurrent[k]) Expect(d.select[k]);
        if (d.select[k] && !d.fromCurrent[k]) Expect(std::isfinite(d.value[k]));
    }
    return 0;
}
