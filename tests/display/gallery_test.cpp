// The page gallery: every page of every bundled scenario, drawn in flight and
// written as pictures. Each page must draw text and release every tool it took.
// With TESSARC_GALLERY set to a folder the pictures stay there (tools/gallery.sh);
// otherwise they go to the test's temporary folder.
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "control/modes.h"
#include "control/holds.h"
#include "control/thrusters.h"
#include "frame/state.h"
#include "landing/autopilot.h"
#include "mfd/tessarc_mfd.h"
#include "sim/picture.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

struct Page {
    const char *name;
    int mode;       // -1: not a mode page
    bool hold;
};

const Page kPages[] = {
    {"velocity_hold", AP_VELOCITY, true}, {"relative", AP_RELATIVE, false},   {"attitude", AP_ATTITUDE, true},
    {"docking", AP_DOCKING, false},        {"direct_burn", AP_DIRECT_BURN, false}, {"ascent", AP_ASCENT, false},
};

// Where a text's characters lie: from its first to its last non-blank character,
// each one advance of the surface's font wide, down its character height. (The
// host's GetTextWidth adds the same few pixels to any text, of 'i' as of 'M': no
// character's ink, so they are left out.)
struct TextBox {
    int x0, y0, x1, y1;
    const std::string *text;
};

bool BoxOf(const sim::DrawCall &c, TextBox *box) {
    size_t first = c.text.find_first_not_of(' '), last = c.text.find_last_not_of(' ');
    if (first == std::string::npos) return false;
    double advance = static_cast<double>(c.x1 - c.x0) / static_cast<double>(c.text.size());
    if (c.width > 0) advance = sim::fixedFontMetrics(c.width).advance;
    *box = {c.x0 + static_cast<int>(std::lround(advance * static_cast<double>(first))), c.y0,
            c.x0 + static_cast<int>(std::lround(advance * static_cast<double>(last + 1))), c.y1, &c.text};
    return true;
}

// The first pair of texts of a drawing whose characters cover each other, as
// "a" / "b" with their boxes, or "" when none do.
std::string FirstOverlap(const sim::Drawing &d) {
    std::vector<TextBox> boxes;
    for (const sim::DrawCall &c : d.calls) {
        TextBox b;
        if (c.kind == sim::DrawKind::Text && BoxOf(c, &b)) boxes.push_back(b);
    }
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const TextBox &a = boxes[i], &b = boxes[j];
            if (a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1) {
                char where[160];
                std::snprintf(where, sizeof where, " at (%d,%d)-(%d,%d) and (%d,%d)-(%d,%d)", a.x0, a.y0, a.x1,
                              a.y1, b.x0, b.y0, b.x1, b.y1);
                return "\"" + *a.text + "\" / \"" + *b.text + "\"" + where;
            }
        }
    return "";
}

std::string GalleryDir() {
    const char *env = std::getenv("TESSARC_GALLERY");
    std::string dir = env != nullptr && *env ? env : ::testing::TempDir() + "/gallery";
    mkdir(dir.c_str(), 0777);
    return dir;
}

class Gallery : public ::testing::TestWithParam<const char *> {
protected:
    flight::Flight f;
    std::string dir = GalleryDir();
    std::string scenario = GetParam();

    void Write(const std::string &page) {
        const sim::Drawing &d = f.drawing(0);
        int texts = 0;
        for (const sim::DrawCall &c : d.calls) texts += c.kind == sim::DrawKind::Text;
        EXPECT_GE(texts, 2) << scenario << " " << page;
        EXPECT_EQ(FirstOverlap(d), "") << scenario << " " << page;
        std::string err, base = dir + "/" + scenario + "_" + page;
        EXPECT_TRUE(sim::writePicture(d, base + ".png", err)) << err;
        EXPECT_TRUE(sim::writePicture(d, base + ".txt", err)) << err;
    }
    MfdState *State() { return static_cast<TessarcMFD *>(f.mfd(0))->state; }
    // The first vessel of the scenario that is not the focus: the pages' target.
    std::string OtherVessel() {
        for (const sim::ScnVessel &v : f.scenario.vessels)
            if (v.name != f.scenario.focus) return v.name;
        return "";
    }
};

TEST_P(Gallery, EveryPage) {
    ASSERT_TRUE(f.load("scenarios/" + scenario + ".scn")) << f.error();
    flight::useLinkedPlugin(f);
    ASSERT_TRUE(f.open(0)) << f.error();
    f.frames(2);  // the module turns active at its first step with an open display
    f.draw(0);
    Write("startup");
    f.run(1.0);
    f.draw(0);
    Write("welcome");

    const std::string other = OtherVessel();
    for (const Page &p : kPages) {
        MfdState *S = State();
        ASSERT_NE(S, nullptr);
        if (S->holdOn) ToggleAttitudeHold(S);
        SelectMode(S, S->refMode, p.mode);
        if (!other.empty() && (p.mode == AP_RELATIVE || p.mode == AP_DOCKING)) {
            S->targetRef = f.handle(other);
            std::snprintf(S->targetRefName, sizeof S->targetRefName, "%s", other.c_str());
        }
        if (p.hold) ToggleAttitudeHold(S);
        f.run(p.hold ? 1.5 : 2.0);  // under HOLD: while the thrusters still fire
        f.draw(0);
        Write(p.name);
    }
    // The summary: the focus vessel back in the Velocity mode under HOLD, and the
    // other vessel tracked through a second display.
    MfdState *S = State();
    SelectMode(S, S->refMode, AP_VELOCITY);
    if (!S->holdOn) ToggleAttitudeHold(S);
    if (!other.empty()) {
        ASSERT_TRUE(f.open(1, "TessarcMFD", other)) << f.error();
    }
    f.run(1.0);
    static_cast<TessarcMFD *>(f.mfd(0))->summaryShown = true;
    f.draw(0);
    Write("summary");
    EXPECT_TRUE(f.hostErrors().empty()) << f.hostErrors().front();
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Gallery, ::testing::Values("demo", "leo_station", "lunar_base", "lunar_orbit"));

// The DeltaGlider's 2D panel gives its displays 144 x 144 pixels (and, opened first,
// the default font its size): the Velocity page under HOLD there.
TEST(PanelGallery, VelocityPageOnThePanelsSmallDisplay) {
    flight::Flight f;
    ASSERT_TRUE(f.load("scenarios/demo.scn")) << f.error();
    flight::useLinkedPlugin(f);
    f.setDisplaySize(0, 144, 144);
    ASSERT_TRUE(f.open(0) && f.key(0, "1") && f.key(0, "H")) << f.error();
    f.run(3.0);
    f.draw(0);
    EXPECT_NE(f.screenText(0).find("Velocity"), std::string::npos) << f.screenText(0);
    EXPECT_EQ(FirstOverlap(f.drawing(0)), "");
    std::string err, base = GalleryDir() + "/demo_panel_velocity_hold";
    EXPECT_TRUE(sim::writePicture(f.drawing(0), base + ".png", err)) << err;
    EXPECT_TRUE(sim::writePicture(f.drawing(0), base + ".txt", err)) << err;
    EXPECT_TRUE(f.hostErrors().empty()) << f.hostErrors().front();
}

// The Landing page over Mars through a whole descent: one picture at each phase
// the pilot sees (waiting, braking through the air, approach, final, landed).
TEST(LandingGallery, MarsDescentPageByPhase) {
    flight::Flight f;
    ASSERT_TRUE(f.load("scenarios/mars_landing.scn")) << f.error();
    flight::useLinkedPlugin(f);
    ASSERT_TRUE(f.open(0) && f.key(0, "5") && f.key(0, "B") && f.type(0, "Jezero") && f.key(0, "P") &&
                f.type(0, "1") && f.key(0, "H"))
        << f.error();
    MfdState *S = static_cast<TessarcMFD *>(f.mfd(0))->state;
    f.setWarp(100);
    const std::string dir = GalleryDir();
    const struct {
        int phase;
        const char *name;
        double after;  // s into the phase
    } shots[] = {{LANDING_WAIT, "wait", 0.0},        {LANDING_BRAKE, "brake", 640.0}, {LANDING_APPROACH, "approach", 20.0},
                 {LANDING_FINAL, "final", 5.0},      {LANDING_LANDED, "landed", 1.0}};
    for (const auto &shot : shots) {
        while (f.simt() < 6000.0 && S->landingPhase != shot.phase) f.run(S->landingPhase == LANDING_WAIT ? 10.0 : 0.5);
        ASSERT_EQ(S->landingPhase, shot.phase) << shot.name;
        f.run(shot.after);
        f.draw(0);
        EXPECT_EQ(FirstOverlap(f.drawing(0)), "") << shot.name;
        std::string err, base = dir + "/mars_landing_" + shot.name;
        EXPECT_TRUE(sim::writePicture(f.drawing(0), base + ".png", err)) << err;
        EXPECT_TRUE(sim::writePicture(f.drawing(0), base + ".txt", err)) << err;
    }
    EXPECT_NE(f.screenText(0).find("Landing complete"), std::string::npos) << f.screenText(0);
    EXPECT_TRUE(f.hostErrors().empty()) << f.hostErrors().front();
}

}  // namespace
