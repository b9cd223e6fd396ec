// The number format, bounded copies and the one-line text builders.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "display/format.h"
#include "display/primitives.h"
#include "sketchpad.h"

namespace {

std::string Scaled(double v) {
    char buf[textBufferSize];
    FormatScaled(buf, v);
    return buf;
}

// The texts a drawing wrote, in order.
std::vector<std::string> Texts(const sim::Drawing &d) {
    std::vector<std::string> out;
    for (const sim::DrawCall &c : d.calls)
        if (c.kind == sim::DrawKind::Text) out.push_back(c.text);
    return out;
}

TEST(FormatScaled, ChoosesSuffixAndDecimalsByMagnitudeBeforeRounding) {
    const struct {
        double value;
        const char *text;
    } cases[] = {
        {5, " 5.000"},          {42, " 42.00"},          {123.4, " 123.4"},
        {1500, " 1.500k"},      {-2500000, "-2.500M"},   {3e11, " 2.005AU"},
        {1000, " 1.000k"},      {999.96, "1000.0"},      {9.9996, "10.000"},
        {-1500, "-1.500k"},     {-0.25, "-0.250"},       {0, " 0.000"},
        {1e9, " 1.000G"},       {149597870690.9, " 149.6G"},
        {149597870690.95932, " 1.000AU"}, {-149597870690.95932, "-1.000AU"},
    };
    for (const auto &c : cases) EXPECT_EQ(Scaled(c.value), c.text) << c.value;
}

TEST(FormatScaled, StaysInsideItsBufferWhateverTheValue) {
    const double values[] = {1e300, -1e300, std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    for (double v : values) {
        char buf[textBufferSize + 8];
        std::memset(buf, '#', sizeof buf);
        FormatScaled(buf, v);
        EXPECT_LT(strnlen(buf, textBufferSize), static_cast<size_t>(textBufferSize)) << v;
        for (size_t i = textBufferSize; i < sizeof buf; ++i) EXPECT_EQ(buf[i], '#') << v;
    }
    EXPECT_EQ(Scaled(std::numeric_limits<double>::quiet_NaN()), "   nan");
    EXPECT_EQ(Scaled(-std::numeric_limits<double>::infinity()), "  -inf");
    // A huge value keeps its unit at the end of the buffer.
    std::string huge = Scaled(1e300);
    EXPECT_EQ(huge.size(), static_cast<size_t>(textBufferSize - 1));
    EXPECT_EQ(huge.substr(huge.size() - 2), "AU");
}

TEST(CopyClipped, CutsAtCountOrGridWidthAndPadsWithTerminators) {
    char dest[48];
    std::memset(dest, '#', sizeof dest);
    CopyClipped(dest, "abcdefgh", 5);
    EXPECT_STREQ(dest, "abcde");
    EXPECT_EQ(dest[6], '#');  // nothing past position n

    std::memset(dest, '#', sizeof dest);
    CopyClipped(dest, "ab", 6);
    EXPECT_STREQ(dest, "ab");
    for (int i = 2; i <= 6; ++i) EXPECT_EQ(dest[i], '\0') << i;
    EXPECT_EQ(dest[7], '#');

    std::string longName(98, 'x');
    std::memset(dest, '#', sizeof dest);
    CopyClipped(dest, longName.c_str(), 200);
    EXPECT_EQ(std::strlen(dest), 37u);
    EXPECT_EQ(dest[38], '#');

    for (int n : {0, -3}) {
        std::memset(dest, '#', sizeof dest);
        CopyClipped(dest, "abc", n);
        EXPECT_STREQ(dest, "");
        EXPECT_EQ(dest[1], '#');
    }
}

class TextBuilders : public ::testing::Test {
protected:
    sim::RecordingSketchpad pad{256, 256};
    TextGrid g = MakeTextGrid(&pad, 256, 256);
};

TEST_F(TextBuilders, LineEndsInColumn36AndLabelIsKeptWhileValueIsCut) {
    PutText(g, 1, 30, "ABCDEFGHIJ", colWhite);                  // 7 columns left
    PutLabelScaled(g, 2, 20, "0123456789", 123456.0, colWhite);  // " 123.5k" fits in 7
    PutLabelScaled(g, 3, 22, "0123456789", -12345678.0, colWhite);  // 5 columns left
    PutLabelled(g, 4, 27, "Label:Long", "%02i", 7, colWhite);    // the label fills the line
    PutText(g, 5, 37, "X", colWhite);                           // no column left
    PutNumber(g, 6, 33, "%.3f", 3.14159, colWhite);
    EXPECT_EQ(Texts(pad.drawing()),
              (std::vector<std::string>{"ABCDEFG", "0123456789 123.5k", "0123456789-12.3", "Label:Long", "3.14"}));
}

TEST_F(TextBuilders, ExtremeValuesAndLongNamesStayBounded) {
    std::string name(98, 'N');
    PutLabelled(g, 1, 1, "Target: ", "%s", name.c_str(), colYellow);
    PutNumber(g, 2, 1, "%.0f", 1e300, colYellow);
    PutLabelledNumber(g, 3, 1, "MJD: ", "%.7f", std::numeric_limits<double>::quiet_NaN(), colYellow);
    PutScaled(g, 4, 13, 1e300, colYellow);
    std::vector<std::string> texts = Texts(pad.drawing());
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "Target: " + std::string(28, 'N'));
    EXPECT_EQ(texts[1].size(), 36u);
    EXPECT_EQ(texts[2], "MJD: nan");
    EXPECT_EQ(texts[3].size(), 24u);
}

TEST_F(TextBuilders, ThirdRowsLowerTheLineByThirdsOfARow) {
    g.thirdRows = 2;
    PutText(g, 5, 1, "A", colYellow);
    const sim::DrawCall &c = pad.drawing().calls.back();
    EXPECT_EQ(c.x0, g.originX);
    EXPECT_EQ(c.y0, g.originY + 4 * g.lineHeight + 2 * g.lineHeight / 3);
}

TEST(SlotBit, DoublesPerSlotAndGivesOneBelowSlotOne) {
    EXPECT_EQ(SlotBit(0), 1u);
    EXPECT_EQ(SlotBit(-3), 1u);
    EXPECT_EQ(SlotBit(1), 2u);
    EXPECT_EQ(SlotBit(5), 32u);
    EXPECT_EQ(SlotBit(31), 0x80000000u);
    EXPECT_EQ(SlotBit(32), 0u);  // doubled past the mask's width
}

TEST(MakeTextGrid, SquareCellsCentredColumnsAndRowOrigin) {
    const struct {
        int height, originY;
    } cases[] = {{200, 4}, {256, 0}, {300, 0}, {512, 0}};
    for (const auto &c : cases) {
        sim::RecordingSketchpad pad(256, c.height);
        TextGrid g = MakeTextGrid(&pad, 256, c.height);
        EXPECT_EQ(g.originY, c.originY) << c.height;
        EXPECT_EQ(g.cellWidth, 6);
        EXPECT_EQ(g.lineHeight, g.cellWidth);
        EXPECT_EQ(g.originX, 17);  // (256 - 37*6) / 2
        EXPECT_EQ(g.thirdRows, 0);
        EXPECT_EQ(g.height, c.height);
    }
    // A font wider than the display never gives a negative origin.
    sim::RecordingSketchpad narrow(300, 300);
    TextGrid g = MakeTextGrid(&narrow, 200, 300);
    EXPECT_EQ(g.originX, 0);
}

}  // namespace
