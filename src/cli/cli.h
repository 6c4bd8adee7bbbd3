#pragma once
// kaldor-cli: the service tool without a window, for workshops that script their work. One call
// runs one command line; everything it has to say goes to the two streams, so tests drive it as
// the program's main does.
#include <iosfwd>
#include <string>
#include <vector>

namespace kaldor {
class PauseClock;
}

namespace kaldor::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the operation did not succeed (or, for diff: differences)
inline constexpr int kExitUsage = 2;

inline constexpr const char* kProgramName = "kaldor-cli";
// The settings file the window uses, beside the executable: its [Ports] section maps COM numbers.
inline constexpr const char* kSettingsFileName = "kaldor.INI";

struct Environment {
    std::string programFolder;      // where kaldor.INI is looked for without --settings
    std::istream* input = nullptr;  // answers to questions
    bool inputIsTerminal = false;   // questions are asked only then
    bool errorIsTerminal = false;   // progress is shown only then
    PauseClock* pauses = nullptr;   // the protocol's pauses; without one, real sleeps
};

// `words` are the command line without the program name. Returns the exit status.
[[nodiscard]] int run(const std::vector<std::string>& words, const Environment& environment,
                      std::ostream& out, std::ostream& err);

// The command lays out pages (the report), which needs the fonts of a graphical application
// object rather than the plain one the other commands run with.
[[nodiscard]] bool laysOutPages(const std::vector<std::string>& words);

}  // namespace kaldor::cli
