#pragma once
// What every command gets: its parsed words, the environment and the two streams.
#include <ostream>

#include "cli/arguments.h"
#include "cli/cli.h"

namespace kaldor::cli {

struct CommandContext {
    const Arguments& args;
    const Environment& environment;
    std::ostream& out;
    std::ostream& err;

    // A message on stderr, then the status to exit with.
    int fail(const std::string& message, int status = kExitFailed) const {
        err << kProgramName << ": " << message << '\n';
        return status;
    }
};

// File commands (no controller).
int showCommand(const CommandContext& c);
int diffCommand(const CommandContext& c);
int log2csvCommand(const CommandContext& c);
// Where a recording ran on the main map, cell by cell.
int cellsCommand(const CommandContext& c);
// Controller commands.
int portsCommand(const CommandContext& c);
int identifyCommand(const CommandContext& c);
int readCommand(const CommandContext& c);
int writeCommand(const CommandContext& c);
// The set-up report of a file or of the ECU.
int reportCommand(const CommandContext& c);
// The controller history: list, show, diff, restore.
int historyCommand(const CommandContext& c);

}  // namespace kaldor::cli
