// kaldor-cli: start-up only. The commands live in cli.cpp and its command files.
#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/cli.h"

int main(int argc, char** argv) {
    // The serial port needs an application object; no event loop runs.
    QCoreApplication application(argc, argv);
    std::vector<std::string> words(argv + 1, argv + argc);
    kaldor::cli::Environment environment;
    environment.programFolder = QCoreApplication::applicationDirPath().toStdString();
    environment.input = &std::cin;
    environment.inputIsTerminal = ::isatty(STDIN_FILENO) != 0;
    environment.errorIsTerminal = ::isatty(STDERR_FILENO) != 0;
    const int status = kaldor::cli::run(words, environment, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
