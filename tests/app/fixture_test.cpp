// The flight-test fixture other test areas fly the plug-in with, here with the
// small test mode; and the report's JSON text.
#include <gtest/gtest.h>

#include "app/fake_mode.h"
#include "app/report.h"
#include "support/flight.h"

namespace {

void FakeInit(HINSTANCE) { fake::Register(); }

TEST(FlightFixture, FliesAScenarioWithAModuleAndShowsWhatThePilotSees) {
    fake::Reset();
    flight::Flight f;
    ASSERT_FALSE(f.load("scenarios/no_such.scn"));
    EXPECT_NE(f.error().find("no_such.scn"), std::string::npos);
    ASSERT_TRUE(f.load("scenarios/leo_station.scn")) << f.error();
    sim::ModuleApi api;
    api.InitModule = FakeInit;
    f.useModule(api, "fake");
    ASSERT_TRUE(f.open(0, "Fake")) << f.error();
    ASSERT_TRUE(f.open(3, "Fake", "ISS")) << f.error();
    EXPECT_FALSE(f.open(4, "Fake", "Nobody"));
    EXPECT_EQ(fake::events()[1], "create 0 SH-01");
    EXPECT_EQ(fake::events()[4], "create 3 ISS");

    EXPECT_TRUE(f.key(0, "h"));
    EXPECT_FALSE(f.key(0, "NoSuchKey"));
    EXPECT_TRUE(f.key(0, "T"));
    EXPECT_TRUE(f.boxOpen(0));
    EXPECT_EQ(f.boxTitle(0), "Type something");
    EXPECT_TRUE(f.type(0, "ISS"));
    EXPECT_FALSE(f.type(0, "again"));  // the box is gone
    EXPECT_EQ(f.label(0, 1), "TWO");

    double t0 = f.simt();
    f.run(1.0);
    EXPECT_NEAR(f.simt(), t0 + 1.0, 1e-9);
    EXPECT_TRUE(f.screenContains(0, "FAKE"));
    EXPECT_EQ(f.screenText(3).substr(0, 4), "FAKE");
    EXPECT_TRUE(f.hostErrors().empty());

    ASSERT_TRUE(f.focus("ISS"));
    EXPECT_EQ(f.focusVessel()->GetHandle(), f.handle("ISS"));
    ASSERT_TRUE(f.remove("SH-01"));
    EXPECT_EQ(f.vessel("SH-01"), nullptr);
    EXPECT_NE(f.save().find("ISS:ProjectAlpha_ISS"), std::string::npos);
}

TEST(Report, JsonStringsAreEscaped) {
    EXPECT_EQ(app::jsonString("a\"b\\c\n\t"), "\"a\\\"b\\\\c\\n\\t\"");
    EXPECT_EQ(app::jsonString(std::string("12\xB0 \x01")), "\"12\\u00b0 \\u0001\"");
}

}  // namespace
