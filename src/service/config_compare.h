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
    // Nothing when a file could not be read or is not exactly 768 bytes: a file a load would
    // refuse is no configuration to compare with.
    std::optional<ImageDiff> diff;
    std::string message;  // why not; else empty
};

// The PC image first, the file second.
// Entries are named in the given language's texts.
[[nodiscard]] FileComparison compareWithFile(const EcuImage& pc, const std::string& path,
                                             const SetupTexts& texts = {});

// The window's command: the open dialog of "load to ECU" (starting in `initialFolder`), then the
// comparison. Nothing when the dialog was cancelled.
[[nodiscard]] std::optional<FileComparison> compareWithChosenFile(const EcuImage& pc,
                                                                  Prompts& prompts,
                                                                  const std::string& initialFolder);

// Two saved files.
[[nodiscard]] FileComparison compareFiles(const std::string& firstPath,
                                          const std::string& secondPath,
                                          const SetupTexts& texts = {});

}  // namespace kaldor
