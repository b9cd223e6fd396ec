// Module loading through dlopen: exports found and called in the host's order,
// clear errors for a missing module or entry point; the host's date encoding.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include "sim/host.h"

namespace {

typedef const char *(*CallsFn)();

TEST(ModuleLoading, HostCallsTheEntryPointsInItsOrder) {
    sim::World w;
    sim::setWorld(&w);
    std::string err;
    {
        sim::Host host(&w);
        ASSERT_TRUE(host.loadModule(TESSARC_TEST_MODULE, err)) << err;
        const sim::Module &m = host.loadedModules().front();
        EXPECT_EQ(m.name, "tessarc_testmodule");
        EXPECT_NE(m.api.opcPreStep, nullptr);
        EXPECT_EQ(m.api.opcDeleteVessel, nullptr);  // optional, and this module has none
        EXPECT_EQ(sim::moduleDate(m), "Jan 02 2003");
        // Keep the library mapped past the host's dlclose, to read its record at the end.
        void *keep = dlopen(TESSARC_TEST_MODULE, RTLD_NOW | RTLD_NOLOAD);
        ASSERT_NE(keep, nullptr);
        CallsFn calls = reinterpret_cast<CallsFn>(dlsym(keep, "TestModuleCalls"));
        ASSERT_NE(calls, nullptr);

        host.frame();
        host.frame();
        host.shutdown();
        char inst[40];
        std::snprintf(inst, sizeof inst, "%p", m.instance ? m.instance : keep);
        std::string expected = std::string("InitModule(") + inst + ");FocusChanged((nil),(nil));PreStep;PostStep;"
                               "PreStep;PostStep;CloseRenderViewport;ExitModule(" + inst + ");";
        EXPECT_EQ(calls(), expected);
        dlclose(keep);
    }
    sim::setWorld(nullptr);
}

TEST(ModuleLoading, FailuresNameTheModuleAndWhatIsWrong) {
    sim::Module m;
    std::string err;
    EXPECT_FALSE(sim::loadModule("/nonexistent/TessarcMFD_2016.so", m, err));
    EXPECT_NE(err.find("TessarcMFD_2016"), std::string::npos) << err;
    EXPECT_NE(err.find("No such file"), std::string::npos) << err;
    // A shared library that is not a module: it lacks InitModule.
    EXPECT_FALSE(sim::loadModule("libm.so.6", m, err));
    EXPECT_NE(err.find("libm"), std::string::npos) << err;
    EXPECT_NE(err.find("missing export InitModule"), std::string::npos) << err;
    EXPECT_EQ(m.library, nullptr);
}

TEST(ModuleGlue, DateToNumberFollowsTheCompilerDateFormat) {
    char a[] = "Aug 28 2016", b[] = "Aug 30 2010", c[] = "Jan  2 2003", d[] = "Aug 28 2016x", e[] = "Foo 28 2016",
         f[] = "Aug 32 2016", g[] = "", h[] = "28 Aug 2016";
    EXPECT_EQ(Date2Int(a), 160828);
    EXPECT_EQ(Date2Int(b), 100830);
    EXPECT_EQ(Date2Int(c), 30102);
    for (char *bad : {d, e, f, g, h}) EXPECT_EQ(Date2Int(bad), 0) << bad;
    EXPECT_EQ(Date2Int(nullptr), 0);
}

}  // namespace
