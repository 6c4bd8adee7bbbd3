#pragma once
// The window's language: at creation and from the language1 menu, the chosen language's texts
// are put on the window's captions, menu items, lists, error texts and status texts, and the
// fonts of the listed controls follow the language. Texts go on top of what the controls show:
// a text the file does not supply keeps the one shown before.
#include <QObject>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "files/language_file.h"
#include "files/languages.h"

class QAction;

namespace kaldor {

class MainWindow;
struct ControllerSession;

class WindowLanguage : public QObject {
    Q_OBJECT

public:
    // Adds the thirteen items of the language1 menu.
    WindowLanguage(MainWindow& window, ControllerSession& session);

    // Creation: the language "lan.txt" in the working folder names (English without the file).
    void loadChosen();
    // A language1 item: remembers the code in "lan.txt" when that file exists (it is never
    // created), then loads the language.
    void choose(std::uint8_t code);
    // Sets the fonts of a language and applies its file. A code without a language does
    // nothing; a file that cannot be read says "ERROR" and changes no text; a malformed id says
    // so and keeps the texts before it.
    void load(std::uint8_t code);
    // One entry: the id's target gets the text, then the list's selection rule when it has one.
    // Sends nothing.
    void apply(const LanguageEntry& entry);

    // True while the loaded language is the one whose font family is Calibri.
    [[nodiscard]] bool calibri() const { return m_calibri; }
    // The Calibri font files registered so far (found beside the executable).
    [[nodiscard]] int registeredFontFiles() const { return static_cast<int>(m_registered.size()); }

    // The family the listed controls take for a language: its own ("Arial", "Calibri") when
    // this desktop has it and it covers the language's script, otherwise the application's
    // family when that covers the script, otherwise the family the desktop draws the script
    // in, otherwise the first installed family that covers it.
    [[nodiscard]] static QString fontFamily(const LanguageDef& language);

private:
    void buildMenu();
    // The window's own texts on its menu items and on the windows open beside it.
    void showWindowTexts();
    void setFonts(const LanguageDef& language);
    void registerCalibri();

    MainWindow& m_window;
    ControllerSession& m_session;
    std::string m_baseFolder;
    std::string m_programFolder;
    bool m_calibri = false;
    // Registered fonts stay until the program ends; a file is registered once.
    std::vector<std::string> m_registered;
};

}  // namespace kaldor
