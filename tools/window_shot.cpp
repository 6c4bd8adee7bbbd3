// Takes a picture of the main window in a language, connected to the virtual controller, for
// the documentation:
//
//     window-shot CODE PAGE OUT.png      e.g. window-shot 3 0 docs/readings-ru.png
//
// CODE is the language code "lan.txt" holds (3 Russian, 12 Greek, 14 Thai, ...), PAGE the page
// index (0 the readings). The window is the program's own, at its built-in size, on the
// platform Qt is given (offscreen or under xvfb-run); the controller runs in this process on a
// pseudo-terminal, so its live values show on the gauges.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "files/languages.h"
#include "ui/main_window.h"
#include "ui/session.h"
#include "ui/window_logic.h"
#include "shot_window.h"
#include "virtual_controller.h"

namespace {

using kaldor::tools::runEventsFor;

constexpr int kLiveSettleMs = 3000;


int shoot(int code, int page, const QString& out) {
    const kaldor::LanguageDef* language = kaldor::findLanguage(code);
    QTemporaryDir folder;
    if (language == nullptr || !folder.isValid()) {
        std::fprintf(stderr, "window-shot: no language %d\n", code);
        return 2;
    }
    // The working folder holds the choice, the language file and the port map.
    const QString name = QString::fromLatin1(language->fileName.data(),
                                             static_cast<qsizetype>(language->fileName.size()));
    QDir(folder.path()).mkpath(QStringLiteral("lang"));
    if (!QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/lang/") + name,
                     folder.path() + QStringLiteral("/lang/") + name)) {
        std::fprintf(stderr, "window-shot: no lang/%s beside the program\n", qPrintable(name));
        return 1;
    }
    std::ofstream(folder.filePath(QStringLiteral("lan.txt")).toStdString(), std::ios::binary)
        << static_cast<char>(code);

    kaldor::sim::VirtualController::Options options;
    options.softwareRevision = 10;  // no confirmation question
    options.serialNumber = 770123;
    kaldor::sim::VirtualController controller(options);
    const std::string device = controller.start();
    kaldor::tools::writeShotSettings(folder.path(), "window-shot", device);

    kaldor::MainWindow window(
        kaldor::Folders{folder.path(), folder.path(), QStringLiteral("window-shot")});
    auto* logic = new kaldor::WindowLogic(window);
    if (!kaldor::tools::connectShotWindow(window, *logic, "window-shot")) {
        return 1;
    }
    window.showPage(page);
    runEventsFor(kLiveSettleMs);
    const bool saved = window.grab().save(out);
    controller.stop();
    return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: window-shot CODE PAGE OUT.png\n");
        return 2;
    }
    try {
        return shoot(std::atoi(argv[1]), std::atoi(argv[2]), QString::fromLocal8Bit(argv[3]));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "window-shot: %s\n", error.what());
        return 1;
    }
}
