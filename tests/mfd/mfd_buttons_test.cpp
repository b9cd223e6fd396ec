// Buttons of the MFD: which key each button sends on each page, which label set
// is shown, the menus, and the page keys the buttons lead to.
#include <vector>

#include "frame/frame_world.h"
#include "mfd/buttons.h"
#include "mfd/tessarc_mfd.h"
#include "sim/mfdhost.h"

namespace {

// Records the key codes the button presses turn into.
class KeyRecorder : public TessarcMFD {
public:
    using TessarcMFD::TessarcMFD;
    bool ConsumeKeyBuffered(DWORD key) override {
        keys.push_back(key);
        return true;
    }
    std::vector<DWORD> keys;
};

class MfdButtons : public FrameWorld {
protected:
    ::Vessel *own = nullptr;
    void SetUp() override {
        FrameWorld::SetUp();
        own = AddVessel("Own");
        world.focus = own;
    }

    std::vector<DWORD> PressAll(KeyRecorder &mfd) {
        mfd.keys.clear();
        for (int bt = 0; bt < 12; ++bt) EXPECT_TRUE(mfd.ConsumeButton(bt, PANEL_MOUSE_LBDOWN)) << bt;
        return mfd.keys;
    }

    static std::vector<std::string> Labels(TessarcMFD &mfd) {
        std::vector<std::string> out;
        for (int bt = 0; bt < 12; ++bt) out.push_back(mfd.ButtonLabel(bt));
        return out;
    }
};

TEST_F(MfdButtons, EachPageSendsTheKeysOfItsTable) {
    KeyRecorder mfd(256, 256, own->iface, 0);
    ASSERT_NE(mfd.state, nullptr);
    MfdState *S = mfd.state;
    const std::vector<DWORD> none;
    // Mode selection (a new state shows it)
    EXPECT_EQ(PressAll(mfd), (std::vector<DWORD>{50, 2, 3, 4, 99, 14, 15, 99, 5, 6, 7, 8}));
    S->modePage = false;
    S->refMode = AP_VELOCITY;
    EXPECT_EQ(PressAll(mfd), (std::vector<DWORD>{50, 48, 25, 21, 19, 35, 24, 20, 99, 33, 37, 38}));
    S->refMode = AP_RELATIVE;
    EXPECT_EQ(PressAll(mfd), (std::vector<DWORD>{50, 47, 25, 21, 19, 35, 24, 20, 211, 207, 209, 201}));
    S->refMode = AP_ATTITUDE;
    EXPECT_EQ(PressAll(mfd), (std::vector<DWORD>{50, 48, 25, 21, 19, 35, 24, 99, 99, 99, 99, 99}));
    S->refMode = AP_DOCKING;
    EXPECT_EQ(PressAll(mfd), (std::vector<DWORD>{50, 38, 32, 45, 34, 35, 24, 20, 211, 207, 209, 201}));
    S->refMode = AP_LANDING;
    EXPECT_EQ(PressAll(mfd), (std::vector<DWORD>{50, 34, 18, 19, 30, 35, 15, 20, 48, 25, 38, 32}));
    mfd.summaryShown = true;
    EXPECT_EQ(PressAll(mfd), (std::vector<DWORD>{50, 31, 99, 200, 208, 205, 15, 19, 25, 30, 35, 203}));

    // The beta pages have no buttons of their own.
    mfd.summaryShown = false;
    for (int mode : {AP_DIRECT_BURN, AP_ASCENT}) {
        S->refMode = mode;
        mfd.keys.clear();
        for (int bt = 0; bt < 12; ++bt) EXPECT_FALSE(mfd.ConsumeButton(bt, PANEL_MOUSE_LBDOWN));
        EXPECT_EQ(mfd.keys, none);
    }
}

TEST_F(MfdButtons, OnlyALeftPressOnButtons0To11Counts) {
    KeyRecorder mfd(256, 256, own->iface, 0);
    EXPECT_FALSE(mfd.ConsumeButton(0, PANEL_MOUSE_RBDOWN));
    EXPECT_FALSE(mfd.ConsumeButton(0, PANEL_MOUSE_LBUP));
    EXPECT_FALSE(mfd.ConsumeButton(0, PANEL_MOUSE_LBPRESSED));
    EXPECT_FALSE(mfd.ConsumeButton(12, PANEL_MOUSE_LBDOWN));
    EXPECT_FALSE(mfd.ConsumeButton(-1, PANEL_MOUSE_LBDOWN));
    EXPECT_TRUE(mfd.keys.empty());
    EXPECT_EQ(mfd.ButtonLabel(12), nullptr);
}

TEST_F(MfdButtons, LabelSetsFollowEngagementAndLockout) {
    TessarcMFD mfd(256, 256, own->iface, 0);
    MfdState *S = mfd.state;
    ASSERT_NE(S, nullptr);
    S->modePage = false;
    S->refMode = AP_VELOCITY;
    EXPECT_EQ(Labels(mfd)[0], "MOD");
    EXPECT_EQ(Labels(mfd)[10], "RPM");
    S->lockedOut = true;
    EXPECT_EQ(Labels(mfd)[5], "---");
    EXPECT_EQ(Labels(mfd)[10], "---");
    // Busy takes precedence over locked: any of HOLD, translation hold, armed burn.
    S->holdOn = true;
    EXPECT_EQ(Labels(mfd)[0], "CFG");
    EXPECT_EQ(Labels(mfd)[5], "HLD");
    S->holdOn = false;
    S->burnArmed = true;
    EXPECT_EQ(Labels(mfd)[0], "CFG");
    S->burnArmed = false;

    S->refMode = AP_DOCKING;
    EXPECT_EQ(Labels(mfd)[5], "---") << "locked Docking page";
    EXPECT_EQ(Labels(mfd)[4], "---");
    S->lockedOut = false;
    EXPECT_EQ(Labels(mfd)[4], "APD");

    S->refMode = AP_LANDING;
    EXPECT_EQ(Labels(mfd)[3], "RFH");
    S->landingPhase = 2;
    EXPECT_EQ(Labels(mfd)[3], "   ") << "approach started";
    EXPECT_EQ(Labels(mfd)[10], "---");
    S->lockedOut = true;
    EXPECT_EQ(Labels(mfd)[3], "RFH") << "locked comes before the in-progress set";
    S->holdOn = true;
    EXPECT_EQ(Labels(mfd)[2], "---");
    EXPECT_EQ(Labels(mfd)[0], "CFG");

    // A beta mode loaded from a scenario shows the summary labels.
    S->holdOn = false;
    S->refMode = AP_DIRECT_BURN;
    EXPECT_EQ(Labels(mfd), (std::vector<std::string>{"BCK", "SWP", "   ", "PRV", "NXT", "SET", "REM", "RAT",
                                                    "PCN", "ALT", "STP", "DEL"}));
    S->modePage = true;
    EXPECT_EQ(Labels(mfd)[8], "DOC");
}

TEST_F(MfdButtons, MenusHaveTwelveEntriesAndNoneOnBetaPages) {
    TessarcMFD mfd(256, 256, own->iface, 0);
    MfdState *S = mfd.state;
    EXPECT_EQ(mfd.ButtonMenu(nullptr), 12);
    const MFDBUTTONMENU *menu = nullptr;
    S->modePage = false;
    S->refMode = AP_LANDING;
    mfd.ButtonMenu(&menu);
    EXPECT_STREQ(menu[6].line1, "Remote");
    EXPECT_STREQ(menu[6].line2, "Shift + Tab");
    EXPECT_EQ(menu[6].selchar, 0);
    mfd.summaryShown = true;
    mfd.ButtonMenu(&menu);
    EXPECT_STREQ(menu[10].line1, "Stop Hold & Trim");
    mfd.summaryShown = false;
    S->refMode = AP_ASCENT;
    EXPECT_EQ(mfd.ButtonMenu(&menu), 12);
    EXPECT_EQ(menu, nullptr);
}

TEST_F(MfdButtons, PageKeysThroughTheButtons) {
    TessarcMFD mfd(256, 256, own->iface, 0);
    MfdState *S = mfd.state;
    S->modePage = false;
    S->refMode = AP_VELOCITY;
    // Button 0 (M) toggles the mode-selection page while nothing is engaged...
    EXPECT_TRUE(mfd.ConsumeButton(0, PANEL_MOUSE_LBDOWN));
    EXPECT_TRUE(S->modePage);
    EXPECT_TRUE(mfd.ConsumeButton(0, PANEL_MOUSE_LBDOWN));
    EXPECT_FALSE(S->modePage);
    // ...and the summary page with HOLD on ("CFG").
    S->holdOn = true;
    EXPECT_TRUE(mfd.ConsumeButton(0, PANEL_MOUSE_LBDOWN));
    EXPECT_TRUE(mfd.summaryShown);
    EXPECT_FALSE(S->modePage);
    EXPECT_TRUE(mfd.ConsumeButton(0, PANEL_MOUSE_LBDOWN));
    EXPECT_FALSE(mfd.summaryShown);
    S->holdOn = false;

    // Up on a mode page opens the summary without moving the selection; on the
    // summary it moves it.
    mfd.summaryLine = 4;
    EXPECT_TRUE(mfd.ConsumeKeyBuffered(KEY_UP));
    EXPECT_TRUE(mfd.summaryShown);
    EXPECT_EQ(mfd.summaryLine, 4);
    EXPECT_TRUE(mfd.ConsumeButton(4, PANEL_MOUSE_LBDOWN));  // NXT
    EXPECT_EQ(mfd.summaryLine, 5);
    // M on the summary closes it without touching the mode page.
    EXPECT_TRUE(mfd.ConsumeKeyBuffered(KEY_M));
    EXPECT_FALSE(mfd.summaryShown);
    EXPECT_FALSE(S->modePage);
    // Key codes out of range are not taken.
    EXPECT_FALSE(mfd.ConsumeKeyBuffered(1));
    EXPECT_FALSE(mfd.ConsumeKeyBuffered(212));
}

TEST(ArrowFreighter, OnlyItsClassSkipsTheLabelRefresh) {
    EXPECT_TRUE(SkipsButtonRefresh("UCGO\\Vessels\\UCGOArrowFreighter"));
    EXPECT_TRUE(SkipsButtonRefresh("UCGO\\Vessels\\UCGOArrowFreighterMk2"));
    EXPECT_FALSE(SkipsButtonRefresh("UCGO\\Vessels\\UCGOArrowFreighte"));
    EXPECT_FALSE(SkipsButtonRefresh("ucgo\\vessels\\ucgoarrowfreighter"));
    EXPECT_FALSE(SkipsButtonRefresh("DeltaGlider"));
    EXPECT_FALSE(SkipsButtonRefresh(""));
    EXPECT_FALSE(SkipsButtonRefresh(nullptr));
}

}  // namespace
