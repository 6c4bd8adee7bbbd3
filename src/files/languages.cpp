#include "files/languages.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "files/data_folders.h"

namespace kaldor {
namespace {

namespace fs = std::filesystem;

// Character set 1 is the system's own 8-bit code page; Polish, Czech and Hungarian files were
// written on systems whose code page is the Central European one.
constexpr std::array<LanguageDef, kLanguageCount> kLanguages = {{
    {1, "ang.txt", 1, "Arial", "English1", "English", 1252},
    {2, "pol.txt", 1, "Arial", "Polish1", "Polish", 1250},
    {3, "rus.txt", 204, "Arial", "Russian1", "Russian", 1251},
    {4, "ita.txt", 1, "Arial", "Italian1", "Italiano", 1252},
    {5, "lit.txt", 186, "Arial", "Lithuania1", "Lithuanian", 1257},
    {6, "ger.txt", 1, "Arial", "German1", "German", 1252},
    {7, "ser.txt", 1, "Arial", "", "", 1252},
    {8, "chor.txt", 238, "Arial", "", "", 1250},
    {9, "spain.txt", 238, "Arial", "Spain1", "Spain", 1250},
    {10, "hung.txt", 1, "Arial", "Hungary1", "Hungary", 1250},
    {11, "czech.txt", 1, "Arial", "Czech1", "Czech", 1250},
    {12, "greece.txt", 161, "Arial", "Grece1", "Greece", 1253},
    {14, "thai.txt", 222, "Calibri", "Thai1", "Thai", 874},
    {15, "port.txt", 1, "Arial", "Portugal1", "Portuguese", 1252},
    {16, "hol.txt", 1, "Arial", "Dutch1", "Dutch", 1252},
}};

constexpr std::array<std::uint8_t, kLanguageMenuCount> kMenuOrder = {1,  2,  3,  14, 5,  6, 9,
                                                                     10, 11, 12, 15, 16, 4};

std::string joined(const std::string& folder, std::string_view name) {
    return (fs::path(folder) / fs::path(std::string(name))).string();
}

bool isFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

}  // namespace

const std::array<LanguageDef, kLanguageCount>& languages() {
    return kLanguages;
}

const LanguageDef* findLanguage(int code) {
    for (const LanguageDef& language : kLanguages) {
        if (language.code == code)
            return &language;
    }
    return nullptr;
}

const std::array<std::uint8_t, kLanguageMenuCount>& languageMenuOrder() {
    return kMenuOrder;
}

std::optional<std::uint8_t> readLanguageChoice(const std::string& baseFolder) {
    std::ifstream in(joined(baseFolder, kLanguageChoiceFile), std::ios::binary);
    if (!in.is_open())
        return kDefaultLanguageCode;
    char byte = 0;
    if (!in.get(byte))
        return std::nullopt;
    return static_cast<std::uint8_t>(byte);
}

bool writeLanguageChoice(const std::string& baseFolder, std::uint8_t code) {
    const std::string path = joined(baseFolder, kLanguageChoiceFile);
    // "r+b" opens an existing file for update and never creates one.
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file)
        return false;
    const bool written = std::fputc(code, file) != EOF;
    return std::fclose(file) == 0 && written;
}

std::optional<std::string> findLanguageFile(const std::string& baseFolder,
                                            const std::string& programFolder,
                                            const LanguageDef& language) {
    const std::vector<std::string> found = languageFiles(baseFolder, programFolder, language);
    if (found.empty())
        return std::nullopt;
    return found.front();
}

std::vector<std::string> languageFiles(const std::string& baseFolder,
                                       const std::string& programFolder,
                                       const LanguageDef& language) {
    const std::string installed = installedDataFolder(programFolder);
    std::vector<std::string> found;
    for (const std::string* folder : {&baseFolder, &programFolder, &installed}) {
        const std::string path = joined(joined(*folder, kLanguageFolder), language.fileName);
        // One folder given twice (the program started in its own folder) is one file.
        if (isFile(path) && std::find(found.begin(), found.end(), path) == found.end())
            found.push_back(path);
    }
    return found;
}

}  // namespace kaldor
