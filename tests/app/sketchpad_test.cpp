// The recording drawing surface and its text grid; the host's pen and brush ledger.
#include <gtest/gtest.h>

#include "sim/sketchpad.h"

namespace {

TEST(TextGrid, TextLandsInTheCellOfItsPixelPositionWithItsColour) {
    // 256 x 256: 6-pixel cells, the 37 columns centred 17 pixels from the left.
    sim::RecordingSketchpad skp(256, 256);
    EXPECT_EQ(skp.GetTextWidth("abc"), 18u);
    EXPECT_EQ(skp.GetTextWidth("abcdef", 2), 12u);
    skp.SetTextColor(0x00FFFF);
    skp.Text(17 + 3 * 6, 2 * 6 + 2, "HOLD", 4);   // a third of a row lower stays in row 2
    skp.SetTextColor(0x0000FF);
    skp.Text(17 + 5 * 6, 2 * 6, "XY", 2);          // overwrites the 'LD'
    skp.Text(17 + 35 * 6, 0, "clipped", 7);        // only "cl" fits
    skp.Text(17 - 2 * 6, 6, "abcd", 4);            // two characters left of the grid
    skp.Text(17, 6 * 41, "last row", 3);           // length below the string's
    skp.Text(17, 6 * 42, "below", 5);              // outside the display
    sim::TextScreen s = sim::textScreen(skp.drawing());
    ASSERT_EQ(s.rows, 42);
    EXPECT_EQ(s.lines[2].substr(3, 4), "HOXY");
    EXPECT_EQ(s.colours[2][3], 0x00FFFFu);
    EXPECT_EQ(s.colours[2][5], 0x0000FFu);
    EXPECT_EQ(s.lines[0].substr(35), "cl");
    EXPECT_EQ(s.lines[1].substr(0, 3), "cd ");
    EXPECT_EQ(s.lines[41].substr(0, 4), "las ");
    EXPECT_FALSE(s.written[2][7]);
    EXPECT_EQ(sim::screenText(s).substr(0, 38), std::string(35, ' ') + "cl\n");
}

TEST(TextGrid, OriginFollowsThePlugInLayout) {
    int ox, oy;
    sim::gridOrigin(256, 256, &ox, &oy);
    EXPECT_EQ(ox, 17);
    EXPECT_EQ(oy, 0);
    sim::gridOrigin(300, 200, &ox, &oy);  // 8-pixel cells; 24 rows of 8 in 200 leave 4 above
    EXPECT_EQ(ox, 2);
    EXPECT_EQ(oy, 4);
    sim::gridOrigin(20, 46, &ox, &oy);  // smaller than the grid: never negative
    EXPECT_EQ(ox, 0);
    EXPECT_EQ(oy, 0);
    sim::RecordingSketchpad small(20, 20);
    EXPECT_EQ(small.GetTextWidth("ab"), 2u);  // at least one pixel per character
}

TEST(Recording, ShapesAndToolsAreKeptInOrderWithTheirProperties) {
    sim::RecordingSketchpad skp(256, 256);
    oapi::Pen *pen = oapiCreatePen(2, 3, 0x808080);
    oapi::Brush *brush = oapiCreateBrush(0x00FF00);
    skp.SetPen(pen);
    skp.SetBrush(brush);
    skp.Rectangle(1, 2, 3, 4);
    oapi::IVECTOR2 pts[3] = {{{0, 0}}, {{5, 5}}, {{9, 0}}};
    skp.Polygon(pts, 3);
    skp.SetOrigin(100, 10);
    skp.Line(0, 0, 1, 1);
    skp.SetPen(nullptr);
    oapiReleasePen(pen);
    oapiReleaseBrush(brush);
    skp.SetPen(pen);  // released: recorded as unknown, never read
    const std::vector<sim::DrawCall> &c = skp.drawing().calls;
    ASSERT_EQ(c.size(), 7u);
    EXPECT_EQ(c[0].kind, sim::DrawKind::SetPen);
    EXPECT_EQ(c[0].style, 2);
    EXPECT_EQ(c[0].width, 3);
    EXPECT_EQ(c[0].colour, 0x808080u);
    EXPECT_EQ(c[1].colour, 0x00FF00u);
    EXPECT_EQ(c[2].kind, sim::DrawKind::Rectangle);
    EXPECT_EQ(c[2].y1, 4);
    ASSERT_EQ(c[3].points.size(), 3u);
    EXPECT_EQ(c[3].points[1].x, 5);
    EXPECT_EQ(c[4].x0, 100);  // the origin is added
    EXPECT_EQ(c[4].y1, 11);
    EXPECT_TRUE(c[5].none);
    EXPECT_EQ(c[6].style, -1);
}

// The display's font put back after a smaller one (as a page puts back what it
// replaced) measures as it did before, not as the last font selected.
TEST(Recording, TheDisplaysFontPutBackMeasuresAsItsOwnAgain) {
    sim::HostFont mfdFont(-10, false, "Fixed", oapi::Font::NORMAL);
    sim::RecordingSketchpad skp(240, 240, &mfdFont);
    const DWORD size = skp.GetCharSize(), width = skp.GetTextWidth("0123456789", 10);
    char face[] = "Fixed";
    oapi::Font *small = oapiCreateFont(-5, false, face);
    oapi::Font *previous = skp.SetFont(small);
    EXPECT_NE(skp.GetTextWidth("0123456789", 10), width);
    skp.SetFont(previous);
    EXPECT_EQ(skp.GetCharSize(), size);
    EXPECT_EQ(skp.GetTextWidth("0123456789", 10), width);
    oapiReleaseFont(small);
}

TEST(ToolLedger, OnlyToolsTheHostHandedOutAreTakenBack) {
    sim::ToolLedger &l = sim::toolLedger();
    long bad = l.badReleases;
    size_t pens = l.pens.size(), brushes = l.brushes.size();
    oapi::Pen *p = oapiCreatePen(1, 1, 0);
    oapi::Brush *b = oapiCreateBrush(0);
    EXPECT_EQ(l.pens.size(), pens + 1);
    oapiReleasePen(p);
    oapiReleasePen(p);  // twice
    oapiReleaseBrush(b);
    oapiReleasePen(nullptr);
    EXPECT_EQ(l.badReleases, bad + 1);
    EXPECT_EQ(l.pens.size(), pens);
    EXPECT_EQ(l.brushes.size(), brushes);
    oapiCreatePen(1, 1, 0);
    EXPECT_EQ(sim::releaseOutstandingTools(), (int)(pens + brushes + 1));
    EXPECT_TRUE(l.pens.empty());
}

}  // namespace
