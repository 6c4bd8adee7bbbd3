// Takes a picture of the main map's cell view on a recorded drive of the virtual controller's
// engine, for the documentation:
//
//     cells-shot OUT.png [LOG]      e.g. cells-shot docs/cells.png
//
// The drive is recorded_drive.h's. The window is connected to the virtual controller (in this
// process, on a pseudo-terminal) so the map and its axes are the controller's; the cell view
// shows the mean exhaust gas temperature of each cell the drive used. LOG, when given, keeps
// the recording.
//
// Nothing here may open a dialog: the platform is offscreen and no one would answer it, so the
// tool would wait for ever. The recording is handed to the view directly, not through "open
// recording..." and its open dialog; the language file is where the window looks for it; a
// message is printed, not shown.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "maps/cell_view.h"
#include "recorded_drive.h"
#include "shot_window.h"
#include "ui/main_window.h"
#include "ui/pages/adjustment/adjustment_page.h"
#include "ui/pages/adjustment/cell_view_panel.h"
#include "ui/pages/adjustment/main_map_panel.h"
#include "ui/session.h"
#include "ui/window_logic.h"
#include "virtual_controller.h"

namespace {

using kaldor::tools::runEventsFor;

constexpr int kSettleMs = 1500;
// The picture's width: the cells' texts still legible, the file small.
constexpr int kPictureWidth = 900;


int shoot(const QString& out, const char* keep) {
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    const std::string log = kaldor::tools::recordDrive(folder.path().toStdString(), "cells-shot");
    if (log.empty())
        return 1;
    if (keep != nullptr && !QFile::copy(QString::fromStdString(log), QString::fromLocal8Bit(keep)))
        std::fprintf(stderr, "cells-shot: could not keep the log as %s\n", keep);

    // The window loads the language it finds chosen as it is made, English without a choice; a
    // language file it cannot read is said in a message box before any message sink is set,
    // which no one closes here. So the English file lies in the working folder, as beside the
    // program.
    QDir(folder.path()).mkpath(QStringLiteral("lang"));
    if (!QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/lang/ang.txt"),
                     folder.path() + QStringLiteral("/lang/ang.txt"))) {
        std::fprintf(stderr, "cells-shot: no lang/ang.txt beside the program\n");
        return 1;
    }

    kaldor::sim::VirtualController::Options options;
    options.softwareRevision = 10;  // no confirmation question
    options.serialNumber = 770123;
    kaldor::sim::VirtualController controller(options);
    const std::string device = controller.start();
    kaldor::tools::writeShotSettings(folder.path(), "cells-shot", device);

    kaldor::MainWindow window(
        kaldor::Folders{folder.path(), folder.path(), QStringLiteral("cells-shot")});
    auto* logic = new kaldor::WindowLogic(window);
    if (!kaldor::tools::connectShotWindow(window, *logic, "cells-shot")) {
        controller.stop();
        return 1;
    }
    window.showPage(kaldor::MainWindow::kPageAdjustment);
    runEventsFor(kSettleMs);
    kaldor::MainMapPanel& map = window.adjustmentPage().mainMap();
    window.findChild<QAbstractButton*>(QStringLiteral("ButtonMapCells"))->click();
    kaldor::CellViewPanel* cells = map.cellView();
    cells->ComboBoxCellsStatistic->setCurrentIndex(static_cast<int>(kaldor::CellStatistic::Mean));
    const bool shown = cells->showRecording(log);
    // No cell selected: each shows its colour.
    cells->StringGridCells->setCurrentItem(nullptr);
    cells->StringGridCells->clearSelection();
    runEventsFor(kSettleMs);
    // A palette of 256 colours: the picture's few flat fills lose nothing, the file half its size.
    const QImage picture = cells->grab()
                               .scaledToWidth(kPictureWidth, Qt::SmoothTransformation)
                               .toImage()
                               .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    controller.stop();
    return shown && picture.save(out) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: cells-shot OUT.png [LOG]\n");
        return 2;
    }
    try {
        return shoot(QString::fromLocal8Bit(argv[1]), argc == 3 ? argv[2] : nullptr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cells-shot: %s\n", error.what());
        return 1;
    }
}
