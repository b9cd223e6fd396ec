// Parsers of the input boxes: the forms a pilot types, and text that must be
// refused without reading past the line.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "mfd/parsers.h"

namespace {

struct Loc {
    bool ok;
    double lon, lat;
};
Loc Location(const char *text) {
    Loc r{false, -999, -999};
    r.ok = ParseLocation(text, &r.lon, &r.lat);
    return r;
}

TEST(LocationParser, LettersNumbersAndRefusals) {
    // The box's title asks for "(lon,lat)": a comma separates the two numbers too.
    for (const char *t : {"E10 N20", "10 20", "e10n20", "N20 E10", "10,20", "10 , 20"}) {
        Loc l = Location(t);
        ASSERT_TRUE(l.ok) << t;
        EXPECT_DOUBLE_EQ(l.lon, 10.0) << t;
        EXPECT_DOUBLE_EQ(l.lat, 20.0) << t;
    }
    Loc ws = Location("W10 S20");
    ASSERT_TRUE(ws.ok);
    EXPECT_DOUBLE_EQ(ws.lon, -10.0);
    EXPECT_DOUBLE_EQ(ws.lat, -20.0);
    // W is read after E and wins; a value not given stays 0.
    Loc both = Location("E5 W7");
    ASSERT_TRUE(both.ok);
    EXPECT_DOUBLE_EQ(both.lon, -7.0);
    EXPECT_DOUBLE_EQ(both.lat, 0.0);
    // The number must follow its letter: '10E' would silently be 0 E, so it is refused.
    for (const char *t : {"10E", "N", "", "abc", "N95", "S 91"}) EXPECT_FALSE(Location(t).ok) << t;
    // Longitudes come back in (-180, 180].
    Loc far = Location("190 10");
    ASSERT_TRUE(far.ok);
    EXPECT_DOUBLE_EQ(far.lon, -170.0);
    EXPECT_DOUBLE_EQ(Location("E540").lon, 180.0);
    EXPECT_DOUBLE_EQ(Location("-180 0").lon, 180.0);
}

TEST(NumberParsers, DecimalSpaceAngleAndBurnTime) {
    double v = 0;
    ASSERT_TRUE(ParseDecimalSpace("12 5", &v));
    EXPECT_DOUBLE_EQ(v, 12.5);
    // Leading blanks are not the decimal point.
    ASSERT_TRUE(ParseDecimalSpace("  120", &v));
    EXPECT_DOUBLE_EQ(v, 120.0);
    ASSERT_TRUE(ParseDecimalSpace("-3 25", &v));
    EXPECT_DOUBLE_EQ(v, -3.25);

    ASSERT_TRUE(ParseAngle("P12 5", &v));
    EXPECT_DOUBLE_EQ(v, 12.5);
    ASSERT_TRUE(ParseAngle("Y-30", &v));
    EXPECT_DOUBLE_EQ(v, -30.0);
    ASSERT_TRUE(ParseAngle("45", &v));
    EXPECT_DOUBLE_EQ(v, 45.0);

    bool mjd = true;
    ASSERT_TRUE(ParseBurnTime("600", &mjd, &v));
    EXPECT_FALSE(mjd);
    EXPECT_DOUBLE_EQ(v, 600.0);
    ASSERT_TRUE(ParseBurnTime("M60000 25", &mjd, &v));
    EXPECT_TRUE(mjd);
    EXPECT_DOUBLE_EQ(v, 60000.25);

    // Nothing readable, or nothing finite, is refused and leaves the value alone.
    v = 7.0;
    for (const char *t : {"", "   ", "P", "abc", "nan", "inf", "1e999"}) {
        EXPECT_FALSE(ParseDecimalSpace(t, &v)) << t;
        EXPECT_FALSE(ParseAngle(t, &v)) << t;
        EXPECT_FALSE(ParseBurnTime(t, &mjd, &v)) << t;
    }
    EXPECT_FALSE(ParseBurnTime("M", &mjd, &v));
    EXPECT_DOUBLE_EQ(v, 7.0);
}

TEST(DistanceParser, LettersCurrentAndRefusals) {
    // (The empty line, 'X5' and '1 2 3' are flown in the docking dialog test.)
    DistanceInput d;
    ASSERT_TRUE(ParseDistance("U", &d));
    EXPECT_TRUE(d.fromCurrent[0] && d.fromCurrent[1] && d.fromCurrent[2]);
    ASSERT_TRUE(ParseDistance("y-2 z30", &d));
    EXPECT_FALSE(d.select[0]);
    EXPECT_DOUBLE_EQ(d.value[1], -2.0);
    EXPECT_DOUBLE_EQ(d.value[2], 30.0);
    // A U right after the first letter takes the named axes from the current position.
    ASSERT_TRUE(ParseDistance("ZU", &d));
    EXPECT_TRUE(d.select[2] && d.fromCurrent[2]);
    EXPECT_FALSE(d.select[0] || d.select[1]);
    for (const char *t : {"1 2", "hello", "X", "Y5 Zq", "1 2 nan"}) EXPECT_FALSE(ParseDistance(t, &d)) << t;
}

TEST(RatesParser, LettersResetsAndRefusals) {
    // (Triples, lowering letters, resets and a wrong word are flown in the summary test.)
    RatesInput r;
    ASSERT_TRUE(ParseRates("rot P-10", &r));
    EXPECT_FALSE(r.direct || r.reset || r.linear);
    EXPECT_TRUE(r.select[0] && !r.select[1] && !r.select[2]);
    EXPECT_DOUBLE_EQ(r.value[0], 10.0);  // absolute value
    ASSERT_TRUE(ParseRates("lin z0.5 X2", &r));
    EXPECT_TRUE(r.linear && r.select[0] && r.select[2] && !r.select[1]);
    EXPECT_DOUBLE_EQ(r.value[2], 0.5);
    for (const char *t : {"l Q", "r  A"}) {
        ASSERT_TRUE(ParseRates(t, &r)) << t;
        EXPECT_TRUE(r.reset) << t;
    }
    for (const char *t : {"r", "r ", "R 1 2 3", "rotation 1 2 3", "r 1 2", "r P", "l X1 Yz", "r nan 1 1"})
        EXPECT_FALSE(ParseRates(t, &r)) << t;
}

TEST(IndexParser, NumberOrLetterForm) {
    int n = -1;
    ASSERT_TRUE(ParseIndex("3", 'P', &n));
    EXPECT_EQ(n, 3);
    ASSERT_TRUE(ParseIndex("P3", 'P', &n));
    EXPECT_EQ(n, 3);
    ASSERT_TRUE(ParseIndex("P 0x10", 'P', &n));
    EXPECT_EQ(n, 16);
    ASSERT_TRUE(ParseIndex("0", 'P', &n));
    EXPECT_EQ(n, 0);
    ASSERT_TRUE(ParseIndex("99999999999999999999", 'S', &n));
    EXPECT_EQ(n, 2147483647);
    n = 42;
    for (const char *t : {"", "abc", "U3", "P", "-"}) EXPECT_FALSE(ParseIndex(t, 'P', &n)) << t;
    EXPECT_EQ(n, 42);
}

// Copies are cut to their buffer and always terminated. (Lines of any bytes go
// through every parser in the fuzz targets.)
TEST(ParserBounds, LongLinesAreCutNotOverrun) {
    std::string line(kInputLineMax - 1, '9');
    line[0] = 'E';
    // E followed by 254 digits: a huge but finite longitude, brought into range.
    double lon = 0, lat = 0;
    ASSERT_TRUE(ParseLocation(line.c_str(), &lon, &lat));
    EXPECT_TRUE(lon > -180.0 && lon <= 180.0) << lon;
    char small[8];
    EXPECT_EQ(CopyBounded(small, sizeof small, line.c_str()), sizeof small - 1);
    EXPECT_EQ(std::strlen(small), sizeof small - 1);
    EXPECT_EQ(CopyBounded(small, sizeof small, nullptr), 0u);
    EXPECT_STREQ(small, "");
}

}  // namespace
