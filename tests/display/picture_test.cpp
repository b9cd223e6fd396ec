// Pictures of a recorded frame: colours in the right places, every shape kind, and
// the text dump's grid.
#include <cairo.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "display/format.h"
#include "display/primitives.h"
#include "picture.h"

namespace {

struct Rgb {
    int r, g, b;
};

class Picture : public ::testing::Test {
protected:
    sim::RecordingSketchpad pad{256, 256};
    TextGrid g = MakeTextGrid(&pad, 256, 256);  // cell 6 px, origin (17, 0)
    std::string dir = ::testing::TempDir();

    // Pixel (x, y) of the display in a PNG written at scale 1.
    static Rgb PixelOf(cairo_surface_t *s, int x, int y) {
        const unsigned char *data = cairo_image_surface_get_data(s);
        int stride = cairo_image_surface_get_stride(s);
        uint32_t v = *reinterpret_cast<const uint32_t *>(data + y * stride + 4 * x);
        return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
    }
};

TEST_F(Picture, PngShowsTheHostColoursOnBlack) {
    GridRect(g, 5, 22, 19, 24, 1, 1, true, colOrangeRed);   // 0x4763FF: red 255, green 0x63, blue 0x47
    GridRect(g, 21, 23, 23, 35, 1, 1, false, colYellow);    // black inside a yellow outline
    RingSector(g, 18, 29, 12, 2, PI, PI - 0.3, 1, 1, true, colLightBlue);
    PutText(g, 3, 12, "MMMM", colWhite);
    std::string path = dir + "/shapes.png", err;
    ASSERT_TRUE(sim::writePng(pad.drawing(), path, err, 1.0)) << err;

    cairo_surface_t *s = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(s), 256);
    Rgb bar = PixelOf(s, 17 + 12 * 6, 23 * 6);
    EXPECT_EQ(bar.r, 0xFF);
    EXPECT_EQ(bar.g, 0x63);
    EXPECT_EQ(bar.b, 0x47);
    Rgb inside = PixelOf(s, 17 + 22 * 6, 29 * 6);
    EXPECT_EQ(inside.r + inside.g + inside.b, 0);
    Rgb edge = PixelOf(s, 17 + 21 * 6, 29 * 6);
    EXPECT_GT(edge.r, 200);
    EXPECT_GT(edge.g, 200);
    EXPECT_LT(edge.b, 60);
    Rgb ring = PixelOf(s, 17 + 18 * 6 - 11 * 6, 29 * 6 - 6);  // inside the sector, left of the centre
    EXPECT_GT(ring.b, 200);
    Rgb corner = PixelOf(s, 2, 250);
    EXPECT_EQ(corner.r + corner.g + corner.b, 0);
    // The text lights pixels within its cells and nowhere on the row above.
    int lit = 0, above = 0;
    for (int x = 17 + 11 * 6; x < 17 + 15 * 6; ++x) {
        for (int y = 2 * 6; y < 3 * 6 + 3; ++y) lit += PixelOf(s, x, y).r > 128;
        for (int y = 0; y < 2 * 6 - 1; ++y) above += PixelOf(s, x, y).r > 128;
    }
    EXPECT_GT(lit, 20);
    EXPECT_EQ(above, 0);
    cairo_surface_destroy(s);
}

TEST_F(Picture, SvgAndTextDumpByExtensionAndUnknownTypesRefused) {
    GridLine(g, 0, 2, 36, 2, 2, 1, colYellow);
    PutText(g, 1, 1, "Ship-1", colGrey);
    PutText(g, 11, 4, "rotation: 1.000 \xB0/s", colWhite);
    std::string err;
    ASSERT_TRUE(sim::writePicture(pad.drawing(), dir + "/frame.SVG", err)) << err;
    ASSERT_TRUE(sim::writePicture(pad.drawing(), dir + "/frame.txt", err)) << err;
    EXPECT_FALSE(sim::writePicture(pad.drawing(), dir + "/frame.bmp", err));
    EXPECT_NE(err.find("frame.bmp"), std::string::npos);
    EXPECT_FALSE(sim::writePicture(pad.drawing(), dir + "/no/such/dir/frame.png", err));

    std::ifstream svg(dir + "/frame.SVG");
    std::stringstream svgText;
    svgText << svg.rdbuf();
    EXPECT_NE(svgText.str().find("<svg"), std::string::npos);
    EXPECT_NE(svgText.str().find("stroke-dasharray"), std::string::npos);  // the dashed pen

    std::ifstream txt(dir + "/frame.txt");
    std::stringstream dump;
    dump << txt.rdbuf();
    const std::string t = dump.str();
    EXPECT_NE(t.find(" 1 |Ship-1                               |\n"), std::string::npos);
    EXPECT_NE(t.find("rotation: 1.000 \u00B0/s"), std::string::npos);  // the degree sign as UTF-8
    EXPECT_NE(t.find(" 1: 1-6 grey\n"), std::string::npos);
    EXPECT_NE(t.find("11: 4-22 white\n"), std::string::npos);
    EXPECT_NE(t.find("shapes: 1 lines"), std::string::npos);
}

TEST(ColourNames, PageColoursByNameOthersInHex) {
    EXPECT_EQ(sim::colourName(colLightBlue), "light blue");
    EXPECT_EQ(sim::colourName(colSilver), "silver");
    EXPECT_EQ(sim::colourName(0x123456), "0x123456");
}

}  // namespace
