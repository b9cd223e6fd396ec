// The built modules export exactly the host's entry points, and the simulator
// loads each of them and reports its build date.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

namespace {

std::string ModulePath(const std::string &name) { return std::string(TESSARC_MODULE_DIR) + "/" + name + ".so"; }

// Output of a shell command; empty when it cannot run.
std::string RunCommand(const std::string &command, int *status = nullptr) {
    std::string out;
    FILE *p = popen(command.c_str(), "r");
    if (!p) return out;
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int rc = pclose(p);
    if (status) *status = rc;
    return out;
}

bool Exists(const std::string &path) { return std::ifstream(path).good(); }

const std::set<std::string> kEntryPoints = {"InitModule",      "ExitModule",     "opcPreStep",
                                            "opcPostStep",     "opcFocusChanged", "opcDeleteVessel", "opcTimeAccChanged",
                                            "opcCloseRenderViewport", "ModuleDate", "GetModuleVersion"};

class ModuleFiles : public ::testing::TestWithParam<const char *> {};

TEST_P(ModuleFiles, ExportsExactlyTheEntryPoints) {
    const std::string path = ModulePath(GetParam());
    ASSERT_TRUE(Exists(path)) << path << " is not built";
    std::string out = RunCommand("nm -D --defined-only '" + path + "' 2>&1");
    std::set<std::string> names;
    size_t start = 0;
    while (start < out.size()) {
        size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        std::string line = out.substr(start, end - start);
        start = end + 1;
        size_t sp = line.find_last_of(' ');
        if (!line.empty()) names.insert(sp == std::string::npos ? line : line.substr(sp + 1));
    }
    EXPECT_EQ(names, kEntryPoints) << out;
}

INSTANTIATE_TEST_SUITE_P(BothHosts, ModuleFiles, ::testing::Values("TessarcMFD_2010", "TessarcMFD_2016"));

}  // namespace
