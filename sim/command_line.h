// The options of the ecu-sim program.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "virtual_controller.h"

namespace kaldor::sim {

struct CommandLine {
    VirtualController::Options options;
    std::string imagePath;  // loaded by the program into options.image
    std::string dumpPath;   // parameter memory written here at exit
    bool help = false;
};

struct ParsedCommandLine {
    std::optional<CommandLine> commandLine;
    std::string error;  // set when commandLine is empty
};

// `args` without the program name. Accepts "--name value" and "--name=value".
[[nodiscard]] ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);

[[nodiscard]] std::string usageText();

// A start image must be exactly 768 bytes; anything else is refused with a message in `error`.
[[nodiscard]] std::optional<ParameterImage> loadImageFile(const std::string& path,
                                                          std::string& error);
[[nodiscard]] bool saveImageFile(const std::string& path, const ParameterImage& image,
                                 std::string& error);

}  // namespace kaldor::sim
