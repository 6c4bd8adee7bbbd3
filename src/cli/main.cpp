// kaldor-cli: start-up only. The commands live in cli.cpp and its command files.
#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/cli.h"

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    // The serial port needs an application object; no event loop runs. Pages need fonts, which
    // come with a graphical one; without a display it draws off screen.
    std::unique_ptr<QCoreApplication> application;
    if (kaldor::cli::laysOutPages(words)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef _WIN32
            // The offscreen platform reads the fonts of one folder, unless told Qt's own, which a
            // Windows machine does not have: Windows' fonts.
            if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
                qputenv("QT_QPA_FONTDIR", qgetenv("WINDIR") + "\\Fonts");
#endif
        }
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    kaldor::cli::Environment environment;
    environment.programFolder = QCoreApplication::applicationDirPath().toStdString();
    environment.input = &std::cin;
    environment.inputIsTerminal = ::isatty(STDIN_FILENO) != 0;
    environment.errorIsTerminal = ::isatty(STDERR_FILENO) != 0;
    const int status = kaldor::cli::run(words, environment, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
