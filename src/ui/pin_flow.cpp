#include "ui/pin_flow.h"

#include <array>

#include "ui/main_window.h"
#include "ui/session.h"

namespace kaldor {
namespace {

// Pages locked by a wrong PIN: "[F3]parameters" to "EMU".
constexpr std::array<int, 6> kLockedPages{MainWindow::kPageParameters, MainWindow::kPageAdjustment,
                                          MainWindow::kPageDiagnostic, MainWindow::kPageAdvanced,
                                          MainWindow::kPageDna,        MainWindow::kPageEmu};

}  // namespace

PinFlow::PinFlow(MainWindow& window, ControllerSession& session)
    : m_window(window), m_session(session) {}

bool PinFlow::locked() const {
    return m_session.gate.locked();
}

void PinFlow::checkPin() {
    // A full write ("load to ECU", "RESET ECU") puts the controller's own PIN back into the
    // image; the installer who has given it in this connection is not asked for it again.
    const std::uint32_t pin = readField(m_session.image, FieldId::ControllerPin);
    if (m_session.pinAccepted && pin != 0 && pin == heldControllerPin(m_session.state)) {
        storeField(m_session.image, FieldId::ControllerPin, 0);
        return;
    }
    const PinCheckOutcome outcome = checkControllerPin(m_session.image, m_session.prompts);
    applyLock(outcome != PinCheckOutcome::Refused);
    if (outcome == PinCheckOutcome::Refused)
        m_session.prompts.message(kMsgErrorPass);
}

void PinFlow::applyLock(bool unlocked) {
    m_session.pinAccepted = unlocked;
    // A locked controller takes no edits from any control until the next accepted refresh.
    m_session.gate.setLocked(!unlocked);
    m_window.setMenusLocked(!unlocked);
    for (int page : kLockedPages)
        m_window.setTabShown(page, unlocked);
    if (!unlocked)
        m_window.showPage(MainWindow::kPageReadings);
}

void PinFlow::ButtonSetPinClick() {
    m_session.gate.run(
        [this] { (void)setControllerPin(m_session.image, m_session.transfer, m_session.prompts); });
}

}  // namespace kaldor
