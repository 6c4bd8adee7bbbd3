#pragma once
// Running kaldor-cli in tests: its run() in this process with captured streams, or the real
// program as a process (stdin from /dev/null, so never a terminal).
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "files/config_file.h"
#include "link/serial_port.h"

extern char** environ;

namespace kaldor::cli::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "kaldor_cli_" + std::to_string(::getpid()) + "_" + name;
}

// The folder of the real program, with the language files beside it.
inline std::string programFolder() {
    const std::string program = KALDOR_CLI_PROGRAM;
    return program.substr(0, program.rfind('/'));
}

// `typed`: what the user types at a terminal; without it there is no terminal. `folder`: where
// the program is taken to be, for its settings and language files.
// `pauses`: the protocol's pauses; without it, real sleeps.
inline CliRun runCli(const std::vector<std::string>& words,
                     const std::optional<std::string>& typed = std::nullopt,
                     const std::string& folder = ::testing::TempDir(),
                     PauseClock* pauses = nullptr) {
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in(typed.value_or(""));
    Environment environment;
    environment.programFolder = folder;
    environment.pauses = pauses;
    environment.input = &in;
    environment.inputIsTerminal = typed.has_value();
    CliRun r;
    r.status = run(words, environment, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline CliRun runProgram(const std::vector<std::string>& words) {
    const std::string outPath = tempPath("stdout");
    const std::string errPath = tempPath("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<std::string> all{KALDOR_CLI_PROGRAM};
    all.insert(all.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& w : all)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    CliRun r;
    pid_t pid = -1;
    if (::posix_spawn(&pid, KALDOR_CLI_PROGRAM, &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    r.out = fileText(outPath);
    r.err = fileText(errPath);
    return r;
}

inline void writeImageFile(const std::string& path, const EcuImage& image) {
    ASSERT_EQ(writeConfigFile(path, image), "");
}

}  // namespace kaldor::cli::test
