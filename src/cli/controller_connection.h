#pragma once
// What the controller commands share: the settings file, the connection to the controller with
// its history kept, the PIN option and the read-back after a write.
#include <memory>
#include <optional>
#include <string>

#include "cli/command_context.h"
#include "cli/controller_session.h"
#include "files/settings_file.h"
#include "service/history_recorder.h"

namespace kaldor::cli {

// The settings file named by --settings (which must exist) or kaldor.INI beside the program;
// `status` says why not otherwise.
[[nodiscard]] std::unique_ptr<SettingsFile> loadSettings(const CommandContext& c, int& status);

// Everything a controller command needs, connected; `status` says why not otherwise.
struct Connection {
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<CliPrompts> prompts;
    std::unique_ptr<TerminalProgress> progress;
    std::unique_ptr<ControllerSession> session;
    // The controller's history: the memory read at connection is in it once connected.
    std::unique_ptr<HistoryRecorder> history;
    int status = kExitOk;
};

[[nodiscard]] Connection connect(const CommandContext& c);

// The four digits of --pin; nothing for any other text.
[[nodiscard]] std::optional<PinDigits> pinDigits(const std::string& text);

// The --pin option of a command that writes: `pin` holds its digits (nothing without the option);
// kExitUsage after the message when it is not four digits, else kExitOk.
[[nodiscard]] int readPinOption(const CommandContext& c, std::optional<PinDigits>& pin);

// The CLI can not unlock an ECU with a PIN; it writes to one only when told the PIN. kExitOk
// when the connected ECU may be written, else kExitFailed after saying why.
[[nodiscard]] int checkPinBeforeWriting(const CommandContext& c, Connection& k,
                                        const std::optional<PinDigits>& pin);

// Reads back what was written; the differences go to stderr.
[[nodiscard]] int verifyWrite(const CommandContext& c, Connection& k);

}  // namespace kaldor::cli
