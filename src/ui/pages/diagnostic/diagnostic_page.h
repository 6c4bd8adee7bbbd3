#pragma once
// Page 3, "[F5]diagnostic": an inner page control with the error memory ("ECU"), the OBD page
// with its MIL lamp (shown, driven by nothing) and the data logger.
#include <QTabWidget>
#include <QWidget>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "diagnostics/error_counter_watch.h"
#include "widgets/ab_col_bit_btn.h"
#include "widgets/ab_led.h"

namespace kaldor {

struct ControllerSession;
struct LiveRecord;
class ErrorMemory;
class LivePoller;
class PageBindings;
class DataLoggerPanel;

class DiagnosticPage : public QWidget {
    Q_OBJECT

public:
    explicit DiagnosticPage(QWidget* parent = nullptr);
    ~DiagnosticPage() override;

    // Connects the handlers to the session the page works on, and the data logger to the
    // poller's records; the logs go under `baseFolder`.
    void attach(ControllerSession& session, LivePoller& poller, const QString& baseFolder);

    void refreshReturnToPropane();  // refresh step ReturnToGasAndMainMap, first half
    // "show errors": reads the controller's error memory and lists it. Also run by the error
    // watch.
    void ShowErrors();
    // The list as last read from the controller with `serial`; nothing when it was not read from
    // that controller.
    [[nodiscard]] std::optional<std::vector<std::string>> errorsReadFrom(
        std::uint32_t serial) const;
    // "erase errors": the list stays until the controller's error counter moves.
    void EraseErrors();
    // The live display's share: the error watch. A change of the controller's error counter
    // reads the error memory again.
    void showRecord(const LiveRecord& record);

    QTabWidget* PageControlDiag = nullptr;
    QWidget* TabSheet6 = nullptr;
    QWidget* TabSheet7 = nullptr;
    QWidget* TabSheet8 = nullptr;
    AbLED* AbLEDobd = nullptr;
    QTableWidget* StringGridErrorMemory = nullptr;
    QPushButton* ButtonErrorShow = nullptr;
    AbColBitBtn* AbColBitBtnErase = nullptr;
    QLabel* LabelDiagErrorAuto = nullptr;
    QComboBox* ComboBoxGazAutoOn = nullptr;
    DataLoggerPanel* dataLogger = nullptr;  // the controls of TabSheet8

signals:
    // The controller's error counter moved: the error memory is to be read again.
    void errorCounterMoved();

private:
    void buildErrorMemory();

    ControllerSession* m_session = nullptr;
    std::unique_ptr<ErrorMemory> m_errors;
    std::unique_ptr<PageBindings> m_bindings;
    ErrorCounterWatch m_errorWatch;
    // The last list read from a controller, and that controller's serial number.
    std::optional<std::vector<std::string>> m_errorsRead;
    std::uint32_t m_errorsSerial = 0;
};

}  // namespace kaldor
