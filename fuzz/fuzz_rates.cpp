// Maximum rates: accepted input is one of reset, three values or letters, and
// values are finite and never negative.
#include "fuzz_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzLine line(data, size);
    RatesInput r;
    if (!ParseRates(line.c_str(), &r)) return 0;
    const bool letters = r.select[0] || r.select[1] || r.select[2];
    Expect(int(r.reset) + int(r.direct) + int(letters) == 1);
    for (int k = 0; k < 3; ++k) Expect(std::isfinite(r.value[k]) && r.value[k] >= 0.0);
    return 0;
}
