#pragma once
// Running kaldor-cli in tests: its run() in this process with captured streams, or the real
// program as a process (stdin from the null device, so never a terminal).
#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "files/config_file.h"
#include "link/serial_port.h"

namespace kaldor::cli::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "kaldor_cli_" +
           std::to_string(QCoreApplication::applicationPid()) + "_" + name;
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
    QStringList arguments;
    for (const std::string& w : words)
        arguments << QString::fromStdString(w);
    QProcess program;
    program.setStandardInputFile(QProcess::nullDevice());
    program.start(QStringLiteral(KALDOR_CLI_PROGRAM), arguments);
    CliRun r;
    // Generous: under Wine a start alone may take seconds.
    if (program.waitForFinished(120000) && program.exitStatus() == QProcess::NormalExit)
        r.status = program.exitCode();
    // Windows' C runtime ends the lines it writes with CR LF.
    r.out = program.readAllStandardOutput().replace("\r\n", "\n").toStdString();
    r.err = program.readAllStandardError().replace("\r\n", "\n").toStdString();
    return r;
}

inline void writeImageFile(const std::string& path, const EcuImage& image) {
    ASSERT_EQ(writeConfigFile(path, image), "");
}

}  // namespace kaldor::cli::test
