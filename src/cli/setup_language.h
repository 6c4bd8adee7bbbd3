#pragma once
// The language kaldor-cli describes a set-up in: named on the command line, or the one the
// window would load from the working folder.
#include <optional>
#include <string>
#include <string_view>

#include "cli/arguments.h"
#include "cli/command_context.h"
#include "files/languages.h"
#include "service/setup_description.h"

namespace kaldor::cli {

inline constexpr OptionSpec kLanguageOption{"--language", true};

// The texts the set-up is described in: the language --language names (its code, its file name
// with or without extension, or its menu caption; case-insensitive), else the language chosen in
// the working folder's "lan.txt" as the window would load it, else the built-in texts. False, with
// a message in `error`, when the option names no language or its file cannot be read.
[[nodiscard]] bool chosenSetupTexts(const Arguments& arguments, const std::string& programFolder,
                                    SetupTexts& texts, std::string& error);

// chosenSetupTexts for a command: nothing when the texts are chosen, else the status to exit with
// after the message (bad usage for a name that is no language, failure for a file not read).
[[nodiscard]] std::optional<int> chooseSetupTexts(const CommandContext& c, SetupTexts& texts);

// The language a --language value names, or nullptr.
[[nodiscard]] const LanguageDef* namedLanguage(std::string_view name);

}  // namespace kaldor::cli
