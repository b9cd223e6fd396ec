// Landing location: accepted values are finite, the longitude in (-180, 180],
// the latitude within +-90.
#include "fuzz_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzLine line(data, size);
    double lon = 1234.0, lat = 1234.0;
    if (ParseLocation(line.c_str(), &lon, &lat)) {
        Expect(std::isfinite(lon) && lon > -180.0 && lon <= 180.0);
        Expect(std::isfinite(lat) && std::fabs(lat) <= 90.0);
    } else {
        Expect(lon == 1234.0 && lat == 1234.0);
    }
    return 0;
}
