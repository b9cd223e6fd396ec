// tessarc-sim's --render-every option.
#include <gtest/gtest.h>

#include "app/options.h"

namespace {

TEST(RenderEveryOption, TakesAPeriodAndAFolderAndRefusesTheRest) {
    app::Options o;
    std::string err;
    const char *ok[] = {"tessarc-sim", "run", "a.scn", "--render-every", "2.5", "pics"};
    ASSERT_TRUE(app::parseOptions(6, ok, o, err)) << err;
    EXPECT_DOUBLE_EQ(o.renderEvery, 2.5);
    EXPECT_EQ(o.renderDir, "pics");
    EXPECT_EQ(o.scenario, "a.scn");

    const char *zero[] = {"tessarc-sim", "run", "a.scn", "--render-every", "0", "pics"};
    EXPECT_FALSE(app::parseOptions(6, zero, o, err));
    const char *noFolder[] = {"tessarc-sim", "run", "a.scn", "--render-every", "5"};
    EXPECT_FALSE(app::parseOptions(5, noFolder, o, err));
    EXPECT_NE(err.find("--render-every"), std::string::npos);
}

}  // namespace
