// Start-up: the options, the application and its title, the folders, the main window (or the
// log viewer alone), the event loop.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

#include "files/language_file.h"
#include "files/languages.h"
#include "live/recording_setup.h"
#include "live/status_texts.h"
#include "service/setup_description.h"
#include "ui/log_viewer/log_viewer_window.h"
#include "ui/log_viewer/trace_view.h"
#include "ui/main_window.h"
#include "ui/qt_adapters.h"
#include "ui/window_logic.h"

namespace {

constexpr const char* kApplicationTitle = "VESTRA SEQUENTIAL DIESEL";

constexpr const char* kUsage = R"(Usage: kaldor [--view-log FILE]
The KALDOR DIESEL service tool. Without options it opens the main window; F10 finds the ECU.

  --view-log FILE   show a recording in the log viewer alone, without the main window or an
                    ECU: a "demo.log" of the data logger (also one it is still writing) or a
                    CSV file written by "export log as CSV"; values are converted with the
                    factory set-up unless a configuration file is picked in the viewer
  --help            show this text and exit

Qt's own options (-platform NAME, -style NAME, ...) are taken as well.
Exit status: 0; 1 when the recording was refused; 2 for a bad option.
)";

// Measuring only: with this variable set the viewer ends the program once it has painted its
// first traces, so a script can time a start as a whole process (bench/log_viewer_window_bench).
constexpr const char* kQuitAfterFirstPaint = "KALDOR_QUIT_AFTER_FIRST_PAINT";

struct Options {
    std::optional<std::string> viewLog;
    bool help = false;
    std::string error;
};

Options parseOptions(int argc, char** argv) {
    Options o;
    constexpr std::string_view kViewLog = "--view-log";
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == kViewLog) {
            if (i + 1 >= argc) {
                o.error = "--view-log needs a file";
                return o;
            }
            o.viewLog = argv[++i];
        } else if (arg.substr(0, kViewLog.size() + 1) == "--view-log=") {
            o.viewLog = std::string(arg.substr(kViewLog.size() + 1));
        } else if (arg.substr(0, 2) == "--") {
            o.error = "unknown option " + std::string(arg);
            return o;
        }
    }
    return o;
}

// The language "lan.txt" in the working folder chooses, as the main window takes it; English
// without one.
void speakChosenLanguage(kaldor::LogViewerWindow& viewer) {
    const std::string base = QDir::currentPath().toStdString();
    const std::optional<std::uint8_t> code = kaldor::readLanguageChoice(base);
    const kaldor::LanguageDef* language = code ? kaldor::findLanguage(*code) : nullptr;
    if (language == nullptr)
        return;
    const kaldor::LanguageFile file = kaldor::readLanguage(
        base, QCoreApplication::applicationDirPath().toStdString(), *language);
    const kaldor::SetupTexts texts = kaldor::setupTexts(file);
    kaldor::StatusTexts status;
    for (const auto& [n, text] : texts.statusTexts)
        (void)kaldor::setStatusText(status, static_cast<std::size_t>(n), text);
    viewer.setTexts(texts, status);
}

int viewLogAlone(const std::string& path) {
    kaldor::QtPrompts prompts(nullptr);
    auto* viewer =
        new kaldor::LogViewerWindow(QString::fromLocal8Bit(path.c_str()), kaldor::defaultSetup(),
                                    prompts, {}, QDir::currentPath());
    speakChosenLanguage(*viewer);
    int status = 0;
    QObject::connect(viewer, &kaldor::LogViewerWindow::refused, [&status] { status = 1; });
    if (std::getenv(kQuitAfterFirstPaint) != nullptr)
        QObject::connect(viewer->traceView(), &kaldor::TraceView::firstPainted,
                         [] { QTimer::singleShot(0, qApp, &QCoreApplication::quit); });
    viewer->show();
    const int result = QApplication::exec();
    return status != 0 ? status : result;
}

}  // namespace

int main(int argc, char** argv) {
    // Before the application, which needs a display: --help works without one.
    const Options options = parseOptions(argc, argv);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "kaldor: %s\n%s", options.error.c_str(), kUsage);
        return 2;
    }

    QApplication application(argc, argv);
    // The application name, not the display name: a display name would be appended to every
    // window caption on some desktops, and the main window's caption is fixed text.
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));

    try {
        if (options.viewLog)
            return viewLogAlone(*options.viewLog);

        kaldor::Folders folders;
        folders.baseFolder = QDir::currentPath();
        folders.programFolder = QCoreApplication::applicationDirPath();
        folders.programName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();

        kaldor::MainWindow window(folders);
        new kaldor::WindowLogic(window);  // a child of the window, which owns it
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QString::fromUtf8(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QStringLiteral("Unknown error"));
    }
    return 0;
}
