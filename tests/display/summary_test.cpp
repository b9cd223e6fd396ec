// The summary page: scrolling list, wrap-around of the selection, status letters,
// name cuts and the detail of the selected vessel.
#include <cstdio>

#include "display/format.h"
#include "page_world.h"

namespace {

class Summary : public PageWorld {
protected:
    void AddShips(int n) {
        for (int i = 1; i <= n; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "Ship-%02d", i);
            AddShip(name, 0.01 * i);
        }
    }
    // Screen row of visible list line k (1..10): row 21 + k, lowered by k thirds.
    static int ListRow(int k) { return 21 + k + k / 3; }
};

TEST_F(Summary, SecondPageStartsWithTheLastLineOfTheFirst) {
    AddShips(12);
    summaryCount = 12;
    int32_t line = 11, slot = -1;
    DrawSummary(0, &line, &slot, "Ship-01");
    EXPECT_EQ(line, 11);
    EXPECT_EQ(slot, 10);
    EXPECT_EQ(summaryCount, 12);
    EXPECT_EQ(At(ListRow(1), 1, 10), "    ...   ");      // vessel 10 stands for the page above
    EXPECT_EQ(At(ListRow(2), 1, 10), "-> Ship-11");     // the selected vessel 11
    EXPECT_EQ(ColourAt(ListRow(2), 4), colWhite);
    EXPECT_EQ(At(ListRow(3), 4, 7), "Ship-12");
    EXPECT_EQ(ColourAt(ListRow(3), 4), colGrey);         // nothing engaged
    EXPECT_FALSE(Shows("Ship-01"));
    EXPECT_EQ(At(1, 1, 18), "TessarcMFD Summary");
    EXPECT_EQ(At(1, 35, 2), "01");
}

TEST_F(Summary, FurtherVesselsShowOneEllipsisBelowTheFirstPage) {
    AddShips(25);
    summaryCount = 25;
    int32_t line = 3, slot = -1;
    DrawSummary(4, &line, &slot, "Ship-02");
    EXPECT_EQ(slot, 2);
    for (int k = 1; k <= 10; ++k) EXPECT_NE(At(ListRow(k), 4, 7).find("Ship-"), std::string::npos) << k;
    EXPECT_EQ(At(ListRow(3), 1, 2), "->");
    EXPECT_EQ(At(ListRow(2), 3, 1), "*");  // the MFD's own vessel
    // Vessels 11 to 25: "..." fifteen times at one place, at row 32 lowered by 10 thirds.
    EXPECT_EQ(TextCalls("..."), 15);
    EXPECT_EQ(At(32 + 3, 5, 3), "...");
    EXPECT_EQ(At(1, 35, 2), "05");
}

TEST_F(Summary, SelectionWrapsAroundTheCountOfThePreviousFrame) {
    AddShips(12);
    summaryCount = 12;
    int32_t line = 0, slot = -1;
    DrawSummary(0, &line, &slot, nullptr);
    EXPECT_EQ(line, 12);
    EXPECT_EQ(slot, 11);
    line = 13;
    DrawSummary(0, &line, &slot, nullptr);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(slot, 0);
    // A count out of range (none drawn yet) is taken as one vessel.
    summaryCount = 0;
    line = 5;
    DrawSummary(0, &line, &slot, nullptr);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(summaryCount, 12);
}

TEST_F(Summary, StatusLettersCompareTheMaskAsANumber) {
    AddShips(4);
    summaryCount = 4;
    const uint32_t masks[4] = {0x80, 0x81, 0x100, 0x01};
    const char *const letters[4] = {"H    ", "H T B", "H T B", "  T  "};
    for (int i = 0; i < 4; ++i) vesselRecords[i]->modeMask = masks[i];
    int32_t line = 1, slot = -1;
    DrawSummary(0, &line, &slot, nullptr);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(At(ListRow(i + 1), 32, 5), letters[i]) << std::hex << masks[i];
        EXPECT_EQ(ColourAt(ListRow(i + 1), 4), i == 0 ? colWhite : colOrange);  // selected, else engaged
    }
    EXPECT_EQ(ColourAt(ListRow(2), 36), colRed);
    EXPECT_EQ(ColourAt(ListRow(2), 32), colLightBlue);
    EXPECT_EQ(ColourAt(ListRow(2), 34), colOrangeRed);
}

TEST_F(Summary, LongNamesAreCutToTwentySixInTheListAndKeptInTheDetail) {
    const std::string name = "Long-vessel-name-of-forty-characters-xyz";
    AddShip(name);
    MfdState *S = State(name, 2);
    S->refMode = AP_DOCKING;
    summaryCount = 1;
    int32_t line = 1, slot = -1;
    DrawSummary(2, &line, &slot, name.c_str());
    EXPECT_EQ(At(ListRow(1), 4, 27), name.substr(0, 26) + " ");
    EXPECT_EQ(At(3, 1, 36), name.substr(0, 36));  // the full name, up to the line's end
    EXPECT_EQ(ColourAt(3, 1), colWhite);          // own vessel
    EXPECT_EQ(At(6, 3, 21), "MFD 03 mode: Docking ");
    EXPECT_EQ(At(7, 3, 13), "target: Earth");  // no port pair on a planet
    EXPECT_NE(At(11, 4, 30).find("rotation: "), std::string::npos);
    EXPECT_NE(At(11, 4, 33).find("\xB0/s"), std::string::npos);
    EXPECT_EQ(At(15, 11, 17), "decision:   CLOSE");
    EXPECT_EQ(At(17, 11, 17), "cutoff alt: 0.2 m");
}

TEST_F(Summary, PositionWithoutStateSaysNotSetAndForeignVesselIsGrey) {
    AddShip("Alpha");
    AddShip("Beta");
    State("Beta", 0);
    summaryCount = 2;
    int32_t line = 2, slot = -1;
    DrawSummary(5, &line, &slot, "Alpha");
    EXPECT_EQ(slot, 1);
    EXPECT_EQ(At(3, 1, 4), "Beta");
    EXPECT_EQ(ColourAt(3, 1), colGrey);
    EXPECT_EQ(At(6, 3, 22), "MFD 06 mode: (not set)");
    EXPECT_TRUE(Shows("max rate:"));  // rates come from the vessel's first state
}

TEST_F(Summary, TargetLineOfTheModeShownOnThisMfd) {
    AddShip("Ship");
    const std::string station = "Station-with-a-long-name";
    AddShip(station);
    MfdState *S = State("Ship", 1);
    summaryCount = 2;
    int32_t line = 1, slot = -1;
    auto detail = [&](int refMode) {
        S->refMode = refMode;
        DrawSummary(1, &line, &slot, "Ship");
        return At(7, 3, 34);
    };
    S->targetRef = Ship(station);
    std::snprintf(S->targetRefName, sizeof S->targetRefName, "%s", station.c_str());
    S->ownPort = 1;
    S->targetPort = 2;
    // The name's first 20 characters; the line still ends at column 36.
    EXPECT_EQ(detail(AP_DOCKING), "target: Station-with-a-long-,01->0");
    EXPECT_EQ(At(6, 3, 21), "MFD 02 mode: Docking ");
    S->targetPort = 0;
    EXPECT_EQ(detail(AP_DOCKING), "target: " + station + "  ");
    S->padIndex = 3;
    EXPECT_EQ(detail(AP_LANDING), "target: Station-with-a-long-na - 0");  // the name's first 22
    EXPECT_EQ(detail(AP_ATTITUDE), std::string(34, ' '));
    EXPECT_EQ(detail(AP_DIRECT_BURN), std::string(34, ' '));
    S->targetRefName[0] = '\0';  // a mode with a target line keeps its label
    EXPECT_EQ(detail(AP_RELATIVE).substr(0, 8), "target: ");
    EXPECT_EQ(ColourAt(7, 3), colWhite);
}

}  // namespace
