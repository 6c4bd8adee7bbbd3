#include "cli/cli.h"

#include <array>
#include <ostream>
#include <string_view>

#include "cli/command_context.h"
#include "cli/setup_language.h"
#include "link/connection_scan.h"

namespace kaldor::cli {
namespace {

using Handler = int (*)(const CommandContext&);

struct CommandDef {
    std::string_view name;
    std::vector<OptionSpec> options;
    std::size_t minWords;  // positional words
    std::size_t maxWords;
    Handler handler;
    std::string_view usage;
};

constexpr OptionSpec kHelp{"--help", false};
constexpr OptionSpec kSettings{"--settings", true};
constexpr OptionSpec kPort{"--port", true};
constexpr OptionSpec kYes{"--yes", false};
constexpr OptionSpec kJson{"--json", false};
constexpr OptionSpec kOutput{"-o", true};

const std::array<CommandDef, 10>& commands() {
    static const std::array<CommandDef, 10> table{{
        {"ports",
         {kHelp, kSettings},
         0,
         0,
         portsCommand,
         "ports [--settings FILE]\n"
         "    The port numbers 1-16, the device each maps to and whether it exists\n"
         "    and this user may open it."},
        {"identify",
         {kHelp, kSettings, kPort, kYes},
         0,
         0,
         identifyCommand,
         "identify [--port N] [--yes] [--settings FILE]\n"
         "    Finds the ECU (on port N only, if given) and prints its hardware and software\n"
         "    revision, serial number and port."},
        {"read",
         {kHelp, kSettings, kPort, kYes, kOutput},
         0,
         0,
         readCommand,
         "read [--port N] -o FILE [--yes] [--settings FILE]\n"
         "    Reads the ECU memory and saves it as a configuration file (never with a PIN)."},
        {"write",
         {kHelp,
          kSettings,
          kPort,
          kYes,
          {"--maps-only", false},
          {"--verify", false},
          {"--pin", true}},
         1,
         1,
         writeCommand,
         "write [--port N] FILE [--maps-only] [--verify] [--pin DDDD] [--yes] [--settings FILE]\n"
         "    Loads a configuration file into the ECU, keeping its serial number and PIN\n"
         "    (--maps-only: the main map, its axes and type, the cruise map and the rpm signal\n"
         "    type only). --verify reads the memory back and fails on a difference. An ECU with\n"
         "    a PIN takes the file only with --pin and its four digits."},
        {"show",
         {kHelp, kJson, kLanguageOption},
         1,
         1,
         showCommand,
         "show FILE [--json] [--language NAME]\n"
         "    Every setting of a configuration file under its page's caption, with its value\n"
         "    as the page shows it, the main map as a grid, the other maps cell by cell and\n"
         "    what no page shows apart."},
        {"diff",
         {kHelp, kJson, kLanguageOption},
         2,
         2,
         diffCommand,
         "diff A B [--json] [--language NAME]\n"
         "    The differences between two configuration files; exit status 0 when they are\n"
         "    equal, 1 when they differ."},
        {"history",
         {kHelp,
          kSettings,
          kPort,
          kYes,
          kJson,
          kLanguageOption,
          {"--serial", true},
          {"--ecu", false},
          {"--verify", false},
          {"--pin", true}},
         0,
         3,
         historyCommand,
         "history [--serial N] [--json] [--settings FILE]\n"
         "    The entries kept of every ECU (of ECU N only), newest first: id, time, revisions,\n"
         "    program version and what happened. The memory is kept by itself at every\n"
         "    connection and before every command that overwrites it.\n"
         "  history show ID [--serial N] [--json] [--language NAME]\n"
         "    The entry as 'show' shows a file, headed by its time and what happened.\n"
         "  history diff ID [FILE | --ecu [--port N] [--yes]] [--serial N] [--language NAME]\n"
         "    The entry against a configuration file, the ECU's memory, or without either the\n"
         "    entry before it; exit status 0 when equal, 1 when they differ.\n"
         "  history restore ID [--port N] [--verify] [--pin DDDD] [--yes] [--serial N]\n"
         "    Writes the entry to the ECU as 'write' does, keeping the ECU's serial number and\n"
         "    PIN; what the ECU held before goes into its history first."},
        {"report",
         {kHelp,
          kSettings,
          kPort,
          kYes,
          kOutput,
          {"--ecu", false},
          kLanguageOption,
          {"--paper", true},
          {"--vehicle", true},
          {"--registration", true},
          {"--odometer", true},
          {"--installer", true},
          {"--workshop", true}},
         0,
         1,
         reportCommand,
         "report [FILE | --ecu [--port N] [--yes]] -o OUT.pdf|OUT.html [--language NAME]\n"
         "       [--paper a4|letter] [--vehicle TEXT] [--registration TEXT] [--odometer TEXT]\n"
         "       [--installer TEXT] [--workshop TEXT] [--settings FILE]\n"
         "    The set-up report for the customer: controller, vehicle and installer, the\n"
         "    changes from the factory settings, the error memory, every setting and the maps.\n"
         "    --ecu reads the ECU's memory, revisions and error memory; a FILE has neither\n"
         "    revisions nor error memory. The fields not given are those the window\n"
         "    remembered (the vehicle's per serial number). The format follows OUT's extension."},
        {"log2csv",
         {kHelp, kOutput, {"--rpm-type", true}},
         1,
         1,
         log2csvCommand,
         "log2csv demo.log [-o FILE] [--rpm-type N]\n"
         "    The logged records as CSV, on standard output without -o. N is the rpm signal\n"
         "    type (0-24) that turns the period into rpm; 0 by default."},
        {"cells",
         {kHelp,
          kSettings,
          kPort,
          kYes,
          kJson,
          {"--setup", true},
          {"--ecu", false},
          {"--signal", true},
          {"--signals", false}},
         0,
         1,
         cellsCommand,
         "cells RECORDING [--setup FILE | --ecu [--port N] [--yes]] [--signal NAME] [--json]\n"
         "    Where the drive of a recording (demo.log or its CSV export) ran on the main map:\n"
         "    each cell the engine used with its time and records, and with --signal the\n"
         "    count, minimum, mean and maximum of that live signal there, in the unit the\n"
         "    live pages show. The main map's type and axes come from the configuration FILE,\n"
         "    the connected ECU, or else the factory defaults. Records with the engine\n"
         "    stopped are counted apart.\n"
         "  cells --signals [--json]\n"
         "    The names --signal takes."},
    }};
    return table;
}

void printHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " COMMAND [OPTIONS]\n\n"
        << "The KALDOR DIESEL service tool without its window. Options may also stand before the\n"
        << "command.\n\nCommands:\n";
    for (const CommandDef& c : commands())
        out << "  " << c.usage << "\n";
    out << "\nPorts are numbered 1-16; the [Ports] section of the settings file maps a number to\n"
        << "a device (COM1=/dev/ttyUSB0). The settings file is " << kSettingsFileName
        << " beside the program unless\n--settings names another. At ECU software revision 11 "
        << "the ECU's identity is confirmed\nonly after a question on the terminal, or with "
        << "--yes.\n\nThe controller history is kept in $XDG_DATA_HOME/kaldor/history (or\n"
        << "~/.local/share/kaldor/history); [History] Folder= in the settings file moves it,\n"
        << "Enabled=0 turns it off.\n\nshow and diff name the settings in the language --language "
           "names\n"
        << "(its code, file name or menu caption, e.g. 2, pol or Polish), else in the one the\n"
        << "window would load from lan.txt in the working folder, else in the built-in texts.\n"
        << "\nExit status: 0 success, 1 failed operation (diff: the files "
           "differ), "
        << "2 bad usage.\n";
}

// An option of some command that takes its value as the next word ("--port 3", not "--port=3").
bool takesSeparateValue(const std::string& word) {
    if (word.find('=') != std::string::npos)
        return false;
    for (const CommandDef& c : commands())
        for (const OptionSpec& option : c.options)
            if (option.takesValue && option.name == word)
                return true;
    return false;
}

// Options may stand before the command too ("--settings my.INI identify"): the command is the
// first word that is neither an option nor an option's value.
std::size_t commandAt(const std::vector<std::string>& words) {
    std::size_t at = 0;
    while (at < words.size() && words[at].size() > 1 && words[at][0] == '-' && words[at] != "--")
        at += takesSeparateValue(words[at]) ? 2 : 1;
    return at;
}

int usageError(std::ostream& err, const std::string& message, const CommandDef* command) {
    err << kProgramName << ": " << message << "\n";
    if (command != nullptr)
        err << "Usage: " << kProgramName << " " << command->usage << "\n";
    else
        err << "Try '" << kProgramName << " --help'.\n";
    return kExitUsage;
}

}  // namespace

bool laysOutPages(const std::vector<std::string>& words) {
    const std::size_t at = commandAt(words);
    return at < words.size() && words[at] == "report";
}

int run(const std::vector<std::string>& words, const Environment& environment, std::ostream& out,
        std::ostream& err) {
    if (words.empty())
        return usageError(err, "no command given", nullptr);
    const std::string& first = words.front();
    if (first == "--help" || first == "-h" || first == "help") {
        printHelp(out);
        return kExitOk;
    }
    if (first == "--version") {
        out << kProgramName << kVersionText << "\n";
        return kExitOk;
    }
    // The command's own option list judges every option, wherever it stood.
    const std::size_t at = commandAt(words);
    if (at >= words.size())
        return usageError(err, "no command given", nullptr);
    const std::string& name = words[at];
    const CommandDef* command = nullptr;
    for (const CommandDef& c : commands())
        if (c.name == name)
            command = &c;
    if (command == nullptr)
        return usageError(err, "unknown command '" + name + "'", nullptr);

    std::vector<std::string> rest(words.begin(), words.begin() + static_cast<long>(at));
    rest.insert(rest.end(), words.begin() + static_cast<long>(at) + 1, words.end());
    const ParsedArguments parsed = parseArguments(rest, command->options);
    if (parsed.arguments.has("--help")) {
        out << "Usage: " << kProgramName << " " << command->usage << "\n";
        return kExitOk;
    }
    if (!parsed.error.empty())
        return usageError(err, parsed.error, command);
    const std::size_t n = parsed.arguments.positional().size();
    if (n < command->minWords)
        return usageError(err, "missing argument", command);
    if (n > command->maxWords)
        return usageError(err, "unexpected argument '" + parsed.arguments.positional().back() + "'",
                          command);
    const CommandContext context{parsed.arguments, environment, out, err};
    return command->handler(context);
}

}  // namespace kaldor::cli
