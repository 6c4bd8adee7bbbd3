#pragma once
// "compare with file...": the PC image against a configuration file, and two files against each
// other for the command line, as lists of differences.
#include <optional>
#include <string>

#include "model/ecu_image.h"
#include "model/prompts.h"
#include "service/image_diff.h"

namespace kaldor {

struct FileComparison {
    std::optional<ImageDiff> diff;  // nothing when a file could not be read
    // Why not, or what was left out of the comparison (the tail of a short file); else empty.
    std::string message;
};

// The PC image first, the file second. A short file is compared over the bytes it holds: the
// rest is what a load would leave, the PC's own.
[[nodiscard]] FileComparison compareWithFile(const EcuImage& pc, const std::string& path);

// The window's command: the open dialog of "load to ECU" (starting in `initialFolder`), then the
// comparison. Nothing when the dialog was cancelled.
[[nodiscard]] std::optional<FileComparison> compareWithChosenFile(const EcuImage& pc,
                                                                  Prompts& prompts,
                                                                  const std::string& initialFolder);

// Two saved files, compared over the bytes both hold.
[[nodiscard]] FileComparison compareFiles(const std::string& firstPath,
                                          const std::string& secondPath);

}  // namespace kaldor
