#pragma once
// The controller behind a command: the real serial port through the port map of the settings
// file, the link, the connection scan with its image read, and what the core asks of a user
// (messages, the PIN, the progress bar) answered on the terminal's streams.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "files/settings_file.h"
#include "link/commands.h"
#include "link/connection_scan.h"
#include "link/image_transfer.h"
#include "link/port_map.h"
#include "link/serial_link.h"
#include "model/prompts.h"

namespace kaldor::cli {

// A progress line on stderr ("reading ECU memory  42%"), only when stderr is a terminal.
class TerminalProgress final : public ProgressSink {
public:
    TerminalProgress(std::ostream& err, bool shown) : m_err(err), m_shown(shown) {}
    void begin(const std::string& label);
    void end();
    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    [[nodiscard]] int position() const override { return m_position; }
    [[nodiscard]] int maximum() const override { return m_maximum; }

private:
    void show();

    std::ostream& m_err;
    bool m_shown;
    std::string m_label;
    int m_position = 0;
    int m_maximum = 100;
    int m_percent = -1;
};

// Nothing polls the controller here, so there is no timer to stop.
class NoTimer final : public TimerSwitch {
public:
    void setTimerEnabled(bool) override {}
};

// The core's questions answered from the command line: every message goes to stderr, the PIN is
// the one given with --pin, the open dialog answers with the file named on the command line, and
// a load's confirmation box (a warning) is answered by having typed the command. Any other box
// is told and cancelled.
class CliPrompts final : public Prompts {
public:
    explicit CliPrompts(std::ostream& err) : m_err(err) {}
    void message(const std::string& text) override;
    std::optional<PinDigits> askPin() override { return m_pin; }
    Answer askOkCancel(const OkCancelBox& box) override;
    std::optional<FileAnswer> askOpenFile(const FileQuestion& question) override;

    void setPin(std::optional<PinDigits> pin) { m_pin = pin; }
    void setOpenPath(std::string path) { m_openPath = std::move(path); }

private:
    std::ostream& m_err;
    std::optional<PinDigits> m_pin;
    std::optional<std::string> m_openPath;
};

// A port seam that opens only one port number (0: every port), so the scan asks that port alone.
class OnePort final : public SerialPort {
public:
    OnePort(SerialPort& port, int only) : m_port(port), m_only(only) {}
    [[nodiscard]] bool open(int number) override {
        m_asked = m_only == 0 || number == m_only;
        return m_asked && m_port.open(number);
    }
    [[nodiscard]] PortOpenResult lastOpenResult() const override {
        return m_asked ? m_port.lastOpenResult() : PortOpenResult{};
    }
    void close() override { m_port.close(); }
    void setRts(bool high) override { m_port.setRts(high); }
    [[nodiscard]] bool write(const std::uint8_t* data, std::size_t count) override {
        return m_port.write(data, count);
    }
    void waitTransmitEmpty() override { m_port.waitTransmitEmpty(); }
    void drain() override { m_port.drain(); }
    [[nodiscard]] std::size_t queuedCount() override { return m_port.queuedCount(); }
    [[nodiscard]] std::size_t readQueued(std::uint8_t* destination, std::size_t maximum) override {
        return m_port.readQueued(destination, maximum);
    }

private:
    SerialPort& m_port;
    int m_only;
    bool m_asked = false;
};

class ControllerSession final : private ScanHooks {
public:
    // Asked at software revision 11 whether to go on and confirm the identity.
    using Consent = std::function<bool(std::uint8_t softwareRevision)>;

    // Without `pauses`, the protocol's pauses are real sleeps.
    ControllerSession(const SettingsFile& settings, int onlyPort, CliPrompts& prompts,
                      TerminalProgress& progress, Consent consent, PauseClock* pauses = nullptr);
    ~ControllerSession() override;
    ControllerSession(const ControllerSession&) = delete;
    ControllerSession& operator=(const ControllerSession&) = delete;

    // The scan with the image read; on Connected the image mirrors the controller.
    [[nodiscard]] ScanOutcome connect();
    // The ports the last connect() could not open, and why.
    [[nodiscard]] const std::vector<PortProblem>& portProblems() const { return m_portProblems; }

    [[nodiscard]] ConnectionState& state() { return m_state; }
    [[nodiscard]] EcuImage& image() { return m_image; }
    [[nodiscard]] CommandSet& commands() { return m_commands; }
    [[nodiscard]] ImageTransfer& transfer() { return m_transfer; }
    [[nodiscard]] CliPrompts& prompts() { return m_prompts; }

private:
    void setWindowTitle(const std::string&) override {}
    void appendConnectCaption(const std::string&) override {}
    [[nodiscard]] bool readImage() override;
    [[nodiscard]] bool consentToConfirm(std::uint8_t softwareRevision) override;

    CliPrompts& m_prompts;
    TerminalProgress& m_progress;
    Consent m_consent;
    std::unique_ptr<SerialPort> m_systemPort;
    OnePort m_port;
    SleepClock m_sleep;
    PauseClock& m_clock;
    ConnectionState m_state;
    SerialLink m_link;
    std::vector<PortProblem> m_portProblems;
    CommandSet m_commands;
    EcuImage m_image;
    ImageTransfer m_transfer;
};

}  // namespace kaldor::cli
