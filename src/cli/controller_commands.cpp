// The commands that talk to the controller (and `ports`, which shows where they would look).
#include <istream>
#include <memory>

#include "cli/command_context.h"
#include "cli/controller_connection.h"
#include "cli/controller_session.h"
#include "files/config_file.h"
#include "files/settings_file.h"
#include "files/settings_location.h"
#include "link/port_problems.h"
#include "link/serial_port_factory.h"
#include "model/parameter_edits.h"
#include "service/broken_write.h"
#include "service/config_transfer.h"
#include "service/ecu_verify.h"
#include "service/image_diff.h"

namespace kaldor::cli {
namespace {

// The captions a load's confirmation would show; the command line is the confirmation.
constexpr const char* kLoadToEcuCaption = "load to ECU";
constexpr const char* kLoadMapCaption = "LoadMap";
constexpr std::size_t kPinDigits = 4;

// "present", "absent", or "present, not usable: " and why. Only what the device's file tells
// (no permission for this user): the port is not opened, so a device another program holds
// shows as present, and F10 or a controller command says it is busy.
std::string usability(int number, const std::string& device) {
    const PortOpenResult why = checkSerialDevice(device);
    if (why.ok())
        return "present";
    if (why.error == PortOpenError::NoSuchDevice)
        return "absent";
    const std::vector<std::string> lines = portProblemLines({{number, why}});
    std::string reason = lines.empty() ? reasonText(why) : lines.front();
    // The line starts with the port and the device, which the row shows already.
    if (const std::size_t colon = reason.find("): "); !lines.empty() && colon != std::string::npos)
        reason.erase(0, colon + 3);
    return "present, not usable: " + reason;
}

}  // namespace

std::unique_ptr<SettingsFile> loadSettings(const CommandContext& c, int& status) {
    const std::optional<std::string> named = c.args.value("--settings");
    // Without --settings, where the window keeps its settings: beside the program, or the user's
    // own file over the one beside an installed program.
    const SettingsLocation location =
        named ? SettingsLocation{*named, {}}
              : locateSettings(c.environment.programFolder, kSettingsFileName);
    const std::string& path = location.file;
    auto settings = std::make_unique<SettingsFile>(path, location.fallback);
    settings->load();
    status = kExitOk;
    if (named && settings->state() == SettingsFile::State::Missing)
        status = c.fail("settings file \"" + path + "\" not found");
    else if (settings->state() == SettingsFile::State::Unreadable)
        status = c.fail("\"" + path + "\" is not a settings file");
    return settings;
}

namespace {

// 0 (every port) without --port; -1 for a value that is not a port number.
int portOption(const CommandContext& c) {
    const std::optional<std::string> text = c.args.value("--port");
    if (!text)
        return 0;
    return parsePortNumber(*text).value_or(-1);
}

std::string portsText(int onlyPort) {
    return onlyPort == 0 ? "COM" + std::to_string(kFirstPort) + "-COM" + std::to_string(kLastPort)
                         : "COM" + std::to_string(onlyPort);
}

// Revision 11: --yes, or a "y" typed at the terminal. Without either there is nobody to ask.
ControllerSession::Consent consentFrom(const CommandContext& c) {
    return [&c](std::uint8_t software) {
        if (c.args.has("--yes"))
            return true;
        const Environment& env = c.environment;
        if (!env.inputIsTerminal || env.input == nullptr) {
            c.fail("the ECU reports software revision " + std::to_string(software) +
                   ", whose identity is confirmed only on request: run again with --yes");
            return false;
        }
        c.err << "The ECU reports software revision " << static_cast<int>(software)
              << ". Confirm its identity and go on? [y/N] " << std::flush;
        std::string answer;
        std::getline(*env.input, answer);
        if (answer == "y" || answer == "Y" || answer == "yes")
            return true;
        c.fail("not confirmed; nothing was done");
        return false;
    };
}

}  // namespace

Connection connect(const CommandContext& c) {
    Connection k;
    const int port = portOption(c);
    if (port < 0) {
        k.status = c.fail("--port takes a number from 1 to 16", kExitUsage);
        return k;
    }
    k.settings = loadSettings(c, k.status);
    if (k.status != kExitOk)
        return k;
    k.prompts = std::make_unique<CliPrompts>(c.err);
    k.progress = std::make_unique<TerminalProgress>(c.err, c.environment.errorIsTerminal);
    k.session = std::make_unique<ControllerSession>(*k.settings, port, *k.prompts, *k.progress,
                                                    consentFrom(c), c.environment.pauses);
    k.history = std::make_unique<HistoryRecorder>(k.session->state(), k.session->image());
    k.history->configure(readHistorySettings(*k.settings), [&c](const std::string& text) {
        c.err << kProgramName << ": " << text << '\n';
    });
    const ScanOutcome outcome = k.session->connect();
    if (outcome == ScanOutcome::Connected)
        k.history->record(kHistoryConnected);
    if (outcome == ScanOutcome::NotFound) {
        // A port that could not be opened is said as such, not as a silent controller.
        const std::vector<std::string> problems = portProblemLines(k.session->portProblems());
        if (problems.empty()) {
            k.status = c.fail("no ECU answered on " + portsText(port));
        } else {
            k.status = c.fail("no ECU found on " + portsText(port) + "; not opened:");
            for (const std::string& line : problems)
                c.err << "  " << line << '\n';
        }
    } else if (outcome != ScanOutcome::Connected)
        k.status = kExitFailed;  // the scan has said why
    return k;
}

std::optional<PinDigits> pinDigits(const std::string& text) {
    if (text.size() != kPinDigits)
        return std::nullopt;
    PinDigits digits{};
    for (std::size_t i = 0; i < kPinDigits; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        digits[i] = text[i] - '0';
    }
    return digits;
}

int readPinOption(const CommandContext& c, std::optional<PinDigits>& pin) {
    pin.reset();
    if (const auto text = c.args.value("--pin")) {
        pin = pinDigits(*text);
        if (!pin)
            return c.fail("--pin takes four digits", kExitUsage);
    }
    return kExitOk;
}

int checkPinBeforeWriting(const CommandContext& c, Connection& k,
                          const std::optional<PinDigits>& pin) {
    ControllerSession& s = *k.session;
    s.prompts().setPin(pin);
    if (checkControllerPin(s.image(), s.prompts()) != PinCheckOutcome::Refused)
        return kExitOk;
    return c.fail(pin ? "ERROR PASS: the PIN does not match the ECU's; nothing was written"
                      : "the ECU is protected by a PIN: give it with --pin DDDD; nothing "
                        "was written");
}

int verifyWrite(const CommandContext& c, Connection& k) {
    NoTimer timer;
    EcuVerifier verifier(k.session->commands(), k.session->state(), k.session->image());
    k.progress->begin("verifying");
    const VerifyReport report = verifier.verify(*k.progress, timer);
    k.progress->end();
    if (!report.matches()) {
        c.fail(report.message);
        if (!report.diff.writableMatch())
            c.err << diffText(report.diff, "written", "ECU");
        return kExitFailed;
    }
    c.out << report.message << '\n';
    return kExitOk;
}

int portsCommand(const CommandContext& c) {
    int status = kExitOk;
    const std::unique_ptr<SettingsFile> settings = loadSettings(c, status);
    if (status != kExitOk)
        return status;
    const PortMap map(portDevices(*settings));
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const std::string device = map.deviceName(n);
        std::string number = "COM" + std::to_string(n);
        number.resize(6, ' ');
        std::string shown = device;
        if (shown.size() < 20)
            shown.resize(20, ' ');
        c.out << number << shown << "  " << usability(n, device) << '\n';
    }
    return kExitOk;
}

int identifyCommand(const CommandContext& c) {
    Connection k = connect(c);
    if (k.status != kExitOk)
        return k.status;
    const ConnectionState& state = k.session->state();
    c.out << "hardware: " << static_cast<int>(state.hardwareRevision) << '\n'
          << "software: " << static_cast<int>(state.softwareRevision) << '\n'
          << "serial: " << readField(k.session->image(), FieldId::ControllerSerialNumber) << '\n'
          << "port: " << state.portNumber << '\n';
    return kExitOk;
}

int readCommand(const CommandContext& c) {
    const std::optional<std::string> path = c.args.value("-o");
    if (!path || path->empty())
        return c.fail("read needs -o FILE", kExitUsage);
    Connection k = connect(c);
    if (k.status != kExitOk)
        return k.status;
    EcuImage& image = k.session->image();
    // As the window saves: an ECU below revision 3 lacks those features, so the file does too.
    if (k.session->state().softwareRevision < 3)
        ClearRevision3Features(image);
    const std::string error = writeConfigFile(*path, image);
    if (!error.empty())
        return c.fail(error);
    if (k.session->state().controllerPin != 0)
        c.err << kProgramName << ": the ECU is protected by a PIN; the file holds none\n";
    c.out << "ECU memory of COM" << k.session->state().portNumber << " saved to " << *path << '\n';
    return kExitOk;
}

int writeCommand(const CommandContext& c) {
    const std::string& path = c.args.positional()[0];
    const bool mapsOnly = c.args.has("--maps-only");
    std::optional<PinDigits> pin;
    if (const int status = readPinOption(c, pin); status != kExitOk)
        return status;
    // The file first, so a wrong name costs no scan.
    const std::optional<ConfigFile> file = readConfigFile(path);
    if (!file)
        return c.fail("\"" + path + "\": " + std::string(kFileErrorText));
    if (!file->complete())
        return c.fail(wrongSizeMessage(path, file->size));

    Connection k = connect(c);
    if (k.status != kExitOk)
        return k.status;
    if (const int status = checkPinBeforeWriting(c, k, pin); status != kExitOk)
        return status;
    ControllerSession& s = *k.session;

    s.prompts().setOpenPath(path);
    ConfigTransfer transfer(s.transfer(), s.state(), s.image(), s.prompts(), "", k.history.get());
    NoTimer timer;
    k.progress->begin(mapsOnly ? "writing the maps" : "writing ECU memory");
    const bool loaded =
        mapsOnly ? transfer.loadMap(kLoadMapCaption, kNoConnectionMessage, *k.progress, timer)
                 : transfer.loadToEcu(kLoadToEcuCaption, kNoConnectionMessage, *k.progress, timer);
    // No controls to show the image in between.
    const WriteRun written = loaded ? transfer.finishLoad(*k.progress, timer) : WriteRun{};
    k.progress->end();
    if (!loaded)
        return kExitFailed;  // the load has said why
    // A write that did not finish is never called written, with or without --verify.
    if (written.refused())
        return c.fail(brokenWriteMessage(written, kAdviceRunWriteAgain));
    if (!written.complete())
        return kExitFailed;  // no connection, and the load has said so
    c.out << (mapsOnly ? "Maps of " : "") << path << " written to the ECU on COM"
          << s.state().portNumber << '\n';
    return c.args.has("--verify") ? verifyWrite(c, k) : kExitOk;
}

}  // namespace kaldor::cli
