#include "cli/controller_session.h"

#include <algorithm>
#include <ostream>

#include "cli/cli.h"
#include "link/serial_port_factory.h"

namespace kaldor::cli {

void TerminalProgress::begin(const std::string& label) {
    m_label = label;
    m_percent = -1;
    m_position = 0;
}

void TerminalProgress::end() {
    if (m_shown && m_percent >= 0)
        m_err << '\n' << std::flush;
    m_percent = -1;
}

void TerminalProgress::setMaximum(int maximum) {
    m_maximum = maximum;
    show();
}

void TerminalProgress::setPosition(int position) {
    m_position = position;
    show();
}

void TerminalProgress::show() {
    if (!m_shown || m_maximum <= 0 || m_label.empty())
        return;
    const int percent = static_cast<int>(100LL * std::max(0, m_position) / m_maximum);
    if (percent == m_percent)
        return;
    m_percent = percent;
    m_err << '\r' << m_label << "  " << std::min(percent, 100) << '%' << std::flush;
}

void CliPrompts::message(const std::string& text) {
    // The window's advice to press F10 means running the command again here.
    if (text == kMsgImageReadFailed)
        m_err << kProgramName
              << ": The ECU memory could not be read. Check the cable and run the command again.\n";
    else
        m_err << kProgramName << ": " << text << '\n';
}

Answer CliPrompts::askOkCancel(const OkCancelBox& box) {
    if (box.warning)
        return Answer::Ok;
    m_err << kProgramName << ": " << (box.title.empty() ? "" : box.title + ": ") << box.text
          << '\n';
    return Answer::Cancel;
}

std::optional<FileAnswer> CliPrompts::askOpenFile(const FileQuestion&) {
    if (!m_openPath)
        return std::nullopt;
    return FileAnswer{*m_openPath, 0};
}

ControllerSession::ControllerSession(const SettingsFile& settings, int onlyPort,
                                     CliPrompts& prompts, TerminalProgress& progress,
                                     Consent consent, PauseClock* pauses)
    : m_prompts(prompts),
      m_progress(progress),
      m_consent(std::move(consent)),
      m_systemPort(makeSerialPort(PortMap(portDevices(settings)))),
      m_port(*m_systemPort, onlyPort),
      m_clock(pauses != nullptr ? *pauses : m_sleep),
      m_link(m_port, m_clock, m_state),
      m_commands(m_link),
      m_transfer(m_commands, m_state, m_image, m_prompts) {}

ControllerSession::~ControllerSession() {
    m_link.close();
}

ScanOutcome ControllerSession::connect() {
    ConnectionScan scan(m_commands, m_state, m_image, m_prompts, *this);
    const ScanOutcome outcome = scan.scan();
    m_portProblems = scan.portProblems();
    // No controls to show the image in first.
    if (outcome == ScanOutcome::Connected)
        scan.goLive();
    return outcome;
}

bool ControllerSession::readImage() {
    m_progress.begin("reading ECU memory");
    const bool read = m_transfer.readImage(m_progress);
    m_progress.end();
    return read;
}

bool ControllerSession::consentToConfirm(std::uint8_t softwareRevision) {
    return !m_consent || m_consent(softwareRevision);
}

}  // namespace kaldor::cli
