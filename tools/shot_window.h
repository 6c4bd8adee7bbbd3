#pragma once
// What the picture tools share: events run for a while, and the program's window connected to
// the virtual controller on COM1, at its built-in size, its messages printed (a message box
// offscreen would wait for ever).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>
#include <fstream>
#include <string>

#include "ui/main_window.h"
#include "ui/session.h"
#include "ui/window_logic.h"

namespace kaldor::tools {

inline void runEventsFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The settings file TOOL.INI in FOLDER: COM1 is the controller's pseudo-terminal DEVICE, and no
// history entry is kept (a picture is no visit).
inline void writeShotSettings(const QString& folder, const char* tool, const std::string& device) {
    std::ofstream(
        QDir(folder).filePath(QString::fromLatin1(tool) + QStringLiteral(".INI")).toStdString())
        << "[Ports]\nCOM1=" << device << "\n[History]\nEnabled=0\n";
}

// Shows WINDOW and connects it with F10; false, said on stderr, when the controller has not
// answered in time.
inline bool connectShotWindow(MainWindow& window, WindowLogic& logic, const char* tool) {
    constexpr int kConnectTimeoutMs = 20000;
    logic.prompts().setMessageSink(
        [](const std::string& text) { std::fprintf(stderr, "message: %s\n", text.c_str()); });
    window.show();
    runEventsFor(200);
    window.resize(MainWindow::kBuiltInWidth, MainWindow::kBuiltInHeight);
    window.menu().F10autoconnect1->trigger();
    QElapsedTimer waited;
    waited.start();
    while (!logic.session().state.linkReady && waited.elapsed() < kConnectTimeoutMs)
        runEventsFor(100);
    if (!logic.session().state.linkReady)
        std::fprintf(stderr, "%s: the virtual controller did not connect\n", tool);
    return logic.session().state.linkReady;
}

}  // namespace kaldor::tools
