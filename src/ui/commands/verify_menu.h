#pragma once
// The `File1` commands that prove and share what was written: "verify ECU" (read the
// controller's memory again and show every difference from the PC image), "compare with
// file..." (the same table between the PC image and a configuration file) and "export log as
// CSV". The controller never acknowledges a write, so the full writes ("load to ECU", "RESET
// ECU") call verifyAfterWrite(), which speaks up only when something did not arrive.
//
// Nothing is written to the controller and nothing taken into the PC without the installer's
// choice in the difference dialog, which is asked through a DifferenceQuestion.
#include <string>

#include "service/ecu_verify.h"
#include "ui/dialogs/difference_dialog.h"

namespace kaldor {

class ControlsRefresh;
class DataLogger;
class MainWindow;
struct ControllerSession;

class VerifyMenu {
public:
    // `logger` holds the data logged so far, for the export; `refresh` shows the controller's
    // values once the installer has taken them.
    VerifyMenu(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh,
               const DataLogger& logger);

    void verifyECU1Click();
    void comparewithfile1Click();
    void exportlogasCSV1Click();

    // The verification after a full write: shown only when the memory does not match or could
    // not be read completely; without a connection, or while the controller is locked, nothing.
    void verifyAfterWrite();

    // The window's question shows the difference dialog; tests script the choices.
    void setDifferenceQuestion(DifferenceQuestion ask) { m_ask = std::move(ask); }

private:
    // Shows the report and carries out the choices: after a write the new result is shown,
    // until the installer closes the dialog or takes the controller's values.
    void decide(VerifyReport report);
    [[nodiscard]] DifferenceView verificationView(const VerifyReport& report) const;
    [[nodiscard]] std::string baseFolder() const;

    MainWindow& m_window;
    ControllerSession& m_session;
    ControlsRefresh& m_refresh;
    const DataLogger& m_logger;
    EcuVerifier m_verifier;
    DifferenceQuestion m_ask;
};

}  // namespace kaldor
