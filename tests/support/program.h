// Running the program tessarc-sim from a test: where it is built, a scratch
// folder for its output files, and reading those files back.
#ifndef TESSARC_TESTS_SUPPORT_PROGRAM_H
#define TESSARC_TESTS_SUPPORT_PROGRAM_H

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace program {

// tessarc-sim is built at the top of the build folder, test programs in tests/.
inline std::string Path() {
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (n <= 0) return "";
    std::string path(exe, static_cast<size_t>(n));
    path = path.substr(0, path.rfind('/'));
    return path.substr(0, path.rfind('/')) + "/tessarc-sim";
}

inline std::string Slurp(const std::string &path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A new empty folder below /tmp, or "" when none could be made.
inline std::string TempDir(const std::string &tag) {
    std::string tmpl = "/tmp/tessarc-" + tag + "-XXXXXX";
    return mkdtemp(&tmpl[0]) ? tmpl : std::string();
}

inline void RemoveDir(const std::string &dir) {
    if (!dir.empty()) std::system(("rm -rf '" + dir + "'").c_str());
}

// Runs tessarc-sim with the arguments in the folder; its standard error goes to
// dir/err.txt. Returns the exit status, or -1 when it did not exit normally.
inline int Run(const std::string &dir, const std::string &args) {
    const std::string cmd = "cd '" + dir + "' && '" + Path() + "' " + args + " 2>err.txt";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace program

#endif  // TESSARC_TESTS_SUPPORT_PROGRAM_H
