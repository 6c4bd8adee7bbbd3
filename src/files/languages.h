#pragma once
// The languages the program knows: the one-byte choice kept in "lan.txt", the table from that
// code to the language file, font and menu item, and where the language files are found.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kaldor {

inline constexpr int kLanguageCount = 15;
inline constexpr int kLanguageMenuCount = 13;
// A missing choice file means English.
inline constexpr std::uint8_t kDefaultLanguageCode = 1;
inline constexpr std::string_view kLanguageChoiceFile = "lan.txt";
inline constexpr std::string_view kLanguageFolder = "lang";
inline constexpr std::string_view kCalibriFamily = "Calibri";
// Beside the executable; registered for Thai, whose family is Calibri.
inline constexpr std::array<std::string_view, 4> kCalibriFontFiles = {
    "font/CALIBRI.TTF", "font/CALIBRIB.TTF", "font/CALIBRII.TTF", "font/CALIBRIZ.TTF"};

struct LanguageDef {
    std::uint8_t code;             // the byte in "lan.txt"
    std::string_view fileName;     // inside the "lang" folder
    int charset;                   // the platform's font character-set id
    std::string_view fontFamily;   // "Arial" or "Calibri"
    std::string_view menuItem;     // objectName of the language1 item; empty when none
    std::string_view menuCaption;  // built-in caption of that item
    int codePage;                  // of the file's 8-bit texts
};

// In code order; codes 7 and 8 have files but no menu item, code 13 does not exist.
[[nodiscard]] const std::array<LanguageDef, kLanguageCount>& languages();
// The language of a code, or nullptr for 0, 13 and codes above 16 (which select nothing).
[[nodiscard]] const LanguageDef* findLanguage(int code);
// Codes of the language1 items, top to bottom.
[[nodiscard]] const std::array<std::uint8_t, kLanguageMenuCount>& languageMenuOrder();
[[nodiscard]] inline bool usesCalibri(const LanguageDef& language) {
    return language.fontFamily == kCalibriFamily;
}

// The first byte of "lan.txt" in baseFolder: the byte is the code itself, not a digit. A file
// that cannot be opened gives kDefaultLanguageCode; an empty one gives nothing.
[[nodiscard]] std::optional<std::uint8_t> readLanguageChoice(const std::string& baseFolder);
// Overwrites the first byte of "lan.txt" in baseFolder, keeping the rest of the file. A missing
// file is not created (the choice is then not remembered); false when nothing was written.
[[nodiscard]] bool writeLanguageChoice(const std::string& baseFolder, std::uint8_t code);

// The language file to read: "lang/<file>" in baseFolder when it is there, otherwise beside
// the executable in programFolder, otherwise in the installed data folder (../share/kaldor from
// programFolder), so the shipped translations work from any working folder and once installed.
[[nodiscard]] std::optional<std::string> findLanguageFile(const std::string& baseFolder,
                                                          const std::string& programFolder,
                                                          const LanguageDef& language);
// Every one of those that exists, in that order: the first is read, the later ones are the
// shipped files that stand in when it cannot be.
[[nodiscard]] std::vector<std::string> languageFiles(const std::string& baseFolder,
                                                     const std::string& programFolder,
                                                     const LanguageDef& language);

}  // namespace kaldor
