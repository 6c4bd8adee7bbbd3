#include <QFileInfo>
#include <QUrl>

#include <exception>

#include "files/data_folders.h"
#include "ui/main_window.h"

// The main window's command slots: each menu item, key and summary-panel button runs its hook
// guarded, an exception it throws reported and the window kept open.
namespace kaldor {

namespace {

constexpr const char* kHelpFolder = "sch";

void trigger(const std::function<void()>& hook) {
    if (hook) {
        hook();
    }
}

}  // namespace

void MainWindow::F2readings1Click() {
    showPage(kPageReadings);
}

void MainWindow::F3parameters1Click() {
    showPage(kPageParameters);
}

void MainWindow::F4adjustment1Click() {
    showPage(kPageAdjustment);
}

void MainWindow::F5diagnostic1Click() {
    showPage(kPageDiagnostic);
}

void MainWindow::F10autoconnect1Click() {
    runGuarded(m_hooks.onAutoconnect);
}

void MainWindow::savetodisk1Click() {
    runGuarded(m_hooks.onSaveToDisk);
}

void MainWindow::loadtoECU1Click() {
    runGuarded(m_hooks.onLoadToEcu);
}

void MainWindow::LoadMap1Click() {
    runGuarded(m_hooks.onLoadMap);
}

void MainWindow::verifyECU1Click() {
    runGuarded(m_hooks.onVerifyEcu);
}

void MainWindow::comparewithfile1Click() {
    runGuarded(m_hooks.onCompareWithFile);
}

void MainWindow::exportlogasCSV1Click() {
    runGuarded(m_hooks.onExportLogCsv);
}

void MainWindow::viewlog1Click() {
    runGuarded(m_hooks.onViewLog);
}

void MainWindow::undo1Click() {
    runGuarded(m_hooks.onUndo);
}

void MainWindow::redo1Click() {
    runGuarded(m_hooks.onRedo);
}

void MainWindow::history1Click() {
    runGuarded(m_hooks.onHistory);
}

void MainWindow::PrintReport1Click() {
    runGuarded(m_hooks.onPrintReport);
}

void MainWindow::RESET1Click() {
    runGuarded(m_hooks.onReset);
}

void MainWindow::petro1Click() {
    runGuarded(m_hooks.onFuelModeDiesel);
}

void MainWindow::auto1Click() {
    runGuarded(m_hooks.onFuelModeAuto);
}

void MainWindow::propane1Click() {
    runGuarded(m_hooks.onFuelModePropane);
}

void MainWindow::exit1Click() {
    close();
}

void MainWindow::help1Click() {
    // Beside the program, or in the shared data folder of an installed copy.
    // The manual when it is there, else the folder (so what is missing shows).
    const QString help =
        QString::fromStdString(findDataFolder(m_programFolder.toStdString(), kHelpFolder));
    const QString manual = help + QStringLiteral("/index.html");
    const QUrl folder = QUrl::fromLocalFile(QFileInfo::exists(manual) ? manual : help);
    runGuarded([this, &folder] {
        if (m_hooks.openFolder) {
            m_hooks.openFolder(folder);
        }
    });
}

void MainWindow::Timer1Timer() {
    runGuarded(m_hooks.onTimerTick);
}

bool MainWindow::runGuarded(const std::function<void()>& hook) {
    try {
        trigger(hook);
        return true;
    } catch (const std::exception& error) {
        if (m_hooks.reportException) {
            m_hooks.reportException(QString::fromUtf8(error.what()));
        }
    } catch (...) {
        if (m_hooks.reportException) {
            m_hooks.reportException(QStringLiteral("Unknown error"));
        }
    }
    return false;
}

}  // namespace kaldor
