// Start-up: the application and its title, the folders, the main window, the event loop.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include <exception>

#include "ui/main_window.h"
#include "ui/window_logic.h"

namespace {

constexpr const char* kApplicationTitle = "VESTRA SEQUENTIAL DIESEL";

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The application name, not the display name: a display name would be appended to every
    // window caption on some desktops, and the main window's caption is fixed text.
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));

    try {
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
