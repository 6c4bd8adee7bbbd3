#pragma once
// "view log...": the open dialog for a recording ("demo.log" files and the CSV files the export
// writes), then a viewer window of its own beside the main window. The viewer converts with the
// connected controller's set-up, or the factory defaults without a controller.
#include <QString>
#include <QWidget>

#include "model/prompts.h"

namespace kaldor {

struct ControllerSession;
class DataLogger;
class LogViewerWindow;

// The dialog's filters: "*.log" (index 0) and "*.csv" (index 1).
[[nodiscard]] FileQuestion viewLogQuestion(const std::string& initialFolder);

// Nothing when the dialog was cancelled. The window deletes itself when closed. A file the
// running `logger` logs into shows the lines it holds so far.
LogViewerWindow* viewLog(QWidget* parent, ControllerSession& session, const QString& folder,
                         const DataLogger& logger);

}  // namespace kaldor
