#include "cli/setup_language.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <system_error>

#include "files/language_file.h"

namespace kaldor::cli {
namespace {

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view withoutExtension(std::string_view fileName) {
    return fileName.substr(0, fileName.rfind('.'));
}

// "English (1, ang)" for each language, for the message that lists what may be named.
std::string knownLanguages() {
    std::string list;
    for (const LanguageDef& language : languages()) {
        list += list.empty() ? "" : ", ";
        if (!language.menuCaption.empty())
            list += std::string(language.menuCaption) + " ";
        list += "(" + std::to_string(language.code) + ", " +
                std::string(withoutExtension(language.fileName)) + ")";
    }
    return list;
}

// The folder the program was started in: where the window looks for "lan.txt" and "lang".
std::string workingFolder() {
    std::error_code failed;
    const std::filesystem::path here = std::filesystem::current_path(failed);
    return failed ? std::string(".") : here.string();
}

}  // namespace

const LanguageDef* namedLanguage(std::string_view name) {
    if (!name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0;
        }))
        return name.size() <= 3 ? findLanguage(std::stoi(std::string(name))) : nullptr;
    for (const LanguageDef& language : languages()) {
        if (sameWord(name, language.fileName) ||
            sameWord(name, withoutExtension(language.fileName)) ||
            (!language.menuCaption.empty() && sameWord(name, language.menuCaption)))
            return &language;
    }
    return nullptr;
}

bool chosenSetupTexts(const Arguments& arguments, const std::string& programFolder,
                      SetupTexts& texts, std::string& error) {
    texts = {};
    const std::string baseFolder = workingFolder();
    if (const std::optional<std::string> name = arguments.value(kLanguageOption.name)) {
        const LanguageDef* language = namedLanguage(*name);
        if (language == nullptr) {
            error = "--language '" + *name + "' names no language; one of " + knownLanguages();
            return false;
        }
        const LanguageFile file = readLanguage(baseFolder, programFolder, *language);
        if (file.refused) {
            error = "the " + std::string(language->fileName) + " language file cannot be read" +
                    (file.error && *file.error != kLanguageFileError ? ": " + *file.error : "");
            return false;
        }
        texts = setupTexts(file);
        return true;
    }
    // As the window starts: an empty choice file, a code without a language or a language file
    // that cannot be read leave the built-in texts.
    const std::optional<std::uint8_t> code = readLanguageChoice(baseFolder);
    const LanguageDef* language = code ? findLanguage(*code) : nullptr;
    if (language != nullptr)
        texts = setupTexts(readLanguage(baseFolder, programFolder, *language));
    return true;
}

std::optional<int> chooseSetupTexts(const CommandContext& c, SetupTexts& texts) {
    std::string error;
    if (chosenSetupTexts(c.args, c.environment.programFolder, texts, error))
        return std::nullopt;
    const std::optional<std::string> name = c.args.value(kLanguageOption.name);
    return c.fail(error, name && namedLanguage(*name) == nullptr ? kExitUsage : kExitFailed);
}

}  // namespace kaldor::cli
