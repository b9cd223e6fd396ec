// Decoding of scenario block lines: what reads, and what is dropped rather than
// applied half or wrong.
#include <gtest/gtest.h>

#include <string>

#include "mfd/scenario.h"

namespace {

StatusLine Decode(const std::string &line) {
    StatusLine L;
    DecodeStatusLine(line.c_str(), &L);
    return L;
}

TEST(StatusLines, KeysNeedTheirBlankAndSomethingAfterIt) {
    EXPECT_EQ(Decode("MFDIndex 3").key, STATUS_MFDINDEX);
    EXPECT_EQ(Decode("MFDIndex 3").value[0], 3);
    EXPECT_EQ(Decode("REMOTE").key, STATUS_NONE);
    EXPECT_EQ(Decode("REMOTE ").key, STATUS_NONE);
    EXPECT_EQ(Decode("REMOTEX SH-01").key, STATUS_NONE);
    EXPECT_EQ(Decode("remote SH-01").key, STATUS_NONE);
    EXPECT_EQ(Decode("REMOTE\tSH-01").key, STATUS_NONE);
    // BurnData and BurnData1 are different lines.
    EXPECT_EQ(Decode("BurnData1 60000.5 1 2 3 1 0").key, STATUS_BURNDATA1);
    EXPECT_EQ(Decode("BurnData 60000.5 1 2 3 4 5 6 1").key, STATUS_BURNDATA);
    EXPECT_EQ(Decode("BurnData 60000.5 1 2 3 1 0").key, STATUS_NONE);
}

TEST(StatusLines, RecordLinesReadWholeOrNotAtAll) {
    StatusLine L = Decode("RefAtt +10.000000 -20.500000 +0.000001 extra");
    ASSERT_EQ(L.key, STATUS_REFATT);
    EXPECT_EQ(L.count, 3);
    EXPECT_DOUBLE_EQ(L.value[1], -20.5);
    for (const char *bad : {"RefAtt 1 2", "RefAtt 1 2 x", "RefAtt 1 2 3x", "RefAtt 1e999 0 0", "RefAtt nan 0 0",
                            "RefAtt inf 0 0", "Porig 1 2 3 4 5.5 0 0", "FORCELAND 2147483648", "graphstyle 0x3",
                            "Rates 1 1 1 1 1", "CutoffAlt 12abc", "MFDIndex two"}) {
        L = Decode(bad);
        EXPECT_EQ(L.key, STATUS_NONE) << bad;
        EXPECT_EQ(L.count, 0) << bad;
    }
    L = Decode("FORCELAND -2147483648");
    EXPECT_EQ(L.key, STATUS_FORCELAND);
    EXPECT_EQ(L.value[0], -2147483648.0);
}

TEST(StatusLines, SwitchLinesKeepTheValuesBeforeTheFirstUnreadableOne) {
    StatusLine L = Decode("activeAP 1 3");
    ASSERT_EQ(L.key, STATUS_ACTIVEAP);
    EXPECT_EQ(L.count, 2);
    L = Decode("activeAP 1 99999999999 0 2");
    EXPECT_EQ(L.count, 1);
    EXPECT_EQ(Decode("activeAP x 1").key, STATUS_NONE);
    L = Decode("AscData 2 50000.5");
    ASSERT_EQ(L.key, STATUS_ASCDATA);
    EXPECT_EQ(L.count, 2);
    EXPECT_DOUBLE_EQ(L.value[1], 50000.5);
}

TEST(StatusLines, NamesAreTheRestOfTheLineWithinTheField) {
    EXPECT_STREQ(Decode("TARGETREF  Brighton Beach \r").name, "Brighton Beach");
    const std::string longest(kStatusNameMax, 'N');
    EXPECT_EQ(Decode("TARGETREF " + longest).name, longest);
    EXPECT_EQ(Decode("TARGETREF " + longest + "N").key, STATUS_NONE);
    EXPECT_EQ(Decode("BODYREF    ").key, STATUS_NONE);
    // A vessel's name may be longer, as far as the line that carries it allows.
    const std::string longestVessel(kStatusVesselNameMax, 'V');
    EXPECT_EQ(Decode("REMOTE " + longestVessel).name, longestVessel);
    // A vessel group still begins where its name does not read.
    const StatusLine L = Decode("REMOTE " + longestVessel + "V");
    EXPECT_EQ(L.key, STATUS_REMOTE);
    EXPECT_STREQ(L.name, "");
}

TEST(StatusLines, ModeAndPrecisionWords) {
    const std::pair<const char *, int> modes[] = {{"VELOCITY", 0}, {"RELATIVE", 1}, {"GLOBAL", 2}, {"DOCKING", 3},
                                                  {"ENTRY", 4},    {"BURNDATA", 5}, {"ASCENT", 6}, {"ASCE", 6},
                                                  {"DOCKINGS", 3}};
    for (const auto &m : modes) {
        StatusLine L = Decode(std::string("REFMODE ") + m.first);
        ASSERT_EQ(L.key, STATUS_REFMODE) << m.first;
        EXPECT_EQ(L.value[0], m.second) << m.first;
    }
    EXPECT_EQ(Decode("REFMODE VELOCIT").key, STATUS_NONE);
    EXPECT_EQ(Decode("REFMODE velocity").key, STATUS_NONE);
    EXPECT_EQ(Decode("Landing FARTHER").value[0], 0);
    EXPECT_EQ(Decode("Landing ABOVE").value[0], 2);
    EXPECT_EQ(Decode("Landing NEAR").value[0], 1);
}

TEST(StatusLines, PortsAndPadsBeforeTheComma) {
    StatusLine L = Decode("DOCKINGREF 1:2,ISS");
    ASSERT_EQ(L.key, STATUS_DOCKINGREF);
    EXPECT_EQ(L.count, 2);
    EXPECT_EQ(L.value[0], 1);
    EXPECT_EQ(L.value[1], 2);
    EXPECT_STREQ(L.name, "ISS");
    L = Decode("DOCKINGREF 1:x,ISS");  // the target still reads, the ports do not
    EXPECT_EQ(L.key, STATUS_DOCKINGREF);
    EXPECT_EQ(L.count, 0);
    EXPECT_EQ(Decode("DOCKINGREF 1:2").key, STATUS_NONE);

    L = Decode("PADBASE -1,+010.500000 -020.250000");
    ASSERT_EQ(L.key, STATUS_PADBASE);
    EXPECT_EQ(L.count, 3);
    EXPECT_DOUBLE_EQ(L.value[1], 10.5);
    EXPECT_DOUBLE_EQ(L.value[2], -20.25);
    L = Decode("PADBASE -1,");
    EXPECT_EQ(L.key, STATUS_PADBASE);
    EXPECT_EQ(L.value[1], 0.0);
    EXPECT_EQ(Decode("PADBASE -1,abc 3").key, STATUS_NONE);
    L = Decode("PADBASE 3,Brighton Beach");
    EXPECT_EQ(L.value[0], 3);
    EXPECT_STREQ(L.name, "Brighton Beach");
    EXPECT_EQ(Decode("PADBASE -2,Brighton Beach").key, STATUS_NONE);
    EXPECT_EQ(Decode("PADBASE 3,").key, STATUS_NONE);
}

TEST(StatusLines, OverlongLinesAreDroppedWhole) {
    std::string line = "CutoffAlt 12.5";
    line.resize(kStatusLineMax, ' ');
    EXPECT_EQ(Decode(line).key, STATUS_CUTOFFALT);
    line += ' ';
    EXPECT_EQ(Decode(line).key, STATUS_NONE);
    EXPECT_EQ(Decode(std::string("REMOTE SH\x01\x7f\xff")).key, STATUS_REMOTE);
}

}  // namespace
